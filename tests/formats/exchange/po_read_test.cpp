// The strict PO reader against gettext's parser: where it reads a file, it
// reads what gettext reads; where it does not, gettext's parser does.
#include <gtest/gtest.h>

#include <string>

#include "formats/exchange/exchange_print.h"
#include "formats/exchange/po_read.h"

namespace tov::exchange {
namespace {

constexpr const char* kHeader =
    "msgid \"\"\nmsgstr \"\"\n\"Project-Id-Version: Konfix_en.drc\\n\"\n\"Language:  pl\\n\"\n"
    "\"Content-Type: text/plain; charset=UTF-8\\n\"\n\"X-Source-Language: en\\n\"\n\n";

// Both readers give the same file, or the same error.
void expectSameAsGettext(const std::string& po, bool strict)
{
    ReadResult fast;
    const bool read = po::readStrict(po, fast);
    EXPECT_EQ(read, strict) << po;
    if (!read) return;
    const ReadResult slow = po::readThroughGettext(po);
    EXPECT_EQ(fast.error.empty(), slow.error.empty()) << po << "\n" << fast.error << "\n" << slow.error;
    EXPECT_EQ(fast.file, slow.file) << po;
}

TEST(PoRead, StrictReaderReadsWhatGettextReads)
{
    const std::pair<std::string, bool> cases[] = {
        // Read by the strict reader.
        {kHeader, true},
        {"", true},
        {std::string(kHeader) +
             "# translator\n#\n#.  two blanks\n#.x\n#.\n#. Max. length: 12 characters\n"
             "#: Konfix_en.drc:4 other.c:9\n#: third.c:1\n#, fuzzy, c-format\n#| msgid \"old\"\n"
             "msgctxt \"a\"\nmsgid \"\"\n\"multi \"\n  \"line\\n\"\nmsgstr \"wiele \\\"linii\\\" \\\\ \\t\\a\\b\\f\\v\\r\\001\\17\\177\\303\\263\"\n\n",
         true},
        {std::string(kHeader) + "#: name\n#, no-c-format, possible-object-pascal-format, range: 0..5, wrap\n"
                                "msgctxt \"b\"\nmsgid \"x\"\nmsgstr \"\"\n"
                                "#: a:b:12\n#,c-format,no-c-format\nmsgctxt \"c\"\nmsgid \"y\"\nmsgstr \"Y\"\n",
         true},
        {std::string(kHeader) + "msgid \"no context\"\nmsgstr \"bez\"\n\nmsgctxt \"\"\nmsgid \"no context\"\nmsgstr \"\"\n\n"
                                "#, fuzzy\n#~| msgid \"x\"\n#~| \"y\"\n#~ msgctxt \"gone\"\n#~ msgid \"Gone\"\n#~ msgstr \"\"\n#~ \"Nie ma\"\n",
         true},
        {"msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=CHARSET\\n\"\n\nmsgctxt\t\"a\"\nmsgid\"\xC5\xBC\"\nmsgstr \"\xFF\"  \n",
         true},
        {"msgctxt \"a\"\nmsgid \"no header\"\nmsgstr \"\"\n", true},
        {std::string(kHeader) + "msgid \"a\"\n\nmsgstr \"b\"\n", true},
        // Left to gettext's parser.
        {"msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=ISO-8859-2\\n\"\n\nmsgid \"a\"\nmsgstr \"\xBF\"\n", false},
        {std::string(kHeader) + "msgid \"a\"\r\nmsgstr \"b\"\r\n", false},
        {"\xEF\xBB\xBF" + std::string(kHeader), false},
        {std::string(kHeader) + "msgid \"a\"\nmsgstr \"b\"\n\nmsgid \"a\"\nmsgstr \"c\"\n", false},
        {std::string(kHeader) + "msgid \"a\"\nmsgstr \"b\"\n\n#~ msgid \"a\"\n#~ msgstr \"c\"\n", false},
        {std::string(kHeader) + "msgid \"a\"\nmsgstr \"b\\x41\"\n", false},
        {std::string(kHeader) + "msgid \"a\"\nmsgstr \"b\\0\"\n", false},
        {std::string(kHeader) + "msgid \"a\"\nmsgstr \"b\\q\"\n", false},
        {std::string(kHeader) + "msgid \"a\nmsgstr \"b\"\n", false},
        {std::string(kHeader) + "msgid \"a\"\n# comment\nmsgstr \"b\"\n", false},
        {std::string(kHeader) + "msgid \"a\"\nmsgstr \"b\"\n\n\"c\"\n", false},
        {std::string(kHeader) + "msgid \"a\" \"b\"\nmsgstr \"b\"\n", false},
        {std::string(kHeader) + "msgid\n\"a\"\nmsgstr \"b\"\n", false},
        {std::string(kHeader) + "msgid \"a\"\n", false},
        {std::string(kHeader) + "msgstr \"b\"\n", false},
        {std::string(kHeader) + "msgid \"a\"\n#~ msgstr \"b\"\n", false},
        {std::string(kHeader) + "#: file : 12\nmsgid \"a\"\nmsgstr \"b\"\n", false},
        {std::string(kHeader) + "# File: a.c, line: 3\nmsgid \"a\"\nmsgstr \"b\"\n", false},
        {std::string(kHeader) + "domain \"other\"\nmsgid \"a\"\nmsgstr \"b\"\n", false},
        {"msgid \"a\"\nmsgstr \"b\"\n\n" + std::string(kHeader), false},
        {std::string(kHeader) + "msgid \"a\"\nmsgstr \"b\"\n#~| msgid \"x\"\n", false},
        {std::string(kHeader) + "#| msgid \"x\"\n#, fuzzy\nmsgid \"a\"\nmsgstr \"b\"\n", false},
        {std::string(kHeader) + "#~ msgid \"a\"\n#~ msgid_plural \"as\"\n#~ msgstr[0] \"b\"\n", false},
    };
    for (const auto& [po, strict] : cases) expectSameAsGettext(po, strict);
}

TEST(PoRead, PluralEntriesAreRefused)
{
    const std::string po = std::string(kHeader) + "msgid \"file\"\nmsgid_plural \"files\"\nmsgstr[0] \"plik\"\nmsgstr[1] \"pliki\"\n";
    ReadResult fast;
    ASSERT_TRUE(po::readStrict(po, fast));
    EXPECT_EQ(fast.error, "line 9: plural forms (msgid_plural) cannot be imported");
    EXPECT_EQ(po::readThroughGettext(po).error, "plural forms (msgid_plural) cannot be imported: msgid \"file\"");
    EXPECT_EQ(readPo(po).error, fast.error);
}

}  // namespace
}  // namespace tov::exchange
