#pragma once

#include "portattempt.h"

#include <string>

namespace Dravix {

class PortSystem;

enum class PortCause { Opened, NoSuchDevice, PermissionDenied, Busy, SettingsRefused, Other };

// Why a port did or did not open, told in Polish for the user: what was tried, the cause and
// what to do about it. The one home of these texts.
class PortDiagnosis
{
public:
    explicit PortDiagnosis(const PortSystem &system);

    PortCause cause(const PortAttempt &attempt) const;
    std::string note(const PortAttempt &attempt) const;
    // What port number N opens now: the path, a link's target, or that it does not exist.
    std::string target(int portNumber, const std::string &path,
                       const std::string &folderEntry) const;

private:
    std::string tried(int portNumber, const std::string &path,
                      const std::string &folderEntry) const;
    std::string noSuchDevice(const PortAttempt &attempt) const;
    std::string permissionDenied(const PortAttempt &attempt) const;
    std::string busy(const PortAttempt &attempt) const;
    std::string adapterDetails(const std::string &device) const;

    const PortSystem &m_system;
};

} // namespace Dravix
