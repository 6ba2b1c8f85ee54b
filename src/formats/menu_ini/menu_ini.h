// Menu INI language files: one INI file with one section per language, whose
// texts sit under the text keys n, ni and nv (n = 0 to 500). One language is
// shown as the base text and a second one is edited as the destination; a
// save rewrites the text keys of the destination section and leaves every
// other line of the file as it was.
//
// Everything here works on an IniDocument or a file name, without a window,
// so that the command-line tool can open, check and write these files too.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/atomic_file.h"
#include "support/profile.h"
#include "support/text_grid.h"

namespace tov::menu_ini {

inline constexpr int kLastNumber = 500;
// Shown as the base text of a key the listing holds but whose value cannot be
// read. The listing and the values come from the same index of one reading of
// the file, so with this engine every listed key reads and the text only
// stands for a lookup that failed against its own listing.
inline constexpr std::string_view kUnreadableText = "????";
// The section that names the languages; it is no language itself.
inline constexpr std::string_view kLanguagesSection = "LANGUAGES";

// "0", "0i", "0v", "1", "1i", ..., "500v": the 1,503 text keys in row order.
const std::vector<std::string>& textKeys();

// The language sections: every section in file order, without the first one
// named "LANGUAGES" (compared without regard to case).
std::vector<std::string> languageSections(const IniDocument& doc);
// Position of `name` in `languages` (first match, without regard to case, as
// the INI store finds sections); -1 when it is not there.
int languageIndex(const std::vector<std::string>& languages, std::string_view name);

struct Row {
    std::string key;   // the text key as built ("3i")
    std::string base;  // its value in the base section
    std::string dest;  // its value in the destination section, empty when missing
};

// One row for each text key the base section holds, in row order; the
// destination texts are left empty.
std::vector<Row> baseRows(const IniDocument& doc, std::string_view baseSection);
// The destination text of every row: the key's value in the destination
// section, or empty when the section lacks it.
void loadDestTexts(const IniDocument& doc, std::string_view destSection, std::vector<Row>& rows);

// The same rows straight from a file's bytes, its texts views into them:
// baseRows and loadDestTexts at once.
struct RowView {
    std::string_view key;  // one of textKeys()
    std::string_view base;
    std::string_view dest;
};
std::vector<RowView> rowViews(const IniFileView& file, std::string_view baseSection, std::string_view destSection);
// languageSections of a file so read.
std::vector<std::string> languageSections(const IniFileView& file);

// Row count of the translation table for `keys` text rows: a header row
// above them, and at least one row.
int tableRowCount(std::size_t keys);

// The window's tables in this mode: translation column 0 the text key,
// column 2 the base text, column 4 the destination text; working column 1 the
// base text, column 2 the destination text as loaded.
//
// The rows of the base language: columns 0 to 5 of every row a former table
// filled are emptied (the header row included), rows 1.. take `rows`, and the
// translation table gets tableRowCount() rows; the working table keeps at
// least 500 rows, and more when there are more, so that the save prompt
// compares every row the user can edit.
void showBaseRows(TextGrid& translation, TextGrid& working, const std::vector<Row>& rows);
// The destination texts of every row that has a text key: the key's value in
// the destination section, empty when the section lacks it. Working column 2
// then takes the texts as loaded over all its rows, so that no row counts as
// edited.
void showDestTexts(TextGrid& translation, TextGrid& working, const IniDocument& doc,
                   std::string_view destSection);

// The value written for a text so that reading it back gives the text again:
// the INI store trims values and drops one pair of surrounding quotes, so a
// text with a blank at either end, or one that is itself enclosed in a pair
// of quotes, is written within double quotes; any other text as it is.
std::string valueForText(std::string_view text);

// A table row as the save takes it: the text key and the destination text.
using DestEntry = std::pair<std::string, std::string>;

// Removes every text key (every copy of it) from the destination section and
// writes each entry's key, trimmed, with its text (valueForText), in the
// entries' order: the section ends up with exactly the entries' text keys,
// its other keys and lines stay, and a section that does not exist yet is
// appended. Entries with an empty key are skipped, and an empty section name
// changes nothing.
void applyDestination(IniDocument& doc, std::string_view destSection, const std::vector<DestEntry>& entries);

// The save of a destination language: reads the file once, applies the edit
// in memory and replaces the file atomically (only when its bytes changed). A
// missing file is created; a file that exists but cannot be read, or cannot
// be written, is left as it was and the result says why. A file replaced is
// first copied to its dated backup when `backup` asks for one; when that copy
// cannot be made, the file is left as it was (the result's backupFailed).
// `languagesAfter`, when given, receives the language sections of the file
// as saved.
WriteResult saveDestination(const std::string& path, std::string_view destSection,
                            const std::vector<DestEntry>& entries,
                            std::vector<std::string>* languagesAfter = nullptr, const BackupChoice& backup = {});

}  // namespace tov::menu_ini
