// The two checks of what the product reads in a text, each adding at most one
// Format finding. Both expect a non-empty base and destination.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "formats/checks/checks.h"

namespace tov::checks {

// Conversions (checks.h, FormatNotation); applies when the base holds "%".
void checkConversions(FormatNotation notation, std::string_view base, std::string_view dest, Findings& out);

// Escapes (checks.h, EscapeNotation); counts them when the base holds "\",
// and always refuses a destination whose last backslash escapes nothing
// (it would take the closing quote of the written literal).
void checkEscapes(EscapeNotation notation, std::string_view base, std::string_view dest, Findings& out);

// The differences one check found, as its detail: "; " between them, and
// only the first few named.
std::string joinDifferences(const std::vector<std::string>& differences);

// A text within double quotes.
std::string quoted(std::string_view text);

}  // namespace tov::checks
