#include <QDir>
#include <QHelpEvent>
#include <QClipboard>
#include <QPlainTextEdit>
#include <filesystem>
#include <functional>

#include "tests/workspace/table_fixture.h"

namespace tov::test {
namespace {

using Edit = TableTest;

std::vector<Row> rows(int n)
{
    std::vector<Row> out;
    for (int i = 1; i <= n; ++i) out.push_back({"base " + std::to_string(i), "dest " + std::to_string(i), ""});
    return out;
}

TEST_F(Edit, OnlyTheLengthAndTextColumnsOfTheBaseAndTheDestinationCanBeCurrent)
{
    start();
    fill(kKonfix, rows(4));
    ASSERT_TRUE(grid().setCurrentCell(tcol::kBase, 2));
    narrowTextColumns();
    for (int c : {tcol::kDestLen, tcol::kComment, 6, 7, 8}) {
        SCOPED_TRACE("column " + std::to_string(c));
        click(c, 3);
        EXPECT_EQ(grid().col(), tcol::kBase);
        EXPECT_EQ(grid().row(), 2);
        EXPECT_FALSE(grid().setCurrentCell(c, 3));
    }
    // The row numbers are the grid's fixed column.
    QWidget* numbers = grid().verticalHeader()->viewport();
    const QRect numberCell = grid().cellRect(tcol::kNumber, 3);
    QTest::mouseClick(numbers, Qt::LeftButton, Qt::NoModifier, numbers->mapFrom(&grid(), numberCell.center()));
    settle();
    EXPECT_EQ(grid().col(), tcol::kBase);
    EXPECT_EQ(grid().row(), 2);
    for (int c : {tcol::kBaseLen, tcol::kBase, tcol::kDest}) {
        click(c, 3);
        EXPECT_EQ(grid().col(), c);
        EXPECT_EQ(grid().row(), 3);
    }
    // Left from the base text reaches its length; Right from the base text
    // jumps over the destination length.
    ASSERT_TRUE(grid().setCurrentCell(tcol::kBase, 2));
    key(Qt::Key_Left);
    EXPECT_EQ(grid().col(), tcol::kBaseLen);
    key(Qt::Key_Right);
    EXPECT_EQ(grid().col(), tcol::kBase);
    key(Qt::Key_Right);
    EXPECT_EQ(grid().col(), tcol::kDest);
    EXPECT_EQ(grid().row(), 2);
    // In the destination, Right moves the caret and the cell stays.
    key(Qt::Key_Right);
    EXPECT_EQ(grid().col(), tcol::kDest);
}

TEST_F(Edit, TheDestinationEditorOpensAtOnceTheBaseEditorOnRequest)
{
    start();
    fill(kKonfix, rows(4));
    click(tcol::kDest, 2);
    ASSERT_TRUE(grid().isEditorOpen());
    EXPECT_EQ(grid().editor()->text(), QStringLiteral("dest 2"));
    EXPECT_EQ(QApplication::focusWidget(), grid().editor());

    click(tcol::kBase, 2);
    EXPECT_FALSE(grid().isEditorOpen());
    key(Qt::Key_F2);
    EXPECT_TRUE(grid().isEditorOpen());
    key(Qt::Key_Escape);
    EXPECT_FALSE(grid().isEditorOpen());
    key(Qt::Key_Return);
    EXPECT_TRUE(grid().isEditorOpen());
    key(Qt::Key_Escape);

    click(tcol::kBaseLen, 2);
    key(Qt::Key_F2);
    type("7");
    EXPECT_FALSE(grid().isEditorOpen());
    EXPECT_EQ(cell(tcol::kBaseLen, 2), " 6");

    // While a search moves the current row the destination editor stays closed.
    grid().setTag(85);
    ASSERT_TRUE(grid().setCurrentCell(tcol::kDest, 3));
    grid().setTag(0);
    settle();
    EXPECT_FALSE(grid().isEditorOpen());
    type("x");
    EXPECT_EQ(cell(tcol::kDest, 3), "dest 3");
}

TEST_F(Edit, SelectingAColumnGivesTheGridItsFont)
{
    start();
    QFont base(QStringLiteral("Liberation Sans"));
    base.setPixelSize(19);
    prompts.pickFont(base);
    form1->Basefont1Click();
    QFont dest(QStringLiteral("Liberation Serif"));
    dest.setPixelSize(17);
    prompts.pickFont(dest);
    form1->Destfont1Click();
    fill(kKonfix, {{"x", "y", ""}});

    struct Case {
        int col;
        QString family;
        int pixels;
    };
    const Case cases[] = {{tcol::kBase, "Liberation Sans", 19},
                          {tcol::kDest, "Liberation Serif", 17},
                          {tcol::kBaseLen, "Courier New", 15}};
    for (const Case& c : cases) {
        ASSERT_TRUE(grid().setCurrentCell(c.col, 1));
        EXPECT_EQ(grid().font().family(), c.family);
        EXPECT_EQ(grid().font().pixelSize(), c.pixels);
        if (grid().isEditorOpen()) {
            EXPECT_EQ(grid().editor()->font().family(), c.family);
        }
    }
}

TEST_F(Edit, LengthCellsFollowEveryKeystrokeAndTypingIsOneUndoStep)
{
    start();
    for (std::uint8_t kind : {kKonfix, kCArrays, kMenuIni}) {
        SCOPED_TRACE(std::to_string(kind));
        fill(kind, {{"Open", "", ""}, {"Close", "", ""}});
        click(tcol::kDest, 1);
        std::vector<std::string> seen;
        for (const char* ch : {"a", "b", "c"}) {
            type(ch);
            seen.push_back(cell(tcol::kDestLen, 1));
        }
        EXPECT_EQ(cell(tcol::kDest, 1), "abc");
        // The menu INI mode has no lengths.
        if (kind == kMenuIni)
            EXPECT_EQ(seen, std::vector<std::string>(3));
        else
            EXPECT_EQ(seen, (std::vector<std::string>{" 1", " 2", " 3"}));
        key(Qt::Key_Backspace);
        EXPECT_EQ(cell(tcol::kDestLen, 1), kind == kMenuIni ? "" : " 2");
        EXPECT_TRUE(form1->edited());
        EXPECT_EQ(form1->undoStack().count(), 1);
        form1->undoStack().undo();
        settle();
        EXPECT_EQ(cell(tcol::kDest, 1), "");
        EXPECT_EQ(grid().editor()->text(), QString());
        EXPECT_FALSE(form1->edited());
    }
}

TEST_F(Edit, FirmwareDestinationsCannotBeTypedLongerThanTheirBase)
{
    start();
    fill(kQL5, {{"ABCDEFGH", "abcdefgh", ""}, {"AB", "", ""}, {"Save file           ", "", ""}});
    click(tcol::kDest, 1);
    QLineEdit* ed = grid().editor();
    ASSERT_NE(ed, nullptr);

    // Nothing selected: refused.
    ed->setCursorPosition(3);
    type("X");
    EXPECT_EQ(cell(tcol::kDest, 1), "abcdefgh");
    // Three characters selected: the letter replaces them; the editor keeps
    // what was typed and the row holds it at the base length.
    ed->setSelection(2, 3);
    type("X");
    EXPECT_EQ(ed->text(), QStringLiteral("abXfgh"));
    EXPECT_EQ(cell(tcol::kDest, 1), "abXfgh  ");
    EXPECT_EQ(ed->cursorPosition(), 3);
    // Editing keys always pass.
    ed->setCursorPosition(6);
    key(Qt::Key_Backspace);
    key(Qt::Key_Home);
    key(Qt::Key_Delete);
    EXPECT_EQ(cell(tcol::kDest, 1), "bXfg    ");

    // A whole word fits into a 20-character text, blanks between words
    // included, and the 21st character is refused.
    click(tcol::kDest, 3);
    ASSERT_EQ(grid().editor()->text(), QString());
    type("Zapis pliku");
    EXPECT_EQ(grid().editor()->text(), QStringLiteral("Zapis pliku"));
    EXPECT_EQ(cell(tcol::kDest, 3), "Zapis pliku" + std::string(9, ' '));
    type("123456789");
    type("X");
    EXPECT_EQ(cell(tcol::kDest, 3), "Zapis pliku123456789");
    EXPECT_EQ(cell(tcol::kDestLen, 3), " 20");

    // Outside the firmware kinds there is no limit.
    fill(kKonfix, {{"AB", "ab", ""}});
    click(tcol::kDest, 1);
    grid().editor()->end(false);
    type("cde");
    EXPECT_EQ(cell(tcol::kDest, 1), "abcde");
}

// The demo's Orvanta set, as a translator meets it: a whole word typed into a
// 20-character text through the cell editor.
TEST_F(Edit, AWordTypedIntoAFirmwareTextKeepsItsLettersAndTheTextItsLength)
{
    std::filesystem::copy(TOVRANA_DEMO_SOURCE_DIR, folder, std::filesystem::copy_options::recursive);
    std::filesystem::remove(ini);  // no restore of the demo's last files
    start();
    prompts.choose(path("ORVANTA/ENG/EDIT.ENG"));
    form1->Orvantafirmware1Click();
    prompts.choose(path("ORVANTA/POL/EDIT.POL"));
    form1->OpenDest1Click();
    ASSERT_EQ(cell(tcol::kBase, 4), "Can't save value    ");
    click(tcol::kDest, 4);
    ASSERT_TRUE(grid().isEditorOpen());
    EXPECT_EQ(grid().editor()->text(), decodeBytes("Nie mo\xBFna zapisa\xE6"));

    key(Qt::Key_A, Qt::ControlModifier);
    type("Zapis");
    EXPECT_EQ(grid().editor()->text(), QStringLiteral("Zapis"));
    EXPECT_EQ(cell(tcol::kDest, 4), "Zapis" + std::string(15, ' '));
    EXPECT_EQ(cell(tcol::kDestLen, 4), " 20");
    // Up to the base's 20 characters; the 21st is refused.
    type("0123456789ABCDE");
    type("F");
    EXPECT_EQ(grid().editor()->text(), QStringLiteral("Zapis0123456789ABCDE"));
    EXPECT_EQ(cell(tcol::kDest, 4), "Zapis0123456789ABCDE");

    QDir().mkpath(path("ORVANTA/OUT"));
    prompts.choose(path("ORVANTA/OUT/EDIT.CZE"));
    form1->Savedest1Click();
    EXPECT_NE(readFile("ORVANTA/OUT/EDIT.CZE").find("EDIT_NOSAVE   DB  'Zapis0123456789ABCDE',0"), std::string::npos);
    EXPECT_FALSE(form1->edited());
}

// A character the code page cannot hold is not typed (never a "?" in its
// place): the cell and the editor keep the rest, with a beep and a status line.
TEST_F(Edit, CharactersOutsideTheCodePageAreRefusedWithASign)
{
    start();
    fill(kKonfix, {{"base", "ab", ""}});
    click(tcol::kDest, 1);
    QLineEdit* ed = grid().editor();
    ASSERT_NE(ed, nullptr);
    ed->setCursorPosition(1);
    const QString enye = QString::fromUtf8("\xC3\xB1"), zhe = QString::fromUtf8("\xD0\x96");
    const QString aOgonek = QString::fromUtf8("\xC4\x85");  // in the code page: byte 0xB9
    // A key of a keyboard layout that writes the character.
    auto typeChar = [&](const QString& ch) {
        QTest::sendKeyEvent(QTest::Click, keyTarget(), Qt::Key_unknown, ch, Qt::NoModifier);
    };
    struct Step {
        const char* name;
        std::function<void()> input;
        std::string cell;
        int caret;
        QString status;  // empty: unchanged
    };
    const Step steps[] = {
        {"typed", [&] { typeChar(enye); }, "ab", 1,
         "Not typed: " + enye + " (not in the code page Windows-1250)"},
        {"typed over a selection, which stays",
         [&] {
             ed->selectAll();
             typeChar(zhe);
             ed->setCursorPosition(1);
         },
         "ab", 1, "Not typed: " + zhe + " (not in the code page Windows-1250)"},
        {"typed, in the code page", [&] { typeChar(aOgonek); }, "a\xB9" "b", 2, ""},
        {"pasted among others",
         [&] {
             QApplication::clipboard()->setText("x" + zhe + "y" + zhe);
             key(Qt::Key_V, Qt::ControlModifier);
         },
         "a\xB9xyb", 4, "Not typed: " + zhe + " (not in the code page Windows-1250)"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        form1->Label2->clear();
        s.input();
        settle();
        EXPECT_EQ(cell(tcol::kDest, 1), s.cell);
        EXPECT_EQ(ed->text(), decodeBytes(s.cell));
        EXPECT_EQ(ed->cursorPosition(), s.caret);
        EXPECT_EQ(form1->Label2->text(), s.status);
    }
}

TEST_F(Edit, CtrlEndGoesToTheLastRowInTheSameColumn)
{
    start();
    fill(kKonfix, rows(20));
    ASSERT_TRUE(grid().setCurrentCell(tcol::kBase, 3));
    key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid().row(), 20);
    EXPECT_EQ(grid().col(), tcol::kBase);

    // From an open destination editor too; the editor opens on the last row.
    ASSERT_TRUE(grid().setCurrentCell(tcol::kDest, 2));
    key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid().row(), 20);
    EXPECT_EQ(grid().col(), tcol::kDest);
    ASSERT_TRUE(grid().isEditorOpen());
    EXPECT_EQ(grid().editor()->text(), QStringLiteral("dest 20"));
}

TEST_F(Edit, ShiftWithCtrlHeldCopiesTheBaseTextDownTheRows)
{
    start();
    fill(kKonfix, rows(7));
    ASSERT_TRUE(grid().setCurrentCell(tcol::kBase, 5));
    QTest::keyPress(keyTarget(), Qt::Key_Shift, Qt::ControlModifier);
    settle();
    EXPECT_EQ(cell(tcol::kDest, 5), "base 5");
    EXPECT_EQ(grid().row(), 6);
    EXPECT_EQ(grid().col(), tcol::kBase);
    EXPECT_EQ(cell(tcol::kDestLen, 5), " 6");

    // A held key repeats: one row per key-down.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Shift, Qt::ControlModifier | Qt::ShiftModifier, QString(), true);
    QApplication::sendEvent(keyTarget(), &repeat);
    settle();
    EXPECT_EQ(cell(tcol::kDest, 6), "base 6");
    EXPECT_EQ(grid().row(), 7);
    // On the last row it copies and stays.
    QApplication::sendEvent(keyTarget(), &repeat);
    settle();
    EXPECT_EQ(cell(tcol::kDest, 7), "base 7");
    EXPECT_EQ(grid().row(), 7);
    EXPECT_EQ(cell(tcol::kDest, 4), "dest 4");
    // Each copy is a step of its own.
    EXPECT_EQ(form1->undoStack().count(), 3);
    form1->undoStack().undo();
    EXPECT_EQ(doc().entry(6).dest, "dest 7");

    // With the base text being edited it copies one row too, not two.
    ASSERT_TRUE(grid().setCurrentCell(tcol::kBase, 1));
    key(Qt::Key_F2);
    ASSERT_TRUE(grid().isEditorOpen());
    QTest::keyPress(keyTarget(), Qt::Key_Shift, Qt::ControlModifier);
    settle();
    EXPECT_EQ(cell(tcol::kDest, 1), "base 1");
    EXPECT_EQ(cell(tcol::kDest, 2), "dest 2");
    EXPECT_EQ(grid().row(), 2);

    // Shift alone, or in the destination column, copies nothing.
    ASSERT_TRUE(grid().setCurrentCell(tcol::kBase, 2));
    QTest::keyPress(keyTarget(), Qt::Key_Shift);
    settle();
    ASSERT_TRUE(grid().setCurrentCell(tcol::kDest, 3));
    QTest::keyPress(keyTarget(), Qt::Key_Shift, Qt::ControlModifier);
    settle();
    EXPECT_EQ(cell(tcol::kDest, 2), "dest 2");
    EXPECT_EQ(cell(tcol::kDest, 3), "dest 3");
    EXPECT_EQ(grid().row(), 3);
}

TEST_F(Edit, TheDestinationEditorMovesLikeASpreadsheet)
{
    start();
    fill(kKonfix, rows(5));
    click(tcol::kDest, 2);
    type("A");
    // Down and Up go to the next row and open the editor there.
    key(Qt::Key_Down);
    EXPECT_EQ(grid().row(), 3);
    ASSERT_TRUE(grid().isEditorOpen());
    EXPECT_EQ(QApplication::focusWidget(), grid().editor());
    type("B");
    key(Qt::Key_Up);
    EXPECT_EQ(grid().row(), 2);
    ASSERT_TRUE(grid().isEditorOpen());
    EXPECT_EQ(cell(tcol::kDest, 2), "A");
    EXPECT_EQ(cell(tcol::kDest, 3), "B");

    // Enter goes on to the row below; on the last row the editor stays.
    key(Qt::Key_Return);
    EXPECT_EQ(grid().row(), 3);
    EXPECT_TRUE(grid().isEditorOpen());
    ASSERT_TRUE(grid().setCurrentCell(tcol::kDest, 5));
    key(Qt::Key_Return);
    EXPECT_EQ(grid().row(), 5);
    ASSERT_TRUE(grid().isEditorOpen());
    type("C");
    EXPECT_EQ(cell(tcol::kDest, 5), "C");

    // Shift+Tab goes back to the base text, Tab forward again.
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(grid().col(), tcol::kBase);
    key(Qt::Key_Tab);
    EXPECT_EQ(grid().col(), tcol::kDest);
    ASSERT_TRUE(grid().isEditorOpen());
    key(Qt::Key_Tab);
    EXPECT_EQ(grid().col(), tcol::kDest);
    EXPECT_EQ(QApplication::focusWidget(), grid().editor());

    // Escape takes the edit back and keeps the editor.
    type("xyz");
    EXPECT_EQ(cell(tcol::kDestLen, 5), " 3");
    key(Qt::Key_Escape);
    EXPECT_EQ(cell(tcol::kDest, 5), "C");
    EXPECT_EQ(cell(tcol::kDestLen, 5), " 1");
    EXPECT_TRUE(grid().isEditorOpen());

    // A click on a cell that cannot be selected loses no keystroke.
    grid().editor()->end(false);
    click(tcol::kDestLen, 2);
    type("D");
    EXPECT_EQ(cell(tcol::kDest, 5), "CD");
    // A click on another destination moves the editor there.
    click(tcol::kDest, 1);
    ASSERT_TRUE(grid().isEditorOpen());
    type("E");
    EXPECT_EQ(cell(tcol::kDest, 1), "E");
}

TEST_F(Edit, HoveringOverABaseTextShowsItsIdentifierInTheResourceStringModes)
{
    start();
    auto hover = [&](int c, int r) {
        const QRect rect = grid().cellRect(c, r);
        QWidget* vp = grid().viewport();
        const QPoint at = vp->mapFrom(&grid(), rect.center());
        QMouseEvent move(QEvent::MouseMove, at, vp->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(vp, &move);
    };
    fill(kGenericDrc, rows(3));
    hover(tcol::kBase, 2);
    EXPECT_EQ(grid().hint(), QStringLiteral("ID_2"));
    EXPECT_TRUE(grid().showHint());
    hover(tcol::kDest, 2);
    EXPECT_EQ(grid().hint(), QString());
    EXPECT_FALSE(grid().showHint());
    hover(tcol::kBase, 3);

    // Other modes leave the hint as it was.
    for (std::uint8_t kind : {kOrvanta, kMenuIni, kCArrays}) {
        fill(kind, rows(3));
        hover(tcol::kBase, 1);
        EXPECT_EQ(grid().hint(), QStringLiteral("ID_3")) << int(kind);
    }
}

TEST_F(Edit, PreviewSplitsTextsAtTheirEscapePairs)
{
    start();
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> lines;
    };
    const std::string longText = std::string(300, 'a') + "\\n" + "b";
    const Case cases[] = {
        {"one pair in the middle", "first\\nsecond", {"first", "second"}},
        {"carriage return pair", "a\\rb", {"a", "b"}},
        {"both letters: an empty line between", "a\\r\\nb", {"a", "", "b"}},
        {"a trailing single backslash and no pair", "text\\", {}},
        {"no pair at all", "plain", {}},
        {"an escaped backslash before n", "a\\\\n", {"a\\", ""}},
        {"other escapes stay in the line", "tab\\there\\n", {"tab\\there", ""}},
        {"pair at the start", "\\nx", {"", "x"}},
        {"a pair beyond the first 256 characters is not reached", longText, {std::string(256, 'a')}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fill(kKonfix, {{c.text, "", ""}});
        ASSERT_TRUE(grid().setCurrentCell(tcol::kBase, 1));
        settle();
        EXPECT_EQ(form1->previewLines, c.lines);
        EXPECT_EQ(form1->Memo1->isVisible(), !c.lines.empty());
        if (!c.lines.empty()) {
            EXPECT_EQ(form1->Memo1->document()->blockCount(), static_cast<int>(c.lines.size()));
        }
    }
    // The destination previews too; the base length does not.
    fill(kKonfix, {{"x", "jeden\\ndwa", ""}});
    click(tcol::kDest, 1);
    EXPECT_EQ(form1->previewLines, (std::vector<std::string>{"jeden", "dwa"}));
    EXPECT_EQ(form1->Memo1->toPlainText(), QStringLiteral("jeden\ndwa"));
    // Typing changes the preview at the next idle moment.
    grid().editor()->end(false);
    type("\\n3");
    EXPECT_EQ(form1->previewLines, (std::vector<std::string>{"jeden", "dwa", "3"}));
    click(tcol::kBaseLen, 1);
    EXPECT_FALSE(form1->Memo1->isVisible());

    // A firmware text previews the comment of its line instead.
    std::vector<Entry> rows(2);
    rows[0].base = "Menu\\nA";
    rows[0].dest = "Tryb";
    rows[0].baseComment = "main menu title";
    rows[1].base = "Exit";
    form1->showRows(kOrvanta, rows);
    ASSERT_TRUE(grid().setCurrentCell(tcol::kBase, 1));
    settle();
    EXPECT_EQ(form1->previewLines, (std::vector<std::string>{"main menu title"}));
    EXPECT_TRUE(form1->Memo1->isVisible());
    // The destination reads a preview column of its own, which nothing fills.
    ASSERT_TRUE(grid().setCurrentCell(tcol::kDest, 1));
    settle();
    EXPECT_TRUE(form1->previewLines.empty());
    EXPECT_FALSE(form1->Memo1->isVisible());
    ASSERT_TRUE(grid().setCurrentCell(tcol::kBase, 2));
    settle();
    EXPECT_FALSE(form1->Memo1->isVisible());
}

TEST_F(Edit, PreviewSitsOnTheCellWithoutTakingTheFocusOrLeavingTheGrid)
{
    start();
    const std::string wide = "x\\n" + std::string(200, 'W');
    fill(kKonfix, {{"a", "", ""}, {"one\\ntwo\\nthree", wide, ""}, {"b", "", ""}});
    QPlainTextEdit* memo = form1->Memo1;
    ASSERT_TRUE(grid().setCurrentCell(tcol::kBase, 2));
    settle();
    ASSERT_TRUE(memo->isVisible());
    const QRect cell = grid().cellRect(tcol::kBase, 2).translated(grid().pos());
    const QFontMetrics fm(grid().font());
    EXPECT_EQ(memo->height(), 3 * (fm.height() + 3));
    EXPECT_EQ(memo->geometry().bottom() + 1, cell.top());
    EXPECT_EQ(memo->x(), cell.left() + 1);
    EXPECT_EQ(memo->width(), fm.horizontalAdvance(QStringLiteral("three")) + 50);
    EXPECT_EQ(memo->font(), grid().font());

    // Near the right edge it is narrowed to end with the grid.
    click(tcol::kDest, 2);
    ASSERT_TRUE(memo->isVisible());
    EXPECT_EQ(memo->geometry().right(), grid().geometry().right());
    EXPECT_EQ(QApplication::focusWidget(), grid().editor());

    // An unchanged preview is not set again.
    int sets = 0;
    QObject::connect(memo, &QPlainTextEdit::textChanged, memo, [&] { ++sets; });
    form1->AppIdle();
    form1->AppIdle();
    EXPECT_EQ(sets, 0);

    // Clicks go through it to the cells beneath.
    const QPoint inMemo = memo->geometry().center();
    QWidget* under = form1->centralWidget()->childAt(inMemo);
    EXPECT_NE(under, memo);
}

}  // namespace
}  // namespace tov::test
