// What the main window shows, computed from the working table: the table
// refresh, the character count and the tab-separated export. The window and
// the command-line tool both call these, so they never disagree.
#pragma once

#include <cstdint>
#include <string>

#include "support/text_grid.h"

namespace tov {

// Copies the working table into the translation table for a source kind:
// row count (not for kind 16), base and destination columns, row numbers
// and lengths (not for kind 16), and the header cells ("No.", "len", and
// "comment" for the firmware kinds, whose rows the firmware readers fill).
// Kind 17 is left alone: its tables are filled by the language pickers.
void refreshTranslationTable(std::uint8_t kind, const TextGrid& working, TextGrid& translation);

struct CharacterCount {
    std::uint32_t base = 0;
    std::uint32_t dest = 0;
};
// Sums of the byte lengths of the base and destination texts of rows 1.. .
CharacterCount countCharacters(const TextGrid& translation);
// "Base: b   Dest.: d"
std::string characterCountText(const CharacterCount& count);

// One line per row 1 .. count - 1: base text, TAB, destination text, CR LF.
// Nothing is quoted or escaped. Empty for more than 65,535 data rows, which
// the caller reports as a failure.
bool exportTable(const TextGrid& translation, std::string& out);

}  // namespace tov
