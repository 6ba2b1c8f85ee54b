// Checking with the tiny dictionaries of tests/data/spell: pl_PL in
// ISO 8859-2 and de_DE in UTF-8, so that every word with a letter beyond
// ASCII is converted from Windows-1250 and every suggestion back.
#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "formats/spell/encoding.h"
#include "formats/spell/spell_checker.h"
#include "support/file_size_limit.h"
#include "support/temp_folder.h"
#include "support/text_file.h"

namespace tov::spell {
namespace {

using testing::TempFolder;

const std::string kData = TOVRANA_SPELL_DATA_DIR;

SpellChecker openChecker(const std::string& code, const std::string& programFolder,
                         const std::string& folder = kData)
{
    const auto dictionaries = installedDictionaries(folder);
    const Dictionary* d = findDictionary(dictionaries, code);
    if (!d) throw std::runtime_error("no dictionary " + code + " in " + folder);
    std::string error;
    auto checker = SpellChecker::open(*d, programFolder, &error);
    if (!checker) throw std::runtime_error(error);
    return *checker;
}

// The misspelled words of a text, "|" between them.
std::string misspelled(const SpellChecker& checker, const std::string& text)
{
    std::string out;
    for (const WordSpan& span : checker.check(text)) out += (out.empty() ? "" : "|") + wordAt(text, span);
    return out;
}

TEST(SpellChecker, ChecksThroughTheDictionaryEncoding)
{
    TempFolder program;
    const SpellChecker pl = openChecker("pl_PL", program.path());
    const SpellChecker de = openChecker("de_DE", program.path());
    EXPECT_EQ(pl.encoding(), "ISO-8859-2");
    EXPECT_EQ(de.encoding(), "UTF-8");
    const struct {
        const SpellChecker& checker;
        const char* text;
        const char* misspelled;
    } cases[] = {
        // ś, ź and ą have other bytes in ISO 8859-2 than in Windows-1250.
        {pl, "Otw\xF3rz plik, \x9Cwiat s\xB9 \x9Fr\xF3\x64\xB3o", ""},
        {pl, "&Otw\xF3rz pliki, Zapi&sz %s w pliku", ""},
        {pl, "Otw&\xF3rz plk i b\xB3\xB9\x64 Swiat", "plk|Swiat"},
        {pl, "PLK, plik_x, EDIT.ENG", ""},
        // An abbreviation is right before its full stop only.
        {pl, "np. plik", ""},
        {pl, "np, plik", "np"},
        {de, "Datei \xF6\x66\x66nen, Gr\xF6\xDF" "e, Stra\xDF" "e", ""},
        {de, "Dateien offnen", "Dateien|offnen"},
        {de, "Gr\\x00f6\\x00dfe, \\x00d6\\x66\\x66nen, Gr\\x00f6sse", "Gr\xF6sse"},
    };
    for (const auto& c : cases) EXPECT_EQ(misspelled(c.checker, c.text), c.misspelled) << c.text;
    EXPECT_EQ(pl.check("Otw\xF3rz plk"), (Misspellings{{7, 3}}));
}

TEST(SpellChecker, SuggestionsComeBackInTheCodePage)
{
    TempFolder program;
    const SpellChecker pl = openChecker("pl_PL", program.path());
    const auto swiat = pl.suggest("swiat");
    ASSERT_FALSE(swiat.empty());
    EXPECT_EQ(swiat.front(), "\x9Cwiat");
    const auto zrodlo = pl.suggest("zr\xF3\x64\xB3o");
    ASSERT_FALSE(zrodlo.empty());
    EXPECT_EQ(zrodlo.front(), "\x9Fr\xF3\x64\xB3o");
    // "Señor" cannot be written in Windows-1250: left out, not given as "Se?or".
    EXPECT_EQ(openChecker("de_DE", program.path()).suggest("Senor"), std::vector<std::string>{"Sensor"});
}

TEST(SpellChecker, EncodingConversions)
{
    DictionaryEncoding latin2, utf8;
    ASSERT_TRUE(latin2.open("ISO8859-2"));
    ASSERT_TRUE(utf8.open("utf-8"));
    EXPECT_FALSE(DictionaryEncoding().open("NO-SUCH-SET"));
    const struct {
        const DictionaryEncoding& encoding;
        std::string cp1250, dict;
    } pairs[] = {
        {latin2, "\x9Cwiat s\xB9 \x9F", "\xB6wiat s\xB1 \xBC"},
        {latin2, "don\x92t", "don't"},  // the typographic apostrophe ISO 8859-2 lacks
        {utf8, "\xA3\xF3\x64\x9F", "\xC5\x81\xC3\xB3\x64\xC5\xBA"},
    };
    for (const auto& p : pairs) {
        std::string encoded, decoded;
        EXPECT_TRUE(p.encoding.encode(p.cp1250, encoded));
        EXPECT_EQ(encoded, p.dict);
        EXPECT_TRUE(p.encoding.decode(p.dict, decoded));
        if (p.dict != "don't") {
            EXPECT_EQ(decoded, p.cp1250);
        }
    }
    std::string out;
    EXPECT_FALSE(latin2.encode("\x80", out));             // € is no letter of ISO 8859-2
    EXPECT_FALSE(utf8.decode("Se\xC3\xB1or", out));       // ñ is none of Windows-1250
    EXPECT_FALSE(utf8.decode("\xC3", out));               // malformed
    TempFolder folder;
    folder.put("a.aff", "# no SET line\r\nTRY abc\r\n");
    folder.put("b.aff", "TRY abc\nSET  ISO8859-2 \n");
    EXPECT_EQ(affixEncoding(folder / "a.aff"), "ISO8859-1");
    EXPECT_EQ(affixEncoding(folder / "b.aff"), "ISO8859-2");
}

TEST(SpellChecker, IgnoredWordsLastTheSessionAndReachEveryCopy)
{
    TempFolder program;
    const SpellChecker checker = openChecker("pl_PL", program.path());
    SpellChecker copy = checker;
    const std::string text = "Plik Tovrana &Tovrana";
    EXPECT_EQ(misspelled(checker, text), "Tovrana|Tovrana");
    copy.ignore("Tovrana");
    EXPECT_EQ(misspelled(checker, text), "");  // the cached result is not served
    EXPECT_TRUE(checker.isCorrect("Tovrana"));
    EXPECT_FALSE(checker.isCorrect("tovrana"));
    EXPECT_EQ(program.entries(), std::vector<std::string>{});
    EXPECT_EQ(misspelled(openChecker("pl_PL", program.path()), text), "Tovrana|Tovrana");
}

TEST(SpellChecker, PersonalWordList)
{
    TempFolder program;
    SpellChecker first = openChecker("pl_PL", program.path());
    SpellChecker second = openChecker("pl_PL", program.path());
    EXPECT_EQ(first.personalList(), program / "spelling/pl.txt");
    EXPECT_EQ(misspelled(first, "Tovrana Orvanta"), "Tovrana|Orvanta");

    ASSERT_TRUE(first.addToPersonal("Tovrana"));
    EXPECT_EQ(program.get("spelling/pl.txt"), "Tovrana\r\n");
    EXPECT_EQ(misspelled(first, "Tovrana Orvanta"), "Orvanta");
    // The second checker read the list before: adding its own word keeps the
    // first one's and learns it.
    ASSERT_TRUE(second.addToPersonal("Orvanta"));
    ASSERT_TRUE(second.addToPersonal("Orvanta"));
    EXPECT_EQ(program.get("spelling/pl.txt"), "Tovrana\r\nOrvanta\r\n");
    EXPECT_EQ(misspelled(second, "Tovrana Orvanta"), "");
    EXPECT_EQ(second.personalWords(), (std::vector<std::string>{"Tovrana", "Orvanta"}));

    // Read back at the next start; words with the dictionary's rules of case,
    // and those the dictionary's encoding cannot hold.
    program.put("spelling/pl.txt", "Tovrana\r\n  \r\nKonfi\x80\r\n");
    const SpellChecker next = openChecker("pl_PL", program.path());
    EXPECT_EQ(next.personalWords(), (std::vector<std::string>{"Tovrana", "Konfi\x80"}));
    EXPECT_TRUE(next.isCorrect("Tovrana"));
    EXPECT_TRUE(next.isCorrect("Konfi\x80"));
    EXPECT_FALSE(next.isCorrect("Orvanta"));
    // A German list is another file.
    EXPECT_EQ(misspelled(openChecker("de_DE", program.path()), "Tovrana"), "Tovrana");
}

TEST(SpellChecker, PersonalWordRefusedOrNotWrittenChangesNothing)
{
    TempFolder program;
    SpellChecker checker = openChecker("pl_PL", program.path());
    for (const char* word : {"", "dwa wyrazy", "a\nb"}) EXPECT_FALSE(checker.addToPersonal(word)) << word;
    EXPECT_EQ(program.entries(), std::vector<std::string>{});
    program.put("spelling/pl.txt", std::string(40, 'x') + "\r\n");
    {
        testing::FileSizeLimit limit(16);
        EXPECT_FALSE(checker.addToPersonal("Tovrana"));
    }
    EXPECT_EQ(program.get("spelling/pl.txt"), std::string(40, 'x') + "\r\n");
    EXPECT_FALSE(checker.isCorrect("Tovrana"));
}

TEST(SpellChecker, ResultsAreKeptPerText)
{
    TempFolder program;
    SpellChecker checker = openChecker("pl_PL", program.path());
    for (int pass = 0; pass < 3; ++pass) {
        EXPECT_EQ(misspelled(checker, "plk"), "plk");
        EXPECT_EQ(misspelled(checker, "plik"), "");
    }
    EXPECT_EQ(checker.cachedTexts(), 2u);
    checker.clearCache();
    EXPECT_EQ(checker.cachedTexts(), 0u);
    // A pass asks only whether a text holds a misspelled word: the texts are
    // not kept, a text kept already answers from what was kept.
    for (const auto& [text, wrong] : {std::pair{"plik plk", true}, {"plik", false}, {"", false}, {"plk plik", true}})
        EXPECT_EQ(checker.misspelled(text), wrong) << text;
    EXPECT_EQ(checker.cachedTexts(), 0u);
    checker.check("plk");
    EXPECT_TRUE(checker.misspelled("plk"));
    // Copies on other threads share the dictionary and the results.
    std::vector<std::thread> threads;
    std::vector<int> wrong(4);
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([copy = checker, &miss = wrong[t], t] {
            for (int i = 0; i < 2000; ++i) {
                const std::string n = std::to_string(i % 300);
                miss += copy.check("plik " + n + " plk" + std::string(t, 'x')).size() != 1;
                miss += !copy.check("pliku " + n).empty();
            }
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(wrong, std::vector<int>(4));
}

TEST(SpellChecker, OpenFailures)
{
    TempFolder folder;
    folder.put("xx_XX.aff", "SET NO-SUCH-SET\n");
    folder.put("xx_XX.dic", "1\nabc\n");
    std::string error;
    const auto dictionaries = installedDictionaries(folder.path());
    ASSERT_EQ(dictionaries.size(), 1u);
    EXPECT_FALSE(SpellChecker::open(dictionaries[0], folder.path(), &error));
    EXPECT_EQ(error, "unknown encoding NO-SUCH-SET of " + folder / "xx_XX.aff");
    Dictionary gone = dictionaries[0];
    gone.wordFile = folder / "gone.dic";
    EXPECT_FALSE(SpellChecker::open(gone, folder.path(), &error));
    EXPECT_EQ(error, "cannot read " + folder / "gone.dic");
}

// The Polish dictionary Debian ships (hunspell-pl), in ISO 8859-2.
TEST(SpellChecker, InstalledPolishDictionary)
{
    const auto dictionaries = installedDictionaries();
    const Dictionary* polish = dictionaryForLanguage(dictionaries, "pl");
    if (!polish) GTEST_SKIP() << "no Polish dictionary in " << kSystemDictionaryFolder << " (Debian package hunspell-pl)";
    TempFolder program;
    std::string error;
    const auto checker = SpellChecker::open(*polish, program.path(), &error);
    ASSERT_TRUE(checker) << error;
    const struct {
        const char* text;
        const char* misspelled;
    } cases[] = {
        {"Zapisa\xE6 zmiany w pliku %s?", ""},
        {"&Otw\xF3rz plik docelowy...", ""},
        {"B\xB3\xB9\x64 zapisu pliku EDIT.POL, np. brak miejsca na dysku.", ""},
        {"\xAF\xF3\xB3ta \x9Fr\xF3\x64\xB3o \x9Cwiat\xB3\x61: %d%%", ""},
        {"Warto\x9C\xE3 wlasciwosci", "Warto\x9C\xE3|wlasciwosci"},
    };
    for (const auto& c : cases) EXPECT_EQ(misspelled(*checker, c.text), c.misspelled) << c.text;
    const auto suggestions = checker->suggest("Warto\x9C\x63");
    EXPECT_NE(std::find(suggestions.begin(), suggestions.end(), "Warto\x9C\xE6"), suggestions.end());

    // Whole lines of the Polish sample files, identifiers, conversions and
    // comments included: only the names of products and makers are unknown.
    std::set<std::string> unknown;
    for (const auto& e : std::filesystem::recursive_directory_iterator(TOVRANA_DEMO_SOURCE_DIR)) {
        const std::string path = e.path().string();
        if (path.find("/POL/") == std::string::npos && !path.ends_with("_pl.drc")) continue;
        std::vector<std::string> lines;
        ASSERT_TRUE(readLines(path, lines)) << path;
        for (const std::string& line : lines)
            for (const WordSpan& span : checker->check(line)) unknown.insert(wordAt(line, span));
    }
    EXPECT_EQ(unknown, (std::set<std::string>{"Konfix", "Telmo", "Termalis"}));
}

}  // namespace
}  // namespace tov::spell
