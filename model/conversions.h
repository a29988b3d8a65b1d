#pragma once

#include <cstdint>
#include <string_view>

namespace Dravix {

// Value of a hexadecimal digit in either case, -1 for any other character: the one rule by
// which a hexadecimal digit is read.
int hexDigit(char c);

// Value of a text that is exactly one hexadecimal digit; 0 for any other text.
std::uint8_t HexDigitValue(std::string_view text);

// The first two characters of a text as the high and low hexadecimal digit; a missing or
// non-hexadecimal character counts as 0.
std::uint8_t HexPairToByte(std::string_view text);

} // namespace Dravix
