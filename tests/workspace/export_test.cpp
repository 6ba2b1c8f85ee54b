// File > "Export to text file": the translation table as it stands, one line
// per row, base text, TAB, destination text, CR LF.
#include "formats/source_kind.h"
#include "tests/workspace/workspace_fixture.h"

namespace tov::test {
namespace {

using Export = WorkspaceTest;

TEST_F(Export, WritesTheTableByteForByte)
{
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> rows;  // rows 1..
        std::string bytes;
    };
    const Case cases[] = {
        {"only the header row", {}, ""},
        {"two empty texts", {{"", ""}}, "\t\r\n"},
        {"TABs and Windows-1250 bytes as they are",
         {{"Name\tvalue", "Nazwa\t\xBF\xF3\xB3\xE6"}, {"\"quoted\"", ""}, {"", "\xA5\xCA"}},
         "Name\tvalue\tNazwa\t\xBF\xF3\xB3\xE6\r\n\"quoted\"\t\r\n\t\xA5\xCA\r\n"},
    };
    start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Entry> rows;
        for (const auto& [base, dest] : c.rows) {
            Entry e;
            e.base = base;
            e.dest = dest;
            e.destComment = "not exported";
            rows.push_back(e);
        }
        form1->showRows(kOrvanta, rows);
        // The same name every time: an existing file is replaced without a question.
        prompts.choose(path("out.txt"));
        form1->Exporttotextfile1->trigger();
        EXPECT_EQ(readFile("out.txt"), c.bytes);
    }
    ASSERT_EQ(prompts.requests.size(), 3u);
    for (const Request& r : prompts.requests) {
        EXPECT_EQ(r.kind, Request::Save);
        EXPECT_EQ(r.dialog.filter, QStringLiteral("text|*.txt"));
        EXPECT_EQ(r.dialog.defaultExtension, QStringLiteral("*.txt"));
    }
}

TEST_F(Export, AFailedWriteIsReportedAndCancelWritesNothing)
{
    start();
    prompts.cancel();
    form1->Exporttotextfile1Click();
    prompts.choose(path("missing/out.txt"));
    form1->Exporttotextfile1Click();
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(prompts.messages()[0], pathToQString("Error saving file \"" + folder + "missing/out.txt\"."));
    EXPECT_EQ(prompts.ofKind(Request::Message)[0].icon, MsgIcon::Error);
}

}  // namespace
}  // namespace tov::test
