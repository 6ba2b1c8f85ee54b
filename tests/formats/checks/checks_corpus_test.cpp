// The checks on the real files of the corpus, read with the program's readers:
// no text is flagged against itself, and the translations the corpus holds
// are flagged where they differ from their base.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "formats/checks/checks.h"
#include "formats/firmware/firmware_lines.h"
#include "formats/menu_ini/menu_ini.h"
#include "formats/resource_strings/drc_file.h"
#include "formats/source_kind.h"
#include "support/profile.h"

namespace tov::checks {
namespace {

namespace fs = std::filesystem;
const fs::path kCorpus = TOVRANA_CORPUS_DIR;

struct Row {
    std::string id, base, dest;
};

// The rows of a resource-string base file, with the texts of `destFile`
// merged in by identifier when one is given.
std::vector<Row> drcRows(const fs::path& baseFile, const std::string& destFile = "")
{
    TextGrid work(11, 1);
    EXPECT_TRUE(ReadDrcBase(baseFile.string(), work)) << baseFile;
    if (!destFile.empty()) {
        EXPECT_TRUE(ReadDrcColumn(kDrcDestColumn, (kCorpus / destFile).string(), work)) << destFile;
    }
    std::vector<Row> rows;
    for (int r = 1; r < work.rowCount(); ++r)
        rows.push_back({work.cell(kDrcIdColumn, r), work.cell(kDrcBaseColumn, r), work.cell(kDrcDestColumn, r)});
    return rows;
}

IniDocument iniFile(const fs::path& path)
{
    IniDocument doc;
    EXPECT_TRUE(IniDocument::load(path.string(), doc)) << path;
    return doc;
}

// "ID: code: detail" for each finding; `flagged` counts the rows with one.
std::vector<std::string> findingsOf(const CheckOptions& options, const std::vector<Row>& rows, int* flagged = nullptr)
{
    std::vector<std::string> lines;
    for (const Row& row : rows) {
        const Findings found = checkEntry(options, row.base, row.dest);
        if (flagged && !found.empty()) ++*flagged;
        for (const Finding& f : found) lines.push_back(row.id + ": " + describe(f));
    }
    return lines;
}

TEST(ChecksCorpus, NoTextIsFlaggedAgainstItself)
{
    std::vector<std::string> texts;
    for (const char* folder : {"drc", "rc"})
        for (const auto& e : fs::directory_iterator(kCorpus / folder))
            for (const Row& row : drcRows(e.path())) texts.push_back(row.base);
    for (const auto& e : fs::recursive_directory_iterator(kCorpus / "firmware"))
        if (e.is_regular_file())
            for (const std::string& line : ReadFirmwareFile(e.path().string()).lines) texts.push_back(QuotedText(line));
    for (const auto& e : fs::directory_iterator(kCorpus / "ini")) {
        const IniDocument doc = iniFile(e.path());
        for (const std::string& section : doc.sections())
            for (const std::string& key : doc.keys(section)) texts.push_back(doc.read(section, key));
    }
    ASSERT_GT(texts.size(), 7000u);
    for (std::uint8_t kind : {kGenericDrc, kOrvanta, kMenuIni, kCArrays})
        for (const std::string& t : texts) EXPECT_TRUE(checkEntry(forKind(kind), t, t).empty()) << +kind << ": " << t;
}

TEST(ChecksCorpus, ResourceStringTranslations)
{
    const std::string german = "drc/dmvc_AuthenticateAuthorize_VER240_de.drc";
    struct Case {
        std::string base, dest;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        // The German runtime strings follow the newer English texts: two
        // arguments changed their type and one was added since this base.
        {"drc/dmvc_LuaTestTests_VER230.drc", german,
         {"System_RTLConsts_sObserverNoSinglecastFound: format: argument 0 is %d, base %s",
          "System_RTLConsts_sObserverNoMulticastFound: format: argument 0 is %d, base %s",
          "System_SysConst_SOSError: format: %s (argument 2) not in base"}},
        // A real slip of the translation: a string argument printed as an integer.
        {"drc/dmvc_WebClientSample_VER310_lf.drc", german,
         {"IdResourceStringsCore_RSInterceptCircularLink: format: argument 0 is %d, base %s"}},
        {"rc/lilypad_Ja.rc", "rc/lilypad_Pt.rc", {}},
        {"drc/pyscripter_PyScripter_v1992.drc", "drc/pyscripter_PyScripter_trunk.drc", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(findingsOf(forKind(kGenericDrc), drcRows(kCorpus / c.base, c.dest)), c.expected) << c.base;
}

TEST(ChecksCorpus, MenuLanguagesAgainstEnglish)
{
    // Rows flagged in each language section, in file order after English.
    const std::vector<int> expected = {1, 1, 2, 0, 0, 1, 0, 0, 18, 1, 5, 1, 0, 1,
                                       0, 1, 2, 20, 0, 3, 7, 1, 3, 2, 0, 1, 16, 1};
    const IniDocument doc = iniFile(kCorpus / "ini/regshot_language.ini");
    std::vector<int> flagged;
    std::vector<std::string> czech;
    for (const std::string& language : menu_ini::languageSections(doc)) {
        if (language == "Current" || language == "English") continue;
        std::vector<menu_ini::Row> keys = menu_ini::baseRows(doc, "English");
        menu_ini::loadDestTexts(doc, language, keys);
        std::vector<Row> rows;
        for (const auto& k : keys) rows.push_back({k.key, k.base, k.dest});
        int n = 0;
        const std::vector<std::string> lines = findingsOf(forKind(kMenuIni), rows, &n);
        flagged.push_back(n);
        if (language == "\xC8" "esky") czech = lines;
    }
    EXPECT_EQ(flagged, expected);
    EXPECT_EQ(czech, (std::vector<std::string>{
                         "1: punctuation: dest ends with \"?\", base with \":\"",
                         "3: punctuation: dest ends with \"?\", base with \":\"",
                         "4: punctuation: dest ends with \"?\", base with \":\"",
                         "19: accelerator: \"&\" dest 1, base 0",
                         "20: punctuation: dest ends with \"?\", base with \":\"",
                     }));
}

}  // namespace
}  // namespace tov::checks
