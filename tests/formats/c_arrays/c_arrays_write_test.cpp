#include <gtest/gtest.h>

#include <sys/stat.h>

#include "formats/c_arrays/c_arrays.h"
#include "formats/c_arrays/c_arrays_fixture.h"
#include "tests/support/fault_injection.h"
#include "tests/support/temp_folder.h"

namespace tov {
namespace {

using Lines = std::vector<std::string>;
using testing::crlf;

// Pads a written line to the comment column.
std::string to60(const std::string& s) { return s + std::string(s.size() < 60 ? 60 - s.size() : 0, ' '); }
const std::string sp18(18, ' '), sp19(19, ' ');

// The layout written lines take, counted out: 19 blanks, the quoted text, a
// comma, blanks up to column 60, then "  // n".
TEST(CArraysWrite, TextAndNameLinesReachTheCommentAtColumn60)
{
    struct Form {
        std::size_t length;
        std::size_t blanks;  // between the comma and "  // "
    };
    const Form forms[] = {{0, 38}, {1, 37}, {37, 1}, {38, 0}, {39, 0}, {254, 0}};
    Lines base = {"const char *lang[] = {"};
    Lines tmpl = {"const char *lang[] = {"};
    TextGrid work(kCArraysColumns, 2);
    for (std::size_t i = 0; i < std::size(forms); ++i) {
        base.push_back("\"" + std::string(forms[i].length, 'n') + "\", // x");
        work.setCell(static_cast<int>(i) + 1, 1, std::string(forms[i].length, 't'));
    }
    base.insert(base.end(), {"};", "const char *t[] = {"});
    for (std::size_t i = 0; i < std::size(forms); ++i) base.push_back("\"s\", // x");
    base.push_back("};");

    const CArraysText t = makeCTemplateText(base);
    ASSERT_TRUE(t.ok) << t.error;
    const CArraysText w = writeCArraysText(splitLines(t.text), work);
    ASSERT_TRUE(w.ok) << w.error;
    const Lines tl = splitLines(t.text), wl = splitLines(w.text);
    ASSERT_EQ(wl.size(), 2 * std::size(forms) + 4);
    for (std::size_t i = 0; i < std::size(forms); ++i) {
        SCOPED_TRACE(forms[i].length);
        const std::string n = std::to_string(i), pad(forms[i].blanks, ' ');
        const std::size_t slot = 3 + std::size(forms) + i;
        EXPECT_EQ(wl[1 + i], sp19 + "\"" + std::string(forms[i].length, 'n') + "\"," + pad + "  // " + n);
        EXPECT_EQ(wl[slot], sp19 + "\"" + std::string(forms[i].length, 't') + "\"," + pad + "  // " + n);
        if (forms[i].length <= 38) {
            EXPECT_EQ(wl[1 + i].find("  // "), 60u);
        }
        // The template's slot form: 18 blanks and the text as it stood.
        EXPECT_EQ(tl[slot], sp18 + "\"s\"" + std::string(39, ' ') + "  // " + n);
    }
}

const Lines kBase = {
    "  /* Texts of the panel */",
    "#define MENU 2",
    "const char *lang[] = {",
    "   \"English\",  // 0",
    "   // the second language",
    "   \"Polski\",  // 1",
    "   \"Deutsch\"   // 2",
    "   };",
    "  const char *menu[][2] = {",
    "    \"Open\", // 0",
    "    \"Close\", // 0",
    "};",
    "/* only the last language is missing */",
    "const char *ok[] = {",
    "  \"OK\", // 0",
    "  \"OK\", // 1",
    "};",
    "const char *state[][2] = {",
    "{",
    "\"On\", // 0",
    "\"Off\", // 0",
    "},",
    "{",
    "\"W\xB3.\", // 1",
    "\"Wy\xB3.\", // 1",
    "}",
    "};",
};

const Lines kHead = {
    "  /* Texts of the panel */",
    "#define MENU 2",
    "const char *lang[] = {",
    to60(sp19 + "\"English\",") + "  // 0",
    "// the second language",
    to60(sp19 + "\"Polski\",") + "  // 1",
    to60(sp19 + "\"Deutsch\",") + "  // 2",
    "};",
};

TEST(CArraysWrite, TemplateCompletesEveryArrayForEveryLanguage)
{
    Lines expected = kHead;
    const std::string e1 = sp18 + "\"\"   // 1", e2 = sp18 + "\"\"   // 2";
    expected.insert(expected.end(), {
        "const char *menu[][2] = {",
        to60(sp18 + "\"Open\"") + "  // 0",
        to60(sp18 + "\"Close\"") + "  // 0",
        "{", e1, e1, "},", "{", e2, e2, "}",  // only the first of three languages: two groups
        "};",
        "/* only the last language is missing */",
        "const char *ok[] = {",
        to60(sp18 + "\"OK\"") + "  // 0",
        to60(sp18 + "\"OK\"") + "  // 1",
        e2,  // one text per language: no braces
        "};",
        "const char *state[][2] = {",
        "{",
        to60(sp18 + "\"On\"") + "  // 0",
        to60(sp18 + "\"Off\"") + "  // 0",
        "},",
        "{",
        to60(sp18 + "\"W\xB3.\"") + "  // 1",
        to60(sp18 + "\"Wy\xB3.\"") + "  // 1",
        "},",  // was "}": a group follows now
        "{", e2, e2, "}",
        "};",  // the file's last line, written once
    });
    const CArraysText t = makeCTemplateText(kBase);
    ASSERT_TRUE(t.ok) << t.error;
    EXPECT_EQ(t.text, crlf(expected));
}

TEST_F(CArraysTest, WriteFillsEverySlotFromTheWorkingTable)
{
    // LF lines in, CR LF lines out.
    std::string base;
    for (const auto& l : kBase) base += l + "\n";
    const std::string basePath = writeFile("panel.c", base), tmpl = path("tmp0.txt"), out = path("out.c");
    TextGrid work;
    const CArraysRead r = readCArrays(basePath, work);
    ASSERT_TRUE(r.ok) << r.error;
    work.setCell(2, 1, "Otw\xF3rz");
    work.setCell(2, 2, "Zamknij");
    work.setCell(3, 3, "Gut");
    work.setCell(3, 5, "Aus");
    ASSERT_TRUE(makeCTemplate(basePath, tmpl).ok);
    const CArraysWrite w = writeCArrays(tmpl, out, work, r.names);
    ASSERT_TRUE(w.ok && w.written) << w.error;

    Lines expected = kHead;
    auto text = [](const std::string& s, int lang) {
        return to60(sp19 + "\"" + s + "\",") + "  // " + std::to_string(lang);
    };
    expected.insert(expected.end(), {
        "const char *menu[][2] = {", text("Open", 0), text("Close", 0),
        "{", text("Otw\xF3rz", 1), text("Zamknij", 1), "},", "{", text("", 2), text("", 2), "}", "};",
        "/* only the last language is missing */",
        "const char *ok[] = {", text("OK", 0), text("OK", 1), text("Gut", 2), "};",
        "const char *state[][2] = {", "{", text("On", 0), text("Off", 0), "},", "{", text("W\xB3.", 1),
        text("Wy\xB3.", 1), "},", "{", text("", 2), text("Aus", 2), "}", "};",
    });
    EXPECT_EQ(readFile(out), crlf(expected));
}

TEST(CArraysWrite, ATemplateTextLineWithoutCommentIsStillFilled)
{
    const Lines tmpl = {"const char *lang[] = {", "\"English\",", "};", "const char *t[] = {", "  \"old\",", "};"};
    TextGrid work(kCArraysColumns, 2);
    work.setCell(1, 1, "new");
    const CArraysText w = writeCArraysText(tmpl, work);
    ASSERT_TRUE(w.ok) << w.error;
    EXPECT_EQ(splitLines(w.text)[4], to60(sp19 + "\"new\",") + "  // 0");
}

TEST_F(CArraysTest, WithoutLanguageNamesNothingIsWritten)
{
    const std::string tmpl = writeFile("tmp0.txt", makeCTemplateText(kBase).text);
    const CArraysWrite w = writeCArrays(tmpl, path("out.c"), TextGrid(kCArraysColumns, 10), {});
    EXPECT_TRUE(w.ok);
    EXPECT_FALSE(w.written);
    EXPECT_FALSE(fileExists(path("out.c")));
    EXPECT_FALSE(writeCArrays(path("missing.txt"), path("out.c"), TextGrid(), {"English"}).ok);
}

TEST_F(CArraysTest, TextsThatCouldNotBeReadBackRefuseTheSave)
{
    const std::string tmpl = writeFile("tmp0.txt", makeCTemplateText(kBase).text);
    const std::string target = writeFile("out.c", "old contents\r\n");
    const std::pair<std::string, const char*> cases[] = {
        {"say \"hi\"", "holds a double quote"},
        {"two\r\nlines", "holds a line break"},
        {std::string(255, 'x'), "is longer than 254 characters"},
        {"a\x1a" "b", "holds the end-of-file character Ctrl+Z"},
        {"const char *p", "holds \"const char *\""},
        {"c:\\dir\\\\\\", "ends with a backslash (which would escape its closing double quote)"},
    };
    for (const auto& [text, why] : cases) {
        SCOPED_TRACE(why);
        TextGrid work(kCArraysColumns, 7);
        work.setCell(3, 3, text);
        const CArraysWrite w = writeCArrays(tmpl, target, work, {"English", "Polski", "Deutsch"});
        EXPECT_FALSE(w.ok);
        EXPECT_EQ(w.error, std::string("the text of row 3 in language 3 (Deutsch) ") + why);
        EXPECT_EQ(readFile(target), "old contents\r\n");
    }
}

TEST_F(CArraysTest, AFailedWriteLeavesTheTargetAsItWas)
{
    const std::string tmpl = writeFile("tmp0.txt", makeCTemplateText(kBase).text);
    TextGrid work(kCArraysColumns, 7);
    work.setCell(2, 1, std::string(200, 'x'));
    const Lines names = {"English", "Polski", "Deutsch"};

    EXPECT_FALSE(writeCArrays(tmpl, path("no/such/folder/out.c"), work, names).ok);

    // A full disk: the file-size limit makes every write beyond 100 bytes fail.
    const std::string target = writeFile("full.c", "old\r\n");
    {
        testing::FileSizeLimit limit(100);
        const CArraysWrite w = writeCArrays(tmpl, target, work, names);
        EXPECT_FALSE(w.ok);
        EXPECT_FALSE(w.error.empty());
        EXPECT_FALSE(makeCTemplate(tmpl, target).ok);
    }
    EXPECT_EQ(readFile(target), "old\r\n");
}

TEST_F(CArraysTest, AReadOnlyFolderRefusesTheSave)
{
    const std::string tmpl = writeFile("tmp0.txt", makeCTemplateText(kBase).text);
    const Lines names = {"English", "Polski", "Deutsch"};
    TextGrid work(kCArraysColumns, 7);
    ::mkdir(path("ro").c_str(), 0755);
    const std::string roTarget = writeFile("ro/out.c", "old\r\n");
    ::chmod(path("ro").c_str(), 0555);
    {
        testing::WithoutFileOverride unprivileged;
        EXPECT_FALSE(writeCArrays(tmpl, roTarget, work, names).ok);
        EXPECT_FALSE(makeCTemplate(tmpl, roTarget).ok);
    }
    ::chmod(path("ro").c_str(), 0755);
    EXPECT_EQ(readFile(roTarget), "old\r\n");
}

}  // namespace
}  // namespace tov
