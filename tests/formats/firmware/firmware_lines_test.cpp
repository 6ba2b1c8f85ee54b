// The firmware line grammar, the merge of a text into its template line, the
// line reader and the text extraction.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "formats/firmware/firmware_lines.h"
#include "formats/firmware/firmware_test_util.h"
#include "support/text_file.h"

namespace tov {
namespace {

using testing::TempFolder;

struct GrammarCase {
    const char* name;
    std::string line;
    std::string text;
    std::string comment;
};

TEST(FirmwareGrammar, QuotedTextAndComment)
{
    const std::string x300(300, 'x');
    const std::vector<GrammarCase> cases = {
        {"empty line", "", "", ""},
        {"apostrophes, trailing blanks kept", "  'Enter code      ' ; main prompt", "Enter code      ",
         " main prompt"},
        {"quotation marks", "  \"Enter code      \" ; main prompt", "Enter code      ", " main prompt"},
        {"doubled apostrophe, // comment", "MSG3 = 'It''s on' // note", "It's on", " note"},
        {"comment cut leaves nothing", "; 'Ready'", "", " 'Ready'"},
        {"// inside the text", "X 'a//b' ", "a//b", "b' "},
        {"comment cut comes first", "'A;B'", "A", "B'"},
        {"empty pair carries no text", "DB '',13", "", ""},
        {"no closing quote", "M = 'abc", "abc", ""},
        {"run of four apostrophes", "'a''''b'", "a'b", ""},
        {"apostrophes un-doubled inside quotation marks", "\"it''s\"", "it's", ""},
        {"quotation marks never un-doubled", "\"say \"\"hi\"\"\"", "say \"\"hi\"\"", ""},
        {"first quote character decides", "\"'\" 'x'", "'", ""},
        {"first of several texts", "DB 'one',13,10,'two'", "one", ""},
        {"text cut at 255 bytes", "'" + x300 + "'", std::string(255, 'x'), ""},
        {"comment cut at 255 bytes", "'a' ;" + x300, "a", std::string(255, 'x')},
        {"// comment cut at 255 bytes", "'a' //" + x300, "a", std::string(255, 'x')},
        {"empty ; comment falls back to //", "'a' // x ;", "a", " x ;"},
        {"no quote at all", "        MOV     AX,BX", "", ""},
        // Lines of the real-file corpus.
        {"corpus CHKMES 94", "        CMP     AL,\"i\"          ; Ignore?", "i", " Ignore?"},
        {"corpus CHKMES 173", "        MOV     AH,' '                  ;Print a non switch", " ",
         "Print a non switch"},
        {"corpus CHKMES 343", "BADVER  DB      \"Incorrect DOS version\",13,10,\"$\"",
         "Incorrect DOS version", ""},
        {"corpus CHKMES 339", "CRLF    DB      13,10,\"$\"", "$", ""},
        {"corpus CHKMES 354", ";\"BADTARG1<name of dir followed by CR LF>BADTARG2\"", "",
         "\"BADTARG1<name of dir followed by CR LF>BADTARG2\""},
        {"corpus KBMSG 3",
         "ACT_KEYB_CP DB\t  '  code page: ','$'                                         ;;",
         "  code page: ", ";"},
        {"corpus EMS_US 22", "PAGE_FRAME_MSG\tDB\t'Page Frame starts at........................ '",
         "Page Frame starts at........................ ", ""},
        {"corpus TREE 16 (cp437 bytes, quotes in the comment)",
         ":def 7 \"\xC0\xC4\xC3\xB3\"            ;\"elbo\",\"dash\",\"tee\",\"bar\"                   "
         "          ;AN002;",
         "\xC0\xC4\xC3\xB3",
         "\"elbo\",\"dash\",\"tee\",\"bar\"                             ;AN002;"},
        {"corpus TREE 12 (text only in the comment)",
         ":use 5 COMMON25 \t ;\"Invalid path\"                                        ;AN000;", "",
         "\"Invalid path\"                                        ;AN000;"},
        {"corpus MEM 15", ":def 17 \"                  %1              %2 \",CR,LF       ;fix in usa",
         "                  %1              %2 ", "fix in usa"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(QuotedText(c.line), c.text) << c.name;
        EXPECT_EQ(LineComment(c.line), c.comment) << c.name;
    }
}

TEST(FirmwareGrammar, ClosingQuotePos)
{
    struct Case {
        std::string s;
        char q;
        std::size_t pos;
    };
    const std::vector<Case> cases = {
        {"", '\'', 0},           {"abc", '\'', 0},       {"abc'", '\'', 4},
        {"'", '\'', 1},          {"'x", '\'', 1},        {"''", '\'', 2},
        {"a''", '\'', 3},        {"It''s on' x", '\'', 9}, {"a''b", '\'', 0},
        {"a\"b'", '"', 2},       {"a\"\"b", '"', 0},     {"a'''b'c", '\'', 6},
    };
    for (const auto& c : cases) EXPECT_EQ(ClosingQuotePos(c.s, c.q), c.pos) << c.s;
}

TEST(FirmwareGrammar, MergeTextIntoLine)
{
    struct Case {
        const char* name;
        std::string text;
        std::string tmpl;
        std::string merged;
    };
    const std::string tail300(300, 't');
    const std::vector<Case> cases = {
        {"padded to the stored length", "Menu", "  'Ready   ' ; c", "  'Menu    ' ; c"},
        {"cut to the stored length", "Menu items long", "  'Ready   ' ; c", "  'Menu ite' ; c"},
        {"doubled apostrophe in the template", "Its", "'It''s' ;x", "'Its ' ;x"},
        {"apostrophes of the text doubled", "I'm", "DB 'abc',0", "DB 'I''m',0"},
        {"not doubled between quotation marks", "I'm", "DB \"abc\",0", "DB \"I'm\",0"},
        {"apostrophe in a quotation-mark text keeps the tail", "Xt's", "DB \"It's\" ;c",
         "DB \"Xt's\" ;c"},
        {"no quote character: unchanged", "abc", "no quotes here", "no quotes here"},
        {"empty template", "abc", "", ""},
        {"empty text padded with blanks", "", "X 'abc' ;k", "X '   ' ;k"},
        {"quote only in the comment: unchanged", "t", "DB 10 ; it's", "DB 10 ; it's"},
        {"empty pair: unchanged", "zz", "DB '',1", "DB '',1"},
        {"no closing quote: none added", "xyz", "M 'abc", "M 'xyz"},
        {"comment cut inside the quotes", "B", "'A;B'", "'B;B'"},
        {"Windows-1250 bytes", "Zapis\xB3", "T \"Stored\" // s", "T \"Zapis\xB3\" // s"},
        {"a long tail kept whole", "b", "'a'" + tail300, "'b'" + tail300},
    };
    for (const auto& c : cases) EXPECT_EQ(MergeTextIntoLine(c.text, c.tmpl), c.merged) << c.name;
}

// A destination line never loses its content to a merge: a line without a
// text takes one only where its place is certain, otherwise nothing.
TEST(FirmwareGrammar, MergeTextIntoDestLine)
{
    struct Case {
        const char* name;
        std::string text, dest, base;
        std::optional<std::string> merged;
    };
    const std::string base = "L2 DB 'Two' ; prompt";
    const std::vector<Case> cases = {
        {"a line with a text: the usual merge", "Dwa", "L2 DB 'Zwei' ; x", base, "L2 DB 'Dwa ' ; x"},
        {"its own text leaves an ill-formed line as it is", "It's", "L2 DB 'It'''s' ; x", base,
         "L2 DB 'It'''s' ; x"},
        {"... and a line whose quote never closes", "Dw'a", "L2 DB 'Dw''a", base, "L2 DB 'Dw''a"},
        {"the base line's code without its text", "Dwa", "L2 DB ; todo", base, "L2 DB 'Dwa' ; todo"},
        {"... without a comment", "Dwa", "L2 DB", base, "L2 DB 'Dwa'"},
        {"... cut to the base text's length", "Dwadzie", "L2 DB   ", "L2 DB 'Two',0", "L2 DB 'Dwa',0"},
        {"... a quote only in its comment", "Dwa", "L2 DB ; it's", base, "L2 DB 'Dwa' ; it's"},
        {"an empty pair takes the text", "I'm", "L2 DB '',0 ; x", base, "L2 DB 'I''m',0 ; x"},
        {"an empty pair of quotation marks", "Dw", "L2 DB \"\"", base, "L2 DB \"Dw \""},
        {"a blank line takes the base line", "Dwa", "  ", base, "L2 DB 'Dwa' ; prompt"},
        {"blanks typed change nothing", "   ", "L2 DB ; todo", base, "L2 DB ; todo"},
        {"nothing typed changes nothing", "", "L2 EQU 5", base, "L2 EQU 5"},
        {"another form has no place", "Dwa", "L2 EQU 5 ; todo", base, std::nullopt},
        {"another label has no place", "Dwa", "L3 DB ; todo", base, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(MergeTextIntoDestLine(c.text, c.dest, c.base), c.merged) << c.name;
}

// Every line of the real-file corpus.
std::vector<std::pair<std::string, std::string>> corpusLines()
{
    std::vector<std::pair<std::string, std::string>> out;
    const std::filesystem::path root = std::filesystem::path(TOVRANA_CORPUS_DIR) / "firmware";
    for (const auto& e : std::filesystem::recursive_directory_iterator(root)) {
        if (!e.is_regular_file()) continue;
        std::vector<std::string> lines;
        EXPECT_TRUE(readLines(e.path().string(), lines)) << e.path();
        for (auto& l : lines) out.emplace_back(e.path().filename().string(), std::move(l));
    }
    return out;
}

std::string doubled(const std::string& s)
{
    std::string out;
    for (char c : s) {
        out.push_back(c);
        if (c == '\'') out.push_back('\'');
    }
    return out;
}

TEST(FirmwareGrammar, CorpusLinesMergeBackUnchanged)
{
    // For every corpus line whose stored text (between its opening and closing
    // quote) is its quoted text with the apostrophes doubled, merging that
    // quoted text gives the line back; merging another text of the same
    // length changes only the text.
    int checked = 0;
    for (const auto& [file, line] : corpusLines()) {
        const std::string text = QuotedText(line);
        if (text.empty()) continue;
        const std::string beforeComment = line.substr(0, line.find(';'));
        const size_t open = beforeComment.find_first_of("'\"");
        const char q = line[open];
        const std::string stored = q == '\'' ? doubled(text) : text;
        if (line.compare(open + 1, stored.size(), stored) != 0 || line.size() <= open + 1 + stored.size() ||
            line[open + 1 + stored.size()] != q)
            continue;
        ++checked;
        EXPECT_EQ(MergeTextIntoLine(text, line), line) << file << ": " << line;

        std::string other(text.size(), 'Z');
        const std::string merged = MergeTextIntoLine(other, line);
        EXPECT_EQ(QuotedText(merged), other) << file << ": " << line;
        EXPECT_EQ(merged.substr(0, open + 1), line.substr(0, open + 1));
        EXPECT_EQ(merged.substr(open + 1 + other.size()), line.substr(open + 1 + stored.size()))
            << file << ": " << line;
    }
    EXPECT_GE(checked, 280);  // the corpus holds 288 such lines
}

TEST(FirmwareRead, LineRuleAndColumns)
{
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"empty file is one empty line", "", {""}},
        {"CR LF lines", "a\r\nb\r\n", {"a", "b"}},
        {"LF lines, no final line end", "a\nb", {"a", "b"}},
        {"lone CR dropped", "a\rb\r\n", {"ab"}},
        {"Ctrl+Z ends the file", "a\r\n\x1Ajunk\r\n", {"a"}},
        {"Ctrl+Z alone", "\x1A", {""}},
        {"empty last line kept", "a\n\n", {"a", ""}},
        {"NUL bytes kept", std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}},
    };
    TempFolder dir;
    for (const auto& c : cases) {
        const std::string path = dir.put("f.txt", c.bytes);
        for (int col : {1, 2}) {
            TextGrid work(11, 40);
            work.setCell(0, 3, "keep");
            const ReadColumnResult r = ReadFileToColumn(work, path, col, 2);
            EXPECT_TRUE(r.readOk) << c.name;
            EXPECT_FALSE(r.tooManyLines) << c.name;
            ASSERT_EQ(r.lines, c.lines.size()) << c.name;
            EXPECT_EQ(work.rowCount(), 2 + static_cast<int>(c.lines.size())) << c.name;
            for (size_t i = 0; i < c.lines.size(); ++i) {
                const int row = 2 + static_cast<int>(i);
                EXPECT_EQ(work.cell(col, row), c.lines[i]) << c.name;
                // Line numbers go into column 0 only for the base lines.
                if (col == 1) {
                    EXPECT_EQ(work.cell(0, row), std::to_string(i)) << c.name;
                }
            }
            if (col == 2) {
                EXPECT_EQ(work.cell(0, 3), "keep") << c.name;
            }
        }
    }
}

TEST(FirmwareRead, FailuresAndLimit)
{
    TempFolder dir;
    TextGrid work(11, 30);
    ReadColumnResult r = ReadFileToColumn(work, dir / "missing.ENG", 1, 0);
    EXPECT_FALSE(r.readOk);
    EXPECT_EQ(r.lines, 0);
    EXPECT_EQ(work.rowCount(), 1);  // the row count is set to the first row, at least 1

    r = ReadFileToColumn(work, dir.path(), 1, 5);  // a folder cannot be read
    EXPECT_FALSE(r.readOk);
    EXPECT_EQ(r.lines, 0);
    EXPECT_EQ(work.rowCount(), 5);

    // Line indices are 16-bit: nothing is stored beyond row 65534.
    const std::string path = dir.put("big.ENG", "a\r\nb\r\nc\r\n");
    r = ReadFileToColumn(work, path, 1, 65533);
    EXPECT_TRUE(r.readOk);
    EXPECT_TRUE(r.tooManyLines);
    EXPECT_EQ(r.lines, 2);
    EXPECT_EQ(work.rowCount(), 65535);
    EXPECT_EQ(work.cell(1, 65534), "b");
    EXPECT_EQ(work.cell(1, 65535), "");
}

TEST(FirmwareExtract, BaseTextsFillNumbersLengthsCommentsAndIndices)
{
    TextGrid work(11, 0);
    TextGrid table(9, 2);
    table.setCell(2, 1, "old");
    const std::vector<std::string> lines = {"HEAD", "A DB 'X' ; first", "", "B DB \"Yes\"",
                                            "; 'not a text'", "C DB 'It''s' // c"};
    StoreFileLines(work, 1, 0, std::vector<std::string>(lines));
    const ExtractResult r = ExtractTexts(work, 1, table, 2);
    EXPECT_EQ(r.texts, 3);
    EXPECT_EQ(r.structureFailureRow, 0);
    EXPECT_EQ(table.rowCount(), 4);
    const std::vector<std::vector<std::string>> rows = {
        // col 0, 1, 2, 6, 8
        {"1", " 1", "X", " first", "1"},
        {"2", " 3", "Yes", "", "3"},
        {"3", " 4", "It's", " c", "5"},
    };
    for (int k = 1; k <= 3; ++k) {
        const auto& e = rows[static_cast<size_t>(k - 1)];
        EXPECT_EQ(table.cell(0, k), e[0]);
        EXPECT_EQ(table.cell(1, k), e[1]);
        EXPECT_EQ(table.cell(2, k), e[2]);
        EXPECT_EQ(table.cell(6, k), e[3]);
        EXPECT_EQ(table.cell(8, k), e[4]);
    }

    // Into the same grid, another column: the texts only.
    const ExtractResult w = ExtractTexts(work, 1, work, 6);
    EXPECT_EQ(w.texts, 3);
    EXPECT_EQ(work.cell(6, 1), "X");
    EXPECT_EQ(work.cell(6, 3), "It's");
    EXPECT_EQ(work.cell(0, 1), "1");  // still the line number, not a row number
    EXPECT_EQ(work.cell(1, 1), lines[1]);
}

TEST(FirmwareExtract, SingleLineSet)
{
    TempFolder dir;
    TextGrid work(11, 0);
    TextGrid table(9, 1);
    ReadFileToColumn(work, dir.put("ONE.ENG", "'X'\r\n"), 1, 0);
    ExtractTexts(work, 1, table, 2);
    EXPECT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.cell(0, 1), "1");
    EXPECT_EQ(table.cell(1, 1), " 1");
    EXPECT_EQ(table.cell(2, 1), "X");
    EXPECT_EQ(table.cell(8, 1), "0");
}

TEST(FirmwareExtract, StructureCheck)
{
    const std::vector<std::string> base = {"'a'", "-", "'b'", "-", "'c' ;3", "-", "'d' ;4", "-"};
    struct Case {
        const char* name;
        std::vector<std::string> dest;
        int failureRow;
        std::vector<std::string> col4;  // rows 1..4
        std::vector<std::string> col5;
    };
    const std::vector<Case> cases = {
        {"same structure", {"'A'", "-", "'B'", "-", "'C' ;x", "-", "'D' ;y", "-"}, 0,
         {"A", "B", "C", "D"}, {"", "", "x", "y"}},
        {"third text one line lower", {"'A'", "-", "'B'", "-", "-", "'C' ;x", "'D' ;y", "-"}, 3,
         {"A", "B", "C", ""}, {"", "", "", ""}},
        {"last texts missing", {"'A'", "-", "'B'", "-", "-", "-", "-", "-"}, 0,
         {"A", "B", "", ""}, {"", "", "", ""}},
        {"text missing in the middle", {"'A'", "-", "-", "-", "'C'", "-", "'D'", "-"}, 2,
         {"A", "C", "", ""}, {"", "", "", ""}},
        {"one text more than the base", {"'A'", "-", "'B'", "-", "'C'", "-", "'D'", "'E'"}, 5,
         {"A", "B", "C", "D"}, {"", "", "", ""}},
    };
    for (const auto& c : cases) {
        TextGrid work(11, 0);
        TextGrid table(9, 1);
        StoreFileLines(work, 1, 0, std::vector<std::string>(base));
        ExtractTexts(work, 1, table, 2);
        StoreFileLines(work, 2, 0, std::vector<std::string>(c.dest));
        const ExtractResult r = ExtractTexts(work, 2, table, 4);
        EXPECT_EQ(r.structureFailureRow, c.failureRow) << c.name;
        for (int k = 1; k <= 4; ++k) {
            EXPECT_EQ(table.cell(4, k), c.col4[static_cast<size_t>(k - 1)]) << c.name << " row " << k;
            EXPECT_EQ(table.cell(3, k), table.cell(4, k).empty() ? "" : " 1") << c.name;
            EXPECT_EQ(table.cell(5, k), c.col5[static_cast<size_t>(k - 1)]) << c.name << " row " << k;
        }
        if (c.failureRow == 5) {
            EXPECT_EQ(table.cell(4, 5), "E") << c.name;
        }
    }
}

TEST(FirmwareWrite, LinesEndWithCrLf)
{
    TempFolder dir;
    TextGrid work(11, 3);
    work.setCell(2, 0, "zero");
    work.setCell(2, 1, "one");
    work.setCell(2, 2, "");
    work.setCell(2, 5, "beyond the row count");
    const std::string path = dir / "OUT.CZE";
    ASSERT_TRUE(WriteColumnLines(path, work, 2, 1, 5));
    EXPECT_EQ(fwtest::readBytes(path), "one\r\n\r\n\r\n\r\nbeyond the row count\r\n");
    ASSERT_TRUE(WriteColumnLines(path, work, 2, 0, 0));
    EXPECT_EQ(fwtest::readBytes(path), "");
    EXPECT_FALSE(WriteColumnLines(dir / "no/such/folder/X.CZE", work, 2, 0, 1));
}

}  // namespace
}  // namespace tov
