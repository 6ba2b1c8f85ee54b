// What the main window shows, computed from the working table: the table
// refresh, the character count and the tab-separated export. The window and
// the command-line tool both call these, so they never disagree.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "support/text_grid.h"

namespace tov {

// The tables of a window just started, before anything is opened: the
// translation table has the 50 rows of its design (the firmware kinds only
// ever add rows to it), the working table 11 columns and 5 rows.
inline constexpr int kTranslationRowsAtStart = 50;
inline constexpr int kWorkingColumnsAtStart = 11;
inline constexpr int kWorkingRowsAtStart = 5;

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

// A tab-separated file in the export's format read back against the table.
struct ImportedTexts {
    bool ok = false;
    int row = 0;             // the first row that does not line up (when !ok)
    std::string error;       // why, naming that row
    std::vector<std::string> dest;  // destination texts of rows 1 .. count - 1
};
// Line r of `tsv` (lines split by the program's line rule, except that a
// byte 26 ends the file only as its last byte, since the export writes texts
// that hold it) must be the base
// text of row r, byte for byte, followed by a TAB; the rest of the line is
// the row's destination text (which may hold TABs). The file must have one
// line for each data row, no more and no fewer. Nothing is returned for a
// file that does not line up: a spreadsheet whose rows were sorted, inserted
// or deleted must never be written into the wrong rows.
ImportedTexts importTable(const TextGrid& translation, std::string_view tsv);

// Whether a firmware destination text differs from the text last read or
// saved (`stored`). A row without a stored text counts as edited once it holds
// more than the blanks that keep it at its base text's length.
bool firmwareTextEdited(std::string_view dest, std::string_view stored);

// What the window marks on a destination text against its base text.
enum class TextProblem {
    None,
    Missing,        // empty destination (missing colour; firmware: a row that
                    // has a base text and no destination text)
    TooLong,        // longer than the base (changed colour of the length cell)
    LengthDiffers,  // firmware: not as long as the base
};
// Resource-string and C kinds: Missing, TooLong. Menu INI (16): Missing only.
// Firmware kinds: Missing, LengthDiffers.
TextProblem destinationProblem(std::uint8_t kind, std::string_view base, std::string_view dest);

}  // namespace tov
