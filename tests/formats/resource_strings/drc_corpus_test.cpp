// Real resource-string files and resource scripts written by others: every one
// reads, and what the writer makes of it reads back the same.
#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "formats/resource_strings/drc_file.h"
#include "formats/resource_strings/drc_test_util.h"

namespace tov {
namespace {

// Entries per file, counted by hand from the files' entry lines.
const std::map<std::string, int> kEntries = {
    {"devcpp.drc", 448},
    {"dmvc_AuthenticateAuthorize_VER240_de.drc", 637},
    {"dmvc_LuaTestTests_VER230.drc", 498},
    {"dmvc_WebClientSample_VER310_lf.drc", 1002},
    {"heidisql_DCLSer_empty.drc", 0},
    {"jcl_JclProjectAnalysisExpert.drc", 8},
    {"pyscripter_PyScripter_trunk.drc", 956},
    {"pyscripter_PyScripter_v1992.drc", 1029},
    {"devcpp_DefaultFiles.rc", 308},
    {"lilypad_Ja.rc", 13},
    {"lilypad_Pt.rc", 26},
};

// What a base read gives never falls under the writer's exceptions (a text
// holding a backslash before a double quote, an identifier with a comma, blanks
// at its ends or a double quote): these files all come back whole.
TEST(DrcCorpus, EveryFileReadsAndRoundTrips)
{
    std::vector<std::filesystem::path> files;
    for (const char* sub : {"drc", "rc"}) {
        for (const auto& e : std::filesystem::directory_iterator(std::string(TOVRANA_CORPUS_DIR) + "/" + sub))
            files.push_back(e.path());
    }
    ASSERT_EQ(files.size(), kEntries.size());
    testing::TempFolder dir;
    for (const auto& path : files) {
        SCOPED_TRACE(path);
        TextGrid base(11, 1);
        ASSERT_TRUE(ReadDrcBase(path, base));
        EXPECT_EQ(base.rowCount() - 1, kEntries.at(path.filename()));

        base.copyColumn(2, base, 1);
        const std::string written = dir / "w.drc";
        ASSERT_TRUE(WriteDrc(2, written, base));
        TextGrid back(11, 1);
        ASSERT_TRUE(ReadDrcBase(written, back));
        ASSERT_EQ(back.rowCount(), base.rowCount());
        for (int r = 1; r < base.rowCount(); ++r) {
            EXPECT_EQ(back.cell(0, r), base.cell(0, r)) << r;
            EXPECT_EQ(back.cell(1, r), base.cell(1, r)) << r;
        }
        back.copyColumn(2, back, 1);
        EXPECT_EQ(FormatDrc(2, back), testing::readBytes(written));

        // Merged by identifier, every row receives its own text again (the
        // k-th entry of an identifier fills its k-th row); no-break spaces
        // read as blanks.
        base.clearColumn(2);
        ASSERT_TRUE(ReadDrcColumn(2, written, base));
        for (int r = 1; r < base.rowCount(); ++r) {
            std::string text = base.cell(1, r);
            std::replace(text.begin(), text.end(), '\xA0', ' ');
            EXPECT_EQ(base.cell(2, r), text) << r;
        }
    }
}

}  // namespace
}  // namespace tov
