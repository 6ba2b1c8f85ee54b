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
#include "support/line_views.h"

namespace tov::drc {

// Bytes 0..32 taken from both ends.
std::string_view trimmed(std::string_view s);

// Whether a line is the header's: it holds "STRINGTABLE".
bool isHeaderLine(std::string_view line);

// Index of the first line after the header, or npos when the file has no
// "STRINGTABLE" line or has it only as its last line.
std::size_t bodyStart(const std::vector<std::string_view>& lines);

// Tells the lines of a body as a file's lines come one after the other:
// every line after the header's.
class BodyLines {
public:
    bool take(std::string_view line)
    {
        if (body_ || header_) return body_ = true;
        header_ = isHeaderLine(line);
        return false;
    }
    // Whether the file has a body (a line after the header's).
    bool any() const { return body_; }

private:
    bool header_ = false;
    bool body_ = false;
};

// The same body line by line, straight from a file's bytes read into `data`
// (forEachLine), without a list of its lines: `f(line, index)` for each line
// after the header; false when the file has no body.
template <class F>
bool forEachBodyLine(std::string& data, F&& f)
{
    BodyLines body;
    std::size_t index = 0;
    forEachLine(data, [&](std::string_view line) {
        if (body.take(line)) f(line, index);
        ++index;
    });
    return body.any();
}

// What a text without its closing double quote reads as.
inline constexpr std::string_view kTextWithoutClosingQuote = "????";

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
    // The same appended to `out`.
    void appendText(std::string& out) const;
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

// Whether entry line `e` of a base file, after `taken` entries, may be held:
// Read, or why the file cannot be held whole (TooManyEntries, EntryTooLong).
DrcRead::Status admitBaseEntry(const EntryLine& e, std::size_t taken);

// The entry lines of a base file's body as baseEntries finds them, straight
// from its bytes read into `data`: `take(entry)` for each in the order of the
// file, until the file is refused; the result holds no entries.
template <class Take>
BaseEntries scanBaseEntries(std::string& data, Take&& take)
{
    BaseEntries r;
    std::size_t taken = 0;
    bool refused = false;
    const bool body = forEachBodyLine(data, [&](std::string_view line, std::size_t i) {
        EntryLine e;
        if (refused || !classify(trimmed(line), i, e)) return;
        const DrcRead::Status admitted = admitBaseEntry(e, taken);
        if (admitted != DrcRead::Status::Read) {
            refused = true;
            r.status = admitted;
            r.line = i + 1;
            return;
        }
        ++taken;
        take(e);
    });
    if (body && !refused) r.status = DrcRead::Status::Read;
    return r;
}

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
// The lines are given in the order of the file.
class IdentifierMerge {
public:
    explicit IdentifierMerge(const IdentifierIndex& rowsOf) : rowsOf_(rowsOf), nextFill_(rowsOf.rows(), 0) {}

    // The row that body line `index` fills (its entry line in `e`), or 0.
    int rowOf(std::string_view line, std::size_t index, EntryLine& e)
    {
        if (!classify(trimmed(line), index, e)) return 0;
        const int first = rowsOf_.find(e.identifier());
        if (first == 0) return 0;
        std::int32_t& next = nextFill_[static_cast<std::size_t>(first)];
        const int row = next == 0 ? first : next;
        const int after = rowsOf_.nextRow(row);
        next = after != 0 ? after : row;  // past the last row: the last one again
        return row;
    }

private:
    const IdentifierIndex& rowsOf_;
    // By the first row of an identifier: the row its next entry fills.
    std::vector<std::int32_t> nextFill_;
};

// The same over the lines of a file from `start`: `fill(row, entry)` in the
// order of the file.
template <class Fill>
void mergeByIdentifier(const std::vector<std::string_view>& lines, std::size_t start, const IdentifierIndex& rowsOf,
                       Fill&& fill)
{
    IdentifierMerge merge(rowsOf);
    for (std::size_t i = start; i < lines.size(); ++i) {
        EntryLine e;
        if (const int row = merge.rowOf(lines[i], i, e)) fill(row, e);
    }
}

// A destination file's bytes as the merge reads them: every byte 0xA0
// (no-break space) is a blank (the header's marker holds none).
void blankNoBreakSpaces(std::string& data);

}  // namespace tov::drc
