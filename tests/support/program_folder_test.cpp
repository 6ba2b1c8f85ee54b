#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "support/program_folder.h"
#include "temp_folder.h"

namespace tov {
namespace {

using tov::testing::TempFolder;

// Three layouts side by side: a portable folder with its settings file, a
// build folder without one, and an install (bin/ beside share/tovrana/demo/).
class ProgramFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        t.put("portable/tovrana.ini", "");
        std::filesystem::create_directories(t / "build");
        t.put("usr/share/tovrana/demo/base/a.drc", "sample\r\n");
        t.put("usr/share/tovrana/demo/tovrana.ini", "[files]\r\n");
        std::filesystem::create_directories(t / "usr/bin");
    }
    TempFolder t;
};

TEST_F(ProgramFolderTest, WhereTheFolderIs)
{
    const UserEnvironment home{"", "/home/u"};
    struct Case {
        const char* name;
        std::string executable, chosen;
        UserEnvironment env;
        FolderMode mode;
        std::string folder;  // "" for none
    };
    const Case cases[] = {
        {"a folder with its settings file", t / "portable/tovrana", "", home, FolderMode::Portable, t / "portable/"},
        {"a writable folder that is no install", t / "build/tovrana", "", home, FolderMode::Portable, t / "build/"},
        {"an install, even a writable one", t / "usr/bin/tovrana", "", home, FolderMode::PerUser,
         "/home/u/.local/share/tovrana/"},
        {"$XDG_DATA_HOME", t / "usr/bin/tovrana", "", {"/data/", "/home/u"}, FolderMode::PerUser, "/data/tovrana/"},
        {"a relative $XDG_DATA_HOME is ignored", t / "usr/bin/tovrana", "", {"data", "/home/u"}, FolderMode::PerUser,
         "/home/u/.local/share/tovrana/"},
        {"no home folder", t / "usr/bin/tovrana", "", {}, FolderMode::PerUser, ""},
        {"--folder, relative", t / "portable/tovrana", "work/../tr", home, FolderMode::Chosen, "/cwd/tr/"},
        {"--folder, absolute", t / "usr/bin/tovrana", "/x/tr/", home, FolderMode::Chosen, "/x/tr/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ProgramFolder where = locateProgramFolder(c.executable, c.chosen, c.env, "/cwd");
        EXPECT_EQ(where.mode, c.mode);
        EXPECT_EQ(where.folder, c.folder);
        EXPECT_EQ(where.settingsFile, c.folder.empty() ? "" : c.folder + "tovrana.ini");
        // The samples are those of the install, whatever the mode.
        const bool installed = c.executable == t / "usr/bin/tovrana";
        EXPECT_EQ(where.samples, installed ? t / "usr/share/tovrana/demo/" : "");
    }
    // The settings file is named after the executable.
    EXPECT_EQ(locateProgramFolder(t / "build/tr", "", home, "/").settingsFile, t / "build/tr.ini");
}

TEST_F(ProgramFolderTest, ANewFolderGetsTheDataFoldersAndTheSamples)
{
    const std::vector<std::string> subfolders = {"base", "dest", "ORVANTA/OUT"};
    ProgramFolder where{FolderMode::PerUser, t / "home/.local/share/tovrana/", "", t / "usr/share/tovrana/demo/"};
    ASSERT_EQ(prepareProgramFolder(where, subfolders), "");
    EXPECT_EQ(t.get("home/.local/share/tovrana/base/a.drc"), "sample\r\n");
    EXPECT_EQ(t.get("home/.local/share/tovrana/tovrana.ini"), "[files]\r\n");
    for (const std::string& sub : subfolders) EXPECT_TRUE(std::filesystem::is_directory(where.folder + sub)) << sub;
    // Nothing is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(t / "home/.local/share"), {}), 1);

    // An existing folder is the user's: nothing is copied or made again.
    t.put("home/.local/share/tovrana/base/a.drc", "translated\r\n");
    std::filesystem::remove(t / "home/.local/share/tovrana/dest");
    ASSERT_EQ(prepareProgramFolder(where, subfolders), "");
    EXPECT_EQ(t.get("home/.local/share/tovrana/base/a.drc"), "translated\r\n");
    EXPECT_FALSE(std::filesystem::exists(t / "home/.local/share/tovrana/dest"));

    // A chosen folder without samples gets the data folders only.
    where = {FolderMode::Chosen, t / "chosen/", "", ""};
    ASSERT_EQ(prepareProgramFolder(where, subfolders), "");
    EXPECT_EQ(t.get("chosen/tovrana.ini"), "");
    EXPECT_TRUE(std::filesystem::is_directory(t / "chosen/ORVANTA/OUT"));

    // A portable folder is never changed.
    ASSERT_EQ(prepareProgramFolder({FolderMode::Portable, t / "build/", "", t / "usr/share/tovrana/demo/"}, subfolders),
              "");
    EXPECT_FALSE(std::filesystem::exists(t / "build/base"));
}

TEST_F(ProgramFolderTest, AFolderThatCannotBeMadeIsReportedAndLeavesNothing)
{
    t.put("file", "x");
    const std::pair<ProgramFolder, std::string> cases[] = {
        {{FolderMode::Chosen, t / "file/", "", ""}, "it exists and is not a folder"},
        {{FolderMode::Chosen, t / "file/tovrana/", "", ""}, "Not a directory"},
        {{FolderMode::PerUser, "", "", ""}, "there is no home folder to keep it in"},
        // Samples that cannot be copied: the half made folder goes again.
        {{FolderMode::Chosen, t / "new/", "", t / "missing/"}, "No such file or directory"},
    };
    for (const auto& [where, error] : cases) {
        SCOPED_TRACE(where.folder);
        EXPECT_EQ(prepareProgramFolder(where, {"base"}), error);
    }
    EXPECT_EQ(t.entries(), (std::vector<std::string>{"build", "file", "portable", "usr"}));
}

}  // namespace
}  // namespace tov
