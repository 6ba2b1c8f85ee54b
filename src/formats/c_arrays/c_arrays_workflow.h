// Opening, language switching and saving of a C string-array file, without
// the window: the commands add only the open and save dialogs, the pickers,
// the message boxes and the refreshes.
//
// The pickers (`ComboBox1` base, `ComboBox2` destination) list the language
// names in file order; item k stands for working-table column k + 1. The
// caller remembers the destination column P (0 = none) between calls and sets
// it to 0 whenever a file is opened, so that a column of a file opened earlier
// is never copied into the new file's table.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "formats/c_arrays/c_arrays.h"
#include "support/backup.h"
#include "support/files.h"
#include "support/text_grid.h"

namespace tov {

struct CArraysOpen {
    bool ok = false;
    std::vector<std::string> names;  // for both pickers (empty unless ok)
    std::string basePath;            // the base file name from now on
    std::string templatePath;        // the destination file name: the template
    std::string error;
    explicit operator bool() const { return ok; }
};

// Opens a chosen existing file: prepares both tables (the caller empties the
// base file name and the pickers before, and refills the pickers from
// `names`), takes a fresh temporary "txt" name, makes the template there and
// reads the file. When the template cannot be made the file is not read: its
// texts could not be saved.
CArraysOpen openCArrays(const std::string& path, TextGrid& work, TextGrid& translation, TempNamer& namer);
// The same without the tables: the file's bytes go into `bytes` and what its
// reader found into `cells`, whose texts view those bytes
// (fillCArraysWorkTable makes the working table of them).
CArraysOpen openCArraysCells(const std::string& path, TempNamer& namer, std::string& bytes, CArraysCells& cells);

// The picker item remembered in the settings ("c1", "c2"): the stored number
// when it names one of the languages, otherwise -1 (no selection).
int cArraysPickerItem(std::string_view storedValue, int languageCount);

// After opening: the translation table gets the working table's rows and its
// row numbers (column 0).
void showCArraysRows(TextGrid& translation, const TextGrid& work);

// Base picker changed to `item` (-1 none): translation column 2 becomes
// working-table column item + 1, header included; column 1 its lengths.
void showCBaseLanguage(TextGrid& translation, const TextGrid& work, int item);

// Destination picker changed to `item` (-1 none): the texts edited for the
// previous destination column P go back into the working table, P becomes
// item + 1, and translation column 4 shows working-table column P (column 3
// its lengths). True when the texts that went back differ from what the
// working table held (edits not saved yet).
bool showCDestLanguage(TextGrid& translation, TextGrid& work, int item, int languageCount, int& destColumn);

struct CArraysSave {
    bool ok = false;
    bool written = false;     // false with ok: no languages, nothing written
    std::string backupPath;   // the dated backup copy made, empty when none
    bool backupFailed = false;  // nothing written: the backup copy could not be made
    std::string error;        // the reason
    explicit operator bool() const { return ok; }
};

// Saves into `target` (chosen in the save dialog): the destination column
// (picker item `destItem`) goes into the working table, then the file is
// written from the template; an existing target is first copied to its dated
// backup when `backup` asks for one, and is left as it was when that copy
// cannot be made. When the save fails the working table's column is put back
// as it was, so that the edited texts still differ from it.
CArraysSave saveCArrays(TextGrid& work, const TextGrid& translation, int destItem,
                        const std::vector<std::string>& languageNames, const std::string& templatePath,
                        const std::string& target, const BackupChoice& backup);

}  // namespace tov
