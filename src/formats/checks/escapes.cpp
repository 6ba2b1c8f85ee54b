// Backslash escapes: how often each one stands in either text.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "formats/checks/check_parts.h"

namespace tov::checks {
namespace {

constexpr std::size_t npos = std::string_view::npos;

// An escape is known by what it stands for: the byte after the backslash for
// "\n", "\\" and the like (unknown ones too), kNumeric + the value for octal
// and hex escapes, so that "\033" and "\x1B" are one escape.
constexpr std::uint32_t kNumeric = 0x100;
constexpr std::uint32_t kMaxValue = 0xFFFFFF;

bool isOctal(char c) { return c >= '0' && c <= '7'; }

int hexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

struct EscapeCounts {
    std::vector<std::pair<std::uint32_t, int>> counts;  // escape, times; in order of first appearance
    bool lonelyEnd = false;  // ends in a backslash that escapes nothing

    int count(std::uint32_t escape) const
    {
        for (const auto& [e, n] : counts)
            if (e == escape) return n;
        return 0;
    }
    void add(std::uint32_t escape)
    {
        for (auto& [e, n] : counts)
            if (e == escape) {
                ++n;
                return;
            }
        counts.emplace_back(escape, 1);
    }
};

void countEscapes(EscapeNotation notation, std::string_view s, EscapeCounts& r)
{
    r.counts.clear();
    r.lonelyEnd = false;
    // Resource-string files write "\x" with at most four hex digits; C takes all.
    const std::size_t maxHexDigits = notation == EscapeNotation::C ? npos : 4;
    for (std::size_t i = s.find('\\'); i != npos;) {
        if (i + 1 == s.size()) {
            r.lonelyEnd = true;
            break;
        }
        const char c = s[i + 1];
        std::size_t p = i + 2;
        std::uint32_t escape = static_cast<unsigned char>(c);
        if (isOctal(c)) {
            std::uint32_t v = c - '0';
            for (int digits = 1; digits < 3 && p < s.size() && isOctal(s[p]); ++digits, ++p) v = v * 8 + (s[p] - '0');
            escape = kNumeric + v;
        } else if (c == 'x' && p < s.size() && hexValue(s[p]) >= 0) {
            std::uint32_t v = 0;
            for (std::size_t digits = 0; digits < maxHexDigits && p < s.size() && hexValue(s[p]) >= 0; ++digits, ++p)
                v = std::min<std::uint32_t>(v * 16 + hexValue(s[p]), kMaxValue);
            escape = kNumeric + v;
        }
        // A numeric escape of a character is only a way of writing it.
        if (!(notation == EscapeNotation::ResourceString && escape >= kNumeric + 0x20)) r.add(escape);
        i = s.find('\\', p);
    }
}

std::string escapeName(std::uint32_t escape)
{
    if (escape < kNumeric) return std::string{'\\', static_cast<char>(escape)};
    char buf[16];
    std::snprintf(buf, sizeof buf, escape - kNumeric < 0x100 ? "\\x%02X" : "\\x%04X", escape - kNumeric);
    return buf;
}

}  // namespace

void checkEscapes(EscapeNotation notation, std::string_view base, std::string_view dest, Findings& out)
{
    if (notation == EscapeNotation::None) return;
    const bool baseHasEscapes = base.find('\\') != npos;
    if (!baseHasEscapes && dest.back() != '\\') return;

    // Scratch counts, kept from entry to entry (no allocation for each row).
    thread_local EscapeCounts b, d;
    countEscapes(notation, baseHasEscapes ? base : std::string_view(), b);
    countEscapes(notation, dest, d);
    Differences differences;
    if (d.lonelyEnd && !b.lonelyEnd) differences.add("a lone \"\\\" at the end takes the closing quote");
    if (baseHasEscapes) {
        auto compare = [&](std::uint32_t escape) {
            const int inDest = d.count(escape), inBase = b.count(escape);
            if (inDest != inBase)
                differences.add(escapeName(escape), ": dest ", std::to_string(inDest), ", base ", std::to_string(inBase));
        };
        for (const auto& entry : b.counts) compare(entry.first);
        for (const auto& entry : d.counts)
            if (b.count(entry.first) == 0) compare(entry.first);
    }
    differences.report(Code::Format, Severity::Error, out);
}

}  // namespace tov::checks
