// Spell checking in the window with the tiny dictionaries of tests/data/spell
// (the test program points DICPATH at them): the dictionary of what is open,
// the underlined rows, the suggestion menu and its undo, Ignore, the
// personal word list, Next/Previous misspelled and the stored choices.
#include <QLabel>
#include <QLineEdit>
#include <QMenu>

#include "formats/source_kind.h"
#include "support/files.h"
#include "tests/workspace/workspace_fixture.h"
#include "workspace/spelling.h"

namespace tov::test {
namespace {

const std::string kHead = "/* test */\r\nSTRINGTABLE\r\nBEGIN\r\n";

// Destination rows: 2 and 4 hold a misspelled word ("plikk", "wirsz"); row 3
// holds only what is not checked.
const char* const kDest[] = {
    "Otw\xF3rz plik",
    "Zapisz plikk",
    "%s EDIT.POL np. \\n USB",
    "\x9Cwiat wirsz",
};

class SpellingWindow : public WorkspaceTest {
protected:
    void SetUp() override
    {
        WorkspaceTest::SetUp();
        std::string base = kHead, dest = kHead;
        for (std::size_t i = 0; i < std::size(kDest); ++i) {
            const std::string id = "S" + std::to_string(i + 1);
            base += id + ", \"text " + std::to_string(i + 1) + " of the base\"\r\n";
            dest += id + ", \"" + kDest[i] + "\"\r\n";
        }
        writeFile("base/Konfix_en.drc", base + "END\r\n");
        writeFile("dest/Konfix_pl.drc", dest + "END\r\n");
        open();
    }
    void TearDown() override
    {
        QDir::setCurrent(QDir::tempPath());
        WorkspaceTest::TearDown();
    }

    // A new window (as at the next start) with the Konfix pair open and the
    // pass over the table done.
    void open()
    {
        openFiles();
        settle();
        spelling().finishPass();
    }
    // The same with the dictionary chosen and still loading: what a load
    // hands over is taken only on a turn of the event loop.
    void openFiles()
    {
        form2.reset();
        form1.reset();
        start();
        prompts.choose(path("base/Konfix_en.drc"));
        form1->Konfix1Click();
        prompts.choose(path("dest/Konfix_pl.drc"));
        form1->OpenDest1Click();
        spelling().review();
    }
    Spelling& spelling() { return form1->spelling(); }
    std::string code()
    {
        spelling().waitForDictionary();
        const spell::Dictionary* d = spelling().dictionary();
        return d ? d->code : "none";
    }
    // The count of the status bar; empty when it is not shown.
    QString statusCount()
    {
        for (QLabel* l : form1->StatusBar1->findChildren<QLabel*>("StatusExtra"))
            if (l->text().startsWith("Misspelled")) return l->text();
        return {};
    }
    int misspelled()
    {
        spelling().finishPass();
        return spelling().misspelledRows();
    }

    // The point of the viewport over character `at` of row r's destination.
    QPoint over(int r, int at)
    {
        StringGrid& g = *form1->SG1;
        const QString shown = decodeBytes(doc().entry(r - 1).dest);
        const QFontMetrics fm(form1->destFont.font());
        const QRect cell = g.cellRect(tcol::kDest, r);
        const QPoint p(cell.left() + 2 + fm.horizontalAdvance(shown, at) + 2, cell.center().y());
        return g.viewport()->mapFrom(&g, p);
    }
    // The menu of a right click on character `at` of row r, and its entry `text`.
    std::unique_ptr<QMenu> menuAt(int r, int at) { return spelling().contextMenu(form1->SG1->viewport(), over(r, at)); }
    static QAction* entry(const std::unique_ptr<QMenu>& menu, const QString& text)
    {
        if (!menu) {
            ADD_FAILURE() << "no menu";
            return nullptr;
        }
        for (QAction* a : menu->actions())
            if (a->text() == text) return a;
        ADD_FAILURE() << "no entry " << text.toStdString();
        return nullptr;
    }
    // Red pixels of the wavy lines in the destination cell of row r.
    int redPixels(const QImage& image, int r)
    {
        const QRect cell = form1->SG1->cellRect(tcol::kDest, r);
        int n = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                n += c.red() > 150 && c.green() < 90 && c.blue() < 90;
            }
        return n;
    }
};

TEST_F(SpellingWindow, TheFileNameChoosesTheDictionaryAndMisspelledRowsAreUnderlined)
{
    EXPECT_EQ(code(), "pl_PL");
    EXPECT_EQ(misspelled(), 2);
    EXPECT_EQ(spelling().StatusLabel->text(), "pl_PL");
    EXPECT_EQ(statusCount(), "Misspelled: 2");
    form1->SG1->setCurrentCell(tcol::kBaseLen, 1);
    settle();
    const QImage image = form1->SG1->grab().toImage();
    const bool underlined[] = {false, true, false, true};
    for (int r = 1; r <= 4; ++r) EXPECT_EQ(redPixels(image, r) > 0, underlined[r - 1]) << "row " << r;

    // Turned off: nothing underlined, nothing counted, and so at the next start.
    spelling().Checkspelling1->trigger();
    EXPECT_EQ(Settings(ini).read("spelling", "check"), "0");
    EXPECT_EQ(spelling().dictionary(), nullptr);
    settle();
    EXPECT_EQ(redPixels(form1->SG1->grab().toImage(), 2), 0);
    open();
    EXPECT_FALSE(spelling().Checkspelling1->isChecked());
    EXPECT_EQ(misspelled(), 0);
    EXPECT_EQ(statusCount(), "");
    spelling().Checkspelling1->trigger();
    EXPECT_EQ(code(), "pl_PL");
    EXPECT_EQ(misspelled(), 2);
}

TEST_F(SpellingWindow, TheWindowAnswersWhileTheDictionaryLoadsAndDropsALoadNoLongerWanted)
{
    // Until the dictionary is there: nothing underlined or counted, and the
    // status bar and Next misspelled say why.
    openFiles();
    ASSERT_TRUE(spelling().loading());
    EXPECT_EQ(spelling().dictionary(), nullptr);
    EXPECT_EQ(spelling().StatusLabel->text(), "pl_PL loading\u2026");
    EXPECT_EQ(statusCount(), "");
    EXPECT_FALSE(spelling().goToMisspelled(1));
    EXPECT_EQ(form1->StatusBar1->currentMessage(), "Spelling: pl_PL loading\u2026");
    EXPECT_FALSE(menuAt(2, 8));
    EXPECT_EQ(code(), "pl_PL");
    EXPECT_EQ(spelling().StatusLabel->text(), "pl_PL");
    EXPECT_EQ(misspelled(), 2);
    EXPECT_EQ(statusCount(), "Misspelled: 2");

    // Another dictionary chosen during the load: its answers, never the
    // first one's.
    openFiles();
    spelling().chooseDictionary("de_DE");
    EXPECT_EQ(spelling().StatusLabel->text(), "de_DE loading\u2026");
    EXPECT_EQ(code(), "de_DE");
    EXPECT_EQ(misspelled(), 4);
    EXPECT_FALSE(spelling().loading());
    spelling().chooseDictionary({});

    // Spelling turned off, or the window closed, during a load.
    openFiles();
    spelling().setEnabled(false);
    EXPECT_EQ(spelling().StatusLabel->text(), "");
    spelling().setEnabled(true);
    openFiles();
    form2.reset();
    form1.reset();
    settle();
    open();
    EXPECT_EQ(code(), "pl_PL");
}

TEST_F(SpellingWindow, ASuggestionReplacesTheWordAsOneUndoableStep)
{
    auto menu = menuAt(2, 8);  // "Zapisz p|likk"
    ASSERT_TRUE(menu);
    EXPECT_FALSE(menuAt(2, 2)) << "a word spelled right has no menu";
    EXPECT_FALSE(menuAt(3, 4)) << "a file name is not checked";
    QAction* plik = entry(menu, "plik");
    ASSERT_TRUE(plik);
    const int steps = form1->undoStack().count();
    plik->trigger();
    EXPECT_EQ(doc().entry(1).dest, "Zapisz plik");
    EXPECT_EQ(form1->undoStack().count(), steps + 1);
    EXPECT_EQ(misspelled(), 1);
    form1->undoStack().undo();
    EXPECT_EQ(doc().entry(1).dest, "Zapisz plikk");
    EXPECT_EQ(misspelled(), 2);

    // In the open editor the word at the caret has the same menu, followed
    // by the editor's own entries; a word with "\xB3" comes back converted.
    form1->SG1->setCurrentCell(tcol::kDest, 4);
    settle();
    QLineEdit* editor = form1->SG1->editor();
    ASSERT_TRUE(editor);
    editor->setCursorPosition(8);  // "świat w|irsz"
    menu = spelling().contextMenu(editor, {}, true);
    ASSERT_TRUE(menu);
    QAction* wiersz = entry(menu, "wiersz");
    ASSERT_TRUE(wiersz);
    EXPECT_GT(menu->actions().size(), 6);
    wiersz->trigger();
    EXPECT_EQ(doc().entry(3).dest, "\x9Cwiat wiersz");
    settle();
    EXPECT_EQ(editor->text(), decodeBytes("\x9Cwiat wiersz"));
}

TEST_F(SpellingWindow, ASuggestionThatWouldNotFitAFixedLengthIsOfferedDisabled)
{
    // Firmware texts keep the length of their base text.
    std::vector<Entry> rows(2);
    rows[0].base = "ABCDEFGH";
    rows[1].base = "ABCDE";
    for (Entry& e : rows) {
        e.rule = LengthRule::Fixed;
        e.stored = e.dest = fitToRule(e.rule, e.base, "wirsz");
    }
    form1->showRows(kOrvanta, std::move(rows));
    spelling().chooseDictionary("pl_PL");
    settle();
    struct Case {
        int row;
        const char* caption;
        bool enabled;
    };
    for (const Case& c : {Case{1, "wiersz", true}, Case{2, "wiersz (too long)", false}}) {
        auto menu = menuAt(c.row, 2);
        QAction* a = entry(menu, c.caption);
        ASSERT_TRUE(a) << "row " << c.row;
        EXPECT_EQ(a->isEnabled(), c.enabled) << "row " << c.row;
    }
    entry(menuAt(1, 2), "wiersz")->trigger();
    EXPECT_EQ(doc().entry(0).dest, "wiersz  ");
}

TEST_F(SpellingWindow, IgnoreLastsTheSessionAndAddedWordsAreReadBackAtStart)
{
    auto menu = menuAt(4, 8);
    QAction* ignore = entry(menu, "Ignore");
    ASSERT_TRUE(ignore);
    ignore->trigger();
    EXPECT_EQ(misspelled(), 1);
    EXPECT_FALSE(fileExists(folder + "spelling/pl.txt"));

    menu = menuAt(2, 9);
    QAction* add = entry(menu, "Add to dictionary");
    ASSERT_TRUE(add);
    add->trigger();
    EXPECT_EQ(misspelled(), 0);
    EXPECT_EQ(readFile("spelling/pl.txt"), "plikk\r\n");

    open();
    EXPECT_EQ(misspelled(), 1) << "the ignored word is misspelled again, the added one is not";
    EXPECT_FALSE(menuAt(2, 9));
}

TEST_F(SpellingWindow, NextAndPreviousMisspelledWrapAroundAndSelectTheWord)
{
    form1->SG1->setCurrentCell(tcol::kBase, 1);
    struct Step {
        QAction* action;
        int row;
        const char* selected;
    };
    Spelling& s = spelling();
    const Step steps[] = {
        {s.Nextmisspelled1, 2, "plikk"},
        {s.Nextmisspelled1, 4, "wirsz"},
        {s.Nextmisspelled1, 2, "plikk"},
        {s.Previousmisspelled1, 4, "wirsz"},
    };
    for (const Step& step : steps) {
        step.action->trigger();
        EXPECT_EQ(form1->SG1->row(), step.row);
        EXPECT_EQ(form1->SG1->col(), tcol::kDest);
        ASSERT_TRUE(form1->SG1->editor());
        EXPECT_EQ(form1->SG1->editor()->selectedText().toStdString(), step.selected);
    }
    // Before a pass has counted the rows the texts are checked on the way.
    edit(2, "Zapisz plik");
    edit(1, "Otw\xF3rz plikk");
    s.Nextmisspelled1->trigger();
    EXPECT_EQ(form1->SG1->row(), 1);
    edit(1, "Otw\xF3rz plik");
    edit(4, "\x9Cwiat");
    EXPECT_FALSE(s.goToMisspelled(1));
    EXPECT_EQ(form1->StatusBar1->currentMessage(), "No misspelled row");
}

TEST_F(SpellingWindow, TheDictionaryChosenForAFileIsStoredAndReadBack)
{
    emit spelling().Spelling1->aboutToShow();
    auto* german = spelling().Dictionary1->findChild<QAction*>("dictionary_de_DE");
    ASSERT_TRUE(german);
    german->trigger();
    EXPECT_EQ(code(), "de_DE");
    EXPECT_EQ(Settings(ini).read("spelling", "./dest/Konfix_pl.drc"), "de_DE");
    EXPECT_EQ(misspelled(), 4) << "no Polish word is German, \"np.\" neither";

    open();
    EXPECT_EQ(code(), "de_DE");
    spelling().chooseDictionary({});  // "Language of the file"
    EXPECT_EQ(code(), "pl_PL");
    open();
    EXPECT_EQ(code(), "pl_PL");
}

}  // namespace
}  // namespace tov::test
