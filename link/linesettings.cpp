#include "linesettings.h"

#include <array>
#include <charconv>

namespace Dravix {

namespace {

std::optional<int> positiveInteger(std::string_view text)
{
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value <= 0)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<LineSettings> LineSettings::parse(std::string_view text)
{
    LineSettings settings;
    if (text.empty())
        return settings;

    std::array<std::string_view, 4> fields;
    std::size_t count = 0;
    while (true) {
        const std::size_t comma = text.find(',');
        if (count == fields.size())
            return std::nullopt;
        fields[count++] = text.substr(0, comma);
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
    if (count != fields.size())
        return std::nullopt;

    const auto speed = positiveInteger(fields[0]);
    if (!speed)
        return std::nullopt;
    settings.speed = *speed;

    if (fields[1].size() != 1)
        return std::nullopt;
    switch (fields[1][0]) {
    case 'n':
    case 'N':
        settings.parity = Parity::None;
        break;
    case 'e':
    case 'E':
        settings.parity = Parity::Even;
        break;
    case 'o':
    case 'O':
        settings.parity = Parity::Odd;
        break;
    case 'm':
    case 'M':
        settings.parity = Parity::Mark;
        break;
    case 's':
    case 'S':
        settings.parity = Parity::Space;
        break;
    default:
        return std::nullopt;
    }

    if (fields[2].size() != 1 || fields[2][0] < '5' || fields[2][0] > '8')
        return std::nullopt;
    settings.dataBits = fields[2][0] - '0';

    if (fields[3] == "1")
        settings.stopBits = StopBits::One;
    else if (fields[3] == "1.5")
        settings.stopBits = StopBits::OneAndHalf;
    else if (fields[3] == "2")
        settings.stopBits = StopBits::Two;
    else
        return std::nullopt;
    return settings;
}

} // namespace Dravix
