#include "formats/exchange/exchange.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <utility>

namespace tov::exchange {

namespace {

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

// The first bytes of a file as ASCII: without a UTF-8 byte order mark, and
// with the zero bytes of UTF-16 dropped.
std::string asciiHead(std::string_view bytes)
{
    std::string_view head = bytes.substr(0, 4096);
    if (startsWith(head, "\xEF\xBB\xBF")) head.remove_prefix(3);
    const bool utf16 = startsWith(head, "\xFF\xFE") || startsWith(head, "\xFE\xFF");
    if (utf16) head.remove_prefix(2);
    std::string out;
    for (const char c : head)
        if (!(utf16 && c == '\0')) out.push_back(c);
    return out;
}

bool looksLikeXliff(const std::string& head)
{
    const size_t start = head.find_first_not_of(" \t\r\n");
    return start != std::string::npos && head[start] == '<' && head.find("<xliff") != std::string::npos;
}

// The first line that is neither blank nor a comment starts a PO entry.
bool looksLikePo(const std::string& head)
{
    size_t pos = 0;
    while (pos < head.size()) {
        size_t end = head.find('\n', pos);
        if (end == std::string::npos) end = head.size();
        std::string_view line(head.data() + pos, end - pos);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
        if (!line.empty() && line[0] != '#') {
            for (const std::string_view keyword : {"msgctxt", "msgid"}) {
                if (!startsWith(line, keyword)) continue;
                const size_t quote = line.find_first_not_of(" \t", keyword.size());
                return quote != std::string_view::npos && line[quote] == '"';
            }
            return false;
        }
        pos = end + 1;
    }
    return false;
}

std::string_view extensionOf(std::string_view name)
{
    const size_t slash = name.find_last_of('/');
    const std::string_view base = slash == std::string_view::npos ? name : name.substr(slash + 1);
    const size_t dot = base.find_last_of('.');
    return dot == std::string_view::npos ? std::string_view() : base.substr(dot + 1);
}

}  // namespace

Format detectFormat(std::string_view name, std::string_view bytes)
{
    const std::string head = asciiHead(bytes);
    if (looksLikeXliff(head)) return Format::Xliff;
    if (looksLikePo(head)) return Format::Po;
    const std::string_view ext = extensionOf(name);
    if (equalsNoCase(ext, "xlf") || equalsNoCase(ext, "xliff")) return Format::Xliff;
    if (equalsNoCase(ext, "po") || equalsNoCase(ext, "pot")) return Format::Po;
    return Format::Tsv;
}

const char* formatName(Format f)
{
    switch (f) {
    case Format::Xliff: return "xliff";
    case Format::Po: return "po";
    case Format::Tsv: break;
    }
    return "tsv";
}

ReadResult read(Format f, std::string bytes)
{
    switch (f) {
    case Format::Xliff: return readXliff(std::move(bytes));
    case Format::Po: return readPo(bytes);
    case Format::Tsv: break;
    }
    ReadResult r;
    r.error = "a tab-separated file has no units";
    return r;
}

bool hasConversion(checks::FormatNotation notation, std::string_view text)
{
    if (notation == checks::FormatNotation::None) return false;
    const bool printf = notation == checks::FormatNotation::Printf;
    const auto digit = [&](size_t i) { return i < text.size() && text[i] >= '0' && text[i] <= '9'; };
    const auto at = [&](size_t i, char c) { return i < text.size() && text[i] == c; };
    // An argument number: printf's "N$", a resource string's "N:".
    const auto skipArgument = [&](size_t& i, char mark) {
        size_t j = i;
        while (digit(j)) ++j;
        if (j > i && at(j, mark)) i = j + 1;
    };
    const std::string_view flags = printf ? "-+#0'" : "-";
    const std::string_view types = printf ? "diouxXeEfFgGaAcspnCS" : "dDuUeEfFgGnNmMpPsSxX";
    for (size_t pct = text.find('%'); pct != std::string_view::npos; pct = text.find('%', pct + 1)) {
        size_t i = pct + 1;
        if (at(i, '%')) {
            pct = i;
            continue;
        }
        skipArgument(i, printf ? '$' : ':');
        while (i < text.size() && flags.find(text[i]) != std::string_view::npos) ++i;
        // Width, then precision: digits, "*", or printf's "*N$".
        for (int part = 0; part < 2; ++part) {
            if (part == 1 && !at(i++, '.')) {
                --i;
                break;
            }
            if (at(i, '*')) {
                ++i;
                if (printf) skipArgument(i, '$');
            } else {
                while (digit(i)) ++i;
            }
        }
        if (printf)
            for (const std::string_view len : {"hh", "ll", "h", "l", "L", "q", "j", "z", "Z", "t"})
                if (text.substr(i, len.size()) == len) {
                    i += len.size();
                    break;
                }
        if (i < text.size() && types.find(text[i]) != std::string_view::npos) return true;
    }
    return false;
}

namespace {

struct Language {
    const char* tag;
    std::vector<const char*> names;  // English and native names, ISO 639 codes of three letters
};

const std::vector<Language>& languages()
{
    static const std::vector<Language> table = {
        {"en", {"English", "ENG", "ANG"}},
        {"pl", {"Polski", "Polish", "POL"}},
        {"de", {"Deutsch", "German", "DEU", "GER", "NIEM"}},
        {"cs", {"Cesky", "\xC4\x8C" "esky", "\xC4\x8C" "e\xC5\xA1tina", "Czech", "CES", "CZE", "CZ"}},
        {"sk", {"Slovensky", "Sloven\xC4\x8Dina", "Slovak", "SLK", "SLO"}},
        {"hu", {"Magyar", "Hungarian", "HUN"}},
        {"ro", {"Romana", "Rom\xC3\xA2n\xC4\x83", "Romanian", "RON", "RUM"}},
        {"hr", {"Hrvatski", "Croatian", "HRV"}},
        {"sl", {"Slovenscina", "Sloven\xC5\xA1\xC4\x8Dina", "Slovenian", "SLV"}},
        {"sr", {"Srpski", "Serbian", "SRP"}},
        {"ru", {"Russian", "\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9", "RUS"}},
        {"uk", {"Ukrainian", "UKR"}},
        {"lt", {"Lietuviu", "Lithuanian", "LIT"}},
        {"lv", {"Latviesu", "Latvian", "LAV"}},
        {"et", {"Eesti", "Estonian", "EST"}},
        {"fr", {"Francais", "Fran\xC3\xA7" "ais", "French", "FRA", "FRE"}},
        {"es", {"Espanol", "Espa\xC3\xB1ol", "Spanish", "SPA", "ESP"}},
        {"it", {"Italiano", "Italian", "ITA"}},
        {"pt", {"Portugues", "Portugu\xC3\xAAs", "Portuguese", "POR"}},
        {"nl", {"Nederlands", "Dutch", "NLD", "DUT"}},
        {"sv", {"Svenska", "Swedish", "SWE"}},
        {"da", {"Dansk", "Danish", "DAN"}},
        {"no", {"Norsk", "Norwegian", "NOR"}},
        {"fi", {"Suomi", "Finnish", "FIN"}},
        {"tr", {"Turkce", "T\xC3\xBCrk\xC3\xA7" "e", "Turkish", "TUR"}},
        {"el", {"Greek", "ELL", "GRE"}},
        {"bg", {"Bulgarian", "BUL"}},
        {"ja", {"Japanese", "JPN"}},
        {"zh", {"Chinese", "ZHO", "CHI"}},
    };
    return table;
}

// The tag of a whole name: a language name, a code of three letters or a
// tag of two.
std::string tagOfWord(std::string_view word)
{
    for (const Language& l : languages()) {
        if (equalsNoCase(word, l.tag)) return l.tag;
        for (const char* n : l.names)
            if (equalsNoCase(word, n)) return l.tag;
    }
    return {};
}

}  // namespace

std::string guessLanguage(std::string_view name)
{
    // Native names are compared in UTF-8; a name in the code page is turned
    // into UTF-8 by the caller or matches through its ASCII spelling.
    while (!name.empty() && std::isspace(static_cast<unsigned char>(name.back()))) name.remove_suffix(1);
    while (!name.empty() && std::isspace(static_cast<unsigned char>(name.front()))) name.remove_prefix(1);
    if (std::string tag = tagOfWord(name); !tag.empty()) return tag;
    const size_t slash = name.find_last_of('/');
    if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
    // "EDIT.POL": the extension; "Konfix_pl.drc", "texts-de.ini": the last
    // part of the name before the extension.
    const size_t dot = name.find_last_of('.');
    if (dot != std::string_view::npos) {
        if (std::string tag = tagOfWord(name.substr(dot + 1)); !tag.empty()) return tag;
        name = name.substr(0, dot);
    }
    const size_t sep = name.find_last_of("_-");
    if (sep != std::string_view::npos) return tagOfWord(name.substr(sep + 1));
    return {};
}

}  // namespace tov::exchange
