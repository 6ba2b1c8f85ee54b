// What the files of the checks share: the two checks of what the product
// reads in a text, each adding at most one Format finding (both expect a
// non-empty base and destination), and the building of a finding's detail.
#pragma once

#include <string>
#include <string_view>

#include "formats/checks/checks.h"

namespace tov::checks {

// Conversions (checks.h, FormatNotation); applies when the base holds "%".
void checkConversions(FormatNotation notation, std::string_view base, std::string_view dest, Findings& out);

// Escapes (checks.h, EscapeNotation); counts them when the base holds "\",
// and always refuses a destination whose last backslash escapes nothing
// (it would take the closing quote of the written literal).
void checkEscapes(EscapeNotation notation, std::string_view base, std::string_view dest, Findings& out);

// The differences one check found, as its detail: "; " between them, the
// first few named and the rest counted.
class Differences {
public:
    template <typename... Parts>
    void add(const Parts&... parts)
    {
        if (named_ == kNamed) {
            ++more_;
            return;
        }
        if (named_++)
            text_ += "; ";
        else
            text_.reserve(80);
        (text_.append(std::string_view(parts)), ...);
    }
    bool empty() const { return named_ == 0; }
    // Adds the finding when there is a difference.
    void report(Code code, Severity severity, Findings& out);

private:
    static constexpr int kNamed = 4;
    int named_ = 0, more_ = 0;
    std::string text_;
};

// A text within double quotes.
std::string quoted(std::string_view text);

}  // namespace tov::checks
