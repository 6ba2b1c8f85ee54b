// A plain grid of byte strings addressed by (column, row) from 0.
//
// Cells are stored independently of the row and column counts: lowering a
// count hides cells but keeps their texts, raising it shows them again, and
// reading a cell beyond the counts gives what it last held (empty when it was
// never set). Both tables of the program (the translation table and the
// working table) are TextGrids.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tov {

class TextGrid {
public:
    TextGrid() = default;
    TextGrid(int colCount, int rowCount);

    int colCount() const { return cols_; }
    int rowCount() const { return rows_; }
    void setColCount(int n);
    void setRowCount(int n);

    // Empty text for a negative address or a cell never set.
    const std::string& cell(int col, int row) const;
    // Negative addresses are ignored. The counts do not change.
    void setCell(int col, int row, std::string text);

    // Empties rows 0 .. rowCount() - 1 of the column; cells below stay.
    void clearColumn(int col);
    // Sets rows 0 .. min(rowCount(), src.rowCount()) - 1 of column `col`
    // from column `srcCol` of `src` (which may be this grid). Row count unchanged.
    void copyColumn(int col, const TextGrid& src, int srcCol);
    // Same with a list of texts as the source: rows 0 .. min(rowCount(), size) - 1.
    void copyColumn(int col, const std::vector<std::string>& src);

    // Called after every change (cells or counts). The string-grid widget uses
    // it to schedule a view update; it must not call back into the grid.
    void setObserver(std::function<void()> observer) { observer_ = std::move(observer); }

    // Incremented on every change; lets a view tell whether anything moved.
    std::uint64_t generation() const { return generation_; }

private:
    void changed()
    {
        ++generation_;
        if (observer_) observer_();
    }
    std::vector<std::string>& column(int col);

    int cols_ = 0;
    int rows_ = 0;
    std::vector<std::vector<std::string>> cells_;  // [column][row], grown on demand
    std::function<void()> observer_;
    std::uint64_t generation_ = 0;
};

}  // namespace tov
