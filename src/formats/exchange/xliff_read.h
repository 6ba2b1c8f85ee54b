// The two ways an XLIFF document is read: unit by unit where the markup
// around the units can be followed tag by tag (a UTF-8 document without a
// document type), as a whole tree otherwise; both through pugixml, and to
// the same units.
#pragma once

#include <string>
#include <string_view>

#include "formats/exchange/exchange.h"

namespace tov::exchange::xliff {

// False when the document is left to the whole parse (`out` is then
// unspecified); the bytes are not changed.
bool readUnitByUnit(std::string_view bytes, ReadResult& out);
ReadResult readWhole(std::string bytes);

}  // namespace tov::exchange::xliff
