// Firmware text files: the line grammar and the seven routines on which the
// open and save procedures of every firmware family are built.
//
// A firmware text file holds one display text per line, written between
// apostrophes or quotation marks, among names, directives and comments. All
// files of one folder that share an extension form a file set; its lines are
// read one after another into the working table (column 1 for the base,
// column 2 for the destination), the quoted texts of those lines become the
// numbered rows of the translation table, and a translated text is merged back
// into its line before the lines are written out again.
//
// Texts are the files' bytes (Windows-1250); lengths and positions count bytes.
// Limits: a file set holds at most 65535 lines in all (line indices and counts
// are 16-bit); a quoted text, a comment and the part of a template line kept
// after its closing quote hold at most 255 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/atomic_file.h"
#include "support/text_grid.h"

namespace tov {

// Most lines a firmware file set may hold in all (line indices are 16-bit).
constexpr std::size_t kFirmwareMaxLines = 65535;
// Most bytes of a quoted text, a comment, and a template line's tail.
constexpr std::size_t kFirmwareMaxPiece = 255;

// ---------------------------------------------------------------------------
// The line grammar.

// The quoted text of a line: the comment (from the first ";") is cut off
// first; the quote character is whichever of ' and " comes first in what
// remains; the text runs from after it (at most 255 bytes) to its closing
// quote (ClosingQuotePos), or to the end when there is none; finally every run
// of two or more apostrophes becomes one apostrophe, whichever quote the line
// uses. Empty when the line carries no text.
std::string QuotedText(std::string_view line);
// The same as a view into `line`; nothing when a run of apostrophes in the
// text collapses (QuotedText then makes the text).
std::optional<std::string_view> QuotedTextView(std::string_view line);
// The same, where a run collapses, appended to `collapsed` (a buffer that
// gathers the texts of many lines) instead of nothing.
std::optional<std::string_view> QuotedTextView(std::string_view line, std::string& collapsed);

// Position, from 1, of the closing quote `q` in the text after an opening
// quote: the first `q` that is the last byte of `s`, or that touches no other
// `q` (a doubled quote is part of the text). 0 when there is none.
std::size_t ClosingQuotePos(std::string_view s, char q);

// The comment of a line: what follows its first ";" (at most 255 bytes); when
// that is empty, what follows its first "//" (at most 255 bytes). Both are
// searched over the whole line, inside the quotes too.
std::string LineComment(std::string_view line);
// The same as a view into `line`.
std::string_view LineCommentView(std::string_view line);

// Merges the new text `text` into the template line `tmpl`: the text is
// padded with blanks or cut to the length of the template's quoted text (the
// fixed-length rule), its apostrophes are doubled when the line quotes with
// apostrophes, and it replaces the template's stored text; everything before
// the opening quote and after the closing quote comes out unchanged. A
// template that carries no text before its comment comes back unchanged.
std::string MergeTextIntoLine(std::string_view text, std::string_view tmpl);

// Merges the translated text of a row into its destination line `dest`,
// whose base line (the same line index of the base set) is `base`:
// - a destination line that carries a text: MergeTextIntoLine(text, dest),
//   except that a text equal to the line's own leaves the line as it is (the
//   same bytes for every well-formed line; an ill-formed one is not rewritten);
// - a text of blanks only (what an untouched row holds) changes nothing else;
// - an empty pair of quotes takes the text, fitted to the base text's length;
// - a blank line takes the base line's form, MergeTextIntoLine(text, base);
// - a line that is the base line without its text (the same code before the
//   opening quote, up to blanks) takes the base line's code with the text,
//   followed by the destination's own comment ("L2 DB ; todo" with base line
//   "L2 DB 'Two' ; prompt" and text "Dwa" gives "L2 DB 'Dwa' ; todo").
// Any other line has no place for a text: nothing (the save is refused rather
// than losing the text or the line).
std::optional<std::string> MergeTextIntoDestLine(std::string_view text, std::string_view dest,
                                                 std::string_view base);

// Whether `merged`, what MergeTextIntoDestLine(text, dest, base) gave, reads
// back as the text that was merged (fitted to its length) and takes that text
// again unchanged (it is the next save's template). A quotation mark in a
// text between quotation marks, a ";" (the comment starts there), a run of
// apostrophes or one at the end of a text between apostrophes, or a quote the
// line never closes would make the line read back as another text, and the
// next save take what follows the text for text.
bool MergedLineHoldsText(std::string_view text, std::string_view merged, std::string_view dest,
                         std::string_view base);

// ---------------------------------------------------------------------------
// Reading files into the working table.

struct FirmwareFileLines {
    std::vector<std::string> lines;
    bool ok = true;  // false: the file could not be opened or read to its end
};

// Reads one file by the program's line rule (LF or CR LF ends a line, a lone CR
// is dropped, Ctrl+Z ends the file). An empty file is one empty line. When the
// file cannot be opened there are no lines; when reading fails part way, the
// complete lines read before the failure.
FirmwareFileLines ReadFirmwareFile(const std::string& path);

// The same lines as views into the file's bytes, which `bytes` holds.
struct FirmwareFileViews {
    std::shared_ptr<const std::string> bytes;
    std::vector<std::string_view> lines;
    bool ok = true;
};
FirmwareFileViews ReadFirmwareFileViews(const std::string& path);

// Stores `lines` in working-table column `col` from row `firstRow` on, the
// way ReadFileToColumn does (row count, line numbers in column 0 for column 1),
// but never beyond row 65534. Returns the number of lines stored.
std::uint16_t StoreFileLines(TextGrid& work, int col, int firstRow,
                             std::vector<std::string>&& lines);

struct ReadColumnResult {
    std::uint16_t lines = 0;    // lines stored
    bool readOk = true;         // false: the file could not be read to its end
    bool tooManyLines = false;  // the lines beyond row 65534 were not stored
};

// Sets the row count of `work` to `firstRow` (at least 1), stores every line of
// the file in column `col` from row `firstRow` on (for column 1 also its line
// number within the file, in decimal, in column 0) and leaves the row count at
// `firstRow` + lines stored.
ReadColumnResult ReadFileToColumn(TextGrid& work, const std::string& path, int col, int firstRow);

// ---------------------------------------------------------------------------
// Texts into rows.

struct ExtractResult {
    int texts = 0;                // rows filled
    int structureFailureRow = 0;  // destination extraction: the row whose text
                                  // stands on another line index than the
                                  // base text of that row; 0 when none
    int structureFailureLine = -1;  // the line index of that text
};

// Collects the quoted texts of column `srcCol` of `src` into rows 1, 2, ... of
// column `dstCol` of `dst` (which may be the same grid); the column is cleared
// first and `dst` gains rows as needed (never loses any).
// Into column 2 (base texts of the translation table) also the row number
// (column 0), the length (column 1), the base line's comment (column 6) and
// the line index (column 8). Into column 4 (destination texts) also the length
// (column 3) and, when the row's line index in column 8 is the source row, the
// comment (column 5); otherwise the extraction stops at that row and reports
// it (the structure failure). Into any other column only the texts.
ExtractResult ExtractTexts(const TextGrid& src, int srcCol, TextGrid& dst, int dstCol);

// ---------------------------------------------------------------------------
// Writing.

// Rows firstRow .. firstRow + count - 1 of column `col`, each followed by CR LF.
std::string FormatColumnLines(const TextGrid& work, int col, int firstRow, int count);

// Writes FormatColumnLines to `path`, replacing the file atomically: a failed
// write leaves the old file as it was and is reported.
WriteResult WriteColumnLines(const std::string& path, const TextGrid& work, int col, int firstRow,
                             int count);

}  // namespace tov
