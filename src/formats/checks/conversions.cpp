// Format conversions: each text is read into the list of arguments its
// directives take, and the two lists are compared argument by argument.
#include <algorithm>
#include <string>
#include <vector>

#include "formats/checks/check_parts.h"

namespace tov::checks {
namespace {

constexpr std::size_t npos = std::string_view::npos;
// Argument numbers beyond this are read as this (a text cannot use more).
constexpr int kMaxArgument = 9999;

// What a directive takes from the argument list.
struct ArgType {
    char kind = 0;  // 'i' signed integer, 'u' unsigned integer, 'f' floating, 'c' character,
                    // 's' string, 'p' pointer, 'n' pointer to a count
    char size = 0;  // length modifier: 0, 'H' (hh), 'h', 'l', 'L' (ll, q, L), 'j', 'z', 't'
    bool operator==(const ArgType&) const = default;
};

constexpr ArgType kInt{'i', 0};  // what a "*" width or precision takes

struct ArgUse {
    int argument = 0;
    ArgType type;
    std::string_view directive;  // as written, "%-5.2f"
};

struct Directives {
    std::vector<ArgUse> uses;  // in text order
    int literals = 0;          // "%%" and others that take no argument
    int malformed = 0;         // a "%" that begins no conversion
    std::string_view firstMalformed;
    bool malformedAtEnd = false;  // the first malformed one ends the text unfinished
    bool numbered = false;        // printf "%n$"
    bool unnumbered = false;

    void clear()  // keeps the room of `uses`
    {
        uses.clear();
        literals = malformed = 0;
        firstMalformed = {};
        malformedAtEnd = numbered = unnumbered = false;
    }
    // Notes the directive from the "%" at `i` up to the byte at `p` that ends
    // it unread (or the end of the text); gives where the next "%" is.
    std::size_t malformedDirective(std::string_view s, std::size_t i, std::size_t p)
    {
        const bool atEnd = p >= s.size();
        if (malformed++ == 0) {
            firstMalformed = s.substr(i, atEnd ? npos : p + 1 - i);
            malformedAtEnd = atEnd;
        }
        return atEnd ? npos : s.find('%', p + 1);
    }
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isFlag(char c) { return c == '-' || c == '+' || c == ' ' || c == '#' || c == '0' || c == '\'' || c == 'I'; }

// The digits at `p` as a number; `p` moves past them.
int readNumber(std::string_view s, std::size_t& p)
{
    int v = 0;
    for (; p < s.size() && isDigit(s[p]); ++p) v = std::min(v * 10 + (s[p] - '0'), kMaxArgument);
    return v;
}

// printf's "n$" at `p`: n, with `p` moved past the "$"; 0 (p unchanged) when
// there is none; -1 for "0$", which names no argument.
int readArgumentNumber(std::string_view s, std::size_t& p)
{
    std::size_t q = p;
    const int v = readNumber(s, q);
    if (q == p || q >= s.size() || s[q] != '$') return 0;
    p = q + 1;
    return v == 0 ? -1 : v;
}

// A width and a precision (after a "."), each digits or a "*" that takes an
// argument; with `numberedStars`, printf's "*m$" too. `stars` receives the
// argument number of each "*" (0: the next argument). Returns how many.
int readWidthAndPrecision(std::string_view s, std::size_t& p, bool numberedStars, int stars[2])
{
    int count = 0;
    auto field = [&] {
        if (p < s.size() && s[p] == '*') {
            ++p;
            stars[count++] = numberedStars ? readArgumentNumber(s, p) : 0;
        } else {
            readNumber(s, p);
        }
    };
    field();
    if (p < s.size() && s[p] == '.') {
        ++p;
        field();
    }
    return count;
}

bool printfType(char conversion, char size, ArgType& type)
{
    switch (conversion) {
    case 'd': case 'i':
        type = {'i', size};
        return true;
    case 'o': case 'u': case 'x': case 'X':
        type = {'u', size};
        return true;
    case 'e': case 'E': case 'f': case 'F': case 'g': case 'G': case 'a': case 'A':
        type = {'f', size == 'L' ? 'L' : '\0'};  // "l" changes nothing here
        return true;
    case 'c': case 's':
        type = {conversion, size == 'l' ? 'l' : '\0'};
        return true;
    case 'C': case 'S':
        type = {static_cast<char>(conversion - 'A' + 'a'), 'l'};
        return true;
    case 'p':
        type = {'p', 0};
        return true;
    case 'n':
        type = {'n', size};
        return true;
    default:
        return false;
    }
}

char readLengthModifier(std::string_view s, std::size_t& p)
{
    if (p >= s.size()) return 0;
    const char c = s[p];
    const bool twice = p + 1 < s.size() && s[p + 1] == c;
    switch (c) {
    case 'h':
        p += twice ? 2 : 1;
        return twice ? 'H' : 'h';
    case 'l':
        p += twice ? 2 : 1;
        return twice ? 'L' : 'l';
    case 'L': case 'q':
        ++p;
        return 'L';
    case 'j': case 't':
        ++p;
        return c;
    case 'z': case 'Z':
        ++p;
        return 'z';
    default:
        return 0;
    }
}

void scanPrintf(std::string_view s, Directives& r)
{
    r.clear();
    int next = 0;  // the argument the last unnumbered directive took
    for (std::size_t i = s.find('%'); i != npos;) {
        std::size_t p = i + 1;
        int stars[2] = {0, 0};  // argument numbers of a "*" width and precision
        const int value = readArgumentNumber(s, p);
        while (p < s.size() && isFlag(s[p])) ++p;
        const int starCount = readWidthAndPrecision(s, p, true, stars);
        const char size = readLengthModifier(s, p);
        if (p < s.size() && (s[p] == '%' || s[p] == 'm')) {  // "%%" and "%5%" print "%", "%m" the error text
            ++r.literals;
            i = s.find('%', p + 1);
            continue;
        }
        ArgType type;
        const bool zeroArgument = value < 0 || stars[0] < 0 || stars[1] < 0;
        if (p >= s.size() || !printfType(s[p], size, type) || zeroArgument) {
            i = r.malformedDirective(s, i, p);
            continue;
        }
        const std::string_view directive = s.substr(i, p + 1 - i);
        auto take = [&](int number, ArgType t) {
            if (number > 0) {
                r.numbered = true;
            } else {
                r.unnumbered = true;
                number = next = std::min(next + 1, kMaxArgument);
            }
            r.uses.push_back({number, t, directive});
        };
        for (int k = 0; k < starCount; ++k) take(stars[k], kInt);
        take(value, type);
        i = s.find('%', p + 1);
    }
}

bool resourceStringType(char type, ArgType& out)
{
    switch (type) {
    case 'd': case 'D': case 'u': case 'U': case 'x': case 'X':
        out = {'i', 0};
        return true;
    case 'e': case 'E': case 'f': case 'F': case 'g': case 'G': case 'n': case 'N': case 'm': case 'M':
        out = {'f', 0};
        return true;
    case 's': case 'S':
        out = {'s', 0};
        return true;
    case 'p': case 'P':
        out = {'p', 0};
        return true;
    default:
        return false;
    }
}

void scanResourceString(std::string_view s, Directives& r)
{
    r.clear();
    int next = 0;  // the argument a specifier without an index takes
    for (std::size_t i = s.find('%'); i != npos;) {
        std::size_t p = i + 1;
        if (p < s.size() && s[p] == '%') {
            ++r.literals;
            i = s.find('%', p + 1);
            continue;
        }
        std::size_t q = p;
        const int index = readNumber(s, q);
        const bool indexed = q > p && q < s.size() && s[q] == ':';
        if (indexed) p = q + 1;
        if (p < s.size() && s[p] == '-') ++p;
        int starArguments[2];
        const int stars = readWidthAndPrecision(s, p, false, starArguments);
        ArgType type;
        if (p >= s.size() || !resourceStringType(s[p], type)) {
            i = r.malformedDirective(s, i, p);
            continue;
        }
        const std::string_view directive = s.substr(i, p + 1 - i);
        if (indexed) next = index;
        auto take = [&](ArgType t) {
            r.uses.push_back({next, t, directive});
            next = std::min(next + 1, kMaxArgument);
        };
        for (int k = 0; k < stars; ++k) take(kInt);
        take(type);
        i = s.find('%', p + 1);
    }
}

// For each argument, the first directive that takes it; and the first
// directive that takes an argument already taken with another type.
struct ArgumentList {
    std::vector<const ArgUse*> byArgument;
    const ArgUse* clash = nullptr;
    const ArgUse* clashWith = nullptr;
};

void listArguments(const Directives& d, ArgumentList& l)
{
    l.byArgument.clear();
    l.clash = l.clashWith = nullptr;
    for (const ArgUse& u : d.uses) {
        if (u.argument >= static_cast<int>(l.byArgument.size())) l.byArgument.resize(u.argument + 1, nullptr);
        const ArgUse*& first = l.byArgument[u.argument];
        if (!first) {
            first = &u;
        } else if (!(first->type == u.type) && !l.clash) {
            l.clash = &u;
            l.clashWith = first;
        }
    }
}


}  // namespace

void checkConversions(FormatNotation notation, std::string_view base, std::string_view dest, Findings& out)
{
    if (notation == FormatNotation::None || base.find('%') == npos) return;
    // Scratch lists, kept from entry to entry so that checking a table does
    // not allocate for each row.
    thread_local Directives b, d;
    thread_local ArgumentList bl, dl;
    const auto scan = notation == FormatNotation::Printf ? scanPrintf : scanResourceString;
    scan(base, b);
    // A base whose every "%" is malformed ("100%") is no format; one that mixes
    // numbered and unnumbered arguments, takes one argument as two types or
    // (printf) numbers its arguments with a gap cannot be compared with.
    if (b.uses.empty() && b.literals == 0) return;
    if (b.numbered && b.unnumbered) return;
    listArguments(b, bl);
    if (bl.clash) return;
    if (notation == FormatNotation::Printf && bl.byArgument.size() > 1 &&
        std::find(bl.byArgument.begin() + 1, bl.byArgument.end(), nullptr) != bl.byArgument.end())
        return;

    scan(dest, d);
    Differences differences;
    if (d.malformed > b.malformed) {
        if (d.malformedAtEnd)
            differences.add("incomplete conversion ", quoted(d.firstMalformed), " at the end");
        else
            differences.add(quoted(d.firstMalformed), " is no conversion");
    }
    if (d.numbered && d.unnumbered) {
        differences.add("numbered and unnumbered conversions mixed");
    } else {
        listArguments(d, dl);
        if (dl.clash) {
            differences.add(dl.clashWith->directive, " and ", dl.clash->directive, " take argument ",
                            std::to_string(dl.clash->argument), " as different types");
        }
        const std::size_t n = std::max(bl.byArgument.size(), dl.byArgument.size());
        for (std::size_t a = 0; a < n; ++a) {
            const ArgUse* x = a < bl.byArgument.size() ? bl.byArgument[a] : nullptr;
            const ArgUse* y = a < dl.byArgument.size() ? dl.byArgument[a] : nullptr;
            if (x && !y)
                differences.add("dest lacks ", x->directive, " (argument ", std::to_string(a), ")");
            else if (!x && y)
                differences.add(y->directive, " (argument ", std::to_string(a), ") not in base");
            else if (x && y && !(x->type == y->type))
                differences.add("argument ", std::to_string(a), " is ", y->directive, ", base ", x->directive);
        }
    }
    differences.report(Code::Format, Severity::Error, out);
}

}  // namespace tov::checks
