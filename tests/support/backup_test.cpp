#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/backup.h"
#include "temp_folder.h"

namespace tov {
namespace {

using tov::testing::TempFolder;

std::time_t localTime(int year, int month, int day, int hour, int minute, int second)
{
    std::tm tm {};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}

TEST(Backup, NamesAreYearFirstOnA24HourClockSoThatTheySortInTimeOrder)
{
    struct Case {
        std::time_t when;
        const char* stamp;
    };
    const Case cases[] = {
        {localTime(1999, 12, 31, 23, 59, 59), "1999.12.31.23.59.59"},
        {localTime(2008, 5, 12, 14, 3, 5), "2008.05.12.14.03.05"},
        {localTime(2026, 1, 2, 8, 0, 0), "2026.01.02.08.00.00"},
        {localTime(2026, 1, 2, 20, 0, 0), "2026.01.02.20.00.00"},  // not the name of 8 AM
        {localTime(2026, 10, 2, 9, 0, 0), "2026.10.02.09.00.00"},
    };
    std::vector<std::string> names;
    for (const Case& c : cases) {
        EXPECT_EQ(backupStamp(c.when), c.stamp);
        names.push_back(backupName("/x/texts.drc", backupStamp(c.when)));
    }
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    EXPECT_EQ(names[1], "/x/texts.drc.2008.05.12.14.03.05.bak");
    EXPECT_EQ(backupName("/x/menu.ini", "2008-05-12 14:03:05", 2), "/x/menu.ini.2008.05.12.14.03.05.2.bak");
}

TEST(Backup, NeverTakesTheNameOfAnExistingFile)
{
    TempFolder dir;
    const std::time_t when = localTime(2008, 5, 12, 14, 3, 5);
    const std::string stem = "t.drc.2008.05.12.14.03.05";
    dir.put("t.drc", "first");
    ::chmod((dir / "t.drc").c_str(), 0600);
    // Something of that name already there (a folder) is skipped, not replaced.
    ::mkdir((dir / (stem + ".1.bak")).c_str(), 0755);

    const BackupResult a = makeDatedBackup(dir / "t.drc", when);
    dir.put("t.drc", "second");
    const BackupResult b = makeDatedBackup(dir / "t.drc", when);
    ASSERT_TRUE(a.ok && b.ok) << a.error << b.error;
    EXPECT_EQ(a.path, dir / (stem + ".bak"));
    EXPECT_EQ(b.path, dir / (stem + ".2.bak"));
    EXPECT_EQ(dir.get(stem + ".bak"), "first");
    EXPECT_EQ(dir.get(stem + ".2.bak"), "second");
    struct stat st {};
    ::stat(a.path.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0600u) << "a private file's copy stays private";

    const BackupResult missing = makeDatedBackup(dir / "none.drc", when);
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.error, dir / "none.drc" + ": No such file or directory");
    EXPECT_EQ(dir.entries(), (std::vector<std::string> {"t.drc", stem + ".1.bak", stem + ".2.bak", stem + ".bak"}));
}

TEST(Backup, RacingSavesWithinOneSecondKeepEveryCopy)
{
    TempFolder dir;
    dir.put("menu.ini", "[English]\r\n");
    const std::time_t when = std::time(nullptr);
    constexpr int kProcesses = 4, kEach = 10;
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            bool ok = true;
            for (int i = 0; i < kEach; ++i) ok = makeDatedBackup(dir / "menu.ini", when).ok && ok;
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const std::vector<std::string> names = dir.entries();
    EXPECT_EQ(names.size(), 1u + kProcesses * kEach);
    for (const std::string& n : names) EXPECT_EQ(dir.get(n), "[English]\r\n") << n;
}

}  // namespace
}  // namespace tov
