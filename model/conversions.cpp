#include "conversions.h"

namespace Dravix {

namespace {

// Length in bytes of the UTF-8 character that starts a text (1 for a stray byte).
std::size_t firstCharacterLength(std::string_view text)
{
    if (text.empty())
        return 0;
    std::size_t length = 1;
    while (length < text.size() && (static_cast<unsigned char>(text[length]) & 0xc0) == 0x80)
        ++length;
    return length;
}

} // namespace

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::uint8_t HexDigitValue(std::string_view text)
{
    const int value = text.size() == 1 ? hexDigit(text.front()) : -1;
    return value < 0 ? 0 : std::uint8_t(value);
}

std::uint8_t HexPairToByte(std::string_view text)
{
    const std::size_t firstLength = firstCharacterLength(text);
    const std::string_view first = text.substr(0, firstLength);
    const std::string_view rest = text.substr(firstLength);
    const std::string_view second = rest.substr(0, firstCharacterLength(rest));
    return std::uint8_t(16 * HexDigitValue(first) + HexDigitValue(second));
}

} // namespace Dravix
