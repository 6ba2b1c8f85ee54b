#include "formats/resource_strings/drc_file.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "formats/resource_strings/quotes.h"
#include "support/text_file.h"

namespace tov {

namespace {

constexpr std::string_view kMarker = "STRINGTABLE";
constexpr std::string_view kTextWithoutClosingQuote = "????";
// The first comma and the first double quote of a base entry must stand
// within this many bytes of the trimmed line; the column reader allows more.
constexpr std::size_t kBaseEntryReach = 255;
constexpr std::size_t kColumnEntryReach = 65535;
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

bool withinReach(const Entry& e, size_t reach) { return e.comma < reach && e.quote < reach; }

std::string identifierOf(const Entry& e) { return std::string(trimView(e.line.substr(0, e.comma))); }

std::string textOf(const Entry& e)
{
    const size_t last = e.line.rfind('"');
    if (last == e.quote) return std::string(kTextWithoutClosingQuote);
    return UnescapeQuotes(e.line.substr(e.quote + 1, last - e.quote - 1));
}

WriteResult failure(std::string reason)
{
    WriteResult r;
    r.error = std::move(reason);
    return r;
}

}  // namespace

bool ReadDrcBase(const std::string& path, TextGrid& working)
{
    const int shownRows = working.rowCount();
    for (int c = 0; c <= 5; ++c) working.clearColumn(c);

    std::vector<std::string> lines;
    const bool readAll = readLines(path, lines);
    const size_t start = bodyStart(lines);
    if (start == std::string::npos) return false;

    int row = 1;
    for (size_t i = start; i < lines.size() && row <= kDrcMaxEntries; ++i) {
        Entry e;
        if (!classify(trimView(lines[i]), e)) continue;
        if (!withinReach(e, kBaseEntryReach)) break;
        // Rows that were hidden below the old row count still hold the texts
        // of an earlier table; a new row starts with columns 2 to 5 empty.
        if (row >= shownRows) {
            for (int c = 2; c <= 5; ++c) working.setCell(c, row, {});
        }
        working.setCell(kDrcIdColumn, row, identifierOf(e));
        working.setCell(kDrcEntryLineColumn, row, std::string(e.line));
        working.setCell(kDrcBaseColumn, row, textOf(e));
        ++row;
    }
    if (row > 1) working.setRowCount(row);
    return readAll;
}

bool ReadDrcColumn(int column, const std::string& path, TextGrid& working)
{
    std::vector<std::string> lines;
    const bool readAll = readLines(path, lines);
    const size_t start = bodyStart(lines);
    if (start == std::string::npos) return false;

    // Row of each identifier; the first row with a given identifier wins.
    std::unordered_map<std::string, int> rowOf;
    rowOf.reserve(static_cast<size_t>(std::max(0, working.rowCount())));
    for (int r = 1; r < working.rowCount(); ++r) rowOf.emplace(working.cell(kDrcIdColumn, r), r);

    for (size_t i = start; i < lines.size(); ++i) {
        std::string& line = lines[i];
        for (char& ch : line)
            if (static_cast<unsigned char>(ch) == 0xA0) ch = ' ';
        Entry e;
        if (!classify(trimView(line), e)) continue;
        if (!withinReach(e, kColumnEntryReach)) break;
        const auto it = rowOf.find(identifierOf(e));
        if (it != rowOf.end()) working.setCell(column, it->second, textOf(e));
    }
    return readAll;
}

std::string FormatDrc(int column, const TextGrid& working)
{
    std::string out;
    out.reserve(static_cast<size_t>(std::max(0, working.rowCount())) * 80 + 64);
    appendCrLfLine(out, " STRINGTABLE");
    appendCrLfLine(out, "  BEGIN");
    for (int r = 1; r < working.rowCount(); ++r) {
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

WriteResult WriteDrc(int column, const std::string& path, const TextGrid& working)
{
    const int entries = working.rowCount() - 1;
    if (entries > kDrcMaxEntries) {
        return failure(path + ": " + std::to_string(entries) +
                       " strings; a resource-string file holds at most 65535");
    }
    for (int r = 1; r < working.rowCount(); ++r) {
        if (working.cell(column, r).size() > kDrcMaxTextLength) {
            return failure(path + ": the text of row " + std::to_string(r) +
                           " is longer than 65535 bytes");
        }
    }
    return writeFileAtomic(path, FormatDrc(column, working));
}

}  // namespace tov
