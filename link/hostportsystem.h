#pragma once

#include "portsystem.h"

#include <functional>

namespace Dravix {

// The port system of the machine the program runs on. The adapters come from the caller (the
// toolkit knows their USB details); the stable names under /dev/serial/by-id/ are added here.
class HostPortSystem : public PortSystem
{
public:
    using AdapterList = std::function<std::vector<SerialAdapter>()>;

    explicit HostPortSystem(AdapterList listAdapters);

    std::string linkTarget(const std::string &path) const override;
    std::string resolved(const std::string &path) const override;
    bool present(const std::string &path) const override;
    std::optional<DeviceGroup> deviceGroup(const std::string &device) const override;
    std::vector<std::string> holders(const std::string &device) const override;
    std::vector<SerialAdapter> adapters() const override;
    std::vector<PortlessAdapter> portlessAdapters() const override;
    std::string userName() const override;
    std::vector<std::string> watchedFolders(const std::string &path) const override;

private:
    AdapterList m_listAdapters;
};

} // namespace Dravix
