// import: a tab-separated file of base and destination texts written back as
// the destination, through the writers of "Save destination".
#pragma once

#include "cli/cli_args.h"

namespace tov::cli {

// Opens BASE (and DEST), reads TSV against the base's rows and writes OUT.
// Prints "wrote PATH" for each file written. Returns the exit status or
// calls fail(): 2 for inputs that cannot be read, 1 for a TSV that does not
// line up (nothing written) or a file that could not be written.
int runImport(const Options& o);

}  // namespace tov::cli
