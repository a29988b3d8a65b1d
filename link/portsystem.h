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
    std::string name;     // the system's short name, e.g. ttyUSB0 or COM14
    std::string vendorId; // USB ids as four lower-case hex digits, when it is a USB device
    std::string productId;
};

// A USB serial adapter that is plugged in and gives no port, with what the system tells of why.
struct PortlessAdapter
{
    enum class Module {
        Unknown,
        Loaded,    // in the running kernel, yet not bound to the adapter
        NotLoaded, // installed, not loaded
        Missing,   // not among the running kernel's modules
    };

    std::string vendorId; // four lower-case hex digits, e.g. 1a86
    std::string productId;
    std::string manufacturer;
    std::string product; // on Windows the name that the Device Manager shows
    std::string serialNumber;
    // Linux: the driver bound to the adapter's serial interface; empty when none is, "usbfs"
    // when a program took it through libusb.
    std::string driver;
    std::string module; // Linux: the kernel module its chip needs, e.g. ch341
    Module moduleState = Module::Unknown;
    std::vector<std::string> claimers; // Linux: who holds it through usbfs, "brltty (PID 812)"
    std::string brailleService;        // Linux: the braille service's process, when one runs
    std::string brailleRule;           // Linux: the udev rule file that hands this id to it
    int problemCode = 0;               // Windows: the Device Manager's code of its problem

    bool operator==(const PortlessAdapter &) const = default;
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
    // The serial adapters that are plugged in but give no port.
    virtual std::vector<PortlessAdapter> portlessAdapters() const = 0;
    virtual std::string userName() const = 0;
    // The folders whose entries change when the device behind a path appears, goes or is
    // pointed elsewhere; empty where the system tells of devices by other means.
    virtual std::vector<std::string> watchedFolders(const std::string &path) const = 0;
};

} // namespace Dravix
