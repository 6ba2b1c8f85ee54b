// The C string-array commands on a program folder: opening through the
// dialog, the language pickers, and saving with its backup and failures.
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

#include "formats/c_arrays/c_arrays.h"
#include "formats/source_kind.h"
#include "tests/workspace/workspace_fixture.h"

namespace tov::test {
namespace {

using testing::crlf;

// Two languages, the second name in Windows-1250 ("Čeština").
const std::string kSmall = crlf({
    "#include \"t.h\"",
    "const char *names[] = {",
    "\"English\",  // 0",
    "\"\xC8" "e\x9Atina\",  // 1",
    "};",
    "const char *t[][2] = {",
    "\"One\",  // 0",
    "\"Two\",  // 0",
    "\"Jedna\",  // 1",
    "\"Dv\xEC\",  // 1",
    "};",
});

class CArraysCommands : public WorkspaceTest {
protected:
    void SetUp() override
    {
        WorkspaceTest::SetUp();
        oldCwd_ = QDir::currentPath();
        // The templates go to a folder of their own, to be counted.
        tmp = folder + "tmp/";
        QDir().mkpath(pathToQString(tmp));
        qputenv("TMPDIR", QByteArray::fromStdString(tmp));
    }
    void TearDown() override
    {
        WorkspaceTest::TearDown();
        QDir::setCurrent(oldCwd_);
    }

    // The demo file copied into the program folder.
    std::string demo()
    {
        writeFile("texts.c", testing::readBytes(std::string(TOVRANA_DEMO_SOURCE_DIR) + "/texts.c"));
        return folder + "texts.c";
    }
    // Closes the windows between the cases of one test; the folder stays.
    void closeWindows()
    {
        WorkspaceTest::TearDown();
        prompts = ScriptedPrompts();
    }
    void open(const std::string& path)
    {
        prompts.choose(pathToQString(path));
        form1->FileC1Click();
    }
    void chooseDest(int item) { form1->ComboBox2->setCurrentIndex(item); }
    std::vector<std::string> filesIn(const std::string& dir) const
    {
        std::vector<std::string> out;
        for (const QString& n : QDir(pathToQString(dir)).entryList(QDir::Files, QDir::Name)) out.push_back(n.toStdString());
        return out;
    }

    std::string tmp;

private:
    QString oldCwd_;
};

TEST_F(CArraysCommands, OpeningFillsPickersTableAndTemplate)
{
    writeFile("small.c", kSmall);
    start();
    form1->ComboBox2->setEditable(true);  // as the menu INI mode leaves it
    open(folder + "small.c");
    EXPECT_FALSE(form1->ComboBox2->isEditable());

    const auto opens = prompts.ofKind(Request::Open);
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_EQ(opens[0].dialog.fileName, path("*.c"));
    EXPECT_EQ(form1->sourceKind, kCArrays);
    EXPECT_EQ(form1->prevSourceKind, kNone);
    EXPECT_EQ(form1->baseFile, folder + "small.c");
    // The template lives in the window's own folder in the temporary folder.
    EXPECT_TRUE(form1->destFile.starts_with(tmp + "tovrana-")) << form1->destFile;
    EXPECT_TRUE(form1->destFile.ends_with("/tmp0.txt")) << form1->destFile;
    EXPECT_TRUE(fileExists(form1->destFile));
    EXPECT_TRUE(prompts.messages().empty());

    const QStringList names{"English", QString::fromUtf8("Čeština")};
    EXPECT_EQ(items(form1->ComboBox1), names);
    EXPECT_EQ(items(form1->ComboBox2), names);
    // No "c1"/"c2" stored: the first language is translated into the next.
    EXPECT_EQ(form1->ComboBox1->currentIndex(), 0);
    EXPECT_EQ(form1->ComboBox2->currentIndex(), 1);

    ASSERT_EQ(form1->SG1->rowCount(), 3);
    const std::vector<std::vector<std::string>> rows = {
        {"", "", "English", "", "\xC8" "e\x9Atina"},
        {"1", " 3", "One", " 5", "Jedna"},
        {"2", " 3", "Two", " 3", "Dv\xEC"},
    };
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 5; ++c) EXPECT_EQ(cell(c, r), rows[r][c]) << c << "," << r;
}

TEST_F(CArraysCommands, RememberedLanguagesAreSelectedWhenInRange)
{
    struct Case {
        const char* c1;
        const char* c2;
        int base;
        int dest;
        const char* baseHeader;
        const char* destHeader;
        const char* destRow1;
    };
    const Case cases[] = {
        {"1", "2", 1, 2, "Polski", "Deutsch", "Willkommen"},
        {"2", "0", 2, 0, "Deutsch", "English", "Welcome"},
        // Beyond the languages: no selection, the column shows the row numbers.
        {"0", "3", 0, -1, "English", "", "1"},
        {"-1", "x", 0, 0, "English", "English", "Welcome"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.c1) + "/" + c.c2);
        start();
        form1->settings().setFile("c1", c.c1);
        form1->settings().setFile("c2", c.c2);
        open(demo());
        EXPECT_EQ(form1->ComboBox1->count(), 3);
        EXPECT_EQ(form1->ComboBox1->currentIndex(), c.base);
        EXPECT_EQ(form1->ComboBox2->currentIndex(), c.dest);
        EXPECT_EQ(cell(tcol::kBase, 0), c.baseHeader);
        EXPECT_EQ(cell(tcol::kDest, 0), c.destHeader);
        EXPECT_EQ(cell(tcol::kDest, 1), c.destRow1);
        EXPECT_EQ(doc().destLanguage, c.dest);
        closeWindows();
    }
}

TEST_F(CArraysCommands, TypedTextsSurviveSwitchingLanguagesAndReopening)
{
    start();
    const std::string path = demo();
    open(path);
    chooseDest(1);
    EXPECT_EQ(cell(tcol::kDest, 1), "Witamy");
    form1->SG1->setFocus();
    ASSERT_TRUE(form1->SG1->setCurrentCell(tcol::kDest, 1));
    ASSERT_TRUE(form1->SG1->showEditor());
    form1->SG1->editor()->selectAll();
    QTest::keyClicks(form1->SG1->editor(), "Witajcie");

    chooseDest(2);  // with the editor still open
    form1->SG1->setCurrentCell(tcol::kDest, 2);
    EXPECT_EQ(cell(tcol::kDest, 0), "Deutsch");
    EXPECT_EQ(cell(tcol::kDest, 1), "Willkommen");
    EXPECT_EQ(work().cell(2, 1), "Witajcie");
    // The text typed for Polski waits unsaved: the save question asks about it.
    prompts.press(Cancel);
    EXPECT_FALSE(form1->SaveDestPrompt());
    ASSERT_EQ(prompts.messages().size(), 1u);
    edit(2, "Messung beginnen");

    chooseDest(1);
    EXPECT_EQ(cell(tcol::kDest, 1), "Witajcie");
    EXPECT_EQ(cell(tcol::kDestLen, 1), " 8");
    EXPECT_EQ(work().cell(3, 2), "Messung beginnen");

    // Picking the destination does not touch the base column.
    EXPECT_EQ(cell(tcol::kBase, 1), "Welcome");
    form1->ComboBox1->setCurrentIndex(2);
    EXPECT_EQ(cell(tcol::kBase, 0), "Deutsch");
    EXPECT_EQ(cell(tcol::kBase, 2), "Messung beginnen");

    // Opening again starts from the file, after the question about the
    // edits (a No drops them): the emptied destination column is not copied
    // over a language of it.
    form1->settings().setFile("c2", "0");
    prompts = ScriptedPrompts();
    prompts.press(No);
    open(path);
    EXPECT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(form1->ComboBox2->currentIndex(), 0);
    EXPECT_EQ(work().cell(2, 1), "Witamy");
    EXPECT_EQ(work().cell(3, 2), "Messung starten");
}

TEST_F(CArraysCommands, SavePromptBeforeEveryOpenAndACancelledOpenLeavesAnEmptyCMode)
{
    struct Case {
        const char* name;
        std::uint8_t kind;
        std::vector<MsgButton> answers;  // to "Save destination file?"
        std::uint8_t kindAfter;
    };
    const Case cases[] = {
        {"abandoned at the prompt", kKonfix, {Cancel}, kKonfix},
        {"another kind, not saved", kKonfix, {No}, kCArrays},
        {"already the C mode: asked too", kCArrays, {No}, kCArrays},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        start();
        open(demo());
        form1->sourceKind = c.kind;
        edit(1, "edited");
        for (MsgButton b : c.answers) prompts.press(b);
        if (c.kindAfter == kCArrays) prompts.cancel();  // the open dialog
        form1->FileC1Click();
        EXPECT_TRUE(prompts.allAnswered());
        EXPECT_EQ(prompts.messages().size(), c.answers.size());
        EXPECT_EQ(form1->sourceKind, c.kindAfter);
        const bool emptied = c.kindAfter == kCArrays;
        EXPECT_EQ(form1->prevSourceKind, emptied ? c.kind : decltype(c.kind)(kNone));
        EXPECT_EQ(form1->baseFile.empty(), emptied);
        EXPECT_EQ(form1->destFile.empty(), emptied);
        EXPECT_EQ(form1->ComboBox2->count(), emptied ? 0 : 3);
        EXPECT_EQ(form1->formatFor(kCArrays).workingTable().cell(1, 1).empty(), emptied);
        EXPECT_EQ(cell(tcol::kDest, 1).empty(), emptied);
        closeWindows();
    }
}

TEST_F(CArraysCommands, RefusedFileShowsItsReasonAndLoadsNothing)
{
    struct Case {
        const char* name;
        std::string bytes;
        const char* reason;
    };
    const Case cases[] = {
        {"unclosed.c",
         crlf({"const char *n[] = {", "\"English\",  // 0", "};", "const char *t[] = {", "\"Hello\",  // 0"}),
         "line 4: the array does not end with a line \"};\" before the end of the file"},
        {"uncommented.c",
         crlf({"const char *n[] = {", "\"English\",  // 0", "};", "const char *t[] = {", "\"Hello\",", "};"}),
         "line 5: a text without the \"//\" comment of a text line (it would not be read, but saving would "
         "overwrite it)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        start();
        writeFile(c.name, c.bytes);
        open(folder + c.name);
        ASSERT_EQ(prompts.messages().size(), 1u);
        EXPECT_EQ(prompts.messages()[0], QStringLiteral("The file \"%1\" cannot be opened:\n%2")
                                             .arg(path(c.name), QString::fromUtf8(c.reason)));
        EXPECT_EQ(prompts.ofKind(Request::Message)[0].icon, MsgIcon::Error);
        EXPECT_EQ(form1->ComboBox2->count(), 0);
        EXPECT_EQ(work().cell(1, 0), "");
        EXPECT_EQ(form1->destFile, "");
        EXPECT_TRUE(filesIn(tmp).empty());

        // A save of it fails and leaves the file as it was.
        prompts.choose(path(c.name));
        form1->Savedest1Click();
        ASSERT_EQ(prompts.messages().size(), 2u);
        EXPECT_EQ(prompts.messages()[1], QStringLiteral("Error saving file \"%1\".").arg(path(c.name)));
        EXPECT_EQ(readFile(c.name), c.bytes);
        closeWindows();
    }
}

TEST_F(CArraysCommands, LanguagesOfTheSameNameArePickedApart)
{
    // Two languages without names: were both picker items "", picking the
    // second would change no text and leave the first one's texts in the
    // destination column, to be saved as the second's.
    writeFile("unnamed.c", crlf({"const char *n[] = {", "\"\",  // 0", "\"\",  // 1", "};",
                                 "const char *t[] = {", "\"A\",  // 0", "\"B\",  // 1", "};"}));
    start();
    open(folder + "unnamed.c");
    EXPECT_EQ(items(form1->ComboBox2), (QStringList{"// 0", "// 1"}));
    chooseDest(1);
    EXPECT_EQ(cell(tcol::kDest, 1), "B");
    edit(1, "B2");
    prompts.choose(path("unnamed.c"));
    form1->Savedest1Click();
    TextGrid back;
    ASSERT_TRUE(readCArrays(folder + "unnamed.c", back));
    EXPECT_EQ(back.cell(1, 1), "A");
    EXPECT_EQ(back.cell(2, 1), "B2");
}

TEST_F(CArraysCommands, SavingWritesEveryLanguageWithABackupOfAnExistingTarget)
{
    struct Case {
        const char* target;
        bool backup;
    };
    for (const Case& c : {Case{"small.c", true}, Case{"sub/new.c", false}}) {
        SCOPED_TRACE(c.target);
        start();
        writeFile("small.c", kSmall);
        QDir().mkpath(path("sub"));
        open(folder + "small.c");
        chooseDest(1);
        edit(2, "Dva");
        QDir::setCurrent(QDir::tempPath());

        prompts.choose(path(c.target));
        form1->Savedest1Click();
        const auto saves = prompts.ofKind(Request::Save);
        ASSERT_EQ(saves.size(), 1u);
        EXPECT_EQ(saves[0].dialog.defaultExtension, "c");
        EXPECT_EQ(saves[0].dialog.filter, "C|*.c");
        EXPECT_EQ(saves[0].dialog.initialFolder, path("small.c"));
        EXPECT_EQ(saves[0].dialog.fileName, path("small.c"));
        EXPECT_TRUE(saves[0].dialog.promptCreate);
        EXPECT_EQ(QDir::currentPath() + "/", pathToQString(folder));
        EXPECT_TRUE(prompts.messages().empty());

        TextGrid back;
        ASSERT_TRUE(readCArrays(folder + c.target, back));
        EXPECT_EQ(back.cell(1, 0), "English");
        EXPECT_EQ(back.cell(2, 0), "\xC8" "e\x9Atina");
        EXPECT_EQ(back.cell(1, 2), "Two");
        EXPECT_EQ(back.cell(2, 1), "Jedna");
        EXPECT_EQ(back.cell(2, 2), "Dva");

        std::vector<std::string> backups;
        const std::string dir = folder + (c.backup ? "" : "sub/");
        for (const std::string& n : filesIn(dir))
            if (QFileInfo(QString::fromStdString(n)).suffix() == "bak") backups.push_back(dir + n);
        if (c.backup) {
            ASSERT_EQ(backups.size(), 1u);
            EXPECT_TRUE(QString::fromStdString(backups[0])
                            .contains(QRegularExpression("/small\\.c\\.[0-9.]*[0-9]\\.bak$")))
                << backups[0];
            EXPECT_EQ(testing::readBytes(backups[0]), kSmall);
        } else {
            EXPECT_TRUE(backups.empty());
        }
        closeWindows();
    }
}

// Names in the temporary folder that can be neither removed nor made (what
// other users' programs left there) do not stop a C file from opening; the
// template goes when its file is left, and the window's folder with it.
TEST_F(CArraysCommands, TemplatesLiveInAFolderOfTheWindowGoneWithIt)
{
    for (int n = 0; n <= 20; ++n) QDir().mkpath(pathToQString(tmp + "tmp" + std::to_string(n) + ".txt"));
    auto entries = [this] { return QDir(pathToQString(tmp)).entryList(QDir::NoDotAndDotDot | QDir::AllEntries); };
    const QStringList stale = entries();
    writeFile("small.c", kSmall);
    start();
    for (int round = 0; round < 12; ++round) {
        const std::string before = form1->destFile;
        open(folder + "small.c");
        ASSERT_TRUE(prompts.messages().empty()) << round;
        ASSERT_TRUE(fileExists(form1->destFile)) << round;
        if (round > 0) {
            EXPECT_FALSE(fileExists(before)) << "the template of the file left";
        }
    }
    const std::string own = form1->destFile.substr(0, form1->destFile.rfind('/'));
    closeWindows();
    EXPECT_FALSE(QFileInfo::exists(pathToQString(own)));
    EXPECT_EQ(entries(), stale);
}

TEST_F(CArraysCommands, FailedSaveLeavesTheTargetAndSaysSo)
{
    struct Case {
        const char* name;
        const char* target;  // relative to the program folder
        bool typeQuote;
        bool dropTemplate;
    };
    const Case cases[] = {
        {"a typed text that could not be read back", "small.c", true, false},
        {"the template is gone", "small.c", false, true},
        {"the target is a folder", "sub", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        start();
        writeFile("small.c", kSmall);
        QDir().mkpath(path("sub"));
        open(folder + "small.c");
        edit(1, c.typeQuote ? "say \"hi\"" : "Hi");
        if (c.dropTemplate) QFile::remove(pathToQString(form1->destFile));

        prompts.choose(path(c.target));
        form1->Savedest1Click();
        const auto shown = prompts.ofKind(Request::Message);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, QStringLiteral("Error saving file \"%1\".").arg(path(c.target)));
        EXPECT_EQ(shown[0].icon, MsgIcon::Error);
        EXPECT_EQ(shown[0].buttons, unsigned(Ok));
        EXPECT_EQ(readFile("small.c"), kSmall);
        EXPECT_TRUE(QFileInfo(path("sub")).isDir());
        // The typed text stays, as an edit not saved: closing asks about it.
        EXPECT_EQ(cell(tcol::kDest, 1), c.typeQuote ? "say \"hi\"" : "Hi");
        EXPECT_NE(doc().entry(0).stored, doc().entry(0).dest);
        prompts.press(Cancel);
        EXPECT_FALSE(form1->SaveDestPrompt());
        EXPECT_EQ(prompts.messages().back(), QStringLiteral("        Save destination file?"));
        closeWindows();
    }
}

}  // namespace
}  // namespace tov::test
