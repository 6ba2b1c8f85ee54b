// tovrana-cli run as a whole program on copies of the demo samples and the
// corpus files: reports and exit statuses, export/import round trips,
// refused imports and argument errors.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "support/convert.h"
#include "support/strutil.h"
#include "tests/cli/cli_run.h"

namespace tov::clitest {
namespace {

std::string lines(const std::vector<std::string>& ls)
{
    std::string out;
    for (const std::string& l : ls) out += l + "\n";
    return out;
}

std::string summary(int rows, int translated, int missing, int tooLong, int differs, int structure, int lineCount,
                    int unreadable, int base, int dest, const std::string& checks = {})
{
    return "rows " + std::to_string(rows) + ", translated " + std::to_string(translated) + ", missing " +
           std::to_string(missing) + ", too long " + std::to_string(tooLong) + ", length differs " +
           std::to_string(differs) + ", structure " + std::to_string(structure) + ", line count " +
           std::to_string(lineCount) + ", unreadable " + std::to_string(unreadable) + checks + "; Base: " +
           std::to_string(base) + "   Dest.: " + std::to_string(dest);
}

// A firmware base set ENG and destination set POL of one file EDIT in `folder`.
void writeSet(const DemoFolder& f, const std::string& folder, const std::string& eng, const std::string& pol)
{
    std::filesystem::create_directories(f / (folder + "/ENG"));
    std::filesystem::create_directories(f / (folder + "/POL"));
    std::filesystem::create_directories(f / (folder + "/OUT"));
    f.put(folder + "/ENG/EDIT.ENG", eng);
    f.put(folder + "/POL/EDIT.POL", pol);
}

TEST(CliCheck, ReportsAndExitStatuses)
{
    struct Case {
        const char* name;
        std::function<void(const DemoFolder&)> prepare;
        std::vector<std::string> args;
        int status;
        std::vector<std::string> expected;  // lines that must be printed
        bool whole;                         // and nothing else
    };
    const std::vector<Case> cases = {
        {"resource strings",
         nullptr,
         {"check", "--kind", "drc", "base/Konfix_en.drc", "dest/Konfix_pl.drc"},
         1,
         {"row 2: KfxMain_RsReady: too long: dest 6, base 5", "row 18: KfxFile_RsNewerVersion: missing",
          "row 33: KfxHelp_RsTipNoHelp: too long: dest 41, base 33", summary(33, 28, 5, 18, 0, 0, 0, 0, 870, 783)},
         false},
        {"resource strings without destination",
         nullptr,
         {"check", "--kind=drc", "base/Vigrex_en.drc"},
         1,
         {"row 1: VgxMain_RsCaption: missing"},
         false},
        {"firmware sets that match",
         nullptr,
         {"check", "--kind", "orvanta", "ORVANTA/ENG/MENU.ENG", "ORVANTA/POL/EDIT.POL"},
         0,
         {summary(20, 20, 0, 0, 0, 0, 0, 0, 360, 360)},
         true},
        {"QL5: a line too many, a file missing",
         [](const DemoFolder& f) {
             std::filesystem::create_directories(f / "QL5/BAD");
             f.put("QL5/BAD/LCD_IDLE.POL",
                   replaced(f.get("QL5/POL/LCD_IDLE.POL"), ".section lcd_idle\r\n", ".section lcd_idle\r\nextra\r\n"));
         },
         {"check", "--kind", "ql5", "QL5/ENG/LCD_IDLE.ENG", "QL5/BAD/LCD_IDLE.POL"},
         1,
         {"file QL5/BAD/LCD_MENU.POL: unreadable file: no such file",
          "file QL5/BAD/LCD_IDLE.POL: line count: dest 10, base 9",
          "file QL5/BAD/LCD_MENU.POL: line count: dest 0, base 6",
          "row 1: LCD_IDLE.ENG:3: structure: destination text on another line than its base text (LCD_IDLE.POL:4)",
          "row 2: LCD_IDLE.ENG:4: missing", "row 3: LCD_IDLE.ENG:6: missing", "row 4: LCD_IDLE.ENG:7: missing",
          "row 5: LCD_IDLE.ENG:8: missing", "row 6: LCD_MENU.ENG:2: missing", "row 7: LCD_MENU.ENG:3: missing",
          "row 8: LCD_MENU.ENG:4: missing", "row 9: LCD_MENU.ENG:5: missing", summary(9, 1, 8, 0, 0, 1, 2, 1, 144, 16)},
         true},
        {"QL10: a text cut short",
         [](const DemoFolder& f) {
             f.put("QL10/POL/LCD_1.POL",
                   replaced(f.get("QL10/POL/LCD_1.POL"), "\"Wybierz program:    \"", "\"Wybierz program:\""));
         },
         {"check", "--kind", "ql10", "QL10/ENG/LCD_1.ENG", "QL10/POL/LCD_1.POL"},
         1,
         {"row 2: LCD_1.ENG:4: length differs: dest 16, base 20", summary(7, 7, 0, 0, 1, 0, 0, 0, 140, 136)},
         true},
        {"menu INI",
         nullptr,
         {"check", "--kind", "menu-ini", "menu.ini", "--base-lang", "english", "--dest-lang", "Polski"},
         1,
         {"row 9: 3v: missing", "row 15: 11i: missing", "row 23: 22: missing", "row 24: 22v: missing",
          "row 26: 31: missing", summary(26, 21, 5, 0, 0, 0, 0, 0, 307, 229)},
         true},
        {"C string arrays",
         nullptr,
         {"check", "--kind", "c", "--base-lang", "English", "--dest-lang", "Deutsch", "texts.c"},
         1,
         {"row 1: 1: too long: dest 10, base 7", "row 9: 9: missing", summary(10, 8, 2, 7, 0, 0, 0, 0, 147, 93)},
         false},
        {"corpus firmware set against itself",
         [](const DemoFolder& f) {
             for (const char* n : {"CHKMES.ASM", "DOSMES.ASM", "FORMES.ASM", "SYSMES.ASM"})
                 f.copy(std::string(TOVRANA_CORPUS_DIR) + "/firmware/msdos_v2/" + n, std::string("v2/") + n);
         },
         {"check", "--kind", "telmo", "v2/DOSMES.ASM", "v2/CHKMES.ASM"},
         0,
         {summary(174, 174, 0, 0, 0, 0, 0, 0, 2519, 2519)},
         true},
        {"firmware: a destination text where the base has none",
         [](const DemoFolder& f) { writeSet(f, "S", "L1 DB 'Hello'\r\nL2 EQU 5\r\n", "L1 DB 'Witaj'\r\nL2 DB 'extra'\r\n"); },
         {"check", "--kind", "orvanta", "S/ENG/EDIT.ENG", "S/POL/EDIT.POL"},
         1,
         {"file S/POL/EDIT.POL: structure: line 2: a destination text where the base has no text (row 2)",
          summary(1, 1, 0, 0, 0, 1, 0, 0, 5, 5)},
         true},
        {"firmware: a destination line that cannot take its text",
         [](const DemoFolder& f) { writeSet(f, "S", "L1 DB 'One'\r\nL2 DB 'Two'\r\n", "L1 DB 'Raz'\r\nL2 EQU 7 ; todo\r\n"); },
         {"check", "--kind", "ql5", "S/ENG/EDIT.ENG", "S/POL/EDIT.POL"},
         1,
         {"row 2: EDIT.ENG:2: structure: destination line without a quoted text, not in its base line's form "
          "(EDIT.POL:2)",
          "row 2: EDIT.ENG:2: missing", summary(2, 1, 1, 0, 0, 1, 0, 0, 6, 3)},
         true},
        {"corpus menu INI",
         [](const DemoFolder& f) { f.copy(std::string(TOVRANA_CORPUS_DIR) + "/ini/regshot_language.ini", "r.ini"); },
         {"check", "--kind", "menu-ini", "r.ini", "--base-lang", "English", "--dest-lang", "Russian"},
         0,
         {"row 34: 34: punctuation: dest ends with \"...\", base does not",
          summary(46, 46, 0, 0, 0, 0, 0, 0, 594, 718, ", format 0, blanks 0, punctuation 1, accelerator 0")},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DemoFolder folder;
        if (c.prepare) c.prepare(folder);
        const Result r = folder.run(c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.err, "");
        if (c.whole) {
            EXPECT_EQ(r.out, lines(c.expected));
        } else {
            for (const std::string& l : c.expected) EXPECT_TRUE(contains(r.out, l + "\n")) << l << "\n" << r.out;
        }
    }
}

TEST(CliCheck, JsonHoldsTheSameReport)
{
    DemoFolder folder;
    folder.copy(folder / "ORVANTA/POL/EDIT.POL", "ORVANTA/OUT/EDIT.CZE");
    const Result j = folder.run({"check", "--json", "--kind", "orvanta", "ORVANTA/ENG/EDIT.ENG", "ORVANTA/OUT/EDIT.CZE"});
    EXPECT_EQ(j.status, 1);
    EXPECT_TRUE(startsWith(j.out, "{\"kind\":\"orvanta\",\"base\":\"ORVANTA/ENG/EDIT.ENG\",\"dest\":\"ORVANTA/OUT/EDIT.CZE\","
                                  "\"problems\":[\n")) << j.out;
    for (const char* line : {
             "{\"file\":\"ORVANTA/OUT/MENU.CZE\",\"problem\":\"unreadable file\",\"reason\":\"no such file\"},\n",
             "{\"file\":\"ORVANTA/OUT/MENU.CZE\",\"problem\":\"line count\",\"dest\":0,\"base\":14},\n",
             "{\"row\":11,\"id\":\"MENU.ENG:3\",\"file\":\"MENU.ENG\",\"line\":3,\"problem\":\"missing\"},\n",
             "],\"summary\":{\"rows\":20,\"translated\":10,\"missing\":10,\"too_long\":0,\"length_differs\":0,"
             "\"structure\":0,\"line_count\":1,\"unreadable\":1,\"base_characters\":360,\"dest_characters\":200,"
             "\"character_count\":\"Base: 360   Dest.: 200\"}}\n"})
        EXPECT_TRUE(contains(j.out, line)) << line;
}

TEST(CliCheck, JsonDocumentsByteForByte)
{
    DemoFolder folder;
    // Without problems, and with the languages of a menu file.
    const Result clean = folder.run({"check", "--json", "--kind", "orvanta", "ORVANTA/ENG/EDIT.ENG", "ORVANTA/POL/EDIT.POL"});
    EXPECT_EQ(clean.status, 0);
    EXPECT_EQ(clean.out,
              "{\"kind\":\"orvanta\",\"base\":\"ORVANTA/ENG/EDIT.ENG\",\"dest\":\"ORVANTA/POL/EDIT.POL\",\"problems\":[],"
              "\"summary\":{\"rows\":20,\"translated\":20,\"missing\":0,\"too_long\":0,\"length_differs\":0,"
              "\"structure\":0,\"line_count\":0,\"unreadable\":0,\"base_characters\":360,\"dest_characters\":360,"
              "\"character_count\":\"Base: 360   Dest.: 360\"}}\n");
    const Result menu = folder.run(
        {"check", "--json", "--kind", "menu-ini", "menu.ini", "--base-lang", "English", "--dest-lang", "Polski"});
    EXPECT_TRUE(startsWith(menu.out, "{\"kind\":\"menu-ini\",\"base\":\"menu.ini\",\"dest\":null,\"base_lang\":\"English\","
                                     "\"dest_lang\":\"Polski\",\"problems\":[\n{\"row\":9,\"id\":\"3v\",\"problem\":\"missing\"},\n"))
        << menu.out;

    // File names: UTF-8 as it is, anything else read as Windows-1250, and
    // every control character as \u00xx.
    const std::pair<std::string, std::string> names[] = {
        {"base/K\tx\n\r\b\f\x01.drc", "base/K\\u0009x\\u000a\\u000d\\u0008\\u000c\\u0001.drc"},
        {"base/K\"\\x.drc", "base/K\\\"\\\\x.drc"},
        {"base/K\xc3\xb3x.drc", "base/K\xc3\xb3x.drc"},
        {"base/K\xe9x.drc", "base/K\xc3\xa9x.drc"},
        {"base/K\xc0\xafx.drc", "base/K\xc5\x94\xc5\xbbx.drc"},  // an overlong form is no UTF-8
        {"base/K\xed\xa0\x80x.drc", "base/K\xc3\xad\xc2\xa0\xe2\x82\xacx.drc"},  // nor is a surrogate
    };
    for (const auto& [name, json] : names) {
        folder.copy(folder / "base/Konfix_en.drc", name);
        const Result r = folder.run({"check", "--json", "--kind", "drc", name});
        EXPECT_EQ(r.status, 1) << json;
        EXPECT_TRUE(startsWith(r.out, "{\"kind\":\"drc\",\"base\":\"" + json + "\",\"dest\":null,\"problems\":[\n"))
            << r.out.substr(0, 80);
    }
}

// Export, import of that export into a new destination (with one text
// changed), and export again: the same file comes back, with the change.
TEST(CliImport, RoundTripsThroughEveryWriter)
{
    struct Case {
        const char* name;
        std::function<void(const DemoFolder&)> prepare;
        std::vector<std::string> open;    // --kind ... BASE [DEST] [languages] for export
        std::vector<std::string> import;  // --kind ... BASE TSV [DEST] [languages]
        std::string out;                  // -o of the import
        std::vector<std::string> reopen;  // export of what the import wrote
        std::string from, to;             // the text changed in the TSV
        std::vector<std::string> written; // files the import reports
    };
    const std::string corpus = TOVRANA_CORPUS_DIR;
    const std::vector<Case> cases = {
        {"drc",
         nullptr,
         {"--kind", "drc", "base/Konfix_en.drc", "dest/Konfix_pl.drc"},
         {"--kind", "drc", "base/Konfix_en.drc", "t.tsv", "dest/Konfix_pl.drc"},
         "dest/new.drc",
         {"--kind", "drc", "base/Konfix_en.drc", "dest/new.drc"},
         "\tGotowy\r\n", "\tGotowe\r\n",
         {"dest/new.drc"}},
        {"corpus drc",
         [&](const DemoFolder& f) { f.copy(corpus + "/drc/dmvc_WebClientSample_VER310_lf.drc", "w.drc"); },
         {"--kind", "drc", "w.drc"},
         {"--kind", "drc", "w.drc", "t.tsv"},
         "w2.drc",
         {"--kind", "drc", "w.drc", "w2.drc"},
         "\t\r\n", "\tX\r\n",
         {"w2.drc"}},
        {"firmware onto a destination set",
         [](const DemoFolder& f) { std::filesystem::create_directories(f / "ORVANTA/OUT"); },
         {"--kind", "orvanta", "ORVANTA/ENG/EDIT.ENG", "ORVANTA/POL/EDIT.POL"},
         {"--kind", "orvanta", "ORVANTA/ENG/EDIT.ENG", "t.tsv", "ORVANTA/POL/MENU.POL"},
         "ORVANTA/OUT/X.CZE",
         {"--kind", "orvanta", "ORVANTA/ENG/EDIT.ENG", "ORVANTA/OUT/EDIT.CZE"},
         "\tZapisano            \r\n", "\tZapisane            \r\n",
         {"ORVANTA/OUT/EDIT.CZE", "ORVANTA/OUT/MENU.CZE"}},
        {"firmware onto the base set's lines",
         [](const DemoFolder& f) { std::filesystem::create_directories(f / "TELMO/OUT"); },
         {"--kind", "telmo", "TELMO/ENG/Telmo.ENG", "TELMO/POL/Telmo.POL"},
         {"--kind", "telmo", "TELMO/ENG/Telmo.ENG", "t.tsv"},
         "TELMO/OUT/cz",
         {"--kind", "telmo", "TELMO/ENG/Telmo.ENG", "TELMO/OUT/Telmo.cz"},
         "", "",
         {"TELMO/OUT/Telmo.cz"}},
        {"corpus firmware",
         [&](const DemoFolder& f) {
             for (const char* n : {"EMS_US.MSG", "KBMSG.INC", "MEM.SKL", "TREE.SKL"})
                 f.copy(corpus + "/firmware/msdos_v4/" + n, std::string("v4/") + n);
             std::filesystem::create_directories(f / "v4/out");
         },
         {"--kind", "ql10", "v4/MEM.SKL", "v4/TREE.SKL"},
         {"--kind", "ql10", "v4/TREE.SKL", "t.tsv", "v4/MEM.SKL"},
         "v4/out/a.PL",
         {"--kind", "ql10", "v4/MEM.SKL", "v4/out/TREE.PL"},
         "", "",
         {"v4/out/MEM.PL", "v4/out/TREE.PL"}},
        {"menu INI",
         nullptr,
         {"--kind", "menu-ini", "menu.ini", "--base-lang", "English", "--dest-lang", "Deutsch"},
         {"--kind", "menu-ini", "menu.ini", "t.tsv", "--base-lang", "English", "--dest-lang", "Deutsch"},
         "menu.ini",
         {"--kind", "menu-ini", "menu.ini", "--base-lang", "English", "--dest-lang", "Deutsch"},
         "&File\t&Datei\r\n", "&File\t&Akte\r\n",
         {"menu.ini"}},
        {"menu INI, a new language",
         nullptr,
         {"--kind", "menu-ini", "menu.ini", "--base-lang", "English", "--dest-lang", "Cesky"},
         {"--kind", "menu-ini", "menu.ini", "t.tsv", "--base-lang", "English", "--dest-lang", "Cesky"},
         "menu.ini",
         {"--kind", "menu-ini", "menu.ini", "--base-lang", "English", "--dest-lang", "Cesky"},
         "&File\t\r\n", "&File\t&Soubor\r\n",
         {"menu.ini"}},
        {"C string arrays",
         nullptr,
         {"--kind", "c", "texts.c", "--base-lang", "English", "--dest-lang", "Polski"},
         {"--kind", "c", "texts.c", "t.tsv", "--base-lang", "English", "--dest-lang", "Polski"},
         "texts2.c",
         {"--kind", "c", "texts2.c", "--base-lang", "English", "--dest-lang", "Polski"},
         "Welcome\tWitamy\r\n", "Welcome\tWitajcie\r\n",
         {"texts2.c"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DemoFolder folder;
        if (c.prepare) c.prepare(folder);
        std::vector<std::string> exportArgs = {"export"};
        exportArgs.insert(exportArgs.end(), c.open.begin(), c.open.end());
        const Result first = folder.run(exportArgs);
        ASSERT_EQ(first.status, 0) << first.err;
        const std::string tsv = c.from.empty() ? first.out : replaced(first.out, c.from, c.to);
        folder.put("t.tsv", tsv);

        std::vector<std::string> importArgs = {"import", "-o", c.out};
        importArgs.insert(importArgs.end(), c.import.begin(), c.import.end());
        const Result imported = folder.run(importArgs);
        ASSERT_EQ(imported.status, 0) << imported.err;
        std::vector<std::string> wrote;
        for (const std::string& w : c.written) wrote.push_back("wrote " + w);
        EXPECT_EQ(imported.out, lines(wrote));

        std::vector<std::string> reopenArgs = {"export"};
        reopenArgs.insert(reopenArgs.end(), c.reopen.begin(), c.reopen.end());
        const Result again = folder.run(reopenArgs);
        ASSERT_EQ(again.status, 0) << again.err;
        EXPECT_EQ(again.out, tsv);
    }
}

// Texts imported into files whose form made them easy to lose: each comes
// back when the written file is opened again, or the import writes nothing
// and says where.
TEST(CliImport, EveryTextComesBackOrNothingIsWritten)
{
    struct Case {
        const char* name;
        std::function<void(const DemoFolder&)> prepare;
        std::vector<std::string> kind;    // --kind ... and the languages
        std::vector<std::string> opened;  // BASE [DEST]; the import reads t.tsv after BASE
        std::string out;
        std::vector<std::string> reopened;  // BASE [DEST] of the export of what was written
        std::vector<std::pair<std::string, std::string>> edits;  // in the TSV
        std::string refusal;  // empty: written and read back
        std::string written = {};  // the bytes of OUT, when given
    };
    const std::vector<std::string> menu = {"--kind", "menu-ini", "--base-lang", "English", "--dest-lang", "Polski"};
    const std::vector<std::string> c = {"--kind", "c", "--base-lang", "English", "--dest-lang", "Deutsch"};
    const std::vector<Case> cases = {
        {"resource strings, an identifier twice",
         [](const DemoFolder& f) { f.put("b.drc", "STRINGTABLE\r\nBEGIN\r\nA, \"x\"\r\nA, \"y\"\r\nEND\r\n"); },
         {"--kind", "drc"}, {"b.drc"}, "o.drc", {"b.drc", "o.drc"}, {{"x\t\r\n", "x\tX\r\n"}, {"y\t\r\n", "y\tY\r\n"}}, ""},
        {"resource strings without entries",
         [](const DemoFolder& f) { f.copy(std::string(TOVRANA_CORPUS_DIR) + "/drc/heidisql_DCLSer_empty.drc", "e.drc"); },
         {"--kind", "drc"}, {"e.drc"}, "o.drc", {"o.drc"}, {}, "", " STRINGTABLE\r\n  BEGIN\r\n  \r\n END\r\n"},
        {"menu INI, a byte 26 in a value",
         [](const DemoFolder& f) { f.put("m.ini", "[LANGUAGES]\r\n[English]\r\n1=ab\x1A" "cd\r\n[Polski]\r\n1=xy\r\n"); },
         menu, {"m.ini"}, "m.ini", {"m.ini"}, {{"\txy", "\tz\x1Az"}}, ""},
        {"C, texts of a language the arrays lack",
         [](const DemoFolder& f) {
             f.put("g.c", "const char *N[] = {\r\n\"English\", // 0\r\n\"Polski\", // 1\r\n\"Deutsch\", // 2\r\n};\r\n"
                          "const char *G[][4] = {\r\n{\r\n\"Yes\", // 0\r\n},\r\n{\r\n\"Tak\", // 1\r\n}\r\n};\r\n");
         },
         c, {"g.c"}, "o.c", {"o.c"}, {{"Yes\t", "Yes\tJa"}}, ""},
        {"firmware, a destination line without its text",
         [](const DemoFolder& f) { writeSet(f, "S", "L1 DB 'One' ; a\r\nL2 DB 'Two' ; b\r\n", "L1 DB 'Raz' ; a\r\nL2 DB ; todo\r\n"); },
         {"--kind", "ql5"}, {"S/ENG/EDIT.ENG", "S/POL/EDIT.POL"}, "S/OUT/EDIT.CZE", {"S/ENG/EDIT.ENG", "S/OUT/EDIT.CZE"},
         {{"Two\t   ", "Two\tDwa"}}, ""},
        {"firmware, a destination line that cannot take its text",
         [](const DemoFolder& f) { writeSet(f, "S", "L1 DB 'One'\r\nL2 DB 'Two'\r\n", "L1 DB 'Raz'\r\nL2 EQU 7 ; todo\r\n"); },
         {"--kind", "ql5"}, {"S/ENG/EDIT.ENG", "S/POL/EDIT.POL"}, "S/OUT/EDIT.CZE", {}, {{"Two\t   ", "Two\tDwa"}},
         "S/POL/EDIT.POL: line 2: the line holds no quoted text and is not in its base line's form: the text of row 2 "
         "has no place in it; nothing written"},
    };
    auto command = [](std::vector<std::string> head, const std::vector<std::string>& kind,
                      const std::vector<std::string>& files) {
        head.insert(head.end(), kind.begin(), kind.end());
        head.insert(head.end(), files.begin(), files.end());
        return head;
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        DemoFolder folder;
        k.prepare(folder);
        const Result exported = folder.run(command({"export"}, k.kind, k.opened));
        ASSERT_EQ(exported.status, 0) << exported.err;
        std::string tsv = exported.out;
        for (const auto& [from, to] : k.edits) tsv = replaced(tsv, from, to);
        folder.put("t.tsv", tsv);

        const auto before = folder.snapshot();
        std::vector<std::string> files = k.opened;
        files.insert(files.begin() + 1, "t.tsv");
        const Result imported = folder.run(command({"import", "-o", k.out}, k.kind, files));
        if (!k.refusal.empty()) {
            EXPECT_EQ(imported.status, 1);
            EXPECT_EQ(imported.err, "tovrana-cli: " + k.refusal + "\n");
            EXPECT_EQ(folder.snapshot(), before);
            continue;
        }
        ASSERT_EQ(imported.status, 0) << imported.err;
        if (!k.written.empty()) {
            EXPECT_EQ(folder.get(k.out), k.written);
        }
        const Result again = folder.run(command({"export"}, k.kind, k.reopened));
        ASSERT_EQ(again.status, 0) << again.err;
        EXPECT_EQ(again.out, tsv);
    }
}

TEST(CliImport, OverwritingLeavesADatedBackup)
{
    DemoFolder folder;
    const std::string before = folder.get("dest/Konfix_pl.drc");
    folder.put("t.tsv", folder.run({"export", "--kind", "drc", "base/Konfix_en.drc", "dest/Konfix_pl.drc"}).out);
    const Result r = folder.run({"import", "--kind", "drc", "base/Konfix_en.drc", "t.tsv", "-o", "dest/Konfix_pl.drc"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> backups;
    for (const auto& e : std::filesystem::directory_iterator(folder / "dest"))
        if (e.path().extension() == ".bak") backups.push_back(e.path().filename().string());
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_TRUE(startsWith(backups[0], "Konfix_pl.drc."));
    EXPECT_EQ(folder.get("dest/" + backups[0]), before);
    EXPECT_NE(folder.get("dest/Konfix_pl.drc"), before);  // rewritten in the writer's layout
}

TEST(CliImport, MisalignedFilesWriteNothing)
{
    struct Case {
        const char* name;
        std::vector<std::string> exportArgs;
        std::vector<std::string> importArgs;  // with TSV "t.tsv" and -o
        std::function<std::string(const std::string&)> spoil;
        std::string error;
    };
    auto swapLines = [](int a) {
        return [a](const std::string& tsv) {
            auto ls = splitLines(tsv);
            std::swap(ls[static_cast<size_t>(a - 1)], ls[static_cast<size_t>(a)]);
            return joinCrLf(ls);
        };
    };
    const std::vector<Case> cases = {
        {"drc, two rows swapped",
         {"--kind", "drc", "base/Konfix_en.drc"},
         {"--kind", "drc", "base/Konfix_en.drc", "t.tsv", "-o", "dest/Konfix_pl.drc"},
         swapLines(3),
         "t.tsv: row 3: line 3 does not begin with the base text of row 3 and a TAB; nothing written"},
        {"firmware, a row deleted",
         {"--kind", "ql5", "QL5/ENG/LCD_IDLE.ENG"},
         {"--kind", "ql5", "QL5/ENG/LCD_IDLE.ENG", "t.tsv", "QL5/POL/LCD_IDLE.POL", "-o", "QL5/POL/x.POL"},
         [](const std::string& tsv) { return tsv.substr(tsv.find('\n') + 1); },
         "t.tsv: row 1: line 1 does not begin with the base text of row 1 and a TAB; nothing written"},
        {"firmware, a text beside no base text",
         {"--kind", "ql5", "QL5/ENG/LCD_IDLE.ENG"},
         {"--kind", "ql5", "QL5/ENG/LCD_IDLE.ENG", "t.tsv", "-o", "QL5/POL/x.POL"},
         [](const std::string& tsv) { return tsv + "\tlost\r\n"; },
         "t.tsv: line 10 has no row: the base has 9 rows; nothing written"},
        {"menu INI, a line missing at the end",
         {"--kind", "menu-ini", "menu.ini", "--base-lang", "English", "--dest-lang", "Polski"},
         {"--kind", "menu-ini", "menu.ini", "t.tsv", "-o", "menu.ini", "--base-lang", "English", "--dest-lang", "Polski"},
         [](const std::string& tsv) { return tsv.substr(0, tsv.rfind('\n', tsv.size() - 2) + 1); },
         "t.tsv: row 26: no line (the file has 25 lines, the base 26 rows); nothing written"},
        {"C, another base language",
         {"--kind", "c", "texts.c", "--base-lang", "Deutsch", "--dest-lang", "Polski"},
         {"--kind", "c", "texts.c", "t.tsv", "-o", "texts.c", "--base-lang", "English", "--dest-lang", "Polski"},
         nullptr,
         "t.tsv: row 1: line 1 does not begin with the base text of row 1 and a TAB; nothing written"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DemoFolder folder;
        std::vector<std::string> exportArgs = {"export"};
        exportArgs.insert(exportArgs.end(), c.exportArgs.begin(), c.exportArgs.end());
        const Result exported = folder.run(exportArgs);
        ASSERT_EQ(exported.status, 0) << exported.err;
        folder.put("t.tsv", c.spoil ? c.spoil(exported.out) : exported.out);
        const auto before = folder.snapshot();
        std::vector<std::string> importArgs = {"import"};
        importArgs.insert(importArgs.end(), c.importArgs.begin(), c.importArgs.end());
        const Result r = folder.run(importArgs);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "tovrana-cli: " + c.error + "\n");
        EXPECT_EQ(folder.snapshot(), before);
    }
}

TEST(CliArguments, ErrorsExitWithStatusTwoAndOneLine)
{
    struct Case {
        std::vector<std::string> args;
        std::string error;
    };
    const std::string corpusC = std::string(TOVRANA_CORPUS_DIR) + "/c_arrays/ironos_Translation.c";
    const std::vector<Case> cases = {
        {{"check", "--kind", "po", "base/Konfix_en.drc"},
         "unknown kind \"po\" (expected drc, orvanta, ql5, ql10, telmo, menu-ini or c) (try --help)"},
        {{"check", "base/Konfix_en.drc"},
         "check: --kind is missing (drc, orvanta, ql5, ql10, telmo, menu-ini or c) (try --help)"},
        {{"translate", "--kind", "drc", "x"}, "unknown command \"translate\" (expected check, export or import) (try --help)"},
        {{"check", "--kind", "drc", "-x", "base/Konfix_en.drc"}, "unknown option \"-x\" (try --help)"},
        {{"export", "--json", "--kind", "drc", "base/Konfix_en.drc"}, "--json applies only to check (try --help)"},
        {{"import", "--kind", "drc", "base/Konfix_en.drc", "t.tsv"}, "import: -o OUT is missing (try --help)"},
        {{"check", "--kind", "c", "texts.c", "--base-lang", "English"}, "--kind c needs --dest-lang NAME (try --help)"},
        {{"check", "--kind", "menu-ini", "menu.ini", "menu.ini", "--base-lang", "English", "--dest-lang", "Polski"},
         "--kind menu-ini takes no DEST: the destination is the --dest-lang section of BASE (try --help)"},
        {{"check", "--kind", "drc", "base/Nope.drc"}, "base/Nope.drc: no such file"},
        {{"check", "--kind", "drc", "base"}, "base: is a folder, not a file"},
        {{"export", "--kind", "drc", "base/Konfix_en.drc", "dest/missing.drc"}, "dest/missing.drc: no such file"},
        {{"check", "--kind", "drc", "base/Konfix_en.drc", "QL5/POL/LCD_IDLE.POL"},
         "QL5/POL/LCD_IDLE.POL: not a resource-string file (no STRINGTABLE line before its entries)"},
        {{"check", "--kind", "qL5", "QL5/ENG/LCD_IDLE.ENG", "dest/Konfix_pl.drc"},
         "unknown kind \"qL5\" (expected drc, orvanta, ql5, ql10, telmo, menu-ini or c) (try --help)"},
        {{"check", "--kind", "ql5", "QL5/ENG/LCD_IDLE.ENG", "dest/Konfix_pl.drc"},
         "dest/Konfix_pl.drc: not a file of the base's set (its name is none of LCD_IDLE.ENG, LCD_MENU.ENG)"},
        {{"check", "--kind", "orvanta", "ORVANTA/ENG/EDIT.ENG", "QL10/POL/LCD_1.POL"},
         "QL10/POL/LCD_1.POL: not a file of the base's set (its name is none of EDIT.ENG, MENU.ENG)"},
        {{"check", "--kind", "menu-ini", "menu.ini", "--base-lang", "Klingon", "--dest-lang", "Polski"},
         "menu.ini: has no language \"Klingon\" (languages: English, Polski, Deutsch)"},
        {{"check", "--kind", "menu-ini", "texts.c", "--base-lang", "English", "--dest-lang", "Polski"},
         "texts.c: has no language section"},
        {{"check", "--kind", "c", corpusC, "--base-lang", "English", "--dest-lang", "Polski"},
         corpusC + ": no declaration line (a line holding \"const char *\")"},
        {{"export", "--kind", "orvanta", "ORVANTA/ENG/EDIT.ENG", "ORVANTA/XX/EDIT.POL"},
         "ORVANTA/XX/EDIT.POL: 19 lines instead of 18 of its base file"},
        {{"import", "--kind", "telmo", "ORVANTA/ENG/EDIT.ENG", "t.tsv", "ORVANTA/XX/EDIT.POL", "-o", "x.CZE"},
         "ORVANTA/XX/EDIT.POL: line 6: wrong structure of the file set: the destination text of row 1 stands on "
         "another line than its base text (EDIT.ENG:5)"},
        {{"export", "--kind", "orvanta", "S/ENG/EDIT.ENG", "S/POL/EDIT.POL"},
         "S/POL/EDIT.POL: line 2: wrong structure of the file set: a destination text where the base has no text "
         "(row 2)"},
        {{"check", "--kind", "drc", "big.drc"}, "big.drc: holds more than 65535 strings (string 65536 is on line 65538)"},
        {{"export", "--kind", "orvanta", "ORVANTA/ENG/EDIT.ENG", "ORVANTA/ENG/MENU.ENG", "-o", "base"},
         "base: cannot be written (base: Is a directory)"},
        // How the words are read: in order, the first thing wrong is reported.
        {{"--kind", "drc", "check"}, "unknown command \"--kind\" (expected check, export or import) (try --help)"},
        {{"check", "--kind"}, "--kind needs a value (try --help)"},
        {{"export", "--kind", "drc", "base/Konfix_en.drc", "--output"}, "--output needs a value (try --help)"},
        {{"export", "--kind", "drc", "-o", "a", "--output", "b"}, "--output given twice (try --help)"},
        {{"check", "--kind=drc", "--kind", "drc"}, "--kind given twice (try --help)"},
        {{"check", "--kind", "drc", "--foo=1", "--kind"}, "unknown option \"--foo=1\" (try --help)"},
        {{"check", "--kind", "drc", "-x", "--help"}, "unknown option \"-x\" (try --help)"},
        {{"check", "--kind", "drc", "--version"}, "unknown option \"--version\" (try --help)"},
        {{"check", "--kind="}, "unknown kind \"\" (expected drc, orvanta, ql5, ql10, telmo, menu-ini or c) (try --help)"},
        {{"check", "--kind==", "x"}, "unknown kind \"=\" (expected drc, orvanta, ql5, ql10, telmo, menu-ini or c) (try --help)"},
        {{"check", "--kind", "--json", "base/Konfix_en.drc"},
         "unknown kind \"--json\" (expected drc, orvanta, ql5, ql10, telmo, menu-ini or c) (try --help)"},
        {{"export", "--kind", "drc", "--output=", "base/Konfix_en.drc"}, "-o: the file name is empty (try --help)"},
        {{"check", "--kind", "drc", "--", "-x"}, "-x: no such file"},
        {{"check", "--kind", "drc", "base/Konfix_en.drc", "export"}, "export: no such file"},
        {{"check", "--kind", "drc", "a", "b", "c"}, "check: too many files (\"c\") (try --help)"},
        {{"check", "--kind", "drc", ""}, "a file name is empty (try --help)"},
        {{"check", "--kind", "drc", "--base-lang", "English", "x"},
         "--base-lang and --dest-lang apply only to --kind menu-ini and c (try --help)"},
        {{"check", "--kind", "drc", "-o", "x", "base/Konfix_en.drc"}, "-o does not apply to check (try --help)"},
        // The text checks, the spelling and the exchange formats.
        {{"export", "--strict", "--kind", "drc", "base/Konfix_en.drc"}, "--strict applies only to check (try --help)"},
        {{"import", "--spell", "pl", "--kind", "drc", "base/Konfix_en.drc"}, "--spell applies only to check (try --help)"},
        {{"check", "--kind", "drc", "base/Konfix_en.drc", "--dictionaries", "d"},
         "--dictionaries applies only with --spell (try --help)"},
        {{"check", "--kind", "drc", "base/Konfix_en.drc", "--spell", "kl", "--dictionaries", "base"},
         "--spell kl: no dictionary for it in base (Debian packages hunspell-pl, hunspell-de-de, ...)"},
        {{"check", "--format", "po", "--kind", "drc", "base/Konfix_en.drc"}, "--format applies only to export (try --help)"},
        {{"export", "--format", "xml", "--kind", "drc", "base/Konfix_en.drc"},
         "unknown format \"xml\" (expected tsv, xliff or po) (try --help)"},
        {{"export", "--target-language", "pl", "--kind", "drc", "base/Konfix_en.drc"},
         "--source-language and --target-language apply only to export --format xliff or po (try --help)"},
        {{"export", "--format", "po", "--target-language", "p l", "--kind", "drc", "base/Konfix_en.drc"},
         "\"p l\" is no language tag (letters, digits and \"-\", such as en, pl, de-AT) (try --help)"},
        {{"export", "--format", "xliff", "--kind", "drc", "base/Konfix_en.drc"},
         "the target language cannot be told from the file names: give --target-language TAG (for example pl)"},
        {{"export", "--force", "--kind", "drc", "base/Konfix_en.drc"}, "--force applies only to import (try --help)"},
        {{"import", "--kind", "drc", "base/Konfix_en.drc", "bad.xlf", "-o", "x.drc"},
         "bad.xlf: cannot be read as xliff: line 2: Start-end tags mismatch"},
    };
    DemoFolder folder;
    // An Orvanta destination with one line more in the middle of EDIT.POL.
    std::filesystem::create_directories(folder / "ORVANTA/XX");
    folder.copy(folder / "ORVANTA/POL/MENU.POL", "ORVANTA/XX/MENU.POL");
    folder.put("ORVANTA/XX/EDIT.POL", replaced(folder.get("ORVANTA/POL/EDIT.POL"), "        ORG", "\r\n        ORG"));
    folder.put("t.tsv", "");
    folder.put("bad.xlf", "<xliff version=\"1.2\">\n<file></body></xliff>\n");
    writeSet(folder, "S", "L1 DB 'Hello'\r\nL2 EQU 5\r\n", "L1 DB 'Witaj'\r\nL2 DB 'extra'\r\n");
    std::string big = "STRINGTABLE\r\nBEGIN\r\n";
    for (int i = 1; i <= 65536; ++i) big += "S" + std::to_string(i) + ",\"t\"\r\n";
    folder.put("big.drc", big);
    for (const Case& c : cases) {
        const Result r = folder.run(c.args);
        const int expected = startsWith(c.error, "base: cannot be written") ? 1 : 2;
        EXPECT_EQ(r.status, expected) << c.error;
        EXPECT_EQ(r.out, "") << c.error;
        EXPECT_EQ(r.err, "tovrana-cli: " + c.error + "\n");
    }
}

// A pipe cannot be read as a file, whoever runs the test.
TEST(CliArguments, UnreadableFilesAndSetMembers)
{
    DemoFolder folder;
    for (const char* name : {"ORVANTA/POL/MENU.POL", "dest/Konfix_pl.drc"}) {
        std::filesystem::remove(folder / name);
        ASSERT_EQ(::mkfifo((folder / name).c_str(), 0600), 0) << name;
    }
    const Result named = folder.run({"check", "--kind", "drc", "base/Konfix_en.drc", "dest/Konfix_pl.drc"});
    EXPECT_EQ(named.status, 2);
    EXPECT_EQ(named.err, "tovrana-cli: dest/Konfix_pl.drc: is not a regular file\n");
    // A file that opens but fails while it is read (the tool's own memory at
    // address 0) is no file of another format.
    const Result failing = folder.run({"check", "--kind", "drc", "base/Konfix_en.drc", "/proc/self/mem"});
    EXPECT_EQ(failing.status, 2);
    EXPECT_EQ(failing.err, "tovrana-cli: /proc/self/mem: cannot be read (Input/output error)\n");
    const Result member = folder.run({"check", "--kind", "orvanta", "ORVANTA/ENG/EDIT.ENG", "ORVANTA/POL/EDIT.POL"});
    EXPECT_EQ(member.status, 1);
    EXPECT_TRUE(startsWith(member.out, "file ORVANTA/POL/MENU.POL: unreadable file: cannot be read\n"
                                       "file ORVANTA/POL/MENU.POL: line count: dest 0, base 14\n"))
        << member.out;
    const Result exported = folder.run({"export", "--kind", "orvanta", "ORVANTA/ENG/EDIT.ENG", "ORVANTA/POL/EDIT.POL"});
    EXPECT_EQ(exported.status, 2);
    EXPECT_EQ(exported.err, "tovrana-cli: ORVANTA/POL/MENU.POL: cannot be read\n");
    // Root reads anything: the tool runs without that power.
    ::chmod((folder / "base/Konfix_en.drc").c_str(), 0);
    const Result locked = folder.run({"export", "--kind", "drc", "base/Konfix_en.drc"}, {.withoutFileOverride = true});
    EXPECT_EQ(locked.status, 2);
    EXPECT_EQ(locked.err, "tovrana-cli: base/Konfix_en.drc: cannot be read (Permission denied)\n");
}

TEST(CliArguments, HelpAndVersion)
{
    DemoFolder folder;
    const Result version = folder.run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "Tovrana v." + programVersionText() + "\n");
    // Whatever follows --help is not looked at.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"check", "--help"}, {"--help", "x"}, {"import", "--kind", "po", "-h", "-x"}}) {
        const Result help = folder.run(args);
        EXPECT_EQ(help.status, 0);
        EXPECT_TRUE(startsWith(help.out, "Usage:\n  tovrana-cli check  --kind KIND BASE [DEST]"));
    }
    const Result none = folder.run({});
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.err, "tovrana-cli: no command given (try --help)\n");
}

}  // namespace
}  // namespace tov::clitest
