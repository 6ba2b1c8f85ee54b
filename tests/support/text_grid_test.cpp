#include <gtest/gtest.h>

#include "support/text_grid.h"

namespace tov {
namespace {

// Column `col` of rows 0..n-1 as a list.
std::vector<std::string> columnOf(const TextGrid& g, int col, int n)
{
    std::vector<std::string> out;
    for (int r = 0; r < n; ++r) out.push_back(g.cell(col, r));
    return out;
}

TextGrid filled(int rows, int col, const std::string& prefix)
{
    TextGrid g(3, rows);
    for (int r = 0; r < rows; ++r) g.setCell(col, r, prefix + std::to_string(r));
    return g;
}

TEST(TextGrid, CellsOutliveTheRowCount)
{
    TextGrid g(2, 5);
    g.setCell(1, 4, "four");
    g.setRowCount(2);
    EXPECT_EQ(g.rowCount(), 2);
    EXPECT_EQ(g.cell(1, 4), "four");  // hidden, still held
    g.setRowCount(10);
    EXPECT_EQ(g.cell(1, 4), "four");
    g.setCell(7, 20, "beyond");  // beyond both counts
    EXPECT_EQ(g.cell(7, 20), "beyond");
    EXPECT_EQ(g.colCount(), 2);
    EXPECT_EQ(g.cell(0, 3), "");
    EXPECT_EQ(g.cell(-1, 0), "");
    g.setCell(-1, 0, "x");
    g.setCell(0, -1, "x");
    EXPECT_EQ(g.cell(0, 0), "");
    g.setRowCount(-3);
    EXPECT_EQ(g.rowCount(), 0);
}

TEST(TextGrid, ClearColumnEmptiesOnlyRowsBelowTheCount)
{
    TextGrid g = filled(5, 1, "t");
    g.setCell(2, 0, "other");
    g.setRowCount(3);
    g.clearColumn(1);
    g.setRowCount(5);
    EXPECT_EQ(columnOf(g, 1, 5), (std::vector<std::string> {"", "", "", "t3", "t4"}));
    EXPECT_EQ(g.cell(2, 0), "other");
}

TEST(TextGrid, CopyColumnSetsRowsUpToTheSmallerCount)
{
    struct Case {
        int targetRows;
        int sourceRows;
        std::vector<std::string> expected;  // target rows 0..4 after the copy, all shown
    };
    const Case cases[] = {
        {5, 5, {"s0", "s1", "s2", "s3", "s4"}},
        {5, 2, {"s0", "s1", "d2", "d3", "d4"}},  // rows beyond the source keep their texts
        {2, 5, {"s0", "s1", "d2", "d3", "d4"}},  // hidden target rows are not reached
        {5, 0, {"d0", "d1", "d2", "d3", "d4"}},
    };
    for (const auto& c : cases) {
        TextGrid target = filled(5, 2, "d");
        target.setRowCount(c.targetRows);
        TextGrid source = filled(5, 0, "s");
        source.setRowCount(c.sourceRows);
        target.copyColumn(2, source, 0);
        EXPECT_EQ(target.rowCount(), c.targetRows);
        EXPECT_EQ(columnOf(target, 2, 5), c.expected) << c.targetRows << "/" << c.sourceRows;
    }
}

TEST(TextGrid, CopyColumnFromAListAndWithinOneGrid)
{
    TextGrid g = filled(4, 0, "a");
    g.copyColumn(1, std::vector<std::string> {"x", "y"});
    EXPECT_EQ(columnOf(g, 1, 4), (std::vector<std::string> {"x", "y", "", ""}));
    g.copyColumn(2, g, 0);
    EXPECT_EQ(columnOf(g, 2, 4), (std::vector<std::string> {"a0", "a1", "a2", "a3"}));
    g.copyColumn(0, g, 1);  // overwrite the source column of the previous copy
    EXPECT_EQ(columnOf(g, 0, 4), (std::vector<std::string> {"x", "y", "", ""}));
    EXPECT_EQ(g.rowCount(), 4);
}

TEST(TextGrid, ReportsChanges)
{
    TextGrid g(2, 2);
    int calls = 0;
    g.setObserver([&] { ++calls; });
    const auto gen = g.generation();
    g.setCell(0, 0, "a");
    g.setCell(0, 0, "a");  // no change
    g.setRowCount(3);
    g.clearColumn(0);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(g.generation(), gen + 3);
}

}  // namespace
}  // namespace tov
