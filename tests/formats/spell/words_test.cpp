// The words a text offers to the dictionary, and what is left out as no
// language. Texts are Windows-1250 bytes.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "formats/spell/words.h"

namespace tov::spell {
namespace {

// The words of a text, "|" between them.
std::string wordsOf(const std::string& text)
{
    std::string out;
    for (const WordSpan& span : splitWords(text)) out += (out.empty() ? "" : "|") + wordAt(text, span);
    return out;
}

TEST(SpellWords, WhatIsAWord)
{
    const struct {
        const char* text;
        const char* words;
    } cases[] = {
        // Accelerators belong to their word; "&&" is an ampersand.
        {"Otw\xF3rz &Plik...", "Otw\xF3rz|Plik"},
        {"Zapi&sz zmiany", "Zapisz|zmiany"},
        {"Save && exit &", "Save|exit"},
        // Conversions of both notations; a "%" before a blank is a percent sign.
        {"Warto\x9C\xE6 %d z %s", "Warto\x9C\xE6"},
        {"Plik %0:s nie istnieje", "Plik|nie|istnieje"},
        {"%-8.2f%% gotowe, %1$s ma %2$ld lat, %.*s", "gotowe|ma|lat"},
        {"10% rabatu", "rabatu"},
        {"Nazwa%sPliku", "Nazwa|Pliku"},
        // Escapes end words; "\\" marks a path.
        {"Wiersz\\nDrugi\\tkoniec\\x1Bnowy\\101ala", "Wiersz|Drugi|koniec|nowy|ala"},
        {"Zapisz w C:\\\\Temp\\\\plik.txt", "Zapisz"},
        {"Folder\\", "Folder"},
        // A numeric escape of a letter is that letter: "\x00f6" a character, "\xB9" a byte.
        {"Ung\\x00fcltige L\\x00e4nge, wi\\xB9\\x7A, \\x00a0Tab\\\\x41", "Ung\xFCltige|L\xE4nge|wi\xB9z"},
        // File names, paths, addresses.
        {"Plik EDIT.ENG lub config.ini albo .bashrc", "Plik|lub|albo"},
        {"Zobacz /usr/share/doc oraz ~/demo i ./demo", "Zobacz|oraz"},
        {"Strona www.example.com, https://x.pl/a lub biuro@firma.pl", "Strona|lub"},
        {"Tak/Nie", "Tak|Nie"},
        // Identifiers, expressions, ALL-CAPS tokens, digits, single letters.
        {"Ustaw file_name lub fileName, Ctrl+S, a::b, run() i $HOME #define", "Ustaw|lub"},
        {"Port USB i LCD: OK, USB-C", "Port"},
        {"Model MP3 2-gi 3x 1,5 V", "Model"},
        // Letters of the code page; inner hyphens and apostrophes.
        {"\xA3\xF3\x64\x9F \xAF\xD3\xA3W \xBF\xF3\xB3w", "\xA3\xF3\x64\x9F|\xBF\xF3\xB3w"},
        {"e-mail, don't, O\x92Neil, -- koniec --, 'cytat'", "e-mail|don't|O\x92Neil|koniec|cytat"},
        {"\x84" "Cytat\x94 (nawias) \xABtekst\xBB: Uwaga:", "Cytat|nawias|tekst|Uwaga"},
        {"   \t\r\n", ""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(wordsOf(c.text), c.words) << c.text;
}

TEST(SpellWords, SpansCoverTheWordAsWritten)
{
    EXPECT_EQ(splitWords("Otw\xF3rz &Plik"), (std::vector<WordSpan>{{0, 6}, {7, 5}}));
    EXPECT_EQ(splitWords("%s: Zapi&sz."), (std::vector<WordSpan>{{4, 7}}));
    EXPECT_EQ(splitWords("Gr\\x00f6\\x00dfe x"), (std::vector<WordSpan>{{0, 15}}));
}

TEST(SpellWords, ReplacementKeepsTheAccelerator)
{
    const struct {
        const char* text;
        WordSpan span;
        const char* replacement;
        const char* expected;
    } cases[] = {
        {"&Plok x", {0, 5}, "Plik", "&Plik x"},
        {"x Pl&ok", {2, 5}, "Plik", "x Pl&ik"},
        {"Zapisz&e", {0, 8}, "Zapis", "&Zapis"},  // the replacement is too short for its place
        {"&Ot&worz", {0, 8}, "Otw\xF3rz", "&Ot&w\xF3rz"},
        {"a plok b", {2, 4}, "plik", "a plik b"},
        {"\\x00d6&ffnen", {0, 12}, "\xD6\x66\x66nen", "\xD6&ffnen"},
    };
    for (const auto& c : cases) EXPECT_EQ(replaceWord(c.text, c.span, c.replacement), c.expected) << c.text;
}

}  // namespace
}  // namespace tov::spell
