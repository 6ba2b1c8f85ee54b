#include <QMenuBar>
#include <QSettings>

#include "formats/source_kind.h"
#include "support/placement.h"
#include "support/settings.h"
#include "tests/workspace/workspace_fixture.h"

namespace tov::test {
namespace {

using MainWindow = WorkspaceTest;

// Puts an unsaved edit into row 1 of a resource-string table.
void makeEdit(TForm1& f1, TextGrid& work)
{
    f1.sourceKind = kKonfix;
    work.setRowCount(3);
    work.setCell(0, 1, "ID_A");
    work.setCell(2, 1, "stored");
    f1.SG1->cells().setRowCount(3);
    f1.SG1->cells().setCell(tcol::kDest, 1, "edited");
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
        {"Inbase1", "Find", QKeySequence(Qt::CTRL | Qt::Key_F)},
        {"Searchagain1", "Search again", QKeySequence(Qt::Key_F3)},
        {"Basefont1", "Base font", QKeySequence(Qt::SHIFT | Qt::Key_F1)},
        {"Destfont1", "Dest. font", QKeySequence(Qt::SHIFT | Qt::Key_F2)},
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
    EXPECT_EQ(menus, (QStringList{"File", "Search", "Font", "Help"}));
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
        makeEdit(*form1, work());
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
        if (c.questions > 1) EXPECT_EQ(shown[1], QStringLiteral("        Close program     ?"));
        EXPECT_EQ(prompts.ofKind(Request::Save).size(), c.saveAs ? 1u : 0u);
        if (c.written) EXPECT_NE(readFile(c.saveAs).find("\"edited\""), std::string::npos);
        // Settings are only written by a completed close.
        EXPECT_EQ(QFile::exists(QString::fromStdString(ini)), c.closes);
        TearDown();
    }
}

TEST_F(MainWindow, SavePromptComparesTheRowsOfTheWorkingTableByKind)
{
    start();
    struct Case {
        const char* name;
        std::uint8_t kind;
        int storedColumn;
        std::string stored;
        std::string edited;
        bool asks;
    };
    const Case cases[] = {
        {"resource strings, equal", kKonfix, 2, "a", "a", false},
        {"resource strings, differs", kGenericDrc, 2, "a", "b", true},
        {"menu INI, differs", kMenuIni, 2, "a", "", true},
        {"firmware, nothing stored, typed", kQL5, 7, "", "typed", true},
        {"firmware, nothing stored, the padding blanks", kQL5, 7, "", "   ", false},
        {"firmware, differs", kOrvanta, 7, "abc", "abd", true},
        {"nothing opened, differs", kNone, 2, "a", "b", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompts = ScriptedPrompts();
        form1->sourceKind = c.kind;
        work().setRowCount(2);
        for (int col = 0; col < 11; ++col) work().setCell(col, 1, "");
        table().setRowCount(2);
        work().setCell(c.storedColumn, 1, c.stored);
        table().setCell(tcol::kDest, 1, c.edited);
        if (c.asks) prompts.press(No);
        EXPECT_TRUE(form1->SaveDestPrompt());
        EXPECT_EQ(prompts.messages().size(), c.asks ? 1u : 0u);
    }
}

TEST_F(MainWindow, SavePromptLooksOnlyAtRowsOfTheWorkingTable)
{
    start();
    form1->sourceKind = kKonfix;
    work().setRowCount(2);
    work().setCell(2, 1, "same");
    table().setRowCount(4);
    table().setCell(tcol::kDest, 1, "same");
    table().setCell(tcol::kDest, 3, "beyond the working rows");
    EXPECT_TRUE(form1->SaveDestPrompt());
    EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(MainWindow, SavePromptOfTheCModeComparesTheChosenLanguageColumn)
{
    start();
    form1->sourceKind = kCArrays;
    work().setRowCount(2);
    form1->ComboBox2->blockSignals(true);
    form1->ComboBox2->addItems({"English", "Polski"});
    form1->ComboBox2->setCurrentIndex(1);
    form1->ComboBox2->blockSignals(false);
    work().setCell(2, 1, "tekst");
    table().setRowCount(2);
    table().setCell(tcol::kDest, 1, "tekst");
    EXPECT_TRUE(form1->SaveDestPrompt());
    EXPECT_TRUE(prompts.messages().empty());
    table().setCell(tcol::kDest, 1, "zmieniony");
    prompts.press(Cancel);
    EXPECT_FALSE(form1->SaveDestPrompt());
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
        if (c.comment >= 0) EXPECT_EQ(form1->SG1->colWidth(tcol::kComment), c.comment);
        EXPECT_EQ(form1->Panel4->width(), c.panel);
        EXPECT_EQ(form1->SG1->colWidth(tcol::kNumber), 60);
        EXPECT_EQ(form1->SG1->colWidth(tcol::kLineIndex), 87);
    }
}

TEST_F(MainWindow, CharacterCountSumsBaseAndDestinationLengths)
{
    start();
    EXPECT_EQ(form1->Label1->text(), QStringLiteral("Base: ___   Dest: ___"));
    table().setRowCount(1);
    form1->BitBtn2Click();
    EXPECT_EQ(form1->Label1->text(), QStringLiteral("Base: 0   Dest.: 0"));
    table().setRowCount(4);
    const char* base[] = {"12345", "", "1234567"};
    const char* dest[] = {"1234", "12", ""};
    for (int r = 1; r <= 3; ++r) {
        table().setCell(tcol::kBase, r, base[r - 1]);
        table().setCell(tcol::kDest, r, dest[r - 1]);
    }
    table().setCell(tcol::kBase, 0, "header text is not counted");
    form1->BitBtn2->click();
    EXPECT_EQ(form1->Label1->text(), QStringLiteral("Base: 12   Dest.: 6"));
}

TEST_F(MainWindow, TableRefreshCopiesTheWorkingTableByKind)
{
    start();
    auto fillWorking = [&] {
        work().setRowCount(4);
        const char* ids[] = {"A", "B", "C"};
        const char* base[] = {"one", "", "three\\n3"};
        const char* dest[] = {"jeden", "", ""};
        for (int r = 1; r <= 3; ++r) {
            work().setCell(0, r, ids[r - 1]);
            work().setCell(1, r, base[r - 1]);
            work().setCell(2, r, dest[r - 1]);
        }
    };

    fillWorking();
    form1->sourceKind = kKonfix;
    form1->baseFile = folder + "base/Konfix_en.drc";
    form1->destFile = "";
    form1->TableRefresh();
    EXPECT_EQ(table().rowCount(), 4);
    const char* numbers[] = {"No.", " 1", " 2", " 3"};
    const char* baseLen[] = {"len", " 3", " 0", " 8"};
    const char* destLen[] = {"len", " 5", " 0", " 0"};
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(table().cell(0, r), numbers[r]);
        EXPECT_EQ(table().cell(1, r), baseLen[r]);
        EXPECT_EQ(table().cell(3, r), destLen[r]);
    }
    EXPECT_EQ(table().cell(2, 3), "three\\n3");
    EXPECT_EQ(table().cell(4, 1), "jeden");
    EXPECT_EQ(table().cell(7, 1), "");
    EXPECT_EQ(form1->Panel4->text(), QStringLiteral("Konfix_en.drc"));
    EXPECT_EQ(form1->Panel3->text(), QString());
    EXPECT_EQ(form1->Label1->text(), QStringLiteral("Base: 11   Dest.: 5"));

    // The menu INI mode leaves the key, length columns and row count alone.
    form1->sourceKind = kMenuIni;
    table().setRowCount(3);
    table().setCell(0, 1, "12i");
    table().setCell(1, 1, "");
    form1->TableRefresh();
    EXPECT_EQ(table().rowCount(), 3);
    EXPECT_EQ(table().cell(0, 1), "12i");
    EXPECT_EQ(table().cell(1, 1), "");
    EXPECT_EQ(table().cell(2, 1), "one");

    // The C mode only lays the columns out.
    form1->sourceKind = kCArrays;
    form1->Label1->setText("unchanged");
    table().setCell(2, 1, "kept");
    form1->TableRefresh();
    EXPECT_EQ(table().cell(2, 1), "kept");
    EXPECT_EQ(form1->Label1->text(), QStringLiteral("unchanged"));

    // Firmware kinds set the headers, the comment header included.
    form1->sourceKind = kQL5;
    form1->TableRefresh();
    EXPECT_EQ(table().cell(5, 0), "comment");
    EXPECT_EQ(table().cell(2, 1), "kept");
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
