#include "support/text_grid.h"

#include <algorithm>

namespace tov {

namespace {
const std::string kEmpty;
}

TextGrid::TextGrid(int colCount, int rowCount)
    : cols_(std::max(0, colCount)), rows_(std::max(0, rowCount))
{
}

void TextGrid::setColCount(int n)
{
    n = std::max(0, n);
    if (n == cols_) return;
    cols_ = n;
    changed();
}

void TextGrid::setRowCount(int n)
{
    n = std::max(0, n);
    if (n == rows_) return;
    rows_ = n;
    changed();
}

const std::string& TextGrid::cell(int col, int row) const
{
    if (col < 0 || row < 0 || col >= static_cast<int>(cells_.size())) return kEmpty;
    const auto& c = cells_[static_cast<size_t>(col)];
    if (row >= static_cast<int>(c.size())) return kEmpty;
    return c[static_cast<size_t>(row)];
}

std::vector<std::string>& TextGrid::column(int col)
{
    if (col >= static_cast<int>(cells_.size())) cells_.resize(static_cast<size_t>(col) + 1);
    return cells_[static_cast<size_t>(col)];
}

void TextGrid::setCell(int col, int row, std::string text)
{
    if (col < 0 || row < 0) return;
    auto& c = column(col);
    if (row >= static_cast<int>(c.size())) {
        if (text.empty()) return;  // an unset cell already reads as empty
        c.resize(static_cast<size_t>(row) + 1);
    }
    auto& slot = c[static_cast<size_t>(row)];
    if (slot == text) return;
    slot = std::move(text);
    changed();
}

void TextGrid::clearColumn(int col)
{
    if (col < 0 || col >= static_cast<int>(cells_.size())) return;
    auto& c = cells_[static_cast<size_t>(col)];
    const size_t n = std::min(c.size(), static_cast<size_t>(rows_));
    bool any = false;
    for (size_t r = 0; r < n; ++r) {
        if (!c[r].empty()) {
            c[r].clear();
            any = true;
        }
    }
    if (any) changed();
}

void TextGrid::copyColumn(int col, const TextGrid& src, int srcCol)
{
    if (col < 0) return;
    const int n = std::min(rows_, src.rowCount());
    if (n <= 0) return;
    if (&src == this && col == srcCol) return;
    // Gather first: the source column may live in this grid and reallocate.
    std::vector<std::string> texts;
    texts.reserve(static_cast<size_t>(n));
    for (int r = 0; r < n; ++r) texts.push_back(src.cell(srcCol, r));
    auto& c = column(col);
    if (static_cast<int>(c.size()) < n) c.resize(static_cast<size_t>(n));
    for (int r = 0; r < n; ++r) c[static_cast<size_t>(r)] = std::move(texts[static_cast<size_t>(r)]);
    changed();
}

void TextGrid::copyColumn(int col, const std::vector<std::string>& src)
{
    if (col < 0) return;
    const int n = std::min(rows_, static_cast<int>(src.size()));
    if (n <= 0) return;
    auto& c = column(col);
    if (static_cast<int>(c.size()) < n) c.resize(static_cast<size_t>(n));
    for (int r = 0; r < n; ++r) c[static_cast<size_t>(r)] = src[static_cast<size_t>(r)];
    changed();
}

}  // namespace tov
