// Firmware text file sets: the four families and their open and save
// procedures, without any dialog or message.
//
// The families differ only in constants (FirmwareFamily); one base opener,
// one destination opener and one writer serve them all. The window asks for
// the file with the dialog described by the *Dialog functions, calls the
// procedure with the chosen path and shows the messages the result calls for;
// the command-line tool calls the same procedures.
//
// Tables: `translation` is the translation table (row 0 headers, one row per
// text from row 1), `work` the working table, with the firmware columns:
//   work 0  line number of each base line within its file
//   work 1  base lines, all files of the set one after another
//   work 2  destination lines at the same line indices (the template lines)
//   work 4  base file names (rows 0 .. F-1), work 5 their line counts
//   work 6  base texts, work 7 destination texts as last read (rows 1 .. N)
//   translation 0 row number, 1 " " + base length, 2 base text,
//   3 " " + destination length, 4 destination text, 5 destination comment,
//   6 base comment, 8 line index of the row's base line.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "formats/source_kind.h"
#include "support/backup.h"
#include "support/text_grid.h"

namespace tov {

// The firmware kinds' columns of the working table: each line of the base and
// the destination sets, the set's file names and line counts, and the texts
// taken out of the lines.
namespace wcol {
constexpr int kBaseLines = 1;
constexpr int kDestLines = 2;
constexpr int kFileNames = 4;
constexpr int kLineCounts = 5;
constexpr int kBaseTexts = 6;
constexpr int kDestTexts = 7;
}  // namespace wcol

struct FirmwareFamily {
    SourceKind kind;
    std::string_view menuCaption;     // entry under File > Open base text
    std::string_view menuItem;        // names of the original design, for reference
    std::string_view commandHandler;
    std::string_view baseOpener;
    std::string_view destOpener;
    std::string_view writer;
    std::string_view folder;          // family folder in the program folder
    std::string_view presetName;      // offered file name, after the folder
    std::string_view saveFilter;      // "caption|pattern"
    bool lineCountCheck;              // each destination file must have its base file's line count
    bool recordsLastFile;             // destination name = last file written (else the first)
};

// Orvanta (3), QL5 (5), QL10 (10), TELMO (15), in menu order.
const std::array<FirmwareFamily, 4>& firmwareFamilies();
// The family of a firmware kind; nullptr for any other kind.
const FirmwareFamily* firmwareFamily(std::uint8_t kind);
// The family whose openers reopen the stored files at start: kinds 3, 5 and 10
// are reopened with the Orvanta openers (line-count check included), 15 with
// the TELMO ones.
const FirmwareFamily& firmwareRestoreFamily(std::uint8_t kind);

// Folder suffix of File > "Open destination" (File > New destination >
// "Use file..." and the read-back after a save pass an empty suffix).
inline constexpr std::string_view kFirmwareOutSuffix = "/OUT";

// ---------------------------------------------------------------------------
// Dialogs (what to offer; the window shows them).

struct FirmwareDialog {
    std::string initialFolder;
    std::string fileName;          // offered name: a pattern, or a full path
    std::string filter;            // "caption|pattern"; empty: keep the dialog's filter
    std::string defaultExtension;  // always empty for the firmware families
};

// Open base text: the family folder, offering e.g. "<program>/ORVANTA/EDIT.*".
FirmwareDialog firmwareBaseDialog(const FirmwareFamily& family, const std::string& programFolder);
// Open destination: the family folder followed by `suffix` ("/OUT" or empty).
FirmwareDialog firmwareDestinationDialog(const FirmwareFamily& family,
                                         const std::string& programFolder,
                                         std::string_view suffix);
// Save destination: "<program>/ORVANTA/OUT" with "/EDIT.*", or the current
// destination file name (made absolute against `relativeBase`) when one is set.
FirmwareDialog firmwareSaveDialog(const FirmwareFamily& family, const std::string& programFolder,
                                  const std::string& destFileName,
                                  const std::string& relativeBase);

// Whether File > Open base text shows "Orvanta firmware": when the program
// folder holds ORVANTA/ENG/EDIT.ENG or ORVANTA/POL/EDIT.POL (file names
// matched without regard to case).
bool orvantaEntryVisible(const std::string& programFolder);

// The common start of the four "Open base text" firmware commands: when the
// chosen kind differs from the current one, translation columns 0 to 5 and
// every working-table column are cleared, and true is returned (the window
// then empties the base and destination file names).
bool prepareFirmwareKind(TextGrid& translation, TextGrid& work, std::uint8_t currentKind,
                         std::uint8_t chosenKind);

// ---------------------------------------------------------------------------
// Opening a base file set.

struct FirmwareBaseOpen {
    enum class Status {
        Loaded,        // the set was read; readErrors may name files that failed
        NoFiles,       // the listing found no file: nothing loaded, tables unchanged
        TooManyLines,  // more than 65535 lines in all: nothing loaded, tables unchanged
    };
    Status status = Status::NoFiles;
    std::string listed;                   // folder + mask that was listed ("…/ENG/*.ENG")
    std::vector<std::string> baseFiles;   // the base file list (names, sorted without regard to case)
    std::vector<std::string> readErrors;  // full paths that could not be read
    std::string baseFileName;             // the chosen path, when Loaded
    std::size_t lines = 0;                // lines of the set
    int texts = 0;                        // translation rows filled
    bool loaded() const { return status == Status::Loaded; }
};

// Opens every file of the chosen file's folder that has the chosen file's
// extension (all files when it has none), in case-insensitive name order:
// clears translation columns 0-2, fills working columns 4, 5, 1 and 0,
// extracts the base texts into translation column 2 (with numbers, lengths,
// comments and line indices) and into working column 6. Translation columns
// 3-8 and working column 2 keep what they held.
FirmwareBaseOpen openFirmwareBase(TextGrid& translation, TextGrid& work,
                                  const std::string& chosenPath);

// ---------------------------------------------------------------------------
// Opening a destination file set.

struct FirmwareLineCountFailure {
    std::string path;      // the destination file
    std::string fileName;  // its name without folder
    std::size_t lines = 0;     // lines it holds
    std::size_t expected = 0;  // lines of its base file
};

// Where a destination set stops matching its base set: the first
// destination text that stands on another line index than the base text of
// its row, or where the base has no more texts.
struct FirmwareStructureFailure {
    int row = 0;               // translation row of that text
    std::string destPath;      // the destination file holding it
    int destLine = 0;          // its line in that file, from 1
    std::string baseFile;      // name of the base file of the row's base text
    int baseLine = 0;          // its line, from 1; 0: the base has no text for the row
    // "the destination text of row 3 stands on another line than its base
    // text (EDIT.ENG:4)", or "a destination text where the base has no text
    // (row 2)".
    std::string what() const;
};

struct FirmwareDestinationOpen {
    enum class Status {
        Loaded,            // read (a structure failure may still be reported)
        LineCountFailure,  // Orvanta check failed: tables unchanged; the window shows the
                           // message, clears "dfile" and ends the program
        TooManyLines,      // more than 65535 lines in all: tables unchanged
    };
    Status status = Status::Loaded;
    std::vector<std::string> destFiles;   // full paths read, in base-list order
    std::vector<std::string> readErrors;  // full paths that could not be read
    // Lines of each file read, in base-list order (beside the base counts in
    // working column 5); up to the file that failed the line-count check.
    std::vector<std::size_t> lineCounts;
    std::optional<FirmwareLineCountFailure> lineCount;
    // Row of the first destination text that stands on another line index than
    // its base text (0: none). The window shows the structure message and
    // clears "dfile"; the tables hold the destination up to that row.
    int structureFailureRow = 0;
    std::optional<FirmwareStructureFailure> structureFailure;  // with the row above
    std::string destFileName;  // the chosen path, when Loaded (structure failure included)
    std::size_t lines = 0;
    int texts = 0;
    bool loaded() const { return status == Status::Loaded; }
};

// Reads, for every name of `baseFiles` (the base file list, in its order), the
// file of the same name with the chosen file's extension from the chosen file's
// folder (names matched without regard to case) into working column 2 at the
// base's line indices; extracts the destination texts into translation column
// 4 (lengths in 3, comments in 5, under the structure check) and working column 7.
FirmwareDestinationOpen openFirmwareDestination(TextGrid& translation, TextGrid& work,
                                                const FirmwareFamily& family,
                                                const std::vector<std::string>& baseFiles,
                                                const std::string& chosenPath);

// ---------------------------------------------------------------------------
// Saving a destination file set.

struct FirmwareWriteFailure {
    std::string path;
    std::string error;  // short English reason
};

// A row whose destination text has no place in its destination line (see
// MergeTextIntoDestLine): the line holds no quoted text and has another form
// than its base line.
// Also a text that its line could not hold (see MergedLineHoldsText): the
// line would read back as another text, and the next save would take what
// follows the text for text and overwrite it.
struct FirmwareUnplacedText {
    int row = 0;            // translation row
    std::size_t file = 0;   // the file of the line: its index in the base file list
    int line = 0;           // the line in that file, from 1
    bool quoteBreaksLine = false;  // the text has a place, but its quotes break the line
    // "the line holds no quoted text and is not in its base line's form: the
    // text of row 2 has no place in it"
    std::string what() const;
};

struct FirmwareSave {
    std::string outputFolder;     // the chosen file's folder
    std::string outputExtension;  // with its dot, after the "_" substitution
    std::vector<std::string> files;  // every file of the set, in base-list order
    // The file that stopped the save; every file of the set is then left as
    // it was (a set is saved all or nothing).
    std::vector<FirmwareWriteFailure> failures;
    bool backupFailed = false;         // stopped because a backup copy could not be made
    std::vector<std::string> backups;  // the dated backup copies of the files replaced
    // Texts that have no place in their lines: when there is any, nothing is
    // merged and no file is written.
    std::vector<FirmwareUnplacedText> unplaced;
    // The destination file name to record: the first file of the set (TELMO:
    // the last). The window reads the set back from it only when ok().
    std::string destFileName;
    bool ok() const { return failures.empty() && unplaced.empty(); }
};

// The rows whose destination line could not take a text at all (whatever is
// typed): what a check reports before a save would be refused. Rows follow
// the base texts (translation columns 1 and 8); lines are those of working
// column 2, compared with the base lines of column 1.
std::vector<FirmwareUnplacedText> firmwareLinesWithoutPlace(const TextGrid& translation, const TextGrid& work);

// The file (its index) and the line in it (from 1) of a line index of a set
// whose files hold `counts` lines one after another; {counts.size(), 0} past
// the last file.
std::pair<std::size_t, int> firmwareFileAndLine(const std::vector<std::size_t>& counts, std::size_t index);

// The file of a destination set that stands for base file `baseName`: in the
// folder of `anyFileOfSet`, named like the base file with the extension of
// `anyFileOfSet` (an existing file of that name in another case is that one).
std::string firmwareSetFile(const std::string& anyFileOfSet, const std::string& baseName);

// The extension a save writes: the chosen name's extension, or "." + the name
// when it has none; every byte but ".", digits and ASCII letters becomes "_".
std::string firmwareOutputExtension(const std::string& chosenPath);

// Merges every destination text (translation column 4) into its template line
// (working column 2 at the row's line index, translation column 8) with
// MergeTextIntoDestLine, stopping at the first row whose column 1 is empty;
// then writes one file per base file (working columns 4 and 5) into the
// chosen file's folder, each with exactly its base file's line count. The set
// is written all or nothing: when one file cannot be written, or (with
// `backup.keep`) one replaced file cannot be copied to its dated backup, no
// file of the set changes. The merged lines stay in working column 2 even
// when the save fails. A text without a place in its line refuses the whole
// save before anything is merged or written (`unplaced`).
FirmwareSave saveFirmwareDestination(const TextGrid& translation, TextGrid& work,
                                     const FirmwareFamily& family, const std::string& chosenPath,
                                     const BackupChoice& backup);

// File > New destination > "Blank": clears the destination comments
// (translation column 5) and saves as above.
FirmwareSave saveBlankFirmwareDestination(TextGrid& translation, TextGrid& work,
                                          const FirmwareFamily& family,
                                          const std::string& chosenPath, const BackupChoice& backup);

}  // namespace tov
