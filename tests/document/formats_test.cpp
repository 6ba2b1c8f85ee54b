// The four formats on small files: what they make of the files in the
// document, what their saves write back, and what they report.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "document/edits.h"
#include "document/format.h"
#include "formats/firmware/firmware_sets.h"
#include "formats/resource_strings/drc_workflow.h"
#include "formats/source_kind.h"
#include "support/text_file.h"
#include "tests/support/temp_folder.h"

namespace tov {
namespace {

using testing::TempFolder;
using testing::crlf;

std::vector<std::string> dests(const TranslationDocument& doc)
{
    std::vector<std::string> out;
    for (const Entry& e : doc.entries()) out.push_back(e.dest.str());
    return out;
}

SaveOptions noReadBack()
{
    SaveOptions o;
    o.readBack = false;
    return o;
}

TEST(FirmwareFormat, TextsTakeTheirBaseLengthOnReadingWhileTheFileKeepsItsOwn)
{
    TempFolder dir;
    dir.put("ENG/A.ENG", crlf({"; head", "T1 DB 'Ready   ',0 ; state", "T2 DB 'Temp',0", "T3 DB 'Open',0"}));
    dir.put("POL/A.POL", crlf({"; head", "T1 DB 'Gotowy',0 ; stan", "T2 DB 'Temperatura',0", "T3 DB 'Otw.',0"}));
    std::filesystem::create_directories(dir / "OUT");
    const auto f = makeFormat(kQL5);
    TranslationDocument doc;
    f->clearDocument(doc);
    ASSERT_TRUE(f->openBase(doc, dir / "ENG/A.ENG").ok);
    ASSERT_TRUE(f->openDestination(doc, dir / "POL/A.POL").ok);

    EXPECT_EQ(dests(doc), (std::vector<std::string>{"Gotowy  ", "Temp", "Otw."}));
    EXPECT_EQ(doc.entry(1).stored, "Temperatura");
    EXPECT_EQ(fileProblems(doc.entry(0)), problem::kLengthDiffers);
    EXPECT_EQ(doc.counts().changed, 0);
    EXPECT_EQ(doc.entry(0).destComment, " stan");
    EXPECT_EQ(doc.rowName(2), "A.ENG:4");

    // A save fits each text to its line of the destination set: the text
    // as the table holds it, at the length the line has.
    SetDestinations::one(doc, 2, "Zamk")->redo(doc);
    ASSERT_TRUE(f->save(doc, dir / "OUT/A.CZE", noReadBack()).ok);
    EXPECT_EQ(dir.get("OUT/A.CZE"),
              crlf({"; head", "T1 DB 'Gotowy',0 ; stan", "T2 DB 'Temp       ',0", "T3 DB 'Zamk',0"}));
}

TEST(FirmwareFormat, ASetSavedWithoutADestinationOrAfterALargerOneKeepsItsLines)
{
    TempFolder dir;
    dir.put("BIG/A.ENG", crlf({"'One'", "'Two'", "'Three'"}));
    dir.put("SMALL/A.ENG", crlf({"'Uno'", "; plain", "DB 0"}));
    std::filesystem::create_directories(dir / "OUT");
    const auto f = makeFormat(kQL10);
    TranslationDocument doc;
    f->clearDocument(doc);
    ASSERT_TRUE(f->openBase(doc, dir / "BIG/A.ENG").ok);
    SetDestinations(doc, {{0, "Raz"}, {1, "Dwa"}, {2, "Trzy"}}).redo(doc);
    // Another set of the family: its one row keeps the first row's text, and
    // nothing of the rows that set does not have reaches its lines.
    ASSERT_TRUE(f->openBase(doc, dir / "SMALL/A.ENG").ok);
    ASSERT_EQ(doc.size(), 1);
    EXPECT_EQ(doc.entry(0).dest, "Raz");
    // No destination set was read: the base lines are the templates.
    ASSERT_TRUE(f->save(doc, dir / "OUT/A.PL", noReadBack()).ok);
    EXPECT_EQ(dir.get("OUT/A.PL"), crlf({"'Raz'", "; plain", "DB 0"}));
}

TEST(FirmwareFormat, RefusalsAndSetProblemsAreDiagnostics)
{
    TempFolder dir;
    dir.put("ENG/A.ENG", crlf({"'One'", "'Two'"}));
    dir.put("SHORT/A.POL", crlf({"'Jeden'"}));
    dir.put("MOVED/A.POL", crlf({"; moved", "'Jeden'"}));
    struct Case {
        const char* name;
        SourceKind kind;
        const char* dest;
        OpenOptions options;
        DiagnosticCode code;
        bool fatal;
        int row;
    };
    const Case cases[] = {
        {"the Orvanta line-count check ends the program", kOrvanta, "SHORT/A.POL", {}, DiagnosticCode::LineCount, true, 0},
        {"a check of the set reads it and reports the count", kOrvanta, "SHORT/A.POL", {true},
         DiagnosticCode::LineCount, false, 0},
        {"a text on another line", kQL5, "MOVED/A.POL", {}, DiagnosticCode::Structure, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto f = makeFormat(c.kind);
        TranslationDocument doc;
        f->clearDocument(doc);
        ASSERT_TRUE(f->openBase(doc, dir / "ENG/A.ENG").ok);
        const OpenResult r = f->openDestination(doc, dir / c.dest, c.options);
        ASSERT_FALSE(r.diagnostics.empty());
        const Diagnostic& d = r.diagnostics.back();
        EXPECT_EQ(d.code, c.code);
        EXPECT_EQ(d.fatal, c.fatal);
        EXPECT_EQ(d.row, c.row);
        if (c.code == DiagnosticCode::LineCount) {
            EXPECT_EQ(d.count, 1u);
            EXPECT_EQ(d.expected, 2u);
        }
        if (c.row > 0) {
            EXPECT_TRUE(doc.entry(c.row - 1).structure);
        }
    }
    const auto f = makeFormat(kTelmo);
    TranslationDocument doc;
    const OpenResult none = f->openBase(doc, dir / "NONE/A.ENG");
    ASSERT_EQ(none.diagnostics.size(), 1u);
    EXPECT_EQ(none.diagnostics[0].code, DiagnosticCode::NoMatchingFiles);
    EXPECT_EQ(none.diagnostics[0].file, dir / "NONE/*.ENG");
}

const std::string kDrcHead = "STRINGTABLE\r\nBEGIN\r\n";

TEST(ResourceStringFormat, AnotherBaseOverTheRowsKeepsTheEditsAndAFailedSaveTheStoredTexts)
{
    TempFolder dir;
    dir.put("en.drc", kDrcHead + "A, \"Open\"\r\nB, \"Close\"\r\nEND\r\n");
    dir.put("de.drc", kDrcHead + "B, \"Schliessen\"\r\nA, \"Oeffnen\"\r\nEND\r\n");
    dir.put("pl.drc", kDrcHead + "A, \"Otworz\"\r\nEND\r\n");
    const auto f = makeFormat(kKonfix);
    TranslationDocument doc;
    ASSERT_TRUE(f->openBase(doc, dir / "en.drc").ok);
    ASSERT_TRUE(f->openDestination(doc, dir / "pl.drc").ok);
    SetDestinations::one(doc, 1, "Zamknij")->redo(doc);
    ASSERT_TRUE(f->openBaseKeepsDestination(doc));
    ASSERT_TRUE(f->openBase(doc, dir / "de.drc").ok);
    EXPECT_EQ(doc.entry(1).base, "Schliessen");
    EXPECT_EQ(dests(doc), (std::vector<std::string>{"Otworz", "Zamknij"}));

    SaveOptions options;
    const SaveResult failed = f->save(doc, dir / "missing/x.drc", options);
    EXPECT_FALSE(failed.ok);
    ASSERT_EQ(failed.diagnostics.size(), 1u);
    EXPECT_EQ(failed.diagnostics[0].code, DiagnosticCode::SaveFailed);
    EXPECT_EQ(f->workingTable().cell(2, 2), "");
    EXPECT_EQ(doc.counts().changed, 1);
    ASSERT_TRUE(f->save(doc, dir / "x.drc", options).ok);
    EXPECT_EQ(doc.counts().changed, 0);
    EXPECT_NE(dir.get("x.drc").find("\"Zamknij\""), std::string::npos);

    const OpenResult broken = f->openDestination(doc, dir / "nothing.drc");
    ASSERT_EQ(broken.diagnostics.size(), 1u);
    EXPECT_EQ(broken.diagnostics[0].code, DiagnosticCode::NotResourceStrings);
}

// The tool reads resource strings straight into the rows, the window through
// its working table: both must give the same rows and the same verdict.
TEST(ResourceStringFormat, RowsReadWithoutTheWorkingTableAreTheSame)
{
    const std::string header = "/* x */\r\nSTRINGTABLE\r\nBEGIN\r\n";
    struct Case {
        const char* what;
        std::string base, dest;
    };
    std::vector<Case> cases = {
        {"duplicates, more destination entries than rows",
         header + "A, \"1\"\r\nB,\"2\"\r\nA , \"3 \\\"q\\\" \"\r\n",
         header + "A,\"x\"\r\nA,\"y\"\r\nA,\"z\"\r\nC,\"none\"\r\n"},
        {"lone CRs, no-break spaces, an unclosed quote, comments",
         header + "A,\r\"a\rb\"\n// B,\"c\"\n; C,\"d\"\nD, \"open\r\nE\xA0,\"e\"\n",
         header + "A,\"\xA0x\xA0\"\r\nD,\"\r\nE ,\"f\"\x1a" "A,\"after the end\"\r\n"},
        {"no header in the destination", header + "A,\"a\"\r\n", "A,\"a\"\r\n"},
        {"an identifier that runs into its escaped text",
         header + "A\"\\\"b,\"x\"\r\nB,\"\\\"q\\\"\"\r\n", header + "A\"\\\"b,\"y\\\"\"\r\n"},
        {"the header as the last line", "STRINGTABLE", header + "A,\"a\"\r\n"},
        {"an entry beyond the readers' reach",
         header + "A,\"a\"\r\n" + std::string(70000, 'x') + ",\"b\"\r\n", header},
    };
    for (const auto& entry : std::filesystem::directory_iterator(TOVRANA_CORPUS_DIR "/drc")) {
        const std::string bytes = testing::readBytes(entry.path().string());
        cases.push_back({"corpus", bytes, bytes});
    }
    // A destination read in several pieces, and one of lines shorter than
    // the "????" that stands for a text without its closing quote.
    Case pieces{"a destination longer than a piece read at once", header, header};
    for (int i = 0; i < 3000; ++i) {
        pieces.base += "Id" + std::to_string(i) + ", \"Text \\\"" + std::to_string(i) + "\\\"\"\r\n";
        pieces.dest += "Id" + std::to_string(2999 - i) + ",\xA0\"Tekst\xA0\\\"" + std::to_string(i) + "\"\r" +
                       (i % 7 ? "\n" : "\r\n");
    }
    cases.push_back(std::move(pieces));
    Case shortLines{"texts longer than their lines", header + ",\"x\"\r\n", "STRINGTABLE\n"};
    for (int i = 0; i < 40; ++i) shortLines.dest += ",\"\n";
    cases.push_back(std::move(shortLines));
    TempFolder dir;
    for (const Case& c : cases) {
        const std::string base = dir.put("base.drc", c.base);
        const std::string dest = dir.put("dest.drc", c.dest);
        TranslationDocument docs[2];
        std::vector<Diagnostics> found[2];
        for (int lean = 0; lean < 2; ++lean) {
            OpenOptions options;
            options.workingTable = lean == 0;
            const auto format = makeFormat(kGenericDrc);
            // A base that is not read stops the tool before its destination.
            const OpenResult read = format->openBase(docs[lean], base, options);
            found[lean].push_back(read.diagnostics);
            if (read.ok) found[lean].push_back(format->openDestination(docs[lean], dest, options).diagnostics);
        }
        ASSERT_EQ(docs[0].size(), docs[1].size()) << c.what;
        for (int i = 0; i < docs[0].size(); ++i) {
            const Entry& a = docs[0].entry(i);
            const Entry& b = docs[1].entry(i);
            EXPECT_TRUE(a.id == b.id && a.base == b.base && a.stored == b.stored && a.dest == b.dest &&
                        a.rule == b.rule)
                << c.what << ", row " << i + 1 << ": " << b.id << " " << b.base << " " << b.stored;
        }
        // The start-up restore puts its working table off until it is asked
        // for; then it is what the readers make of the two files.
        const auto restoring = makeFormat(kGenericDrc);
        TranslationDocument restored;
        const OpenResult reopened = restoring->reopen(restored, base, dest);
        TextGrid expected(11, 5);
        expected.setRowCount(1);
        std::string failed = base;
        const DrcRead read = reopenDrcFiles(base, dest, expected, &failed);
        const bool unchanged = read.refused() && failed == base;
        if (unchanged) expected.setRowCount(5);
        EXPECT_EQ(reopened.ok, static_cast<bool>(read)) << c.what;
        const TextGrid& working = restoring->workingTable();
        ASSERT_EQ(working.rowCount(), expected.rowCount()) << c.what;
        ASSERT_EQ(restored.size(), unchanged ? 0 : expected.rowCount() - 1) << c.what;
        for (int r = 0; r < expected.rowCount(); ++r) {
            for (int col = 0; col < 11; ++col)
                EXPECT_EQ(working.cell(col, r), expected.cell(col, r)) << c.what << ", row " << r << ", column " << col;
            if (r == 0 || unchanged) continue;
            const Entry& e = restored.entry(r - 1);
            EXPECT_TRUE(e.id == expected.cell(0, r) && e.base == expected.cell(1, r) &&
                        e.stored == expected.cell(2, r) && e.dest == e.stored)
                << c.what << ", row " << r;
        }
        ASSERT_EQ(found[0].size(), found[1].size());
        for (std::size_t k = 0; k < found[0].size(); ++k) {
            ASSERT_EQ(found[0][k].size(), found[1][k].size()) << c.what;
            for (std::size_t j = 0; j < found[0][k].size(); ++j)
                EXPECT_TRUE(found[0][k][j].code == found[1][k][j].code && found[0][k][j].line == found[1][k][j].line)
                    << c.what;
        }
    }
}

// The working table that the start-up restore puts off is the files' as
// they were read, whatever became of the rows before it is asked for: a row
// typed over, or rows of another file family read into the document.
TEST(ResourceStringFormat, PutOffWorkingTableIsTheFilesWhateverTheRowsBecame)
{
    TempFolder dir;
    const std::string header = "STRINGTABLE\r\nBEGIN\r\n";
    const std::string base = dir.put("base.drc", header + "A, \"a \\\"q\\\"\"\r\nB,\"b\"\r\n");
    const std::string dest = dir.put("dest.drc", header + "B,\"y\"\r\nA,\"x\xA0\\\"\r\n");
    const auto format = makeFormat(kGenericDrc);
    TranslationDocument doc;
    ASSERT_TRUE(format->reopen(doc, base, dest).ok);
    ASSERT_EQ(doc.size(), 2);
    doc.setDestination(0, "typed");
    TranslationDocument other;
    other.assign(std::vector<Entry>(5));
    doc.adopt(std::move(other));
    const TextGrid& working = format->workingTable();
    ASSERT_EQ(working.rowCount(), 3);
    const std::vector<std::vector<std::string>> rows = {{"A", "a \"q\"", "x \\"}, {"B", "b", "y"}};
    for (int r = 1; r <= 2; ++r) {
        const auto& want = rows[static_cast<std::size_t>(r - 1)];
        EXPECT_TRUE(working.cell(0, r) == want[0] && working.cell(1, r) == want[1] && working.cell(2, r) == want[2])
            << "row " << r << ": " << working.cell(0, r) << "|" << working.cell(1, r) << "|" << working.cell(2, r);
    }
    EXPECT_EQ(working.cell(10, 1), "A, \"a \\\"q\\\"\"");
}

// The tool reads a firmware set straight into the rows, the window through
// its tables: both must give the same rows, files and diagnostics.
// The window and the tool read the same rows; the working table the window
// keeps is the one the set procedures build.
TEST(FirmwareFormat, RowsReadWithoutTheWorkingTableAreTheSame)
{
    TempFolder dir;
    dir.put("ENG/A.ENG", crlf({"; head ;x", "T1 DB 'One ''q''' ; one", "T2 DB \"Two\" // two", "", "T3 DB 'Three'"}));
    dir.put("ENG/B.ENG", crlf({"B1 DB 'Be'", "B2 DB ' ' ; blank", "B3 DB ''"}));
    const std::vector<std::pair<const char*, std::vector<const char*>>> sets = {
        {"SAME/A.POL", {"; glowa", "T1 DB 'Jeden ''q''' ; jeden", "T2 DB \"Dwa\"", "", "T3 DB 'Trzy i wiecej'"}},
        {"SAME/B.POL", {"B1 DB 'Be'", "B2 DB 'x'", "B3 DB ''"}},
        {"SHORT/A.POL", {"; glowa", "T1 DB 'Jeden'"}},
        {"SHORT/B.POL", {"B1 DB 'Be'", "B2 DB 'x'", "B3 DB ''", "B4 DB 'more'"}},
        {"MOVED/A.POL", {"'Jeden'", "T1 DB 'Jeden'", "T2 DB \"Dwa\"", "", "T3 DB 'Trzy'"}},
        {"MOVED/B.POL", {"B1 DB 'Be'", "B2 DB 'x'", "B3 DB ''"}},
        {"EXTRA/A.POL", {"; glowa", "T1 DB 'Jeden'", "T2 DB \"Dwa\"", "", "T3 DB 'Trzy'"}},
        {"EXTRA/B.POL", {"B1 DB 'Be'", "B2 DB 'x'", "B3 DB 'y'", "B4 DB 'z'"}},
        {"NOPLACE/A.POL", {"; glowa", "other line", "T2 DB \"Dwa\"", "", "T3 DB"}},
        {"NOPLACE/B.POL", {"B1 DB 'Be'", "", "B3 DB ; later"}},
        {"HALF/A.POL", {"; glowa", "T1 DB 'Jeden'", "T2 DB \"Dwa\"", "", "T3 DB 'Trzy'"}},
    };
    std::vector<std::pair<std::string, std::string>> cases;
    for (const auto& [name, lines] : sets) {
        std::string bytes;
        for (const char* line : lines) bytes += std::string(line) + "\r\n";
        dir.put(name, bytes);
        if (std::string_view(name).ends_with("A.POL")) cases.emplace_back(dir / "ENG/A.ENG", dir / name);
    }
    cases.emplace_back(dir / "ENG/A.ENG", dir / "HALF/A.POL");
    for (const char* set : {"msdos_v2/CHKMES.ASM", "msdos_v4/CHKMES.ASM"}) {
        const std::string path = std::string(TOVRANA_CORPUS_DIR "/firmware/") + set;
        cases.emplace_back(path, path);
    }
    const auto same = [](const Diagnostics& a, const Diagnostics& b) {
        if (a.size() != b.size()) return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (a[i].code != b[i].code || a[i].severity != b[i].severity || a[i].file != b[i].file ||
                a[i].row != b[i].row || a[i].line != b[i].line || a[i].count != b[i].count ||
                a[i].expected != b[i].expected || a[i].fatal != b[i].fatal || a[i].detail != b[i].detail)
                return false;
        return true;
    };
    for (const auto& [base, dest] : cases) {
        for (const SourceKind kind : {kOrvanta, kQL5}) {
            for (const bool check : {false, true}) {
                SCOPED_TRACE(dest + (check ? " (check)" : "") + (kind == kOrvanta ? " Orvanta" : " QL5"));
                TranslationDocument docs[2];
                Diagnostics found[2][2];
                for (int lean = 0; lean < 2; ++lean) {
                    OpenOptions options;
                    options.check = check;
                    options.workingTable = lean == 0;
                    const auto format = makeFormat(kind);
                    format->clearDocument(docs[lean]);
                    found[lean][0] = format->openBase(docs[lean], base, options).diagnostics;
                    found[lean][1] = format->openDestination(docs[lean], dest, options).diagnostics;
                    if (lean) continue;
                    TextGrid table(tcol::kCount, 1), work(11, 5);
                    FirmwareFamily family = *firmwareFamily(kind);
                    family.lineCountCheck = family.lineCountCheck && !check;
                    const FirmwareBaseOpen opened = openFirmwareBase(table, work, base);
                    if (openFirmwareDestination(table, work, family, opened.baseFiles, dest).loaded()) {
                        const TextGrid& kept = format->workingTable();
                        ASSERT_EQ(kept.rowCount(), work.rowCount());
                        for (int c = 0; c < work.colCount(); ++c)
                            for (int r = 0; r < work.rowCount(); ++r)
                                ASSERT_EQ(kept.cell(c, r), work.cell(c, r)) << "working cell " << c << ", " << r;
                    }
                }
                EXPECT_TRUE(same(found[0][0], found[1][0]) && same(found[0][1], found[1][1]));
                const TranslationDocument& a = docs[0];
                const TranslationDocument& b = docs[1];
                EXPECT_TRUE(a.files.baseFiles == b.files.baseFiles && a.files.lineCounts == b.files.lineCounts &&
                            a.files.lineStarts == b.files.lineStarts && a.files.destFiles == b.files.destFiles &&
                            a.structureFailureRow == b.structureFailureRow);
                ASSERT_EQ(a.size(), b.size());
                for (int i = 0; i < a.size(); ++i) {
                    const Entry& x = a.entry(i);
                    const Entry& y = b.entry(i);
                    EXPECT_TRUE(x.base == y.base && x.baseComment == y.baseComment && x.line == y.line &&
                                x.rule == y.rule && x.stored == y.stored && x.dest == y.dest &&
                                x.destComment == y.destComment && x.structure == y.structure)
                        << "row " << i + 1 << ": " << y.base << "|" << y.stored << "|" << y.destComment;
                }
                EXPECT_EQ(a.counts().missing, b.counts().missing);
            }
        }
    }
}

// The window puts off filling the working table with the lines of a set; a
// smaller set opened over a larger one leaves the same table as the set
// procedures, which store each set's lines over the last.
TEST(FirmwareFormat, WorkingTableAfterAnotherSetIsTheOneTheSetProceduresBuild)
{
    TempFolder dir;
    dir.put("ENG/A.ENG", crlf({"; head", "T1 DB 'One'", "T2 DB 'Two'", "", "T3 DB 'Three'"}));
    dir.put("ENG/B.ENG", crlf({"B1 DB 'Be'", "B2 DB 'Ce'"}));
    dir.put("POL/A.POL", crlf({"; glowa", "T1 DB 'Raz'", "T2 DB 'Dwa'", "", "T3 DB 'Trzy'"}));
    dir.put("POL/B.POL", crlf({"B1 DB 'Be'", "B2 DB 'Ce'"}));
    dir.put("GER/A.GER", crlf({"T1 DB 'Eins'"}));
    dir.put("GER/B.GER", crlf({"B1 DB 'Be'"}));
    dir.put("CZE/A.CZE", crlf({"T1 DB 'Jedna'"}));
    dir.put("CZE/B.CZE", crlf({"B1 DB 'Be'"}));
    // Each open: a base set (true) or a destination set, by one of its files.
    const std::vector<std::vector<std::pair<bool, const char*>>> cases = {
        {{true, "ENG/A.ENG"}, {false, "POL/A.POL"}, {true, "GER/A.GER"}},
        {{true, "ENG/A.ENG"}, {false, "POL/A.POL"}, {true, "GER/A.GER"}, {false, "CZE/A.CZE"}},
        {{true, "GER/A.GER"}, {false, "CZE/A.CZE"}, {true, "ENG/A.ENG"}, {false, "POL/A.POL"}},
    };
    for (const auto& opens : cases) {
        const auto format = makeFormat(kQL5);
        TranslationDocument doc;
        format->clearDocument(doc);
        TextGrid table(tcol::kCount, 1), work(11, 5);
        const FirmwareFamily& family = *firmwareFamily(kQL5);
        std::vector<std::string> baseFiles;
        std::string trace;
        for (const auto& [base, name] : opens) {
            trace += std::string(name) + " ";
            if (base) {
                ASSERT_TRUE(format->openBase(doc, dir / name).ok) << trace;
                baseFiles = openFirmwareBase(table, work, dir / name).baseFiles;
            } else {
                ASSERT_TRUE(format->openDestination(doc, dir / name).ok) << trace;
                ASSERT_TRUE(openFirmwareDestination(table, work, family, baseFiles, dir / name).loaded()) << trace;
            }
        }
        const TextGrid& kept = format->workingTable();
        ASSERT_EQ(kept.rowCount(), work.rowCount()) << trace;
        for (int c = 0; c <= 2; ++c)
            for (int r = 0; r < 12; ++r) ASSERT_EQ(kept.cell(c, r), work.cell(c, r)) << trace << "cell " << c << ", " << r;
    }
}

TEST(LanguageFormats, EditsFollowTheirLanguageAndTheSaveWritesThem)
{
    TempFolder dir;
    dir.put("t.c", crlf({"const char *names[] = {", "\"English\",  // 0", "\"Polski\",  // 1", "\"Deutsch\",  // 2", "};",
                         "const char *t[] = {", "\"Yes\",  // 0", "\"Tak\",  // 1", "\"Ja\",  // 2", "};"}));
    TempNamer names(dir.path());
    const auto c = makeFormat(kCArrays, {&names});
    TranslationDocument doc;
    ASSERT_TRUE(c->openBase(doc, dir / "t.c").ok);
    c->chooseLanguages(doc, {0, "English"}, {1, "Polski"});
    SetDestinations::one(doc, 0, "Tak!")->redo(doc);
    c->chooseLanguages(doc, {0, "English"}, {2, "Deutsch"});
    EXPECT_EQ(dests(doc), std::vector<std::string>{"Ja"});
    SetDestinations::one(doc, 0, "Jawohl")->redo(doc);
    c->chooseLanguages(doc, {2, "Deutsch"}, {1, "Polski"});
    EXPECT_EQ(doc.entry(0).base, "Jawohl");
    EXPECT_EQ(dests(doc), std::vector<std::string>{"Tak!"});
    EXPECT_EQ(doc.counts().changed, 1);
    EXPECT_EQ(c->header(doc, tcol::kDest), "Polski");
    ASSERT_TRUE(c->save(doc, dir / "t2.c", {}).ok);
    EXPECT_EQ(doc.counts().changed, 0);
    const std::string saved = dir.get("t2.c");
    EXPECT_NE(saved.find("\"Tak!\","), std::string::npos);
    EXPECT_NE(saved.find("\"Jawohl\","), std::string::npos);

    dir.put("menu.ini", "[LANGUAGES]\r\n[English]\r\n1=Open\r\n1i=Opens\r\n[Polski]\r\n1=Otworz\r\n");
    const auto m = makeFormat(kMenuIni);
    m->clearDocument(doc);
    ASSERT_TRUE(m->openBase(doc, dir / "menu.ini").ok);
    m->chooseLanguages(doc, {0, "English"}, {-1, "Cesky"});
    EXPECT_EQ(doc.rowName(1), "1i");
    SetDestinations(doc, {{0, "Otevrit"}, {1, " Otevre "}}).redo(doc);
    const SaveResult r = m->save(doc, {}, {});
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.languages, std::pair(0, 2));
    EXPECT_TRUE(r.reopen);
    EXPECT_EQ(dir.get("menu.ini").substr(dir.get("menu.ini").find("[Cesky]")),
              "[Cesky]\r\n1=Otevrit\r\n1i=\" Otevre \"\r\n");
}

// The tool opens a menu INI or C file without the working table, its rows
// viewing the file's bytes: through choices of languages, edits and a save,
// the rows and the file written are those of the window's way.
TEST(LanguageFormats, RowsReadWithoutTheWorkingTableAreTheSame)
{
    TempFolder dir;
    dir.put("menu.ini", "1=before any section\r\n[English]\r\n1=Open\r\n1I=\"Opens it\"\r\n1i=second\r\n01=x\r\n"
                        "501=x\r\n2x=x\r\n 2v = 'Closing' \r\n[LANGUAGES]\r\n[ polski ]\r\n1=Otworz\r2V=Zamyka\n"
                        "[English]\r\n1=Other\r\n[Deutsch]\r\n; 1=x\r\n1\r\n0v=\"\"x\"\"\r\n[broken\r\n2v=Schliesst");
    dir.put("t.c", crlf({"const char *names[] = {", "\"English\",  // 0", "\"Polski\",  // 1", "\"Deutsch\",  // 2", "};",
                         "const char *t[][2] = {", "\"Yes\",  // 0", "\"No\",  // 0", "\"Tak\",  // 1", "\"\",  // 1",
                         "\"Ja\",  // 2", "\"Nein\",  // 2", "};"}));
    struct Case {
        SourceKind kind;
        std::string file;
        LanguageChoice choices[4][2];  // after the open, again, after an edit, before the save
    };
    const Case cases[] = {
        {kMenuIni, "menu.ini",
         {{{0, "English"}, {1, "Polski"}}, {{2, "Deutsch"}, {0, "english"}}, {{1, "POLSKI"}, {-1, "Cesky"}},
          {{0, "English"}, {2, "Deutsch"}}}},
        {kMenuIni, TOVRANA_DEMO_SOURCE_DIR "/menu.ini",
         {{{0, "English"}, {1, "Polski"}}, {{1, "Polski"}, {2, "Deutsch"}}, {{0, "English"}, {1, "Polski"}},
          {{0, "English"}, {1, "Polski"}}}},
        {kCArrays, "t.c",
         {{{0, "English"}, {1, "Polski"}}, {{-1, ""}, {2, "Deutsch"}}, {{2, "Deutsch"}, {1, "Polski"}},
          {{0, "English"}, {-1, ""}}}},
        {kCArrays, TOVRANA_DEMO_SOURCE_DIR "/texts.c",
         {{{0, "English"}, {1, "Polski"}}, {{1, "Polski"}, {2, "Deutsch"}}, {{0, "English"}, {2, "Deutsch"}},
          {{0, "English"}, {1, "Polski"}}}},
    };
    using Row = std::tuple<std::string, std::string, std::string, std::string, LengthRule>;
    using Shown = std::tuple<std::vector<Row>, std::string, std::string, int, int, int>;
    int run = 0;
    for (const Case& c : cases) {
        ++run;
        std::vector<Shown> shown[2];
        std::string saved[2];
        for (int lean = 0; lean < 2; ++lean) {
            SCOPED_TRACE(c.file + (lean ? " without the working table" : ""));
            // The menu file is saved into itself: each way saves its own copy.
            const std::string file =
                dir / (std::to_string(run * 2 + lean) + std::filesystem::path(c.file).filename().string());
            std::filesystem::copy_file(c.file.find('/') == std::string::npos ? dir / c.file : c.file, file);
            TempNamer names(dir.path());
            const auto f = makeFormat(c.kind, {&names});
            TranslationDocument doc;
            f->clearDocument(doc);
            OpenOptions options;
            options.workingTable = lean == 0;
            options.languagesChosenNext = lean == 1;
            ASSERT_TRUE(f->openBase(doc, file, options).ok);
            auto show = [&] {
                std::vector<Row> rows;
                for (const Entry& e : doc.entries())
                    rows.emplace_back(e.id.str(), e.base.str(), e.dest.str(), e.stored.str(), e.rule);
                shown[lean].emplace_back(rows, doc.baseLanguageName, doc.destLanguageName, doc.baseLanguage,
                                         doc.destLanguage, doc.counts().changed);
            };
            for (int step = 0; step < 4; ++step) {
                f->chooseLanguages(doc, c.choices[step][0], c.choices[step][1]);
                show();
                if (step >= 1 && !doc.empty())
                    SetDestinations(doc, {{(step - 1) % doc.size(), "Zmiana " + std::to_string(step)}}).redo(doc);
            }
            const std::string out = c.kind == kCArrays ? file + ".out.c" : std::string();
            ASSERT_TRUE(f->save(doc, out, noReadBack()).ok);
            show();
            saved[lean] = testing::readBytes(out.empty() ? file : out);
        }
        EXPECT_TRUE(shown[0] == shown[1]) << c.file;
        EXPECT_EQ(saved[0], saved[1]) << c.file;
    }
}

// The languages chosen right after the open: the rows are those of the file
// for them whether the open showed them already, showed others or none (the
// window's pickers choose next), an edit made in between dropped as by any
// new choice.
TEST(MenuIniFormat, LanguagesChosenRightAfterTheOpenShowTheFile)
{
    TempFolder dir;
    dir.put("menu.ini", "[LANGUAGES]\r\n[English]\r\n1=Open\r\n2=Close\r\n[Polski]\r\n1=Otworz\r\n2=Zamknij\r\n[Deutsch]\r\n"
                        "1=Offnen\r\n2=Schliessen\r\n");
    const struct {
        bool edit;
        LanguageChoice base, dest;
        std::vector<std::string> dests;
    } cases[] = {
        {false, {1, "Polski"}, {2, "Deutsch"}, {"Offnen", "Schliessen"}},
        {true, {1, "Polski"}, {2, "Deutsch"}, {"Offnen", "Schliessen"}},
        {false, {0, "English"}, {1, "Polski"}, {"Otworz", "Zamknij"}},
        {true, {2, "Deutsch"}, {-1, "Cesky"}, {"", ""}},
    };
    for (const auto& c : cases) {
        for (const bool next : {false, true}) {
            SCOPED_TRACE(c.dest.name + (c.edit ? " edited" : "") + (next ? " chosen next" : ""));
            TranslationDocument doc;
            const auto m = makeFormat(kMenuIni);
            m->clearDocument(doc);
            OpenOptions options;
            options.languagesChosenNext = next;
            ASSERT_TRUE(m->openBase(doc, dir / "menu.ini", options).ok);
            EXPECT_EQ(doc.size(), next ? 0 : 2);
            if (c.edit && !next) SetDestinations(doc, {{1, "Zu"}}).redo(doc);
            m->chooseLanguages(doc, c.base, c.dest);
            ASSERT_EQ(doc.size(), 2);
            for (int i = 0; i < 2; ++i) {
                EXPECT_EQ(doc.entry(i).dest, c.dests[static_cast<std::size_t>(i)]);
                EXPECT_EQ(doc.entry(i).stored, c.dests[static_cast<std::size_t>(i)]);
            }
            EXPECT_EQ(doc.counts().changed, 0);
            EXPECT_EQ(doc.destLanguageName, c.dest.name);
            EXPECT_EQ(m->workingTable().cell(1, 2), doc.entry(1).base);
            EXPECT_EQ(m->workingTable().cell(2, 2), c.dests[1]);
        }
    }
}

}  // namespace
}  // namespace tov
