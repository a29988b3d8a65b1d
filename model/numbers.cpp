#include "numbers.h"

#include "conversions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace Dravix {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int digitValue(char c, int base)
{
    const int value = hexDigit(c);
    return value < base ? value : -1;
}

// Walks a text with the blanks taken out.
class Cursor
{
public:
    explicit Cursor(std::string_view text)
        : m_text(text)
    {
        skipBlanks();
    }
    bool atEnd() const { return m_pos >= m_text.size(); }
    char peek() const { return atEnd() ? '\0' : m_text[m_pos]; }
    void next()
    {
        ++m_pos;
        skipBlanks();
    }

private:
    void skipBlanks()
    {
        while (m_pos < m_text.size() && isBlank(m_text[m_pos]))
            ++m_pos;
    }
    std::string_view m_text;
    std::size_t m_pos = 0;
};

double parseRadixInteger(Cursor &cursor, int base)
{
    double value = 0;
    for (int d = digitValue(cursor.peek(), base); !cursor.atEnd() && d >= 0;
         d = digitValue(cursor.peek(), base)) {
        value = value * base + d;
        cursor.next();
    }
    return value;
}

// For a number that std::from_chars found out of range ("digits[.digits][e[-]digits]"): true
// when it is too large, false when too small.
bool overflows(std::string_view number)
{
    const std::size_t e = std::min(number.find('e'), number.size());
    const std::string_view mantissa = number.substr(0, e);
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_not_of("0.");
    if (first == std::string_view::npos)
        return false;
    // The leading digit stands for 10^(order - 1).
    long long order = static_cast<long long>(point) - static_cast<long long>(first);
    if (first > point)
        ++order; // the point is no digit
    // The exponent only needs to be read far enough to outweigh any order a text can have.
    constexpr long long kFar = 1'000'000'000'000'000;
    long long exponent = 0;
    const bool negative = e + 1 < number.size() && number[e + 1] == '-';
    for (std::size_t i = e + (negative ? 2 : 1); i < number.size() && exponent < kFar; ++i)
        exponent = exponent * 10 + (number[i] - '0');
    order += negative ? -exponent : exponent;
    return order > 0;
}

} // namespace

double ParseLeadingNumber(std::string_view text)
{
    Cursor cursor(text);
    if (cursor.peek() == '&') {
        cursor.next();
        const char radix = cursor.peek();
        if (radix == 'H' || radix == 'h') {
            cursor.next();
            return parseRadixInteger(cursor, 16);
        }
        if (radix == 'O' || radix == 'o') {
            cursor.next();
            return parseRadixInteger(cursor, 8);
        }
        return 0;
    }

    // Collect the accepted characters in the form that std::from_chars reads.
    std::string number;
    bool negative = false;
    if (cursor.peek() == '+' || cursor.peek() == '-') {
        negative = cursor.peek() == '-';
        cursor.next();
    }
    bool anyDigit = false;
    while (isDigit(cursor.peek())) {
        number += cursor.peek();
        anyDigit = true;
        cursor.next();
    }
    if (cursor.peek() == '.') {
        number += '.';
        cursor.next();
        while (isDigit(cursor.peek())) {
            number += cursor.peek();
            anyDigit = true;
            cursor.next();
        }
    }
    if (!anyDigit)
        return 0;

    const char e = cursor.peek();
    if (e == 'E' || e == 'e' || e == 'D' || e == 'd') {
        // The exponent counts only when digits follow; a lone "e" or "e-" ends the number.
        cursor.next();
        std::string exponent = "e";
        if (cursor.peek() == '+' || cursor.peek() == '-') {
            if (cursor.peek() == '-')
                exponent += '-';
            cursor.next();
        }
        bool exponentDigits = false;
        while (isDigit(cursor.peek())) {
            exponent += cursor.peek();
            exponentDigits = true;
            cursor.next();
        }
        if (exponentDigits)
            number += exponent;
    }

    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value,
                                              std::chars_format::general);
    (void)end;
    if (error == std::errc::result_out_of_range)
        value = overflows(number) ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -value : value;
}

std::int16_t RoundToInt16(double number)
{
    if (std::isnan(number))
        return 0;
    const double rounded = std::nearbyint(number);
    if (rounded <= -32768.0)
        return -32768;
    if (rounded >= 32767.0)
        return 32767;
    return static_cast<std::int16_t>(rounded);
}

bool IsNumericText(std::string_view text, std::string_view decimalSeparator)
{
    const auto isSpace = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);

    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    bool digits = false;
    bool separator = false;
    while (i < text.size()) {
        if (isDigit(text[i])) {
            digits = true;
            ++i;
        } else if (!separator && !decimalSeparator.empty() &&
                   text.substr(i).starts_with(decimalSeparator)) {
            separator = true;
            i += decimalSeparator.size();
        } else {
            break;
        }
    }
    if (!digits)
        return false;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        const std::size_t exponentStart = i;
        while (i < text.size() && isDigit(text[i]))
            ++i;
        if (i == exponentStart)
            return false;
    }
    return i == text.size();
}

} // namespace Dravix
