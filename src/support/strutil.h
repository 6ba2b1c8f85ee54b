// Small text helpers. Texts are byte strings; lengths and positions count bytes.
#pragma once

#include <string>
#include <string_view>

namespace tov {

// Appends blanks until the text is at least n bytes long.
std::string rightPad(std::string_view text, std::size_t n);
// Removes blanks (byte 32 only) at the end.
std::string trimTrailingSpaces(std::string_view text);
// Removes every byte 0..32 at both ends.
std::string trimControls(std::string_view text);
// Removes blank, tab, CR, LF, 0x0B, 0x0C and 0x1A at both ends (INI rule).
std::string trimIni(std::string_view text);

bool startsWith(std::string_view text, std::string_view prefix);
bool contains(std::string_view text, std::string_view part);

// Well-formed UTF-8 only: no overlong forms, no surrogates, nothing above
// U+10FFFF.
bool isWellFormedUtf8(std::string_view text);

// ASCII letters only; other bytes compare as they are.
bool equalsNoCase(std::string_view a, std::string_view b);
std::string asciiUpper(std::string_view text);
std::string asciiLower(std::string_view text);

// Path helpers on "/"-separated paths.
// Name part after the last "/".
std::string fileNamePart(std::string_view path);
// Folder part up to and including the last "/" (empty when there is none).
std::string folderPart(std::string_view path);
// Extension of the name part from its last "." (with the dot); empty when none.
std::string extensionPart(std::string_view path);
// Name part without its extension: "/x/EDIT.ENG" -> "EDIT".
std::string fileNameWithoutExtension(std::string_view path);
// Replaces the extension of the name part (appends when it has none; an empty
// `ext` removes it). `ext` carries its dot.
std::string changeExtension(std::string_view path, std::string_view ext);

}  // namespace tov
