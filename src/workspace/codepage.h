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

// File names travel as the file system's bytes, not as Windows-1250 texts.
QString pathToQString(const std::string& path);
std::string pathFromQString(const QString& path);

}  // namespace tov
