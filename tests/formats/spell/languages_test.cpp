// The destination language told by what is open, and the dictionaries found
// for it.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "formats/source_kind.h"
#include "formats/spell/languages.h"
#include "support/temp_folder.h"

namespace tov::spell {
namespace {

TEST(SpellLanguages, GuessedFromWhatIsOpen)
{
    const struct {
        std::uint8_t kind;
        const char* destPath;
        const char* destLanguage;
        const char* language;
    } cases[] = {
        {kOrvanta, "/p/ORVANTA/POL/EDIT.POL", "", "pl"},
        {kQL5, "/p/QL5/OUT/LCD_1.CZE", "", "cs"},
        {kTelmo, "/p/TELMO/GER/Telmo.TXT", "", "de"},  // the folder, when the extension tells nothing
        {kQL10, "/p/QL10/OUT/LCD_1.XYZ", "", ""},
        {kKonfix, "/p/dest/Konfix_pl.drc", "", "pl"},
        {kGenericDrc, "/p/dest/App-de_AT.drc", "", "de"},
        {kGenericDrc, "/p/dest/dmvc_Sample_VER240_de.drc", "", "de"},
        {kGenericDrc, "/p/dest/Konfix.drc", "", ""},
        {kVigrex, "/p/dest/Vigrex_Polski.drc", "", "pl"},
        {kMenuIni, "/p/menu.ini", "Polski", "pl"},
        {kMenuIni, "/p/menu.ini", "DEUTSCH", "de"},
        {kMenuIni, "/p/menu.ini", "English", "en"},
        {kCArrays, "/p/texts.c", "\xC8" "e\x9Atina", "cs"},  // Čeština in Windows-1250
        {kCArrays, "/p/texts.c", "Czech", "cs"},
        {kCArrays, "/p/texts.c", " sk_SK ", "sk"},
        {kCArrays, "/p/texts_pl.c", "Klingon", ""},
        {kNone, "/p/dest/Konfix_pl.drc", "Polski", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(guessDestinationLanguage(c.kind, c.destPath, c.destLanguage), c.language)
            << c.destPath << " " << c.destLanguage;
}

TEST(SpellLanguages, InstalledDictionaries)
{
    testing::TempFolder folder;
    for (const char* name : {"de_AT", "de_DE", "de_DE_frami", "pl_PL", "qq"}) {
        folder.put(std::string(name) + ".aff", "SET UTF-8\n");
        folder.put(std::string(name) + ".dic", "0\n");
    }
    folder.put("cs_CZ.aff", "SET UTF-8\n");  // without its word list
    folder.put("hyph_pl_PL.dic", "");          // no affix file: no dictionary
    const auto list = installedDictionaries(folder.path());
    std::vector<std::string> rows;
    for (const Dictionary& d : list) rows.push_back(d.code + " " + d.language + " " + d.name);
    EXPECT_EQ(rows, (std::vector<std::string>{"de_AT de German (Austria)", "de_DE de German (Germany)",
                                              "de_DE_frami de German (Germany, frami)", "pl_PL pl Polish (Poland)",
                                              "qq qq qq"}));
    EXPECT_EQ(list[3].affixFile, folder / "pl_PL.aff");
    EXPECT_EQ(list[3].wordFile, folder / "pl_PL.dic");

    EXPECT_EQ(dictionaryForLanguage(list, "de")->code, "de_DE");  // the home country's before de_AT
    const std::vector<Dictionary> austrian{list[0]};
    EXPECT_EQ(dictionaryForLanguage(austrian, "de"), &austrian[0]);
    EXPECT_EQ(dictionaryForLanguage(list, "cs"), nullptr);
    EXPECT_EQ(findDictionary(list, "de_DE_frami"), &list[2]);
    EXPECT_EQ(findDictionary(list, "fr_FR"), nullptr);
    EXPECT_TRUE(installedDictionaries(folder / "none").empty());
}

}  // namespace
}  // namespace tov::spell
