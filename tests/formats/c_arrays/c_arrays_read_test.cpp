#include <gtest/gtest.h>

#include "formats/c_arrays/c_arrays.h"
#include "formats/c_arrays/c_arrays_fixture.h"

namespace tov {
namespace {

using Lines = std::vector<std::string>;

Lines withHead(Lines names, const Lines& body)
{
    Lines lines = {"#include \"texts.h\"", "const char *lang[] = {"};
    for (auto& n : names) lines.push_back("\"" + n + "\",  // n");
    lines.push_back("};");
    lines.insert(lines.end(), body.begin(), body.end());
    return lines;
}
const Lines kThree = {"English", "Polski", "Deutsch"};
const Lines kTwo = {"English", "Polski"};

struct ReadCase {
    const char* name;
    Lines file;
    Lines rows;  // the working table, columns 0..N joined by "|"
};

TEST(CArraysRead, FillsTheWorkingTable)
{
    const ReadCase cases[] = {
        {"one-dimensional array: one row, a text in each language",
         withHead(kThree, {"const char *title[] = {", "\"Hello\", // 0", "\"Witaj\", // 1", "\"Hallo\", // 2", "};"}),
         {"|English|Polski|Deutsch", "1|Hello|Witaj|Hallo"}},
        {"][2 with four slot lines after a one-text array: rows B+1 and B+2",
         withHead(kTwo, {"const char *t[] = {", "\"Hi\", // 0", "\"Hej\", // 1", "};",
                         "const char *menu[][2] = {", "\"Open\", // 0", "\"Close\", // 0",
                         "\"Otw\xF3rz\",  // 1", "   \"Zamknij\"   // 1", "};"}),
         {"|English|Polski", "1|Hi|Hej", "2|Open|Otw\xF3rz", "3|Close|Zamknij"}},
        {"open array: K from its first group, not from the declaration",
         withHead(kTwo, {"const char *s[][5] = {", "{", "\"On\", // 0", "\"Off\", // 0", "},", "{", "\"W\xB3.\", // 1",
                         "\"Wy\xB3.\", // 1", "}", "};"}),
         {"|English|Polski", "1|On|W\xB3.", "2|Off|Wy\xB3."}},
        {"a text line without // is not read",
         withHead(kTwo, {"const char *t[] = {", "\"a\", // 0", "\"skipped\",", "\"b\", // 1", "};"}),
         {"|English|Polski", "1|a|b"}},
        {"a text holding a double quote is read up to it",
         withHead(kTwo, {"const char *t[] = {", "\"say \\\"hi\\\"\", // 0", "\"\", // 1", "};"}),
         {"|English|Polski", "1|say \\|"}},
        {"lines after the closing }; are not texts of the array",
         withHead(kTwo, {"const char *t[] = {", "\"a\", // 0", "\"b\", // 1", "};", "// \"not\", // 1",
                         "#define X \"x\" // y"}),
         {"|English|Polski", "1|a|b"}},
        {"an array without texts still numbers its rows",
         withHead(kTwo, {"const char *t[][2] = {", "};", "const char *u[] = {", "\"u\", // 0", "};"}),
         {"|English|Polski", "1||", "2||", "3|u|"}},
        {"K in hexadecimal, and a comment line beginning with // that holds a text is read",
         withHead(kTwo, {"const char *t[][$2] = {", "\"a\", // 0", "// \"b\", // 0", "\"c\", // 1", "\"d\", // 1",
                         "};"}),
         {"|English|Polski", "1|a|c", "2|b|d"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TextGrid work;
        const CArraysRead r = readCArraysLines(c.file, work);
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(work.colCount(), kCArraysColumns);
        const int n = static_cast<int>(r.names.size());
        EXPECT_EQ(dumpRows(work, n + 1), c.rows);
        EXPECT_EQ(r.rows, work.rowCount() - 1);
        for (int i = 0; i < n; ++i) EXPECT_EQ(r.names[static_cast<std::size_t>(i)], work.cell(i + 1, 0));
    }
}

// Files that reading (and so the template) refuses, and files that only the
// template refuses because reading and saving would treat a line differently.
struct RefusedCase {
    const char* name;
    bool readable;    // reading alone accepts it
    const char* why;  // part of the error text
    Lines file;
};

TEST(CArraysRead, RefusesFilesOutsideTheFormat)
{
    Lines fifty;
    for (int i = 0; i < 50; ++i) fifty.push_back("L" + std::to_string(i));
    const Lines arr = {"const char *t[] = {", "\"a\", // 0", "\"b\", // 1", "};"};
    const RefusedCase cases[] = {
        {"no declaration", false, "no declaration line", {"const char* t[] = {", "\"a\", // 0", "};"}},
        {"no names", false, "no language names", {"const char *l[] = {", "};", "const char *t[] = {", "};"}},
        {"names only", false, "no array after", withHead(kTwo, {})},
        {"50 languages", false, "more than 49", withHead(fifty, arr)},
        {"K not a number", false, "line 6: the number of texts",
         withHead(kTwo, {"const char *t[4][LANG_NUM] = {", "\"a\", // 0", "};"})},
        {"array running into the next declaration", false, "before the next declaration (line 9)",
         withHead(kTwo, {"const char *t[] = {", "\"a\", // 0", "}};", "const char *u[] = {", "};"})},
        {"array running to the end of the file", false, "before the end of the file",
         withHead(kTwo, {"const char *t[] = {", "\"a\", // 0", "\"b\" // 1"})},
        {"more texts than languages", false, "line 9: more texts than languages",
         withHead(kTwo, {"const char *t[] = {", "\"a\", // 0", "\"b\", // 1", "\"c\", // 2", "};"})},
        {"array ending within a language", false, "ends within the texts",
         withHead(kTwo, {"const char *t[][2] = {", "\"a\", // 0", "\"b\", // 0", "\"c\", // 1", "};"})},
        {"more than 65,535 rows", false, "65,535",
         withHead(kTwo, {"const char *t[][40000] = {", "};", "const char *u[][30000] = {", "};"})},
        {"open array whose first group is empty", false, "holds no text",
         withHead(kTwo, {"const char *t[][2] = {", "{", "},", "};"})},
        {"text line without //", true, "line 8: a text without the \"//\"",
         withHead(kTwo, {"const char *t[] = {", "\"a\", // 0", "\"b\",", "};"})},
        {"commented-out text", true, "commented-out",
         withHead(kTwo, {"const char *t[] = {", "\"a\", // 0", "// \"old\", // 1", "};"})},
        {"two texts on a line", true, "more than one text",
         withHead(kTwo, {"const char *t[][2] = {", "{\"a\", \"b\"}, // 0", "{\"c\", \"d\"}, // 1", "};"})},
        {"escaped double quote", true, "more than one text",
         withHead(kTwo, {"const char *t[] = {", "\"say \\\"hi\\\"\", // 0", "\"\", // 1", "};"})},
        {"text ending in a backslash", true, "line 8: the text ends with a backslash",
         withHead(kTwo, {"const char *t[] = {", "\"a\", // 0", "\"24h\\\" // 1", "};"})},
        {"text longer than 254", true, "line 7: a double quote without its closing one",
         withHead(kTwo, {"const char *t[] = {", "\"" + std::string(255, 'x') + "\", // 0", "\"a\", // 0",
                         "\"b\", // 1", "};"})},
        {"name line with two names", true, "line 2: a language name line holds more",
         {"const char *l[] = {", "\"English\", \"Polski\",", "};", "const char *t[] = {", "};"}},
        {"open array of one group not closed", true, "not closed",
         withHead(kTwo, {"const char *t[][2] = {", "{", "\"a\", // 0", "\"b\", // 0", "};"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TextGrid work(11, 3);
        work.setCell(1, 1, "left over");
        const CArraysRead r = readCArraysLines(c.file, work);
        EXPECT_EQ(r.ok, c.readable) << r.error;
        const CArraysText t = makeCTemplateText(c.file);
        EXPECT_FALSE(t.ok);
        EXPECT_NE((c.readable ? t.error : r.error).find(c.why), std::string::npos) << r.error << " / " << t.error;
        if (!c.readable) {
            EXPECT_EQ(t.error, r.error);
            EXPECT_EQ(work.rowCount(), kCArraysPreparedRows);
            EXPECT_EQ(work.cell(1, 1), "");
        }
    }
}

TEST(CArraysRead, PreparationEmptiesRowsBeyondThePreparedOnes)
{
    TextGrid work(11, 1000);
    work.setCell(3, 900, "old file");
    work.setCell(0, 900, "IDENT");
    const CArraysRead r = readCArraysLines(withHead(kThree, {"const char *t[][999] = {", "};"}), work);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(work.rowCount(), 1000);
    EXPECT_EQ(work.cell(3, 900), "");
    EXPECT_EQ(work.cell(0, 900), "900");
}

}  // namespace
}  // namespace tov
