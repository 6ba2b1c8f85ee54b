// The translator's way through the rows, by keys and menus: undo and redo,
// the rows that need work, the filter, the status bar, replace, the menus'
// letters, the length columns and the marks of the text checks.
#include <QMenuBar>
#include <QToolTip>
#include <filesystem>

#include "tests/workspace/table_fixture.h"

namespace tov::test {
namespace {

class Workflow : public TableTest {
protected:
    // A resource-string table: row 2 missing, row 4 too long, row 5 with a
    // conversion lost, the others translated as stored.
    void startWithTable()
    {
        start();
        fill(kKonfix, {
                          {"Open file", "Otw", "Otw"},
                          {"Close", "", ""},
                          {"Save file", "Zapisz", "Zapisz"},
                          {"Exit", "Zako\xF1" "czenie", "Zako\xF1" "czenie"},
                          {"%d files", "plik\xF3w", "plik\xF3w"},
                          {"Help text", "Pomoc", "Pomoc"},
                      });
    }
    std::vector<int> shownRows()
    {
        std::vector<int> rows;
        for (int r = 1; r < grid().rowCount(); ++r) rows.push_back(std::stoi(cell(tcol::kNumber, r)));
        return rows;
    }
    int documentRow() { return form1->currentEntry() + 1; }
};

TEST_F(Workflow, TypingUndoRedoAndSaveMarkTheStackAndTheSaveQuestion)
{
    startWithTable();
    EXPECT_FALSE(form1->Undo1->isEnabled());
    EXPECT_FALSE(form1->Redo1->isEnabled());
    click(tcol::kDest, 2);
    type("Zamknij");
    key(Qt::Key_Z, Qt::ControlModifier);  // from the open editor
    EXPECT_EQ(doc().entry(1).dest, "");
    EXPECT_EQ(grid().editor()->text(), QString());
    EXPECT_FALSE(form1->Undo1->isEnabled());
    EXPECT_TRUE(form1->Redo1->isEnabled());
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(doc().entry(1).dest, "Zamknij");
    key(Qt::Key_Z, Qt::ControlModifier);
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(doc().entry(1).dest, "Zamknij");

    // Saved: the stack is clean; one undo and the save question asks; the
    // redo back to the saved state and it does not.
    form1->destFile = folder + "dest/Konfix_pl.drc";
    prompts.choose(path("out.drc"));
    ASSERT_TRUE(form1->SaveDestination());
    EXPECT_TRUE(form1->undoStack().isClean());
    form1->Undo1->trigger();
    EXPECT_TRUE(form1->edited());
    form1->Redo1->trigger();
    const std::size_t asked = prompts.messages().size();
    EXPECT_TRUE(form1->SaveDestPrompt());
    EXPECT_EQ(prompts.messages().size(), asked) << "no save question at the saved state";
}

TEST_F(Workflow, NextAndPreviousRowThatNeedsWorkGoRoundWithANote)
{
    startWithTable();
    struct Step {
        Qt::KeyboardModifiers mods;
        int row;     // document row reached
        bool note;   // the status bar says it went round
    };
    const Step steps[] = {
        {Qt::NoModifier, 2, false},     // missing
        {Qt::NoModifier, 4, false},     // too long
        {Qt::NoModifier, 5, false},     // "%d" lost
        {Qt::NoModifier, 2, true},      // round to the top
        {Qt::ShiftModifier, 5, true},   // back round to the bottom
        {Qt::ShiftModifier, 4, false},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.row);
        form1->StatusBar1->clearMessage();
        key(Qt::Key_F8, s.mods);
        EXPECT_EQ(documentRow(), s.row);
        EXPECT_EQ(grid().col(), tcol::kDest);
        EXPECT_EQ(form1->StatusBar1->currentMessage().startsWith("Went on"), s.note);
    }
    // Translated, the row is passed over.
    grid().editor()->selectAll();
    type("Koniec");
    key(Qt::Key_F8);
    EXPECT_EQ(documentRow(), 5);
}

TEST_F(Workflow, TheFilterShowsTheRowsThatNeedWorkAndEditsAndSavesAsUsual)
{
    startWithTable();
    click(tcol::kDest, 3);
    form1->Showtodo1->trigger();
    settle();
    EXPECT_TRUE(form1->Showtodo1->isChecked());
    EXPECT_EQ(shownRows(), (std::vector<int>{2, 4, 5}));
    EXPECT_EQ(documentRow(), 4) << "the row below the current one that is shown";
    EXPECT_EQ(doc().size(), 6);
    // Edited rows stay in sight; the text goes to its own row.
    grid().editor()->selectAll();
    type("Koniec");
    EXPECT_EQ(doc().entry(3).dest, "Koniec");
    EXPECT_EQ(shownRows(), (std::vector<int>{2, 4, 5}));
    // Copying the base text goes to the next row shown.
    grid().setCurrentCell(tcol::kBase, 1);
    key(Qt::Key_Shift, Qt::ControlModifier);
    EXPECT_EQ(doc().entry(1).dest, "Close");
    EXPECT_EQ(documentRow(), 4);
    form1->destFile = folder + "x.drc";
    prompts.choose(path("filtered.drc"));
    ASSERT_TRUE(form1->SaveDestination());
    EXPECT_NE(readFile("filtered.drc").find("Koniec"), std::string::npos);
    EXPECT_NE(readFile("filtered.drc").find("Pomoc"), std::string::npos) << "hidden rows are saved too";
    // Off: every row again, the current one kept.
    form1->Showtodo1->trigger();
    settle();
    EXPECT_EQ(shownRows(), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(documentRow(), 4);
}

TEST_F(Workflow, StatusBarCountsAsTheTranslatorTypes)
{
    startWithTable();
    WorkStatus& status = *form1->StatusBar1;
    auto texts = [&] {
        return QStringList{status.Rows->text(),    status.Translated->text(),   status.Missing->text(),
                           status.Length->text(),  status.Changed->text(),      status.FormatErrors->text()};
    };
    EXPECT_EQ(texts(), (QStringList{"Rows: 6", "Translated: 5", "Missing: 1", "Too long: 1", "Changed: 0",
                                    "Format errors: 1"}));
    click(tcol::kDest, 5);
    type(" %d");
    click(tcol::kDest, 2);
    type("Zamknij");
    EXPECT_EQ(texts(), (QStringList{"Rows: 6", "Translated: 6", "Missing: 0", "Too long: 2", "Changed: 2",
                                    "Format errors: 0"}));
    status.setExtraCount("Misspelled", 3);
    EXPECT_NE(status.findChild<QLabel*>("StatusExtra"), nullptr);
    EXPECT_EQ(status.findChild<QLabel*>("StatusExtra")->text(), QStringLiteral("Misspelled: 3"));
    fill(kOrvanta, {{"Mode", "Tr", "Tr"}});
    EXPECT_EQ(status.Length->text(), QStringLiteral("Wrong length: 0"));
}

TEST_F(Workflow, ReplaceAllIsOneStepUnderTheCaseRule)
{
    start();
    fill(kKonfix, {{"a", "Plik pliku", "Plik pliku"}, {"b", "PLIK", "PLIK"}, {"c", "inny", "inny"}});
    form1->Replace1->trigger();
    settle();
    ASSERT_TRUE(form3->isVisible());
    EXPECT_EQ(form3->windowTitle(), QStringLiteral("Replace"));
    EXPECT_TRUE(form3->RadioButton2->isChecked());
    form3->ComboBox1->setEditText("plik");
    form3->ComboBox2->setEditText("dok");
    form3->CheckBox1->setChecked(true);
    form3->BitBtn4->click();
    EXPECT_EQ(doc().entry(0).dest, "Plik doku");
    EXPECT_EQ(doc().entry(1).dest, "PLIK");
    form1->Undo1->trigger();
    EXPECT_EQ(doc().entry(0).dest, "Plik pliku");
    form3->CheckBox1->setChecked(false);
    form3->BitBtn4->click();
    EXPECT_EQ(doc().entry(0).dest, "dok doku");
    EXPECT_EQ(doc().entry(1).dest, "dok");
    EXPECT_EQ(form1->StatusBar1->currentMessage(), QStringLiteral("Replaced 3 times in 2 rows"));
    form1->Undo1->trigger();
    EXPECT_EQ(doc().entry(0).dest, "Plik pliku");
    EXPECT_EQ(doc().entry(1).dest, "PLIK");
    EXPECT_FALSE(form1->edited());
    // Replace: finds the first row, then replaces in it and finds the next.
    grid().setCurrentCell(tcol::kBase, 3);
    form3->BitBtn3->click();
    EXPECT_EQ(documentRow(), 1);
    form3->BitBtn3->click();
    EXPECT_EQ(doc().entry(0).dest, "dok doku");
    EXPECT_EQ(documentRow(), 2);
    // Find alone shows the dialog without its replace row.
    form1->Inbase1->trigger();
    EXPECT_EQ(form3->windowTitle(), QStringLiteral("Find"));
    EXPECT_FALSE(form3->BitBtn4->isVisible());
}

TEST_F(Workflow, AltAndTheUnderlinedLetterOpenTheMenus)
{
    startWithTable();
    click(tcol::kDest, 3);  // the editor open, as while translating
    const std::pair<Qt::Key, QMenu*> menus[] = {
        {Qt::Key_F, form1->File1}, {Qt::Key_E, form1->Edit1}, {Qt::Key_S, form1->Search1},
        {Qt::Key_O, form1->Font1}, {Qt::Key_H, form1->Help1}};
    for (const auto& [letter, menu] : menus) {
        SCOPED_TRACE(menu->title().toStdString());
        QTest::keyClick(keyTarget(), letter, Qt::AltModifier);
        settle();
        EXPECT_TRUE(menu->isVisible());
        EXPECT_EQ(doc().entry(2).dest, "Zapisz") << "the letter was not typed into the cell";
        menu->close();
        settle();
    }
}

TEST_F(Workflow, LengthColumnsWidenToTheirWidestNumberAndFormatErrorsAreMarked)
{
    start();
    fill(kKonfix, {{std::string(141, 'b'), "Dzie\xF1 %s", ""}, {"Day %d", "Dzie\xF1", "Dzie\xF1"}});
    const QFontMetrics metrics(form1->numberFont.font());
    EXPECT_GE(grid().colWidth(tcol::kBaseLen), metrics.horizontalAdvance(" 141") + 2);
    EXPECT_EQ(grid().colWidth(tcol::kDestLen), 30);
    click(tcol::kDest, 2);
    type(std::string(120, 'x').c_str());
    EXPECT_GE(grid().colWidth(tcol::kDestLen), metrics.horizontalAdvance(" 125") + 2);

    // Row 2 lacks "%d" (row 1's base has no conversion): the corner of its
    // length cell is marked, and the hint says what differs.
    key(Qt::Key_Escape);
    const QImage image = shot();
    const QRect len2 = painted(tcol::kDestLen, 2);
    EXPECT_EQ(image.pixel(len2.right() - 1, len2.top() + 1), qRgb(208, 0, 0));
    const QRect len1 = painted(tcol::kDestLen, 1);
    EXPECT_NE(image.pixel(len1.right() - 1, len1.top() + 1), qRgb(208, 0, 0));
    form1->SG1MouseMove(grid().cellRect(tcol::kDestLen, 2).center());
    EXPECT_TRUE(grid().hint().startsWith("error: format:")) << grid().hint().toStdString();
    EXPECT_TRUE(grid().showHint());
}

TEST_F(Workflow, FindMovesOffTheRowItFoundAndTheFontDialogStartsAtTheFontDrawn)
{
    start();
    std::vector<Row> rows(40, Row{"other", "x", "x"});
    rows[19] = {"needle", "y", "y"};
    fill(kKonfix, rows);
    form1->Inbase1->trigger();
    settle();
    form3->ComboBox1->setEditText("needle");
    form3->BitBtn1->click();
    settle();
    ASSERT_EQ(grid().row(), 20);
    const QRect found = grid().cellRect(tcol::kBase, 20);
    EXPECT_FALSE(form3->frameGeometry().intersects(QRect(grid().mapToGlobal(found.topLeft()), found.size())));

    // "Courier New" is drawn in another family here: the dialog offers that
    // one, and OK without a change keeps the stored name.
    form1->baseFont.record.name = "Courier New";
    const QString drawn = QFontInfo(form1->baseFont.font()).family();
    QFont unchanged(drawn);
    unchanged.setPixelSize(15);
    prompts.pickFont(unchanged);
    form1->Basefont1->trigger();
    EXPECT_EQ(prompts.ofKind(Request::Font).back().text, drawn);
    EXPECT_EQ(form1->baseFont.record.name, "Courier New");
}

TEST_F(Workflow, ThePreviewOfTheFirstRowStaysInsideTheWindow)
{
    start();
    fill(kKonfix, {{"first\\nsecond\\nthird\\nfourth", "", ""}});
    click(tcol::kBase, 1);
    settle();
    ASSERT_TRUE(form1->Memo1->isVisible());
    EXPECT_EQ(form1->Memo1->height(), 4 * (QFontMetrics(grid().font()).height() + 3));
    EXPECT_GE(form1->Memo1->y(), 0);
    EXPECT_FALSE(form1->Memo1->geometry().intersects(
        QRect(grid().mapTo(form1->centralWidget(), grid().cellRect(tcol::kBase, 1).topLeft()),
              grid().cellRect(tcol::kBase, 1).size())));
}

TEST_F(Workflow, OnTheDemoF8FindsTheFirstMissingRowAndTheFilterShowsTheRowsToDo)
{
    std::filesystem::copy(TOVRANA_DEMO_SOURCE_DIR, folder, std::filesystem::copy_options::recursive);
    start();
    ASSERT_GT(doc().size(), 10);
    EXPECT_EQ(doc().checkOptions(), checks::forKind(kKonfix)) << "the restored file is checked as its kind";
    int firstMissing = 0;
    std::vector<int> toDo;
    for (int i = 0; i < doc().size(); ++i) {
        const Entry& e = doc().entry(i);
        if (e.dest.empty() && !firstMissing) firstMissing = i + 1;
        // Missing, too long, or a text check's error (nothing is changed yet).
        const bool error = std::any_of(doc().findings(i).begin(), doc().findings(i).end(),
                                       [](const checks::Finding& f) { return f.severity == checks::Severity::Error; });
        if (e.dest.empty() || e.dest.size() > e.base.size() || error) toDo.push_back(i + 1);
    }
    // F8 from row 1 stops at every such row in turn, the first missing one
    // among them ("Gotowy" for "Ready" is too long before it).
    ASSERT_GT(firstMissing, 1);
    ASSERT_NE(toDo.front(), 1);
    grid().setCurrentCell(tcol::kBase, 1);
    std::vector<int> visited;
    for (std::size_t i = 0; i < toDo.size(); ++i) {
        key(Qt::Key_F8);
        visited.push_back(documentRow());
    }
    EXPECT_EQ(visited, toDo);
    EXPECT_NE(std::find(visited.begin(), visited.end(), firstMissing), visited.end());
    form1->Showtodo1->trigger();
    settle();
    EXPECT_EQ(shownRows(), toDo);
}

}  // namespace
}  // namespace tov::test
