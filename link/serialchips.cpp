#include "serialchips.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace Dravix {

namespace {

constexpr SerialChip kFtdi{"FTDI", "ftdi_sio", "FTDI VCP (ftdichip.com)"};
constexpr SerialChip kProlific{"Prolific", "pl2303", "Prolific PL2303 (prolific.com.tw)"};
constexpr SerialChip kSiliconLabs{"Silicon Labs", "cp210x", "Silicon Labs CP210x VCP (silabs.com)"};
constexpr SerialChip kWch{"WCH", "ch341", "WCH CH341SER (wch-ic.com)"};
constexpr SerialChip kWchAcm{"WCH", "cdc_acm", "WCH CH343SER (wch-ic.com)"};
constexpr SerialChip kAcm{"", "cdc_acm", "producenta urządzenia"};

struct Ids
{
    std::string_view vendor;
    std::string_view product; // empty: every product of the vendor
    const SerialChip *chip;
};

constexpr std::array kKnown{
    Ids{"0403", "", &kFtdi},
    Ids{"067b", "2303", &kProlific},
    Ids{"067b", "23a3", &kProlific},
    Ids{"067b", "23b3", &kProlific},
    Ids{"067b", "23c3", &kProlific},
    Ids{"067b", "23d3", &kProlific},
    Ids{"067b", "23e3", &kProlific},
    Ids{"067b", "23f3", &kProlific},
    Ids{"10c4", "ea60", &kSiliconLabs},
    Ids{"10c4", "ea61", &kSiliconLabs},
    Ids{"10c4", "ea63", &kSiliconLabs},
    Ids{"10c4", "ea70", &kSiliconLabs},
    Ids{"10c4", "ea71", &kSiliconLabs},
    Ids{"10c4", "ea80", &kSiliconLabs},
    Ids{"1a86", "7523", &kWch},
    Ids{"1a86", "7522", &kWch},
    Ids{"1a86", "5523", &kWch},
    Ids{"1a86", "e523", &kWch},
    Ids{"1a86", "55d2", &kWchAcm},
    Ids{"1a86", "55d3", &kWchAcm},
    Ids{"1a86", "55d4", &kWchAcm},
};

bool sameHex(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == y;
           });
}

std::string withoutLeadingZeros(const std::string &hex)
{
    const std::size_t first = hex.find_first_not_of('0');
    return first == std::string::npos ? "0" : hex.substr(first);
}

} // namespace

const SerialChip *SerialChip::find(std::string_view vendorId, std::string_view productId)
{
    for (const Ids &ids : kKnown) {
        if (sameHex(vendorId, ids.vendor) &&
            (ids.product.empty() || sameHex(productId, ids.product)))
            return ids.chip;
    }
    return nullptr;
}

const SerialChip &SerialChip::communicationsClass()
{
    return kAcm;
}

std::string SerialChip::udevProduct(const std::string &vendorId, const std::string &productId)
{
    return withoutLeadingZeros(vendorId) + "/" + withoutLeadingZeros(productId);
}

} // namespace Dravix
