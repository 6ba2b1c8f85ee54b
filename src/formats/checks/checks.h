// Checks of one translated text against its base text: what the product reads
// in a text (format conversions, backslash escapes) and what a user sees of
// it (blanks at its ends, end punctuation, menu accelerators).
//
// A check applies to an entry only where the base text uses what it checks:
// a base without "%" is never checked for conversions, one without "\" never
// for escapes (but a destination that ends in a lone "\", which would take
// the closing quote of the written literal, always is). Which checks run, and under which notation, is chosen per
// source kind (forKind). An empty text (base or destination) is never
// checked: an untranslated row is the "missing" problem, not one of these.
//
// Format problems are errors, because the product can crash or garble its
// output on them; the others are warnings. Checking is cheap for the common
// text: without "%", "\" and "&" it only looks at both ends of the texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tov::checks {

enum class Severity : std::uint8_t { Warning, Error };

enum class Code : std::uint8_t {
    Format,       // conversions or escapes the product reads differ (error)
    Blanks,       // blanks at the start or the end differ (warning)
    Punctuation,  // ":", "...", "?" or "!" at the end differs (warning)
    Accelerator,  // the number of menu accelerators "&" differs (warning)
};

std::string_view codeName(Code code);             // "format", "blanks", ...
std::string_view severityName(Severity severity);  // "error", "warning"

struct Finding {
    Code code = Code::Format;
    Severity severity = Severity::Error;
    std::string detail;  // what differs, e.g. "dest lacks %d (argument 2)"
};

// "format: dest lacks %d (argument 2)": the problem and its detail as a check
// line shows them after the row and its identifier.
std::string describe(const Finding& finding);

using Findings = std::vector<Finding>;

// The conversions a format function of the product reads in a text.
enum class FormatNotation : std::uint8_t {
    None,
    // C printf: "%" [n$] [flags -+ #0'] [width | * | *m$] [.precision | .* |
    // .*m$] [length hh h l ll L q j z Z t] conversion d i o u x X e E f F g G
    // a A c s p n C S; "%%" ("%5%" too) and "%m" take no argument. The
    // destination must take the same arguments with the same types: in the
    // same order, or in any order where both number them ("%2$d %1$s").
    // Width, precision and flags may change; "*" takes an int argument of its
    // own.
    Printf,
    // Resource-string format specifiers: "%" [index:] [-] [width | *]
    // [.precision | .*] type d u e f g n m p s x (either case), and "%%".
    // Indices count from 0; a specifier without one takes the argument after
    // the previous specifier's. The destination must take the same set of
    // arguments, each with the same kind of value (integer d u x, floating
    // e f g n m, string s, pointer p); order and repetitions are free.
    ResourceString,
};

// The backslash escapes the file format gives a text; the destination must
// hold each escape as many times as the base.
enum class EscapeNotation : std::uint8_t {
    None,
    // C string literals: every escape counts, by the byte it stands for
    // ("\x1b" and "\033" are the same escape), "\\" and unknown ones included.
    C,
    // Resource-string files: the same, except that a numeric escape of a
    // character ("\x00fc", anything from 0x20 up) is only a way of writing
    // that character and is not counted.
    ResourceString,
};

struct CheckOptions {
    FormatNotation format = FormatNotation::None;
    EscapeNotation escapes = EscapeNotation::None;
    bool leadingBlanks = false;
    bool trailingBlanks = false;  // off where trailing blanks pad a fixed-length text
    bool endPunctuation = false;
    bool accelerators = false;

    bool operator==(const CheckOptions&) const = default;
};

// The checks of a source kind (formats/source_kind.h); none for an unknown one.
//   resource strings  ResourceString conversions and escapes, blanks,
//                     punctuation, accelerators
//   firmware          Printf conversions, leading blanks (trailing ones pad
//                     the fixed length), punctuation
//   menu INI          ResourceString conversions (menus of the same PC
//                     programs), blanks, punctuation, accelerators
//   C string arrays   Printf conversions, C escapes, blanks, punctuation
CheckOptions forKind(std::uint8_t kind);

// Compares `dest` with `base` and appends what differs to `out`: at most one
// finding for each of conversions, escapes (both code Format), blanks,
// punctuation and accelerators, in this order.
void checkEntry(const CheckOptions& options, std::string_view base, std::string_view dest, Findings& out);

inline Findings checkEntry(const CheckOptions& options, std::string_view base, std::string_view dest)
{
    Findings out;
    checkEntry(options, base, dest, out);
    return out;
}

}  // namespace tov::checks
