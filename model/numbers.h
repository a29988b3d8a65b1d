#pragma once

#include <cstdint>
#include <string_view>

namespace Dravix {

// The number at the start of a text: blanks (space, TAB, LF) are skipped wherever they stand;
// an optional sign, digits, "." as the only decimal point and an exponent (E, e, D or d);
// or "&H" / "&O" with hexadecimal / octal digits. 0 when no digit is read. Never fails; a
// number too large for a double reads as an infinity of its sign.
double ParseLeadingNumber(std::string_view text);

// The nearest integer, halves to the even neighbour, clamped to -32768..32767 (NaN gives 0).
std::int16_t RoundToInt16(double number);

// True when the whole text, spaces and TABs around it aside, is one decimal number: optional
// sign, digits with at most one decimal separator and at least one digit, then optionally
// E or e, an optional sign and digits.
bool IsNumericText(std::string_view text, std::string_view decimalSeparator);

} // namespace Dravix
