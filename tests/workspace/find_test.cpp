// Search > Find and Search again: the Find dialog's controls, the order in
// which rows are tried, the case rule, and where the focus and the editor are
// left.
#include <QLineEdit>
#include <QtTest/QTest>

#include "formats/source_kind.h"
#include "tests/workspace/table_fixture.h"

namespace tov::test {
namespace {

class Find : public TableTest {
protected:
    // A resource-string table of four rows (texts in Windows-1250).
    void startWithTable()
    {
        start();
        fill(kKonfix, {
                          {"File open", "Otw\xF3rz plik", "Otw\xF3rz plik"},
                          {"File save", "ZAPISZ \xAF\xD3\xA3TY PLIK", ""},  // ŻÓŁTY
                          {"Exit", "", ""},
                          {"file close", "zamknij", "zamknij"},
                      });
    }
    // Into the search text, key by key (Polish letters included).
    void enter(const QString& text)
    {
        form3->ComboBox1->clearEditText();
        for (const QChar ch : text)
            QTest::sendKeyEvent(QTest::Click, form3->ComboBox1->lineEdit(), Qt::Key_unknown, QString(ch),
                                Qt::NoModifier);
    }
};

TEST_F(Find, DialogHasItsControlsAndStaysOnTop)
{
    start();
    struct Control {
        QWidget* widget;
        const char* caption;
        QRect geometry;
    };
    const Control controls[] = {
        {form3->Label1, "Find Text: ", {16, 12, 50, 13}},
        {form3->ComboBox1, "", {76, 8, 250, 21}},
        {form3->RadioButton1, "Base text", {4, 37, 113, 17}},
        {form3->RadioButton2, "Destination text", {129, 38, 113, 17}},
        // As wide as its caption needs at the dialog's font (97 pixels cut it).
        {form3->CheckBox1, "Case sensitive",
         {254, 36, std::max(97, form3->CheckBox1->sizeHint().width()), 17}},
        {form3->BitBtn1, "Find", {152, 64, 75, 25}},
        {form3->BitBtn2, "Close", {256, 64, 75, 25}},
    };
    for (const Control& c : controls) {
        EXPECT_EQ(c.widget->geometry(), c.geometry) << c.caption;
        QString caption;
        if (auto* label = qobject_cast<QLabel*>(c.widget)) caption = label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(c.widget)) caption = button->text();
        EXPECT_EQ(caption, QString::fromUtf8(c.caption));
    }
    EXPECT_EQ(form3->windowTitle(), QStringLiteral("Find"));
    EXPECT_TRUE(form3->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(form3->windowType(), Qt::Tool);
    EXPECT_EQ(form3->size(), QSize(std::max(343, form3->CheckBox1->geometry().right() + 5), 93));
    EXPECT_GT(form3->CheckBox1->sizeHint().width(), 97) << "the caption no longer needs more room";
    EXPECT_TRUE(form3->RadioButton1->isChecked());
    EXPECT_FALSE(form3->CheckBox1->isChecked());
    EXPECT_TRUE(form3->BitBtn1->isDefault());
    EXPECT_FALSE(form3->isVisible());

    // Ctrl+F shows it, the text box takes the focus and the font of the
    // column searched; Escape hides it with its settings kept.
    form1->destFont.record.height = -21;
    form1->Inbase1->trigger();
    settle();
    ASSERT_TRUE(form3->isVisible());
    EXPECT_EQ(form3->focusWidget(), form3->ComboBox1);
    EXPECT_EQ(form3->ComboBox1->font(), form1->baseFont.font());
    form3->RadioButton2->click();
    EXPECT_EQ(form3->ComboBox1->font().pixelSize(), 21);
    enter("abc");
    QTest::keyClick(form3->ComboBox1->lineEdit(), Qt::Key_Escape);
    EXPECT_FALSE(form3->isVisible());
    EXPECT_EQ(form3->ComboBox1->currentText(), QStringLiteral("abc"));
    EXPECT_EQ(form3->ComboBox1->count(), 0);  // no history
}

TEST_F(Find, RowsAreTriedBelowTheCurrentOneThenFromTheTop)
{
    struct Case {
        const char* name;
        int fromCol, fromRow;
        const char* text;  // UTF-8, as typed
        bool destination, caseSensitive;
        int col, row;  // where the current cell ends
    };
    const Case cases[] = {
        {"from the last row the search starts at row 1", tcol::kBase, 4, "File", false, false, tcol::kBase, 1},
        {"case sensitive skips other capitals", tcol::kBase, 1, "file", false, true, tcol::kBase, 4},
        {"without case sensitivity capitals match", tcol::kBase, 1, "FILE", false, false, tcol::kBase, 2},
        {"the current row comes after all others", tcol::kBase, 2, "File", false, true, tcol::kBase, 1},
        {"an only match in the current row is found again", tcol::kBase, 3, "Exit", false, false, tcol::kBase, 3},
        {"Polish lower case finds capitals", tcol::kBase, 1, "żółty", true, false, tcol::kDest, 2},
        {"Polish lower case with case sensitivity", tcol::kBase, 1, "żółty", true, true, tcol::kDest, 1},
        {"the column moves even without a match", tcol::kBase, 3, "nowhere", true, false, tcol::kDest, 3},
        {"an empty text only moves the column", tcol::kDest, 2, "", false, false, tcol::kBase, 2},
        {"a text no row holds", tcol::kBase, 2, "Needle", false, false, tcol::kBase, 2},
    };
    startWithTable();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(grid().setCurrentCell(c.fromCol, c.fromRow));
        (c.destination ? form3->RadioButton2 : form3->RadioButton1)->click();
        form3->CheckBox1->setChecked(c.caseSensitive);
        enter(QString::fromUtf8(c.text));
        form3->BitBtn1->click();
        settle();
        EXPECT_EQ(grid().col(), c.col);
        EXPECT_EQ(grid().row(), c.row);
        // A found destination cell does not open its editor; a mere change
        // to the destination column does, as any move there.
        const bool moved = c.row != c.fromRow || c.col != tcol::kDest;
        EXPECT_EQ(grid().isEditorOpen(), !moved);
        EXPECT_EQ(grid().tag(), 0);
    }
}

TEST_F(Find, SearchFromTheDialogKeepsTheFocusThere)
{
    startWithTable();
    click(tcol::kDest, 1);
    ASSERT_TRUE(grid().isEditorOpen());

    form1->Inbase1Click();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form3));
    form3->RadioButton2->click();
    enter(QStringLiteral("ZAMK"));
    QTest::keyClick(form3->ComboBox1->lineEdit(), Qt::Key_Return);  // "Find" is the default button
    settle();
    EXPECT_EQ(grid().row(), 4);
    EXPECT_FALSE(grid().isEditorOpen());
    EXPECT_TRUE(form3->isVisible());
    EXPECT_EQ(QApplication::activeWindow(), form3);
    EXPECT_EQ(QApplication::focusWidget(), form3->ComboBox1);
}

TEST_F(Find, SearchAgainRepeatsWithoutTheDialogOrOpensIt)
{
    startWithTable();
    // F3 with an empty text opens the dialog.
    form1->Searchagain1->trigger();
    settle();
    EXPECT_TRUE(form3->isVisible());
    EXPECT_EQ(grid().row(), 1);

    // With a text it searches on with the dialog's settings, hidden.
    enter(QStringLiteral("file"));
    form3->BitBtn2->click();
    EXPECT_FALSE(form3->isVisible());
    for (const int expected : {2, 4, 1}) {
        form1->Searchagain1->trigger();
        settle();
        EXPECT_EQ(grid().row(), expected);
        EXPECT_FALSE(form3->isVisible());
    }
}

}  // namespace
}  // namespace tov::test
