// A base text and its destination opened as the window opens them right
// after it started: the same readers fill the same two tables, so that check,
// export and import see exactly the window's translation table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_args.h"
#include "formats/firmware/firmware_sets.h"
#include "formats/translation_table.h"
#include "support/text_grid.h"

namespace tov::cli {

// A firmware file of a set that could not be read, or whose line count is
// not its base file's.
struct SetFileProblem {
    enum class Kind { Unreadable, LineCount } kind = Kind::Unreadable;
    std::string path;
    std::size_t lines = 0;     // LineCount: lines of the destination file
    std::size_t expected = 0;  // LineCount: lines of its base file
    std::string reason;        // Unreadable: "no such file" or "cannot be read"
};

// A folder of its own for the temporary template of a C string-array file,
// removed with everything in it when the document goes.
class PrivateTempFolder {
public:
    PrivateTempFolder();
    ~PrivateTempFolder();
    PrivateTempFolder(const PrivateTempFolder&) = delete;
    PrivateTempFolder& operator=(const PrivateTempFolder&) = delete;
    const std::string& path() const { return path_; }  // with its closing "/"

private:
    std::string path_;
};

struct Document {
    std::uint8_t kind = 0;
    TextGrid translation{tcol::kCount, kTranslationRowsAtStart};
    TextGrid working{kWorkingColumnsAtStart, kWorkingRowsAtStart};
    bool hasDest = false;

    // Firmware kinds.
    const FirmwareFamily* family = nullptr;
    std::vector<std::string> baseFiles;       // names, in list order
    std::vector<std::size_t> baseLineStart;   // first line index of each base file
    std::vector<std::string> destFiles;       // full paths, in base-list order
    std::vector<SetFileProblem> setProblems;  // check only; export and import refuse them
    int structureFailureRow = 0;              // check only
    std::optional<FirmwareStructureFailure> structureFailure;  // with the row above
    // Rows whose destination line could take no text (check only; a save
    // with a text in such a row is refused).
    std::vector<FirmwareUnplacedText> linesWithoutPlace;

    // Menu INI and C string-array files.
    std::string baseLanguage;  // as the file names them
    std::string destLanguage;
    std::vector<std::string> languages;  // C: the picker list
    int destItem = -1;                   // C: the destination picker item
    std::string templatePath;            // C: the template made on opening
    std::unique_ptr<PrivateTempFolder> tempFolder;

    // Rows that carry a text of the base: the entries of a resource-string
    // file, the texts of a firmware set, the text keys of a menu INI
    // language, every row of a C string-array file.
    bool rowInUse(int row) const;
    // The identifier of a row as the check names it (see --help).
    std::string rowId(int row) const;
    // Firmware: base file name and line number (from 1) of a row's base text.
    std::pair<std::string, int> firmwareLine(int row) const;
};

// How the inputs are opened: for check, what a firmware set lacks becomes a
// problem of the report and the destination is read whatever its line
// counts; for export and import it stops the command (status 2) as the
// window would refuse or complain about it.
enum class OpenMode { Check, Strict };

// Opens BASE (and DEST) of `o`; fails with status 2 naming the file that
// cannot be read or opened.
std::unique_ptr<Document> openDocument(const Options& o, OpenMode mode);

}  // namespace tov::cli
