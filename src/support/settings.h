// The settings file beside the executable ("<executable>.ini"): section
// "files" with the last files, source kind, grid position and language
// choices, sections "bfont" and "dfont" with the two text fonts. Every access
// reads or writes the file at once; a missing file, section or key reads as
// the empty text, and write failures are not reported.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tov {

// A font as the settings file stores it. The design font of the grid:
// "Courier New", height -15 (11 points at 96 dpi), character set 238
// (East European), colour window text ($FF000008), no style.
struct FontRecord {
    int charset = 238;
    std::uint32_t color = 0xFF000008u;
    int height = -15;
    std::string name = "Courier New";
    int pitch = 0;  // 0 default, 1 variable, 2 fixed
    int size = 11;
    bool bold = false;
    bool italic = false;

    bool operator==(const FontRecord&) const = default;
};

// Font height of a point size at 96 dots per inch (negative: character height).
int heightForSize(int points);

class Settings {
public:
    explicit Settings(std::string iniPath) : path_(std::move(iniPath)) {}
    const std::string& path() const { return path_; }

    std::string read(std::string_view section, std::string_view key) const;
    void write(std::string_view section, std::string_view key, std::string_view value) const;

    // Section "files" shortcuts.
    std::string file(std::string_view key) const { return read("files", key); }
    void setFile(std::string_view key, std::string_view value) const { write("files", key, value); }

    // The source kind of key "fm": 0 when missing, not a number or above 255.
    std::uint8_t sourceKind() const;

    // Changes `font` only when the section's "Valid" is exactly "1".
    void loadFont(std::string_view section, FontRecord& font) const;
    // Writes Valid, Charset, Color, Height, Name, Pitch, Size, fsBold, fsItalic.
    void storeFont(std::string_view section, const FontRecord& font) const;

private:
    std::string path_;
};

}  // namespace tov
