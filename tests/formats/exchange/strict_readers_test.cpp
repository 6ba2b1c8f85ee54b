// The fast readers against the complete ones: the strict PO reader against
// gettext's parser, the XLIFF reader that parses unit by unit against the
// parse of the whole document. Where the fast one reads a file, it reads what
// the complete one reads; where it does not, the complete one does.
#include <gtest/gtest.h>

#include <string>

#include "formats/exchange/exchange_print.h"
#include "formats/exchange/po_read.h"
#include "formats/exchange/xliff_read.h"

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
        {"msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=CHARSET\\n\"\n\nmsgctxt\t\"a\"\nmsgid\"\xC5\xBC\"\nmsgstr \"\xC3\xBF\"  \n",
         true},
        {"msgctxt \"a\"\nmsgid \"no header\"\nmsgstr \"\"\n", true},
        {std::string(kHeader) + "msgid \"a\"\n\nmsgstr \"b\"\n", true},
        // Left to gettext's parser.
        {"msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=ISO-8859-2\\n\"\n\nmsgid \"a\"\nmsgstr \"\xBF\"\n", false},
        {std::string(kHeader) + "msgid \"a\"\r\nmsgstr \"b\"\r\n", false},
        {"msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=CHARSET\\n\"\n\nmsgid \"a\"\nmsgstr \"\xFF\"\n", false},
        {"msgid \"\"\nmsgstr \"\"\n\"msgid_plurset=x\\n\"\n\"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
         "msgid \"a\"\nmsgstr \"\xC5\xC5\"\n",
         false},
        {"msgid \"\"\nmsgstr \"\"\n\"X: charset=ASCII\\n\"\n\"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
         "msgid \"a\"\nmsgstr \"\xC5\xBC\"\n",
         false},
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

TEST(XliffRead, UnitByUnitReadsWhatTheWholeParseReads)
{
    const auto doc = [](const std::string& body, const std::string& head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n") {
        return head + "<xliff version=\"1.2\" xmlns=\"urn:oasis:names:tc:xliff:document:1.2\">\n<file original=\"a&amp;b\" "
                      "source-language=\"en\" target-language=\"pl\"><header><tool tool-id=\"t\"/></header><body>\n" +
               body + "\n</body></file></xliff>\n";
    };
    const std::string unit =
        "<trans-unit id=\"a\" resname=\"A\" maxwidth=\"9\" minwidth=\"9\" size-unit=\"char\"><source>S &amp; "
        "<g id=\"1\">b</g> <x id=\"2\" ctype=\"x-char-0x01\"/></source><target state=\"translated\">T\r\nx"
        "<![CDATA[<c>]]></target><note>n1</note><note>n2</note><context-group><context context-type=\"sourcefile\">"
        "f.drc</context><context context-type=\"linenumber\">4</context></context-group></trans-unit>";
    const std::pair<std::string, bool> cases[] = {
        // Read unit by unit.
        {doc(unit), true},
        {doc(unit, ""), true},
        {"\xEF\xBB\xBF" + doc(unit), true},
        {doc("<!-- </trans-unit> --><group><group>" + unit + "</group></group><?pi x?>"), true},
        {doc("<trans-unit id=\"a>b\" restype=\"x-gettext-domain-header\"><source>H</source></trans-unit>"
             "<trans-unit id='q'><source>S<!-- </source> --></source><target>  </target></trans-unit><trans-unit id=\"e\"/>"),
         true},
        {doc(unit) + "<!-- after -->\n", true},
        {"<x:xliff xmlns:x=\"urn:oasis:names:tc:xliff:document:1.2\" version=\"1.1\"><x:file original=\"o\"><x:body>"
         "<x:trans-unit id=\"a\"><x:source>S</x:source><x:target>Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87</x:target>"
         "</x:trans-unit></x:body><x:body><x:trans-unit id=\"second body\"><x:source>S</x:source></x:trans-unit>"
         "</x:body></x:file><x:file original=\"2\"><x:body><x:trans-unit id=\"b\"><x:source>S</x:source></x:trans-unit>"
         "</x:body></x:file></x:xliff>",
         true},
        {"<xliff version=\"1.2\"><file><header><trans-unit id=\"h\"><source>S</source></trans-unit></header><body>"
         "<bin-unit id=\"b\"><trans-unit id=\"in bin\"><source>S</source></trans-unit></bin-unit></body></file></xliff>",
         true},
        // Left to the whole parse.
        {doc(unit, "<?xml version=\"1.0\" encoding=\"ISO-8859-2\"?>\n"), false},
        {doc(unit, "<!DOCTYPE xliff>\n"), false},
        {doc("<trans-unit id=\"a\"><source>S</target></trans-unit>"), false},
        {doc("<trans-unit id=\"a\" id=><source>S</source></trans-unit>"), false},
        {doc("<trans-unit id=\"a\"><source>S</source>"), false},
        {doc("<group>" + unit + "</body>"), false},
        {"<xliff version=\"2.0\"><file id=\"f\"><unit id=\"a\"/></file></xliff>", false},
        {"<html><body/></html>", false},
        {"text<xliff version=\"1.2\"/>", false},
        {"<xliff version=\"1.2\"/><xliff/>", false},
    };
    for (const auto& [bytes, unitByUnit] : cases) {
        ReadResult fast;
        const bool read = xliff::readUnitByUnit(bytes, fast);
        EXPECT_EQ(read, unitByUnit) << bytes;
        if (!read) continue;
        const ReadResult whole = xliff::readWhole(bytes);
        ASSERT_TRUE(whole) << bytes << "\n" << whole.error;
        EXPECT_EQ(fast.file, whole.file) << bytes;
    }
}

}  // namespace
}  // namespace tov::exchange
