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
             prompts.choose(path("QL5/ENG/LCD_MENU.ENG"));
             form1->QL5firmware1Click();
             prompts.choose(path("QL5/POL/LCD_IDLE.POL"));
             form1->Usefile1Click();
         },
         {"export", "--kind", "ql5", "QL5/ENG/LCD_MENU.ENG", "QL5/POL/LCD_IDLE.POL"}},
        {"menu INI",
         [&](WorkspaceTest&) {
             form1->settings().setFile("l1", "2");
             form1->settings().setFile("l2", "1");
             prompts.choose(path("menu.ini"));
             form1->INIfile1Click();
         },
         {"export", "--kind", "menu-ini", "menu.ini", "--base-lang", "Deutsch", "--dest-lang", "Polski"}},
        {"C string arrays",
         [&](WorkspaceTest&) {
             form1->settings().setFile("c1", "2");
             form1->settings().setFile("c2", "1");
             prompts.choose(path("texts.c"));
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
        prompts.choose(path("window.txt"));
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

// A QL5 set whose destination texts are shorter and longer than their base:
// the window holds every text at its base's length from the moment it is
// read, so its export does not depend on which rows were painted, and it
// is the tool's; the window's save writes what the tool's import of that
// export writes.
TEST_F(CliExport, FirmwareTextsOfOtherLengthsExportAndSaveAsTheToolDoes)
{
    std::filesystem::copy(TOVRANA_DEMO_SOURCE_DIR, folder, std::filesystem::copy_options::recursive);
    std::filesystem::remove(ini);
    std::string pol = readFile("QL5/POL/LCD_IDLE.POL");
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"\"Gotowy          \"", "\"Gotowy\""},
                                   {"\"Grzanie         \"", "\"Grzanie - uwaga, gor\xB9\"\""}}) {
        const size_t at = pol.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        pol.replace(at, from.size(), to);
    }
    writeFile("QL5/POL/LCD_IDLE.POL", pol);
    start();
    prompts.choose(path("QL5/ENG/LCD_IDLE.ENG"));
    form1->QL5firmware1Click();
    prompts.choose(path("QL5/POL/LCD_IDLE.POL"));
    form1->Usefile1Click();
    auto exported = [&](const char* name) {
        prompts.choose(path(name));
        form1->Exporttotextfile1Click();
        return readFile(name);
    };
    // Before the rows were ever painted, and after every one was.
    const std::string before = exported("before.txt");
    settle();
    form1->SG1->grab();
    settle();
    EXPECT_EQ(exported("after.txt"), before);
    EXPECT_NE(before.find("Ready           \tGotowy          \r\n"), std::string::npos);
    EXPECT_NE(before.find("Heating         \tGrzanie - uwaga,\r\n"), std::string::npos);
    const clitest::Result tool =
        clitest::runCli(folder, {"export", "--kind", "ql5", "QL5/ENG/LCD_IDLE.ENG", "QL5/POL/LCD_IDLE.POL"});
    EXPECT_EQ(tool.status, 0) << tool.err;
    EXPECT_EQ(tool.out, before);

    QDir().mkpath(path("QL5/WIN"));
    QDir().mkpath(path("QL5/CLI"));
    prompts.choose(path("QL5/WIN/LCD_IDLE.CZE"));
    form1->Savedest1Click();
    writeFile("t.tsv", before);
    const clitest::Result imported = clitest::runCli(
        folder, {"import", "--kind", "ql5", "QL5/ENG/LCD_IDLE.ENG", "t.tsv", "QL5/POL/LCD_IDLE.POL", "-o",
                 "QL5/CLI/LCD_IDLE.CZE"});
    EXPECT_EQ(imported.status, 0) << imported.err;
    for (const char* name : {"LCD_IDLE.CZE", "LCD_MENU.CZE"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(readFile(std::string("QL5/WIN/") + name).empty());
        EXPECT_EQ(readFile(std::string("QL5/WIN/") + name), readFile(std::string("QL5/CLI/") + name));
    }
    EXPECT_TRUE(prompts.messages().empty());
}

}  // namespace
}  // namespace tov::test
