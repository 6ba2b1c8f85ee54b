// One row of a translation: a base text, its destination text, the
// destination as its file holds it, and the rule its length follows. What is
// wrong with a row is computed here, in one place, for the window's table,
// its character count, the command-line check, the export and the save.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "document/text.h"

namespace tov {

// How long a destination text may be against its base text.
enum class LengthRule : std::uint8_t {
    None,    // any length (menu INI files)
    AtMost,  // not longer than the base (resource strings, C arrays)
    Fixed,   // exactly as long as the base: padded with blanks or cut (firmware texts)
};

// A firmware file cannot hold a text longer than this; a longer base text
// leaves its destination free.
inline constexpr std::size_t kFixedLengthLimit = 255;

// The rule of a firmware text with this base.
LengthRule fixedRuleFor(std::string_view base);

// What `rule` makes of a destination text: a fixed-length text is padded with
// blanks or cut to the length of its base; any other comes back unchanged.
std::string fitToRule(LengthRule rule, std::string_view base, std::string_view text);
// The same as a text of a row: a text that fits, or is cut, stays a view
// where it was one, as does the blank text of a fixed length.
Text fitText(LengthRule rule, std::string_view base, const Text& text);
// Whether `text` is already what the rule makes of it (no allocation).
bool fitsRule(LengthRule rule, std::string_view base, std::string_view text);
// A text as it is edited: a fixed-length text without the blanks that pad it.
std::string_view withoutPadding(LengthRule rule, std::string_view text);

// What is wrong with a row, as bits.
using Problems = std::uint32_t;
namespace problem {
inline constexpr Problems kMissing = 1u << 0;        // no destination text
inline constexpr Problems kChanged = 1u << 1;        // differs from the text as last read or saved
inline constexpr Problems kTooLong = 1u << 2;        // longer than the base (AtMost)
inline constexpr Problems kLengthDiffers = 1u << 3;  // not as long as the base (Fixed)
inline constexpr Problems kStructure = 1u << 4;      // the destination text stood on another line
inline constexpr Problems kFormat = 1u << 5;         // a text check found an error (conversions, escapes)
inline constexpr Problems kCheckWarning = 1u << 6;   // a text check found a warning (blanks, punctuation, &)
}  // namespace problem

// The texts of a row may be views into the files the document keeps
// (text.h): a row costs its few words, not copies of its texts.
struct Entry {
    Text id;           // identifier (resource strings) or text key (menu INI)
    Text base;
    Text dest;         // the destination as edited, its rule applied
    Text stored;       // the destination as last read or saved, as its file holds it
    Text baseComment;  // firmware: the comment of the base line
    Text destComment;  // firmware: the comment of the destination line
    std::uint32_t line = 0;   // firmware: the base line's index in its file set, from 0
    LengthRule rule = LengthRule::None;
    bool structure = false;   // firmware: the destination text stood on another line
};

// Missing, too long and length differs of `text` against `base`. An empty
// text of an empty fixed-length base is no text missing.
Problems textProblems(LengthRule rule, std::string_view base, std::string_view text);
// A row as the table shows it: its destination text, changed against the
// stored one (after the rule), and the structure mark.
Problems entryProblems(const Entry& e);
// A row as its destination file holds it (the stored text), for the check of
// a file: the file is not made to fit the rule first.
Problems fileProblems(const Entry& e);

// Whether a row has a destination text: for a fixed-length text, more than
// the blanks that pad it.
bool hasDestination(const Entry& e);

}  // namespace tov
