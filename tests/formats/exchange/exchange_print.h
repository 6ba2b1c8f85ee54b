// How the exchange types show in a failed expectation.
#pragma once

#include <ostream>

#include "formats/exchange/rows.h"

namespace tov::exchange {

inline void PrintTo(const Unit& u, std::ostream* os)
{
    *os << "{id " << ::testing::PrintToString(u.id) << ", source " << ::testing::PrintToString(u.source) << ", target "
        << ::testing::PrintToString(u.target) << ", state " << static_cast<int>(u.state) << ", note "
        << ::testing::PrintToString(u.note) << ", ref " << u.reference.file << ":" << u.reference.line << ", width "
        << u.width.chars << (u.width.fixed ? " fixed" : "") << ", format " << static_cast<int>(u.format)
        << (u.targetPlaceholders ? ", placeholders" : "") << "}";
}

inline void PrintTo(const Edit& e, std::ostream* os) { *os << "{row " << e.row << ", " << ::testing::PrintToString(e.text) << "}"; }

inline void PrintTo(const Problem& i, std::ostream* os) { *os << describe(i); }

}  // namespace tov::exchange
