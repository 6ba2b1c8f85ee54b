// Polish destination texts as translations hold them, for the spelling
// benchmarks: menu entries with accelerators, messages with conversions and
// escapes, display texts with units and codes, a product name the dictionary
// lacks; every row differs by its number.
#pragma once

#include <iterator>
#include <string>
#include <vector>

namespace tov::bench {

inline std::vector<std::string> polishRows(int count, int salt)
{
    static const char* const kTexts[] = {
        "&Otw\xF3rz plik docelowy...",
        "Zapisa\xE6 zmiany w pliku %s?",
        "B\xB3\xB9\x64 zapisu pliku EDIT.POL: brak miejsca na dysku",
        "Warto\x9C\xE6 %d z %s dla kana\xB3u",
        "Wiersz %0:s\\nDrugi wiersz\\t(tab)",
        "Temperatura zadana: %5.1f \xB0\x43",
        "Po\xB3\xB9\x63zenie z urz\xB9\x64zeniem przez port USB",
        "Konfix - konfiguracja sterownika",
        "Nie mo\xBFna odczyta\xE6 ustawie\xF1 z pliku config.ini",
        "Czy na pewno usun\xB9\xE6 zaznaczone elementy?",
        "Zako\xF1\x63z prac\xEA programu",
        "Trwa aktualizacja oprogramowania, prosz\xEA czeka\xE6",
    };
    std::vector<std::string> rows;
    rows.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        rows.push_back(std::string(kTexts[i % std::size(kTexts)]) + " " + std::to_string(salt * count + i));
    return rows;
}

}  // namespace tov::bench
