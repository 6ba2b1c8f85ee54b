#include "formats/spell/words.h"

#include <algorithm>
#include <array>

#include "support/cp1250.h"

namespace tov::spell {
namespace {

constexpr std::size_t npos = std::string_view::npos;

enum : std::uint8_t {
    kLetter = 1,
    kUpper = 2,
    kDigit = 4,
    kBlank = 8,
    kApostrophe = 16,
    kOpening = 32,  // dropped at the start of a token: quotes, brackets, dashes, bullets
    kClosing = 64,  // dropped at the end of a token: quotes, brackets, sentence punctuation
};

constexpr std::array<std::uint8_t, 256> makeClasses()
{
    std::array<std::uint8_t, 256> c{};
    for (int b = 0; b <= 0x20; ++b) c[b] = kBlank;
    c[0x7F] = c[0xA0] = kBlank;  // DEL, no-break space
    for (int b = '0'; b <= '9'; ++b) c[b] = kDigit;
    for (int b = 'a'; b <= 'z'; ++b) c[b] = kLetter;
    for (int b = 'A'; b <= 'Z'; ++b) c[b] = kLetter | kUpper;
    // Š Ś Ť Ž Ź Ł Ą Ş Ż Ľ, and 0xC0..0xDE without the multiplication sign.
    for (int b : {0x8A, 0x8C, 0x8D, 0x8E, 0x8F, 0xA3, 0xA5, 0xAA, 0xAF, 0xBC}) c[b] = kLetter | kUpper;
    for (int b = 0xC0; b <= 0xDE; ++b)
        if (b != 0xD7) c[b] = kLetter | kUpper;
    // š ś ť ž ź ł ą ş ľ ż, ß and 0xE0..0xFE without the division sign.
    for (int b : {0x9A, 0x9C, 0x9D, 0x9E, 0x9F, 0xB3, 0xB9, 0xBA, 0xBE, 0xBF}) c[b] = kLetter;
    for (int b = 0xDF; b <= 0xFE; ++b)
        if (b != 0xF7) c[b] = kLetter;
    c['\''] = kApostrophe | kOpening | kClosing;
    c[0x92] = kApostrophe | kOpening | kClosing;  // ’
    auto mark = [&c](std::string_view bytes, std::uint8_t bits) {
        for (char b : bytes) c[static_cast<unsigned char>(b)] |= bits;
    };
    // Quotes " ` ‚ „ ‘ “ ” ‹ › « », brackets, sentence punctuation and the
    // ellipsis; dashes, bullets and stars introduce or close a text as well.
    mark("\"`\x82\x84\x91\x93\x94\x8B\x9B\xAB\xBB-*\x95\x96\x97", kOpening | kClosing);
    mark("([{<", kOpening);
    mark(")]}>.,;:!?\x85", kClosing);
    return c;
}

constexpr std::array<std::uint8_t, 256> kClass = makeClasses();

bool has(char c, std::uint8_t bits) { return (kClass[static_cast<unsigned char>(c)] & bits) != 0; }

bool isHex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool isOctal(char c) { return c >= '0' && c <= '7'; }

bool isOneOf(char c, std::string_view set) { return set.find(c) != npos; }

int hexValue(char c)
{
    return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
}

// The length of a numeric escape at `i` that stands for a letter, with the
// letter's byte in `letter`; 0 for any other. Resource-string files write a
// character as "\x" and four hex digits of its code ("Gr\x00f6\x00dfe"); two
// digits are a byte of the code page, as in C.
std::size_t letterEscape(std::string_view s, std::size_t i, char& letter)
{
    if (i + 2 >= s.size() || s[i] != '\\' || s[i + 1] != 'x') return 0;
    std::size_t p = i + 2;
    unsigned value = 0;
    while (p < s.size() && p < i + 6 && isHex(s[p])) value = value * 16 + hexValue(s[p++]);
    const std::size_t digits = p - i - 2;
    const int byte = digits == 0 ? -1 : digits <= 2 ? static_cast<int>(value) : cp1250::fromUnicode(static_cast<char16_t>(value));
    if (byte < 0 || !(kClass[byte] & kLetter)) return 0;
    letter = static_cast<char>(byte);
    return p - i;
}

// `s` with every letter escape as its letter's byte; origin[k] is where the
// byte k of the result begins in `s` (origin[size] = s.size()).
void decodeLetterEscapes(std::string_view s, std::string& decoded, std::vector<std::uint32_t>* origin)
{
    decoded.clear();
    for (std::size_t i = 0; i < s.size();) {
        if (origin) origin->push_back(static_cast<std::uint32_t>(i));
        char letter;
        if (const std::size_t n = letterEscape(s, i, letter)) {
            decoded.push_back(letter);
            i += n;
            continue;
        }
        decoded.push_back(s[i]);
        // "\\x41" is a backslash and "x41".
        if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == '\\') {
            if (origin) origin->push_back(static_cast<std::uint32_t>(i + 1));
            decoded.push_back(s[++i]);
        }
        ++i;
    }
    if (origin) origin->push_back(static_cast<std::uint32_t>(s.size()));
}

// The end of the escape whose backslash is at `i` (the backslash is not
// followed by another one).
std::size_t escapeEnd(std::string_view s, std::size_t i)
{
    std::size_t p = i + 1;
    if (p >= s.size()) return p;
    const char c = s[p++];
    if (c == 'x') {
        while (p < s.size() && isHex(s[p])) ++p;
    } else if (c == 'u' || c == 'U') {
        for (int n = c == 'u' ? 4 : 8; n > 0 && p < s.size() && isHex(s[p]); --n) ++p;
    } else if (isOctal(c)) {
        for (int n = 2; n > 0 && p < s.size() && isOctal(s[p]); --n) ++p;
    }
    return p;
}

// The end of the conversion whose "%" is at `i`, or npos when the "%" begins
// none. Both notations the products use are read: printf's
// "%[n$][flags][width][.precision][length]conversion" and the resource
// strings' "%[index:][-][width][.precision]type". A blank is not taken as a
// flag: in "10% rabatu" the "%" is a percent sign.
std::size_t conversionEnd(std::string_view s, std::size_t i)
{
    const std::size_t n = s.size();
    std::size_t p = i + 1;
    if (p < n && s[p] == '%') return p + 1;
    auto digits = [&] {
        while (p < n && has(s[p], kDigit)) ++p;
    };
    const std::size_t indexStart = p;
    digits();
    if (p > indexStart && p < n && (s[p] == ':' || s[p] == '$'))
        ++p;
    else
        p = indexStart;
    while (p < n && isOneOf(s[p], "-+#0'")) ++p;
    if (p < n && s[p] == '*')
        ++p;
    else
        digits();
    if (p < n && s[p] == '.') {
        ++p;
        if (p < n && s[p] == '*')
            ++p;
        else
            digits();
    }
    for (int m = 0; m < 2 && p < n && isOneOf(s[p], "hlLqjzZt"); ++m) ++p;
    if (p + 2 < n && s[p] == 'I' && (s.substr(p + 1, 2) == "64" || s.substr(p + 1, 2) == "32")) p += 3;
    if (p < n && isOneOf(s[p], "diouxXeEfFgGaAcCsSpPnNmMDU")) return p + 1;
    return npos;
}

bool containsNoCase(std::string_view s, std::string_view part)
{
    if (part.size() > s.size()) return false;
    for (std::size_t i = 0; i + part.size() <= s.size(); ++i) {
        std::size_t k = 0;
        while (k < part.size() && (s[i + k] | 0x20) == part[k]) ++k;
        if (k == part.size()) return true;
    }
    return false;
}

// A token that is not language as a whole: an address, a path or file name,
// an identifier or an expression.
bool isNoLanguage(std::string_view t)
{
    if (isOneOf(t.front(), "$#@/~")) return true;  // $HOME, #define, @user, /usr, ~/x
    if (t.find("://") != npos || t.find('@') != npos || containsNoCase(t, "www.")) return true;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const char c = t[i];
        const bool beforeAlnum = i + 1 < t.size() && has(t[i + 1], kLetter | kDigit);
        // "EDIT.ENG", ".bashrc", "1.5", "C:", "a::b"; a "\" here is one of "\\".
        if ((c == '.' || c == ':') && beforeAlnum) return true;
        if (isOneOf(c, "\\_=+<>|^~{}[]$#")) return true;
        if (c == '-' && i + 1 < t.size() && t[i + 1] == '>') return true;  // p->x
        if (c == '/' && i > 0 && (t[i - 1] == '.' || t[i - 1] == '~')) return true;  // ./x, ../x
    }
    return false;
}

// Whether the byte at `k` of the token `t` continues a run of letters and
// digits: letters and digits do; an accelerator "&" does before a letter
// (not after another "&": "&&" is an ampersand); a hyphen or apostrophe
// does between two of them.
bool continuesRun(std::string_view t, std::size_t k)
{
    const char c = t[k];
    if (has(c, kLetter | kDigit)) return true;
    const bool nextLetter = k + 1 < t.size() && has(t[k + 1], kLetter);
    if (c == '&') return nextLetter && (k == 0 || t[k - 1] != '&');
    if (c == '-' || has(c, kApostrophe)) {
        const bool prevAlnum = k > 0 && has(t[k - 1], kLetter | kDigit);
        const bool nextAlnum = k + 1 < t.size() && (has(t[k + 1], kLetter | kDigit) || t[k + 1] == '&');
        return prevAlnum && nextAlnum;
    }
    return false;
}

// Whether a run of the token is a word: two letters or more, no digit, some
// lower case and no capital right after a lower-case letter ("fileName").
bool isWord(std::string_view run)
{
    int letters = 0;
    bool lower = false, prevLower = false;
    for (char c : run) {
        if (has(c, kDigit)) return false;
        if (!has(c, kLetter)) {
            if (c != '&') prevLower = false;
            continue;
        }
        ++letters;
        const bool upper = has(c, kUpper);
        if (upper && prevLower) return false;
        prevLower = !upper;
        lower = lower || !upper;
    }
    return letters >= 2 && lower;
}

void tokenWords(std::string_view s, std::size_t begin, std::size_t end, std::vector<WordSpan>& out)
{
    if (s.substr(begin, end - begin).find("()") != npos) return;  // a call: run()
    while (begin < end && has(s[begin], kOpening)) ++begin;
    while (end > begin && has(s[end - 1], kClosing)) --end;
    if (begin >= end) return;
    const std::string_view t = s.substr(begin, end - begin);
    if (isNoLanguage(t)) return;
    for (std::size_t k = 0; k < t.size();) {
        if (!continuesRun(t, k)) {
            ++k;
            continue;
        }
        std::size_t r = k + 1;
        while (r < t.size() && continuesRun(t, r)) ++r;
        if (isWord(t.substr(k, r - k)))
            out.push_back({static_cast<std::uint32_t>(begin + k), static_cast<std::uint32_t>(r - k)});
        k = r;
    }
}

void splitPlain(std::string_view s, std::vector<WordSpan>& out)
{
    const std::size_t n = s.size();
    // Tokens end at blanks, escapes and conversions; "\\" stays inside a
    // token, where it marks a path.
    auto endsToken = [&](std::size_t i) {
        const char c = s[i];
        if (has(c, kBlank)) return true;
        if (c == '\\') return i + 1 >= n || s[i + 1] != '\\';
        return c == '%' && conversionEnd(s, i) != npos;
    };
    for (std::size_t i = 0; i < n;) {
        if (!endsToken(i)) {
            std::size_t j = i + 1;
            while (j < n) {
                if (s[j] == '\\' && j + 1 < n && s[j + 1] == '\\')
                    j += 2;
                else if (!endsToken(j))
                    ++j;
                else
                    break;
            }
            tokenWords(s, i, j, out);
            i = j;
        } else if (s[i] == '\\') {
            i = escapeEnd(s, i);
        } else if (s[i] == '%') {
            i = conversionEnd(s, i);
        } else {
            ++i;
        }
    }
}

}  // namespace

bool isLetter(unsigned char byte) { return (kClass[byte] & kLetter) != 0; }
bool isUpperLetter(unsigned char byte) { return (kClass[byte] & kUpper) != 0; }

void splitWords(std::string_view text, std::vector<WordSpan>& out)
{
    out.clear();
    if (text.find("\\x") == npos) {
        splitPlain(text, out);
        return;
    }
    std::string decoded;
    std::vector<std::uint32_t> origin;
    decodeLetterEscapes(text, decoded, &origin);
    splitPlain(decoded, out);
    for (WordSpan& w : out) {
        const std::uint32_t end = origin[w.start + w.length];
        w.start = origin[w.start];
        w.length = end - w.start;
    }
}

std::string wordAt(std::string_view text, WordSpan span)
{
    std::string word;
    decodeLetterEscapes(text.substr(span.start, span.length), word, nullptr);
    std::erase(word, '&');
    return word;
}

std::string replaceWord(std::string_view text, WordSpan span, std::string_view replacement)
{
    const std::string_view old = text.substr(span.start, span.length);
    // Where each accelerator stands: before which letter of the word.
    std::vector<std::size_t> before;
    std::string letters;
    for (std::size_t amp = old.find('&'); amp != npos; amp = old.find('&', amp + 1)) {
        decodeLetterEscapes(old.substr(0, amp), letters, nullptr);
        const std::size_t k = letters.size() - before.size();
        before.push_back(k < replacement.size() ? k : 0);
    }
    std::string out;
    out.reserve(text.size() - old.size() + replacement.size() + before.size());
    out.append(text.substr(0, span.start));
    for (std::size_t k = 0; k < replacement.size(); ++k) {
        out.append(std::count(before.begin(), before.end(), k), '&');
        out.push_back(replacement[k]);
    }
    out.append(text.substr(span.start + old.size()));
    return out;
}

}  // namespace tov::spell
