#include "formats/resource_strings/quotes.h"

#include <cstring>

namespace tov {

// Removing the backslash of the first «\"» pair and searching again from the
// start takes away one backslash at a time from the run in front of a quote
// until the run is gone; nothing before the run can form a new pair. One pass
// that drops each run of backslashes followed by a quote gives the same text.
std::string UnescapeQuotes(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    const size_t n = text.size();
    while (i < n) {
        // The bytes up to the next backslash go over as one run.
        const size_t slash = text.find('\\', i);
        if (slash == std::string_view::npos) {
            out.append(text.substr(i));
            break;
        }
        out.append(text.substr(i, slash - i));
        size_t run = slash;
        while (run < n && text[run] == '\\') ++run;
        if (run < n && text[run] == '"') {
            out.push_back('"');
            i = run + 1;
        } else {
            out.append(text.substr(slash, run - slash));
            i = run;
        }
    }
    return out;
}

std::size_t UnescapeQuotesInPlace(char* text, std::size_t n)
{
    const char* const end = text + n;
    char* in = static_cast<char*>(std::memchr(text, '\\', n));
    if (!in) return n;
    char* out = in;
    while (in < end) {
        if (*in != '\\') {
            *out++ = *in++;
            continue;
        }
        char* run = in;
        while (run < end && *run == '\\') ++run;
        if (run < end && *run == '"') {
            *out++ = '"';
            in = run + 1;
        } else {
            while (in < run) *out++ = *in++;
        }
    }
    return static_cast<std::size_t>(out - text);
}

std::string EscapeQuotes(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 8);
    for (const char c : text) {
        if (c == '"') out.push_back('\\');
        out.push_back(c);
    }
    return out;
}

// The same search-again rule as above: the first apostrophe of the first pair
// goes until a run has shrunk to one apostrophe.
std::string UnescapeApostrophes(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == '\'' && !out.empty() && out.back() == '\'') continue;
        out.push_back(c);
    }
    return out;
}

std::string EscapeApostrophes(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 8);
    for (const char c : text) {
        if (c == '\'') out.push_back('\'');
        out.push_back(c);
    }
    return out;
}

}  // namespace tov
