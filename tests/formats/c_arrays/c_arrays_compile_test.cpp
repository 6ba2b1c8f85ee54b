// What the writer makes of a C source that compiles must compile too: the
// template completes arrays with the groups of missing languages, and the
// texts typed go between the quotes. Checked with the system's C compiler.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "formats/c_arrays/c_arrays.h"
#include "formats/c_arrays/c_arrays_fixture.h"

namespace tov {
namespace {

// True when `cc -fsyntax-only` accepts the file as C.
bool compiles(const std::string& file)
{
    return std::system(("cc -fsyntax-only -x c '" + file + "' 2>/dev/null").c_str()) == 0;
}

TEST_F(CArraysTest, WrittenFilesOfCompilingSourcesCompile)
{
    if (std::system("command -v cc >/dev/null 2>&1") != 0) GTEST_SKIP() << "no C compiler (cc) on this machine";

    const std::string names = "const char *Names[] = {\n\"English\", // 0\n\"Polski\", // 1\n\"Deutsch\", // 2\n};\n";
    struct Case {
        const char* name;
        std::string arrays;  // after the three language names
    };
    const Case cases[] = {
        {"open array of one text per group, a language missing",
         "const char *G[][4] = {\n{\n\"Yes\", // 0\n},\n{\n\"Tak\", // 1\n}\n};\n"},
        {"open array, last group closed with a comment",
         "const char *G[][2] = {\n{\n\"a\", // 0\n\"b\", // 0\n},\n{\n\"c\", // 1\n\"d\", // 1\n} /* pl */\n};\n"},
        {"open array of the first language only",
         "const char *G[][3] = {\n{\n\"a\", // 0\n\"b\", // 0\n}\n};\n"},
        {"flat two-dimensional array, a language missing",
         "const char *G[][2] = {\n\"a\", // 0\n\"b\", // 0\n\"c\", // 1\n\"d\" // 1\n};\n"},
        {"one-dimensional array ending in a null pointer",
         "const char *A[] = {\n\"Yes\", // 0\n0\n};\n"},
        {"complete arrays, comments and blank lines between",
         "const char *A[] = {\n\"Yes\", // 0\n\"Tak\", // 1\n\"Ja\" // 2\n};\n\n// next\n"
         "const char *B[][2] = {\n\"a\", // 0\n\"b\", // 0\n\"c\", // 1\n\"d\", // 1\n\"e\", // 2\n\"f\", // 2\n};\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string base = writeFile("base.c", names + c.arrays);
        ASSERT_TRUE(compiles(base)) << "the case itself must compile";
        const std::string tmpl = path("t.txt");
        const CArraysResult made = makeCTemplate(base, tmpl);
        ASSERT_TRUE(made.ok) << made.error;

        TextGrid work;
        const CArraysRead read = readCArrays(base, work);
        ASSERT_TRUE(read.ok) << read.error;
        // Texts typed in every language, with the escapes a C string may hold.
        for (int row = 1; row <= read.rows; ++row)
            for (int lang = 1; lang <= 3; ++lang) work.setCell(lang, row, "it's \\n \\\\ " + std::to_string(row));
        const CArraysWrite w = writeCArrays(tmpl, path("out.c"), work, read.names);
        ASSERT_TRUE(w.ok) << w.error;
        EXPECT_TRUE(compiles(path("out.c"))) << readFile(path("out.c"));

        // And it reads back into the same cells.
        TextGrid back;
        ASSERT_TRUE(readCArrays(path("out.c"), back).ok);
        EXPECT_EQ(dumpRows(back, 4), dumpRows(work, 4));
    }
}

}  // namespace
}  // namespace tov
