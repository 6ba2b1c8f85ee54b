// A base text and its destination opened through the same formats as the
// window's commands, into the same translation document.
#pragma once

#include <memory>
#include <string>

#include "cli/cli_args.h"
#include "document/diagnostic.h"
#include "document/document.h"
#include "document/format.h"
#include "support/files.h"

namespace tov::cli {

struct Opened {
    // The C template's folder, before the format, which names files in it;
    // removed with everything in it when the document goes.
    std::unique_ptr<PrivateTempFolder> tempFolder;
    std::unique_ptr<TempNamer> tempNames;
    std::unique_ptr<Format> format;
    TranslationDocument doc;
    bool hasDest = false;
    // check only: files of a firmware set that could not be read or have
    // another line count than their base files (export and import refuse them).
    Diagnostics fileProblems;
    // check only: where a firmware destination set parts from its base, and
    // its lines that could take no text (a save with a text there is refused).
    Diagnostics structureProblems;
};

// How the inputs are opened: for check, what a firmware set lacks becomes a
// problem of the report and the destination is read whatever its line
// counts; for export and import it stops the command (status 2) as the
// window would refuse or complain about it.
enum class OpenMode { Check, Strict };

// Opens BASE (and DEST) of `o`; fails with status 2 naming the file that
// cannot be read or opened.
std::unique_ptr<Opened> openDocument(const Options& o, OpenMode mode);

}  // namespace tov::cli
