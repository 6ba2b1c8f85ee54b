#include <gtest/gtest.h>

#include "formats/source_kind.h"
#include "formats/translation_table.h"

namespace tov {
namespace {

TEST(ExportTable, WritesBaseTabDestinationPerRow)
{
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> rows;
        std::string expected;
    };
    const Case cases[] = {
        {"header only gives an empty file", {}, ""},
        {"two empty texts give one TAB", {{"", ""}}, "\t\r\n"},
        {"nothing is escaped", {{"a\tb", "\"q\""}, {"x", ""}}, "a\tb\t\"q\"\r\nx\t\r\n"},
        {"bytes pass unchanged", {{"Zamknij", "\xAF\xF3\xB3w"}}, "Zamknij\t\xAF\xF3\xB3w\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TextGrid t(9, static_cast<int>(c.rows.size()) + 1);
        t.setCell(tcol::kBase, 0, "header is not exported");
        for (size_t i = 0; i < c.rows.size(); ++i) {
            t.setCell(tcol::kBase, static_cast<int>(i) + 1, c.rows[i].first);
            t.setCell(tcol::kDest, static_cast<int>(i) + 1, c.rows[i].second);
            t.setCell(tcol::kComment, static_cast<int>(i) + 1, "comments are not exported");
        }
        std::string out;
        ASSERT_TRUE(exportTable(t, out));
        EXPECT_EQ(out, c.expected);
    }
}

TEST(ExportTable, RefusesMoreRowsThanTheTableHolds)
{
    TextGrid t(9, 65537);
    std::string out = "old";
    EXPECT_FALSE(exportTable(t, out));
    EXPECT_TRUE(out.empty());
    t.setRowCount(65536);
    EXPECT_TRUE(exportTable(t, out));
    EXPECT_EQ(out.size(), 65535u * 3);
}

// A table with the base texts of rows 1.. .
TextGrid baseTable(const std::vector<std::string>& bases)
{
    TextGrid t(9, static_cast<int>(bases.size()) + 1);
    for (size_t i = 0; i < bases.size(); ++i) t.setCell(tcol::kBase, static_cast<int>(i) + 1, bases[i]);
    return t;
}

TEST(ImportTable, ReadsBackWhatExportWrote)
{
    // A menu INI value may hold a byte 26: it is a text byte, except as the
    // file's very last byte (an end-of-file mark).
    TextGrid t = baseTable({"Open", "", "a\tb", "ab\x1A" "cd", "Zamknij"});
    const std::vector<std::string> dest = {"Otw\xF3rz", "x\ty", "", "\x1A" "x\x1A", "\xAF"};
    for (size_t i = 0; i < dest.size(); ++i) t.setCell(tcol::kDest, static_cast<int>(i) + 1, dest[i]);
    std::string tsv;
    ASSERT_TRUE(exportTable(t, tsv));
    for (const std::string& file :
         {tsv, tsv + "\x1A", std::string("Open\tOtw\xF3rz\n\tx\ty\na\tb\t\nab\x1A" "cd\t\x1A" "x\x1A\nZamknij\t\xAF")}) {
        const ImportedTexts in = importTable(t, file);
        ASSERT_TRUE(in.ok) << in.error;
        EXPECT_EQ(in.dest, dest);
    }
}

TEST(ImportTable, RefusesFilesThatDoNotLineUp)
{
    const TextGrid t = baseTable({"One", "Two", "Three"});
    struct Case {
        const char* tsv;
        int row;
        const char* error;
    };
    const Case cases[] = {
        {"One\t1\r\nThree\t3\r\nTwo\t2\r\n", 2, "row 2: line 2 does not begin with the base text of row 2 and a TAB"},
        {"One\t1\r\nTwo 2\r\nThree\t3\r\n", 2, "row 2: line 2 does not begin with the base text of row 2 and a TAB"},
        {"one\t1\r\nTwo\t2\r\nThree\t3\r\n", 1, "row 1: line 1 does not begin with the base text of row 1 and a TAB"},
        {"One\t1\r\nTwo\t2\r\n", 3, "row 3: no line (the file has 2 lines, the base 3 rows)"},
        {"", 1, "row 1: no line (the file has 0 lines, the base 3 rows)"},
        {"One\t1\r\nTwo\t2\r\nThree\t3\r\n\t\r\n", 4, "line 4 has no row: the base has 3 rows"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tsv);
        const ImportedTexts in = importTable(t, c.tsv);
        EXPECT_FALSE(in.ok);
        EXPECT_EQ(in.row, c.row);
        EXPECT_EQ(in.error, c.error);
        EXPECT_TRUE(in.dest.empty());
    }
}

TEST(DestinationProblem, MarksPerKind)
{
    using P = TextProblem;
    struct Case {
        std::uint8_t kind;
        const char* base;
        const char* dest;
        P expected;
    };
    const Case cases[] = {
        {kKonfix, "Open", "", P::Missing},        {kKonfix, "", "", P::Missing},
        {kGenericDrc, "Open", "Otworz", P::TooLong}, {kKonfix, "Open", "Otw", P::None},
        {kCArrays, "Exit", "Wyjscie", P::TooLong},  {kCArrays, "Exit", "", P::Missing},
        {kMenuIni, "&File", "", P::Missing},      {kMenuIni, "&File", "&Plik menu", P::None},
        {kOrvanta, "Ready  ", "", P::Missing},    {kQL5, "Ready  ", "Gotowy", P::LengthDiffers},
        {kTelmo, "Ready", "Gotowy", P::LengthDiffers}, {kQL10, "Ready", "Got. ", P::None},
        {kQL10, "", "", P::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(destinationProblem(c.kind, c.base, c.dest), c.expected)
            << int(c.kind) << " " << c.base << " / " << c.dest;
}

}  // namespace
}  // namespace tov
