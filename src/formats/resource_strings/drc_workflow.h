// What the resource-string commands do besides showing dialogs and messages:
// opening a base over the rows or anew, reading a destination, writing a blank
// destination, saving with the dated backup copy, and where each dialog
// starts. The window commands and the command-line tool both call these.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "formats/resource_strings/drc_file.h"

namespace tov {

// True when row 1 (within the row count) has both an identifier and a
// destination text. A base file
// opened then is read over the existing rows instead of rebuilding them.
bool drcTableHoldsDestination(const TextGrid& working);

struct DrcBaseOpen {
    DrcRead read;          // the reader's result (a refused file changed nothing)
    bool ok = false;       // read
    bool rebuilt = false;  // true: ReadDrcBase rebuilt the rows (the window then
                           // also empties columns 0 to 5 of the translation table);
                           // false: ReadDrcColumn replaced the base texts (column 1)
                           // of the rows with matching identifiers
};
// Reads a base file chosen by the user into the working table: over the
// existing rows when drcTableHoldsDestination(), otherwise anew.
DrcBaseOpen openDrcBase(const std::string& path, TextGrid& working);

// Reads a destination file into column 2 by identifier. Rows the file does
// not name keep their destination texts.
DrcRead openDrcDestination(const std::string& path, TextGrid& working);

// Reopening the last pair of files: the base with ReadDrcBase and, when that
// succeeded and the destination file exists, its texts into column 2. Not
// read when the base could not be read or was refused, or the destination
// reader failed; `failedFile` then names the file. A missing
// base file is a failed read (columns 0 to 5 emptied): the start-up restore,
// which leaves the table alone then, checks that the base exists first.
DrcRead reopenDrcFiles(const std::string& basePath, const std::string& destPath, TextGrid& working,
                       std::string* failedFile = nullptr);

// "Blank" destination: writes every identifier with an empty text and, once
// written, empties column 2. An existing file is replaced like by a save, after its dated
// backup copy when `backup` asks for one: what was translated there is not
// lost to a blank.
WriteResult writeBlankDrcDestination(const std::string& path, TextGrid& working, const BackupChoice& backup);

// Saves the destination texts of column 2 (the caller first puts the edited
// texts there) with WriteDrc: an existing file is first copied to its dated
// backup when `backup` asks for one, and is left alone when that copy cannot
// be made (the result's backupFailed).
WriteResult saveDrcDestination(const std::string& path, const TextGrid& working, const BackupChoice& backup);

// Where a file dialog of the resource-string commands starts. `programFolder`
// ends with "/"; folders are given without a closing "/".
struct DrcDialogStart {
    std::string folder;    // initial folder
    std::string fileName;  // offered file name holding a mask (may be empty)
};
// "Open base text" for the kinds 1, 2, 4 and 255: the "base" folder, offering
// "Konfix*.drc", "Vigrex*.drc", "Konfi10*.drc" there, or "*.drc" in the
// program folder itself for the generic kind.
DrcDialogStart drcOpenBaseStart(std::uint8_t kind, const std::string& programFolder);
// "Open destination": the "dest" folder, with the mask of the kind ("Konfi10"
// for the kinds that have none of their own).
DrcDialogStart drcOpenDestinationStart(std::uint8_t kind, const std::string& programFolder);
// "New destination" > "Use file...": the "base" folder; nothing for kind 0
// (the command stops), an empty file name for the kinds without a mask.
std::optional<DrcDialogStart> drcUseFileStart(std::uint8_t kind, const std::string& programFolder);
// "New destination" > "Blank": the "dest" folder, offering "*.*" there.
DrcDialogStart drcBlankStart(const std::string& programFolder);

}  // namespace tov
