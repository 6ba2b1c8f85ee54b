// "Save destination" of every kind under faults: a full disk, a read-only
// folder, a backup copy that cannot be made (answered No and Yes), backup
// names already taken within the same second, and a firmware set whose
// second file cannot be written. Each case compares the program folder byte
// for byte with what it held before, so that nothing changed and nothing
// was left behind.
#include <QRegularExpression>
#include <filesystem>
#include <optional>

#include <sys/stat.h>

#include "formats/source_kind.h"
#include "tests/support/fault_injection.h"
#include "tests/support/save_faults.h"
#include "tests/support/temp_folder.h"
#include "tests/workspace/save_fixture.h"

namespace tov::test {
namespace {

using namespace tov::testing;
using Fault = SaveFault;

struct Kind {
    const char* name;
    std::vector<std::string> targets;  // the files a save replaces, in the order it writes them
    // The files chosen in the dialogs of the commands that open the base and the destination.
    std::vector<std::pair<const char*, void (TForm1::*)()>> opening;
    const char* saveAs;  // the save dialog's answer; none without dialog
    const char* error;   // a failed save's message, "%1" the file
};

void PrintTo(const Kind& kind, std::ostream* os) { *os << kind.name; }

class SaveFaults : public SaveTest, public ::testing::WithParamInterface<std::tuple<Kind, Fault>> {
protected:
    void choose(const std::string& relative) { prompts.choose(path(relative)); }
    // The program folder without the settings file, which the window writes as it likes.
    Snapshot snapshot() const
    {
        Snapshot s = folderSnapshot(folder);
        s.erase("tovrana.ini");
        return s;
    }
    void editRound(int round) { edit(1, "Zmiana" + std::to_string(round)); }
    // "Save destination", answering its dialog and then, when given, its question.
    void save(const Kind& kind, std::optional<MsgButton> answer = std::nullopt)
    {
        if (kind.saveAs) choose(kind.saveAs);
        if (answer) prompts.press(*answer);
        form1->Savedest1Click();
    }
    QString error(const Kind& kind, const std::string& relative) const
    {
        return QString::fromLatin1(kind.error).arg(path(relative));
    }
};

const Kind kKinds[] = {
    {"drc",
     {"dest/Konfix_pl.drc"},
     {{"base/Konfix_en.drc", &TForm1::Konfix1Click}, {"dest/Konfix_pl.drc", &TForm1::OpenDest1Click}},
     "dest/Konfix_pl.drc",
     "Error saving file \"%1\"."},
    {"firmware",
     {"ORVANTA/OUT/EDIT.CZE", "ORVANTA/OUT/MENU.CZE"},
     {{"ORVANTA/ENG/EDIT.ENG", &TForm1::Orvantafirmware1Click}, {"ORVANTA/POL/EDIT.POL", &TForm1::OpenDest1Click}},
     "ORVANTA/OUT/EDIT.CZE",
     "Error saving file \"%1\"."},
    {"menu INI", {"menu.ini"}, {{"menu.ini", &TForm1::INIfile1Click}}, nullptr, "Unable to write to %1"},
    {"C string arrays", {"out.c"}, {{"texts.c", &TForm1::FileC1Click}}, "out.c", "Error saving file \"%1\"."},
};

TEST_P(SaveFaults, LeaveEveryFileAsItWasOrKeepItsBackup)
{
    const auto& [kind, fault] = GetParam();
    for (const auto& [name, bytes] : saveFaultFiles(kind.name)) writeFile(name, bytes);
    writeFile("tovrana.ini", "[files]\r\nl1=0\r\nl2=1\r\nc1=0\r\nc2=1\r\n");
    start();
    for (const auto& [file, command] : kind.opening) {
        choose(file);
        (form1.get()->*command)();
    }
    editRound(1);
    ASSERT_EQ(prompts.messages(), std::vector<QString>{}) << "opened without a message";
    const std::string target = kind.targets.front();

    arrangeSaveFault(fault, folder, kind.targets);
    const Snapshot before = snapshot();
    const std::string folderOfTarget = folder + target.substr(0, target.rfind('/') + 1);

    switch (fault) {
    case Fault::FullDisk: {
        FileSizeLimit full(16);
        save(kind);
        break;
    }
    case Fault::ReadOnlyFolder: {
        ASSERT_EQ(::chmod(folderOfTarget.c_str(), 0555), 0);
        {
            WithoutFileOverride unprivileged;
            save(kind);
        }
        ::chmod(folderOfTarget.c_str(), 0755);
        break;
    }
    case Fault::NoBackup:
    case Fault::NoBackupThenSaveAnyway: {
        FileSizeLimit roomForTheNewFilesOnly(kRoomForTheNewFilesOnly);
        save(kind, fault == Fault::NoBackupThenSaveAnyway ? Yes : No);
        break;
    }
    case Fault::BackupNamesTaken:
    case Fault::SecondFileBlocked:
        save(kind);
        break;
    }
    EXPECT_TRUE(prompts.allAnswered());
    const std::vector<QString> messages = prompts.messages();
    const Snapshot after = snapshot();

    switch (fault) {
    case Fault::FullDisk:
    case Fault::ReadOnlyFolder:
        EXPECT_EQ(messages, std::vector<QString>{error(kind, target)});
        EXPECT_EQ(after, before);
        break;
    case Fault::SecondFileBlocked:
        EXPECT_EQ(messages, std::vector<QString>{error(kind, kind.targets[1])});
        EXPECT_EQ(after, before);
        break;
    case Fault::NoBackup:
    case Fault::NoBackupThenSaveAnyway: {
        ASSERT_EQ(messages.size(), 1u);
        const QString t = QRegularExpression::escape(path(target));
        EXPECT_TRUE(QRegularExpression("^The backup copy of \"" + t + "\" could not be made:\r" + t +
                                       R"(\.\d{4}(\.\d\d){5}\.bak: File too large\r\rSave without a backup copy\?$)")
                        .match(messages[0])
                        .hasMatch())
            << messages[0].toStdString();
        EXPECT_EQ(prompts.ofKind(Request::Message)[0].icon, MsgIcon::Warning);
        if (fault == Fault::NoBackup) {
            EXPECT_EQ(after, before);
            break;
        }
        // Saved without a backup: the same files, the targets rewritten.
        ASSERT_EQ(after.size(), before.size());
        for (const auto& [name, bytes] : before) {
            const bool target = std::find(kind.targets.begin(), kind.targets.end(), name) != kind.targets.end();
            EXPECT_EQ(after.at(name) != bytes, target) << name;
        }
        break;
    }
    case Fault::BackupNamesTaken: {
        EXPECT_EQ(messages, std::vector<QString>{});
        // A second save right after keeps its backup too.
        editRound(2);
        save(kind);
        EXPECT_EQ(prompts.messages(), std::vector<QString>{});
        expectBothVersionsKept(before, after, snapshot(), kind.targets);
        break;
    }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryKind, SaveFaults,
                         ::testing::ValuesIn(saveFaultCases(kKinds, {Fault::FullDisk, Fault::ReadOnlyFolder,
                                                                     Fault::NoBackup, Fault::NoBackupThenSaveAnyway,
                                                                     Fault::BackupNamesTaken})),
                         saveFaultCaseName<Kind>);

}  // namespace
}  // namespace tov::test
