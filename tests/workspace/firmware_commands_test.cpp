// The firmware commands of the main window, driven through scripted dialogs
// on a temporary program folder. The line grammar and the file set procedures
// have their own tests; these check what the window adds: dialogs, messages,
// file names, the settings file, and the order of the steps.


#include "formats/source_kind.h"
#include "support/files.h"
#include "tests/support/file_size_limit.h"
#include "tests/workspace/workspace_fixture.h"
#include "workspace/messages.h"

namespace tov::test {
namespace {

using testing::crlf;
using FirmwareCommands = WorkspaceTest;

// A file set of two files: the first of 3 lines, the second of 5.
const std::string kFirstEng = crlf({"; first", "A1 DB 'Start',0 ; go", "A2 DB 0"});
const std::string kSecondEng =
    crlf({"E1 DB 'Edit  ',0", "", "E2 DB \"Name\" // field", "E3 DB 'Can''t',0", "E4 DB 0"});
const std::string kFirstCze = crlf({"; first", "A1 DB 'Jdi! ',0 ; jdi", "A2 DB 0"});
const std::string kSecondCze =
    crlf({"E1 DB 'Upravy',0", "", "E2 DB \"Jmeno\" // pole", "E3 DB 'Nelze',0", "E4 DB 0"});

struct Family {
    const char* name;
    void (TForm1::*command)();
    std::uint8_t kind;
    const char* folder;
    const char* preset;  // offered name after the folder
};
const Family kFamilies[] = {
    {"Orvanta", &TForm1::Orvantafirmware1Click, kOrvanta, "ORVANTA", "/EDIT.*"},
    {"QL5", &TForm1::QL5firmware1Click, kQL5, "QL5", "/LCD_IDLE.*"},
    {"QL10", &TForm1::QL10firmware1Click, kQL10, "QL10", "/LCD_1.*"},
    {"TELMO", &TForm1::TELMOfirmware1Click, kTelmo, "TELMO", "/Telmo.*"},
};

QString q(const std::string& path) { return pathToQString(path); }

TEST_F(FirmwareCommands, CancelledCommandKeepsTheNewKindAndClearsOnlyOnAChangeOfFamily)
{
    for (const Family& f : kFamilies) {
        for (const bool sameFamily : {false, true}) {
            SCOPED_TRACE(std::string(f.name) + (sameFamily ? " again" : " after another family"));
            prompts = ScriptedPrompts();
            start();
            const std::uint8_t before = sameFamily ? f.kind : std::uint8_t(f.kind == kQL5 ? kOrvanta : kQL5);
            std::vector<Entry> rows(2);
            rows[0].base = "base?";
            rows[0].dest = "kept?";
            rows[0].destComment = "comment?";
            form1->showRows(before, rows);
            form1->baseFile = folder + "X/base.ENG";
            form1->destFile = folder + "X/OUT/base.CZE";
            work().setCell(1, 0, "line?");
            work().setCell(4, 0, "base.ENG");
            prompts.cancel();
            (form1.get()->*f.command)();

            ASSERT_EQ(prompts.requests.size(), 1u);
            const Request& r = prompts.requests[0];
            EXPECT_EQ(r.kind, Request::Open);
            EXPECT_EQ(r.dialog.initialFolder, q(folder + f.folder));
            EXPECT_EQ(r.dialog.fileName, q(folder + f.folder + f.preset));
            EXPECT_EQ(form1->sourceKind, f.kind);
            EXPECT_EQ(form1->prevSourceKind, before);
            EXPECT_EQ(cell(tcol::kDest, 1), sameFamily ? "kept?" : "");
            EXPECT_EQ(cell(tcol::kComment, 1), sameFamily ? "comment?" : "");
            EXPECT_EQ(work().cell(1, 0), sameFamily ? "line?" : "");
            EXPECT_EQ(work().cell(4, 0), sameFamily ? "base.ENG" : "");
            EXPECT_EQ(form1->baseFile.empty(), !sameFamily);
            EXPECT_EQ(form1->destFile.empty(), !sameFamily);
            // The header refresh runs after the cancel too.
            EXPECT_EQ(cell(tcol::kNumber, 0), "No.");
            EXPECT_EQ(cell(tcol::kBaseLen, 0), "len");
            EXPECT_EQ(cell(tcol::kComment, 0), "comment");
            EXPECT_EQ(form1->Panel4->text(), sameFamily ? QStringLiteral("base.ENG") : QString());
            TearDown();
        }
    }
}

// Opens a base set, then a destination set against it, edits one text and
// saves under a new extension: the files written, the name recorded and the
// read-back that makes the saved texts the stored ones.
TEST_F(FirmwareCommands, OpenEditSaveAndReadBack)
{
    struct Case {
        const char* name;
        void (TForm1::*command)();
        std::uint8_t kind;
        const char* folder;
        const char* first;    // base names, in their sorted order
        const char* second;
        const char* suffix;   // of the destination opening
        const char* saveAs;   // chosen in the save dialog, in OUT
        const char* written;  // extension written
        const char* recorded; // destination file name after the save
        const char* filter;
    };
    const Case cases[] = {
        {"Orvanta records the first file", &TForm1::Orvantafirmware1Click, kOrvanta, "ORVANTA", "a",
         "EDIT", "/OUT", "EDIT.CZE", ".CZE", "a.CZE", "Orvanta firmware|Edit.*"},
        {"TELMO records the last file", &TForm1::TELMOfirmware1Click, kTelmo, "TELMO", "Telmo", "zeta",
         "", "cz e", ".cz_e", "zeta.cz_e", "TELMO firmware|Telmo.*"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompts = ScriptedPrompts();
        const std::string family = folder + c.folder + "/";
        const std::string destFolder = std::string(c.folder) + (*c.suffix ? "/OUT/" : "/CZE/");
        // The second file is listed first: the set is read in name order.
        writeFile(std::string(c.folder) + "/ENG/" + c.second + ".ENG", kSecondEng);
        writeFile(std::string(c.folder) + "/ENG/" + c.first + ".ENG", kFirstEng);
        writeFile(destFolder + c.first + ".CZE", kFirstCze);
        writeFile(destFolder + c.second + ".CZE", kSecondCze);
        QDir().mkpath(q(family + "OUT"));
        start();

        prompts.choose(q(family + "ENG/" + c.second + ".ENG"));
        (form1.get()->*c.command)();
        EXPECT_EQ(doc().files.baseFiles,
                  (std::vector<std::string>{std::string(c.first) + ".ENG", std::string(c.second) + ".ENG"}));
        EXPECT_EQ(work().cell(5, 0), "3");
        EXPECT_EQ(work().cell(5, 1), "5");
        EXPECT_EQ(form1->baseFile, family + "ENG/" + c.second + ".ENG");
        EXPECT_EQ(cell(tcol::kBase, 1), "Start");
        EXPECT_EQ(cell(tcol::kBase, 4), "Can't");

        prompts.choose(q(family + (*c.suffix ? "OUT/" : "CZE/") + c.second + ".CZE"));
        form1->OpenDestinationFile(*c.suffix ? DialogRole::OpenDestination : DialogRole::UseFile);
        const Request& open = prompts.requests.back();
        EXPECT_EQ(open.dialog.initialFolder, q(family.substr(0, family.size() - 1) + c.suffix));
        EXPECT_EQ(cell(tcol::kDest, 1), "Jdi! ");
        EXPECT_EQ(cell(tcol::kComment, 1), " jdi");
        EXPECT_EQ(form1->Panel3->text(), QString::fromStdString(std::string(c.second) + ".CZE"));

        edit(3, "Jmen");  // one shorter than the stored text: padded
        prompts.choose(q(family + "OUT/" + c.saveAs));
        form1->Savedest1Click();
        const Request& save = prompts.requests.back();
        EXPECT_EQ(save.kind, Request::Save);
        EXPECT_EQ(save.dialog.filter, QString::fromUtf8(c.filter));
        EXPECT_EQ(save.dialog.initialFolder, q(family + "OUT"));
        EXPECT_EQ(save.dialog.fileName, q(family + (*c.suffix ? "OUT/" : "CZE/") + c.second + ".CZE"));
        EXPECT_TRUE(save.dialog.defaultExtension.isEmpty());

        EXPECT_EQ(readFile(std::string(c.folder) + "/OUT/" + c.first + c.written), kFirstCze);
        EXPECT_EQ(readFile(std::string(c.folder) + "/OUT/" + c.second + c.written),
                  crlf({"E1 DB 'Upravy',0", "", "E2 DB \"Jmen \" // pole", "E3 DB 'Nelze',0", "E4 DB 0"}));
        EXPECT_EQ(form1->destFile, family + "OUT/" + c.recorded);
        EXPECT_EQ(form1->Panel3->text(), QString::fromUtf8(c.recorded));
        // Read back: the saved texts are the stored ones, nothing counts as edited.
        EXPECT_EQ(work().cell(7, 3), "Jmen ");
        EXPECT_TRUE(form1->SaveDestPrompt());
        EXPECT_TRUE(prompts.messages().empty());
        EXPECT_FALSE(prompts.terminated);
        EXPECT_TRUE(prompts.allAnswered());
        TearDown();
    }
}

// A destination file with one line more than its base file.
TEST_F(FirmwareCommands, LongerDestinationFailsTheStructureCheckAndAsksBeforeASave)
{
    writeFile("QL5/ENG/LCD_IDLE.ENG", crlf({"'One'", "'Two'", ";", "'Three'"}));
    writeFile("QL5/POL/LCD_IDLE.POL", crlf({"'Jeden'", "; extra", "'Dwa'", ";", "'Trzy'"}));
    Settings(ini).setFile("dfile", "./QL5/POL/LCD_IDLE.POL");
    QDir().mkpath(q(folder + "QL5/OUT"));
    start();
    prompts.choose(q(folder + "QL5/ENG/LCD_IDLE.ENG"));
    form1->QL5firmware1Click();
    prompts.choose(q(folder + "QL5/POL/LCD_IDLE.POL"));
    form1->OpenDEST_QL5("");

    ASSERT_EQ(prompts.messages().size(), 1u);
    // The message says where: the destination file and line of the text, and its base text's place.
    EXPECT_EQ(prompts.messages()[0],
              messageText({.code = DiagnosticCode::Structure}) +
                  QStringLiteral("\r\rLCD_IDLE.POL:3: the destination text of row 2 stands on "
                                 "another line than its base text (LCD_IDLE.ENG:2)"));
    EXPECT_EQ(setting("dfile"), "");
    // The chosen set is named again, as the one the texts came from.
    EXPECT_EQ(form1->destFile, folder + "QL5/POL/LCD_IDLE.POL");
    EXPECT_EQ(doc().structureFailureRow, 2);

    // A save names the row and writes nothing unless confirmed.
    prompts.press(No);
    form1->Savedest1Click();
    ASSERT_EQ(prompts.messages().size(), 2u);
    EXPECT_TRUE(prompts.messages()[1].contains(QStringLiteral("from row 2 on")));
    EXPECT_TRUE(prompts.ofKind(Request::Save).empty());
    EXPECT_FALSE(fileExists(folder + "QL5/OUT/LCD_IDLE.POL"));

    prompts.press(Yes);
    prompts.choose(q(folder + "QL5/OUT/LCD_IDLE.POL"));
    form1->Savedest1Click();
    EXPECT_EQ(prompts.ofKind(Request::Save).size(), 1u);
    EXPECT_TRUE(fileExists(folder + "QL5/OUT/LCD_IDLE.POL"));
    EXPECT_TRUE(prompts.allAnswered());
}

TEST_F(FirmwareCommands, OrvantaDestinationOfAnotherLineCountEndsTheProgram)
{
    writeFile("ORVANTA/ENG/EDIT.ENG", crlf({"'One'", "'Two'", "'Three'"}));
    writeFile("ORVANTA/POL/EDIT.POL", crlf({"'Jeden'", "; extra", "'Dwa'", "'Trzy'"}));
    Settings(ini).setFile("dfile", "./ORVANTA/POL/EDIT.POL");
    start();
    prompts.choose(q(folder + "ORVANTA/ENG/EDIT.ENG"));
    form1->Orvantafirmware1Click();
    form1->destFile = folder + "ORVANTA/OUT/EDIT.CZE";
    prompts.choose(q(folder + "ORVANTA/POL/EDIT.POL"));
    form1->OpenDEST_Orvanta("");

    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(prompts.messages()[0],
              messageText({.code = DiagnosticCode::LineCount, .file = folder + "ORVANTA/POL/EDIT.POL", .count = 4, .expected = 3}));
    EXPECT_TRUE(prompts.messages()[0].endsWith(QStringLiteral("\r\rWrong lines number in file: \"EDIT.POL\"  4 instead of 3")));
    // Termination is the last thing asked for; nothing is read into the table.
    EXPECT_EQ(prompts.requests.back().kind, Request::Terminate);
    EXPECT_EQ(prompts.requests.back().exitCode, 0);
    EXPECT_EQ(setting("dfile"), "");
    EXPECT_EQ(form1->destFile, "");
    EXPECT_EQ(doc().entry(0).stored, "");
}

TEST_F(FirmwareCommands, BlankRightAfterABaseOpeningWritesTheBaseLinesWithBlankTexts)
{
    writeFile("QL10/ENG/LCD_1.ENG", crlf({"'One'", "x"}));
    writeFile("QL10/ENG/LCD_2.ENG", crlf({"'Two' ; c", "", "'Three'"}));
    QDir().mkpath(q(folder + "QL10/OUT"));
    start();
    prompts.choose(q(folder + "QL10/ENG/LCD_1.ENG"));
    form1->QL10firmware1Click();
    prompts.choose(q(folder + "QL10/OUT/LCD_1.CZE"));
    form1->Blank1Click();
    // No destination set was open: the base set's lines are the templates.
    EXPECT_EQ(readFile("QL10/OUT/LCD_1.CZE"), "'   '\r\nx\r\n");
    EXPECT_EQ(readFile("QL10/OUT/LCD_2.CZE"), "'   ' ; c\r\n\r\n'     '\r\n");
    EXPECT_EQ(form1->destFile, folder + "QL10/OUT/LCD_1.CZE");
    EXPECT_EQ(form1->Panel3->text(), QStringLiteral("LCD_1.CZE"));
    EXPECT_EQ(cell(tcol::kComment, 2), " c");
    EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(FirmwareCommands, FailedWriteIsReportedLeavesTheOldFileAndIsNotReadBack)
{
    writeFile("ORVANTA/ENG/A.ENG", kFirstEng);
    writeFile("ORVANTA/ENG/EDIT.ENG", kSecondEng);
    writeFile("ORVANTA/OUT/EDIT.CZE", "old");
    start();
    prompts.choose(q(folder + "ORVANTA/ENG/EDIT.ENG"));
    form1->Orvantafirmware1Click();
    form1->destFile = folder + "ORVANTA/ENG/EDIT.ENG";
    prompts.choose(q(folder + "ORVANTA/OUT/EDIT.CZE"));
    {
        // Every write fails after its first byte, as on a full disk.
        const testing::FileSizeLimit full(1);
        form1->Savedest1Click();
    }
    const std::string a = folder + "ORVANTA/OUT/A.CZE";
    // The set is saved all or nothing: its first file stops it.
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(prompts.messages()[0], q("Error saving file \"" + a + "\"."));
    EXPECT_EQ(readFile("ORVANTA/OUT/EDIT.CZE"), "old");
    EXPECT_FALSE(fileExists(a));
    // No read-back (which would end the program on the missing file) and the
    // destination stays the one in use.
    EXPECT_FALSE(prompts.terminated);
    EXPECT_EQ(form1->destFile, folder + "ORVANTA/ENG/EDIT.ENG");
}

// A typed text whose destination line cannot take it: the save names the
// line, writes nothing and keeps the text as an edit.
TEST_F(FirmwareCommands, ATextWithoutPlaceInItsLineRefusesTheSave)
{
    writeFile("QL5/ENG/LCD_IDLE.ENG", crlf({"L1 DB 'One'", "L2 DB 'Two' ; prompt"}));
    writeFile("QL5/POL/LCD_IDLE.POL", crlf({"L1 DB 'Raz'", "L2 EQU 7 ; todo"}));
    start();
    prompts.choose(q(folder + "QL5/ENG/LCD_IDLE.ENG"));
    form1->QL5firmware1Click();
    prompts.choose(q(folder + "QL5/POL/LCD_IDLE.POL"));
    form1->OpenDEST_QL5("");
    ASSERT_TRUE(prompts.messages().empty());
    edit(2, "Dwa");

    prompts.choose(q(folder + "QL5/POL/LCD_IDLE.POL"));
    form1->Savedest1Click();
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(prompts.messages()[0],
              QStringLiteral("LCD_IDLE.POL:2: the line holds no quoted text and is not in its base line's form: the "
                             "text of row 2 has no place in it; nothing was saved."));
    EXPECT_EQ(readFile("QL5/POL/LCD_IDLE.POL"), crlf({"L1 DB 'Raz'", "L2 EQU 7 ; todo"}));
    EXPECT_EQ(work().cell(2, 1), "L2 EQU 7 ; todo");
    // The edit in the last row counts, though the set has no more lines than texts.
    prompts.press(Cancel);
    EXPECT_FALSE(form1->SaveDestPrompt());
}

TEST_F(FirmwareCommands, FileMenuShowsOrvantaWhereItsBaseIsInstalled)
{
    struct Case {
        const char* file;  // written into the program folder, or none
        std::uint8_t kind;
        bool orvanta;
        bool destinations;
    };
    const Case cases[] = {
        {nullptr, kOrvanta, false, true},
        {"ORVANTA/ENG/edit.eng", kQL5, true, true},
        {"ORVANTA/POL/EDIT.POL", kMenuIni, true, false},
        {"ORVANTA/CZE/EDIT.CZE", kCArrays, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file ? c.file : "none");
        prompts = ScriptedPrompts();
        if (c.file) writeFile(c.file, "'x'\r\n");
        start();
        form1->sourceKind = c.kind;
        form1->File1Click();
        EXPECT_EQ(form1->Orvantafirmware1->isVisible(), c.orvanta);
        EXPECT_EQ(form1->Newdestination1->menuAction()->isEnabled(), c.destinations);
        EXPECT_EQ(form1->OpenDest1->isEnabled(), c.destinations);
        TearDown();
        if (c.file) QFile::remove(q(folder + c.file));
    }
}

}  // namespace
}  // namespace tov::test
