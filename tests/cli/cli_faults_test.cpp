// tovrana-cli import under faults, run as the program itself: a full disk
// (with the default action of SIGXFSZ, which the tool must not die of), a
// read-only folder, a backup copy that cannot be made, backup names already
// taken within the same second, and a firmware set whose second file cannot
// be written. Each case compares the folder byte for byte with what it held
// before, so that nothing changed and nothing was left behind.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <regex>

#include "support/strutil.h"
#include "tests/cli/cli_run.h"
#include "tests/support/save_faults.h"

namespace tov::clitest {
namespace {

using namespace tov::testing;
using Fault = SaveFault;

struct Kind {
    const char* name;
    std::vector<std::string> open;     // the arguments after "export": base, destination, languages
    std::vector<std::string> targets;  // the files an import replaces, in the order it writes them
    rlim_t fullDisk;  // a limit too small for the first target (and large enough for the C template)
};

const Kind kKinds[] = {
    {"drc", {"--kind", "drc", "base/Konfix_en.drc", "dest/Konfix_pl.drc"}, {"dest/Konfix_pl.drc"}, 16},
    {"firmware",
     {"--kind", "orvanta", "ORVANTA/ENG/EDIT.ENG", "ORVANTA/POL/EDIT.POL"},
     {"ORVANTA/OUT/EDIT.CZE", "ORVANTA/OUT/MENU.CZE"},
     16},
    {"menu INI", {"--kind", "menu-ini", "menu.ini", "--base-lang", "English", "--dest-lang", "Polski"}, {"menu.ini"}, 16},
    {"C string arrays",
     {"--kind", "c", "texts.c", "--base-lang", "English", "--dest-lang", "Polski"},
     {"out.c"},
     3000},
};

void PrintTo(const Kind& kind, std::ostream* os) { *os << kind.name; }

// The import arguments: the files of the export, the TSV "t.tsv", OUT the first target.
std::vector<std::string> importArgs(const Kind& kind)
{
    std::vector<std::string> args = {"import", kind.open[0], kind.open[1], kind.open[2], "t.tsv"};
    args.insert(args.end(), kind.open.begin() + 3, kind.open.end());
    args.insert(args.end(), {"-o", kind.targets[0]});
    return args;
}

// The exported texts with the first destination text replaced by `text`.
std::string editedTsv(const DemoFolder& folder, const Kind& kind, const std::string& text)
{
    std::vector<std::string> args = {"export"};
    args.insert(args.end(), kind.open.begin(), kind.open.end());
    const Result exported = folder.run(args);
    EXPECT_EQ(exported.status, 0) << exported.err;
    const std::string& tsv = exported.out;
    const size_t tab = tsv.find('\t'), end = tsv.find("\r\n");
    return tsv.substr(0, tab + 1) + text + tsv.substr(end);
}

class CliFaults : public ::testing::TestWithParam<std::tuple<Kind, Fault>> {};

TEST_P(CliFaults, LeaveEveryFileAsItWasOrKeepItsBackup)
{
    const auto& [kind, fault] = GetParam();
    DemoFolder folder;
    for (const auto& [name, bytes] : saveFaultFiles(kind.name)) folder.put(name, bytes);
    // Longer than every text it replaces, shorter than the padding.
    folder.put("t.tsv", editedTsv(folder, kind, "Zmiana " + std::string(200, 'z')));
    const std::string target = kind.targets.front();
    const std::string targetFolder = folder / target.substr(0, target.rfind('/') + 1);

    arrangeSaveFault(fault, folder.path(), kind.targets);
    const auto before = folder.snapshot();

    Faults faults;
    if (fault == Fault::FullDisk) faults.fileSizeLimit = kind.fullDisk;
    if (fault == Fault::NoBackup) faults.fileSizeLimit = kRoomForTheNewFilesOnly;
    if (fault == Fault::ReadOnlyFolder) {
        faults.withoutFileOverride = true;
        ASSERT_EQ(::chmod(targetFolder.c_str(), 0555), 0);
    }
    const Result r = folder.run(importArgs(kind), faults);
    ::chmod(targetFolder.c_str(), 0755);
    EXPECT_EQ(r.signal, 0);

    std::string expected;  // the error line
    switch (fault) {
    case Fault::NoBackupThenSaveAnyway: FAIL() << "the tool asks nothing";
    case Fault::FullDisk: expected = target + ": cannot be written (" + target + ": File too large)"; break;
    case Fault::ReadOnlyFolder: expected = target + ": cannot be written (" + target + ": Permission denied)"; break;
    case Fault::NoBackup:
        expected = target + ": not written: no backup copy could be made (" + target + ".STAMP.bak: File too large)";
        break;
    case Fault::SecondFileBlocked:
        expected = kind.targets[1] + ": cannot be written (" + kind.targets[1] + ": Is a directory)";
        break;
    case Fault::BackupNamesTaken: {
        EXPECT_EQ(r.status, 0) << r.err;
        // A second import right after keeps its backup too.
        const auto afterFirst = folder.snapshot();
        folder.put("t.tsv", editedTsv(folder, kind, "Zmiana 2"));
        const Result again = folder.run(importArgs(kind));
        EXPECT_EQ(again.status, 0) << again.err;
        expectBothVersionsKept(before, afterFirst, folder.snapshot(), kind.targets);
        return;
    }
    }
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    // The line as written, any backup stamp in place of STAMP.
    const std::string literal =
        std::regex_replace("tovrana-cli: " + expected + "\n", std::regex(R"([.()\\])"), R"(\$&)");
    const std::regex line(std::regex_replace(literal, std::regex("STAMP"), R"(\d{4}(\.\d\d){5})"));
    EXPECT_TRUE(std::regex_match(r.err, line)) << r.err;
    EXPECT_EQ(folder.snapshot(), before);
}

// The export is written into -o FILE as it is made: a disk that fills on
// the way leaves the old FILE as it was, and nothing else.
TEST(CliExportFaults, AFullDiskLeavesTheOldFile)
{
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        DemoFolder folder;
        std::vector<std::string> args = {"export"};
        args.insert(args.end(), kind.open.begin(), kind.open.end());
        const Result whole = folder.run(args);
        ASSERT_EQ(whole.status, 0) << whole.err;
        // The demo's C texts export in fewer bytes than their template
        // takes: no limit stops the one but not the other.
        if (whole.out.size() <= kind.fullDisk) continue;
        folder.put("out.tsv", "old\r\n");
        const auto before = folder.snapshot();
        args.insert(args.end(), {"-o", "out.tsv"});
        Faults faults;
        faults.fileSizeLimit = kind.fullDisk;
        const Result r = folder.run(args, faults);
        EXPECT_EQ(r.signal, 0);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "tovrana-cli: out.tsv: cannot be written (out.tsv: File too large)\n");
        EXPECT_EQ(folder.snapshot(), before);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryKind, CliFaults,
                         ::testing::ValuesIn(saveFaultCases(kKinds, {Fault::FullDisk, Fault::ReadOnlyFolder,
                                                                     Fault::NoBackup, Fault::BackupNamesTaken})),
                         saveFaultCaseName<Kind>);

}  // namespace
}  // namespace tov::clitest
