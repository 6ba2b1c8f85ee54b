#include <ctime>
#include <filesystem>
#include <string>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "formats/resource_strings/drc_test_util.h"
#include "formats/resource_strings/drc_workflow.h"
#include "formats/source_kind.h"

namespace tov {
namespace {

using testing::readBytes;
using testing::TempFolder;

const std::string kHead = "STRINGTABLE\r\nBEGIN\r\n";

// 2008-05-12 14:03:05 local time.
const std::time_t kWhen = [] {
    std::tm tm {};
    tm.tm_year = 108;
    tm.tm_mon = 4;
    tm.tm_mday = 12;
    tm.tm_hour = 14;
    tm.tm_min = 3;
    tm.tm_sec = 5;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}();

TextGrid baseWithDestination(const std::string& dest)
{
    TextGrid g(11, 3);
    g.setCell(0, 1, "A");
    g.setCell(1, 1, "a");
    g.setCell(2, 1, dest);
    g.setCell(0, 2, "B");
    g.setCell(1, 2, "b");
    g.setCell(2, 2, "bb");
    return g;
}

TEST(DrcWorkflow, OpenBaseReadsOverRowsOnlyWhenRowOneHasADestination)
{
    TempFolder dir;
    dir.put("new.drc", kHead + "B, \"new b\"\r\nC, \"new c\"\r\n");

    TextGrid over = baseWithDestination("aa");
    const DrcBaseOpen merged = openDrcBase(dir / "new.drc", over);
    EXPECT_TRUE(merged.ok);
    EXPECT_FALSE(merged.rebuilt);
    EXPECT_EQ(over.rowCount(), 3);
    EXPECT_EQ(over.cell(1, 1), "a");
    EXPECT_EQ(over.cell(1, 2), "new b");
    EXPECT_EQ(over.cell(2, 2), "bb");

    TextGrid anew = baseWithDestination("");  // row 1 without destination text
    const DrcBaseOpen rebuilt = openDrcBase(dir / "new.drc", anew);
    EXPECT_TRUE(rebuilt.ok);
    EXPECT_TRUE(rebuilt.rebuilt);
    EXPECT_EQ(anew.cell(0, 1), "B");
    EXPECT_EQ(anew.cell(2, 2), "");

    // Texts left beyond the row count are no rows to read over.
    TextGrid hidden = baseWithDestination("aa");
    hidden.setRowCount(1);
    const DrcBaseOpen reopened = openDrcBase(dir / "new.drc", hidden);
    EXPECT_TRUE(reopened.rebuilt);
    EXPECT_EQ(hidden.rowCount(), 3);

    TextGrid failed = baseWithDestination("aa");
    EXPECT_FALSE(openDrcBase(dir / "missing.drc", failed).ok);
}

TEST(DrcWorkflow, BlankDestinationAndReopening)
{
    TempFolder dir;
    TextGrid g = baseWithDestination("aa");
    dir.put("d.drc", "old destination");
    ASSERT_TRUE(writeBlankDrcDestination(dir / "d.drc", g, BackupChoice::dated(kWhen)));
    EXPECT_EQ(g.cell(2, 1), "");
    EXPECT_EQ(readBytes(dir / "d.drc"), FormatDrc(2, g));
    // The texts a blank replaces are kept.
    EXPECT_EQ(readBytes(dir / "d.drc.2008.05.12.14.03.05.bak"), "old destination");
    // A blank that cannot be written leaves the texts in the table.
    TextGrid kept = baseWithDestination("aa");
    EXPECT_FALSE(writeBlankDrcDestination(dir / "no/such/d.drc", kept, BackupChoice::dated(kWhen)));
    EXPECT_EQ(kept.cell(2, 1), "aa");

    dir.put("base.drc", kHead + "A, \"a\"\r\nB, \"b\"\r\n");
    dir.put("dest.drc", kHead + "B, \"bb\"\r\n");
    TextGrid r(11, 1);
    EXPECT_TRUE(reopenDrcFiles(dir / "base.drc", dir / "dest.drc", r));
    EXPECT_EQ(r.cell(2, 2), "bb");
    EXPECT_TRUE(reopenDrcFiles(dir / "base.drc", dir / "none.drc", r));
    EXPECT_EQ(r.cell(2, 2), "");
    EXPECT_FALSE(reopenDrcFiles(dir / "none.drc", dir / "dest.drc", r));
}

TEST(DrcWorkflow, SaveMakesTheDatedBackupOfAnExistingFile)
{
    TempFolder dir;
    const std::string path = (dir / "texts.drc");
    const std::string backup = path + ".2008.05.12.14.03.05.bak";
    const TextGrid g = baseWithDestination("aa");

    ASSERT_TRUE(saveDrcDestination(path, g, BackupChoice::dated(kWhen)));
    EXPECT_FALSE(std::filesystem::exists(backup)) << "a new file has nothing to back up";
    const std::string first = readBytes(path);

    const TextGrid edited = baseWithDestination("edited");
    ASSERT_TRUE(saveDrcDestination(path, edited, BackupChoice::dated(kWhen)));
    EXPECT_EQ(readBytes(backup), first);
    EXPECT_EQ(readBytes(path), FormatDrc(2, edited));

    // A second save within the same second keeps the first backup.
    ASSERT_TRUE(saveDrcDestination(path, g, BackupChoice::dated(kWhen)));
    EXPECT_EQ(readBytes(backup), first);
    EXPECT_EQ(readBytes(path + ".2008.05.12.14.03.05.1.bak"), FormatDrc(2, edited));
    EXPECT_EQ(readBytes(path), first);
}

TEST(DrcWorkflow, DialogStarts)
{
    const std::string p = "/opt/tr/";
    struct Case {
        DrcDialogStart got;
        std::string folder, fileName;
    };
    const Case cases[] = {
        {drcOpenBaseStart(kKonfix, p), "/opt/tr/base", "/opt/tr/base/Konfix*.drc"},
        {drcOpenBaseStart(kKonfi10, p), "/opt/tr/base", "/opt/tr/base/Konfi10*.drc"},
        {drcOpenBaseStart(kGenericDrc, p), "/opt/tr/base", "/opt/tr/*.drc"},
        {drcOpenDestinationStart(kNone, p), "/opt/tr/dest", "/opt/tr/dest/Konfi10*.drc"},
        {drcOpenDestinationStart(kVigrex, p), "/opt/tr/dest", "/opt/tr/dest/Vigrex*.drc"},
        {drcOpenDestinationStart(kGenericDrc, p), "/opt/tr/dest", "/opt/tr/*.drc"},
        {drcOpenDestinationStart(kCArrays, p), "/opt/tr/dest", "/opt/tr/dest/Konfi10*.drc"},
        {*drcUseFileStart(kKonfix, p), "/opt/tr/base", "/opt/tr/base/Konfix*.drc"},
        {*drcUseFileStart(kGenericDrc, p), "/opt/tr/base", "/opt/tr/*.drc"},
        {*drcUseFileStart(kMenuIni, p), "/opt/tr/base", ""},
        {drcBlankStart(p), "/opt/tr/dest", "/opt/tr/dest/*.*"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.got.folder, c.folder) << c.fileName;
        EXPECT_EQ(c.got.fileName, c.fileName);
    }
    EXPECT_FALSE(drcUseFileStart(kNone, p).has_value());
}

}  // namespace
}  // namespace tov
