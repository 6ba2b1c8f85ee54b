// The command-line tool's export against the window's: the same files opened
// in the window and exported with File > "Export to text file" give the bytes
// the tool writes.
#include <filesystem>
#include <functional>

#include "formats/source_kind.h"
#include "tests/cli/cli_run.h"
#include "tests/workspace/workspace_fixture.h"

namespace tov::test {
namespace {

using CliExport = WorkspaceTest;

// File > Open base text > "Konfix" and File > "Open destination".
void openDrcInWindow(TForm1& f, ScriptedPrompts& prompts, const std::string& base, const std::string& dest)
{
    prompts.choose(pathToQString(base));
    f.Konfix1Click();
    prompts.choose(pathToQString(dest));
    f.OpenDest1Click();
}

TEST_F(CliExport, SameBytesAsTheWindowsTable)
{
    std::filesystem::copy(TOVRANA_DEMO_SOURCE_DIR, folder, std::filesystem::copy_options::recursive);
    std::filesystem::remove(ini);  // no restore of the demo's last files
    const std::string corpus = std::string(TOVRANA_CORPUS_DIR) + "/drc/";
    struct Case {
        const char* name;
        std::function<void(WorkspaceTest&)> open;
        std::vector<std::string> args;
    };
    const std::vector<Case> cases = {
        {"resource strings",
         [&](WorkspaceTest&) {
             openDrcInWindow(*form1, prompts, folder + "base/Konfix_en.drc", folder + "dest/Konfix_pl.drc");
         },
         {"export", "--kind", "drc", "base/Konfix_en.drc", "dest/Konfix_pl.drc"}},
        {"corpus resource strings",
         [&](WorkspaceTest&) {
             openDrcInWindow(*form1, prompts, corpus + "dmvc_AuthenticateAuthorize_VER240_de.drc",
                             corpus + "dmvc_LuaTestTests_VER230.drc");
         },
         {"export", "--kind", "drc", corpus + "dmvc_AuthenticateAuthorize_VER240_de.drc",
          corpus + "dmvc_LuaTestTests_VER230.drc"}},
        {"firmware",
         [&](WorkspaceTest&) {
             prompts.choose(pathToQString(folder + "QL5/ENG/LCD_MENU.ENG"));
             form1->QL5firmware1Click();
             prompts.choose(pathToQString(folder + "QL5/POL/LCD_IDLE.POL"));
             form1->Usefile1Click();
         },
         {"export", "--kind", "ql5", "QL5/ENG/LCD_MENU.ENG", "QL5/POL/LCD_IDLE.POL"}},
        {"menu INI",
         [&](WorkspaceTest&) {
             form1->settings().setFile("l1", "2");
             form1->settings().setFile("l2", "1");
             prompts.choose(pathToQString(folder + "menu.ini"));
             form1->INIfile1Click();
         },
         {"export", "--kind", "menu-ini", "menu.ini", "--base-lang", "Deutsch", "--dest-lang", "Polski"}},
        {"C string arrays",
         [&](WorkspaceTest&) {
             form1->settings().setFile("c1", "2");
             form1->settings().setFile("c2", "1");
             prompts.choose(pathToQString(folder + "texts.c"));
             form1->FileC1Click();
         },
         {"export", "--kind", "c", "texts.c", "--base-lang", "Deutsch", "--dest-lang", "Polski"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompts = ScriptedPrompts();
        start();
        c.open(*this);
        settle();
        // Only the open dialogs were shown: no message about the files.
        for (const Request& r : prompts.requests) EXPECT_EQ(r.kind, Request::Open);
        // The window's own command writes the file compared.
        prompts.choose(pathToQString(folder + "window.txt"));
        form1->Exporttotextfile1Click();
        const std::string window = readFile("window.txt");
        const clitest::Result tool = clitest::runCli(folder, c.args);
        EXPECT_EQ(tool.status, 0) << tool.err;
        EXPECT_GT(window.size(), 0u);
        EXPECT_EQ(tool.out, window);
        EXPECT_TRUE(prompts.messages().empty());
        form2.reset();
        form1.reset();
    }
}

}  // namespace
}  // namespace tov::test
