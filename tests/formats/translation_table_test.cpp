#include <gtest/gtest.h>

#include "formats/source_kind.h"
#include "formats/translation_table.h"

namespace tov {
namespace {

TEST(ExportTable, WritesBaseTabDestinationPerRow)
{
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> rows;
        std::string expected;
    };
    const Case cases[] = {
        {"header only gives an empty file", {}, ""},
        {"two empty texts give one TAB", {{"", ""}}, "\t\r\n"},
        {"nothing is escaped", {{"a\tb", "\"q\""}, {"x", ""}}, "a\tb\t\"q\"\r\nx\t\r\n"},
        {"bytes pass unchanged", {{"Zamknij", "\xAF\xF3\xB3w"}}, "Zamknij\t\xAF\xF3\xB3w\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TextGrid t(9, static_cast<int>(c.rows.size()) + 1);
        t.setCell(tcol::kBase, 0, "header is not exported");
        for (size_t i = 0; i < c.rows.size(); ++i) {
            t.setCell(tcol::kBase, static_cast<int>(i) + 1, c.rows[i].first);
            t.setCell(tcol::kDest, static_cast<int>(i) + 1, c.rows[i].second);
            t.setCell(tcol::kComment, static_cast<int>(i) + 1, "comments are not exported");
        }
        std::string out;
        ASSERT_TRUE(exportTable(t, out));
        EXPECT_EQ(out, c.expected);
    }
}

TEST(ExportTable, RefusesMoreRowsThanTheTableHolds)
{
    TextGrid t(9, 65537);
    std::string out = "old";
    EXPECT_FALSE(exportTable(t, out));
    EXPECT_TRUE(out.empty());
    t.setRowCount(65536);
    EXPECT_TRUE(exportTable(t, out));
    EXPECT_EQ(out.size(), 65535u * 3);
}

}  // namespace
}  // namespace tov
