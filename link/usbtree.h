#pragma once

#include "portsystem.h"

#include <filesystem>
#include <string>
#include <vector>

namespace Dravix {

// The USB devices of a Linux machine as sysfs, /proc and the kernel's module lists show them
// beneath a root folder: "/" on the machine, a recorded tree in tests.
class UsbTree
{
public:
    explicit UsbTree(std::filesystem::path root = "/");

    // The serial adapters plugged in without a tty: a known chip or a communications-class
    // interface, with no driver bound or taken by a program through usbfs.
    std::vector<PortlessAdapter> portless() const;
    // The folders of the buses' device nodes, where a plugged-in device appears.
    std::vector<std::string> busFolders() const;

private:
    std::string text(const std::filesystem::path &file) const;
    PortlessAdapter::Module moduleState(const std::string &module) const;
    std::vector<std::string> claimers(const std::string &node) const;
    std::string brailleService() const;
    std::string brailleRule(const std::string &vendorId, const std::string &productId) const;

    std::filesystem::path m_root;
};

} // namespace Dravix
