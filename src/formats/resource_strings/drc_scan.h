// The line rules of the resource-string readers (drc_file.h), over the lines
// of a file held as views into its bytes, for the readers that fill the
// working table and for those that fill the rows of a document directly.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/resource_strings/drc_file.h"

namespace tov::drc {

// Bytes 0..32 taken from both ends.
std::string_view trimmed(std::string_view s);

// Index of the first line after the header, or npos when the file has no
// "STRINGTABLE" line or has it only as its last line.
std::size_t bodyStart(const std::vector<std::string_view>& lines);

// An entry line: trimmed, with its first comma and first double quote.
struct EntryLine {
    std::string_view line;
    std::size_t comma = 0;
    std::size_t quote = 0;
    std::size_t index = 0;  // the line's index in the file, from 0

    std::string_view identifier() const { return trimmed(line.substr(0, comma)); }
    // The text between the first and the last double quote, unescaped
    // ("????" when the line has only one double quote).
    std::string text() const;
    // The same text unescaped in place within `bytes`, the buffer that
    // `line` views (its bytes before the text stay as they were).
    std::string_view textInPlace(std::string& bytes) const;
    // The same as a view into the line where nothing is to be unescaped;
    // nothing where something is (text() then makes it).
    std::optional<std::string_view> textView() const;
    // Whether the identifier runs into the text (a double quote before the
    // first comma): textInPlace may then change it.
    bool identifierOverlapsText() const { return comma > quote; }
};

// Whether a line of the body is an entry line (not a comment, with a comma
// and a double quote).
bool classify(std::string_view line, std::size_t index, EntryLine& e);

// The entry lines of a base file's body, or why the file cannot be held whole
// (status TooManyEntries or EntryTooLong; NoHeader when it has no body).
struct BaseEntries {
    DrcRead::Status status = DrcRead::Status::NoHeader;
    std::size_t line = 0;  // refused: the line (from 1)
    std::vector<EntryLine> entries;
};
BaseEntries baseEntries(const std::vector<std::string_view>& lines);

// The rows of each identifier (rows 1 to rows - 1, as `idOf(row)` names
// them), built once per merge: find() gives the first row with an
// identifier, nextRow() the next row with the same identifier (0 after the
// last). Open addressing over a flat table of hashes and rows keeps a lookup
// to about one cache miss, which is what a merge of 65,535 strings spends
// its time on. The identifiers are not copied: they must not change while
// the index is in use.
class IdentifierIndex {
public:
    IdentifierIndex(int rows, std::function<std::string_view(int)> idOf);

    // The first row of `id`, or 0 when no row has it.
    int find(std::string_view id) const;
    // The next row with the identifier of `row`, or 0.
    int nextRow(int row) const { return next_[static_cast<std::size_t>(row)]; }
    std::size_t rows() const { return next_.size(); }

private:
    struct Slot {
        std::uint32_t hash = 0;  // low bits of the identifier's hash
        std::int32_t row = 0;    // 0: empty
    };
    static std::uint32_t hash(std::string_view s)
    {
        return static_cast<std::uint32_t>(std::hash<std::string_view>{}(s));
    }

    std::function<std::string_view(int)> idOf_;
    std::vector<Slot> slots_;
    std::vector<std::int32_t> next_;
    std::size_t mask_ = 0;
};

// The rows that the entry lines of a file's body fill, by identifier: the
// k-th entry of an identifier fills the k-th row of it, entries beyond the
// last such row that last row again; entries no row holds are passed over.
// Calls `fill(row, entry)` in the order of the file.
template <class Fill>
void mergeByIdentifier(const std::vector<std::string_view>& lines, std::size_t start, const IdentifierIndex& rowsOf,
                       Fill&& fill)
{
    // By the first row of an identifier: the row its next entry fills.
    std::vector<std::int32_t> nextFill(rowsOf.rows(), 0);
    for (std::size_t i = start; i < lines.size(); ++i) {
        EntryLine e;
        if (!classify(trimmed(lines[i]), i, e)) continue;
        const int first = rowsOf.find(e.identifier());
        if (first == 0) continue;
        std::int32_t& next = nextFill[static_cast<std::size_t>(first)];
        const int row = next == 0 ? first : next;
        const int after = rowsOf.nextRow(row);
        next = after != 0 ? after : row;  // past the last row: the last one again
        fill(row, e);
    }
}

// A destination file's bytes as the merge reads them: every byte 0xA0
// (no-break space) is a blank (the header's marker holds none).
void blankNoBreakSpaces(std::string& data);

}  // namespace tov::drc
