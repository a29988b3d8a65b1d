#pragma once

#include "portsystem.h"

#include <map>
#include <set>

namespace Dravix {

// A port system told by the test: links, devices present, the owner group, holders, adapters.
class FakePortSystem : public PortSystem
{
public:
    std::string linkTarget(const std::string &path) const override
    {
        const auto link = links.find(path);
        return link == links.end() ? std::string() : link->second;
    }
    std::string resolved(const std::string &path) const override
    {
        std::string end = path;
        for (auto link = links.find(end); link != links.end(); link = links.find(end))
            end = link->second;
        return devices.count(end) ? end : std::string();
    }
    bool present(const std::string &path) const override { return !resolved(path).empty(); }
    std::optional<DeviceGroup> deviceGroup(const std::string &) const override { return group; }
    std::vector<std::string> holders(const std::string &) const override { return holding; }
    std::vector<SerialAdapter> adapters() const override
    {
        ++adapterListings;
        return listed;
    }
    std::vector<PortlessAdapter> portlessAdapters() const override { return portless; }
    std::string userName() const override { return user; }
    std::vector<std::string> watchedFolders(const std::string &) const override { return {"/dev"}; }

    std::map<std::string, std::string> links; // a path and where it points
    std::set<std::string> devices;            // the devices that exist
    std::optional<DeviceGroup> group;
    std::vector<std::string> holding;
    std::vector<SerialAdapter> listed;
    std::vector<PortlessAdapter> portless;
    std::string user = "jan";
    mutable int adapterListings = 0; // how often the adapters were listed, as a note does
};

} // namespace Dravix
