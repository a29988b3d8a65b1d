#include "hostportsystem.h"

#include "serialchips.h"

#include <windows.h>

#include <cfgmgr32.h>
#include <devguid.h>
#include <setupapi.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace Dravix {

namespace fs = std::filesystem;

namespace {

std::string utf8(const std::wstring &text)
{
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(std::size_t(std::max(size, 0)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), bytes.data(), size, nullptr,
                        nullptr);
    return bytes;
}

// A registry property of a device; a list (the hardware ids) as its entries joined by spaces.
std::wstring property(HDEVINFO set, SP_DEVINFO_DATA &device, DWORD which)
{
    std::wstring value(512, L'\0');
    DWORD bytes = 0;
    if (!SetupDiGetDeviceRegistryPropertyW(set, &device, which, nullptr,
                                           reinterpret_cast<BYTE *>(value.data()),
                                           DWORD(value.size() * sizeof(wchar_t)), &bytes))
        return {};
    value.resize(std::min<std::size_t>(bytes / sizeof(wchar_t), value.size()));
    while (!value.empty() && value.back() == L'\0')
        value.pop_back();
    std::replace(value.begin(), value.end(), L'\0', L' ');
    return value;
}

// "1a86" out of "USB\VID_1A86&PID_7523&REV_0264" or "FTDIBUS\VID_0403+PID_6001+A10K".
std::string idAfter(const std::string &ids, const std::string &key)
{
    const std::size_t at = ids.find(key);
    if (at == std::string::npos || at + key.size() + 4 > ids.size())
        return {};
    std::string id = ids.substr(at + key.size(), 4);
    for (char &c : id)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return id;
}

// The devices of one set that have a problem: ports of every kind, and USB serial chips.
void addTroubled(HDEVINFO set, bool portsClass, std::vector<PortlessAdapter> &found)
{
    if (set == INVALID_HANDLE_VALUE)
        return;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &device); ++i) {
        ULONG status = 0, problem = 0;
        if (CM_Get_DevNode_Status(&status, &problem, device.DevInst, 0) != CR_SUCCESS ||
            (status & DN_HAS_PROBLEM) == 0)
            continue;
        std::string ids = utf8(property(set, device, SPDRP_HARDWAREID));
        for (char &c : ids)
            c = char(std::toupper(static_cast<unsigned char>(c)));
        const std::string compatible = utf8(property(set, device, SPDRP_COMPATIBLEIDS));
        PortlessAdapter adapter;
        adapter.vendorId = idAfter(ids, "VID_");
        adapter.productId = idAfter(ids, "PID_");
        const bool communications = compatible.find("Class_02&SubClass_02") != std::string::npos;
        if (!portsClass && !communications &&
            !SerialChip::find(adapter.vendorId, adapter.productId))
            continue;
        const bool seen = std::any_of(found.begin(), found.end(), [&](const PortlessAdapter &a) {
            return a.vendorId == adapter.vendorId && a.productId == adapter.productId &&
                   a.problemCode == int(problem);
        });
        if (seen)
            continue;
        std::wstring name = property(set, device, SPDRP_FRIENDLYNAME);
        if (name.empty())
            name = property(set, device, SPDRP_DEVICEDESC);
        adapter.product = utf8(name);
        adapter.manufacturer = utf8(property(set, device, SPDRP_MFG));
        adapter.problemCode = int(problem);
        found.push_back(adapter);
    }
    SetupDiDestroyDeviceInfoList(set);
}

} // namespace

// Windows knows no device groups, no lock owners to list and no stable names: access denied
// there means another program holds the port.

HostPortSystem::HostPortSystem(AdapterList listAdapters)
    : m_listAdapters(std::move(listAdapters))
{
}

std::string HostPortSystem::linkTarget(const std::string &path) const
{
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(fs::u8path(path), error)))
        return {};
    const fs::path target = fs::read_symlink(fs::u8path(path), error);
    const auto text = target.u8string();
    return error ? std::string() : std::string(text.begin(), text.end());
}

std::string HostPortSystem::resolved(const std::string &path) const
{
    // A bare COM<N> is a device name, not a file: only the open can tell whether it exists.
    if (!fs::u8path(path).is_absolute())
        return path;
    std::error_code error;
    const fs::path device = fs::canonical(fs::u8path(path), error);
    const auto text = device.u8string();
    return error ? std::string() : std::string(text.begin(), text.end());
}

bool HostPortSystem::present(const std::string &path) const
{
    const auto named = [&path](const SerialAdapter &adapter) {
        return adapter.name.size() == path.size() &&
               std::equal(path.begin(), path.end(), adapter.name.begin(), [](char a, char b) {
                   return std::tolower(static_cast<unsigned char>(a)) ==
                          std::tolower(static_cast<unsigned char>(b));
               });
    };
    const std::vector<SerialAdapter> present = adapters();
    return std::any_of(present.begin(), present.end(), named);
}

std::optional<DeviceGroup> HostPortSystem::deviceGroup(const std::string &) const
{
    return std::nullopt;
}

std::vector<std::string> HostPortSystem::holders(const std::string &) const
{
    return {};
}

std::vector<SerialAdapter> HostPortSystem::adapters() const
{
    return m_listAdapters ? m_listAdapters() : std::vector<SerialAdapter>{};
}

std::vector<PortlessAdapter> HostPortSystem::portlessAdapters() const
{
    // The Device Manager's warning marks: the Ports class, and what the USB bus enumerates
    // (an adapter without its driver is of no class yet). A few dozen devices, not all.
    std::vector<PortlessAdapter> found;
    addTroubled(SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT), true,
                found);
    addTroubled(SetupDiGetClassDevsW(nullptr, L"USB", nullptr, DIGCF_ALLCLASSES | DIGCF_PRESENT),
                false, found);
    return found;
}

std::string HostPortSystem::userName() const
{
    return {};
}

std::vector<std::string> HostPortSystem::watchedFolders(const std::string &) const
{
    return {}; // the system's device-change notification tells instead
}

} // namespace Dravix
