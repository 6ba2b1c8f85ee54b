#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <stdexcept>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/atomic_file.h"
#include "support/files.h"
#include "fault_injection.h"
#include "temp_folder.h"

namespace tov {
namespace {

using tov::testing::FileSizeLimit;
using tov::testing::TempFolder;
using tov::testing::WithoutFileOverride;

mode_t modeOf(const std::string& path)
{
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st.st_mode;
}

TEST(AtomicWrite, CreatesAndReplacesKeepingPermissions)
{
    TempFolder dir;
    const std::string f = dir / "a.drc";
    ASSERT_TRUE(writeFileAtomic(f, std::string("new\0\xFF", 5)));
    EXPECT_EQ(dir.get("a.drc"), std::string("new\0\xFF", 5));
    const mode_t um = ::umask(0);
    ::umask(um);
    EXPECT_EQ(modeOf(f) & 0777, 0666 & ~um);

    ::chmod(f.c_str(), 0640);
    ASSERT_TRUE(writeFileAtomic(f, ""));
    EXPECT_EQ(dir.get("a.drc"), "");
    EXPECT_EQ(modeOf(f) & 07777, 0640u);
    EXPECT_EQ(dir.entries(), std::vector<std::string> {"a.drc"});

    // A name as long as a name may be still saves (the temporary name is shortened).
    const std::string longName(255, 'n');
    EXPECT_TRUE(writeFileAtomic(dir / longName, "x"));
    EXPECT_EQ(dir.get(longName), "x");
}

TEST(AtomicWrite, WritesThroughSymbolicLinks)
{
    TempFolder dir;
    ::mkdir((dir / "real").c_str(), 0755);
    dir.put("real/t.ini", "old");
    ASSERT_EQ(::symlink("real/t.ini", (dir / "link.ini").c_str()), 0);
    ASSERT_EQ(::symlink("link.ini", (dir / "chain.ini").c_str()), 0);
    ASSERT_TRUE(writeFileAtomic(dir / "chain.ini", "new"));
    EXPECT_TRUE(S_ISLNK(modeOf(dir / "link.ini")));
    EXPECT_TRUE(S_ISLNK(modeOf(dir / "chain.ini")));
    EXPECT_EQ(dir.get("real/t.ini"), "new");
    EXPECT_EQ(dir.entries(), (std::vector<std::string> {"chain.ini", "link.ini", "real"}));
}

TEST(AtomicWrite, RefusesTargetsThatAreNoRegularFiles)
{
    TempFolder dir;
    ::mkdir((dir / "folder").c_str(), 0755);
    dir.put("folder/inside", "kept");
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0644), 0);
    std::vector<std::string> targets = {"folder", "pipe"};
    // A device node of our own (the null device), when we may create one.
    if (::mknod((dir / "dev").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) targets.push_back("dev");
    for (const auto& t : targets) {
        const WriteResult r = writeFileAtomic(dir / t, "data");
        EXPECT_FALSE(r.ok) << t;
        EXPECT_FALSE(r.error.empty()) << t;
    }
    EXPECT_TRUE(S_ISDIR(modeOf(dir / "folder")));
    EXPECT_EQ(dir.get("folder/inside"), "kept");
    EXPECT_TRUE(S_ISFIFO(modeOf(dir / "pipe")));
    if (targets.size() == 3) {
        EXPECT_TRUE(S_ISCHR(modeOf(dir / "dev")));
    }
    std::vector<std::string> expected = {"folder", "pipe"};
    if (targets.size() == 3) expected.insert(expected.begin(), "dev");
    EXPECT_EQ(dir.entries(), expected);

    EXPECT_FALSE(writeFileAtomic(dir / "no/such/folder.txt", "x"));
    EXPECT_FALSE(writeFileAtomic("", "x"));
}

// A file "t.drc" holding kOld is replaced by kNew under a fault; every
// save that fails leaves the folder exactly as it was.
const std::string kOld = "[old]\r\n" + std::string(300, 'o') + "\r\n";
const std::string kNew = "[new]\r\nk=1\r\n";

TEST(AtomicWrite, FaultsLeaveTheOldFileAndNothingElse)
{
    struct Case {
        const char* name;
        std::function<void(const TempFolder&)> prepare;  // before the save, with root's powers
        rlim_t fileSizeLimit;
        bool backupFailed;
        std::string error;  // after the folder's path
    };
    const Case cases[] = {
        {"full disk", nullptr, 8, false, "t.drc: File too large"},
        {"full disk for the backup copy only", nullptr, kNew.size() + 1, true,
         "t.drc.*.bak: File too large"},
        {"a file that cannot be read cannot be backed up",
         [](const TempFolder& d) { ::chmod((d / "t.drc").c_str(), 0200); }, RLIM_INFINITY, true,
         "t.drc: Permission denied"},
        {"read-only folder", [](const TempFolder& d) { ::chmod(d.path().c_str(), 0555); }, RLIM_INFINITY, false,
         "t.drc: Permission denied"},
        {"a read-only file of another user is not taken over",
         [](const TempFolder& d) {
             if (::chown((d / "t.drc").c_str(), 65534, 65534) != 0 || ::chmod((d / "t.drc").c_str(), 0444) != 0)
                 throw std::runtime_error("cannot give the file to another user (needs root)");
         },
         RLIM_INFINITY, false, "t.drc: Permission denied"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        dir.put("t.drc", kOld);
        if (c.prepare) c.prepare(dir);
        const auto before = dir.snapshot();
        WriteResult r;
        {
            WithoutFileOverride unprivileged;
            FileSizeLimit limit(c.fileSizeLimit);
            r = writeFileAtomic(dir / "t.drc", kNew, BackupChoice::dated());
        }
        ::chmod(dir.path().c_str(), 0755);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.backupFailed, c.backupFailed);
        EXPECT_TRUE(maskMatches(r.error, dir.path() + c.error)) << r.error;
        EXPECT_EQ(r.failedPath, dir / "t.drc");
        EXPECT_TRUE(r.backups.empty());
        EXPECT_EQ(dir.snapshot(), before);
    }
}

// Bytes made while they are written: small pieces gathered, pieces of the
// buffer's size and more passed on as they are, in order; a disk that fills
// half-way leaves the old file and nothing else.
TEST(AtomicWrite, WritesBytesMadePieceByPiece)
{
    std::vector<std::string> pieces;
    std::string whole;
    for (const std::size_t size : {0, 1, 65535, 3, 70000, 2, 65536, 65534, 5}) {
        pieces.push_back(std::string(size, static_cast<char>('a' + pieces.size())));
        whole += pieces.back();
    }
    const ByteProducer produce = [&pieces](ByteSink& sink) {
        for (const std::string& piece : pieces) sink.write(piece);
    };
    for (const rlim_t limit : {RLIM_INFINITY, rlim_t{100000}}) {
        SCOPED_TRACE(limit);
        TempFolder dir;
        dir.put("t.tsv", kOld);
        const auto before = dir.snapshot();
        WriteResult r;
        {
            WithoutFileOverride unprivileged;
            FileSizeLimit sized(limit);
            r = writeFileAtomic(dir / "t.tsv", produce);
        }
        if (limit == RLIM_INFINITY) {
            ASSERT_TRUE(r.ok) << r.error;
            EXPECT_EQ(dir.get("t.tsv"), whole);
            EXPECT_EQ(dir.entries(), std::vector<std::string>{"t.tsv"});
        } else {
            EXPECT_FALSE(r.ok);
            EXPECT_EQ(r.error, dir / "t.tsv" + ": File too large");
            EXPECT_EQ(dir.snapshot(), before);
        }
    }
}

TEST(AtomicWrite, KeepsTheReplacedVersionAsADatedBackup)
{
    TempFolder dir;
    dir.put("t.drc", kOld);
    ::chmod((dir / "t.drc").c_str(), 0444);  // our own read-only file is still ours to replace
    const std::time_t before = std::time(nullptr);
    const WriteResult r = writeFileAtomic(dir / "t.drc", kNew, BackupChoice::dated());
    const std::time_t after = std::time(nullptr);
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.backups.size(), 1u);
    // The copy is named after a moment of the save, which may straddle a second.
    bool named = false;
    for (std::time_t t = before; t <= after; ++t) named = named || r.backups[0] == backupName(dir / "t.drc", backupStamp(t));
    EXPECT_TRUE(named) << r.backups[0];
    EXPECT_EQ(dir.get("t.drc"), kNew);
    EXPECT_EQ(modeOf(dir / "t.drc") & 07777, 0444u);
    EXPECT_EQ(dir.get(r.backups[0].substr(dir.path().size())), kOld);

    // A new file has nothing to keep.
    const WriteResult fresh = writeFileAtomic(dir / "new.drc", kNew, BackupChoice::dated());
    EXPECT_TRUE(fresh.ok && fresh.backups.empty());
    EXPECT_EQ(dir.entries().size(), 3u);
}

TEST(FileSet, IsWrittenAllOrNothing)
{
    struct Case {
        const char* name;
        bool secondIsFolder;
        rlim_t fileSizeLimit;
        std::function<void(const TempFolder&)> spoil;  // between writing the temporary files and commit
    };
    const Case cases[] = {
        {"a folder where the second file goes", true, RLIM_INFINITY, nullptr},
        {"full disk at the second file", false, 100, nullptr},
        // A file removed mid-run: the second file cannot be put in place, so
        // the first one, already replaced, gets its old bytes back.
        {"the second temporary file removed", false, RLIM_INFINITY,
         [](const TempFolder& d) {
             for (const std::string& n : d.entries())
                 if (n.starts_with(".B.CZE.tovrana-")) ::unlink((d / n).c_str());
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        dir.put("A.CZE", "old a\r\n");
        if (c.secondIsFolder) ::mkdir((dir / "B.CZE").c_str(), 0755);
        else dir.put("B.CZE", "old b\r\n");
        const auto before = dir.snapshot();
        WriteResult r;
        {
            FileSizeLimit limit(c.fileSizeLimit);
            FileSetWriter set(BackupChoice::dated());
            const bool added = set.add(dir / "A.CZE", "new a\r\n") && set.add(dir / "B.CZE", std::string(200, 'b')) &&
                               set.add(dir / "C.CZE", "new c\r\n");
            EXPECT_EQ(added, c.spoil != nullptr);
            if (c.spoil) c.spoil(dir);
            r = set.commit();
        }
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.failedPath, dir / "B.CZE");
        EXPECT_EQ(dir.snapshot(), before);
    }

    // A set saved over older files keeps a backup of each file it replaced.
    TempFolder dir;
    dir.put("A.CZE", "old a\r\n");
    FileSetWriter set(BackupChoice::dated());
    ASSERT_TRUE(set.add(dir / "A.CZE", "new a\r\n") && set.add(dir / "B.CZE", "new b\r\n"));
    const WriteResult r = set.commit();
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.backups.size(), 1u);
    EXPECT_EQ(dir.get(r.backups[0].substr(dir.path().size())), "old a\r\n");
    EXPECT_EQ(dir.get("A.CZE") + dir.get("B.CZE"), "new a\r\nnew b\r\n");
}

TEST(AtomicWrite, RemovesTheStaleTemporaryFilesOfThisProgram)
{
    TempFolder dir;
    const std::string stale = ".a.drc.tovrana-AbC123";
    const std::vector<std::string> kept = {
        ".b.drc.tovrana-xyz789",  // recent: a save may still be writing it
        ".c.drc.tovrana-12345",   // not a name of ours
        "d.drc.tovrana-abcdef",
        ".e.drc.tovrana-ab_def",
    };
    dir.put(stale, "x");
    for (const std::string& n : kept) dir.put(n, "x");
    const std::time_t longAgo = std::time(nullptr) - kStaleTemporaryAge - 1;
    const timespec old[2] = {{longAgo, 0}, {longAgo, 0}};
    for (const std::string& n : kept)
        if (n != kept[0]) ::utimensat(AT_FDCWD, (dir / n).c_str(), old, 0);
    ::utimensat(AT_FDCWD, (dir / stale).c_str(), old, 0);

    ASSERT_TRUE(writeFileAtomic(dir / "menu.ini", "[x]\r\n"));
    std::vector<std::string> expected = kept;
    expected.push_back("menu.ini");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(dir.entries(), expected);
    EXPECT_TRUE(isTemporaryName(stale));
    EXPECT_FALSE(isTemporaryName(kept[1]));
}

}  // namespace
}  // namespace tov
