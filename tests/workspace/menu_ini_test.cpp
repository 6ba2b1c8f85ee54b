#include <QDir>
#include <algorithm>
#include <QLineEdit>
#include <QKeyEvent>
#include <filesystem>


#include "formats/menu_ini/menu_ini.h"
#include "formats/source_kind.h"
#include "support/profile.h"
#include "tests/support/file_size_limit.h"
#include "tests/workspace/workspace_fixture.h"
#include "tests/support/temp_folder.h"

namespace tov::test {
namespace {

namespace fs = std::filesystem;

// A small menu file: a LANGUAGES section, comments, non-text keys, a Polish
// section that lacks 1i, holds the destination-only key 7 and spells its
// keys its own way.
const std::string kMenu =
    "; menu texts\r\n"
    "[LANGUAGES]\r\n"
    "1=English\r\n"
    "\r\n"
    "[English]\r\n"
    "title=Menu\r\n"
    "3=Save\r\n"
    "1i=Open hint\r\n"
    "3v=Saving\r\n"
    "1=Open\r\n"
    "\r\n"
    "[Polski]\r\n"
    "title=Menu PL\r\n"
    "1 = Otw\xF3rz\r\n"
    "3=Zapisz\r\n"
    "3V=Zapisywanie\r\n"
    "7=Stary\r\n"
    "7x=inny\r\n"
    "; koniec\r\n"
    "\r\n"
    "[Deutsch]\r\n"
    "5=F\xFCnf\r\n"
    "1=\xD6\x66\x66nen\r\n";

std::string fullSection(const std::string& name, const std::string& prefix)
{
    std::string out = "[" + name + "]\r\n";
    for (const std::string& key : menu_ini::textKeys()) out += key + "=" + prefix + " " + key + "\r\n";
    return out;
}

using testing::FileSizeLimit;
using testing::firstDifference;

class MenuIni : public WorkspaceTest {
protected:
    // Opens `relative` (in the program folder) through File > Open base text.
    void open(const std::string& relative)
    {
        prompts.choose(path(relative));
        form1->INIfile1Click();
    }
    void choose(const char* l1, const char* l2)
    {
        Settings(ini).setFile("l1", l1);
        Settings(ini).setFile("l2", l2);
    }
    // A column of the translation table, or with a grid, of that grid, for
    // the rows of the translation table.
    std::vector<std::string> column(int c) const
    {
        std::vector<std::string> out;
        for (int r = 1; r < form1->SG1->rowCount(); ++r) out.push_back(cell(c, r));
        return out;
    }
    std::vector<std::string> column(const TextGrid& g, int c) const
    {
        std::vector<std::string> out;
        for (int r = 1; r < form1->SG1->rowCount(); ++r) out.push_back(g.cell(c, r));
        return out;
    }
    std::vector<std::string> backups() const
    {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(folder)) {
            const std::string name = e.path().filename().string();
            if (name.rfind("menu.ini.", 0) == 0 && name.size() > 13 && name.substr(name.size() - 4) == ".bak")
                out.push_back(name);
        }
        return out;
    }
};

TEST_F(MenuIni, OpeningOffersMenuIniInTheProgramFolderAndShowsBothLanguages)
{
    writeFile("menu.ini", kMenu);
    choose("0", "1");
    start();
    form1->sourceKind = kKonfix;
    open("menu.ini");

    ASSERT_EQ(prompts.ofKind(Request::Open).size(), 1u);
    const FileDialogRequest asked = prompts.ofKind(Request::Open)[0].dialog;
    EXPECT_EQ(asked.filter, QStringLiteral("ini|*.ini"));
    EXPECT_EQ(QDir(asked.initialFolder), QDir(pathToQString(folder)));
    EXPECT_EQ(asked.fileName, QStringLiteral("menu.ini"));
    EXPECT_EQ(form1->OpenDialog1.filter, QStringLiteral("ini|*.ini"));  // stays set

    EXPECT_EQ(form1->sourceKind, kMenuIni);
    EXPECT_EQ(form1->prevSourceKind, kKonfix);
    EXPECT_EQ(form1->baseFile, folder + "menu.ini");
    for (const QComboBox* box : {form1->ComboBox1, form1->ComboBox2}) {
        EXPECT_EQ(items(box), (QStringList{"English", "Polski", "Deutsch"}));
        EXPECT_TRUE(box->isEditable());
    }
    EXPECT_EQ(form1->ComboBox1->currentText(), QStringLiteral("English"));
    EXPECT_EQ(form1->ComboBox2->currentText(), QStringLiteral("Polski"));

    // Rows in the order 1, 1i, 3, 3v; "title" is no text key.
    EXPECT_EQ(form1->SG1->rowCount(), 5);
    EXPECT_EQ(column(tcol::kNumber), (std::vector<std::string>{"1", "1i", "3", "3v"}));
    EXPECT_EQ(column(tcol::kBase), (std::vector<std::string>{"Open", "Open hint", "Save", "Saving"}));
    EXPECT_EQ(column(tcol::kDest),
              (std::vector<std::string>{"Otw\xF3rz", "", "Zapisz", "Zapisywanie"}));
    EXPECT_EQ(column(tcol::kBaseLen), std::vector<std::string>(4));
    EXPECT_EQ(column(work(), 1), column(tcol::kBase));
    EXPECT_EQ(column(work(), 2), column(tcol::kDest));
    EXPECT_GE(work().rowCount(), 500);
    EXPECT_TRUE(form1->SaveDestPrompt());
    EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(MenuIni, StoredChoicesSelectTheLanguages)
{
    struct Case {
        const char* l1;
        const char* l2;
        bool stored;
        int base;
        int dest;
    };
    const Case cases[] = {
        {"", "", false, 0, 1},        // missing: the first language, translated into the next
        {"2", "1", true, 2, 1},
        {"1", "9", true, 1, 2},       // beyond the list: the default entry 2 stays
        {"abc", "-1", true, 0, 0},    // not a number, none selected: the first
    };
    writeFile("menu.ini", kMenu);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.l1) + "/" + c.l2);
        QFile::remove(QString::fromStdString(ini));
        if (c.stored) choose(c.l1, c.l2);
        prompts = ScriptedPrompts();
        start();
        open("menu.ini");
        EXPECT_EQ(form1->ComboBox1->currentIndex(), c.base);
        EXPECT_EQ(form1->ComboBox2->currentIndex(), c.dest);
        TearDown();
    }
}

TEST_F(MenuIni, TheCommandPromptsAndClearsOnlyWhenTheKindChanges)
{
    writeFile("menu.ini", kMenu);
    struct Case {
        const char* name;
        std::uint8_t kind;
        std::vector<MsgButton> answers;
        bool dialog;
        bool cleared;
    };
    const Case cases[] = {
        {"another kind, prompt cancelled: nothing happens", kKonfix, {Cancel}, false, false},
        // Rows of another kind stay, edits included, until a file is read.
        {"another kind, then cancelled: nothing is lost", kKonfix, {No}, true, false},
        {"already menu INI: no prompt, nothing cleared", kMenuIni, {}, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompts = ScriptedPrompts();
        start();
        Entry row;
        row.id = "1";
        row.base = "base";
        row.stored = "stored";
        row.dest = "stored";
        form1->showRows(c.kind, {row});
        form1->prevSourceKind = kNone;
        form1->destFile = "/x/dest.drc";
        edit(1, "edited");
        for (MsgButton b : c.answers) prompts.press(b);
        if (c.dialog) prompts.cancel();
        form1->INIfile1Click();

        EXPECT_EQ(prompts.messages().size(), c.answers.size());
        EXPECT_EQ(prompts.ofKind(Request::Open).size(), c.dialog ? 1u : 0u);
        EXPECT_EQ(form1->sourceKind, c.kind);  // cancelled: the kind it was
        EXPECT_EQ(cell(tcol::kDest, 1), c.cleared ? "" : "edited");
        EXPECT_EQ(doc().entry(0).stored, c.cleared ? "" : "stored");
        EXPECT_EQ(form1->destFile, c.cleared ? "" : "/x/dest.drc");
        TearDown();
    }
}

TEST_F(MenuIni, ChoosingAnotherBaseLanguageRebuildsTheRows)
{
    writeFile("menu.ini", kMenu);
    choose("0", "1");
    start();
    open("menu.ini");
    ASSERT_EQ(form1->SG1->rowCount(), 5);

    form1->ComboBox1->setCurrentIndex(2);  // Deutsch: keys 1 and 5
    EXPECT_EQ(form1->SG1->rowCount(), 3);
    EXPECT_EQ(column(tcol::kNumber), (std::vector<std::string>{"1", "5"}));
    EXPECT_EQ(column(tcol::kBase), (std::vector<std::string>{"\xD6\x66\x66nen", "F\xFCnf"}));
    EXPECT_EQ(column(tcol::kDest), (std::vector<std::string>{"Otw\xF3rz", ""}));
    // Nothing of the former rows is left to be shown or saved again.
    EXPECT_EQ(form1->SG1->cell(tcol::kNumber, 3), "");
    EXPECT_EQ(form1->SG1->cell(tcol::kDest, 3), "");
    EXPECT_TRUE(form1->SaveDestPrompt());

    form1->ComboBox2->setCurrentIndex(0);  // English as the destination
    EXPECT_EQ(column(tcol::kDest), (std::vector<std::string>{"Open", ""}));
    EXPECT_EQ(column(work(), 2), column(tcol::kDest));
    EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(MenuIni, SaveRewritesOnlyTheDestinationTextKeysAndLeavesABackup)
{
    writeFile("menu.ini", kMenu);
    choose("0", "1");
    start();
    open("menu.ini");
    edit(2, "Podpowied\x9F");  // the missing 1i
    edit(4, "");                 // 3v cleared
    form1->Savedest1Click();

    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_EQ(readFile("menu.ini"),
              "; menu texts\r\n"
              "[LANGUAGES]\r\n"
              "1=English\r\n"
              "\r\n"
              "[English]\r\n"
              "title=Menu\r\n"
              "3=Save\r\n"
              "1i=Open hint\r\n"
              "3v=Saving\r\n"
              "1=Open\r\n"
              "\r\n"
              "[Polski]\r\n"
              "title=Menu PL\r\n"
              "7x=inny\r\n"
              "1=Otw\xF3rz\r\n"
              "1i=Podpowied\x9F\r\n"
              "3=Zapisz\r\n"
              "3v=\r\n"
              "; koniec\r\n"
              "\r\n"
              "[Deutsch]\r\n"
              "5=F\xFCnf\r\n"
              "1=\xD6\x66\x66nen\r\n");
    const std::vector<std::string> copies = backups();
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(readFile(copies[0]), kMenu);
    EXPECT_EQ(setting("l1"), "0");
    EXPECT_EQ(setting("l2"), "1");
    // The file is read again: what was saved is now the stored destination.
    EXPECT_EQ(work().cell(2, 2), "Podpowied\x9F");
    EXPECT_TRUE(form1->SaveDestPrompt());
}

TEST_F(MenuIni, ATypedLanguageNameBecomesANewSection)
{
    writeFile("menu.ini", kMenu);
    choose("0", "1");
    start();
    open("menu.ini");
    form1->ComboBox2->lineEdit()->selectAll();
    // Typed key by key: "Čeština" (given in UTF-8).
    for (const QChar ch : QString::fromUtf8("\xC4\x8C" "e\xC5\xA1tina")) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(form1->ComboBox2->lineEdit(), &press);
    }
    EXPECT_EQ(column(tcol::kDest), std::vector<std::string>(4));
    edit(1, "Otev\xF8\xED\x74");
    form1->Savedest1Click();

    const std::string saved = readFile("menu.ini");
    EXPECT_EQ(saved.substr(0, kMenu.size()), kMenu);
    EXPECT_EQ(saved.substr(kMenu.size()), "[\xC8" "e\x9Atina]\r\n1=Otev\xF8\xED\x74\r\n1i=\r\n3=\r\n3v=\r\n");
    // The new language stays the destination after the file is read again.
    EXPECT_EQ(items(form1->ComboBox2).size(), 4);
    EXPECT_EQ(form1->ComboBox2->currentIndex(), 3);
    EXPECT_EQ(setting("l2"), "3");
    EXPECT_EQ(cell(tcol::kDest, 1), "Otev\xF8\xED\x74");
}

TEST_F(MenuIni, EveryTextOfAFullSectionSurvivesAndEveryRowCountsAsAnEdit)
{
    const std::string file =
        "[LANGUAGES]\r\n" + fullSection("English", "en") + fullSection("Polski", "pl") + fullSection("Deutsch", "de") +
        fullSection("Czech", "cs");
    writeFile("menu.ini", file);
    choose("0", "1");
    start();
    open("menu.ini");
    ASSERT_EQ(form1->SG1->rowCount(), 1504);
    EXPECT_EQ(cell(tcol::kNumber, 1503), "500v");
    EXPECT_EQ(cell(tcol::kDest, 1503), "pl 500v");

    // Saved unchanged, the file comes back as it was.
    form1->Savedest1Click();
    EXPECT_EQ(firstDifference(readFile("menu.ini"), file), std::string::npos);

    // An edit far down the table is seen by the save prompt.
    edit(1400, "edited");
    prompts.press(No);
    EXPECT_TRUE(form1->SaveDestPrompt());
    EXPECT_EQ(prompts.messages().size(), 1u);
}

TEST_F(MenuIni, FilesOfOthersOpenAndSurviveAnUnchangedSave)
{
    for (const auto& entry : fs::directory_iterator(fs::path(TOVRANA_CORPUS_DIR) / "ini")) {
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        std::string input;
        ASSERT_TRUE(readFileBytes(entry.path().string(), input));
        writeFile(name, input);
        const IniDocument doc = IniDocument::fromBytes(input);
        const std::vector<std::string> languages = menu_ini::languageSections(doc);
        ASSERT_FALSE(languages.empty());
        const bool two = languages.size() > 1;
        choose("0", two ? "1" : "0");
        const std::string dest = languages[two ? 1 : 0];
        prompts = ScriptedPrompts();
        start();
        open(name);
        ASSERT_EQ(form1->ComboBox1->count(), static_cast<int>(languages.size()));
        EXPECT_EQ(encodeText(form1->ComboBox2->currentText()), dest);

        // The same save done on the file by the format code, with the
        // texts the file holds.
        std::vector<menu_ini::Row> rows = menu_ini::baseRows(doc, languages[0]);
        menu_ini::loadDestTexts(doc, dest, rows);
        EXPECT_EQ(form1->SG1->rowCount(), menu_ini::tableRowCount(rows.size()));
        std::vector<menu_ini::DestEntry> texts;
        for (const auto& r : rows) texts.emplace_back(r.key, r.dest);
        IniDocument expected = IniDocument::fromBytes(input);
        menu_ini::applyDestination(expected, dest, texts);

        form1->Savedest1Click();
        EXPECT_TRUE(prompts.messages().empty());
        EXPECT_EQ(firstDifference(readFile(name), expected.toBytes()), std::string::npos);
        TearDown();
    }
}

TEST_F(MenuIni, AFileThatCannotBeWrittenStaysAsItWas)
{
    writeFile("menu.ini", kMenu);
    choose("0", "1");
    start();
    open("menu.ini");
    edit(1, "nowy");
    {
        const FileSizeLimit full(16);
        form1->Savedest1Click();
    }
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(prompts.messages()[0], QStringLiteral("Unable to write to ") + path("menu.ini"));
    EXPECT_EQ(prompts.ofKind(Request::Message)[0].icon, MsgIcon::Error);
    EXPECT_EQ(readFile("menu.ini"), kMenu);
    // The edit is still there to be saved again.
    EXPECT_EQ(cell(tcol::kDest, 1), "nowy");
}

TEST_F(MenuIni, AResourceStringFileThatCannotBeReadLeavesTheMenuRowsAndFile)
{
    writeFile("menu.ini", kMenu);
    writeFile("base/Konfix_broken.drc", "no table here\r\n");
    choose("0", "1");
    start();
    open("menu.ini");
    prompts.press(No);
    prompts.choose(path("base/Konfix_broken.drc"));
    edit(1, "nowy");
    form1->Konfix1Click();
    ASSERT_EQ(prompts.messages().size(), 2u);
    EXPECT_EQ(prompts.messages()[1], QStringLiteral("        Error reading file!       "));
    EXPECT_EQ(form1->sourceKind, kMenuIni);
    EXPECT_EQ(form1->baseFile, folder + "menu.ini");
    EXPECT_EQ(column(tcol::kNumber), (std::vector<std::string>{"1", "1i", "3", "3v"}));
    EXPECT_EQ(cell(tcol::kDest, 3), "Zapisz");
    // A save now writes the menu file, with its stored texts and the edit.
    form1->Savedest1Click();
    const std::string saved = readFile("menu.ini");
    EXPECT_NE(saved.find("[Polski]\r\ntitle=Menu PL\r\n7x=inny\r\n1=nowy\r\n1i=\r\n3=Zapisz\r\n"), std::string::npos)
        << saved;
}

TEST_F(MenuIni, AFileThatIsNoIniFileGivesEmptyPickersAndTable)
{
    writeFile("menu.ini", std::string("\x7f" "ELF\x02\x01\x01\0\0\0\0\0", 12));
    start();
    open("menu.ini");
    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_EQ(form1->ComboBox1->count(), 0);
    EXPECT_EQ(form1->ComboBox2->count(), 0);
    EXPECT_EQ(form1->SG1->rowCount(), 2);
    EXPECT_EQ(cell(tcol::kNumber, 1), "");
    EXPECT_EQ(form1->sourceKind, kMenuIni);
}

}  // namespace
}  // namespace tov::test
