// The resource-string commands driven through the scripted dialogs on a
// temporary program folder.
#include <QDir>
#include <QRegularExpression>
#include <functional>

#include "formats/resource_strings/drc_file.h"
#include "formats/source_kind.h"
#include "support/files.h"
#include "tests/support/file_size_limit.h"
#include "tests/workspace/workspace_fixture.h"

namespace tov::test {
namespace {

const std::string kHead = "/* test */\r\nSTRINGTABLE\r\nBEGIN\r\n";
const QString kReadError = QStringLiteral("        Error reading file!       ");

std::string drc(const std::string& entries)
{
    return kHead + entries + "END\r\n";
}

class DrcCommands : public WorkspaceTest {
protected:
    void SetUp() override
    {
        WorkspaceTest::SetUp();
        writeFile("base/Konfix_en.drc", drc("A, \"alpha\"\r\nB, \"beta\"\r\nC, \"gamma\"\r\n"));
        writeFile("base/Vigrex_en.drc", drc("V1, \"one\"\r\nV2, \"two\"\r\n"));
        writeFile("base/broken.drc", "no table header in here\r\nA, \"x\"\r\n");
        writeFile("dest/Konfix_pl.drc", drc("A, \"alfa\"\r\nB, \"beta pl\"\r\nC, \"gamma pl\"\r\n"));
        start();
    }
    void TearDown() override
    {
        QDir::setCurrent(QDir::tempPath());  // the save makes the program folder current
        WorkspaceTest::TearDown();
    }

    // Kind 1 with the Konfix base and Polish destination open, no edits.
    void openKonfixPair()
    {
        prompts.choose(path("base/Konfix_en.drc"));
        form1->Konfix1Click();
        prompts.choose(path("dest/Konfix_pl.drc"));
        form1->OpenDest1Click();
        ASSERT_EQ(cell(tcol::kDest, 1), "alfa");
        prompts.requests.clear();
    }

    std::vector<std::string> destFolderNames() const
    {
        std::vector<std::string> names;
        for (const QString& n : QDir(path("dest")).entryList(QDir::Files, QDir::Name)) names.push_back(n.toStdString());
        return names;
    }

    void expectDialog(const Request& r, Request::Kind kind, const QString& initialFolder, const QString& fileName,
                      const QString& filter, const QString& extension)
    {
        EXPECT_EQ(r.kind, kind);
        EXPECT_EQ(r.dialog.initialFolder, initialFolder);
        EXPECT_EQ(r.dialog.fileName, fileName);
        EXPECT_EQ(r.dialog.filter, filter);
        EXPECT_EQ(r.dialog.defaultExtension, extension);
    }
};

TEST_F(DrcCommands, OpenBaseOffersTheMaskOfEachKindAndCancelKeepsTheKind)
{
    struct Case {
        void (TForm1::*command)();
        std::uint8_t kind;
        const char* offered;  // relative to the program folder
        const char* chosen;   // empty: cancel
    };
    const Case cases[] = {
        {&TForm1::Konfix1Click, kKonfix, "base/Konfix*.drc", ""},
        {&TForm1::Vigrex1Click, kVigrex, "base/Vigrex*.drc", ""},
        {&TForm1::Konfi101Click, kKonfi10, "base/Konfi10*.drc", ""},
        {&TForm1::Genaricdrc1Click, kGenericDrc, "*.drc", ""},
        {&TForm1::Vigrex1Click, kVigrex, "base/Vigrex*.drc", "base/Vigrex_en.drc"},
        {&TForm1::Genaricdrc1Click, kGenericDrc, "*.drc", "base/Konfix_en.drc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offered + std::string(" ") + c.chosen);
        form1->sourceKind = kNone;
        form1->prevSourceKind = kNone;
        form1->Label1->setText("not refreshed");
        prompts.requests.clear();
        const bool cancel = *c.chosen == '\0';
        if (cancel)
            prompts.cancel();
        else
            prompts.choose(path(c.chosen));
        (form1.get()->*c.command)();
        ASSERT_EQ(prompts.requests.size(), 1u);
        expectDialog(prompts.requests[0], Request::Open, path("base"), path(c.offered), "DRC|*.drc", ".drc");
        EXPECT_EQ(form1->sourceKind, cancel ? std::uint8_t(kNone) : c.kind);
        EXPECT_EQ(form1->prevSourceKind, kNone);
        EXPECT_NE(form1->Label1->text(), QStringLiteral("not refreshed")) << "refreshed also after a cancel";
    }
    EXPECT_EQ(form1->baseFile, folder + "base/Konfix_en.drc");
    EXPECT_EQ(form1->SG1->rowCount(), 4);
    EXPECT_EQ(cell(tcol::kNumber, 3), " 3");
    EXPECT_EQ(cell(tcol::kBase, 3), "gamma");
    EXPECT_EQ(cell(tcol::kBaseLen, 3), " 5");
    EXPECT_EQ(form1->Panel4->text(), QStringLiteral("Konfix_en.drc"));
}

TEST_F(DrcCommands, SwitchingTheKindAsksFirstAndDropsTheDestination)
{
    struct Case {
        const char* name;
        void (TForm1::*command)();
        std::vector<MsgButton> answers;  // to the save question
        const char* chosen;              // nullptr: no dialog expected; "": cancelled
        std::uint8_t kind;               // afterwards
        bool destinationKept;
    };
    const Case cases[] = {
        {"same kind asks nothing", &TForm1::Konfix1Click, {}, "", kKonfix, true},
        {"another kind, Cancel changes nothing", &TForm1::Vigrex1Click, {Cancel}, nullptr, kKonfix, true},
        {"another kind, No empties before the dialog", &TForm1::Vigrex1Click, {No}, "", kKonfix, false},
        {"another kind, No and a file", &TForm1::Vigrex1Click, {No}, "base/Vigrex_en.drc", kVigrex, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        openKonfixPair();
        // An unsaved edit: the question comes only with a change of kind.
        edit(2, "edited");
        for (MsgButton b : c.answers) prompts.press(b);
        if (c.chosen && *c.chosen)
            prompts.choose(path(c.chosen));
        else if (c.chosen)
            prompts.cancel();
        (form1.get()->*c.command)();

        EXPECT_EQ(prompts.messages().size(), c.answers.size());
        EXPECT_EQ(prompts.ofKind(Request::Open).size(), c.chosen ? 1u : 0u);
        EXPECT_EQ(form1->sourceKind, c.kind);
        EXPECT_EQ(form1->destFile, c.destinationKept ? folder + "dest/Konfix_pl.drc" : "");
        if (c.kind == kKonfix) {
            EXPECT_EQ(work().cell(2, 1), c.destinationKept ? "alfa" : "");
            EXPECT_EQ(cell(tcol::kDest, 1), c.destinationKept ? "alfa" : "");
            EXPECT_EQ(cell(tcol::kDestLen, 1), c.destinationKept ? " 4" : " 0");
        } else {
            EXPECT_EQ(form1->SG1->rowCount(), 3);
            EXPECT_EQ(cell(tcol::kBase, 2), "two");
            EXPECT_EQ(cell(tcol::kDest, 2), "");
        }
        // Nothing asked, nothing lost: the edit stays after a cancelled open.
        if (c.answers.empty() || !c.chosen) {
            EXPECT_EQ(cell(tcol::kDest, 2), "edited");
            EXPECT_TRUE(form1->edited());
        }
        prompts.requests.clear();
        work().clearColumn(2);
        form1->showRows(kNone, {});
    }
}

TEST_F(DrcCommands, ReadErrorsAreReportedAndTheOpenReturnsToThePreviousKind)
{
    openKonfixPair();
    prompts.press(No);
    prompts.choose(path("base/broken.drc"));
    edit(1, "edited");
    form1->Vigrex1Click();
    ASSERT_EQ(prompts.messages().size(), 2u);
    const Request& error = prompts.requests.back();
    EXPECT_EQ(error.text, kReadError);
    EXPECT_EQ(error.icon, MsgIcon::Error);
    EXPECT_EQ(error.buttons, unsigned(Ok));
    EXPECT_EQ(form1->sourceKind, kKonfix);
    EXPECT_EQ(form1->baseFile, folder + "base/broken.drc");
    EXPECT_EQ(cell(tcol::kBase, 1), "");

    prompts.requests.clear();
    prompts.choose(path("base/broken.drc"));
    form1->OpenDest1Click();
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(prompts.messages()[0], kReadError);
    EXPECT_EQ(form1->destFile, folder + "base/broken.drc");
}

// A base of more strings than the table holds is refused whole: the table
// and the base in use stay, so that no save can write it back shortened.
TEST_F(DrcCommands, ABaseTooLargeIsRefusedAndChangesNothing)
{
    std::string big = kHead;
    for (int i = 1; i <= 65536; ++i) big += "S" + std::to_string(i) + ", \"t\"\r\n";
    writeFile("base/Konfix_big.drc", big);
    prompts.choose(path("base/Konfix_en.drc"));
    form1->Konfix1Click();
    prompts.choose(path("base/Konfix_big.drc"));
    form1->Konfix1Click();
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(prompts.messages()[0], "The file \"" + path("base/Konfix_big.drc") +
                                         "\" holds more than 65535 strings (string 65536 is on line 65539); it was "
                                         "not read.");
    EXPECT_EQ(form1->baseFile, folder + "base/Konfix_en.drc");
    EXPECT_EQ(work().rowCount(), 4);
    EXPECT_EQ(cell(tcol::kBase, 3), "gamma");
}

TEST_F(DrcCommands, DestinationDialogsStartWhereTheKindKeepsItsFiles)
{
    struct Case {
        std::uint8_t kind;
        const char* openOffered;     // relative to the program folder
        const char* useFileOffered;  // nullptr: the command stops before the dialog
    };
    const Case cases[] = {
        {kNone, "dest/Konfi10*.drc", nullptr},
        {kKonfix, "dest/Konfix*.drc", "base/Konfix*.drc"},
        {kVigrex, "dest/Vigrex*.drc", "base/Vigrex*.drc"},
        {kKonfi10, "dest/Konfi10*.drc", "base/Konfi10*.drc"},
        {kGenericDrc, "*.drc", "*.drc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.kind));
        form1->sourceKind = c.kind;
        prompts.requests.clear();
        prompts.cancel();
        form1->OpenDest1Click();
        form1->Label1->setText("not refreshed");
        if (c.useFileOffered) prompts.cancel();
        form1->Usefile1Click();
        ASSERT_EQ(prompts.requests.size(), c.useFileOffered ? 2u : 1u);
        expectDialog(prompts.requests[0], Request::Open, path("dest"), path(c.openOffered), "DRC|*.drc", ".drc");
        if (c.useFileOffered) {
            const QString offered = *c.useFileOffered ? path(c.useFileOffered) : QString();
            expectDialog(prompts.requests[1], Request::Open, path("base"), offered, "DRC|*.drc", ".drc");
        }
        EXPECT_EQ(form1->Label1->text() != QStringLiteral("not refreshed"), c.useFileOffered != nullptr);
    }
    // The files that hold every language have no destination files.
    for (std::uint8_t kind : {kMenuIni, kCArrays}) {
        form1->sourceKind = kind;
        prompts.requests.clear();
        form1->OpenDest1Click();
        form1->Usefile1Click();
        form1->Blank1Click();
        EXPECT_TRUE(prompts.requests.empty()) << int(kind);
    }

    form1->sourceKind = kKonfix;
    prompts.requests.clear();
    prompts.cancel();
    form1->Blank1Click();
    ASSERT_EQ(prompts.requests.size(), 1u);
    expectDialog(prompts.requests[0], Request::Save, path("dest"), path("dest/*.*"), "", "drc");
    EXPECT_TRUE(prompts.requests[0].dialog.promptCreate);
}

TEST_F(DrcCommands, FirmwareKindsHandDestinationsToTheirFamily)
{
    // "Open destination" looks in the family's OUT folder, "Use file..." in
    // the family folder itself; "Blank" saves through the family's writer.
    form1->sourceKind = kQL5;
    for (void (TForm1::*command)() : {&TForm1::OpenDest1Click, &TForm1::Usefile1Click, &TForm1::Blank1Click}) {
        prompts.cancel();
        (form1.get()->*command)();
    }
    ASSERT_EQ(prompts.requests.size(), 3u);
    EXPECT_EQ(prompts.requests[0].dialog.initialFolder, path("QL5/OUT"));
    EXPECT_EQ(prompts.requests[1].dialog.initialFolder, path("QL5"));
    EXPECT_EQ(prompts.requests[2].kind, Request::Save);
    EXPECT_EQ(prompts.requests[2].dialog.initialFolder, path("QL5/OUT"));
}

TEST_F(DrcCommands, ADestinationLackingIdentifiersKeepsTheirTexts)
{
    writeFile("dest/partial.drc", drc("B, \"nowa beta\"\r\nZ, \"unknown\"\r\n"));
    writeFile("base/Konfix_de.drc", drc("C, \"gamma de\"\r\n"));
    openKonfixPair();
    prompts.choose(path("dest/partial.drc"));
    form1->OpenDest1Click();
    EXPECT_EQ(form1->SG1->rowCount(), 4);
    EXPECT_EQ(cell(tcol::kDest, 1), "alfa");
    EXPECT_EQ(cell(tcol::kDest, 2), "nowa beta");
    EXPECT_EQ(cell(tcol::kDestLen, 2), " 9");
    EXPECT_EQ(cell(tcol::kDest, 3), "gamma pl");
    EXPECT_EQ(form1->Panel3->text(), QStringLiteral("partial.drc"));

    // "Use file..." takes another file as the destination in the same way.
    prompts.choose(path("base/Konfix_de.drc"));
    form1->Usefile1Click();
    EXPECT_EQ(cell(tcol::kDest, 3), "gamma de");
    EXPECT_EQ(cell(tcol::kDest, 2), "nowa beta");
    EXPECT_EQ(form1->destFile, folder + "base/Konfix_de.drc");
}

TEST_F(DrcCommands, SaveWritesTheEditsWithABackupOnlyOfAnOverwrittenFile)
{
    openKonfixPair();
    const std::string old = readFile("dest/Konfix_pl.drc");
    edit(2, "beta \"pl\" nowa");

    prompts.cancel();
    form1->Savedest1Click();
    ASSERT_EQ(prompts.requests.size(), 1u);
    const QString current = path("dest/Konfix_pl.drc");
    expectDialog(prompts.requests[0], Request::Save, current, current, "", "drc");
    EXPECT_TRUE(prompts.requests[0].dialog.promptCreate);
    EXPECT_EQ(destFolderNames().size(), 1u) << "a cancelled save writes nothing";
    EXPECT_EQ(work().cell(2, 2), "beta pl");

    prompts.choose(current);
    form1->Savedest1Click();
    EXPECT_EQ(work().cell(2, 2), "beta \"pl\" nowa");
    TextGrid expected(11, 4);
    const char* ids[] = {"A", "B", "C"};
    const char* texts[] = {"alfa", "beta \"pl\" nowa", "gamma pl"};
    for (int r = 1; r <= 3; ++r) {
        expected.setCell(0, r, ids[r - 1]);
        expected.setCell(2, r, texts[r - 1]);
    }
    EXPECT_EQ(readFile("dest/Konfix_pl.drc"), FormatDrc(2, expected));
    const auto names = destFolderNames();
    ASSERT_EQ(names.size(), 2u);
    EXPECT_TRUE(QRegularExpression(R"(^Konfix_pl\.drc(\.\d+)+\.bak$)").match(QString::fromStdString(names[1])).hasMatch())
        << names[1];
    EXPECT_EQ(readFile("dest/" + names[1]), old);
    EXPECT_EQ(QDir::currentPath(), path("").chopped(1));

    // A new name: no backup; the name becomes the destination.
    prompts.choose(path("dest/new.drc"));
    form1->Savedest1Click();
    EXPECT_EQ(destFolderNames().size(), 3u);
    EXPECT_EQ(readFile("dest/new.drc"), FormatDrc(2, expected));
    EXPECT_EQ(form1->destFile, folder + "dest/new.drc");
    EXPECT_EQ(form1->Panel3->text(), QStringLiteral("new.drc"));

    // A program-relative name is offered as the full path; none offers nothing.
    for (const auto& [dest, offered] : {std::pair<std::string, QString>{"./dest/x.drc", path("dest/x.drc")},
                                        std::pair<std::string, QString>{"", QString()}}) {
        form1->destFile = dest;
        prompts.requests.clear();
        prompts.cancel();
        form1->Savedest1Click();
        expectDialog(prompts.requests.at(0), Request::Save, offered, offered, "", "drc");
    }
}

TEST_F(DrcCommands, BlankWritesEveryIdentifierWithAnEmptyTextKeepingTheOldFile)
{
    openKonfixPair();
    const std::string old = readFile("dest/Konfix_pl.drc");
    prompts.choose(path("dest/Konfix_pl.drc"));
    form1->Blank1Click();
    TextGrid expected(11, 4);
    for (int r = 1; r <= 3; ++r) expected.setCell(0, r, std::string(1, char('A' + r - 1)));
    EXPECT_EQ(readFile("dest/Konfix_pl.drc"), FormatDrc(2, expected));
    const auto names = destFolderNames();
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(readFile("dest/" + names[1]), old);
    EXPECT_EQ(cell(tcol::kDest, 1), "");
    EXPECT_EQ(cell(tcol::kDestLen, 1), " 0");
    EXPECT_EQ(form1->destFile, folder + "dest/Konfix_pl.drc");
}

using testing::FileSizeLimit;

TEST_F(DrcCommands, AFailedWriteIsReportedAndLeavesTheOldFile)
{
    struct Case {
        std::function<void(TForm1&)> command;
        std::vector<MsgButton> answers;  // to the save question
    };
    const Case cases[] = {{&TForm1::Savedest1Click, {}}, {&TForm1::Blank1Click, {No}}};
    for (const Case& c : cases) {
        openKonfixPair();
        const std::string old = readFile("dest/Konfix_pl.drc");
        edit(1, "zmiana");
        for (MsgButton b : c.answers) prompts.press(b);
        prompts.choose(path("dest/Konfix_pl.drc"));
        {
            FileSizeLimit limit;
            c.command(*form1);
        }
        ASSERT_EQ(prompts.messages().size(), c.answers.size() + 1);
        const Request& error = prompts.requests.back();
        EXPECT_EQ(error.text, "Error saving file \"" + path("dest/Konfix_pl.drc") + "\".");
        EXPECT_EQ(error.icon, MsgIcon::Error);
        EXPECT_EQ(error.buttons, unsigned(Ok));
        EXPECT_EQ(readFile("dest/Konfix_pl.drc"), old);
        EXPECT_EQ(destFolderNames().size(), 1u) << "no backup and no temporary file left";
        // An edit that could not be saved is still there to be saved (the
        // blank destination dropped it after the question).
        EXPECT_EQ(form1->edited(), c.answers.empty());
        form1->undoStack().setClean();
    }
}

}  // namespace
}  // namespace tov::test
