// Opening and saving firmware file sets: the base and destination openers,
// the writer, the family table and the dialogs they offer.
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <csignal>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "formats/firmware/firmware_lines.h"
#include "formats/firmware/firmware_sets.h"
#include "formats/firmware/firmware_test_util.h"
#include "support/strutil.h"
#include "support/text_file.h"
#include "tests/support/fault_injection.h"

namespace tov {
namespace {

using fwtest::crlf;
using fwtest::readBytes;
using testing::TempFolder;
using testing::FileSizeLimit;

const FirmwareFamily& family(std::uint8_t kind) { return *firmwareFamily(kind); }

// The two tables as the windows create them.
struct Tables {
    TextGrid translation{9, 50};
    TextGrid work{11, 0};
};

std::vector<std::string> column(const TextGrid& g, int col, int from, int to)
{
    std::vector<std::string> out;
    for (int r = from; r < to; ++r) out.push_back(g.cell(col, r));
    return out;
}

// The base set A.ENG (3 lines) and EDIT.ENG (5 lines) with a destination in
// the same structure, as in the family folders.
struct TwoFileSet {
    TempFolder dir;
    std::vector<std::string> a = {"A1 'one'", "-", "A3 \"three\" ; third"};
    std::vector<std::string> edit = {"; header", "E1 'It''s'", "", "E3 'five' // fifth", "END"};
    std::vector<std::string> aCze = {"A1 'jed'", "-", "A3 \"trzy \" ; trzeci"};
    std::vector<std::string> editCze = {"; naglowek", "E1 'T''o'", "", "E3 'piec' // piaty", "KONIEC"};
    TwoFileSet()
    {
        dir.put("ORVANTA/ENG/A.ENG", crlf(a));
        dir.put("ORVANTA/ENG/EDIT.ENG", crlf(edit));
        dir.put("ORVANTA/OUT/A.CZE", crlf(aCze));
        dir.put("ORVANTA/OUT/EDIT.CZE", crlf(editCze));
    }
    std::string base() const { return dir / "ORVANTA/ENG/EDIT.ENG"; }
    std::string dest() const { return dir / "ORVANTA/OUT/EDIT.CZE"; }
};

TEST(FirmwareFamilies, TableAndDialogs)
{
    struct Case {
        std::uint8_t kind;
        const char* caption;
        const char* folder;
        const char* preset;
        const char* filter;
        bool lineCount;
        bool last;
    };
    const std::vector<Case> cases = {
        {3, "Orvanta firmware", "ORVANTA", "/EDIT.*", "Orvanta firmware|Edit.*", true, false},
        {5, "QL5 firmware", "QL5", "/LCD_IDLE.*", "QL5 firmware|LCD_IDLE.*", false, false},
        {10, "QL10 firmware", "QL10", "/LCD_1.*", "QL10 firmware|LCD_1.*", false, false},
        {15, "TELMO firmware", "TELMO", "/Telmo.*", "TELMO firmware|Telmo.*", false, true},
    };
    ASSERT_EQ(firmwareFamilies().size(), cases.size());
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const FirmwareFamily& f = family(c.kind);
        EXPECT_EQ(&f, &firmwareFamilies()[i]);
        EXPECT_EQ(f.menuCaption, c.caption);
        EXPECT_EQ(f.folder, c.folder);
        EXPECT_EQ(f.presetName, c.preset);
        EXPECT_EQ(f.saveFilter, c.filter);
        EXPECT_EQ(f.lineCountCheck, c.lineCount);
        EXPECT_EQ(f.recordsLastFile, c.last);

        const std::string folder = std::string("/prog/") + c.folder;
        FirmwareDialog d = firmwareBaseDialog(f, "/prog/");
        EXPECT_EQ(d.initialFolder, folder);
        EXPECT_EQ(d.fileName, folder + c.preset);
        EXPECT_EQ(d.filter, "");
        d = firmwareDestinationDialog(f, "/prog/", kFirmwareOutSuffix);
        EXPECT_EQ(d.initialFolder, folder + "/OUT");
        EXPECT_EQ(d.fileName, folder + "/OUT" + c.preset);
        d = firmwareDestinationDialog(f, "/prog/", "");
        EXPECT_EQ(d.fileName, folder + c.preset);
        d = firmwareSaveDialog(f, "/prog/", "", "/cwd");
        EXPECT_EQ(d.initialFolder, folder + "/OUT");
        EXPECT_EQ(d.fileName, folder + "/OUT" + c.preset);
        EXPECT_EQ(d.filter, c.filter);
        EXPECT_EQ(d.defaultExtension, "");
        EXPECT_EQ(firmwareSaveDialog(f, "/prog/", "x/EDIT.CZE", "/cwd").fileName, "/cwd/x/EDIT.CZE");
        EXPECT_EQ(firmwareSaveDialog(f, "/prog/", "/abs/EDIT.CZE", "/cwd").fileName, "/abs/EDIT.CZE");
    }
    EXPECT_EQ(firmwareFamily(16), nullptr);
    EXPECT_EQ(firmwareFamily(0), nullptr);
    EXPECT_EQ(firmwareRestoreFamily(5).kind, kOrvanta);
    EXPECT_EQ(firmwareRestoreFamily(10).kind, kOrvanta);
    EXPECT_EQ(firmwareRestoreFamily(15).kind, kTelmo);
}

TEST(FirmwareFamilies, OrvantaEntryVisibility)
{
    struct Case {
        const char* file;
        bool visible;
    };
    for (const Case& c : std::vector<Case>{{nullptr, false},
                                           {"ORVANTA/ENG/EDIT.ENG", true},
                                           {"ORVANTA/POL/EDIT.POL", true},
                                           {"ORVANTA/POL/Edit.pol", true},
                                           {"ORVANTA/ENG/MENU.ENG", false},
                                           {"ORVANTA/CZE/EDIT.CZE", false}}) {
        TempFolder dir;
        if (c.file) dir.put(c.file, "x\r\n");
        EXPECT_EQ(orvantaEntryVisible(dir.path()), c.visible) << (c.file ? c.file : "none");
    }
}

TEST(FirmwareFamilies, KindSwitchClearsTables)
{
    Tables t;
    for (int c = 0; c < 9; ++c) t.translation.setCell(c, 1, "t");
    t.work.setRowCount(3);
    for (int c = 0; c < 11; ++c) t.work.setCell(c, 2, "w");
    EXPECT_FALSE(prepareFirmwareKind(t.translation, t.work, 5, 5));
    EXPECT_EQ(t.translation.cell(4, 1), "t");
    EXPECT_TRUE(prepareFirmwareKind(t.translation, t.work, 1, 5));
    for (int c = 0; c <= 5; ++c) EXPECT_EQ(t.translation.cell(c, 1), "") << c;
    for (int c = 6; c <= 8; ++c) EXPECT_EQ(t.translation.cell(c, 1), "t") << c;
    for (int c = 0; c < 11; ++c) EXPECT_EQ(t.work.cell(c, 2), "") << c;
}

TEST(FirmwareOpenBase, FilesInCaseInsensitiveOrderWithLineIndices)
{
    TempFolder dir;
    dir.put("ENG/EDIT.ENG", crlf({"'e0'", "x", "'e2' ;c"}));
    dir.put("ENG/abc.eng", crlf({"'a0'", "'a1'"}));
    dir.put("ENG/Zeta.Eng", crlf({"z", "z", "'z2'"}));
    dir.put("ENG/EDIT.POL", crlf({"'p'"}));
    dir.put("ENG/EDIT.ENG.bak", crlf({"'b'"}));
    std::filesystem::create_directories(dir / "ENG/SUB.ENG");

    Tables t;
    t.translation.setCell(4, 1, "kept destination");
    t.translation.setCell(2, 30, "old base text");
    t.work.setCell(4, 3, "OLD.ENG");  // a longer list of an earlier opening
    t.work.setCell(5, 3, "9");
    t.work.setCell(2, 0, "kept template");

    const FirmwareBaseOpen r = openFirmwareBase(t.translation, t.work, dir / "ENG/EDIT.ENG");
    ASSERT_TRUE(r.loaded());
    EXPECT_EQ(r.baseFiles, (std::vector<std::string>{"abc.eng", "EDIT.ENG", "Zeta.Eng"}));
    EXPECT_TRUE(r.readErrors.empty());
    EXPECT_EQ(r.baseFileName, dir / "ENG/EDIT.ENG");
    EXPECT_EQ(r.lines, 8u);
    EXPECT_EQ(r.texts, 5);

    EXPECT_EQ(column(t.work, 4, 0, 4), (std::vector<std::string>{"abc.eng", "EDIT.ENG", "Zeta.Eng", ""}));
    EXPECT_EQ(column(t.work, 5, 0, 4), (std::vector<std::string>{"2", "3", "3", ""}));
    EXPECT_EQ(column(t.work, 0, 0, 8), (std::vector<std::string>{"0", "1", "0", "1", "2", "0", "1", "2"}));
    EXPECT_EQ(t.work.rowCount(), 8);
    EXPECT_EQ(t.work.cell(1, 2), "'e0'");
    EXPECT_EQ(t.work.cell(2, 0), "kept template");

    EXPECT_EQ(column(t.translation, 2, 1, 7), (std::vector<std::string>{"a0", "a1", "e0", "e2", "z2", ""}));
    EXPECT_EQ(column(t.translation, 8, 1, 6), (std::vector<std::string>{"0", "1", "2", "4", "7"}));
    EXPECT_EQ(column(t.translation, 0, 1, 6), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(t.translation.cell(1, 4), " 2");
    EXPECT_EQ(t.translation.cell(6, 4), "c");
    EXPECT_EQ(t.translation.cell(2, 30), "");
    EXPECT_EQ(t.translation.cell(4, 1), "kept destination");
    EXPECT_EQ(column(t.work, 6, 1, 6), (std::vector<std::string>{"a0", "a1", "e0", "e2", "z2"}));
}

TEST(FirmwareOpenBase, ChoiceWithoutExtensionOpensEveryFile)
{
    TempFolder dir;
    dir.put("SET/B.POL", crlf({"'b'"}));
    dir.put("SET/a", crlf({"'a'"}));
    dir.put("SET/C.ENG", crlf({"'c'"}));
    Tables t;
    const FirmwareBaseOpen r = openFirmwareBase(t.translation, t.work, dir / "SET/a");
    ASSERT_TRUE(r.loaded());
    EXPECT_EQ(r.baseFiles, (std::vector<std::string>{"a", "B.POL", "C.ENG"}));
    EXPECT_EQ(r.texts, 3);
}

TEST(FirmwareOpenBase, RefusalsLeaveTablesUnchanged)
{
    TempFolder dir;
    // 65535 lines in all can be held; one more cannot.
    dir.put("FIT/A.ENG", std::string(40000, '\n'));
    dir.put("FIT/B.ENG", std::string(25534, '\n') + "'last'");
    dir.put("BIG/A.ENG", std::string(40000, '\n'));
    dir.put("BIG/B.ENG", std::string(25535, '\n') + "'last'");

    struct Case {
        std::string chosen;
        FirmwareBaseOpen::Status status;
        std::string listed;
    };
    const std::vector<Case> cases = {
        {dir / "EMPTY/EDIT.ENG", FirmwareBaseOpen::Status::NoFiles, dir / "EMPTY/*.ENG"},
        {dir / "FIT/X.XYZ", FirmwareBaseOpen::Status::NoFiles, dir / "FIT/*.XYZ"},
        {dir / "BIG/A.ENG", FirmwareBaseOpen::Status::TooManyLines, dir / "BIG/*.ENG"},
    };
    std::filesystem::create_directories(dir / "EMPTY");
    for (const auto& c : cases) {
        Tables t;
        t.translation.setCell(2, 1, "base");
        t.work.setRowCount(2);
        t.work.setCell(1, 1, "line");
        const FirmwareBaseOpen r = openFirmwareBase(t.translation, t.work, c.chosen);
        EXPECT_EQ(r.status, c.status) << c.chosen;
        EXPECT_EQ(r.listed, c.listed);
        EXPECT_EQ(t.translation.cell(2, 1), "base");
        EXPECT_EQ(t.work.cell(1, 1), "line");
        EXPECT_EQ(t.work.rowCount(), 2);
    }

    Tables t;
    const FirmwareBaseOpen r = openFirmwareBase(t.translation, t.work, dir / "FIT/A.ENG");
    ASSERT_TRUE(r.loaded());
    EXPECT_EQ(r.lines, 65535u);
    EXPECT_EQ(t.work.rowCount(), 65535);
    EXPECT_EQ(t.translation.cell(2, 1), "last");
    EXPECT_EQ(t.translation.cell(8, 1), "65534");
}

// A Unix socket is listed like a file but cannot be opened, even by root.
struct Socket {
    int fd = -1;
    explicit Socket(const std::string& path)
    {
        fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr {};
        addr.sun_family = AF_UNIX;
        if (path.size() >= sizeof addr.sun_path) {
            ADD_FAILURE() << "socket path too long";
            return;
        }
        std::copy(path.begin(), path.end(), addr.sun_path);
        if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) ADD_FAILURE() << "bind";
    }
    ~Socket() { ::close(fd); }
};

TEST(FirmwareOpenBase, UnreadableFileIsReportedAndSkipped)
{
    TempFolder dir;
    dir.put("ENG/A.ENG", crlf({"'a'"}));
    dir.put("ENG/C.ENG", crlf({"x", "'c'"}));
    Socket sock(dir / "ENG/B.ENG");
    Tables t;
    const FirmwareBaseOpen r = openFirmwareBase(t.translation, t.work, dir / "ENG/A.ENG");
    ASSERT_TRUE(r.loaded());
    EXPECT_EQ(r.baseFiles, (std::vector<std::string>{"A.ENG", "B.ENG", "C.ENG"}));
    EXPECT_EQ(r.readErrors, std::vector<std::string>{dir / "ENG/B.ENG"});
    EXPECT_EQ(column(t.work, 5, 0, 3), (std::vector<std::string>{"1", "0", "2"}));
    EXPECT_EQ(column(t.translation, 8, 1, 3), (std::vector<std::string>{"0", "2"}));
}

TEST(FirmwareOpenDestination, NamesFromTheBaseListMatchedWithoutCase)
{
    TwoFileSet set;
    // On disk the first destination file is named in lower case.
    std::filesystem::rename(set.dir / "ORVANTA/OUT/A.CZE", set.dir / "ORVANTA/OUT/a.cze");
    Tables t;
    const FirmwareBaseOpen b = openFirmwareBase(t.translation, t.work, set.base());
    ASSERT_TRUE(b.loaded());
    EXPECT_EQ(b.baseFiles, (std::vector<std::string>{"A.ENG", "EDIT.ENG"}));

    const FirmwareDestinationOpen d =
        openFirmwareDestination(t.translation, t.work, family(kOrvanta), b.baseFiles, set.dest());
    ASSERT_TRUE(d.loaded());
    EXPECT_EQ(d.destFiles,
              (std::vector<std::string>{set.dir / "ORVANTA/OUT/a.cze", set.dir / "ORVANTA/OUT/EDIT.CZE"}));
    EXPECT_TRUE(d.readErrors.empty());
    EXPECT_EQ(d.structureFailureRow, 0);
    EXPECT_EQ(d.destFileName, set.dest());
    EXPECT_EQ(d.texts, 4);
    EXPECT_EQ(column(t.work, 2, 0, 8), (std::vector<std::string>{"A1 'jed'", "-", "A3 \"trzy \" ; trzeci",
                                                                 "; naglowek", "E1 'T''o'", "",
                                                                 "E3 'piec' // piaty", "KONIEC"}));
    EXPECT_EQ(column(t.translation, 4, 1, 5), (std::vector<std::string>{"jed", "trzy ", "T'o", "piec"}));
    EXPECT_EQ(column(t.translation, 3, 1, 5), (std::vector<std::string>{" 3", " 5", " 3", " 4"}));
    EXPECT_EQ(column(t.translation, 5, 1, 5), (std::vector<std::string>{"", " trzeci", "", " piaty"}));
    EXPECT_EQ(column(t.work, 7, 1, 5), column(t.translation, 4, 1, 5));
}

TEST(FirmwareOpenDestination, SameSetAsBaseGivesEqualColumns)
{
    TwoFileSet set;
    Tables t;
    const FirmwareBaseOpen b = openFirmwareBase(t.translation, t.work, set.base());
    const FirmwareDestinationOpen d =
        openFirmwareDestination(t.translation, t.work, family(kQL5), b.baseFiles, set.base());
    ASSERT_TRUE(d.loaded());
    EXPECT_EQ(d.structureFailureRow, 0);
    EXPECT_EQ(column(t.translation, 4, 1, 5), column(t.translation, 2, 1, 5));
    EXPECT_EQ(column(t.translation, 5, 1, 5), column(t.translation, 6, 1, 5));
}

TEST(FirmwareOpenDestination, LineCountsAndStructure)
{
    // The destination A.CZE has one line more than A.ENG ("extra" before its
    // last text), or lacks its file altogether.
    struct Case {
        const char* name;
        std::uint8_t kind;
        bool missing;
        FirmwareDestinationOpen::Status status;
        int failureRow;
        std::size_t lines, expected;
        std::vector<std::size_t> lineCounts;  // of the files read
        std::string located;  // where the structure fails
    };
    const std::string misplaced = "the destination text of row ";
    const std::vector<Case> cases = {
        {"QL5, one line more", kQL5, false, FirmwareDestinationOpen::Status::Loaded, 2, 0, 0, {4, 5},
         "A.CZE:4: " + misplaced + "2 stands on another line than its base text (A.ENG:3)"},
        {"QL10, one line more", kQL10, false, FirmwareDestinationOpen::Status::Loaded, 2, 0, 0, {4, 5},
         "A.CZE:4: " + misplaced + "2 stands on another line than its base text (A.ENG:3)"},
        {"TELMO, one line more", kTelmo, false, FirmwareDestinationOpen::Status::Loaded, 2, 0, 0, {4, 5},
         "A.CZE:4: " + misplaced + "2 stands on another line than its base text (A.ENG:3)"},
        {"Orvanta, one line more", kOrvanta, false, FirmwareDestinationOpen::Status::LineCountFailure, 0, 4, 3, {4}, ""},
        {"QL5, file missing", kQL5, true, FirmwareDestinationOpen::Status::Loaded, 1, 0, 0, {0, 5},
         "EDIT.CZE:2: " + misplaced + "1 stands on another line than its base text (A.ENG:1)"},
        {"Orvanta, file missing", kOrvanta, true, FirmwareDestinationOpen::Status::LineCountFailure, 0, 0, 3, {0}, ""},
        {"QL5, a text where the base has none", kQL5, false, FirmwareDestinationOpen::Status::Loaded, 5, 0, 0, {3, 5},
         "EDIT.CZE:5: a destination text where the base has no text (row 5)"},
    };
    for (const auto& c : cases) {
        TwoFileSet set;
        if (c.missing)
            std::filesystem::remove(set.dir / "ORVANTA/OUT/A.CZE");
        else if (c.failureRow == 5)
            set.dir.put("ORVANTA/OUT/EDIT.CZE", crlf({"; naglowek", "E1 'T''o'", "", "E3 'piec' // piaty", "'dod'"}));
        else
            set.dir.put("ORVANTA/OUT/A.CZE", crlf({"A1 'jed'", "-", "extra", "A3 \"trzy \" ; trzeci"}));
        Tables t;
        const FirmwareBaseOpen b = openFirmwareBase(t.translation, t.work, set.base());
        const auto before = column(t.work, 2, 0, 9);
        const FirmwareDestinationOpen d =
            openFirmwareDestination(t.translation, t.work, family(c.kind), b.baseFiles, set.dest());
        EXPECT_EQ(d.status, c.status) << c.name;
        EXPECT_EQ(d.lineCounts, c.lineCounts) << c.name;
        EXPECT_EQ(d.readErrors.size(), c.missing ? 1u : 0u) << c.name;
        if (c.missing && !d.readErrors.empty()) {
            EXPECT_EQ(d.readErrors[0], set.dir / "ORVANTA/OUT/A.CZE");
        }
        if (c.status == FirmwareDestinationOpen::Status::LineCountFailure) {
            ASSERT_TRUE(d.lineCount.has_value()) << c.name;
            EXPECT_EQ(d.lineCount->path, set.dir / "ORVANTA/OUT/A.CZE");
            EXPECT_EQ(d.lineCount->fileName, "A.CZE");
            EXPECT_EQ(d.lineCount->lines, c.lines);
            EXPECT_EQ(d.lineCount->expected, c.expected);
            EXPECT_EQ(column(t.work, 2, 0, 9), before) << c.name;
            EXPECT_EQ(d.destFileName, "");
            continue;
        }
        EXPECT_FALSE(d.lineCount.has_value());
        EXPECT_EQ(d.structureFailureRow, c.failureRow) << c.name;
        ASSERT_TRUE(d.structureFailure.has_value()) << c.name;
        const FirmwareStructureFailure& f = *d.structureFailure;
        EXPECT_EQ(fileNamePart(f.destPath) + ":" + std::to_string(f.destLine) + ": " + f.what(), c.located);
        EXPECT_EQ(d.destFileName, set.dest()) << c.name;
        // Rows before the failing one hold their texts and comments.
        if (c.failureRow == 2) {
            EXPECT_EQ(t.translation.cell(4, 1), "jed");
            EXPECT_EQ(t.translation.cell(4, 2), "trzy ");
            EXPECT_EQ(t.translation.cell(5, 2), "");
            EXPECT_EQ(t.translation.cell(4, 3), "");
            EXPECT_EQ(t.work.cell(2, 2), "extra");
        }
    }
}

// The bytes a file comes back as when the program writes its lines.
std::string asWritten(const std::string& bytes)
{
    auto lines = splitLines(bytes);
    if (lines.empty()) lines.emplace_back();
    return joinCrLf(lines);
}

TEST(FirmwareSave, UnchangedSetsComeBackByteForByte)
{
    // Every set of the real-file corpus, and a set written with CR LF lines,
    // opened as base and as destination and saved unchanged.
    TempFolder dir;
    const std::string crlfSet = dir.put(
        "CRLF/MAIN.ENG",
        crlf({"; Main texts", "M1  DB 'Start    ', 0 ; first", "M2  DB \"Quote's\" // second", "",
              "M3  DB 'It''s ''ok''   ',13,10,'$'", "M4  DB 'A;B'", "  \t ", "M5 = \"\xB1\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF\""}));
    dir.put("CRLF/ZZZ.ENG", crlf({"'z'", "x"}));
    const std::string corpus = std::string(TOVRANA_CORPUS_DIR) + "/firmware/";
    const std::vector<std::string> sets = {corpus + "msdos_v2/FORMES.ASM", corpus + "msdos_v4/MEM.SKL",
                                           corpus + "msdos_v4/KBMSG.INC", corpus + "msdos_v4/EMS_US.MSG",
                                           crlfSet};
    for (const auto& chosen : sets) {
        for (std::uint8_t kind : {kOrvanta, kQL10}) {
            Tables t;
            const FirmwareBaseOpen b = openFirmwareBase(t.translation, t.work, chosen);
            ASSERT_TRUE(b.loaded()) << chosen;
            const FirmwareDestinationOpen d =
                openFirmwareDestination(t.translation, t.work, family(kind), b.baseFiles, chosen);
            ASSERT_TRUE(d.loaded()) << chosen;
            EXPECT_EQ(d.structureFailureRow, 0);
            TempFolder out;
            const FirmwareSave s =
                saveFirmwareDestination(t.translation, t.work, family(kind), out / "X.OUT", BackupChoice::none());
            ASSERT_TRUE(s.ok()) << chosen;
            ASSERT_EQ(s.files.size(), b.baseFiles.size());
            for (size_t i = 0; i < b.baseFiles.size(); ++i) {
                const std::string original = readBytes(folderPart(chosen) + b.baseFiles[i]);
                const std::string saved = readBytes(s.files[i]);
                EXPECT_EQ(saved, asWritten(original)) << b.baseFiles[i];
                if (chosen == crlfSet) {
                    EXPECT_EQ(saved, original) << b.baseFiles[i];
                }
            }
        }
    }
}

TEST(FirmwareSave, OneFilePerBaseFileWithItsLines)
{
    for (std::uint8_t kind : {kOrvanta, kQL5, kQL10, kTelmo}) {
        TwoFileSet set;
        Tables t;
        const FirmwareBaseOpen b = openFirmwareBase(t.translation, t.work, set.base());
        openFirmwareDestination(t.translation, t.work, family(kind), b.baseFiles, set.dest());
        t.translation.setCell(4, 1, "JEDEN");       // longer than "jed": cut to 3
        t.translation.setCell(4, 3, "I'");          // shorter than "T'o": padded, apostrophe doubled
        t.translation.setCell(4, 2, "b\xB9\x9C\xE6!");  // Windows-1250 bytes kept
        std::filesystem::remove(set.dir / "ORVANTA/OUT/EDIT.CZE");
        const std::string oldA = readBytes(set.dir / "ORVANTA/OUT/A.CZE");
        const FirmwareSave s =
            saveFirmwareDestination(t.translation, t.work, family(kind), set.dest(), BackupChoice::dated());
        ASSERT_TRUE(s.ok());
        // The file replaced is kept; the new one had nothing to keep.
        ASSERT_EQ(s.backups.size(), 1u);
        EXPECT_EQ(readBytes(s.backups[0]), oldA);
        const std::string out = set.dir / "ORVANTA/OUT/";
        EXPECT_EQ(s.outputFolder, out);
        EXPECT_EQ(s.outputExtension, ".CZE");
        EXPECT_EQ(s.files, (std::vector<std::string>{out + "A.CZE", out + "EDIT.CZE"}));
        EXPECT_EQ(s.destFileName, out + (kind == kTelmo ? "EDIT.CZE" : "A.CZE"));
        EXPECT_EQ(readBytes(out + "A.CZE"), crlf({"A1 'JED'", "-", "A3 \"b\xB9\x9C\xE6!\" ; trzeci"}));
        EXPECT_EQ(readBytes(out + "EDIT.CZE"),
                  crlf({"; naglowek", "E1 'I'' '", "", "E3 'piec' // piaty", "KONIEC"}));
        // The merged lines stay in the working table.
        EXPECT_EQ(t.work.cell(2, 0), "A1 'JED'");

        // Reading the saved set back stores what was written.
        const FirmwareDestinationOpen back =
            openFirmwareDestination(t.translation, t.work, family(kind), b.baseFiles, s.destFileName);
        ASSERT_TRUE(back.loaded());
        EXPECT_EQ(back.structureFailureRow, 0);
        EXPECT_EQ(column(t.work, 7, 1, 5), (std::vector<std::string>{"JED", "b\xB9\x9C\xE6!", "I' ", "piec"}));
    }
}

// A destination line without a quoted text takes a typed text only where
// its place is certain; otherwise the save is refused as a whole. So is a
// text that its line would not read back (quote characters, ";"): saved
// again, that line would also lose what follows its text.
TEST(FirmwareSave, TextsWithoutPlaceRefuseTheSave)
{
    struct Case {
        const char* name;
        std::string destLine;  // line 4 of EDIT.CZE, the line of row 4 ("E3 'five' // fifth")
        std::string typed;
        std::string saved;  // that line as written; empty: refused
        bool quoteBreaks = false;
    };
    const std::vector<Case> cases = {
        {"no text, another form", "E3 // piaty", "PIEC", ""},
        {"no text, another form, nothing typed", "E3 // piaty", "    ", "E3 // piaty"},
        {"the base line's code without its text", "E3", "PIEC", "E3 'PIEC' // fifth"},
        {"an empty line", "", "PIEC", "E3 'PIEC' // fifth"},
        {"an apostrophe inside", "E3 'piec' // piaty", "I'm", "E3 'I''m ' // piaty"},
        {"an apostrophe at the start", "E3 'piec' // piaty", "'pie", "E3 '''pie' // piaty"},
        {"an apostrophe at the end", "E3 'piec' // piaty", "pie'", "", true},
        {"an apostrophe inside quotation marks", "E3 \"piec\" }, // piaty", "I'm", "E3 \"I'm \" }, // piaty"},
        {"a quotation mark inside", "E3 \"piec\" }, // piaty", "a\"b", "", true},
        {"a semicolon", "E3 'piec' // piaty", "a;b", "", true},
        {"two apostrophes", "E3 'piec' // piaty", "a''b", "", true},
        {"quotation marks around", "E3 \"piec\" }, // piaty", "\"ab\"", "", true},
        {"a quotation mark at the end", "E3 {\"piec\"},", "abc\"", "", true},
        {"an unclosed quote, text unchanged", "E3 \"piec", "piec", "E3 \"piec"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TwoFileSet set;
        set.dir.put("ORVANTA/OUT/EDIT.CZE", crlf({"; naglowek", "E1 'T''o'", "", c.destLine, "KONIEC"}));
        Tables t;
        const FirmwareBaseOpen b = openFirmwareBase(t.translation, t.work, set.base());
        const FirmwareDestinationOpen d =
            openFirmwareDestination(t.translation, t.work, family(kQL5), b.baseFiles, set.dest());
        ASSERT_EQ(d.structureFailureRow, 0);
        const auto withoutPlace = firmwareLinesWithoutPlace(t.translation, t.work);
        t.translation.setCell(4, 4, c.typed);
        const std::string before = readBytes(set.dest());
        const FirmwareSave s =
            saveFirmwareDestination(t.translation, t.work, family(kQL5), set.dest(), BackupChoice::none());
        if (c.saved.empty()) {
            ASSERT_EQ(s.unplaced.size(), 1u);
            EXPECT_EQ(s.unplaced[0].row, 4);
            EXPECT_EQ(s.unplaced[0].file, 1u);
            EXPECT_EQ(s.unplaced[0].line, 4);
            EXPECT_EQ(s.unplaced[0].what(),
                      c.quoteBreaks ? "the text of row 4 would not read back from its line as saved: a quote "
                                      "character or \";\" in it, or a quote the line never closes, ends the "
                                      "quoted text elsewhere"
                                    : "the line holds no quoted text and is not in its base line's form: the "
                                      "text of row 4 has no place in it");
            EXPECT_FALSE(s.ok());
            EXPECT_TRUE(s.files.empty());
            EXPECT_EQ(readBytes(set.dest()), before);
            EXPECT_EQ(t.work.cell(2, 6), c.destLine);
            // Only a line that could take no text at all is known before the save.
            ASSERT_EQ(withoutPlace.size(), c.quoteBreaks ? 0u : 1u);
            if (!c.quoteBreaks) {
                EXPECT_EQ(withoutPlace[0].row, 4);
            }
        } else {
            ASSERT_TRUE(s.ok());
            EXPECT_EQ(splitLines(readBytes(set.dest())).at(3), c.saved);
            EXPECT_EQ(withoutPlace.size(), c.typed == "    " ? 1u : 0u);
        }
    }
}

TEST(FirmwareSave, OutputExtension)
{
    struct Case {
        const char* chosen;
        const char* ext;
    };
    for (const Case& c : std::vector<Case>{{"/o/EDIT.CZE", ".CZE"},
                                           {"/o/CZE", ".CZE"},
                                           {"/o/cz e", ".cz_e"},
                                           {"/o/x.c-z", ".c_z"},
                                           {"/o/x.\xB9\xEA", ".__"},
                                           {"/o/a.b.cz1", ".cz1"},
                                           {"/o/x.", "."}}) {
        EXPECT_EQ(firmwareOutputExtension(c.chosen), c.ext) << c.chosen;
    }

    TwoFileSet set;
    Tables t;
    const FirmwareBaseOpen b = openFirmwareBase(t.translation, t.work, set.base());
    openFirmwareDestination(t.translation, t.work, family(kQL5), b.baseFiles, set.dest());
    const FirmwareSave s =
        saveFirmwareDestination(t.translation, t.work, family(kQL5), set.dir / "NEW/cz e", BackupChoice::dated());
    std::filesystem::create_directories(set.dir / "NEW");
    EXPECT_FALSE(s.ok());  // the folder did not exist: the first file stops the save
    ASSERT_EQ(s.failures.size(), 1u);
    EXPECT_EQ(s.failures[0].path, set.dir / "NEW/A.cz_e");
    const FirmwareSave again =
        saveFirmwareDestination(t.translation, t.work, family(kQL5), set.dir / "NEW/cz e", BackupChoice::dated());
    EXPECT_TRUE(again.ok());
    EXPECT_EQ(readBytes(set.dir / "NEW/A.cz_e"), crlf(set.aCze));
}

TEST(FirmwareSave, ExistingNamesInAnotherCaseAreReplaced)
{
    TwoFileSet set;
    set.dir.put("ORVANTA/OUT/edit.cze", "old\r\n");
    std::filesystem::remove(set.dir / "ORVANTA/OUT/EDIT.CZE");
    Tables t;
    const FirmwareBaseOpen b = openFirmwareBase(t.translation, t.work, set.base());
    const FirmwareSave s =
        saveFirmwareDestination(t.translation, t.work, family(kQL5), set.dest(), BackupChoice::none());
    ASSERT_TRUE(s.ok());
    EXPECT_EQ(s.files[1], set.dir / "ORVANTA/OUT/edit.cze");
    EXPECT_FALSE(std::filesystem::exists(set.dir / "ORVANTA/OUT/EDIT.CZE"));
    EXPECT_EQ(b.baseFiles.size(), 2u);
}

TEST(FirmwareSave, BlankRightAfterBaseOpening)
{
    TwoFileSet set;
    Tables t;
    const FirmwareBaseOpen b = openFirmwareBase(t.translation, t.work, set.base());
    ASSERT_TRUE(b.loaded());
    t.translation.setCell(5, 1, "comment");
    const FirmwareSave s =
        saveBlankFirmwareDestination(t.translation, t.work, family(kOrvanta), set.dest(), BackupChoice::none());
    ASSERT_TRUE(s.ok());
    EXPECT_EQ(readBytes(set.dir / "ORVANTA/OUT/A.CZE"), "\r\n\r\n\r\n");
    EXPECT_EQ(readBytes(set.dir / "ORVANTA/OUT/EDIT.CZE"), "\r\n\r\n\r\n\r\n\r\n");
    EXPECT_EQ(t.translation.cell(5, 1), "");
}

TEST(FirmwareSave, FullDiskReportsFailureAndKeepsOldFiles)
{
    TwoFileSet set;
    const std::string out = set.dir / "ORVANTA/OUT/";
    Tables t;
    const FirmwareBaseOpen b = openFirmwareBase(t.translation, t.work, set.base());
    openFirmwareDestination(t.translation, t.work, family(kOrvanta), b.baseFiles, set.dest());
    t.translation.setCell(4, 1, "NEW");
    const auto before = set.dir.snapshot();

    // The file-size limit lets the short A.CZE (34 bytes) through but not
    // EDIT.CZE (53 bytes): the set is saved all or nothing.
    FirmwareSave s;
    {
        FileSizeLimit limit(40);
        s = saveFirmwareDestination(t.translation, t.work, family(kOrvanta), set.dest(), BackupChoice::dated());
    }
    EXPECT_FALSE(s.ok());
    ASSERT_EQ(s.failures.size(), 1u);
    EXPECT_EQ(s.failures[0].path, out + "EDIT.CZE");
    EXPECT_EQ(set.dir.snapshot(), before);
}

}  // namespace
}  // namespace tov
