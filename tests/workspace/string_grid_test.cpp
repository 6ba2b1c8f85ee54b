#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "tests/workspace/workspace_fixture.h"
#include "workspace/string_grid.h"

namespace tov::test {
namespace {

class StringGridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid.resize(600, 400);
        grid.setColCount(6);
        grid.setRowCount(20);
        grid.setFixedRows(1);
        grid.setFixedCols(1);
        grid.sync();
        grid.show();
        QApplication::processEvents();
    }
    StringGrid grid;
};

TEST_F(StringGridTest, ViewFollowsTheCountsAndKeepsHiddenCells)
{
    grid.setCell(2, 15, "kept");
    grid.setRowCount(5);
    grid.sync();
    EXPECT_EQ(grid.model()->rowCount(), 4);  // the fixed row is the header
    EXPECT_EQ(grid.model()->columnCount(), 5);
    EXPECT_EQ(grid.cell(2, 15), "kept");
    grid.setRowCount(20);
    QApplication::processEvents();  // the view catches up on the next turn
    EXPECT_EQ(grid.model()->rowCount(), 19);
    EXPECT_EQ(grid.model()->index(14, 1).data().toString(), QStringLiteral("kept"));
}

TEST_F(StringGridTest, HeadersShowRowZeroAndColumnZero)
{
    grid.setCell(3, 0, "len");
    grid.setCell(0, 4, " 4");
    grid.sync();
    EXPECT_EQ(grid.model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("len"));
    EXPECT_EQ(grid.model()->headerData(3, Qt::Vertical).toString(), QStringLiteral(" 4"));
}

TEST_F(StringGridTest, BytesAreShownAndTypedThroughTheCodePage)
{
    grid.setCell(2, 1, "\xB9\xE6\xEA\xB3\x9C\x80");  // ąćęłś€ in Windows-1250
    EXPECT_EQ(grid.cellText(2, 1), QString::fromUtf8("ąćęłś€"));
    // A character the code page cannot hold is left out, never stored as "?".
    QString refused;
    grid.onRefusedText = [&](const QString& r) { refused = r; };
    grid.storeEditText(2, 2, QString::fromUtf8("Żółw 中"));
    EXPECT_EQ(grid.cell(2, 2), "\xAF\xF3\xB3w ");
    EXPECT_EQ(refused, QString::fromUtf8("中"));
}

TEST_F(StringGridTest, EveryMoveAsksTheSelectHook)
{
    std::vector<std::pair<int, int>> asked;
    grid.onSelectCell = [&](int c, int r) {
        asked.emplace_back(c, r);
        return c != 3;
    };
    ASSERT_TRUE(grid.setCurrentCell(2, 1));
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_Right);
    EXPECT_EQ(grid.col(), 2) << "a refused column stops the move";
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.row(), 2);
    QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid.col(), 5);
    EXPECT_EQ(grid.row(), 19);
    EXPECT_FALSE(grid.setCurrentCell(3, 4));
    EXPECT_FALSE(grid.setCurrentCell(2, 20)) << "beyond the rows";
    EXPECT_FALSE(grid.setCurrentCell(0, 4)) << "fixed column";
    const std::vector<std::pair<int, int>> expected = {{2, 1}, {3, 1}, {2, 2}, {5, 19}, {3, 4}};
    EXPECT_EQ(asked, expected);
}

TEST_F(StringGridTest, EditorStoresEachKeystrokeInTheCell)
{
    std::vector<std::string> seen;
    grid.onSetEditText = [&](int c, int r, const std::string& s) {
        EXPECT_EQ(c, 4);
        EXPECT_EQ(r, 3);
        seen.push_back(s);
    };
    grid.setEditingOption(true);
    grid.setAlwaysShowEditor(true);
    grid.setFocus();
    ASSERT_TRUE(grid.setCurrentCell(4, 3));
    QApplication::processEvents();
    ASSERT_TRUE(grid.isEditorOpen());
    QTest::keyClicks(grid.editor(), "abc");
    EXPECT_EQ(grid.cell(4, 3), "abc");
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "ab", "abc"}));
    grid.editor()->setSelection(0, 2);
    EXPECT_EQ(grid.editorRemainingLength(), 1);
    QTest::keyClick(grid.editor(), Qt::Key_Home);
    QTest::keyClicks(grid.editor(), "x");
    EXPECT_EQ(grid.cell(4, 3), "xabc") << "the caret stays where the user put it";
    QTest::keyClick(grid.editor(), Qt::Key_Down);
    EXPECT_EQ(grid.row(), 4);
    EXPECT_EQ(grid.cell(4, 3), "xabc");
}

TEST_F(StringGridTest, CellRectAndCellAtAgree)
{
    grid.setColWidth(0, 60);
    grid.setColWidth(2, 120);
    QApplication::processEvents();
    for (auto [c, r] : {std::pair{0, 0}, {2, 0}, {0, 3}, {2, 3}, {4, 5}}) {
        const QRect rect = grid.cellRect(c, r);
        ASSERT_FALSE(rect.isEmpty()) << c << "," << r;
        int hc = -1, hr = -1;
        EXPECT_TRUE(grid.cellAt(rect.center(), hc, hr));
        EXPECT_EQ(hc, c);
        EXPECT_EQ(hr, r);
    }
    EXPECT_EQ(grid.cellRect(2, 3).width(), 120);
    EXPECT_EQ(grid.cellRect(0, 3).width(), 60);
    int hc = 0, hr = 0;
    EXPECT_FALSE(grid.cellAt(QPoint(-5, 10), hc, hr));
    EXPECT_EQ(hc, -1);
    EXPECT_EQ(hr, -1);
}

TEST_F(StringGridTest, ChangesMadeWhilePaintingOnlyQueueARepaint)
{
    int rewrites = 0;
    grid.onDrawCell = [&](QPainter&, int c, int r, const QRect&, const DrawState&) {
        if (c == 2 && r == 1 && grid.cell(2, 1) != "fixed") {
            grid.cells().setCell(2, 1, "fixed");
            ++rewrites;
        }
    };
    grid.setCell(2, 1, "typed");
    for (int i = 0; i < 5; ++i) {
        grid.viewport()->repaint();
        QApplication::processEvents();
    }
    EXPECT_EQ(grid.cell(2, 1), "fixed");
    EXPECT_EQ(rewrites, 1);
}

}  // namespace
}  // namespace tov::test
