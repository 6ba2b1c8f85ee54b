// The words of a translated text that a dictionary can judge.
//
// A text holds more than language: the conversions a format function reads
// ("%d", "%-8.2f", "%0:s"), backslash escapes ("\n", "\x1B"), identifiers
// ("file_name", "fileName", "Ctrl+S"), file names and paths ("EDIT.ENG",
// "C:\\Temp", "/usr/share"), addresses ("www.example.com", "a@b.pl"),
// numbers and tokens holding digits ("MP3", "2nd"), and ALL-CAPS tokens
// ("USB", "ENTER"), which on a display are as often codes as words. None of
// these is a word here. A word is a run of letters of the Windows-1250 code
// page with inner hyphens and apostrophes ("e-mail", "don't"), of at least
// two letters; a menu accelerator inside it belongs to it: "&Plik" is the
// word "Plik", its span covering the "&" as well.
//
// The splitter is a pure function of the bytes: it allocates nothing beyond
// the list it fills and may be called from any thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tov::spell {

// Where a word stands in its text, in bytes. The span covers the word as
// written, accelerator "&" included.
struct WordSpan {
    std::uint32_t start = 0;
    std::uint32_t length = 0;
    bool operator==(const WordSpan&) const = default;
};

// Fills `out` (cleared first) with the words of `text`, in text order.
void splitWords(std::string_view text, std::vector<WordSpan>& out);

inline std::vector<WordSpan> splitWords(std::string_view text)
{
    std::vector<WordSpan> out;
    splitWords(text, out);
    return out;
}

// The word a span of `text` stands for: its bytes without the accelerator
// "&" ("&Plik" gives "Plik").
std::string wordAt(std::string_view text, WordSpan span);

// `text` with the word at `span` replaced by `replacement` (a suggestion):
// each accelerator "&" of the word stays before the same letter of the
// replacement, or before its first letter when the replacement is shorter.
std::string replaceWord(std::string_view text, WordSpan span, std::string_view replacement);

// Letters of the Windows-1250 code page (ASCII and the accented letters).
bool isLetter(unsigned char byte);
bool isUpperLetter(unsigned char byte);

}  // namespace tov::spell
