#pragma once

#include "portattempt.h"

namespace Dravix {

class PortSystem;

enum class PortCause { Opened, NoSuchDevice, PermissionDenied, Busy, SettingsRefused, Other };

// Why a port did or did not open, from the attempt and what the system tells of its device.
PortCause portCause(const PortAttempt &attempt, const PortSystem &system);

} // namespace Dravix
