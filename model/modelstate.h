#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace Dravix {

inline constexpr int kSlotCount = 8;

// The module-wide state shared by the model, the device link and the windows.
struct ModelState
{
    std::string DescriptionFile;
    std::int16_t ActiveSet = 0;
    std::int16_t SavedPortIndex = 0;
    std::int16_t SavedSpeedIndex = 0;
    std::array<std::int16_t, kSlotCount> RangeMin{};
    std::array<std::int16_t, kSlotCount> RangeMax{};
    std::array<std::int16_t, kSlotCount> ParamActive{};
    std::uint8_t DeviceCode = 0;
    std::uint16_t InvalidEntries = 0;
    std::int16_t PortNumber = 0;
    std::int16_t PortAvailable = 0;
};

// The bit of entry field k in InvalidEntries: 2^k for k = 0..7, else 0.
constexpr std::uint8_t EntryBit(int k)
{
    return k >= 0 && k < kSlotCount ? std::uint8_t(1u << k) : 0;
}

} // namespace Dravix
