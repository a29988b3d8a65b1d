// The number rules on arbitrary text, against the C library and against each other.

#include "invariant.h"

#include "numbers.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace Dravix;

namespace {

// Halves to the even neighbour, then clamped: worked out from floor, not from nearbyint.
std::int16_t expectedRounding(double number)
{
    if (std::isnan(number))
        return 0;
    if (number >= 32767.0)
        return 32767;
    if (number <= -32768.0)
        return -32768;
    const double below = std::floor(number);
    const double fraction = number - below;
    double nearest = fraction < 0.5 ? below : below + 1;
    if (fraction == 0.5)
        nearest = std::fmod(below, 2.0) == 0 ? below : below + 1;
    return static_cast<std::int16_t>(std::max(-32768.0, std::min(32767.0, nearest)));
}

std::string trimmed(const std::string &text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string swapSeparators(std::string text)
{
    for (char &c : text) {
        if (c == '.')
            c = ',';
        else if (c == ',')
            c = '.';
    }
    return text;
}

bool sameNumber(double a, double b)
{
    return a == b && std::signbit(a) == std::signbit(b);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);

    const double value = ParseLeadingNumber(text);
    require(!std::isnan(value), "ParseLeadingNumber never gives NaN");
    require(RoundToInt16(value) == expectedRounding(value), "RoundToInt16 rounds half to even");

    std::string withoutBlanks;
    for (const char c : text) {
        if (c != ' ' && c != '\t' && c != '\n')
            withoutBlanks += c;
    }
    require(sameNumber(ParseLeadingNumber(withoutBlanks), value), "blanks count for nothing");
    require(sameNumber(ParseLeadingNumber(text + "x"), value), "a letter ends the number");

    const bool numeric = IsNumericText(text, ".");
    require(IsNumericText(swapSeparators(text), ",") == numeric, "the separator is a parameter");
    if (numeric) {
        // The C library reads the same grammar: a numeric text is one number through to its end.
        const std::string whole = trimmed(text);
        char *end = nullptr;
        const double reference = std::strtod(whole.c_str(), &end);
        require(end == whole.c_str() + whole.size(), "strtod reads the whole numeric text");
        require(sameNumber(value, reference), "a numeric text reads as strtod reads it");
    }
    return 0;
}
