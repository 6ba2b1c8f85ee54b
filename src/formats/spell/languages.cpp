#include "formats/spell/languages.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "formats/source_kind.h"
#include "support/cp1250.h"
#include "support/files.h"
#include "support/strutil.h"

namespace tov::spell {
namespace {

struct LanguageRow {
    const char* code;
    const char* english;
    const char* home;   // the country whose dictionary is taken first
    const char* names;  // UTF-8, "|" between them: own name, names in neighbour
                        // languages, firmware and Windows three-letter codes
};

// The languages of Europe that Windows-1250 writes or that a product family
// ships beside them. A three-letter code that stands for two languages
// ("SLO": Slovak or Slovenian?) is left out.
constexpr LanguageRow kLanguages[] = {
    {"pl", "Polish", "PL", "Polski|Polska|Polnisch|Polština|POL|PLK"},
    {"en", "English", "US", "Angielski|Englisch|Angličtina|ENG|ENU"},
    {"de", "German", "DE", "Deutsch|Niemiecki|Němčina|GER|DEU|DEA|DES"},
    {"cs", "Czech", "CZ", "Čeština|Cestina|Česky|Cesky|Czeski|Tschechisch|CZE|CES|CSY|CZ"},
    {"sk", "Slovak", "SK", "Slovenčina|Slovencina|Slovensky|Słowacki|Slowakisch|SLK|SKY|SVK"},
    {"sl", "Slovenian", "SI", "Slovene|Slovenščina|Slovenscina|Słoweński|Slowenisch|SLV"},
    {"hu", "Hungarian", "HU", "Magyar|Węgierski|Ungarisch|HUN"},
    {"ro", "Romanian", "RO", "Română|Romana|Rumuński|Rumänisch|ROM|RON|ROU"},
    {"hr", "Croatian", "HR", "Hrvatski|Chorwacki|Kroatisch|HRV|CRO"},
    {"bs", "Bosnian", "BA", "Bosanski|BOS"},
    {"sr", "Serbian", "RS", "Srpski|SRP|SRB"},
    {"sq", "Albanian", "AL", "Shqip|SQI|ALB"},
    {"fr", "French", "FR", "Français|Francais|Francuski|Französisch|FRA|FRE"},
    {"es", "Spanish", "ES", "Espanol|Hiszpański|Spanisch|SPA|ESP|ESN"},
    {"it", "Italian", "IT", "Italiano|Włoski|Italienisch|ITA"},
    {"pt", "Portuguese", "PT", "Portugues|Portugalski|Portugiesisch|POR|PTG|PTB"},
    {"nl", "Dutch", "NL", "Nederlands|Holenderski|Niederländisch|NLD|DUT"},
    {"sv", "Swedish", "SE", "Svenska|Szwedzki|Schwedisch|SWE|SVE"},
    {"da", "Danish", "DK", "Dansk|Duński|Dänisch|DAN"},
    {"nb", "Norwegian", "NO", "Norsk|Norweski|Norwegisch|NOR|NOB"},
    {"fi", "Finnish", "FI", "Suomi|Fiński|Finnisch|FIN"},
    {"et", "Estonian", "EE", "Eesti|EST|ETI"},
    {"lv", "Latvian", "LV", "Latviešu|LAV|LVI"},
    {"lt", "Lithuanian", "LT", "Lietuviu|LIT|LTH"},
    {"tr", "Turkish", "TR", "Türkçe|Turkce|Turecki|Türkisch|TUR|TRK"},
    {"ru", "Russian", "RU", "Rosyjski|Russisch|RUS"},
    {"uk", "Ukrainian", "UA", "Ukraiński|UKR"},
    {"bg", "Bulgarian", "BG", "Bułgarski|BUL|BGR"},
    {"el", "Greek", "GR", "Grecki|Griechisch|ELL|GRE"},
};

constexpr std::pair<const char*, const char*> kCountries[] = {
    {"AL", "Albania"},        {"AR", "Argentina"},     {"AT", "Austria"},      {"AU", "Australia"},
    {"BA", "Bosnia"},         {"BE", "Belgium"},       {"BG", "Bulgaria"},     {"BR", "Brazil"},
    {"CA", "Canada"},         {"CH", "Switzerland"},   {"CZ", "Czechia"},      {"DE", "Germany"},
    {"DK", "Denmark"},        {"EE", "Estonia"},       {"ES", "Spain"},        {"FI", "Finland"},
    {"FR", "France"},         {"GB", "United Kingdom"}, {"GR", "Greece"},      {"HR", "Croatia"},
    {"HU", "Hungary"},        {"IE", "Ireland"},       {"IN", "India"},        {"IT", "Italy"},
    {"LI", "Liechtenstein"},  {"LT", "Lithuania"},     {"LU", "Luxembourg"},   {"LV", "Latvia"},
    {"MX", "Mexico"},         {"NL", "Netherlands"},   {"NO", "Norway"},       {"NZ", "New Zealand"},
    {"PL", "Poland"},         {"PT", "Portugal"},      {"RO", "Romania"},      {"RS", "Serbia"},
    {"RU", "Russia"},         {"SE", "Sweden"},        {"SI", "Slovenia"},     {"SK", "Slovakia"},
    {"TR", "Turkey"},         {"UA", "Ukraine"},       {"US", "United States"}, {"ZA", "South Africa"},
};

const LanguageRow* rowOf(std::string_view code)
{
    for (const LanguageRow& row : kLanguages)
        if (code == row.code) return &row;
    return nullptr;
}

// Every name of every language, upper-cased in Windows-1250, with its code.
// A name the code page cannot write is left out.
std::vector<std::pair<std::string, const char*>> makeNames()
{
    std::vector<std::pair<std::string, const char*>> names;
    for (const LanguageRow& row : kLanguages) {
        std::string all = std::string(row.code) + "|" + row.english + "|" + row.names;
        for (std::size_t b = 0; b <= all.size();) {
            const std::size_t e = std::min(all.find('|', b), all.size());
            std::string bytes;
            std::vector<char32_t> unheld;
            if (cp1250::fromUtf8(std::string_view(all).substr(b, e - b), bytes, unheld) && unheld.empty())
                names.emplace_back(cp1250::upper(bytes), row.code);
            b = e + 1;
        }
    }
    return names;
}

std::string codeOfName(std::string_view name)
{
    static const auto names = makeNames();
    const std::string key = cp1250::upper(name);
    for (const auto& [n, code] : names)
        if (n == key) return code;
    return {};
}

// Splits at "_" and "-": "App_de_AT" -> App, de, AT.
std::vector<std::string_view> parts(std::string_view s)
{
    std::vector<std::string_view> out;
    for (std::size_t b = 0; b <= s.size();) {
        const std::size_t e = std::min(s.find_first_of("_-", b), s.size());
        out.push_back(s.substr(b, e - b));
        b = e + 1;
    }
    return out;
}

bool isCountry(std::string_view s)
{
    return s.size() == 2 && std::all_of(s.begin(), s.end(), [](char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; });
}

std::string_view countryName(std::string_view code)
{
    for (const auto& [c, name] : kCountries)
        if (code == c) return name;
    return code;
}

}  // namespace

std::string languageOfName(std::string_view name)
{
    const std::string trimmed = trimControls(name);
    if (trimmed.empty()) return {};
    if (std::string code = codeOfName(trimmed); !code.empty()) return code;
    // A locale: "pl_PL", "de-AT".
    const auto p = parts(trimmed);
    if (p.size() == 2 && p[0].size() == 2 && isCountry(p[1])) {
        const std::string code = asciiLower(p[0]);
        if (rowOf(code)) return code;
    }
    return {};
}

std::string_view languageName(std::string_view code)
{
    const LanguageRow* row = rowOf(code);
    return row ? row->english : std::string_view();
}

std::string guessDestinationLanguage(std::uint8_t kind, std::string_view destPath, std::string_view destLanguage)
{
    if (kind == kMenuIni || kind == kCArrays) return languageOfName(destLanguage);
    if (isFirmwareKind(kind)) {
        std::string ext = extensionPart(destPath);
        if (!ext.empty()) ext.erase(0, 1);
        if (std::string code = languageOfName(ext); !code.empty()) return code;
        const std::string folder = folderPart(destPath);
        return folder.empty() ? std::string() : languageOfName(fileNamePart(folder.substr(0, folder.size() - 1)));
    }
    if (isResourceStringKind(kind)) {
        const std::string name = fileNameWithoutExtension(destPath);
        const auto p = parts(name);
        if (p.size() < 2) return {};
        // "_pl" or "_pl_PL" at the end of the name.
        if (std::string code = languageOfName(p.back()); !code.empty()) return code;
        if (p.size() >= 3 && isCountry(p.back())) return languageOfName(p[p.size() - 2]);
    }
    return {};
}

std::vector<Dictionary> installedDictionaries(std::string_view folder)
{
    std::string dir(folder);
    if (!dir.empty() && dir.back() != '/') dir += '/';
    std::vector<Dictionary> out;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string file = it->path().filename().string();
        if (file.size() <= 4 || !file.ends_with(".aff")) continue;
        Dictionary d;
        d.code = file.substr(0, file.size() - 4);
        d.affixFile = dir + file;
        d.wordFile = dir + d.code + ".dic";
        if (!fileExists(d.affixFile) || !fileExists(d.wordFile)) continue;
        const auto p = parts(d.code);
        d.language = asciiLower(p[0]);
        const std::string_view language = languageName(d.language);
        d.name = language.empty() ? d.code : std::string(language);
        std::string detail;
        for (std::size_t i = 1; i < p.size(); ++i) {
            if (!detail.empty()) detail += ", ";
            detail += i == 1 && isCountry(p[i]) ? countryName(p[i]) : p[i];
        }
        if (!detail.empty()) d.name += " (" + detail + ")";
        out.push_back(std::move(d));
    }
    std::sort(out.begin(), out.end(), [](const Dictionary& a, const Dictionary& b) { return a.code < b.code; });
    return out;
}

const Dictionary* dictionaryForLanguage(const std::vector<Dictionary>& dictionaries, std::string_view language)
{
    const Dictionary* first = nullptr;
    const LanguageRow* row = rowOf(language);
    for (const Dictionary& d : dictionaries) {
        if (d.language != language) continue;
        if (row && d.code == std::string(row->code) + "_" + row->home) return &d;
        if (!first) first = &d;
    }
    return first;
}

const Dictionary* findDictionary(const std::vector<Dictionary>& dictionaries, std::string_view code)
{
    for (const Dictionary& d : dictionaries)
        if (d.code == code) return &d;
    return nullptr;
}

}  // namespace tov::spell
