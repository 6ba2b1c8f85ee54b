// Fuzzes the firmware line grammar: QuotedText, LineComment, ClosingQuotePos,
// MergeTextIntoLine and MergeTextIntoDestLine on arbitrary bytes. The input
// is a new text, a LF, and a template line (the whole input is the line when
// there is no LF).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "formats/firmware/firmware_lines.h"
#include "fuzz/fuzz_check.h"

namespace {

bool hasAny(std::string_view s, std::string_view chars) { return s.find_first_of(chars) != std::string_view::npos; }

void lineInvariants(std::string_view line)
{
    const std::string text = tov::QuotedText(line);
    check(text.size() <= tov::kFirmwareMaxPiece);
    check(text.find(';') == std::string::npos);
    check(text.find("''") == std::string::npos);
    // The view, or the text gathered after what a buffer holds, is the same text.
    std::string gathered = "x";
    const std::optional<std::string_view> view = tov::QuotedTextView(line, gathered);
    check(view ? *view == text && gathered == "x" : gathered == "x" + text);
    check(tov::LineComment(line).size() <= tov::kFirmwareMaxPiece);
    for (char q : {'\'', '"'}) {
        const std::size_t pos = tov::ClosingQuotePos(line, q);
        check(pos <= line.size());
        if (pos != 0) check(line[pos - 1] == q);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t lf = input.find('\n');
    const std::string_view text = lf == std::string_view::npos ? std::string_view() : input.substr(0, lf);
    const std::string_view tmpl = lf == std::string_view::npos ? input : input.substr(lf + 1);

    lineInvariants(input);
    lineInvariants(tmpl);

    const std::string merged = tov::MergeTextIntoLine(text, tmpl);
    const std::string old = tov::QuotedText(tmpl);

    // A destination line: one with a text merges as above; one without
    // never loses its content, and a typed text that is merged has a place.
    const std::string_view base = old.empty() ? std::string_view("B DB 'base' ; c") : tmpl;
    const auto destMerged = tov::MergeTextIntoDestLine(text, tmpl, base);
    const bool blankText = text.find_first_not_of(" \t") == std::string_view::npos;
    // (A text equal to the line's own leaves the line as it is.)
    if (!old.empty()) check(destMerged && (*destMerged == merged || (text == old && *destMerged == tmpl)));
    // A merged line said to hold its text (quickly or not) takes it again
    // unchanged.
    if (destMerged && tov::MergedLineHoldsText(text, *destMerged, tmpl, base))
        check(tov::MergeTextIntoDestLine(text, *destMerged, base) == *destMerged);
    if (!destMerged) check(!blankText);
    if (destMerged && !tmpl.empty()) check(!destMerged->empty());
    if (destMerged && !blankText && !hasAny(text, "'\";")) check(!tov::QuotedText(*destMerged).empty());

    if (!hasAny(tmpl, "'\"")) {
        check(merged == tmpl);
        return 0;
    }
    lineInvariants(merged);
    // Merging the line's own text leaves its length; a text without quote
    // characters and ";" reads back exactly (fitted to that length) whenever
    // the template's text ends at a real closing quote.
    check(tov::QuotedText(tov::MergeTextIntoLine(old, tmpl)).size() == old.size() ||
          old.find('\'') != std::string::npos);
    if (old.empty() || hasAny(text, "'\";")) return 0;
    const std::string_view cut = tmpl.substr(0, tmpl.find(';'));
    const std::size_t open = cut.find_first_of("'\"");
    const std::string_view candidate = cut.substr(open + 1, tov::kFirmwareMaxPiece);
    const std::size_t close = tov::ClosingQuotePos(candidate, cut[open]);
    if (close == 0) return 0;
    // A closing quote found at the 255-byte limit may be followed by more
    // quote characters of the same run; such a line reads back otherwise.
    const std::size_t after = open + 1 + close;
    if (after < tmpl.size() && tmpl[after] == cut[open]) return 0;
    std::string fitted(text.substr(0, old.size()));
    fitted.resize(old.size(), ' ');
    check(tov::QuotedText(merged) == fitted);
    return 0;
}
