#include "document/find.h"

#include <algorithm>
#include <string>

#include "support/cp1250.h"

namespace tov {

namespace {

// Whether `cell` holds `upperText` (already in capitals), comparing the
// cell's bytes in capitals as they are read.
bool containsUpper(std::string_view cell, std::string_view upperText)
{
    if (upperText.size() > cell.size()) return false;
    const auto same = [](char a, char b) {
        return cp1250::upper(static_cast<unsigned char>(a)) == static_cast<unsigned char>(b);
    };
    return std::search(cell.begin(), cell.end(), upperText.begin(), upperText.end(), same) != cell.end();
}

}  // namespace

int findNextRow(const TranslationDocument& doc, TextSide side, int currentRow, std::string_view text,
                bool caseSensitive)
{
    if (text.empty()) return 0;
    const std::string upperText = caseSensitive ? std::string() : cp1250::upper(text);
    const auto matches = [&](int r) {
        const Entry& e = doc.entry(r - 1);
        const std::string_view cell = side == TextSide::Base ? e.base.view() : e.dest.view();
        return caseSensitive ? cell.find(text) != std::string::npos : containsUpper(cell, upperText);
    };
    const int rows = doc.size();
    for (int r = std::max(currentRow, 0) + 1; r <= rows; ++r)
        if (matches(r)) return r;
    // Wrapped to the top: the rows below the current one have been tried
    // already, so the pass ends with the current row.
    for (int r = 1; r <= std::min(currentRow, rows); ++r)
        if (matches(r)) return r;
    return 0;
}

std::string replaceText(std::string_view in, std::string_view text, std::string_view with, bool caseSensitive,
                        int& count)
{
    count = 0;
    if (text.empty()) return std::string(in);
    const std::string upperText = caseSensitive ? std::string() : cp1250::upper(text);
    const std::string_view wanted = caseSensitive ? text : std::string_view(upperText);
    const auto same = [caseSensitive](char a, char b) {
        return caseSensitive ? a == b : cp1250::upper(static_cast<unsigned char>(a)) == static_cast<unsigned char>(b);
    };
    std::string out;
    auto from = in.begin();
    for (;;) {
        const auto at = std::search(from, in.end(), wanted.begin(), wanted.end(), same);
        out.append(from, at);
        if (at == in.end()) break;
        out.append(with);
        ++count;
        from = at + static_cast<std::ptrdiff_t>(wanted.size());
    }
    return out;
}

Replacement replaceInDestinations(const TranslationDocument& doc, std::string_view text, std::string_view with,
                                  bool caseSensitive, int onlyIndex)
{
    Replacement result;
    if (text.empty()) return result;
    const int first = onlyIndex >= 0 ? onlyIndex : 0;
    const int last = onlyIndex >= 0 ? std::min(onlyIndex, doc.size() - 1) : doc.size() - 1;
    for (int i = first; i <= last; ++i) {
        const Entry& e = doc.entry(i);
        int n = 0;
        std::string replaced = replaceText(withoutPadding(e.rule, e.dest), text, with, caseSensitive, n);
        if (n == 0) continue;
        if (e.rule == LengthRule::Fixed && replaced.size() > e.base.size()) {
            ++result.refused;
            continue;
        }
        result.occurrences += n;
        result.texts.emplace_back(i, std::move(replaced));
    }
    return result;
}

}  // namespace tov
