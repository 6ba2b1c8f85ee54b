#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/exchange/exchange.h"
#include "formats/exchange/exchange_print.h"
#include "formats/exchange/rows.h"
#include "support/cp1250.h"

namespace tov::exchange {
namespace {

const Format kFormats[] = {Format::Xliff, Format::Po};

Written write(Format f, const File& file) { return f == Format::Xliff ? writeXliff(file) : writePo(file); }

// Texts that trip up writers: markup and quoting characters, blanks at both
// ends, line breaks, controls, the bytes the code page leaves unassigned.
File trickyFile()
{
    File f{"Konfix_en.drc", "en", "pl", {}};
    const auto add = [&](std::string id, std::string source, std::string target, State state) {
        Unit& u = f.units.emplace_back();
        u.id = u.resname = id;
        u.source = cp1250::toUtf8(source);
        u.target = cp1250::toUtf8(target);
        u.state = state;
        u.format = hasConversion(checks::FormatNotation::Printf, u.source) ? FormatFlag::C : FormatFlag::None;
    };
    add("SAbout", "About", "O programie", State::Translated);
    add("S<&>", "<b>&amp; \"'quoted'\" \\n", "<b>&amp; \"'w cudzys\xB3owie'\" \\n", State::Translated);
    add("EDIT.ENG:5", "  Ready   ", "", State::Untranslated);
    add("7", "line\none\r\ntab\there", "wiersz\njeden\r\ntab\ttu", State::NeedsReview);
    add("ctl", "\x01\x08\x0B\x0C\x1B\x1F\x7F", "\x81\x83\x88\x90\x98", State::Translated);
    add("fmt", "%d of %-5.2f%%", "%d z %-5.2f%%", State::Translated);
    add("empty", "", "", State::Untranslated);
    add("pas", "%0:s of %d", "%d z %0:s", State::Translated);
    f.units.back().format = FormatFlag::ObjectPascal;
    f.units[0].note = "Help menu\nsecond line";
    f.units[0].reference = {"Konfix_en.drc", 12};
    f.units[2].width = {10, true};
    f.units[2].reference = {"EDIT.ENG", 5};
    f.units[5].width = {20, false};
    return f;
}

TEST(Exchange, WrittenFilesReadBackUnitForUnit)
{
    const File f = trickyFile();
    for (const Format format : kFormats) {
        const Written w = write(format, f);
        ASSERT_TRUE(w) << w.error;
        const ReadResult r = read(format, w.bytes);
        ASSERT_TRUE(r) << formatName(format) << ": " << r.error;
        ASSERT_EQ(r.file.units.size(), f.units.size()) << formatName(format);
        for (size_t i = 0; i < f.units.size(); ++i) {
            Unit expected = f.units[i];
            if (format == Format::Xliff) expected.format = FormatFlag::None;  // XLIFF has no format flag
            EXPECT_EQ(r.file.units[i], expected) << formatName(format) << " " << i;
        }
        EXPECT_EQ(r.file.original, f.original);
        EXPECT_EQ(r.file.sourceLanguage, f.sourceLanguage);
        EXPECT_EQ(r.file.targetLanguage, f.targetLanguage);
        EXPECT_EQ(detectFormat("anything", w.bytes), format);
    }
}

TEST(Exchange, EveryByteOfTheCodePageComesBackAsADestination)
{
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    for (const Format format : kFormats) {
        // XLIFF carries every byte; gettext's strings neither NUL nor EOT.
        std::string text = std::string(1, '\0') + all;
        if (format == Format::Po) std::erase_if(text, [](char c) { return c == '\0' || c == '\x04'; });
        const std::vector<Row> rows = {{1, "A", text, "", "", "", 0, {}}, {2, "B", "b", text, "", "", 0, {}}};
        File out = makeFile(rows, {"x.drc", "en", "pl"});
        out.units[0].target = out.units[0].source;
        out.units[0].state = State::Translated;
        const Written w = write(format, out);
        const ReadResult back = read(format, w.bytes);
        ASSERT_TRUE(w && back) << formatName(format) << ": " << w.error << back.error;
        const ImportReport report = matchImport(rows, back.file, {});
        EXPECT_EQ(report.edits, (std::vector<Edit>{{1, text}})) << formatName(format);
        EXPECT_TRUE(report.problems.empty()) << formatName(format);
        EXPECT_EQ(report.unchanged, 1);
    }
    for (const std::string& bad : {std::string("a\0b", 3), std::string("a\x04")}) {
        File f{"x", "", "", {}};
        f.units.push_back({"id", "id", "a", bad, State::Translated, "", {}, {}, FormatFlag::None, false});
        EXPECT_EQ(writePo(f).error, "id id: a NUL or EOT character, which PO cannot hold");
        EXPECT_TRUE(writePo(f).bytes.empty());
    }
}

TEST(Exchange, XliffOfOtherTools)
{
    struct Case {
        const char* unit;  // the inside of <body>
        std::string target;
        State state;
        bool placeholders = false;
    };
    const Case cases[] = {
        {R"(<trans-unit id="a"><source>S</source><target>T <g id="1">bold</g><mrk mtype="x">m</mrk></target></trans-unit>)",
         "T boldm", State::Translated},
        {R"(<trans-unit id="a"><source>%d</source><target><ph id="1">%d</ph> plik<bpt id="2">{</bpt>i<ept id="2">}</ept></target></trans-unit>)",
         "%d plik{i}", State::Translated},
        {R"(<trans-unit id="a"><source>S</source><target>T<x id="1"/></target></trans-unit>)", "T", State::Translated, true},
        {R"(<trans-unit id="a"><source>S</source><target state="needs-review-translation">T</target></trans-unit>)", "T",
         State::NeedsReview},
        {R"(<trans-unit id="a" approved="no"><source>S</source><target state="needs-translation">T</target></trans-unit>)",
         "T", State::NeedsReview},
        {R"(<trans-unit id="a"><source>S</source><target state="needs-translation">S</target></trans-unit>)", "S",
         State::Untranslated},
        {R"(<trans-unit id="a"><source>S</source><target state="final"><![CDATA[<T>]]></target></trans-unit>)", "<T>",
         State::Translated},
        {R"(<trans-unit id="a"><source>S</source><target state="translated"></target></trans-unit>)", "", State::Untranslated},
        {R"(<trans-unit id="a"><source>S</source></trans-unit>)", "", State::Untranslated},
        {R"(<trans-unit id="h" restype="x-gettext-domain-header"><source>H</source></trans-unit><group><group><trans-unit id="a"><source>S</source><target>  </target></trans-unit></group></group>)",
         "  ", State::Translated},
    };
    for (const Case& c : cases) {
        const std::string doc = std::string(R"(<?xml version="1.0"?><xliff version="1.1"><file original="o" source-language="en"><body>)") +
                                c.unit + "</body></file></xliff>";
        const ReadResult r = readXliff(doc);
        ASSERT_TRUE(r) << r.error;
        ASSERT_EQ(r.file.units.size(), 1u) << c.unit;
        const Unit& u = r.file.units[0];
        EXPECT_EQ(u.id, "a");
        EXPECT_EQ(u.target, c.target) << c.unit;
        EXPECT_EQ(u.state, c.state) << c.unit;
        EXPECT_EQ(u.targetPlaceholders, c.placeholders) << c.unit;
    }
    // A namespace prefix, and UTF-16 as some tools save.
    const ReadResult prefixed = readXliff(
        R"(<x:xliff xmlns:x="urn:oasis:names:tc:xliff:document:1.2" version="1.2"><x:file original="o"><x:body><x:trans-unit id="a"><x:source>S</x:source><x:target>Zażółć</x:target></x:trans-unit></x:body></x:file></x:xliff>)");
    ASSERT_TRUE(prefixed) << prefixed.error;
    ASSERT_EQ(prefixed.file.units.size(), 1u);
    EXPECT_EQ(prefixed.file.units[0].target, "Zażółć");
    std::string utf16 = "\xFF\xFE";
    for (const char c : std::string(R"(<xliff version="1.2"><file><body><trans-unit id="a"><source>S</source></trans-unit></body></file></xliff>)"))
        utf16 += std::string{c, '\0'};
    EXPECT_EQ(detectFormat("a.txt", utf16), Format::Xliff);
    ASSERT_EQ(readXliff(utf16).file.units.size(), 1u);
}

TEST(Exchange, FilesThatCannotBeRead)
{
    const std::pair<Format, std::string> cases[][1] = {
        {{Format::Xliff, "<?xml version=\"1.0\"?>\n<xliff version=\"1.2\">\n<file><body>\n<trans-unit id=\"a\">\n</body>"}},
        {{Format::Xliff, "<xliff version=\"2.0\"><file id=\"f\"><unit id=\"a\"/></file></xliff>"}},
        {{Format::Xliff, "<html/>"}},
        {{Format::Po, "msgid \"\"\nmsgstr \"\"\n\nmsgctxt \"a\"\nmsgid \"unterminated\nmsgstr \"\"\n"}},
        {{Format::Po, "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=NO-SUCH-SET\\n\"\n"}},
    };
    const char* expected[] = {
        "line 5: Start-end tags mismatch",
        "XLIFF 2.0 is not read: save the file as XLIFF 1.2",
        "not an XLIFF document",
        "line 6: end-of-line within string",
        "unknown charset NO-SUCH-SET",
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const ReadResult r = read(cases[i][0].first, cases[i][0].second);
        EXPECT_EQ(r.error, expected[i]) << cases[i][0].second;
    }
    EXPECT_EQ(read(Format::Tsv, "a\tb\r\n").error, "a tab-separated file has no units");
}

TEST(Exchange, PoOfOtherTools)
{
    // ISO-8859-2, obsolete and fuzzy entries, translator comments, a plain
    // source reference without a line.
    const std::string po =
        "# translator's header comment\n"
        "msgid \"\"\nmsgstr \"\"\n\"Content-Type: text/plain; charset=ISO-8859-2\\n\"\n\"Language: pl_PL\\n\"\n\n"
        "# checked by Ala\n#. Help menu\n#: menu.c\n#, fuzzy\nmsgctxt \"a\"\nmsgid \"About\"\nmsgstr \"O \xBF\xF3\xB3wiu\"\n\n"
        "msgctxt \"b\"\nmsgid \"\"\n\"Two \"\n\"lines\"\nmsgstr \"\"\n\"Dwa \"\n\"wiersze\"\n\n"
        "#~ msgctxt \"c\"\n#~ msgid \"Gone\"\n#~ msgstr \"Nie ma\"\n";
    const ReadResult r = readPo(po);
    ASSERT_TRUE(r) << r.error;
    EXPECT_EQ(r.file.targetLanguage, "pl_PL");
    ASSERT_EQ(r.file.units.size(), 2u);
    EXPECT_EQ(r.file.units[0].target, "O żółwiu");
    EXPECT_EQ(r.file.units[0].state, State::NeedsReview);
    EXPECT_EQ(r.file.units[0].note, "Help menu");
    EXPECT_EQ(r.file.units[0].reference, (Reference{"menu.c", 0}));
    EXPECT_EQ(r.file.units[1].source, "Two lines");
    EXPECT_EQ(r.file.units[1].target, "Dwa wiersze");
    EXPECT_EQ(r.file.units[1].state, State::Translated);

    // A UTF-8 file whose text is not UTF-8 is read: the import refuses the
    // row, not the file. The charset is taken from the header only.
    const ReadResult bad = readPo(
        "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=utf-8\\n\"\n\n"
        "msgctxt \"a\"\nmsgid \"charset=UTF-8\"\nmsgstr \"\xFF\xFE\"\n");
    ASSERT_TRUE(bad) << bad.error;
    ASSERT_EQ(bad.file.units.size(), 1u);
    EXPECT_EQ(bad.file.units[0].source, "charset=UTF-8");
    EXPECT_EQ(bad.file.units[0].target, "\xFF\xFE");
}

TEST(Exchange, FormatDetection)
{
    const std::tuple<const char*, std::string, Format> cases[] = {
        {"out.xlf", "", Format::Xliff},
        {"dir.po/out.XLIFF", "", Format::Xliff},
        {"out.po", "", Format::Po},
        {"out.pot", "", Format::Po},
        {"out.txt", "About\tO programie\r\n", Format::Tsv},
        {"out", "", Format::Tsv},
        {"out.txt", "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!-- x -->\n<xliff version=\"1.2\">", Format::Xliff},
        {"out.txt", "# comment\n\nmsgid \"\"\nmsgstr \"\"\n", Format::Po},
        {"out.txt", "msgctxt\"a\"\n", Format::Po},
        {"out.xlf", "msgid \"a\"\nmsgstr \"\"\n", Format::Po},
        {"out.po", "<?xml version=\"1.0\"?><html/>", Format::Po},
        {"out.txt", "msgid is a word\tmsgid to s\xB3owo\r\n", Format::Tsv},
        {"out.txt", "<b>bold</b>\t<b>pogrubiony</b>\r\n", Format::Tsv},
    };
    for (const auto& [name, bytes, format] : cases) EXPECT_EQ(detectFormat(name, bytes), format) << name << " " << bytes;
}

TEST(Exchange, Conversions)
{
    constexpr auto P = checks::FormatNotation::Printf;
    constexpr auto R = checks::FormatNotation::ResourceString;
    const std::tuple<checks::FormatNotation, const char*, bool> cases[] = {
        {P, "%d files", true},  {P, "%-5.2f", true},      {P, "%08lX", true},       {P, "%1$s %2$d", true},
        {P, "%*d", true},       {P, "%.*s", true},        {P, "%.*2$s", true},      {P, "%hhu", true},
        {P, "%'d", true},       {P, "%#o", true},         {P, "a %% b %c", true},   {P, "%%", false},
        {P, "100%", false},     {P, "50% off", false},    {P, "5% discount", false}, {P, "%%d", false},
        {P, "% d", false},      {P, "%y", false},         {P, "%5", false},         {P, "%l", false},
        {P, "%1$", false},      {P, "%0:s", false},       {P, "", false},           {R, "%s", true},
        {R, "%0:s", true},      {R, "%-8.2f", true},      {R, "%.*n", true},        {R, "%M", true},
        {R, "%1$s", false},     {R, "%ld", false},        {R, "%c", false},         {R, "100%", false},
        {R, "100% done", false}, {checks::FormatNotation::None, "%d", false},
    };
    for (const auto& [notation, text, expected] : cases)
        EXPECT_EQ(hasConversion(notation, text), expected) << static_cast<int>(notation) << " " << text;
}

TEST(Exchange, LanguageOfANameOrFileName)
{
    const std::pair<const char*, const char*> cases[] = {
        {"English", "en"},          {"Polski", "pl"},          {" polish ", "pl"},       {"Deutsch", "de"},
        {"ENG", "en"},              {"POL", "pl"},             {"pl", "pl"},             {"Konfix_en.drc", "en"},
        {"dest/Konfix_pl.drc", "pl"}, {"ORVANTA/POL/EDIT.POL", "pl"}, {"EDIT.ENG", "en"}, {"texts-de.ini", "de"},
        {"\xC4\x8C" "e\xC5\xA1tina", "cs"}, {"menu.ini", ""}, {"texts.c", ""},             {"Klingon", ""},
        {"", ""},                   {"Konfix.drc", ""},
    };
    for (const auto& [name, tag] : cases) EXPECT_EQ(guessLanguage(name), tag) << name;
}

}  // namespace
}  // namespace tov::exchange
