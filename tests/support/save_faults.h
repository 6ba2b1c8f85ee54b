// What the fault-injection suites of the tool's import and the window's save
// commands share: the faults, the table of cases, and the check that two
// saves within one second keep both versions.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <ctime>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include <sys/resource.h>

#include "support/backup.h"
#include "support/text_file.h"
#include "tests/support/temp_folder.h"

namespace tov::testing {

// The demo sample `relative` (a name below demo/).
inline std::string demoFile(const std::string& relative)
{
    return readBytes(std::string(TOVRANA_DEMO_SOURCE_DIR) + "/" + relative);
}

// Old files hold this much more than a save writes, so that a file-size limit
// between the two lets the new files through but not their backup copies.
inline const std::string kPadding(6000, 'x');
inline constexpr rlim_t kRoomForTheNewFilesOnly = 4096;

// What the cases of a kind ("drc", "firmware", "menu INI", "C string arrays")
// start from, by relative name: the demo's texts, and the files a save
// replaces holding more than it writes.
inline std::vector<std::pair<std::string, std::string>> saveFaultFiles(std::string_view kind)
{
    if (kind == "drc")  // a comment line, which the reader skips and a save does not write
        return {{"base/Konfix_en.drc", demoFile("base/Konfix_en.drc")},
                {"dest/Konfix_pl.drc", demoFile("dest/Konfix_pl.drc") + "// " + kPadding + "\r\n"}};
    if (kind == "firmware") {
        std::vector<std::pair<std::string, std::string>> files;
        for (const char* f : {"ENG/EDIT.ENG", "ENG/MENU.ENG", "POL/EDIT.POL", "POL/MENU.POL"})
            files.emplace_back(std::string("ORVANTA/") + f, demoFile(std::string("ORVANTA/") + f));
        files.emplace_back("ORVANTA/OUT/EDIT.CZE", kPadding);
        files.emplace_back("ORVANTA/OUT/MENU.CZE", kPadding);
        return files;
    }
    if (kind == "menu INI")
        return {{"menu.ini", "[English]\r\n1=File\r\n2=Edit\r\n[Polski]\r\n1=" + kPadding + "\r\n2=Edycja\r\n"}};
    return {{"texts.c", demoFile("texts.c")}, {"out.c", demoFile("texts.c") + "/* " + kPadding + " */\r\n"}};
}

enum class SaveFault {
    FullDisk,                // no room even for the new file
    ReadOnlyFolder,          // without root's file override
    NoBackup,                // room for the new files but not for the backup copy of the old ones
    NoBackupThenSaveAnyway,  // the same, and the window's question answered Yes
    BackupNamesTaken,        // by backups made earlier within the same seconds; a second save follows
    SecondFileBlocked,       // a folder where the second file of a set goes
};

inline const char* saveFaultName(SaveFault f)
{
    static const char* const names[] = {"FullDisk",         "ReadOnlyFolder",   "NoBackup", "NoBackupThenSaveAnyway",
                                        "BackupNamesTaken", "SecondFileBlocked"};
    return names[static_cast<int>(f)];
}
inline void PrintTo(SaveFault f, std::ostream* os) { *os << saveFaultName(f); }

// Every kind under every one of `faults`, and the kinds that save several
// files (Kind::targets) under SecondFileBlocked too.
template <class Kind, size_t N>
std::vector<std::tuple<Kind, SaveFault>> saveFaultCases(const Kind (&kinds)[N], std::initializer_list<SaveFault> faults)
{
    std::vector<std::tuple<Kind, SaveFault>> all;
    for (const Kind& k : kinds) {
        for (SaveFault f : faults) all.emplace_back(k, f);
        if (k.targets.size() > 1) all.emplace_back(k, SaveFault::SecondFileBlocked);
    }
    return all;
}

// "kind_Fault", the kind's name without blanks.
template <class Kind>
std::string saveFaultCaseName(const ::testing::TestParamInfo<std::tuple<Kind, SaveFault>>& info)
{
    std::string name = std::get<0>(info.param).name;
    std::erase_if(name, [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); });
    return name + "_" + saveFaultName(std::get<1>(info.param));
}

// The backup names of `targets` for this second and the next few: what
// earlier saves within the same seconds would have taken.
inline std::vector<std::string> takenBackupNames(const std::vector<std::string>& targets)
{
    std::vector<std::string> names;
    const std::time_t now = std::time(nullptr);
    for (std::time_t t = now; t < now + 5; ++t)
        for (const std::string& f : targets) names.push_back(backupName(f, backupStamp(t)));
    return names;
}

// What `fault` finds in place before the save, in the folder `folder`:
// backups made earlier within the same seconds, or a folder where the
// second target goes.
inline void arrangeSaveFault(SaveFault fault, const std::string& folder, const std::vector<std::string>& targets)
{
    if (fault == SaveFault::BackupNamesTaken)
        for (const std::string& name : takenBackupNames(targets)) {
            if (!writeFileAtomic(folder + name, "earlier backup")) throw std::runtime_error("cannot write " + name);
        }
    if (fault == SaveFault::SecondFileBlocked) {
        std::filesystem::remove(folder + targets[1]);
        std::filesystem::create_directory(folder + targets[1]);
    }
}

using Snapshot = std::map<std::string, std::string>;

// After two saves: every backup there was before is unchanged, and each
// target has two new backup copies, the bytes it held before each save.
inline void expectBothVersionsKept(const Snapshot& before, const Snapshot& afterFirst, const Snapshot& afterBoth,
                                   const std::vector<std::string>& targets)
{
    for (const auto& [name, bytes] : before) {
        if (name.ends_with(".bak")) {
            EXPECT_EQ(afterBoth.at(name), bytes) << name;
        }
    }
    for (const std::string& f : targets) {
        std::vector<std::string> copies;
        for (const auto& [name, bytes] : afterBoth)
            if (name.starts_with(f + ".") && name.ends_with(".bak") && !before.contains(name)) copies.push_back(bytes);
        EXPECT_EQ(copies.size(), 2u) << f;
        EXPECT_TRUE(std::find(copies.begin(), copies.end(), before.at(f)) != copies.end()) << f;
        EXPECT_TRUE(std::find(copies.begin(), copies.end(), afterFirst.at(f)) != copies.end()) << f;
    }
}

}  // namespace tov::testing
