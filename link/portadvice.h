#pragma once

#include "portattempt.h"

#include <string>

namespace Dravix {

class PortSystem;
struct PortlessAdapter;
struct SerialAdapter;

// What a user can do about a port that did not open, in Polish, in the terms of one platform:
// links, groups and /dev on Linux, COM numbers on Windows. Both are built everywhere, so that
// each can be tested anywhere; the program uses the one of the system it runs on.
class PortAdvice
{
public:
    virtual ~PortAdvice() = default;

    virtual std::string noSuchDevice(const PortAttempt &attempt,
                                     const PortSystem &system) const = 0;
    virtual std::string permissionDenied(const PortAttempt &attempt,
                                         const PortSystem &system) const = 0;
    virtual std::string busy(const PortAttempt &attempt, const PortSystem &system) const = 0;
    // What may disturb a port that did open; empty when nothing does.
    virtual std::string openedWarning(const PortAttempt &attempt,
                                      const PortSystem &system) const = 0;
    // Why an adapter that is plugged in gives no port, in one short clause.
    virtual std::string portlessCause(const PortlessAdapter &adapter) const = 0;

    // "FTDI, FT232R USB UART, nr seryjny A10K": what the system tells of an adapter.
    static std::string details(const SerialAdapter &adapter);
    // "QinHeng Electronics, USB Serial (USB 1a86:7523)": an adapter that gives no port.
    static std::string details(const PortlessAdapter &adapter);

    static const PortAdvice &posix();
    static const PortAdvice &windows();
    static const PortAdvice &forThisSystem();
};

} // namespace Dravix
