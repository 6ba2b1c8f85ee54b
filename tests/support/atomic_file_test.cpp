#include <gtest/gtest.h>

#include <csignal>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/atomic_file.h"
#include "temp_folder.h"

namespace tov {
namespace {

using tov::testing::TempFolder;

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

// Runs writeFileAtomic in a child process whose files may not grow beyond
// `limit` bytes, as on a full disk. Returns whether the write reported failure.
bool failsWithFileSizeLimit(const std::string& path, const std::string& data, rlim_t limit)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit rl {limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &rl);
        const WriteResult r = writeFileAtomic(path, data);
        ::_exit(r.ok ? 1 : 0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(AtomicWrite, AFailedWriteLeavesTheOldFileAndNoTemporaryFile)
{
    TempFolder dir;
    dir.put("menu.ini", "[old]\r\nk=1\r\n");
    ::chmod((dir / "menu.ini").c_str(), 0600);
    EXPECT_TRUE(failsWithFileSizeLimit(dir / "menu.ini", std::string(100000, 'x'), 4096));
    EXPECT_EQ(dir.get("menu.ini"), "[old]\r\nk=1\r\n");
    EXPECT_EQ(modeOf(dir / "menu.ini") & 07777, 0600u);
    EXPECT_EQ(dir.entries(), std::vector<std::string> {"menu.ini"});
}

TEST(AtomicWrite, CopiesFiles)
{
    TempFolder dir;
    dir.put("a", std::string("\x00\x1A\r\n", 4));
    EXPECT_TRUE(copyFileAtomic(dir / "a", dir / "a.bak"));
    EXPECT_EQ(dir.get("a.bak"), dir.get("a"));
    dir.put("b", "kept");
    EXPECT_FALSE(copyFileAtomic(dir / "missing", dir / "b"));
    EXPECT_EQ(dir.get("b"), "kept");
}

}  // namespace
}  // namespace tov
