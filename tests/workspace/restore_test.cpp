// The start-up restore: the base and destination of the last run reopened
// from the settings file, by the reader of the stored kind, and the grid put
// back at the stored rows. The program folder is a copy of the demo folder.
#include <QDir>
#include <filesystem>

#include "formats/source_kind.h"
#include "tests/workspace/workspace_fixture.h"

namespace tov::test {
namespace {

class Restore : public WorkspaceTest {
protected:
    void SetUp() override
    {
        WorkspaceTest::SetUp();
        std::filesystem::copy(TOVRANA_DEMO_SOURCE_DIR, folder, std::filesystem::copy_options::recursive);
    }
    // Starts with `files` as the [files] section of the settings file.
    void startWith(const std::string& files)
    {
        writeFile("tovrana.ini", "[files]\r\n" + files);
        start();
    }
    StringGrid& grid() { return *form1->SG1; }
};

TEST_F(Restore, ResourceStrings)
{
    struct Case {
        const char* name;
        const char* files;
        int rows;      // translation table rows after the restore; 0: not refreshed
        bool base;     // base texts read
        bool dest;     // destination texts read
        int row, top;  // grid position when refreshed
    };
    const Case cases[] = {
        {"first start: no kind", "bfile=./base/Konfix_en.drc\r\n", 0, false, false, 0, 0},
        {"kind 1 needs Konfix in the name", "fm=1\r\nbfile=./base/Vigrex_en.drc\r\n", 0, false, false, 0, 0},
        {"kind 2 needs Vigrex in the name", "fm=2\r\nbfile=./base/Konfix_en.drc\r\n", 0, false, false, 0, 0},
        {"kind 4 with an empty dfile", "fm=4\r\nbfile=./base/Konfi10_en.drc\r\ndfile=\r\ncc=5\r\ntr=3\r\n", 27, true,
         false, 5, 3},
        {"kind 1 with both files",
         "fm=1\r\nbfile=./base/Konfix_en.drc\r\ndfile=./dest/Konfix_pl.drc\r\ncc=0\r\ntr=0\r\n", 34, true, true, 1, 1},
        {"a stored row beyond the table", "fm=255\r\nbfile=./base/Konfix_en.drc\r\ncc=120\r\ntr=120\r\n", 34, true,
         false, 1, 1},
        {"an unknown kind reads resource strings", "fm=7\r\nbfile=./base/Vigrex_en.drc\r\ncc=30\r\n", 30, true,
         false, 1, 1},
        {"a missing base file: no row, the stored row is beyond the table",
         "fm=1\r\nbfile=./base/Konfix_xx.drc\r\ncc=3\r\n", 2, false, false, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompts = ScriptedPrompts();
        startWith(c.files);
        EXPECT_TRUE(prompts.requests.empty());
        const bool refreshed = c.rows > 0;
        // The names are taken as stored, against the program folder, once
        // a kind was stored.
        const std::string bfile = setting("bfile");
        EXPECT_EQ(form1->baseFile, setting("fm").empty() ? "" : folder + bfile.substr(2));
        EXPECT_EQ(form1->Panel4->text().toStdString(), refreshed ? bfile.substr(bfile.rfind('/') + 1) : "");
        EXPECT_EQ(cell(tcol::kNumber, 0), refreshed ? "No." : "");
        if (refreshed) {
            EXPECT_EQ(form1->SG1->rowCount(), c.rows);
            EXPECT_EQ(!cell(tcol::kBase, 1).empty(), c.base);
            EXPECT_EQ(!cell(tcol::kDest, 1).empty(), c.dest);
            EXPECT_EQ(grid().row(), c.row);
            EXPECT_EQ(grid().col(), tcol::kBase);
            EXPECT_EQ(grid().topRow(), c.top);
            EXPECT_EQ(form1->focusWidget(), form1->SG1);
        } else {
            EXPECT_EQ(work().rowCount(), 5);
        }
        form2.reset();
        form1.reset();
    }

    // A file that cannot be read is reported as the open commands report it.
    prompts = ScriptedPrompts();
    writeFile("base/Konfix_broken.drc", "no string table here\r\n");
    startWith("fm=1\r\nbfile=./base/Konfix_broken.drc\r\n");
    EXPECT_EQ(prompts.messages(), std::vector<QString>{QStringLiteral("        Error reading file!       ")});
    EXPECT_EQ(cell(tcol::kNumber, 0), "No.");
}

TEST_F(Restore, FirmwareThroughTheOrvantaAndTelmoOpeners)
{
    // One more line in a destination file of a QL5 set: only the Orvanta
    // destination opener checks the line counts.
    writeFile("QL5/POL/LCD_MENU.POL", readFile("QL5/POL/LCD_MENU.POL") + "; one line more\r\n");
    struct Case {
        const char* name;
        const char* files;
        bool lineCountFailure;
    };
    const Case cases[] = {
        {"kind 10 with both files", "fm=10\r\nbfile=./QL10/ENG/LCD_1.ENG\r\ndfile=./QL10/POL/LCD_1.POL\r\n", false},
        {"kind 5 fails the line-count check",
         "fm=5\r\nbfile=./QL5/ENG/LCD_IDLE.ENG\r\ndfile=./QL5/POL/LCD_IDLE.POL\r\n", true},
        {"kind 15 with both files", "fm=15\r\nbfile=./TELMO/ENG/Telmo.ENG\r\ndfile=./TELMO/POL/Telmo.POL\r\n", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompts = ScriptedPrompts();
        startWith(c.files);
        EXPECT_EQ(prompts.terminated, c.lineCountFailure);
        EXPECT_FALSE(cell(tcol::kBase, 1).empty());
        if (c.lineCountFailure) {
            ASSERT_EQ(prompts.messages().size(), 1u);
            EXPECT_EQ(setting("dfile"), "");
            EXPECT_EQ(form1->destFile, "");
        } else {
            EXPECT_TRUE(prompts.requests.empty());
            EXPECT_FALSE(cell(tcol::kDest, 1).empty());
            EXPECT_EQ(form1->Panel3->text().toStdString(), setting("dfile").substr(setting("dfile").rfind('/') + 1));
        }
        EXPECT_EQ(cell(tcol::kComment, 0), "comment");
        form2.reset();
        form1.reset();
    }
}

TEST_F(Restore, MenuIniWithItsLanguages)
{
    startWith("fm=16\r\nbfile=./menu.ini\r\nl1=2\r\nl2=1\r\n");
    EXPECT_TRUE(prompts.requests.empty());
    EXPECT_EQ(form1->ComboBox1->currentText(), QStringLiteral("Deutsch"));
    EXPECT_EQ(form1->ComboBox2->currentText(), QStringLiteral("Polski"));
    EXPECT_EQ(cell(tcol::kBase, 1), "&Datei");
    EXPECT_EQ(grid().col(), tcol::kBase);
}

TEST_F(Restore, CArraysWithTheirLanguagesOrNothing)
{
    startWith("fm=17\r\nbfile=./texts.c\r\ndfile=./stale.txt\r\nc1=2\r\nc2=1\r\ncc=3\r\n");
    EXPECT_TRUE(prompts.requests.empty());
    EXPECT_EQ(form1->ComboBox1->currentText(), QStringLiteral("Deutsch"));
    EXPECT_EQ(form1->ComboBox2->currentText(), QStringLiteral("Polski"));
    EXPECT_EQ(form1->SG1->rowCount(), work().rowCount());
    EXPECT_EQ(cell(tcol::kNumber, 2), work().cell(0, 2));
    EXPECT_EQ(cell(tcol::kBase, 1), "Willkommen");
    EXPECT_EQ(cell(tcol::kDest, 1), "Witamy");
    // The stored destination gives way to the template made at opening.
    EXPECT_NE(form1->destFile, folder + "stale.txt");
    EXPECT_FALSE(form1->destFile.empty());
    // The opening ends the restore: the grid position is not applied.
    EXPECT_NE(grid().row(), 3);
    form2.reset();
    form1.reset();

    // A missing file asks for nothing; the grid position still applies, to
    // a table without rows.
    prompts = ScriptedPrompts();
    startWith("fm=17\r\nbfile=./none.c\r\ncc=1\r\n");
    EXPECT_TRUE(prompts.requests.empty());
    EXPECT_EQ(form1->ComboBox1->count(), 0);
    EXPECT_EQ(form1->SG1->rowCount(), 2);
    EXPECT_EQ(grid().row(), 1);
    EXPECT_EQ(grid().col(), tcol::kBase);
}

TEST_F(Restore, DemoOpensOnItsKonfixFilesFromAnyCurrentFolder)
{
    // The demo's own settings file, with the process in another folder.
    testing::TempFolder elsewhere;
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(pathToQString(elsewhere.path())));
    start();
    QDir::setCurrent(previous);
    EXPECT_TRUE(prompts.requests.empty());
    EXPECT_EQ(form1->Panel4->text(), QStringLiteral("Konfix_en.drc"));
    EXPECT_EQ(form1->Panel3->text(), QStringLiteral("Konfix_pl.drc"));
    EXPECT_EQ(form1->SG1->rowCount(), 34);
    EXPECT_FALSE(cell(tcol::kDest, 1).empty());
    // Closing stores the names relative to the program folder again.
    prompts.press(Yes);
    ASSERT_TRUE(form1->FormClose());
    EXPECT_EQ(setting("bfile"), "./base/Konfix_en.drc");
    EXPECT_EQ(setting("dfile"), "./dest/Konfix_pl.drc");
}

TEST_F(Restore, AFileNamedAtStartOpensAsItsKindWithoutADialog)
{
    struct Case {
        const char* file;
        std::uint8_t kind;
        int rows;
    };
    const Case cases[] = {
        {"base/Vigrex_en.drc", kVigrex, 30},
        {"base/Konfix_en.drc", kKonfix, 34},
        {"ORVANTA/ENG/EDIT.ENG", kOrvanta, 0},
        {"TELMO/ENG/Telmo.ENG", kTelmo, 0},
        {"menu.ini", kMenuIni, 0},
        {"texts.c", kCArrays, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        prompts = ScriptedPrompts();
        // After a session of another kind, with its destination.
        startWith("fm=17\r\nbfile=./texts.c\r\n");
        form1->OpenBaseCommand(c.kind, folder + c.file);
        EXPECT_TRUE(prompts.requests.empty());
        EXPECT_EQ(form1->sourceKind, c.kind);
        EXPECT_EQ(form1->baseFile, folder + c.file);
        const std::string name = std::string(c.file).substr(std::string(c.file).rfind('/') + 1);
        if (isResourceStringKind(c.kind) || isFirmwareKind(c.kind)) {
            EXPECT_EQ(form1->Panel4->text().toStdString(), name);
        }
        EXPECT_FALSE(cell(tcol::kBase, 1).empty());
        if (c.rows > 0) {
            EXPECT_EQ(form1->SG1->rowCount(), c.rows);
            EXPECT_TRUE(cell(tcol::kDest, 1).empty());  // the C file's destination is gone
        }
        form2.reset();
        form1.reset();
    }
}

}  // namespace
}  // namespace tov::test
