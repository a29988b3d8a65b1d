#include "framecheck.h"

namespace Dravix {

CheckBytes FrameCheck(std::span<const std::uint8_t> bytes)
{
    std::uint16_t reg = 0xFFFF;
    for (const std::uint8_t b : bytes) {
        reg ^= b;
        for (int bit = 0; bit < 8; ++bit) {
            const bool carry = (reg & 1U) != 0;
            reg = static_cast<std::uint16_t>(reg >> 1);
            if (carry)
                reg ^= 0xA001;
        }
    }
    return {static_cast<std::uint8_t>(reg & 0xFF), static_cast<std::uint8_t>(reg >> 8)};
}

bool FrameCheckOk(std::span<const std::uint8_t> bytesWithCheck)
{
    const std::size_t n = bytesWithCheck.size();
    if (n < 2)
        return false;
    const CheckBytes check = FrameCheck(bytesWithCheck.first(n - 2));
    return check[0] == bytesWithCheck[n - 2] && check[1] == bytesWithCheck[n - 1];
}

} // namespace Dravix
