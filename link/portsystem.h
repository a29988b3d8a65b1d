#pragma once

#include <optional>
#include <string>
#include <vector>

namespace Dravix {

// A serial adapter present on the machine.
struct SerialAdapter
{
    std::string path;       // the device, e.g. /dev/ttyUSB0 or \\.\COM14
    std::string stableName; // its name under /dev/serial/by-id/, if it has one
    std::string manufacturer;
    std::string product; // on Windows the device's description, e.g. "USB Serial Port"
    std::string serialNumber;
    std::string name; // the system's short name, e.g. ttyUSB0 or COM14
};

// The group that owns a device, seen from the user's side.
struct DeviceGroup
{
    std::string name;
    bool inSession = false; // this login already carries the group
    bool inAccount = false; // the account database lists the user in it
};

// What the system tells about the devices that ports open; the fake in tests tells anything.
class PortSystem
{
public:
    virtual ~PortSystem() = default;

    // The immediate target of a link; empty when the path is no link.
    virtual std::string linkTarget(const std::string &path) const = 0;
    // The device a path ends at, every link followed; empty when it ends at nothing.
    virtual std::string resolved(const std::string &path) const = 0;
    // Whether the device that a path opens is there now.
    virtual bool present(const std::string &path) const = 0;
    virtual std::optional<DeviceGroup> deviceGroup(const std::string &device) const = 0;
    // The other programs that hold the device, as "name (PID n)", those with a lock first.
    virtual std::vector<std::string> holders(const std::string &device) const = 0;
    virtual std::vector<SerialAdapter> adapters() const = 0;
    virtual std::string userName() const = 0;
    // The folders whose entries change when the device behind a path appears, goes or is
    // pointed elsewhere; empty where the system tells of devices by other means.
    virtual std::vector<std::string> watchedFolders(const std::string &path) const = 0;
};

} // namespace Dravix
