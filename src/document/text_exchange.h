// The tab-separated text file of "Export to text file" and of the tool's
// export and import: one line per row, base text, TAB, destination text,
// CR LF; nothing quoted or escaped.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"
#include "support/atomic_file.h"

namespace tov {

// The most rows a text file of the export holds.
inline constexpr int kMaxTextRows = 65535;

// False (and nothing written to `out`) for more than kMaxTextRows rows, which
// the caller reports as a failure.
bool exportText(const TranslationDocument& doc, std::string& out);
// The same bytes into `sink` as they are made (nothing for more than
// kMaxTextRows rows).
bool exportText(const TranslationDocument& doc, ByteSink& sink);

struct ImportedTexts {
    bool ok = false;
    int row = 0;                    // the first row that does not line up (when !ok)
    std::string error;              // why, naming that row
    std::vector<std::string> dest;  // the destination text of each row
};
// Line r of `tsv` (split by the program's line rule, except that a byte 26
// ends the file only as its last byte: the export writes texts that hold it)
// must be the base text of
// row r, byte for byte, and a TAB; the rest of the line is the row's
// destination text (which may hold TABs). One line for each row, no more and
// no fewer: a spreadsheet whose rows were sorted, inserted or deleted must
// never be written into the wrong rows, so nothing comes back then.
ImportedTexts importText(const TranslationDocument& doc, std::string_view tsv);

}  // namespace tov
