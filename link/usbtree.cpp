#include "usbtree.h"

#include "serialchips.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace Dravix {

namespace fs = std::filesystem;

namespace {

struct Interface
{
    std::string driver;
    bool communications = false; // CDC-ACM's control interface
    bool hasTty = false;
};

bool numeric(const std::string &name)
{
    return !name.empty() && std::all_of(name.begin(), name.end(),
                                        [](unsigned char c) { return std::isdigit(c) != 0; });
}

// The processes of /proc beneath the root, by PID.
std::vector<fs::path> processes(const fs::path &proc)
{
    std::vector<fs::path> found;
    std::error_code error;
    for (const auto &entry : fs::directory_iterator(proc, error)) {
        if (numeric(entry.path().filename().string()))
            found.push_back(entry.path());
    }
    return found;
}

} // namespace

UsbTree::UsbTree(fs::path root)
    : m_root(std::move(root))
{
}

std::string UsbTree::text(const fs::path &file) const
{
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back())))
        line.pop_back();
    return line;
}

std::vector<PortlessAdapter> UsbTree::portless() const
{
    std::vector<PortlessAdapter> found;
    const fs::path devices = m_root / "sys/bus/usb/devices";
    std::error_code error;
    std::vector<std::string> names;
    for (const auto &entry : fs::directory_iterator(devices, error))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());

    for (const std::string &name : names) {
        if (name.find(':') != std::string::npos)
            continue; // an interface, taken with its device below
        const fs::path device = devices / name;
        PortlessAdapter adapter;
        adapter.vendorId = text(device / "idVendor");
        adapter.productId = text(device / "idProduct");
        if (adapter.vendorId.empty())
            continue;
        const SerialChip *chip = SerialChip::find(adapter.vendorId, adapter.productId);

        std::vector<Interface> serial;
        for (const std::string &other : names) {
            if (other.rfind(name + ":", 0) != 0)
                continue;
            const fs::path dir = devices / other;
            Interface interface;
            interface.communications =
                text(dir / "bInterfaceClass") == "02" && text(dir / "bInterfaceSubClass") == "02";
            if (!chip && !interface.communications)
                continue;
            std::error_code linkError;
            interface.driver = fs::read_symlink(dir / "driver", linkError).filename().string();
            std::error_code listError;
            for (const auto &child : fs::directory_iterator(dir, listError)) {
                const std::string childName = child.path().filename().string();
                interface.hasTty = interface.hasTty || childName.rfind("tty", 0) == 0;
            }
            serial.push_back(interface);
        }
        if (serial.empty() ||
            std::any_of(serial.begin(), serial.end(), [](const Interface &i) { return i.hasTty; }))
            continue;
        // A driver of its own that has not made the tty yet is still probing: no fault.
        const auto taken = std::find_if(serial.begin(), serial.end(), [](const Interface &i) {
            return i.driver.empty() || i.driver == "usbfs";
        });
        if (taken == serial.end())
            continue;
        adapter.driver = taken->driver;
        adapter.module =
            std::string(chip ? chip->module : SerialChip::communicationsClass().module);
        adapter.manufacturer = text(device / "manufacturer");
        adapter.product = text(device / "product");
        adapter.serialNumber = text(device / "serial");
        if (adapter.driver.empty()) {
            adapter.moduleState = moduleState(adapter.module);
        } else {
            char node[32];
            std::snprintf(node, sizeof node, "/dev/bus/usb/%03d/%03d",
                          std::atoi(text(device / "busnum").c_str()),
                          std::atoi(text(device / "devnum").c_str()));
            adapter.claimers = claimers(node);
            adapter.brailleService = brailleService();
            if (!adapter.brailleService.empty())
                adapter.brailleRule = brailleRule(adapter.vendorId, adapter.productId);
        }
        found.push_back(adapter);
    }
    return found;
}

PortlessAdapter::Module UsbTree::moduleState(const std::string &module) const
{
    std::error_code error;
    if (fs::is_directory(m_root / "sys/module" / module, error))
        return PortlessAdapter::Module::Loaded;
    const std::string release = text(m_root / "proc/sys/kernel/osrelease");
    std::ifstream list(m_root / "lib/modules" / release / "modules.dep");
    if (release.empty() || !list)
        return PortlessAdapter::Module::Unknown;
    // "kernel/drivers/usb/serial/ch341.ko.xz: kernel/drivers/usb/serial/usbserial.ko.xz"
    const std::string file = "/" + module + ".ko";
    std::string line;
    while (std::getline(list, line)) {
        const std::size_t at = line.find(file);
        if (at != std::string::npos && at < line.find(':'))
            return PortlessAdapter::Module::NotLoaded;
    }
    return PortlessAdapter::Module::Missing;
}

std::vector<std::string> UsbTree::claimers(const std::string &node) const
{
    std::vector<std::string> found;
    for (const fs::path &process : processes(m_root / "proc")) {
        std::error_code error;
        for (const auto &fd : fs::directory_iterator(process / "fd", error)) {
            std::error_code linkError;
            if (fs::read_symlink(fd.path(), linkError).string() == node) {
                found.push_back(text(process / "comm") + " (PID " + process.filename().string() +
                                ")");
                break;
            }
        }
    }
    return found;
}

std::string UsbTree::brailleService() const
{
    // Its process name is readable by every user, its open files often are not.
    for (const fs::path &process : processes(m_root / "proc")) {
        if (text(process / "comm") == "brltty")
            return "brltty (PID " + process.filename().string() + ")";
    }
    return {};
}

std::string UsbTree::brailleRule(const std::string &vendorId, const std::string &productId) const
{
    // The rules name a device as ENV{PRODUCT}=="1a86/7523/*"; a rule of /etc overrides a rule
    // file of the same name elsewhere.
    const std::string product =
        "ENV{PRODUCT}==\"" + SerialChip::udevProduct(vendorId, productId) + "/";
    for (const char *folder : {"etc/udev/rules.d", "usr/lib/udev/rules.d", "lib/udev/rules.d"}) {
        std::error_code error;
        std::vector<fs::path> files;
        for (const auto &entry : fs::directory_iterator(m_root / folder, error)) {
            if (entry.path().extension() == ".rules" &&
                entry.path().filename().string().find("brltty") != std::string::npos)
                files.push_back(entry.path());
        }
        std::sort(files.begin(), files.end());
        for (const fs::path &file : files) {
            std::ifstream in(file);
            std::string line;
            while (std::getline(in, line)) {
                if (line.rfind(product, 0) == 0)
                    return (fs::path("/") / folder / file.filename()).string();
            }
        }
    }
    return {};
}

std::vector<std::string> UsbTree::busFolders() const
{
    std::vector<std::string> folders;
    std::error_code error;
    for (const auto &entry : fs::directory_iterator(m_root / "dev/bus/usb", error)) {
        if (entry.is_directory(error))
            folders.push_back((fs::path("/") / fs::relative(entry.path(), m_root, error)).string());
    }
    std::sort(folders.begin(), folders.end());
    return folders;
}

} // namespace Dravix
