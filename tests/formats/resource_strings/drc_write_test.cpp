#include <string>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "formats/resource_strings/drc_file.h"
#include "formats/resource_strings/drc_test_util.h"
#include "formats/resource_strings/quotes.h"
#include "tests/support/fault_injection.h"

namespace tov {
namespace {

using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;

TextGrid table(const std::vector<std::pair<std::string, std::string>>& rows)
{
    TextGrid g(11, static_cast<int>(rows.size()) + 1);
    for (size_t i = 0; i < rows.size(); ++i) {
        g.setCell(0, static_cast<int>(i) + 1, rows[i].first);
        g.setCell(2, static_cast<int>(i) + 1, rows[i].second);
    }
    return g;
}

TEST(QuoteRoutines, Rules)
{
    struct Case {
        std::string (*fn)(std::string_view);
        std::string in, out;
    };
    const Case cases[] = {
        {UnescapeQuotes, "a\\\"b", "a\"b"},
        {UnescapeQuotes, "a\\\\\\\"b\\\"", "a\"b\""},  // a whole run before a quote goes
        {UnescapeQuotes, "\\\\x\\", "\\\\x\\"},         // backslashes elsewhere stay
        {EscapeQuotes, "x\\\"y\"", "x\\\\\"y\\\""},     // backslashes are not doubled
        {UnescapeApostrophes, "it''s '''' a'", "it's ' a'"},
        {EscapeApostrophes, "it's ''", "it''s ''''"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.fn(c.in), c.out) << c.in;
    // Unescaping in place gives what UnescapeQuotes gives.
    for (const auto& c : cases) {
        if (c.fn != UnescapeQuotes) continue;
        std::string bytes = c.in;
        EXPECT_EQ(bytes.substr(0, UnescapeQuotesInPlace(bytes.data(), bytes.size())), c.out) << c.in;
    }
}

TEST(WriteDrc, ExactBytes)
{
    const std::string id40(40, 'K');
    // A row without identifier is no entry (a base without entries leaves such rows).
    const TextGrid g = table({{"abc", "Open \"x\" c:\\y"}, {id40, ""}, {"", "lost"}, {"D", "\xA0"}});
    const std::string expected =
        " STRINGTABLE\r\n  BEGIN\r\n"
        "      abc," + std::string(40, ' ') + "\"Open \\\"x\\\" c:\\y\"\r\n"
        "      " + id40 + ",       \"\"\r\n"
        "      D," + std::string(42, ' ') + "\"\xA0\"\r\n"
        "  \r\n END\r\n";
    TempFolder dir;
    ASSERT_TRUE(WriteDrc(2, dir / "d.drc", g));
    EXPECT_EQ(readBytes(dir / "d.drc"), expected);

    const size_t headSize = std::string(" STRINGTABLE\r\n  BEGIN\r\n").size();
    for (const int len : {3, 36, 37, 40}) {
        const std::string line = FormatDrc(2, table({{std::string(len, 'i'), "t"}})).substr(headSize);
        EXPECT_EQ(line.find('"') + 1, len <= 36 ? 51u : 15u + len) << len;
    }
    EXPECT_EQ(FormatDrc(2, TextGrid(11, 0)), " STRINGTABLE\r\n  BEGIN\r\n  \r\n END\r\n");
    EXPECT_EQ(FormatDrc(1, table({{"a", "dest"}})), FormatDrc(2, table({{"a", ""}})));
}

TEST(WriteDrc, ReadsBack)
{
    TempFolder dir;
    const TextGrid g = table({{"A", "x\\\"y"}, {"B", "a\xA0" "b"}, {"C", "say \"hi\""}, {"D", "\\n "}});
    ASSERT_TRUE(WriteDrc(2, dir / "d.drc", g));
    TextGrid back(11, 1);
    ASSERT_TRUE(ReadDrcBase(dir / "d.drc", back));
    ASSERT_EQ(back.rowCount(), 5);
    EXPECT_EQ(back.cell(1, 1), "x\"y");  // the backslash before a quote is lost
    EXPECT_EQ(back.cell(1, 2), "a\xA0" "b");
    EXPECT_EQ(back.cell(1, 3), "say \"hi\"");
    EXPECT_EQ(back.cell(1, 4), "\\n ");
    ASSERT_TRUE(ReadDrcColumn(2, dir / "d.drc", back));
    EXPECT_EQ(back.cell(2, 2), "a b");  // the column reader turns no-break spaces into blanks
}

TEST(WriteDrc, LimitsLeaveTheFileUntouched)
{
    TempFolder dir;
    const std::string path = (dir / "d.drc");
    writeBytes(path, "previous");

    TextGrid big(11, 65537);
    EXPECT_FALSE(WriteDrc(2, path, big));
    big.setRowCount(65536);
    EXPECT_TRUE(WriteDrc(2, path, big));
    writeBytes(path, "previous");

    TextGrid longText = table({{"A", std::string(65535, 'x')}});
    EXPECT_TRUE(WriteDrc(2, dir / "ok.drc", longText));
    longText.setCell(2, 1, std::string(65536, 'x'));
    const WriteResult r = WriteDrc(2, path, longText);
    EXPECT_FALSE(r);
    EXPECT_FALSE(r.error.empty());
    EXPECT_EQ(readBytes(path), "previous");

    // The longest identifier whose line still reads back.
    TextGrid longId = table({{std::string(65526, 'i'), "t"}});
    ASSERT_TRUE(WriteDrc(2, dir / "id.drc", longId));
    TextGrid back(11, 1);
    EXPECT_TRUE(ReadDrcBase(dir / "id.drc", back));
    longId.setCell(0, 1, std::string(65527, 'i'));
    EXPECT_FALSE(WriteDrc(2, path, longId));
    EXPECT_EQ(readBytes(path), "previous");
}

TEST(WriteDrc, ReadOnlyFolderLeavesTheFileUntouched)
{
    TempFolder dir;
    const std::string path = (dir / "d.drc");
    writeBytes(path, "previous");
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
    {
        testing::WithoutFileOverride unprivileged;
        EXPECT_FALSE(WriteDrc(2, path, table({{"A", "n"}})));
    }
    EXPECT_EQ(readBytes(path), "previous");
}

TEST(WriteDrc, FullDiskLeavesTheFileUntouched)
{
    TempFolder dir;
    const std::string path = (dir / "d.drc");
    const std::string previous = " STRINGTABLE\r\n  BEGIN\r\n      A,  \"old\"\r\n  \r\n END\r\n";
    writeBytes(path, previous);
    {
        // Every write beyond 100 bytes fails with EFBIG, as on a full disk.
        testing::FileSizeLimit full(100);
        EXPECT_FALSE(WriteDrc(2, path, table({{"A", std::string(1000, 'n')}})));
    }
    EXPECT_EQ(readBytes(path), previous);
}

}  // namespace
}  // namespace tov
