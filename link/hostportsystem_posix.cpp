#include "hostportsystem.h"

#include "usbtree.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace Dravix {

namespace fs = std::filesystem;

namespace {

std::string commandName(long pid)
{
    std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
    std::string name;
    std::getline(comm, name);
    return name.empty() ? "?" : name;
}

std::string holderText(long pid)
{
    return commandName(pid) + " (PID " + std::to_string(pid) + ")";
}

// Processes with a flock or POSIX lock on the inode, from /proc/locks.
std::vector<long> lockOwners(const struct stat &device)
{
    std::vector<long> owners;
    std::ifstream locks("/proc/locks");
    std::string line;
    while (std::getline(locks, line)) {
        // "1: FLOCK  ADVISORY  WRITE 4711 00:05:3 0 EOF"; a waiting lock has "->" after the id.
        std::istringstream fields(line);
        std::string id, kind, mode, access, inode;
        long pid = 0;
        fields >> id >> kind;
        if (kind == "->")
            continue;
        fields >> mode >> access >> pid >> inode;
        unsigned major = 0, minor = 0;
        unsigned long number = 0;
        if (std::sscanf(inode.c_str(), "%x:%x:%lu", &major, &minor, &number) != 3)
            continue;
        if (major == ::major(device.st_dev) && minor == ::minor(device.st_dev) &&
            number == device.st_ino)
            owners.push_back(pid);
    }
    return owners;
}

bool inList(const std::vector<gid_t> &groups, gid_t gid)
{
    return std::find(groups.begin(), groups.end(), gid) != groups.end();
}

} // namespace

HostPortSystem::HostPortSystem(AdapterList listAdapters)
    : m_listAdapters(std::move(listAdapters))
{
}

std::string HostPortSystem::linkTarget(const std::string &path) const
{
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(path, error)))
        return {};
    fs::path target = fs::read_symlink(path, error);
    if (error)
        return {};
    if (target.is_relative())
        target = fs::path(path).parent_path() / target;
    return target.lexically_normal().string();
}

std::string HostPortSystem::resolved(const std::string &path) const
{
    std::error_code error;
    const fs::path device = fs::canonical(path, error);
    return error ? std::string() : device.string();
}

bool HostPortSystem::present(const std::string &path) const
{
    return !resolved(path).empty();
}

std::optional<DeviceGroup> HostPortSystem::deviceGroup(const std::string &device) const
{
    struct stat info
    {
    };
    if (::stat(device.c_str(), &info) != 0)
        return std::nullopt;
    DeviceGroup owner;
    if (const struct group *entry = ::getgrgid(info.st_gid))
        owner.name = entry->gr_name;
    else
        owner.name = std::to_string(info.st_gid);

    std::vector<gid_t> session(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
    session.resize(std::size_t(std::max(::getgroups(int(session.size()), session.data()), 0)));
    owner.inSession = ::getegid() == info.st_gid || inList(session, info.st_gid);

    if (const passwd *user = ::getpwuid(::geteuid())) {
        int count = 64;
        std::vector<gid_t> account(static_cast<std::size_t>(count));
        if (::getgrouplist(user->pw_name, user->pw_gid, account.data(), &count) < 0) {
            account.resize(std::size_t(count));
            ::getgrouplist(user->pw_name, user->pw_gid, account.data(), &count);
        }
        account.resize(std::size_t(std::max(count, 0)));
        owner.inAccount = inList(account, info.st_gid);
    }
    return owner;
}

std::vector<std::string> HostPortSystem::holders(const std::string &device) const
{
    struct stat target
    {
    };
    if (device.empty() || ::stat(device.c_str(), &target) != 0)
        return {};
    const long self = long(::getpid());
    std::vector<long> pids;
    for (const long pid : lockOwners(target)) {
        if (pid != self && std::find(pids.begin(), pids.end(), pid) == pids.end())
            pids.push_back(pid);
    }
    std::error_code error;
    for (const auto &process : fs::directory_iterator("/proc", error)) {
        const std::string name = process.path().filename().string();
        if (name.empty() || !std::all_of(name.begin(), name.end(),
                                         [](unsigned char c) { return std::isdigit(c) != 0; }))
            continue;
        const long pid = std::stol(name);
        if (pid == self || std::find(pids.begin(), pids.end(), pid) != pids.end())
            continue;
        std::error_code fdError;
        for (const auto &fd : fs::directory_iterator(process.path() / "fd", fdError)) {
            struct stat open
            {
            };
            if (::stat(fd.path().c_str(), &open) == 0 && open.st_rdev == target.st_rdev &&
                open.st_ino == target.st_ino && open.st_dev == target.st_dev) {
                pids.push_back(pid);
                break;
            }
        }
    }
    std::vector<std::string> names;
    for (const long pid : pids)
        names.push_back(holderText(pid));
    return names;
}

std::vector<SerialAdapter> HostPortSystem::adapters() const
{
    std::vector<SerialAdapter> adapters;
    if (m_listAdapters)
        adapters = m_listAdapters();
    std::error_code error;
    for (const auto &entry : fs::directory_iterator("/dev/serial/by-id", error)) {
        std::error_code linkError;
        const std::string device = fs::canonical(entry.path(), linkError).string();
        if (linkError)
            continue;
        auto known = std::find_if(adapters.begin(), adapters.end(),
                                  [&](const SerialAdapter &a) { return a.path == device; });
        if (known == adapters.end()) {
            SerialAdapter adapter;
            adapter.path = device;
            adapter.name = fs::path(device).filename().string();
            adapters.push_back(adapter);
            known = adapters.end() - 1;
        }
        if (known->stableName.empty())
            known->stableName = entry.path().string();
    }
    std::sort(adapters.begin(), adapters.end(),
              [](const SerialAdapter &a, const SerialAdapter &b) { return a.path < b.path; });
    return adapters;
}

std::vector<PortlessAdapter> HostPortSystem::portlessAdapters() const
{
    return UsbTree().portless();
}

std::string HostPortSystem::userName() const
{
    const passwd *user = ::getpwuid(::geteuid());
    return user ? user->pw_name : std::string();
}

std::vector<std::string> HostPortSystem::watchedFolders(const std::string &path) const
{
    // The path's own folder and that of every hop of its links (a pseudo-terminal's /dev/pts),
    // /dev with the stable names, where a plugged-in adapter appears, and the USB buses.
    std::vector<std::string> folders;
    const auto add = [&folders](const fs::path &folder) {
        std::error_code error;
        const std::string name = folder.lexically_normal().string();
        if (!name.empty() && fs::is_directory(folder, error) &&
            std::find(folders.begin(), folders.end(), name) == folders.end())
            folders.push_back(name);
    };
    fs::path hop = path;
    for (int links = 0; links < 40 && !hop.empty(); ++links) {
        add(hop.parent_path());
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(hop, error)))
            break;
        const fs::path target = fs::read_symlink(hop, error);
        if (error)
            break;
        hop = target.is_relative() ? hop.parent_path() / target : target;
    }
    add("/dev");
    add("/dev/serial/by-id");
    // A device node appears there also for an adapter that gets no tty.
    for (const std::string &bus : UsbTree().busFolders())
        add(bus);
    return folders;
}

} // namespace Dravix
