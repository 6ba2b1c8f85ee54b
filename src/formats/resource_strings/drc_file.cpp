#include "formats/resource_strings/drc_file.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "formats/resource_strings/drc_scan.h"
#include "formats/resource_strings/quotes.h"
#include "support/line_views.h"
#include "support/text_file.h"

namespace tov {

namespace drc {

namespace {
constexpr std::string_view kMarker = "STRINGTABLE";
}  // namespace

std::string_view trimmed(std::string_view s)
{
    size_t b = 0;
    size_t e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
    return s.substr(b, e - b);
}

bool isHeaderLine(std::string_view line)
{
    return line.find(kMarker) != std::string_view::npos;
}

size_t bodyStart(const std::vector<std::string_view>& lines)
{
    for (size_t i = 0; i < lines.size(); ++i) {
        if (isHeaderLine(lines[i]))
            return i + 1 < lines.size() ? i + 1 : std::string::npos;
    }
    return std::string::npos;
}

bool classify(std::string_view line, std::size_t index, EntryLine& e)
{
    if (line.starts_with("//") || line.starts_with(";")) return false;
    e.line = line;
    e.index = index;
    e.comma = line.find(',');
    e.quote = line.find('"');
    return e.comma != std::string_view::npos && e.quote != std::string_view::npos;
}

std::string EntryLine::text() const
{
    const size_t last = line.rfind('"');
    if (last == quote) return std::string(kTextWithoutClosingQuote);
    return UnescapeQuotes(line.substr(quote + 1, last - quote - 1));
}

void EntryLine::appendText(std::string& out) const
{
    const size_t last = line.rfind('"');
    if (last == quote) {
        out += kTextWithoutClosingQuote;
        return;
    }
    const size_t at = out.size();
    out.append(line.substr(quote + 1, last - quote - 1));
    out.resize(at + UnescapeQuotesInPlace(out.data() + at, out.size() - at));
}

std::string_view EntryLine::textInPlace(std::string& bytes) const
{
    const size_t last = line.rfind('"');
    if (last == quote) return kTextWithoutClosingQuote;
    char* const first = bytes.data() + (line.data() - bytes.data()) + quote + 1;
    return {first, UnescapeQuotesInPlace(first, last - quote - 1)};
}

std::optional<std::string_view> EntryLine::textView() const
{
    const size_t last = line.rfind('"');
    if (last == quote) return kTextWithoutClosingQuote;
    const std::string_view raw = line.substr(quote + 1, last - quote - 1);
    if (raw.find('\\') != std::string_view::npos) return std::nullopt;
    return raw;
}

BaseEntries baseEntries(const std::vector<std::string_view>& lines)
{
    BaseEntries r;
    const size_t start = bodyStart(lines);
    if (start == std::string::npos) return r;
    r.entries.reserve(std::min(lines.size() - start, static_cast<size_t>(kDrcMaxEntries)));
    auto refuse = [&](DrcRead::Status status, size_t i) {
        r.status = status;
        r.line = i + 1;
        r.entries.clear();
        return r;
    };
    for (size_t i = start; i < lines.size(); ++i) {
        EntryLine e;
        if (!classify(trimmed(lines[i]), i, e)) continue;
        const DrcRead::Status admitted = admitBaseEntry(e, r.entries.size());
        if (admitted != DrcRead::Status::Read) return refuse(admitted, i);
        r.entries.push_back(e);
    }
    r.status = DrcRead::Status::Read;
    return r;
}

DrcRead::Status admitBaseEntry(const EntryLine& e, std::size_t taken)
{
    if (e.comma >= kDrcEntryReach || e.quote >= kDrcEntryReach) return DrcRead::Status::EntryTooLong;
    if (taken == static_cast<size_t>(kDrcMaxEntries)) return DrcRead::Status::TooManyEntries;
    return DrcRead::Status::Read;
}

IdentifierIndex::IdentifierIndex(int rows, std::function<std::string_view(int)> idOf)
    : idOf_(std::move(idOf)), next_(static_cast<size_t>(std::max(1, rows)), 0)
{
    size_t capacity = 16;
    while (capacity < static_cast<size_t>(std::max(0, rows)) * 2) capacity *= 2;
    slots_.resize(capacity);
    mask_ = capacity - 1;
    std::vector<std::int32_t> last(next_.size(), 0);  // by first row: the last row so far
    for (int r = 1; r < rows; ++r) {
        const std::string_view id = idOf_(r);
        const std::uint32_t h = hash(id);
        size_t i = h & mask_;
        while (slots_[i].row != 0 && !(slots_[i].hash == h && idOf_(slots_[i].row) == id)) i = (i + 1) & mask_;
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

int IdentifierIndex::find(std::string_view id) const
{
    const std::uint32_t h = hash(id);
    for (size_t i = h & mask_; slots_[i].row != 0; i = (i + 1) & mask_) {
        if (slots_[i].hash == h && idOf_(slots_[i].row) == id) return slots_[i].row;
    }
    return 0;
}

void blankNoBreakSpaces(std::string& data)
{
    std::replace(data.begin(), data.end(), '\xA0', ' ');
}

}  // namespace drc

namespace {

// Identifier part of a written line: six blanks, identifier, comma, seven
// blanks, padded to this width.
constexpr std::size_t kIdFieldWidth = 50;

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
    std::string data;
    const bool readAll = readFileBytes(path, data);
    const std::vector<std::string_view> lines = lineViews(data);
    // The entries first: a file that cannot be held whole changes nothing.
    const drc::BaseEntries found = drc::baseEntries(lines);
    if (found.status != DrcRead::Status::Read && found.status != DrcRead::Status::NoHeader)
        return refusal(found.status, found.line - 1);

    const int shownRows = working.rowCount();
    for (int c = 0; c <= 5; ++c) working.clearColumn(c);
    if (found.status == DrcRead::Status::NoHeader) return {};

    // The last row first: each column then grows once to its full length
    // instead of row by row.
    auto fill = [&](int row, const drc::EntryLine& e) {
        // Rows that were hidden below the old row count still hold the texts
        // of an earlier table; a new row starts with columns 2 to 5 empty.
        if (row >= shownRows) {
            for (int c = 2; c <= 5; ++c) working.setCell(c, row, {});
        }
        working.setCell(kDrcIdColumn, row, std::string(e.identifier()));
        working.setCell(kDrcEntryLineColumn, row, std::string(e.line));
        working.setCell(kDrcBaseColumn, row, e.text());
    };
    const int last = static_cast<int>(found.entries.size());
    if (last > 0) fill(last, found.entries.back());
    for (int row = 1; row < last; ++row) fill(row, found.entries[static_cast<size_t>(row - 1)]);
    if (last > 0) working.setRowCount(last + 1);
    DrcRead r;
    if (readAll) r.status = DrcRead::Status::Read;
    return r;
}

DrcRead ReadDrcColumn(int column, const std::string& path, TextGrid& working)
{
    std::string data;
    const bool readAll = readFileBytes(path, data);
    drc::blankNoBreakSpaces(data);
    const std::vector<std::string_view> lines = lineViews(data);
    const size_t start = drc::bodyStart(lines);
    if (start == std::string::npos) return {};

    const drc::IdentifierIndex rowsOf(working.rowCount(),
                                      [&working](int row) -> std::string_view { return working.cell(kDrcIdColumn, row); });
    // Texts of the identifier column itself wait until the index is done with it.
    const bool intoIds = column == kDrcIdColumn;
    std::vector<std::pair<int, std::string>> found;
    drc::mergeByIdentifier(lines, start, rowsOf, [&](int row, const drc::EntryLine& e) {
        if (intoIds)
            found.emplace_back(row, e.text());
        else
            working.setCell(column, row, e.text());
    });
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
