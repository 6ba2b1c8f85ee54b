// Value conversions shared by the settings, the length columns and the readers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tov {

// Integer parsing with the usual rules of the settings file: leading blanks
// skipped, an optional sign, decimal digits or hexadecimal ones after "$",
// "x"/"X" or "0x"/"0X". Empty text, or text whose first character cannot
// start a number, gives 0. When a later character is invalid the digits
// before it count, without the sign ("12ab" -> 12, "-12ab" -> 12).
// Values beyond the 32-bit range give 0.
std::int32_t signedNumber(std::string_view text);
// The same, with a negative result taken as 0.
std::int32_t nonNegativeNumber(std::string_view text);

// Upper-case hexadecimal without leading zeros, padded with one "0" to an
// even number of digits: 0 -> "00", 256 -> "0100", 0xFF000008 -> "FF000008".
std::string colorToHex(std::uint32_t value);
// Keeps only hexadecimal digits; 1 to 7 digits give their value, none or 8
// and more give 0.
std::uint32_t hexToColor(std::string_view text);

// "major.<minor><release>.<build, at least three digits>", each part through
// its low 8 bits: (1,0,1,12) -> "1.01.012".
std::string versionText(unsigned major, unsigned minor, unsigned release, unsigned build);
// The version of this build (from the project version).
std::string programVersionText();

// Length cell text: one blank and the decimal length (" 17").
std::string lengthText(std::size_t length);

}  // namespace tov
