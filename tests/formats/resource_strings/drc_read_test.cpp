#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "formats/resource_strings/drc_file.h"
#include "formats/resource_strings/drc_test_util.h"

namespace tov {
namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;  // identifier, text
using testing::TempFolder;

const std::string kHead = "/* header */\r\nSTRINGTABLE\r\nBEGIN\r\n";

Rows rowsOf(const TextGrid& g, int column)
{
    Rows rows;
    for (int r = 1; r < g.rowCount(); ++r) rows.emplace_back(g.cell(0, r), g.cell(column, r));
    return rows;
}

struct BaseCase {
    const char* name;
    std::string file;
    bool ok;
    Rows rows;  // empty: the row count stays as it was
};

TEST(ReadDrcBase, LineRules)
{
    const std::string ids253(253, 'I');
    const BaseCase cases[] = {
        {"empty file", "", false, {}},
        {"marker on the last line", "x\r\nSTRINGTABLE\r\n", false, {}},
        {"marker on the last line, no line end", "x\r\nSTRINGTABLE", false, {}},
        {"marker is case-sensitive", "stringtable\r\nBEGIN\r\nA, \"x\"\r\n", false, {}},
        {"block without entries", "STRINGTABLE\r\nBEGIN\r\nEND\r\n", true, {}},
        {"marker inside a header comment", "/* no STRINGTABLE here */\r\nA, \"x\"\r\n", true, {{"A", "x"}}},
        {"header lines are never entries", "B, \"no\"\r\nSTRINGTABLE\r\nA, \"x\"\r\n", true, {{"A", "x"}}},
        {"comments, semicolons, half entries",
         kHead + "  // C, \"c\"\r\n;D, \"d\"\r\nE \"e\"\r\nF, f\r\nG, \"g\"\r\nEND\r\n", true, {{"G", "g"}}},
        {"comma inside the text", kHead + "H \"x, y\"\r\n", true, {{"H \"x", "x, y"}}},
        {"no closing quote", kHead + "A, \"abc\r\n", true, {{"A", "????"}}},
        {"adjacent quotes", kHead + "A, \"\"\r\n", true, {{"A", ""}}},
        {"comment with quotes after the text", kHead + "A, \"x\" // the \"y\" one\r\n", true,
         {{"A", "x\" // the \"y"}}},
        {"escaped quote", kHead + "A, \"say \\\"hi\\\"\"\r\n", true, {{"A", "say \"hi\""}}},
        {"backslash run before a quote", kHead + "A, \"a\\\\\\\"b\"\r\n", true, {{"A", "a\"b"}}},
        {"other backslashes", kHead + "A, \"c:\\dir\\\"\r\nB, \"x\\ny\"\r\n", true,
         {{"A", "c:\\dir\\"}, {"B", "x\\ny"}}},
        {"no-break space kept", kHead + "A, \"x\xA0" "y\"\r\n", true, {{"A", "x\xA0y"}}},
        {"duplicate identifiers", kHead + "A, \"1\"\r\nA, \"2\"\r\n", true, {{"A", "1"}, {"A", "2"}}},
        {"trimming of codes 0 to 32", kHead + "\t\x01 ID_1 \t,\t\"t \"\x1f\r\n", true, {{"ID_1", "t "}}},
        {"two blocks read as one list", kHead + "A, \"1\"\r\nEND\r\nSTRINGTABLE\r\nBEGIN\r\nB, \"2\"\r\nEND\r\n",
         true, {{"A", "1"}, {"B", "2"}}},
        {"LF only, stray CR, Ctrl+Z ends the file",
         "STRINGTABLE\nA, \"x\ry\"\nB, \"z\"\n\x1a" "C, \"gone\"\n", true, {{"A", "xy"}, {"B", "z"}}},
        {"quote at byte 254", kHead + "B," + std::string(252, ' ') + "\"t\"\r\n", true, {{"B", "t"}}},
        {"comma at byte 254", kHead + "\"" + ids253 + ",x\"\r\n", true, {{"\"" + ids253, ids253 + ",x"}}},
        {"comma beyond byte 255",
         kHead + "A, \"1\"\r\n" + std::string(255, 'I') + ", \"t\"\r\nB, \"2\"\r\n", true,
         {{"A", "1"}, {std::string(255, 'I'), "t"}, {"B", "2"}}},
        {"quote beyond byte 255", kHead + "B," + std::string(253, ' ') + "\"t\"\r\nC, \"2\"\r\n", true,
         {{"B", "t"}, {"C", "2"}}},
    };
    TempFolder dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dir.put("b.drc", c.file);
        TextGrid g(11, 3);
        EXPECT_EQ(static_cast<bool>(ReadDrcBase(dir / "b.drc", g)), c.ok);
        if (c.rows.empty()) {
            EXPECT_EQ(g.rowCount(), 3);
        } else {
            EXPECT_EQ(rowsOf(g, 1), c.rows);
        }
    }
}

TEST(ReadDrcBase, ClearsColumnsAndKeepsTheWholeLine)
{
    TempFolder dir;
    TextGrid g(11, 4);
    for (int c = 0; c <= 10; ++c)
        for (int r = 0; r < 8; ++r) g.setCell(c, r, "old");
    dir.put("b.drc", kHead + "  A,  \"1\" ; note \r\n B, \"2\"\r\n");
    ASSERT_TRUE(ReadDrcBase(dir / "b.drc", g));
    EXPECT_EQ(g.rowCount(), 3);
    EXPECT_EQ(g.cell(10, 1), "A,  \"1\" ; note");
    EXPECT_EQ(g.cell(10, 2), "B, \"2\"");
    for (int c = 2; c <= 5; ++c) EXPECT_EQ(g.cell(c, 1), "") << c;
    EXPECT_EQ(g.cell(0, 3), "");
    EXPECT_EQ(g.cell(6, 1), "old");

    // A longer file shows rows that were hidden: their old texts must not come back.
    dir.put("c.drc", kHead + "A, \"1\"\r\nB, \"2\"\r\nC, \"3\"\r\nD, \"4\"\r\nE, \"5\"\r\n");
    g.setRowCount(2);
    ASSERT_TRUE(ReadDrcBase(dir / "c.drc", g));
    EXPECT_EQ(g.rowCount(), 6);
    for (int r = 2; r <= 5; ++r) EXPECT_EQ(g.cell(2, r), "") << r;

    // A file that cannot be read still clears the columns and is an error.
    EXPECT_FALSE(ReadDrcBase(dir / "missing.drc", g));
    EXPECT_EQ(g.cell(0, 1), "");
    EXPECT_EQ(g.cell(1, 5), "");
}

// A file that cannot be held whole is refused and changes nothing: a save
// would otherwise write back a shortened file.
TEST(ReadDrcBase, RefusesWhatItCannotHoldWhole)
{
    struct Case {
        const char* name;
        std::string file;
        DrcRead::Status status;
        std::size_t line;
        int rows;  // rows read when not refused
    };
    std::string most = kHead, tooMany = kHead;
    for (int i = 1; i <= 65535; ++i) most += "S" + std::to_string(i) + ", \"t\"\r\n";
    tooMany = most + "// last\r\nS65536, \"t\"\r\n";
    const std::string longest = std::string(65533, 'I');  // its quote stands on byte 65,535
    const Case cases[] = {
        {"65,535 entries", most, DrcRead::Status::Read, 0, 65535},
        {"65,536 entries", tooMany, DrcRead::Status::TooManyEntries, 65540, 0},
        {"identifier up to the reach", kHead + longest + ",\"t\"\r\n", DrcRead::Status::Read, 0, 1},
        {"identifier beyond the reach", kHead + "A, \"1\"\r\n" + longest + "I,\"t\"\r\n",
         DrcRead::Status::EntryTooLong, 5, 0},
    };
    TempFolder dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dir.put("b.drc", c.file);
        TextGrid g(11, 2);
        g.setCell(0, 1, "old");
        const DrcRead read = ReadDrcBase(dir / "b.drc", g);
        EXPECT_EQ(read.status, c.status);
        EXPECT_EQ(read.line, c.line);
        if (read.refused()) {
            EXPECT_EQ(g.rowCount(), 2);
            EXPECT_EQ(g.cell(0, 1), "old");
        } else {
            EXPECT_EQ(g.rowCount(), c.rows + 1);
        }
    }
    const DrcRead tooManyRead{DrcRead::Status::TooManyEntries, 65540};
    EXPECT_EQ(drcRefusalReason(tooManyRead), "holds more than 65535 strings (string 65536 is on line 65540)");
}

TEST(ReadDrcColumn, MergesByIdentifier)
{
    TempFolder dir;
    const std::string longId(300, 'L');
    dir.put("d.drc",
               kHead + "B, \"b1\"\r\nX, \"unknown\"\r\na, \"lower\"\r\nA, \"first\"\r\n" + longId +
                   ", \"long\"\r\n\xA0" "C\xA0, \"c\xA0" "d\"\r\nA, \"second\"\r\nEND\r\n");
    TextGrid g(11, 7);
    const char* ids[] = {"", "A", "B", "A", "C", "D", longId.c_str()};
    for (int r = 0; r < 7; ++r) {
        g.setCell(0, r, ids[r]);
        g.setCell(2, r, "kept");
    }
    ASSERT_TRUE(ReadDrcColumn(2, dir / "d.drc", g));
    // The k-th entry of an identifier fills its k-th row.
    EXPECT_EQ(rowsOf(g, 2), (Rows{{"A", "first"}, {"B", "b1"}, {"A", "second"}, {"C", "c d"},
                                 {"D", "kept"}, {longId, "long"}}));
    EXPECT_EQ(g.rowCount(), 7);
    EXPECT_EQ(g.cell(2, 0), "kept");
    EXPECT_EQ(g.cell(1, 1), "");

    ASSERT_TRUE(ReadDrcColumn(1, dir / "d.drc", g));
    EXPECT_EQ(g.cell(1, 2), "b1");

    dir.put("bad.drc", "A, \"x\"\r\n");
    EXPECT_FALSE(ReadDrcColumn(2, dir / "bad.drc", g));
    EXPECT_FALSE(ReadDrcColumn(2, dir / "missing.drc", g));
    EXPECT_EQ(g.cell(2, 1), "first");
}

// Rows sharing an identifier take that identifier's entries in order; entries
// beyond the last such row overwrite it (the last one wins).
TEST(ReadDrcColumn, SharedIdentifiersFillTheirRowsInOrder)
{
    const struct Case {
        const char* name;
        std::vector<std::string> ids;  // rows 1..
        std::string entries;
        std::vector<std::string> texts;
    } cases[] = {
        {"as many entries as rows", {"A", "B", "A", "A"}, "A,\"1\"\r\nB,\"b\"\r\nA,\"2\"\r\nA,\"3\"\r\n", {"1", "b", "2", "3"}},
        {"fewer entries", {"A", "A", "A"}, "A,\"1\"\r\n", {"1", "kept", "kept"}},
        {"more entries", {"A", "B", "A"}, "A,\"1\"\r\nA,\"2\"\r\nA,\"3\"\r\n", {"1", "kept", "3"}},
        {"one row, two entries", {"A"}, "A,\"1\"\r\nA,\"2\"\r\n", {"2"}},
    };
    TempFolder dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dir.put("d.drc", kHead + c.entries);
        TextGrid g(11, static_cast<int>(c.ids.size()) + 1);
        for (size_t i = 0; i < c.ids.size(); ++i) {
            g.setCell(0, static_cast<int>(i) + 1, c.ids[i]);
            g.setCell(2, static_cast<int>(i) + 1, "kept");
        }
        ASSERT_TRUE(ReadDrcColumn(2, dir / "d.drc", g));
        std::vector<std::string> texts;
        for (int r = 1; r < g.rowCount(); ++r) texts.push_back(g.cell(2, r));
        EXPECT_EQ(texts, c.texts);
    }
}

}  // namespace
}  // namespace tov
