#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/files.h"
#include "temp_folder.h"

namespace tov {
namespace {

using tov::testing::TempFolder;
using Names = std::vector<std::string>;

TEST(Files, ProgramRelativeNames)
{
    const std::string p = "/opt/Tr/";
    const std::string longName = p + std::string(250, 'x');
    const std::pair<std::string, std::string> cases[] = {
        {"/opt/Tr/base/x.drc", "./base/x.drc"},
        {"/opt/Tr/", "./"},
        {"/opt/Tr/menu.ini", "./menu.ini"},
        {"/opt/tr/base/x.drc", "/opt/tr/base/x.drc"},  // bytes compared with case
        {"/opt/Trx/a.drc", "/opt/Trx/a.drc"},
        {"/other/a.drc", "/other/a.drc"},
        {longName, longName},
    };
    for (const auto& [path, expected] : cases) {
        EXPECT_EQ(programRelativeName(path, p), expected) << path;
        EXPECT_EQ(resolveProgramRelative(programRelativeName(path, p), p), path) << path;
    }
    EXPECT_EQ(programRelativeName("/opt/Trx/a", "/opt/Tr"), "/opt/Trx/a");  // folder without its "/"
    const std::string longFolder = "/" + std::string(255, 'f') + "/";
    EXPECT_EQ(programRelativeName(longFolder + "a", longFolder), longFolder + "a");
    EXPECT_EQ(resolveProgramRelative(".", p), p);
    EXPECT_EQ(absolutePath("./a", "/w"), "/w/a");
    EXPECT_EQ(absolutePath("/x/a", "/w"), "/x/a");
}

TEST(Files, MasksMatchWithoutRegardToCase)
{
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"EDIT.ENG", "EDIT.*", true},          {"edit.pol", "EDIT.*", true},
        {"EDITX.ENG", "EDIT.*", false},        {"a.c", "*.c", true},
        {"a.cpp", "*.c", false},               {"abc", "a?c", true},
        {"ac", "a?c", false},                  {"Konfix_pl.drc", "Konfix*.drc", true},
        {"konfix.DRC", "Konfix*.drc", true},   {"x.drc.bak", "*.drc", false},
        {"", "*", true},                       {"aXbXc", "a*b*c", true},
    };
    for (const auto& [name, mask, match] : cases) EXPECT_EQ(maskMatches(name, mask), match) << name << " " << mask;
}

TEST(Files, ListsMatchingFilesSortedWithoutFolders)
{
    TempFolder dir;
    for (const char* f : {"b.TXT", "A.txt", "c.doc", ".h.txt", "a.txt.bak"}) dir.put(f, "x");
    ::mkdir((dir / "d.txt").c_str(), 0755);
    ::chmod((dir / "b.TXT").c_str(), 0);
    EXPECT_EQ(listFolder(dir.path(), "*.txt"), (Names {".h.txt", "A.txt", "b.TXT"}));
    EXPECT_EQ(listFolder(dir.path().substr(0, dir.path().size() - 1), "*.DOC"), Names {"c.doc"});
    EXPECT_EQ(listFolder(dir / "missing", "*"), Names {});
    EXPECT_EQ(findFileNoCase(dir.path(), "B.txt"), dir / "b.TXT");
    EXPECT_EQ(findFileNoCase(dir.path(), "new.txt"), dir / "new.txt");

    Names names = {"b", "B", "a", "_x", "A"};
    sortNamesNoCase(names);
    EXPECT_EQ(names, (Names {"_x", "A", "a", "B", "b"}));
}

TEST(Files, TempNamesCycleAndCleanUp)
{
    TempFolder dir;
    TempNamer namer(dir.path());
    EXPECT_EQ(namer.next("txt"), dir / "tmp0.txt");
    EXPECT_EQ(dir.entries(), Names {});  // the name is free, no file left behind

    for (int i = 1; i < 20; ++i) namer.next("txt");
    // Counter 20: its two files are removed first; 21 stays and is skipped.
    dir.put("tmp20.txt", "old");
    dir.put("tmp20.mp3", "old");
    dir.put("tmp21.txt", "taken");
    EXPECT_EQ(namer.next("txt"), dir / "tmp20.txt");
    EXPECT_EQ(namer.next("txt"), dir / "tmp22.txt");
    EXPECT_EQ(dir.entries(), Names {"tmp21.txt"});

    while (namer.counter() != 500) namer.next("c");
    EXPECT_EQ(namer.next("c"), dir / "tmp500.c");
    EXPECT_EQ(namer.counter(), 0);
    EXPECT_EQ(namer.next("c"), dir / "tmp0.c");

    TempNamer nowhere(dir / "missing/");
    EXPECT_EQ(nowhere.next("txt"), "");
    EXPECT_EQ(nowhere.counter(), 10);  // ten tries
    EXPECT_EQ(TempNamer("").next("txt"), "");
}

// A private folder goes with its owner; one left by a program that was killed
// (its lock held by nobody) goes when the next one is made; a live one and a
// folder that only looks like one stay.
TEST(Files, PrivateTempFoldersOfKilledProgramsAreRemoved)
{
    TempFolder tmp;
    const char* old = std::getenv("TMPDIR");
    const std::string saved = old ? old : "";
    ::setenv("TMPDIR", tmp.path().c_str(), 1);

    auto live = std::make_unique<PrivateTempFolder>("tov-");
    ASSERT_FALSE(live->path().empty());
    tmp.put("tov-foreign/kept", "x");  // no lock file: not ours
    const pid_t child = ::fork();
    if (child == 0) {
        PrivateTempFolder killed("tov-");
        ::_exit(killed.path().empty() ? 1 : 0);  // ends without its destructor
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    tmp.put("tov-unlckd/.lock", "");  // a lock nobody holds
    ASSERT_EQ(tmp.entries().size(), 4u);

    PrivateTempFolder next("tov-");
    const auto name = [](const std::string& path) { return path.substr(path.size() - 11, 10); };
    Names expected = {name(live->path()), name(next.path()), "tov-foreign"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(tmp.entries(), expected);
    live.reset();
    next.remove();
    EXPECT_EQ(tmp.entries(), Names {"tov-foreign"});

    if (old) ::setenv("TMPDIR", saved.c_str(), 1); else ::unsetenv("TMPDIR");
}

}  // namespace
}  // namespace tov
