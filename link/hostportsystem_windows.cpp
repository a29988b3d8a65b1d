#include "hostportsystem.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace Dravix {

namespace fs = std::filesystem;

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

std::string HostPortSystem::userName() const
{
    return {};
}

std::vector<std::string> HostPortSystem::watchedFolders(const std::string &) const
{
    return {}; // the system's device-change notification tells instead
}

} // namespace Dravix
