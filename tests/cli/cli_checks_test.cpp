// tovrana-cli's text checks, spelling and exchange files: the lines and exit
// statuses of check, the comparison with gettext's msgfmt, and XLIFF and PO
// files exported and imported back by row id.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "support/strutil.h"
#include "tests/cli/cli_run.h"
#include "tests/support/msgfmt_check.h"

namespace tov::clitest {
namespace {

// A resource-string file of the texts, named S1, S2, ...
std::string drc(const std::vector<std::string>& texts)
{
    std::string out = "STRINGTABLE\r\nBEGIN\r\n";
    for (std::size_t i = 0; i < texts.size(); ++i) out += "\tS" + std::to_string(i + 1) + ",\t\"" + texts[i] + "\"\r\n";
    return out + "END\r\n";
}

// The rows (from 1) that check reports `problem` for.
std::set<int> rowsWith(const std::string& report, const std::string& problem)
{
    std::set<int> rows;
    for (const std::string& line : splitTableLines(report))
        if (startsWith(line, "row ") && contains(line, ": " + problem + ": ")) rows.insert(std::atoi(line.c_str() + 4));
    return rows;
}

TEST(CliCheck, TextChecksAreReportedAndOnlyErrorsFail)
{
    const std::vector<std::string> base = {"Open %s file", "Save:", " Name", "&File", "Size %d of %s", "Ready"};
    const std::vector<std::string> withErrors = {"Otworz", "Zapis", "Imie", "Plik", "Ro %s z %d", "Gotow"};
    const std::vector<std::string> warningsOnly = {"Otw %s pl", "Zapis", "Imie", "Plik", "Ro %d z %s", "Gotow"};
    const std::string warnings =
        "row 2: S2: punctuation: base ends with \":\", dest does not\n"
        "row 3: S3: blanks: at the start dest 0, base 1\n"
        "row 4: S4: accelerator: \"&\" dest 0, base 1\n";
    const struct {
        const char* name;
        std::vector<std::string> dest;
        std::vector<std::string> extra;  // options
        int status;
        std::string out;
    } cases[] = {
        {"errors and warnings",
         withErrors,
         {},
         1,
         "row 1: S1: format: dest lacks %s (argument 0)\n" + warnings +
             "row 5: S5: format: argument 0 is %s, base %d; argument 1 is %d, base %s\n"
             "rows 6, translated 6, missing 0, too long 0, length differs 0, structure 0, line count 0, unreadable 0, "
             "format 2, blanks 1, punctuation 1, accelerator 1; Base: 45   Dest.: 34\n"},
        {"warnings alone", warningsOnly, {}, 0, ""},
        {"warnings alone, strict", warningsOnly, {"--strict"}, 1, ""},
        {"nothing found: today's lines", base, {}, 0,
         "rows 6, translated 6, missing 0, too long 0, length differs 0, structure 0, line count 0, unreadable 0; "
         "Base: 45   Dest.: 45\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DemoFolder folder;
        folder.put("b.drc", drc(base));
        folder.put("d.drc", drc(c.dest));
        std::vector<std::string> args = {"check", "--kind", "drc", "b.drc", "d.drc"};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const Result r = folder.run(args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.err, "");
        if (!c.out.empty()) {
            EXPECT_EQ(r.out, c.out);
        }
        if (c.dest == warningsOnly) {
            EXPECT_TRUE(startsWith(r.out, warnings)) << r.out;
        }
    }

    // The same in JSON; a firmware text's padding is no blank, a leading one is.
    DemoFolder folder;
    folder.put("b.drc", drc(base));
    folder.put("d.drc", drc(withErrors));
    const Result j = folder.run({"check", "--json", "--kind", "drc", "b.drc", "d.drc"});
    for (const char* part :
         {"{\"row\":1,\"id\":\"S1\",\"problem\":\"format\",\"severity\":\"error\",\"detail\":\"dest lacks %s (argument 0)\"}",
          "{\"row\":3,\"id\":\"S3\",\"problem\":\"blanks\",\"severity\":\"warning\",",
          "\"unreadable\":0,\"format\":2,\"blanks\":1,\"punctuation\":1,\"accelerator\":1,\"base_characters\":45,"})
        EXPECT_TRUE(contains(j.out, part)) << part << "\n" << j.out;
    std::filesystem::create_directories(folder / "S/ENG");
    std::filesystem::create_directories(folder / "S/POL");
    folder.put("S/ENG/E.ENG", "L1 DB 'Hello   '\r\nL2 DB 'World   '\r\n");
    folder.put("S/POL/E.POL", "L1 DB 'Witaj   '\r\nL2 DB ' Swiat  '\r\n");
    const Result f = folder.run({"check", "--kind", "orvanta", "S/ENG/E.ENG", "S/POL/E.POL"});
    EXPECT_EQ(f.out, "row 2: E.ENG:2: blanks: at the start dest 1, base 0\n"
                     "rows 2, translated 2, missing 0, too long 0, length differs 0, structure 0, line count 0, "
                     "unreadable 0, format 0, blanks 1, punctuation 0, accelerator 0; Base: 16   Dest.: 16\n");
    EXPECT_EQ(f.status, 0);
}

// The same texts as a PO file for msgfmt and as the files of a kind: every
// entry msgfmt rejects is a format error of the tool's check. Resource
// strings carry the format specifiers msgfmt checks as object-pascal-format,
// C string arrays printf's (c-format).
TEST(CliCheck, ReportsEveryEntryMsgfmtRejects)
{
    if (!tov::testing::haveMsgfmt()) GTEST_SKIP() << "msgfmt not found: install the package gettext";
    for (const bool resourceStrings : {true, false}) {
        SCOPED_TRACE(resourceStrings ? "drc" : "c");
        const std::vector<tov::testing::FormatCase> cases = tov::testing::formatCases(resourceStrings);
        DemoFolder folder;
        std::string log;
        const std::set<int> rejected = tov::testing::msgfmtRejects(
            cases, resourceStrings ? "object-pascal-format" : "c-format", folder.path(), log);
        ASSERT_GT(rejected.size(), cases.size() / 5) << log.substr(0, 2000);

        std::vector<std::string> base, dest;
        for (const auto& c : cases) {
            base.push_back(c.base);
            dest.push_back(c.dest);
        }
        Result r;
        if (resourceStrings) {
            folder.put("b.drc", drc(base));
            folder.put("d.drc", drc(dest));
            r = folder.run({"check", "--kind", "drc", "b.drc", "d.drc"});
        } else {
            std::string c = "const char *names[] = {\r\n\"English\",  // 0\r\n\"Deutsch\",  // 1\r\n};\r\n";
            for (std::size_t i = 0; i < cases.size(); ++i)
                c += "const char *t" + std::to_string(i) + "[] = {\r\n\"" + base[i] + "\",  // 0\r\n\"" + dest[i] +
                     "\",  // 1\r\n};\r\n";
            folder.put("t.c", c);
            r = folder.run({"check", "--kind", "c", "t.c", "--base-lang", "English", "--dest-lang", "Deutsch"});
        }
        ASSERT_EQ(r.err, "");
        const std::set<int> reported = rowsWith(r.out, "format");
        for (const int i : rejected)
            EXPECT_TRUE(reported.count(i + 1)) << "msgfmt rejects base \"" << cases[static_cast<std::size_t>(i)].base
                                               << "\", dest \"" << cases[static_cast<std::size_t>(i)].dest << "\"";
    }
}

TEST(CliCheck, SpellingWithAnInstalledDictionary)
{
    DemoFolder folder;
    folder.put("b.drc", drc({"Save the file", "Open the file", "Error: %s", "Row number"}));
    folder.put("d.drc", drc({"Zapisz plik", "Otworz plikk", "B\xB3\xB9\x64: %s", "Wiersz"}));
    const std::vector<std::string> args = {"check",  "--kind",         "drc", "b.drc", "d.drc", "--spell", "Polski",
                                           "--dictionaries", TOVRANA_SPELL_DATA_DIR};
    const Result r = folder.run(args);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "row 2: S2: spelling: Otworz, plikk\n"
                     "rows 4, translated 4, missing 0, too long 0, length differs 0, structure 0, line count 0, "
                     "unreadable 0, format 0, blanks 0, punctuation 0, accelerator 0, spelling 1; Base: 45   Dest.: 37\n");
    std::vector<std::string> strict = args;
    strict.push_back("--strict");
    EXPECT_EQ(folder.run(strict).status, 1);
    std::vector<std::string> json = args;
    json[6] = "pl_PL";
    json.push_back("--json");
    EXPECT_TRUE(contains(folder.run(json).out,
                         "{\"row\":2,\"id\":\"S2\",\"problem\":\"spelling\",\"severity\":\"warning\",\"words\":[\"Otworz\","
                         "\"plikk\"]}"));
}

TEST(CliExchange, XliffAndPoComeBackByRowId)
{
    DemoFolder folder;
    const std::vector<std::string> kind = {"--kind", "drc", "base/Konfix_en.drc"};
    auto run = [&](std::vector<std::string> head, const std::vector<std::string>& tail) {
        head.insert(head.end(), kind.begin(), kind.end());
        head.insert(head.end(), tail.begin(), tail.end());
        return folder.run(head);
    };
    const Result tsv = run({"export"}, {"dest/Konfix_pl.drc"});
    for (const char* format : {"xliff", "po"}) {
        SCOPED_TRACE(format);
        const std::string file = std::string("k.") + format;
        ASSERT_EQ(run({"export", "--format", format}, {"dest/Konfix_pl.drc", "-o", file}).status, 0);
        const std::string exported = folder.get(file);
        EXPECT_TRUE(contains(exported, format == std::string("po") ? "\"Language: pl\\n\"" : "target-language=\"pl\""));
        // Into an empty destination, and back to the same texts.
        const Result back = run({"import"}, {file, "-o", "out.drc"});
        EXPECT_EQ(back.status, 0) << back.err;
        EXPECT_EQ(back.out, "imported 28, unchanged 0, untranslated 5, not in the file 0, not applied 0\nwrote out.drc\n");
        EXPECT_EQ(run({"export"}, {"out.drc"}).out, tsv.out);
    }

    // A unit of another id, a source that moved on, a character of no place
    // in Windows-1250: reported row by row, the rest written.
    std::string xliff = folder.get("k.xliff");
    xliff = replaced(xliff, ">Gotowy</target>", ">Gotowe \xE2\x98\xBA</target>");  // row 2
    xliff = replaced(xliff, "<source>Disconnected</source>", "<source>Offline</source>");  // row 5
    xliff = replaced(xliff, "id=\"KfxMain_RsPortBusy\"", "id=\"KfxMain_RsGone\"");  // row 6
    folder.put("edited.xlf", xliff);
    const Result r = run({"import"}, {"edited.xlf", "dest/Konfix_pl.drc", "-o", "out2.drc"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "row 2: KfxMain_RsReady: character U+263A not in the code page; not applied\n"
                     "row 5: KfxMain_RsDisconnected: source text differs from the base; not applied\n"
                     "id KfxMain_RsGone: not in the document\n"
                     "imported 0, unchanged 25, untranslated 5, not in the file 1, not applied 3\nwrote out2.drc\n");
    EXPECT_EQ(run({"export"}, {"out2.drc"}).out, tsv.out);
    const Result forced = run({"import", "--force"}, {"edited.xlf", "dest/Konfix_pl.drc", "-o", "out3.drc"});
    EXPECT_TRUE(contains(forced.out, "row 5: KfxMain_RsDisconnected: source text differs from the base; applied\n"));
}

}  // namespace
}  // namespace tov::clitest
