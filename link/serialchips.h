#pragma once

#include <string>
#include <string_view>

namespace Dravix {

// A USB serial chip known by its vendor and product ids: who makes it, the Linux kernel module
// that gives it a port, and the driver a Windows user installs for it.
struct SerialChip
{
    std::string_view maker;
    std::string_view module;
    std::string_view windowsDriver;

    // The chip of an adapter's ids (lower- or upper-case hex); nullptr for one not known.
    static const SerialChip *find(std::string_view vendorId, std::string_view productId);
    // The chips that speak the USB communications class (CDC-ACM) whatever their ids.
    static const SerialChip &communicationsClass();
    // The ids as udev's PRODUCT names a device, "1a86/7523" (hex without leading zeros).
    static std::string udevProduct(const std::string &vendorId, const std::string &productId);
};

} // namespace Dravix
