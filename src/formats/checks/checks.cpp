#include "formats/checks/checks.h"

#include "formats/checks/check_parts.h"
#include "formats/source_kind.h"

namespace tov::checks {
namespace {

constexpr std::size_t npos = std::string_view::npos;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::size_t leadingBlanks(std::string_view s)
{
    std::size_t n = 0;
    while (n < s.size() && isBlank(s[n])) ++n;
    return n;
}

std::size_t trailingBlanks(std::string_view s)
{
    std::size_t n = 0;
    while (n < s.size() && isBlank(s[s.size() - 1 - n])) ++n;
    return n;
}

void checkBlanks(const CheckOptions& o, std::string_view base, std::string_view dest, Findings& out)
{
    Differences differences;
    auto compare = [&](std::string_view where, std::size_t inDest, std::size_t inBase) {
        if (inDest != inBase)
            differences.add(where, " dest ", std::to_string(inDest), ", base ", std::to_string(inBase));
    };
    if (o.leadingBlanks) compare("at the start", leadingBlanks(dest), leadingBlanks(base));
    if (o.trailingBlanks) compare("at the end", trailingBlanks(dest), trailingBlanks(base));
    differences.report(Code::Blanks, Severity::Warning, out);
}

// The punctuation a text ends with, after its blanks and, where the text has
// escapes, after closing line breaks and tabs ("Error!\n" ends with "!").
std::string_view endPunctuation(std::string_view s, bool escapes)
{
    std::size_t n = s.size();
    for (;;) {
        while (n > 0 && isBlank(s[n - 1])) --n;
        if (!escapes || n < 2 || s[n - 2] != '\\' || (s[n - 1] != 'n' && s[n - 1] != 'r' && s[n - 1] != 't')) break;
        std::size_t backslashes = 0;
        while (backslashes < n - 1 && s[n - 2 - backslashes] == '\\') ++backslashes;
        if (backslashes % 2 == 0) break;  // "\\n": an escaped backslash and a letter
        n -= 2;
    }
    if (n == 0) return {};
    switch (s[n - 1]) {
    case ':': return ":";
    case '?': return "?";
    case '!': return "!";
    case '\x85': return "...";  // the ellipsis character of Windows-1250
    case '.': return n >= 3 && s[n - 2] == '.' && s[n - 3] == '.' ? "..." : "";
    default: return {};
    }
}

void checkEndPunctuation(const CheckOptions& o, std::string_view base, std::string_view dest, Findings& out)
{
    const bool escapes = o.escapes != EscapeNotation::None;
    const std::string_view b = endPunctuation(base, escapes), d = endPunctuation(dest, escapes);
    if (b == d) return;
    std::string detail;
    if (d.empty())
        detail = "base ends with " + quoted(b) + ", dest does not";
    else if (b.empty())
        detail = "dest ends with " + quoted(d) + ", base does not";
    else
        detail = "dest ends with " + quoted(d) + ", base with " + quoted(b);
    out.push_back({Code::Punctuation, Severity::Warning, std::move(detail)});
}

// Menu accelerators: "&" before the character it marks; "&&" is a literal
// ampersand, and "&" before a blank or at the end marks nothing.
std::size_t accelerators(std::string_view s)
{
    std::size_t n = 0;
    for (std::size_t i = s.find('&'); i != npos && i + 1 < s.size(); i = s.find('&', i + 1)) {
        if (s[i + 1] == '&')
            ++i;
        else if (!isBlank(s[i + 1]))
            ++n;
    }
    return n;
}

void checkAccelerators(std::string_view base, std::string_view dest, Findings& out)
{
    const std::size_t b = accelerators(base), d = accelerators(dest);
    if (b != d)
        out.push_back({Code::Accelerator, Severity::Warning,
                       "\"&\" dest " + std::to_string(d) + ", base " + std::to_string(b)});
}

}  // namespace

std::string_view codeName(Code code)
{
    switch (code) {
    case Code::Format: return "format";
    case Code::Blanks: return "blanks";
    case Code::Punctuation: return "punctuation";
    case Code::Accelerator: return "accelerator";
    }
    return "format";
}

std::string_view severityName(Severity severity) { return severity == Severity::Error ? "error" : "warning"; }

std::string describe(const Finding& finding)
{
    std::string line(codeName(finding.code));
    if (!finding.detail.empty()) line += ": " + finding.detail;
    return line;
}

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

void Differences::report(Code code, Severity severity, Findings& out)
{
    if (empty()) return;
    if (more_) text_ += "; " + std::to_string(more_) + " more";
    if (out.capacity() == 0) out.reserve(4);  // room for the other checks' findings
    out.push_back({code, severity, std::move(text_)});
}

CheckOptions forKind(std::uint8_t kind)
{
    CheckOptions o;
    if (isResourceStringKind(kind)) {
        o.format = FormatNotation::ResourceString;
        o.escapes = EscapeNotation::ResourceString;
        o.leadingBlanks = o.trailingBlanks = o.endPunctuation = o.accelerators = true;
    } else if (isFirmwareKind(kind)) {
        o.format = FormatNotation::Printf;
        o.leadingBlanks = o.endPunctuation = true;
    } else if (kind == kMenuIni) {
        o.format = FormatNotation::ResourceString;
        o.leadingBlanks = o.trailingBlanks = o.endPunctuation = o.accelerators = true;
    } else if (kind == kCArrays) {
        o.format = FormatNotation::Printf;
        o.escapes = EscapeNotation::C;
        o.leadingBlanks = o.trailingBlanks = o.endPunctuation = true;
    }
    return o;
}

void checkEntry(const CheckOptions& options, std::string_view base, std::string_view dest, Findings& out)
{
    if (base.empty() || dest.empty()) return;
    checkConversions(options.format, base, dest, out);
    checkEscapes(options.escapes, base, dest, out);
    if (options.leadingBlanks || options.trailingBlanks) checkBlanks(options, base, dest, out);
    if (options.endPunctuation) checkEndPunctuation(options, base, dest, out);
    if (options.accelerators) checkAccelerators(base, dest, out);
}

}  // namespace tov::checks
