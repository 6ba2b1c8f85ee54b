// Conversion between the bytes of the files (Windows-1250) and the screen.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace tov {

// Every byte maps to a distinct character, so decode/encode round-trips.
QString decodeBytes(std::string_view bytes);
// A character the code page cannot hold becomes "?".
std::string encodeText(const QString& text);
// The same, but a character the code page cannot hold is left out and added
// to `refused` instead (what the user typed must never turn into "?").
std::string encodeText(const QString& text, QString& refused);

// File names travel as the file system's bytes, not as Windows-1250 texts.
QString pathToQString(const std::string& path);
std::string pathFromQString(const QString& path);

}  // namespace tov
