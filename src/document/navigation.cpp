#include "document/navigation.h"

namespace tov {

bool needsWork(const TranslationDocument& doc, int index)
{
    return (doc.problems(index) & kNeedsWork) != 0;
}

RowFound findRow(const TranslationDocument& doc, int from, bool forward, const RowTest& test)
{
    const int n = doc.size();
    // A start outside the rows begins at the first row going forward, at the
    // last going backward, without going round.
    const bool inside = from >= 0 && from < n;
    if (!inside) from = forward ? -1 : n;
    const int step = forward ? 1 : -1;
    for (int k = 1; k <= n; ++k) {
        const int i = ((from + step * k) % n + n) % n;
        if (test(i)) return {i, inside && (forward ? i <= from : i >= from)};
    }
    return {};
}

std::vector<int> rowsWhere(const TranslationDocument& doc, const RowTest& test)
{
    std::vector<int> rows;
    for (int i = 0; i < doc.size(); ++i)
        if (test(i)) rows.push_back(i);
    return rows;
}

}  // namespace tov
