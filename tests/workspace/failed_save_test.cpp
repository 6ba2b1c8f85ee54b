// A save that cannot write its file, in every kind, through the window's
// commands: the error is shown, the file stays, the typed text stays as an
// edit, and closing the window asks the save question again.
#include <QDir>
#include <QTest>
#include <functional>

#include "formats/source_kind.h"
#include "support/text_file.h"
#include "tests/support/file_size_limit.h"
#include "tests/workspace/save_fixture.h"

namespace tov::test {
namespace {

class FailedSave : public SaveTest {};

TEST_F(FailedSave, EditsStayUnsavedAndClosingAsksAgain)
{
    struct Case {
        const char* name;
        std::function<void()> open;  // writes the files and opens them
        std::string saveAs;                     // answer to the save dialog; empty: none shown
        std::string file;                       // the file the save would replace
        QString error;                          // the message shown
    };
    const std::vector<Case> cases = {
        {"resource strings",
         [this] {
             writeFile("base/Konfix_en.drc", "STRINGTABLE\r\nBEGIN\r\nA, \"alpha\"\r\nEND\r\n");
             writeFile("dest/Konfix_pl.drc", "STRINGTABLE\r\nBEGIN\r\nA, \"alfa\"\r\nEND\r\n");
             prompts.choose(path("base/Konfix_en.drc"));
             form1->Konfix1Click();
             prompts.choose(path("dest/Konfix_pl.drc"));
             form1->OpenDest1Click();
         },
         "dest/Konfix_pl.drc", "dest/Konfix_pl.drc", "Error saving file \"%1\"."},
        {"firmware",
         [this] {
             writeFile("QL5/ENG/LCD_IDLE.ENG", "L1 DB 'alpha'\r\n");
             writeFile("QL5/POL/LCD_IDLE.POL", "L1 DB 'alfa '\r\n");
             prompts.choose(path("QL5/ENG/LCD_IDLE.ENG"));
             form1->QL5firmware1Click();
             prompts.choose(path("QL5/POL/LCD_IDLE.POL"));
             form1->OpenDEST_QL5("");
         },
         "QL5/POL/LCD_IDLE.POL", "QL5/POL/LCD_IDLE.POL", "Error saving file \"%1\"."},
        {"menu INI",
         [this] {
             writeFile("menu.ini", "[LANGUAGES]\r\n[English]\r\n1=alpha\r\n[Polski]\r\n1=alfa\r\n");
             Settings(ini).setFile("l2", "1");
             prompts.choose(path("menu.ini"));
             form1->INIfile1Click();
         },
         "", "menu.ini", "Unable to write to %1"},
        {"C string arrays",
         [this] {
             writeFile("t.c", "const char *n[] = {\r\n\"English\", // 0\r\n\"Polski\", // 1\r\n};\r\n"
                                "const char *t[] = {\r\n\"alpha\", // 0\r\n\"alfa\", // 1\r\n};\r\n");
             Settings(ini).setFile("c2", "1");
             prompts.choose(path("t.c"));
             form1->FileC1Click();
         },
         "t.c", "t.c", "Error saving file \"%1\"."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        start();
        c.open();
        ASSERT_EQ(cell(tcol::kDest, 1).substr(0, 4), "alfa");
        ASSERT_TRUE(prompts.allAnswered());
        prompts.requests.clear();
        const std::string before = readFile(c.file);

        // Typed in the destination cell, saved with Ctrl+S on a full disk.
        form1->activateWindow();
        form1->SG1->setFocus();
        ASSERT_TRUE(form1->SG1->setCurrentCell(tcol::kDest, 1));
        ASSERT_TRUE(form1->SG1->showEditor());
        form1->SG1->editor()->selectAll();
        QTest::keyClicks(form1->SG1->editor(), "nowa ");
        if (!c.saveAs.empty()) prompts.choose(path(c.saveAs));
        {
            const testing::FileSizeLimit full(1);
            QTest::keyClick(form1->SG1->editor(), Qt::Key_S, Qt::ControlModifier);
        }
        settle();
        ASSERT_EQ(prompts.messages().size(), 1u);
        EXPECT_EQ(prompts.messages()[0], c.error.arg(path(c.file)));
        EXPECT_EQ(readFile(c.file), before);
        EXPECT_EQ(cell(tcol::kDest, 1), "nowa ");

        // Closing asks about the edit; Cancel keeps the window open.
        prompts.press(Cancel);
        form1->close();
        ASSERT_EQ(prompts.messages().size(), 2u);
        EXPECT_EQ(prompts.messages()[1], QStringLiteral("        Save destination file?"));
        EXPECT_TRUE(form1->isVisible());
        EXPECT_TRUE(prompts.allAnswered());
        TearDown();
        prompts = ScriptedPrompts();
    }
}

}  // namespace
}  // namespace tov::test
