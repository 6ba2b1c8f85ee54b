#include "support/strutil.h"

#include <cstdint>
#include <cstring>

#include <algorithm>

namespace tov {

std::string rightPad(std::string_view text, std::size_t n)
{
    std::string out(text);
    if (out.size() < n) out.append(n - out.size(), ' ');
    return out;
}

std::string trimTrailingSpaces(std::string_view text)
{
    size_t end = text.size();
    while (end > 0 && text[end - 1] == ' ') --end;
    return std::string(text.substr(0, end));
}

namespace {
template <class Pred>
std::string trimBoth(std::string_view text, Pred isBlank)
{
    size_t b = 0, e = text.size();
    while (b < e && isBlank(static_cast<unsigned char>(text[b]))) ++b;
    while (e > b && isBlank(static_cast<unsigned char>(text[e - 1]))) --e;
    return std::string(text.substr(b, e - b));
}
}  // namespace

std::string trimControls(std::string_view text)
{
    return trimBoth(text, [](unsigned char c) { return c <= 32; });
}

std::string trimIni(std::string_view text)
{
    return trimBoth(text, [](unsigned char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == 0x0B || c == 0x0C || c == 0x1A;
    });
}

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

bool contains(std::string_view text, std::string_view part)
{
    return text.find(part) != std::string_view::npos;
}

namespace {
char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
}  // namespace

bool equalsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

std::string asciiUpper(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), upperAscii);
    return out;
}

std::string asciiLower(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), lowerAscii);
    return out;
}

std::string fileNamePart(std::string_view path)
{
    const size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string folderPart(std::string_view path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string extensionPart(std::string_view path)
{
    const std::string name = fileNamePart(path);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string fileNameWithoutExtension(std::string_view path)
{
    std::string name = fileNamePart(path);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    return name;
}

std::string changeExtension(std::string_view path, std::string_view ext)
{
    const std::string folder = folderPart(path);
    return folder + fileNameWithoutExtension(path) + std::string(ext);
}

bool isWellFormedUtf8(std::string_view s)
{
    for (size_t i = 0; i < s.size();) {
        // Runs of ASCII, eight bytes at a time.
        std::uint64_t eight = 0;
        if (i + 8 <= s.size() && (std::memcpy(&eight, s.data() + i, 8), (eight & 0x8080808080808080u) == 0)) {
            i += 8;
            continue;
        }
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        const size_t n = (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        char32_t c = b & (0x7F >> n);
        for (size_t k = 1; k < n; ++k) {
            const auto t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xC0) != 0x80) return false;
            c = (c << 6) | (t & 0x3F);
        }
        const char32_t smallest = n == 2 ? 0x80 : n == 3 ? 0x800 : 0x10000;
        if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
        i += n;
    }
    return true;
}

}  // namespace tov
