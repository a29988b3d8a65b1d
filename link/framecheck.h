#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace Dravix {

// The CRC-16/MODBUS check value that ends every frame.
using CheckBytes = std::array<std::uint8_t, 2>;

// Check value of a byte string: low byte first.
CheckBytes FrameCheck(std::span<const std::uint8_t> bytes);

// True when the last two bytes are the check value of the bytes before them.
bool FrameCheckOk(std::span<const std::uint8_t> bytesWithCheck);

} // namespace Dravix
