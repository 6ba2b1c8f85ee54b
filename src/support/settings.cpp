#include "support/settings.h"

#include <cstdlib>

#include "support/convert.h"
#include "support/profile.h"

namespace tov {

int heightForSize(int points)
{
    // points * 96 / 72, rounded half away from zero.
    const long long num = static_cast<long long>(points) * 96;
    const long long q = (std::llabs(num) + 36) / 72;
    return static_cast<int>(num < 0 ? q : -q);
}

std::string Settings::read(std::string_view section, std::string_view key) const
{
    return profileRead(path_, section, key);
}

void Settings::write(std::string_view section, std::string_view key, std::string_view value) const
{
    // A settings write that fails is not reported (the next start reads the
    // old value or the default).
    profileWrite(path_, section, key, value);
}

std::uint8_t Settings::sourceKind() const
{
    const std::int32_t v = nonNegativeNumber(read("files", "fm"));
    return v > 255 ? 0 : static_cast<std::uint8_t>(v);
}

void Settings::loadFont(std::string_view section, FontRecord& font) const
{
    IniDocument doc;
    IniDocument::load(path_, doc);
    if (doc.read(section, "Valid") != "1") return;
    font.charset = signedNumber(doc.read(section, "Charset"));
    font.color = hexToColor(doc.read(section, "Color"));
    font.height = signedNumber(doc.read(section, "Height"));
    font.name = doc.read(section, "Name");
    font.pitch = signedNumber(doc.read(section, "Pitch"));
    font.size = nonNegativeNumber(doc.read(section, "Size"));
    // The size is applied after the height, so the stored size decides it.
    font.height = heightForSize(font.size);
    font.bold = doc.read(section, "fsBold") != "0";
    font.italic = doc.read(section, "fsItalic") != "0";
}

void Settings::storeFont(std::string_view section, const FontRecord& font) const
{
    profileEdit(path_, [&](IniDocument& doc) {
        doc.write(section, "Valid", "1");
        doc.write(section, "Charset", std::to_string(font.charset));
        doc.write(section, "Color", colorToHex(font.color));
        doc.write(section, "Height", std::to_string(font.height));
        doc.write(section, "Name", font.name);
        doc.write(section, "Pitch", std::to_string(font.pitch));
        doc.write(section, "Size", std::to_string(font.size));
        doc.write(section, "fsBold", font.bold ? "1" : "0");
        doc.write(section, "fsItalic", font.italic ? "1" : "0");
    });
}

}  // namespace tov
