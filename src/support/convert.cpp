#include "support/convert.h"

#include "version.h"

namespace tov {

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::int32_t signedNumber(std::string_view text)
{
    size_t i = 0;
    const size_t n = text.size();
    while (i < n && text[i] == ' ') ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < n && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i < n && (text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    std::int64_t value = 0;
    const size_t firstDigit = i;
    while (i < n) {
        const int d = base == 16 ? hexDigit(text[i]) : ((text[i] >= '0' && text[i] <= '9') ? text[i] - '0' : -1);
        if (d < 0) break;
        value = value * base + d;
        if (value > 0xFFFFFFFFLL) return 0;  // beyond any 32-bit reading
        ++i;
    }
    if (i == firstDigit) return 0;  // nothing that starts a number
    if (i < n) {
        // Trailing garbage: the digits before it count, without the sign.
        return value > 0x7FFFFFFF ? 0 : static_cast<std::int32_t>(value);
    }
    if (base == 16 && value <= 0xFFFFFFFFLL && value > 0x7FFFFFFF) {
        // Hexadecimal texts may spell a negative 32-bit value ("$FFFFFFFF" = -1).
        value = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    } else if (value > 0x7FFFFFFF + static_cast<std::int64_t>(negative)) {
        return 0;
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

std::int32_t nonNegativeNumber(std::string_view text)
{
    const std::int32_t v = signedNumber(text);
    return v < 0 ? 0 : v;
}

std::string colorToHex(std::uint32_t value)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    do {
        out.insert(out.begin(), digits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    if (out.size() % 2 != 0) out.insert(out.begin(), '0');
    return out;
}

std::uint32_t hexToColor(std::string_view text)
{
    std::uint32_t value = 0;
    int count = 0;
    for (char c : text) {
        const int d = hexDigit(c);
        if (d < 0) continue;
        if (++count >= 8) return 0;
        value = value * 16 + static_cast<std::uint32_t>(d);
    }
    return value;
}

std::string versionText(unsigned major, unsigned minor, unsigned release, unsigned build)
{
    major &= 0xFF;
    minor &= 0xFF;
    release &= 0xFF;
    build &= 0xFF;
    std::string b = std::to_string(build);
    if (b.size() < 3) b.insert(0, 3 - b.size(), '0');
    return std::to_string(major) + "." + std::to_string(minor) + std::to_string(release) + "." + b;
}

std::string programVersionText()
{
    return versionText(TOVRANA_VERSION_MAJOR, TOVRANA_VERSION_MINOR, TOVRANA_VERSION_RELEASE,
                       TOVRANA_VERSION_BUILD);
}

std::string lengthText(std::size_t length)
{
    return " " + std::to_string(length);
}

}  // namespace tov
