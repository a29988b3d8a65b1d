#pragma once

#include "bytes.h"
#include "exchangerecord.h"
#include "portattempt.h"

#include <optional>
#include <string>
#include <vector>

namespace Dravix {

class PortSystem;

// The serial port as the exchanges use it: open, write, read everything received, close. It
// tells what it did as plain records; the windows word them for the user.
class SerialPort
{
public:
    virtual ~SerialPort() = default;

    // What port number N opens now.
    virtual PortLocation locate(int portNumber) const = 0;
    // Opens port number N with a line-settings text ("9600,n,8,1"; empty means that one). The
    // attempt tells whether it opened; the receive buffer starts empty.
    virtual PortAttempt open(int portNumber, const std::string &settings) = 0;
    // Hands the whole byte string to the port at once; arrivals are timed from here.
    virtual void write(const Bytes &bytes) = 0;
    // Everything received and not yet read, in the pieces and at the times it came; empty when
    // nothing arrived or the port is gone.
    virtual Arrivals readAll() = 0;
    // Never fails; closing a closed port is harmless.
    virtual void close() = 0;
    // Whether the device went since the port was last opened; the port is closed then.
    virtual std::optional<PortLoss> loss() const { return std::nullopt; }

    // What the system tells about the devices the ports open.
    virtual const PortSystem &system() const = 0;
    // The folders whose entries change when the device behind port N appears, goes or is
    // pointed elsewhere; empty where the system tells of devices by other means.
    virtual std::vector<std::string> watchedFolders(int portNumber) const = 0;
};

} // namespace Dravix
