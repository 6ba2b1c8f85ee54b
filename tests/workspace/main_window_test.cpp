#include <QMenuBar>
#include <QSettings>

#include "formats/source_kind.h"
#include "support/placement.h"
#include "support/settings.h"
#include "tests/workspace/workspace_fixture.h"

namespace tov::test {
namespace {

using MainWindow = WorkspaceTest;

// Rows of a kind: base texts and the destination as stored.
std::vector<Entry> rowsOf(std::uint8_t kind, const std::vector<std::pair<std::string, std::string>>& texts)
{
    std::vector<Entry> rows;
    for (const auto& [base, stored] : texts) {
        Entry e;
        e.id = "ID_" + std::to_string(rows.size() + 1);
        e.base = base;
        e.rule = traitsOf(kind).commentColumns ? fixedRuleFor(base) : LengthRule::AtMost;
        e.stored = stored;
        e.dest = fitToRule(e.rule, base, stored);
        e.line = static_cast<std::uint32_t>(rows.size() + 1);
        rows.push_back(e);
    }
    return rows;
}

// Puts an unsaved edit into row 1 of a resource-string table.
void makeEdit(TForm1& f1)
{
    f1.showRows(kKonfix, rowsOf(kKonfix, {{"Base", "stored"}}));
    f1.pushEdit(SetDestinations::one(f1.document(), 0, "edited"));
}

TEST_F(MainWindow, CaptionShowsTheVersionText)
{
    start();
    EXPECT_EQ(form1->windowTitle(), QStringLiteral("Tovrana v.1.01.012"));
}

TEST_F(MainWindow, MenuItemsCarryTheirCaptionsAndShortcuts)
{
    start();
    struct Item {
        const char* name;
        const char* caption;
        QKeySequence shortcut;
    };
    const Item items[] = {
        {"Konfix1", "Konfix", {}},
        {"Vigrex1", "Vigrex", {}},
        {"Konfi101", "Konfi10", {}},
        {"Orvantafirmware1", "Orvanta firmware", {}},
        {"QL5firmware1", "QL5 firmware", {}},
        {"QL10firmware1", "QL10 firmware", {}},
        {"TELMOfirmware1", "TELMO firmware", {}},
        {"Genaricdrc1", "Generic *.drc", {}},
        {"INIfile1", "PW soft MENU.INI file", {}},
        {"FileC1", "File  *.c", {}},
        {"Blank1", "Blank", {}},
        {"Usefile1", "Use file...", {}},
        {"OpenDest1", "Open destination", {}},
        {"Savedest1", "Save destination", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"Exporttotextfile1", "Export to text file", {}},
        {"Exit1", "Exit", {}},
        {"Undo1", "&Undo", QKeySequence(Qt::CTRL | Qt::Key_Z)},
        {"Redo1", "&Redo", QKeySequence(Qt::CTRL | Qt::Key_Y)},
        {"Nexttodo1", "&Next row that needs work", QKeySequence(Qt::Key_F8)},
        {"Prevtodo1", "&Previous row that needs work", QKeySequence(Qt::SHIFT | Qt::Key_F8)},
        {"Showtodo1", "&Show only rows that need work", QKeySequence(Qt::CTRL | Qt::Key_F8)},
        {"Inbase1", "&Find", QKeySequence(Qt::CTRL | Qt::Key_F)},
        {"Searchagain1", "Search &again", QKeySequence(Qt::Key_F3)},
        {"Replace1", "&Replace", QKeySequence(Qt::CTRL | Qt::Key_H)},
        {"Basefont1", "Base font", QKeySequence(Qt::SHIFT | Qt::Key_F1)},
        {"Destfont1", "Dest. font", QKeySequence(Qt::SHIFT | Qt::Key_F2)},
        {"Checkspelling1", "&Check spelling", {}},
        {"Nextmisspelled1", "&Next misspelled", QKeySequence(Qt::Key_F7)},
        {"Previousmisspelled1", "&Previous misspelled", QKeySequence(Qt::SHIFT | Qt::Key_F7)},
        {"About2", "About", {}},
        {"test1", "test", {}},
    };
    for (const Item& item : items) {
        auto* a = form1->findChild<QAction*>(item.name);
        ASSERT_NE(a, nullptr) << item.name;
        EXPECT_EQ(a->text(), QString::fromUtf8(item.caption)) << item.name;
        EXPECT_EQ(a->shortcut(), item.shortcut) << item.name;
    }
    QStringList menus;
    for (QAction* a : form1->menuBar()->actions()) menus << a->text();
    // Alt and the underlined letter open each menu.
    EXPECT_EQ(menus, (QStringList{"&File", "&Edit", "&Search", "F&ont", "S&pelling", "&Help"}));
    EXPECT_EQ(form1->Redo1->shortcuts().value(1), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
}

TEST_F(MainWindow, ClosingWithoutEditsAsksOnlyTheCloseQuestionAndStoresTheSession)
{
    start();
    form1->sourceKind = kKonfi10;
    form1->baseFile = folder + "base/Konfi10_en.drc";
    form1->destFile = "/elsewhere/Konfi10_pl.drc";
    prompts.press(Yes);
    EXPECT_TRUE(form1->close());
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(prompts.messages()[0], QStringLiteral("        Close program     ?"));
    EXPECT_EQ(prompts.requests[0].buttons, unsigned(Yes | No));
    EXPECT_EQ(setting("fm"), "4");
    EXPECT_EQ(setting("bfile"), "./base/Konfi10_en.drc");
    EXPECT_EQ(setting("dfile"), "/elsewhere/Konfi10_pl.drc");
    EXPECT_EQ(setting("cc"), std::to_string(form1->SG1->row()));
    EXPECT_EQ(setting("tr"), std::to_string(form1->SG1->topRow()));
    EXPECT_EQ(Settings(ini).read("bfont", "Valid"), "1");
    EXPECT_EQ(Settings(ini).read("dfont", "Name"), "Courier New");
    EXPECT_EQ(Settings(ini).read("dfont", "Charset"), "238");
    EXPECT_EQ(Settings(ini).read("dfont", "Color"), "FF000008");
}

TEST_F(MainWindow, SavePromptAnswersDecideWhetherTheWindowCloses)
{
    struct Case {
        const char* name;
        MsgButton saveAnswer;
        const char* saveAs;  // answer to the save dialog: nullptr none asked, "" cancel
        std::vector<MsgButton> later;
        bool closes;
        size_t questions;
        bool written;
    };
    const Case cases[] = {
        {"cancel keeps the window and asks nothing more", Cancel, nullptr, {}, false, 1, false},
        {"no then yes closes without saving", No, nullptr, {Yes}, true, 2, false},
        {"yes then no saves and stays open", Yes, "dest/saved.drc", {No}, false, 2, true},
        // A save that did not happen must not let the edits go.
        {"yes with the save dialog cancelled keeps the window", Yes, "", {}, false, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompts = ScriptedPrompts();
        start();
        makeEdit(*form1);
        QFile::remove(QString::fromStdString(ini));
        QDir().mkpath(QString::fromStdString(folder + "dest"));
        prompts.press(c.saveAnswer);
        if (c.saveAs && *c.saveAs)
            prompts.choose(QString::fromStdString(folder + c.saveAs));
        else if (c.saveAs)
            prompts.cancel();
        for (MsgButton b : c.later) prompts.press(b);
        EXPECT_EQ(form1->close(), c.closes);
        EXPECT_TRUE(prompts.allAnswered());
        const auto shown = prompts.messages();
        ASSERT_EQ(shown.size(), c.questions);
        EXPECT_EQ(shown[0], QStringLiteral("        Save destination file?"));
        EXPECT_EQ(prompts.requests[0].buttons, unsigned(Yes | No | Cancel));
        if (c.questions > 1) {
            EXPECT_EQ(shown[1], QStringLiteral("        Close program     ?"));
        }
        EXPECT_EQ(prompts.ofKind(Request::Save).size(), c.saveAs ? 1u : 0u);
        if (c.written) {
            EXPECT_NE(readFile(c.saveAs).find("\"edited\""), std::string::npos) << readFile(c.saveAs);
        }
        // Settings are only written by a completed close.
        EXPECT_EQ(QFile::exists(QString::fromStdString(ini)), c.closes);
        TearDown();
    }
}

TEST_F(MainWindow, SavePromptAsksExactlyWhileEditsAreUnsaved)
{
    start();
    QDir().mkpath(QString::fromStdString(folder + "dest"));
    auto asks = [&] {
        prompts = ScriptedPrompts();
        prompts.press(No);
        EXPECT_TRUE(form1->SaveDestPrompt());
        return prompts.messages().size() == 1;
    };
    // An edit in every family counts until it is undone or saved.
    for (std::uint8_t kind : {kKonfix, kQL5, kMenuIni, kCArrays}) {
        SCOPED_TRACE(std::to_string(kind));
        form1->showRows(kind, rowsOf(kind, {{"Open", "Otw"}, {"Close", ""}}));
        EXPECT_FALSE(asks());
        // Blanks typed where a firmware text is padded anyway change nothing.
        if (traitsOf(kind).commentColumns) {
            edit(2, "   ");
            EXPECT_FALSE(asks());
        }
        edit(2, "Zamk");
        EXPECT_TRUE(asks());
        form1->undoStack().undo();
        EXPECT_FALSE(asks());
        form1->undoStack().redo();
        EXPECT_TRUE(asks());
    }

    // A save that wrote the file ends the edits; one that failed keeps them.
    form1->showRows(kKonfix, rowsOf(kKonfix, {{"Open", "Otw"}}));
    edit(1, "Otworz");
    prompts = ScriptedPrompts();
    prompts.choose(path("missing/x.drc"));
    EXPECT_FALSE(form1->SaveDestination());
    EXPECT_TRUE(form1->edited());
    prompts.choose(path("dest/x.drc"));
    EXPECT_TRUE(form1->SaveDestination());
    EXPECT_FALSE(form1->edited());
    EXPECT_EQ(doc().entry(0).stored, "Otworz");
}

TEST_F(MainWindow, ColumnLayoutFollowsTheGridWidth)
{
    start();
    struct Case {
        std::uint8_t kind;
        int gridWidth;
        int base, dest, comment, panel;
    };
    const Case cases[] = {
        {kNone, 903, 378, 380, -1, 471},
        {kKonfix, 600, 227, 229, -1, 320},
        {kMenuIni, 121, 0, 0, -1, 80},
        {kKonfix, 100, 0, 0, -1, 70},  // below 120: widths collapse, nothing fails
        {kOrvanta, 903, 291, 291, 194, 384},
        {kTelmo, 600, 180, 180, 120, 273},
        {kQL10, 50, 0, 0, 0, 69},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.kind) + " at " + std::to_string(c.gridWidth));
        form1->sourceKind = c.kind;
        form1->SG1->resize(c.gridWidth, 300);
        form1->FormResize();
        EXPECT_EQ(form1->SG1->colWidth(tcol::kBase), c.base);
        EXPECT_EQ(form1->SG1->colWidth(tcol::kDest), c.dest);
        if (c.comment >= 0) {
            EXPECT_EQ(form1->SG1->colWidth(tcol::kComment), c.comment);
        }
        EXPECT_EQ(form1->Panel4->width(), c.panel);
        EXPECT_EQ(form1->SG1->colWidth(tcol::kNumber), 60);
        EXPECT_EQ(form1->SG1->colWidth(tcol::kLineIndex), 87);
    }
}

TEST_F(MainWindow, CharacterCountSumsBaseAndDestinationLengths)
{
    start();
    EXPECT_EQ(form1->Label1->text(), QStringLiteral("Base: ___   Dest: ___"));
    form1->showRows(kKonfix, {});
    EXPECT_EQ(form1->Label1->text(), QStringLiteral("Base: 0   Dest.: 0"));
    form1->showRows(kKonfix, rowsOf(kKonfix, {{"12345", "1234"}, {"", "12"}, {"1234567", ""}}));
    EXPECT_EQ(form1->Label1->text(), QStringLiteral("Base: 12   Dest.: 6"));
    // Not live: an edit shows at the next refresh.
    edit(3, "123");
    EXPECT_EQ(form1->Label1->text(), QStringLiteral("Base: 12   Dest.: 6"));
    form1->BitBtn2->click();
    EXPECT_EQ(form1->Label1->text(), QStringLiteral("Base: 12   Dest.: 9"));
}

TEST_F(MainWindow, TheTableShowsTheRowsOfEveryFamily)
{
    start();
    struct Case {
        std::uint8_t kind;
        std::vector<const char*> header;  // columns 0, 1, 3, 5
        std::vector<const char*> row2;    // columns 0, 1, 3, 5 and 8 of row 2
    };
    const Case cases[] = {
        {kKonfix, {"No.", "len", "len", ""}, {" 2", " 0", " 0", "", ""}},
        {kMenuIni, {"No.", "len", "len", ""}, {"ID_2", "", "", "", ""}},
        {kCArrays, {"", "", "", ""}, {"2", " 0", " 0", "", ""}},
        {kQL5, {"No.", "len", "len", "comment"}, {"2", " 0", " 0", "", "2"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.kind));
        form1->baseFile = folder + "base/a.drc";
        form1->destFile = "";
        form1->showRows(c.kind, rowsOf(c.kind, {{"one", "uno"}, {"", ""}, {"three\\n3", ""}}));
        EXPECT_EQ(form1->SG1->rowCount(), 4);
        const int columns[] = {tcol::kNumber, tcol::kBaseLen, tcol::kDestLen, tcol::kComment, tcol::kLineIndex};
        for (std::size_t i = 0; i < c.header.size(); ++i) EXPECT_EQ(cell(columns[i], 0), c.header[i]) << i;
        for (std::size_t i = 0; i < c.row2.size(); ++i) EXPECT_EQ(cell(columns[i], 2), c.row2[i]) << i;
        EXPECT_EQ(cell(tcol::kBase, 3), "three\\n3");
        EXPECT_EQ(cell(tcol::kDest, 1), "uno");
        EXPECT_EQ(cell(tcol::kPreview7, 1), "");
        EXPECT_EQ(form1->Panel4->text(), QStringLiteral("a.drc"));
        // A file of every language is named over both columns.
        EXPECT_EQ(form1->Panel3->text(), traitsOf(c.kind).languagePickers ? QStringLiteral("a.drc") : QString());
    }
    // A table without rows keeps one empty row below its header.
    form1->showRows(kKonfix, {});
    EXPECT_EQ(form1->SG1->rowCount(), 2);
    EXPECT_EQ(cell(tcol::kNumber, 1), "");
}

TEST_F(MainWindow, FontsAndSourceKindComeFromTheSettingsFile)
{
    writeFile("tovrana.ini",
              "[files]\r\nfm=17\r\n"
              "[bfont]\r\nValid=1\r\nName=Liberation Sans\r\nHeight=-20\r\nSize=12\r\nfsItalic=0\r\n"
              "[dfont]\r\nValid=0\r\nName=Ignored\r\n");
    start();
    EXPECT_EQ(form1->sourceKind, kCArrays);
    EXPECT_EQ(form1->baseFont.record.name, "Liberation Sans");
    EXPECT_EQ(form1->baseFont.record.height, heightForSize(12));
    EXPECT_TRUE(form1->baseFont.record.bold);  // no fsBold key
    EXPECT_FALSE(form1->baseFont.record.italic);
    EXPECT_EQ(form1->destFont.record, FontRecord{});
    EXPECT_TRUE(form1->baseFont.font().bold());
}

TEST_F(MainWindow, GarbageSettingsStartWithDefaults)
{
    std::string garbage = "[files]\r\nfm=300\r\n";
    for (int i = 0; i < 4096; ++i) garbage.push_back(static_cast<char>((i * 131 + 7) & 0xFF));
    garbage += std::string(200000, 'x') + "\n[bfont\nValid=1=1\n\0\0\0";
    writeFile("tovrana.ini", garbage);
    start();
    EXPECT_EQ(form1->sourceKind, 0);
    EXPECT_TRUE(prompts.requests.empty());
}

TEST_F(MainWindow, PlacementSurvivesAClose)
{
    start();
    form1->move(120, 130);
    form1->resize(700, 500);
    settle();
    const WindowRect before{form1->x(), form1->y(), form1->width(), form1->height()};
    prompts.press(Yes);
    ASSERT_TRUE(form1->close());
    TearDown();
    start();
    EXPECT_EQ(form1->width(), before.width);
    EXPECT_EQ(form1->height(), before.height);

    QSettings store(QStringLiteral("Orbika"), QStringLiteral("Tovra"));
    const QVariant v = store.value(QString::fromStdString(placementKey(folder)) + "/Tovrana");
    EXPECT_EQ(v.toByteArray().size(), 16);
}

TEST_F(MainWindow, AMalformedPlacementRecordIsIgnored)
{
    QSettings store(QStringLiteral("Orbika"), QStringLiteral("Tovra"));
    const QString key = QString::fromStdString(placementKey(folder)) + "/Tovrana";
    for (const QVariant& bad : {QVariant(QByteArray("short")), QVariant(QStringLiteral("a text")), QVariant(42)}) {
        store.setValue(key, bad);
        store.sync();
        start();
        EXPECT_EQ(form1->width(), 903);
        TearDown();
    }
}

TEST_F(MainWindow, FontCommandsChangeTheFontOnlyWhenConfirmed)
{
    start();
    QFont chosen(QStringLiteral("Liberation Sans"));
    chosen.setPixelSize(18);
    chosen.setBold(true);
    prompts.pickFont(chosen);
    form1->Basefont1Click();
    EXPECT_EQ(form1->baseFont.record.name, "Liberation Sans");
    EXPECT_EQ(form1->baseFont.record.height, -18);
    EXPECT_TRUE(form1->baseFont.record.bold);
    EXPECT_EQ(form1->baseFont.record.charset, 238);

    prompts.cancel();
    form1->Destfont1Click();
    EXPECT_EQ(form1->destFont.record, FontRecord{});
}

TEST_F(MainWindow, AboutShowsTheVersion)
{
    start();
    form1->About2Click();
    ASSERT_EQ(prompts.requests.size(), 1u);
    EXPECT_EQ(prompts.requests[0].icon, MsgIcon::Information);
    EXPECT_EQ(prompts.requests[0].buttons, unsigned(Ok));
    EXPECT_EQ(prompts.requests[0].text, QStringLiteral("Tovrana v.1.01.012"));
}

TEST_F(MainWindow, WorkingTableWindowFixesItsHeaderRowAndShowsTheSelectedRow)
{
    start();
    EXPECT_EQ(form2->windowTitle(), QStringLiteral("Form2"));
    EXPECT_EQ(form2->SG1->colCount(), 11);
    EXPECT_EQ(form2->SG1->fixedRows(), 0);
    form2->SG1->setRowCount(1);
    form1->testClick();
    settle();
    EXPECT_TRUE(form2->isVisible());
    EXPECT_EQ(form2->SG1->fixedRows(), 0);  // a single row stays unfixed
    form2->hide();
    form2->SG1->setRowCount(30);
    form2->show();
    settle();
    EXPECT_EQ(form2->SG1->fixedRows(), 1);
    EXPECT_TRUE(form2->SG1->setCurrentCell(3, 17));
    EXPECT_EQ(form2->windowTitle(), QStringLiteral("17"));
}

TEST_F(MainWindow, DoubleClickFitsTheWorkingTableColumnsToTheirTexts)
{
    start();
    StringGrid& g = *form2->SG1;
    g.setRowCount(3);
    g.setCell(1, 0, "a very long header is not measured");
    g.setCell(1, 1, "ab");
    g.setCell(1, 2, "abcdef      ");
    g.sync();
    form2->SG1DblClick();
    const QFontMetrics fm(g.font());
    EXPECT_EQ(g.colWidth(1), fm.horizontalAdvance("abcdef") + 10);
    EXPECT_EQ(g.colWidth(5), 100);  // empty column unchanged
}

}  // namespace
}  // namespace tov::test
