#include "support/cp1250.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace tov::cp1250 {

namespace {

// Characters of the bytes 0x80..0xFF. The five bytes without a character
// (0x81, 0x83, 0x88, 0x90, 0x98) keep their own value as a C1 control.
constexpr std::array<char16_t, 128> kHigh = {
    // 0x80
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021,
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    // 0x90
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    // 0xA0
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    // 0xB0
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    // 0xC0
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    // 0xD0
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    // 0xE0
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    // 0xF0
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

// (character, byte) for the high half, sorted by character.
using Reverse = std::array<std::pair<char16_t, unsigned char>, 128>;

Reverse makeReverse()
{
    Reverse r {};
    for (size_t i = 0; i < kHigh.size(); ++i) r[i] = {kHigh[i], static_cast<unsigned char>(0x80 + i)};
    std::sort(r.begin(), r.end());
    return r;
}

const Reverse& reverseTable()
{
    static const Reverse table = makeReverse();
    return table;
}

// Upper case of every byte: ASCII letters, and the lower-case letters of the
// code page whose capital the code page also holds. ß, µ and the accents
// standing alone have no capital here and stay as they are.
std::array<unsigned char, 256> makeUpper()
{
    std::array<unsigned char, 256> u {};
    for (int b = 0; b < 256; ++b) u[static_cast<size_t>(b)] = static_cast<unsigned char>(b);
    for (int b = 'a'; b <= 'z'; ++b) u[static_cast<size_t>(b)] = static_cast<unsigned char>(b - 32);
    const std::pair<unsigned char, unsigned char> pairs[] = {
        {0x9A, 0x8A},  // š Š
        {0x9C, 0x8C},  // ś Ś
        {0x9D, 0x8D},  // ť Ť
        {0x9E, 0x8E},  // ž Ž
        {0x9F, 0x8F},  // ź Ź
        {0xB3, 0xA3},  // ł Ł
        {0xB9, 0xA5},  // ą Ą
        {0xBA, 0xAA},  // ş Ş
        {0xBE, 0xBC},  // ľ Ľ
        {0xBF, 0xAF},  // ż Ż
    };
    for (const auto& [lower, upper] : pairs) u[lower] = upper;
    // 0xE0..0xFE mirror 0xC0..0xDE, except the division sign (0xF7).
    for (int b = 0xE0; b <= 0xFE; ++b)
        if (b != 0xF7) u[static_cast<size_t>(b)] = static_cast<unsigned char>(b - 0x20);
    return u;
}

const std::array<unsigned char, 256>& upperTable()
{
    static const std::array<unsigned char, 256> table = makeUpper();
    return table;
}

// The UTF-8 bytes of the character of every byte of the high half (two or
// three bytes; the first byte of the entry is the length).
using Utf8High = std::array<std::array<char, 4>, 128>;

Utf8High makeUtf8High()
{
    Utf8High t {};
    for (size_t i = 0; i < kHigh.size(); ++i) {
        const char16_t c = kHigh[i];
        auto& e = t[i];
        if (c < 0x800) {
            e = {2, static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F)), 0};
        } else {
            e = {3, static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                 static_cast<char>(0x80 | (c & 0x3F))};
        }
    }
    return t;
}

const Utf8High& utf8High()
{
    static const Utf8High table = makeUtf8High();
    return table;
}

// The next character of well-formed UTF-8 at s[i] (advancing i), or -1 for
// a malformed sequence: a stray continuation byte, a truncated sequence, an
// overlong form, a surrogate or a value beyond U+10FFFF.
long nextCodePoint(std::string_view s, size_t& i)
{
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b0 = byte(i);
    int extra;
    char32_t c;
    if (b0 < 0x80) {
        ++i;
        return b0;
    } else if (b0 >= 0xC2 && b0 <= 0xDF) {
        extra = 1;
        c = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        extra = 2;
        c = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        extra = 3;
        c = b0 & 0x07;
    } else {
        return -1;
    }
    if (s.size() - i <= static_cast<size_t>(extra)) return -1;
    for (int k = 1; k <= extra; ++k) {
        const unsigned char b = byte(i + k);
        if ((b & 0xC0) != 0x80) return -1;
        c = (c << 6) | (b & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (c < kMin[extra] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return -1;
    i += static_cast<size_t>(extra) + 1;
    return static_cast<long>(c);
}

}  // namespace

std::string toUtf8(std::string_view bytes)
{
    const Utf8High& high = utf8High();
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80) {
            out.push_back(ch);
        } else {
            const auto& e = high[b - 0x80u];
            out.append(e.data() + 1, static_cast<size_t>(e[0]));
        }
    }
    return out;
}

bool fromUtf8(std::string_view utf8, std::string& out, std::vector<char32_t>& unheld)
{
    out.clear();
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out.push_back(static_cast<char>(b));
            ++i;
            continue;
        }
        const long c = nextCodePoint(utf8, i);
        if (c < 0) return false;
        const int byte = c <= 0xFFFF ? fromUnicode(static_cast<char16_t>(c)) : -1;
        if (byte >= 0) {
            out.push_back(static_cast<char>(byte));
        } else if (std::find(unheld.begin(), unheld.end(), static_cast<char32_t>(c)) == unheld.end()) {
            unheld.push_back(static_cast<char32_t>(c));
        }
    }
    return true;
}

char16_t toUnicode(unsigned char byte)
{
    return byte < 0x80 ? static_cast<char16_t>(byte) : kHigh[byte - 0x80u];
}

int fromUnicode(char16_t ch)
{
    if (ch < 0x80) return ch;
    const Reverse& r = reverseTable();
    const auto it = std::lower_bound(r.begin(), r.end(), ch,
                                     [](const std::pair<char16_t, unsigned char>& e, char16_t c) {
                                         return e.first < c;
                                     });
    if (it == r.end() || it->first != ch) return -1;
    return it->second;
}

unsigned char upper(unsigned char byte)
{
    return upperTable()[byte];
}

std::string upper(std::string_view text)
{
    const auto& table = upperTable();
    std::string out(text);
    for (char& c : out) c = static_cast<char>(table[static_cast<unsigned char>(c)]);
    return out;
}

}  // namespace tov::cp1250
