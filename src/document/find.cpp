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
        const std::string& cell = side == TextSide::Base ? e.base : e.dest;
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

}  // namespace tov
