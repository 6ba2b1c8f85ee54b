// Findings as one line each, "error format: detail", for comparing in tests.
#pragma once

#include <string>
#include <vector>

#include "formats/checks/checks.h"

namespace tov::checks::testing {

inline std::vector<std::string> findingLines(const Findings& findings)
{
    std::vector<std::string> lines;
    for (const Finding& f : findings) lines.push_back(std::string(severityName(f.severity)) + " " + describe(f));
    return lines;
}

}  // namespace tov::checks::testing
