// The Windows-1250 code page: every one of the 256 bytes maps to a distinct
// Unicode character (the five bytes the code page leaves unassigned map to
// the C1 control characters of the same value), so that any file round-trips
// through the screen.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tov::cp1250 {

char16_t toUnicode(unsigned char byte);
// The byte of a character, or -1 when the code page cannot hold it.
int fromUnicode(char16_t ch);

// Upper case of a byte for the letters of the code page (ASCII and the
// accented letters, Polish ą ć ę ł ń ó ś ź ż among them).
unsigned char upper(unsigned char byte);
std::string upper(std::string_view text);

// A text of the code page in UTF-8. Every byte has its character, so the
// way back (fromUtf8) gives the same bytes.
std::string toUtf8(std::string_view bytes);

// A UTF-8 text in the code page: false when `utf8` is not well-formed UTF-8.
// A character the code page cannot hold is never replaced: it is left out of
// `out` and listed in `unheld` (each character once, in order of first
// appearance), so that a caller can refuse the text and name the character.
bool fromUtf8(std::string_view utf8, std::string& out, std::vector<char32_t>& unheld);

}  // namespace tov::cp1250
