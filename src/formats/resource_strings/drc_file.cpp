#include "formats/resource_strings/drc_file.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "formats/resource_strings/quotes.h"
#include "support/text_file.h"

namespace tov {

namespace {

constexpr std::string_view kMarker = "STRINGTABLE";
constexpr std::string_view kTextWithoutClosingQuote = "????";
// Identifier part of a written line: six blanks, identifier, comma, seven
// blanks, padded to this width.
constexpr std::size_t kIdFieldWidth = 50;

std::string_view trimView(std::string_view s)
{
    size_t b = 0;
    size_t e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
    return s.substr(b, e - b);
}

// Index of the first line after the header, or npos when the file has no
// "STRINGTABLE" line or has it only as its last line.
size_t bodyStart(const std::vector<std::string>& lines)
{
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find(kMarker) != std::string::npos)
            return i + 1 < lines.size() ? i + 1 : std::string::npos;
    }
    return std::string::npos;
}

struct Entry {
    std::string_view line;  // trimmed
    size_t comma = 0;       // first comma
    size_t quote = 0;       // first double quote
};

bool classify(std::string_view trimmed, Entry& e)
{
    if (trimmed.starts_with("//") || trimmed.starts_with(";")) return false;
    e.line = trimmed;
    e.comma = trimmed.find(',');
    e.quote = trimmed.find('"');
    return e.comma != std::string_view::npos && e.quote != std::string_view::npos;
}

bool withinReach(const Entry& e) { return e.comma < kDrcEntryReach && e.quote < kDrcEntryReach; }

std::string_view identifierOf(const Entry& e) { return trimView(e.line.substr(0, e.comma)); }

std::string textOf(const Entry& e)
{
    const size_t last = e.line.rfind('"');
    if (last == e.quote) return std::string(kTextWithoutClosingQuote);
    return UnescapeQuotes(e.line.substr(e.quote + 1, last - e.quote - 1));
}

// The rows of each identifier of column 0 (rows 1 and on), built once per
// merge: find() gives the first row with an identifier, nextRow() the next
// row with the same identifier (0 after the last). Open addressing over a
// flat table of hashes and rows keeps a lookup to about one cache miss, which
// is what a merge of 65,535 strings spends its time on. The identifiers are
// not copied: the grid must not change while the index is in use.
class IdentifierIndex {
public:
    explicit IdentifierIndex(const TextGrid& grid)
        : grid_(grid), next_(static_cast<size_t>(std::max(1, grid.rowCount())), 0)
    {
        size_t capacity = 16;
        while (capacity < static_cast<size_t>(std::max(0, grid.rowCount())) * 2) capacity *= 2;
        slots_.resize(capacity);
        mask_ = capacity - 1;
        std::vector<std::int32_t> last(next_.size(), 0);  // by first row: the last row so far
        for (int r = 1; r < grid.rowCount(); ++r) {
            const std::string& id = grid.cell(kDrcIdColumn, r);
            const std::uint32_t h = hash(id);
            size_t i = h & mask_;
            while (slots_[i].row != 0 && !(slots_[i].hash == h && grid_.cell(kDrcIdColumn, slots_[i].row) == id))
                i = (i + 1) & mask_;
            if (slots_[i].row == 0) {
                slots_[i] = {h, r};
                last[static_cast<size_t>(r)] = r;
            } else {
                std::int32_t& tail = last[static_cast<size_t>(slots_[i].row)];
                next_[static_cast<size_t>(tail)] = r;
                tail = r;
            }
        }
    }

    // The first row of `id`, or 0 when no row has it.
    int find(std::string_view id) const
    {
        const std::uint32_t h = hash(id);
        for (size_t i = h & mask_; slots_[i].row != 0; i = (i + 1) & mask_) {
            if (slots_[i].hash == h && grid_.cell(kDrcIdColumn, slots_[i].row) == id) return slots_[i].row;
        }
        return 0;
    }

    // The next row with the identifier of `row`, or 0.
    int nextRow(int row) const { return next_[static_cast<size_t>(row)]; }

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

    const TextGrid& grid_;
    std::vector<Slot> slots_;
    std::vector<std::int32_t> next_;
    size_t mask_ = 0;
};

DrcRead refusal(DrcRead::Status status, size_t lineIndex)
{
    DrcRead r;
    r.status = status;
    r.line = lineIndex + 1;
    return r;
}

WriteResult failure(std::string reason)
{
    WriteResult r;
    r.error = std::move(reason);
    return r;
}

}  // namespace

std::string drcRefusalReason(const DrcRead& read)
{
    const std::string line = std::to_string(read.line);
    if (read.status == DrcRead::Status::TooManyEntries)
        return "holds more than 65535 strings (string 65536 is on line " + line + ")";
    return "holds an identifier longer than 65535 bytes on line " + line;
}

DrcRead ReadDrcBase(const std::string& path, TextGrid& working)
{
    std::vector<std::string> lines;
    const bool readAll = readLines(path, lines);
    const size_t start = bodyStart(lines);

    // The entries first: a file that cannot be held whole changes nothing.
    std::vector<std::pair<size_t, Entry>> entries;
    if (start != std::string::npos) {
        for (size_t i = start; i < lines.size(); ++i) {
            Entry e;
            if (!classify(trimView(lines[i]), e)) continue;
            if (!withinReach(e)) return refusal(DrcRead::Status::EntryTooLong, i);
            if (entries.size() == static_cast<size_t>(kDrcMaxEntries))
                return refusal(DrcRead::Status::TooManyEntries, i);
            entries.emplace_back(i, e);
        }
    }

    const int shownRows = working.rowCount();
    for (int c = 0; c <= 5; ++c) working.clearColumn(c);
    if (start == std::string::npos) return {};

    int row = 1;
    for (const auto& [i, e] : entries) {
        // Rows that were hidden below the old row count still hold the texts
        // of an earlier table; a new row starts with columns 2 to 5 empty.
        if (row >= shownRows) {
            for (int c = 2; c <= 5; ++c) working.setCell(c, row, {});
        }
        working.setCell(kDrcIdColumn, row, std::string(identifierOf(e)));
        working.setCell(kDrcEntryLineColumn, row, std::string(e.line));
        working.setCell(kDrcBaseColumn, row, textOf(e));
        ++row;
    }
    if (row > 1) working.setRowCount(row);
    DrcRead r;
    if (readAll) r.status = DrcRead::Status::Read;
    return r;
}

DrcRead ReadDrcColumn(int column, const std::string& path, TextGrid& working)
{
    std::vector<std::string> lines;
    const bool readAll = readLines(path, lines);
    const size_t start = bodyStart(lines);
    if (start == std::string::npos) return {};

    const IdentifierIndex rowsOf(working);
    // By the first row of an identifier: the row its next entry fills.
    std::vector<std::int32_t> nextFill(rowsOf.rows(), 0);
    std::vector<std::pair<int, std::string>> found;
    for (size_t i = start; i < lines.size(); ++i) {
        std::string& line = lines[i];
        if (line.find('\xA0') != std::string::npos) std::replace(line.begin(), line.end(), '\xA0', ' ');
        Entry e;
        // No entry is too long or too many here: one that no row holds is
        // passed over.
        if (!classify(trimView(line), e)) continue;
        const int first = rowsOf.find(identifierOf(e));
        if (first == 0) continue;
        std::int32_t& fill = nextFill[static_cast<size_t>(first)];
        const int row = fill == 0 ? first : fill;
        const int after = rowsOf.nextRow(row);
        fill = after != 0 ? after : row;  // past the last row: the last one again
        found.emplace_back(row, textOf(e));
    }
    for (auto& [row, text] : found) working.setCell(column, row, std::move(text));
    DrcRead r;
    if (readAll) r.status = DrcRead::Status::Read;
    return r;
}

std::string FormatDrc(int column, const TextGrid& working)
{
    std::string out;
    out.reserve(static_cast<size_t>(std::max(0, working.rowCount())) * 80 + 64);
    appendCrLfLine(out, " STRINGTABLE");
    appendCrLfLine(out, "  BEGIN");
    for (int r = 1; r < working.rowCount(); ++r) {
        if (working.cell(kDrcIdColumn, r).empty()) continue;
        const size_t lineStart = out.size();
        out.append(6, ' ');
        out.append(working.cell(kDrcIdColumn, r));
        out.push_back(',');
        out.append(7, ' ');
        const size_t used = out.size() - lineStart;
        if (used < kIdFieldWidth) out.append(kIdFieldWidth - used, ' ');
        out.push_back('"');
        out.append(EscapeQuotes(working.cell(column, r)));
        out.append("\"\r\n");
    }
    appendCrLfLine(out, "  ");
    appendCrLfLine(out, " END");
    return out;
}

WriteResult WriteDrc(int column, const std::string& path, const TextGrid& working, const BackupChoice& backup)
{
    const int entries = working.rowCount() - 1;
    if (entries > kDrcMaxEntries) {
        return failure(path + ": " + std::to_string(entries) +
                       " strings; a resource-string file holds at most 65535");
    }
    for (int r = 1; r < working.rowCount(); ++r) {
        // The opening quote follows the identifier, its comma and seven
        // blanks; beyond the readers' reach the file would not read back.
        if (working.cell(kDrcIdColumn, r).size() + 8 >= kDrcEntryReach) {
            return failure(path + ": the identifier of row " + std::to_string(r) +
                           " is longer than 65526 bytes");
        }
        if (working.cell(column, r).size() > kDrcMaxTextLength) {
            return failure(path + ": the text of row " + std::to_string(r) +
                           " is longer than 65535 bytes");
        }
    }
    return writeFileAtomic(path, FormatDrc(column, working), backup);
}

}  // namespace tov
