#include "formats/firmware/firmware_lines.h"

#include <algorithm>

#include "support/convert.h"
#include "support/line_views.h"
#include "support/text_file.h"

namespace tov {

namespace {

constexpr char kApostrophe = '\'';

// Every run of two or more apostrophes becomes one apostrophe: the same as
// removing the first apostrophe of the first adjacent pair until none is left.
std::string collapseApostropheRuns(std::string_view text)
{
    if (text.find("''") == std::string_view::npos) return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == kApostrophe && i > 0 && text[i - 1] == kApostrophe) continue;
        out.push_back(text[i]);
    }
    return out;
}

// Whether `stored` with its apostrophe runs collapsed is `text` (without
// building the collapsed text).
bool collapsesTo(std::string_view stored, std::string_view text)
{
    size_t t = 0;
    for (size_t i = 0; i < stored.size(); ++i) {
        if (stored[i] == kApostrophe && i > 0 && stored[i - 1] == kApostrophe) continue;
        if (t == text.size() || text[t] != stored[i]) return false;
        ++t;
    }
    return t == text.size();
}

// Every apostrophe doubled.
std::string doubleApostrophes(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        out.push_back(c);
        if (c == kApostrophe) out.push_back(kApostrophe);
    }
    return out;
}

// Where the text of a line stands: the opening quote and the stored text
// after it (as written in the file, before the apostrophe runs collapse).
struct QuoteSpan {
    bool found = false;     // a quote character stands before the comment
    char quote = 0;
    size_t open = 0;        // index of the opening quote
    size_t storedLen = 0;   // bytes of the stored text (at most 255)
    bool closed = false;    // the stored text ends at a closing quote
};

QuoteSpan findQuoteSpan(std::string_view line)
{
    QuoteSpan span;
    // The first quote character before the first ";" (the comment cut).
    size_t open = 0;
    while (open < line.size() && line[open] != ';' && line[open] != '\'' && line[open] != '"') ++open;
    if (open == line.size() || line[open] == ';') return span;
    span.found = true;
    span.quote = line[open];
    span.open = open;
    const std::string_view rest = line.substr(open + 1);
    const std::string_view candidate = rest.substr(0, std::min(rest.find(';'), kFirmwareMaxPiece));
    const size_t close = ClosingQuotePos(candidate, span.quote);
    span.closed = close != 0;
    span.storedLen = span.closed ? close - 1 : candidate.size();
    return span;
}

}  // namespace

std::size_t ClosingQuotePos(std::string_view s, char q)
{
    const size_t n = s.size();
    for (size_t i = 0; i < n; ++i) {
        if (s[i] != q) continue;
        if (i + 1 == n) return i + 1;
        if (s[i + 1] != q && (i == 0 || s[i - 1] != q)) return i + 1;
    }
    return 0;
}

std::string QuotedText(std::string_view line)
{
    const QuoteSpan span = findQuoteSpan(line);
    if (!span.found) return {};
    return collapseApostropheRuns(line.substr(span.open + 1, span.storedLen));
}

std::optional<std::string_view> QuotedTextView(std::string_view line)
{
    const QuoteSpan span = findQuoteSpan(line);
    if (!span.found) return std::string_view();
    const std::string_view stored = line.substr(span.open + 1, span.storedLen);
    if (stored.find("''") != std::string_view::npos) return std::nullopt;
    return stored;
}

std::optional<std::string_view> QuotedTextView(std::string_view line, std::string& collapsed)
{
    const QuoteSpan span = findQuoteSpan(line);
    if (!span.found) return std::string_view();
    const std::string_view stored = line.substr(span.open + 1, span.storedLen);
    if (stored.find("''") == std::string_view::npos) return stored;
    for (size_t i = 0; i < stored.size(); ++i)
        if (stored[i] != kApostrophe || i == 0 || stored[i - 1] != kApostrophe) collapsed.push_back(stored[i]);
    return std::nullopt;
}

std::string_view LineCommentView(std::string_view line)
{
    std::string_view comment;
    const size_t semi = line.find(';');
    if (semi != std::string_view::npos) comment = line.substr(semi + 1, kFirmwareMaxPiece);
    if (comment.empty()) {
        const size_t slashes = line.find("//");
        if (slashes != std::string_view::npos) comment = line.substr(slashes + 2, kFirmwareMaxPiece);
    }
    return comment;
}

std::string LineComment(std::string_view line)
{
    return std::string(LineCommentView(line));
}

std::string MergeTextIntoLine(std::string_view text, std::string_view tmpl)
{
    const QuoteSpan span = findQuoteSpan(tmpl);
    // No quote character before the comment: the line carries no text, so
    // there is nothing to replace and the line stays as it is.
    if (!span.found) return std::string(tmpl);
    const size_t p = span.open;
    // Before the comment the first quote of the line is the opening quote.
    const char q = span.quote;
    const std::string_view stored = tmpl.substr(p + 1, span.storedLen);
    const size_t textLen = collapseApostropheRuns(stored).size();

    std::string fitted(text.substr(0, textLen));
    fitted.resize(textLen, ' ');
    if (q == kApostrophe) fitted = doubleApostrophes(fitted);

    // The tail starts right after the stored text and its closing quote, so
    // whatever follows the closing quote comes out unchanged. A text without
    // a closing quote gets none added.
    const size_t tailStart = p + 1 + span.storedLen + (span.closed ? 1 : 0);
    const std::string_view tail = tailStart < tmpl.size() ? tmpl.substr(tailStart) : std::string_view();

    std::string out;
    out.reserve(p + 2 + fitted.size() + tail.size());
    out.append(tmpl.substr(0, p + 1));
    out.append(fitted);
    if (span.closed) out.push_back(q);
    out.append(tail);
    return out;
}

namespace {

bool isBlank(std::string_view s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return c == ' ' || c == '\t'; });
}

std::string_view trimRightBlanks(std::string_view s)
{
    size_t e = s.size();
    while (e > 0 && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(0, e);
}

}  // namespace

std::optional<std::string> MergeTextIntoDestLine(std::string_view text, std::string_view dest,
                                                 std::string_view base)
{
    // A stored text of any length carries a text (its apostrophe runs
    // collapse to one apostrophe, never to nothing).
    const QuoteSpan span = findQuoteSpan(dest);
    if (span.found && span.storedLen > 0) {
        const bool unchanged = collapsesTo(dest.substr(span.open + 1, span.storedLen), text);
        return unchanged ? std::string(dest) : MergeTextIntoLine(text, dest);
    }
    if (isBlank(text)) return std::string(dest);

    if (span.found && span.closed) {
        // An empty pair of quotes: the text as long as the base text.
        std::string fitted(text.substr(0, QuotedText(base).size()));
        fitted.resize(QuotedText(base).size(), ' ');
        if (span.quote == kApostrophe) fitted = doubleApostrophes(fitted);
        std::string out(dest.substr(0, span.open + 1));
        out += fitted;
        out += dest.substr(span.open + 1);
        return out;
    }
    if (isBlank(dest)) return MergeTextIntoLine(text, base);

    const QuoteSpan baseSpan = findQuoteSpan(base);
    if (!baseSpan.found) return std::nullopt;
    const size_t destSemi = dest.find(';');
    const std::string_view destCode = dest.substr(0, destSemi);
    if (trimRightBlanks(destCode) != trimRightBlanks(base.substr(0, baseSpan.open))) return std::nullopt;
    std::string out = MergeTextIntoLine(text, base.substr(0, base.find(';')));
    if (destSemi == std::string_view::npos) return std::string(trimRightBlanks(out));
    out += dest.substr(destSemi);
    return out;
}

bool MergedLineHoldsText(std::string_view text, std::string_view merged, std::string_view dest,
                         std::string_view base)
{
    // The usual cases are decided without reading the line again: a line the
    // merge left as it was, and a text without quote characters or ";"
    // fitted into a closed quoted text without apostrophe runs, which leaves
    // the closing quote where it was.
    if (merged == dest) return true;
    if (text.find_first_of("'\";") == std::string_view::npos) {
        const QuoteSpan span = findQuoteSpan(dest);
        if (span.found && span.closed && span.storedLen > 0 &&
            dest.substr(span.open + 1, span.storedLen).find("''") == std::string_view::npos)
            return true;
    }
    // The text was fitted to the length of the destination line's text, or
    // of the base line's where the destination line had none.
    const QuoteSpan span = findQuoteSpan(dest);
    const size_t length = QuotedText(span.found && span.storedLen > 0 ? dest : base).size();
    std::string fitted(text.substr(0, length));
    fitted.resize(length, ' ');
    return QuotedText(merged) == fitted && MergeTextIntoDestLine(text, merged, base) == merged;
}

FirmwareFileLines ReadFirmwareFile(const std::string& path)
{
    FirmwareFileLines result;
    std::string data;
    result.ok = readFileBytes(path, data);
    if (result.ok) {
        result.lines = splitLines(data);
        if (result.lines.empty()) result.lines.emplace_back();
    } else {
        // Only the lines that were read to their line end count.
        const size_t lastLf = data.rfind('\n');
        data.resize(lastLf == std::string::npos ? 0 : lastLf + 1);
        result.lines = splitLines(data);
    }
    return result;
}

FirmwareFileViews ReadFirmwareFileViews(const std::string& path)
{
    FirmwareFileViews result;
    auto data = std::make_shared<std::string>();
    result.ok = readFileBytes(path, *data);
    if (!result.ok) {
        // Only the lines that were read to their line end count.
        const size_t lastLf = data->rfind('\n');
        data->resize(lastLf == std::string::npos ? 0 : lastLf + 1);
    }
    result.lines = lineViews(*data);
    if (result.ok && result.lines.empty()) result.lines.emplace_back();
    result.bytes = std::move(data);
    return result;
}

std::uint16_t StoreFileLines(TextGrid& work, int col, int firstRow, std::vector<std::string>&& lines)
{
    const int first = std::max(0, firstRow);
    const size_t room = static_cast<size_t>(first) < kFirmwareMaxLines
                            ? kFirmwareMaxLines - static_cast<size_t>(first)
                            : 0;
    const size_t n = std::min(lines.size(), room);
    work.setRowCount(std::max(first, 1));
    for (size_t i = 0; i < n; ++i) {
        const int row = first + static_cast<int>(i);
        if (col == 1) work.setCell(0, row, std::to_string(i));
        work.setCell(col, row, std::move(lines[i]));
    }
    if (n > 0) work.setRowCount(first + static_cast<int>(n));
    return static_cast<std::uint16_t>(n);
}

ReadColumnResult ReadFileToColumn(TextGrid& work, const std::string& path, int col, int firstRow)
{
    FirmwareFileLines file = ReadFirmwareFile(path);
    const size_t total = file.lines.size();
    ReadColumnResult result;
    result.readOk = file.ok;
    result.lines = StoreFileLines(work, col, firstRow, std::move(file.lines));
    result.tooManyLines = result.lines < total;
    return result;
}

ExtractResult ExtractTexts(const TextGrid& src, int srcCol, TextGrid& dst, int dstCol)
{
    dst.clearColumn(dstCol);
    const int last = src.rowCount();  // the source rows as they are now
    const bool base = dstCol == 2;
    const bool dest = dstCol == 4;
    ExtractResult result;
    int k = 0;
    for (int r = 0; r < last; ++r) {
        const std::string& line = src.cell(srcCol, r);
        std::string text = QuotedText(line);
        if (text.empty()) continue;
        std::string comment = (base || dest) ? LineComment(line) : std::string();
        // `line` may live in `dst`: it is not used after the first write below.
        ++k;
        const std::size_t length = text.size();
        dst.setCell(dstCol, k, std::move(text));
        if (base) {
            dst.setCell(0, k, std::to_string(k));
            dst.setCell(1, k, lengthText(length));
            dst.setCell(8, k, std::to_string(r));
            dst.setCell(6, k, std::move(comment));
        } else if (dest) {
            dst.setCell(3, k, lengthText(length));
            if (dst.cell(8, k) != std::to_string(r)) {
                result.structureFailureRow = k;
                result.structureFailureLine = r;
                break;
            }
            dst.setCell(5, k, std::move(comment));
        }
    }
    result.texts = k;
    // The rows are added once at the end: cells do not depend on the count.
    if (dst.rowCount() <= k) dst.setRowCount(k + 1);
    return result;
}

std::string FormatColumnLines(const TextGrid& work, int col, int firstRow, int count)
{
    std::string data;
    size_t size = 0;
    for (int i = 0; i < count; ++i) size += work.cell(col, firstRow + i).size() + 2;
    data.reserve(size);
    for (int i = 0; i < count; ++i) appendCrLfLine(data, work.cell(col, firstRow + i));
    return data;
}

WriteResult WriteColumnLines(const std::string& path, const TextGrid& work, int col, int firstRow,
                             int count)
{
    return writeFileAtomic(path, FormatColumnLines(work, col, firstRow, count));
}

}  // namespace tov
