// Languages by the names the files give them, and the installed
// dictionaries that check them.
//
// A language is known by its ISO 639-1 code ("pl"). The files name it in many
// ways: a menu INI section or a C language name ("Polski", "Deutsch",
// "Czech", "Čeština" in Windows-1250), a firmware language folder or file
// extension ("POL", "GER", "CZE"), a suffix of a resource-string file name
// ("Konfix_pl.drc"). A dictionary is a pair of files NAME.aff and NAME.dic,
// NAME being a locale such as "pl_PL" or "de_DE".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tov::spell {

// The code of a language named in a file (Windows-1250 bytes, case and the
// blanks around it ignored): its English or its own name, a two- or
// three-letter code, or a locale ("pl_PL", "de-AT"). Empty when unknown.
std::string languageOfName(std::string_view name);

// The English name of a language code ("Polish"), or empty when unknown.
std::string_view languageName(std::string_view code);

// The language of the destination texts as far as what is open tells it,
// or empty:
//   firmware kinds      the extension of the destination file ("EDIT.POL"),
//                       else the name of its folder ("POL/")
//   resource strings    the last part of the file name after "_" or "-"
//                       ("Konfix_pl.drc", "App_de_AT.drc")
//   menu INI, C arrays  the destination language's name ("Polski")
// `destPath` is the destination file (for a firmware set, any file of it);
// `destLanguage` the name of the destination language of a file holding
// every language.
std::string guessDestinationLanguage(std::uint8_t kind, std::string_view destPath, std::string_view destLanguage);

struct Dictionary {
    std::string code;      // the name of its files: "pl_PL"
    std::string language;  // "pl"
    std::string name;      // for a menu: "Polish (Poland)"
    std::string affixFile, wordFile;  // full paths of NAME.aff and NAME.dic
};

// Where Debian's dictionary packages (hunspell-pl, hunspell-de-de, ...) put
// their files.
inline constexpr std::string_view kSystemDictionaryFolder = "/usr/share/hunspell/";

// Every dictionary of `folder` (with or without its closing "/") that has
// both files readable, sorted by code.
std::vector<Dictionary> installedDictionaries(std::string_view folder = kSystemDictionaryFolder);

// The dictionary for a language: the one of its home country ("pl_PL",
// "de_DE", "cs_CZ", "en_US"), else the first in the list; null when none
// checks the language.
const Dictionary* dictionaryForLanguage(const std::vector<Dictionary>& dictionaries, std::string_view language);

// The dictionary of a code as stored in the settings ("pl_PL"), or null.
const Dictionary* findDictionary(const std::vector<Dictionary>& dictionaries, std::string_view code);

}  // namespace tov::spell
