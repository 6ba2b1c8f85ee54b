// The Windows-1250 code page: every one of the 256 bytes maps to a distinct
// Unicode character (the five bytes the code page leaves unassigned map to
// the C1 control characters of the same value), so that any file round-trips
// through the screen.
#pragma once

#include <string>
#include <string_view>

namespace tov::cp1250 {

char16_t toUnicode(unsigned char byte);
// The byte of a character, or -1 when the code page cannot hold it.
int fromUnicode(char16_t ch);

// Upper case of a byte for the letters of the code page (ASCII and the
// accented letters, Polish ą ć ę ł ń ó ś ź ż among them).
unsigned char upper(unsigned char byte);
std::string upper(std::string_view text);

}  // namespace tov::cp1250
