#include "portcause.h"

#include "portsystem.h"

#include <cerrno>

namespace Dravix {

PortCause portCause(const PortAttempt &attempt, const PortSystem &system)
{
    using Outcome = PortAttempt::Outcome;
    switch (attempt.outcome) {
    case Outcome::Opened:
        return PortCause::Opened;
    case Outcome::Locked:
        return PortCause::Busy;
    case Outcome::SettingsRefused:
    case Outcome::SettingsMalformed:
        return PortCause::SettingsRefused;
    case Outcome::OpenFailed:
        break;
    }
    if (system.resolved(attempt.path).empty())
        return PortCause::NoSuchDevice;
    switch (attempt.error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return PortCause::NoSuchDevice;
    case EACCES:
    case EPERM:
        return PortCause::PermissionDenied;
    case EBUSY:
    case EAGAIN:
#if defined(EWOULDBLOCK) && EWOULDBLOCK != EAGAIN
    case EWOULDBLOCK:
#endif
        return PortCause::Busy;
    default:
        return PortCause::Other;
    }
}

} // namespace Dravix
