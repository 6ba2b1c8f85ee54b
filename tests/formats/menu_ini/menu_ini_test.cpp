#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "formats/menu_ini/menu_ini.h"
#include "support/atomic_file.h"
#include "support/strutil.h"
#include "support/text_file.h"
#include "tests/support/fault_injection.h"
#include "tests/support/temp_folder.h"

namespace tov::menu_ini {
namespace {

namespace fs = std::filesystem;

using Folder = tov::testing::TempFolder;
using tov::testing::firstDifference;
using tov::testing::readBytes;

std::vector<std::pair<std::string, std::string>> keyAndBase(const std::vector<Row>& rows)
{
    std::vector<std::pair<std::string, std::string>> out;
    for (const Row& r : rows) out.emplace_back(r.key, r.base);
    return out;
}

std::vector<DestEntry> entriesOf(const std::vector<Row>& rows)
{
    std::vector<DestEntry> out;
    for (const Row& r : rows) out.emplace_back(r.key, r.dest);
    return out;
}

// A section of every text key, "<prefix> <key>" as the text of each.
std::string fullSection(const std::string& name, const std::string& prefix)
{
    std::string out = "[" + name + "]\r\n";
    for (int n = 0; n <= 500; ++n)
        for (const char* suffix : {"", "i", "v"}) {
            const std::string key = std::to_string(n) + suffix;
            out += key + "=" + prefix + " " + key + "\r\n";
        }
    return out;
}

TEST(MenuIniRows, TextKeysInNumberAndSuffixOrderFoundWithoutRegardToCase)
{
    const IniDocument doc = IniDocument::fromBytes(
        "[English]\r\n"
        "title=Menu\r\n"
        "3=Three\r\n"
        "1I=One hint\r\n"
        "3v = Three status \r\n"
        "07=leading zero\r\n"
        "501=above the range\r\n"
        "3x=other form\r\n"
        "-1=negative\r\n"
        "2 = \"two\"\r\n"
        "; 4=comment\r\n"
        "5\r\n"
        "[Polski]\r\n"
        "0=Zero\r\n");
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"1i", "One hint"}, {"2", "two"}, {"3", "Three"}, {"3v", "Three status"}};
    EXPECT_EQ(keyAndBase(baseRows(doc, "english")), expected);
    EXPECT_TRUE(baseRows(doc, "Czech").empty());

    ASSERT_EQ(textKeys().size(), 1503u);
    EXPECT_EQ(textKeys()[0], "0");
    EXPECT_EQ(textKeys()[4], "1i");
    EXPECT_EQ(textKeys().back(), "500v");

    const struct {
        size_t keys;
        int rows;
    } counts[] = {{0, 2}, {1, 2}, {2, 3}, {1503, 1504}};
    for (const auto& c : counts) EXPECT_EQ(tableRowCount(c.keys), c.rows) << c.keys;
}

TEST(MenuIniRows, DestinationTextsComeFromTheDestinationSectionOrStayEmpty)
{
    const IniDocument doc = IniDocument::fromBytes(
        "[English]\r\n1=File\r\n1i=File hint\r\n2=Edit\r\n"
        "[Polski]\r\n1= 'Plik' \r\n2=\r\n9=Extra\r\n");
    std::vector<Row> rows = baseRows(doc, "English");
    loadDestTexts(doc, "POLSKI", rows);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].dest, "Plik");
    EXPECT_EQ(rows[1].dest, "");  // the destination lacks 1i
    EXPECT_EQ(rows[2].dest, "");

    loadDestTexts(doc, "Czech", rows);
    for (const Row& r : rows) EXPECT_EQ(r.dest, "") << r.key;
}

TEST(MenuIniRows, TablesOfTheModeReplaceAFormerTable)
{
    const IniDocument doc = IniDocument::fromBytes("[English]\r\n1=File\r\n2v=Edit\r\n[Polski]\r\n2v=Edycja\r\n");
    // A former table of 60 rows with texts in every column the mode uses.
    TextGrid t(9, 60), w(11, 5);
    for (int r = 0; r < 60; ++r)
        for (int c = 0; c <= 5; ++c) t.setCell(c, r, "old");
    showBaseRows(t, w, baseRows(doc, "English"));
    showDestTexts(t, w, doc, "Polski");
    ASSERT_EQ(t.rowCount(), 3);
    EXPECT_EQ(w.rowCount(), 500);
    const std::vector<std::vector<std::string>> expected = {
        {"", "", "", "", "", ""}, {"1", "", "File", "", "", ""}, {"2v", "", "Edit", "", "Edycja", ""}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c <= 5; ++c) EXPECT_EQ(t.cell(c, r), expected[r][c]) << c << "," << r;
    EXPECT_EQ(t.cell(0, 3), "");  // rows beyond the count are emptied too
    EXPECT_EQ(w.cell(1, 2), "Edit");
    EXPECT_EQ(w.cell(2, 2), "Edycja");
    EXPECT_EQ(w.cell(2, 1), "");
}

TEST(MenuIniLanguages, FirstLanguagesSectionIsLeftOut)
{
    const struct {
        const char* name;
        std::string file;
        std::vector<std::string> languages;
    } cases[] = {
        {"first", "[LANGUAGES]\r\n1=English\r\n[English]\r\n[Polski]\r\n", {"English", "Polski"}},
        {"any case, anywhere", "[English]\r\n[ languages ]\r\n[Polski]\r\n", {"English", "Polski"}},
        {"none: every section", "[English]\r\n[Polski]\r\n[Deutsch]\r\n", {"English", "Polski", "Deutsch"}},
        {"only the first of two", "[Languages]\r\n[A]\r\n[LANGUAGES]\r\n", {"A", "LANGUAGES"}},
        {"duplicates kept", "[A]\r\n[B]\r\n[A]\r\n", {"A", "B", "A"}},
        {"empty file", "", {}},
        {"no INI file", std::string("\x7f" "ELF\x02\x01\x01\0\0\0", 10), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(languageSections(IniDocument::fromBytes(c.file)), c.languages);
    }
    EXPECT_EQ(languageIndex({"English", "Polski"}, "polski"), 1);
    EXPECT_EQ(languageIndex({"English", "Polski"}, "Czech"), -1);
}

TEST(MenuIniSave, DestinationSectionGetsExactlyTheRowsAndEverythingElseStays)
{
    IniDocument doc = IniDocument::fromBytes(
        "; menu texts\r\n"
        "[LANGUAGES]\r\n"
        "1=English\r\n"
        "\r\n"
        "[English]\r\n"
        "title=Menu\r\n"
        "1=File\r\n"
        "1i=File hint\r\n"
        "2=Edit\r\n"
        "\r\n"
        "[Polski]\r\n"
        "title=Menu PL\r\n"
        "1 = Plik\r\n"
        "7=Stary\r\n"
        "7x=keep\r\n"
        "501=keep too\r\n"
        "; comment in Polski\r\n"
        "\r\n"
        "[Deutsch]\r\n"
        "1=Datei\n");
    applyDestination(doc, "polski", {{"1", "Plik"}, {" 1i ", ""}, {"2", "Edycja"}});
    EXPECT_EQ(doc.toBytes(),
              "; menu texts\r\n"
              "[LANGUAGES]\r\n"
              "1=English\r\n"
              "\r\n"
              "[English]\r\n"
              "title=Menu\r\n"
              "1=File\r\n"
              "1i=File hint\r\n"
              "2=Edit\r\n"
              "\r\n"
              "[Polski]\r\n"
              "title=Menu PL\r\n"
              "7x=keep\r\n"
              "501=keep too\r\n"
              "1=Plik\r\n"
              "1i=\r\n"
              "2=Edycja\r\n"
              "; comment in Polski\r\n"
              "\r\n"
              "[Deutsch]\r\n"
              "1=Datei\n");
}

TEST(MenuIniSave, EditCases)
{
    const struct {
        const char* name;
        std::string before;
        std::string section;
        std::vector<DestEntry> entries;
        std::string after;
    } cases[] = {
        {"a new language is appended as a section", "[English]\r\n1=File", "Czech", {{"1", "Soubor"}, {"2", ""}},
         "[English]\r\n1=File\r\n[Czech]\r\n1=Soubor\r\n2=\r\n"},
        {"every copy of a text key goes", "[P]\r\n7=a\r\n7V=b\r\nx=1\r\n7=c\r\n", "P", {},
         "[P]\r\nx=1\r\n"},
        {"a section with only text keys keeps its place", "[P]\r\n1=a\r\n\r\n[Q]\r\n1=q\r\n", "P", {{"1", "b"}},
         "[P]\r\n1=b\r\n\r\n[Q]\r\n1=q\r\n"},
        {"rows without a key are not written", "[P]\r\nx=1\r\n", "P", {{"", "lost"}, {"  ", "x"}, {"3", "c"}},
         "[P]\r\nx=1\r\n3=c\r\n"},
        {"no destination language changes nothing", "[P]\r\n1=a\r\n", " ", {{"1", "b"}}, "[P]\r\n1=a\r\n"},
        {"bytes above 127 pass unchanged", "[P]\r\n1=\xB9\r\n", "P", {{"1", "Zako\xF1\x63z \xEA"}},
         "[P]\r\n1=Zako\xF1\x63z \xEA\r\n"},
        {"blanks at the ends are kept by quotes", "[P]\r\n", "P", {{"1", " Open "}, {"2", "\"x\""}},
         "[P]\r\n1=\" Open \"\r\n2=\"\"x\"\"\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        IniDocument doc = IniDocument::fromBytes(c.before);
        applyDestination(doc, c.section, c.entries);
        EXPECT_EQ(doc.toBytes(), c.after);
    }
}

TEST(MenuIniSave, EveryTextReadsBackAsWritten)
{
    const std::string texts[] = {"plain", " lead", "trail ", "\ttab", "\"quoted\"", "'single'", "\"half", "a'",
                                 "x\"y\"", "\"\"", "'", "a ; b", "", "=", "\xA3\xF3\x64\xBC", "[not a header]"};
    for (const std::string& text : texts) {
        IniDocument doc = IniDocument::fromBytes("[P]\r\n1=old\r\n");
        applyDestination(doc, "P", {{"1", text}});
        EXPECT_EQ(IniDocument::fromBytes(doc.toBytes()).read("P", "1"), text) << "[" << text << "]";
    }
}

TEST(MenuIniSave, AllTextKeysOfAFullSectionSurviveLoadAndSave)
{
    const Folder dir;
    const std::string path = dir / "menu.ini";
    const std::string file = "[LANGUAGES]\r\n1=English\r\n" + fullSection("English", "en") +
                             fullSection("Polski", "pl") + fullSection("Deutsch", "de");
    ASSERT_TRUE(writeFileAtomic(path, file).ok);

    IniDocument doc;
    ASSERT_TRUE(IniDocument::load(path, doc));
    std::vector<Row> rows = baseRows(doc, "English");
    ASSERT_EQ(rows.size(), 1503u);
    loadDestTexts(doc, "Polski", rows);
    EXPECT_EQ(rows[1502].key, "500v");
    EXPECT_EQ(rows[1502].dest, "pl 500v");

    ASSERT_TRUE(saveDestination(path, "Polski", entriesOf(rows)).ok);
    // Written in the file's own order, an unchanged save gives the same bytes.
    EXPECT_EQ(firstDifference(readBytes(path), file), std::string::npos);

    rows[1400].dest = "changed";
    ASSERT_TRUE(saveDestination(path, "Polski", entriesOf(rows)).ok);
    IniDocument after;
    ASSERT_TRUE(IniDocument::load(path, after));
    for (const Row& r : rows) EXPECT_EQ(after.read("Polski", r.key), r.dest) << r.key;
}

TEST(MenuIniSave, FileOutcomes)
{
    const Folder dir;
    const std::string path = dir / "menu.ini";
    const std::string file = "[English]\r\n1=File\r\n[Polski]\r\n1=Plik\r\n";

    // An unchanged save leaves the file itself alone.
    ASSERT_TRUE(writeFileAtomic(path, file).ok);
    struct stat before {}, after {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    EXPECT_TRUE(saveDestination(path, "Polski", {{"1", "Plik"}}).ok);
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);

    // A new language is listed as saved.
    std::vector<std::string> languages;
    EXPECT_TRUE(saveDestination(path, "Czech", {{"1", "Soubor"}}, &languages).ok);
    EXPECT_EQ(languages, (std::vector<std::string>{"English", "Polski", "Czech"}));

    // A missing file is created.
    const std::string fresh = dir / "new.ini";
    EXPECT_TRUE(saveDestination(fresh, "Polski", {{"1", "Plik"}}).ok);
    EXPECT_EQ(readBytes(fresh), "[Polski]\r\n1=Plik\r\n");

    // Something that exists but cannot be read as a file is not replaced.
    const std::string folder = dir / "folder.ini";
    ASSERT_TRUE(fs::create_directory(folder));
    EXPECT_FALSE(saveDestination(folder, "Polski", {{"1", "Plik"}}).ok);
    EXPECT_TRUE(fs::is_directory(folder));
}

TEST(MenuIniSave, FullDiskLeavesTheFileAsItWas)
{
    const Folder dir;
    const std::string path = dir / "menu.ini";
    const std::string file = fullSection("English", "en") + fullSection("Polski", "pl");
    ASSERT_TRUE(writeFileAtomic(path, file).ok);
    // Every write beyond 100 bytes fails with EFBIG, as on a full disk.
    {
        tov::testing::FileSizeLimit limit(100);
        EXPECT_FALSE(saveDestination(path, "Polski", {{"1", "changed"}}, nullptr, BackupChoice::dated()).ok);
    }
    EXPECT_EQ(firstDifference(readBytes(path), file), std::string::npos);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"menu.ini"});
}

// --- Files written by others ----------------------------------------------

// The lines of a file (with their line ends) apart from the text-key lines of
// the first section named `section`: what a save of that section must keep.
std::vector<std::string> linesBesideTextKeys(const std::string& bytes, const std::string& section)
{
    static const std::regex textKey("(0|[1-9][0-9]{0,2})[iIvV]?");
    std::vector<std::string> out;
    bool inSection = false, seen = false;
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string::npos)
            end = bytes.size();
        else
            end += (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ? 2 : 1;
        const std::string line = bytes.substr(pos, end - pos);
        pos = end;
        const std::string t = trimIni(line);
        if (!t.empty() && t[0] == '[' && t.find(']') != std::string::npos) {
            const std::string name = trimIni(t.substr(1, t.rfind(']') - 1));
            inSection = !seen && equalsNoCase(name, section);
            seen = seen || inSection;
        } else if (inSection && !t.empty() && t[0] != ';' && t.find('=') != std::string::npos) {
            const std::string key = trimIni(t.substr(0, t.find('=')));
            if (std::regex_match(key, textKey) && std::stoi(key) <= 500) continue;
        }
        out.push_back(line);
    }
    return out;
}

TEST(MenuIniCorpus, UnchangedSavesKeepEveryOtherLineAndEveryText)
{
    const fs::path folder = fs::path(TOVRANA_CORPUS_DIR) / "ini";
    int files = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        ++files;
        const std::string name = entry.path().filename().string();
        const std::string input = readBytes(entry.path().string());
        ASSERT_FALSE(input.empty()) << name;
        const IniDocument in = IniDocument::fromBytes(input);
        const std::vector<std::string> languages = languageSections(in);
        ASSERT_FALSE(languages.empty()) << name;
        // The first language as the base, each language in turn as the destination.
        for (const std::string& dest : languages) {
            SCOPED_TRACE(name + ", destination [" + dest + "]");
            std::vector<Row> rows = baseRows(in, languages.front());
            loadDestTexts(in, dest, rows);
            IniDocument doc = IniDocument::fromBytes(input);
            applyDestination(doc, dest, entriesOf(rows));
            const std::string output = doc.toBytes();

            EXPECT_EQ(linesBesideTextKeys(output, dest), linesBesideTextKeys(input, dest));
            const IniDocument out = IniDocument::fromBytes(output);
            for (const std::string& key : textKeys()) {
                const bool inBase = in.hasKey(languages.front(), key);
                EXPECT_EQ(out.hasKey(dest, key), inBase) << key;
                if (inBase) {
                    EXPECT_EQ(out.read(dest, key), in.read(dest, key)) << key;
                }
            }
            // A second save of the same texts changes nothing more.
            IniDocument again = IniDocument::fromBytes(output);
            applyDestination(again, dest, entriesOf(rows));
            EXPECT_EQ(firstDifference(again.toBytes(), output), std::string::npos);
        }
    }
    EXPECT_EQ(files, 4);
}

TEST(MenuIniDemo, DemoFileHoldsThreeLanguagesWithGapsInPolish)
{
    const std::string bytes = readBytes(std::string(TOVRANA_DEMO_SOURCE_DIR) + "/menu.ini");
    const IniDocument doc = IniDocument::fromBytes(bytes);
    EXPECT_EQ(languageSections(doc), (std::vector<std::string>{"English", "Polski", "Deutsch"}));
    std::vector<Row> rows = baseRows(doc, "English");
    loadDestTexts(doc, "Polski", rows);
    int missing = 0;
    for (const Row& r : rows) missing += r.dest.empty() ? 1 : 0;
    EXPECT_GT(missing, 0);
    EXPECT_LT(missing, static_cast<int>(rows.size()));
    EXPECT_EQ(doc.read("Polski", "5"), "&Zako\xF1\x63z");  // Windows-1250
    size_t lineEnds = 0, crLf = 0;
    for (size_t i = 0; i < bytes.size(); ++i)
        if (bytes[i] == '\n') {
            ++lineEnds;
            crLf += i > 0 && bytes[i - 1] == '\r' ? 1 : 0;
        }
    EXPECT_EQ(crLf, lineEnds);
}

}  // namespace
}  // namespace tov::menu_ini
