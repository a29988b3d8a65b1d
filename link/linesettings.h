#pragma once

#include <optional>
#include <string_view>

namespace Dravix {

// A line-settings text "speed,parity,data bits,stop bits" taken apart; empty text is 9600,n,8,1.
struct LineSettings
{
    enum class Parity { None, Even, Odd, Mark, Space };
    enum class StopBits { One, OneAndHalf, Two };

    int speed = 9600;
    Parity parity = Parity::None;
    int dataBits = 8;
    StopBits stopBits = StopBits::One;

    // Empty for any text that is not exactly of that form.
    static std::optional<LineSettings> parse(std::string_view text);
};

} // namespace Dravix
