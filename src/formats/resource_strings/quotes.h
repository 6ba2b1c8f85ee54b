// The quote routines shared by the resource-string files (backslash before a
// double quote) and the firmware text files (doubled apostrophes).
#pragma once

#include <string>
#include <string_view>

namespace tov {

// Removes every backslash that stands directly before a double quote, the
// whole run of them: «\"» and «\\"» both become «"». Other backslashes stay.
std::string UnescapeQuotes(std::string_view text);
// The same over `text[0, size)` in place (the result is never longer);
// returns its length. Bytes are written only where a quote was escaped.
std::size_t UnescapeQuotesInPlace(char* text, std::size_t size);

// Puts a backslash before every double quote. Backslashes are not doubled,
// so a text holding «\"» does not survive EscapeQuotes + UnescapeQuotes.
std::string EscapeQuotes(std::string_view text);

// Collapses every run of apostrophes to a single apostrophe («''» and «'''»
// both become «'»).
std::string UnescapeApostrophes(std::string_view text);

// Doubles every apostrophe.
std::string EscapeApostrophes(std::string_view text);

}  // namespace tov
