// The sample files of the demo program folder.
#include <string>

#include <gtest/gtest.h>

#include "formats/resource_strings/drc_file.h"
#include "formats/resource_strings/drc_test_util.h"

namespace tov {
namespace {

const std::string kDemo = TOVRANA_DEMO_SOURCE_DIR;

TEST(DrcDemo, BaseFilesRead)
{
    struct Case {
        const char* file;
        int entries;
        int row;
        const char* id;
        const char* text;
    };
    const Case cases[] = {
        {"base/Konfix_en.drc", 33, 16, "KfxFile_RsBadFormat", "The file \"%s\" is not a Konfix configuration."},
        {"base/Konfix_en.drc", 33, 30, "KfxAbout_RsCopyright", "(C) Termalis sp. z o.o., \xA3\xF3" "d\x9F"},
        {"base/Vigrex_en.drc", 29, 17, "VgxSearch_RsTitle", "Motion search"},  // first of the second block
        {"base/Konfi10_en.drc", 26, 1, "K10Main_RsCaption", "Konfi10 - installation wizard"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string bytes = testing::readBytes(kDemo + "/" + c.file);
        EXPECT_EQ(bytes.find('\n'), bytes.find("\r\n") + 1) << "CR LF line ends";
        TextGrid g(11, 1);
        ASSERT_TRUE(ReadDrcBase(kDemo + "/" + c.file, g));
        EXPECT_EQ(g.rowCount(), c.entries + 1);
        EXPECT_EQ(g.cell(0, c.row), c.id);
        EXPECT_EQ(g.cell(1, c.row), c.text);
    }
}

TEST(DrcDemo, PolishDestinationIsPartlyTranslated)
{
    TextGrid g(11, 1);
    ASSERT_TRUE(ReadDrcBase(kDemo + "/base/Konfix_en.drc", g));
    ASSERT_TRUE(ReadDrcColumn(2, kDemo + "/dest/Konfix_pl.drc", g));
    EXPECT_EQ(g.rowCount(), 34) << "the unused identifier of the destination adds no row";
    int translated = 0;
    for (int r = 1; r < g.rowCount(); ++r) translated += !g.cell(2, r).empty();
    EXPECT_EQ(translated, 28);  // 3 identifiers missing, 2 texts empty
    EXPECT_EQ(g.cell(2, 3), "\xA3\xB9" "czenie z %s...");
    EXPECT_EQ(g.cell(2, 16), "Plik \"%s\" nie jest konfiguracj\xB9 programu Konfix.");
    EXPECT_EQ(g.cell(0, 25), "KfxZone_RsCopyDay");
    EXPECT_EQ(g.cell(2, 25), "");

    // The destination is laid out as the program saves it.
    TextGrid dest(11, 1);
    ASSERT_TRUE(ReadDrcBase(kDemo + "/dest/Konfix_pl.drc", dest));
    EXPECT_EQ(FormatDrc(1, dest), testing::readBytes(kDemo + "/dest/Konfix_pl.drc"));
}

}  // namespace
}  // namespace tov
