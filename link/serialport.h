#pragma once

#include "bytes.h"

#include <functional>
#include <optional>
#include <string>

namespace Dravix {

// A note for the user, composed when it is read: finding its cause may take a moment.
using PortNote = std::function<std::string()>;

// The serial port as the exchanges use it: open, write, read everything received, close.
class SerialPort
{
public:
    virtual ~SerialPort() = default;

    // Opens port number N with a line-settings text ("9600,n,8,1"; empty means that one).
    // Returns an error text when the port cannot be opened; the receive buffer starts empty.
    virtual std::optional<std::string> open(int portNumber, const std::string &settings) = 0;
    // Hands the whole byte string to the port at once.
    virtual void write(const Bytes &bytes) = 0;
    // Everything received and not yet read; empty when nothing arrived or the port is gone.
    virtual Bytes readAll() = 0;
    // Never fails; closing a closed port is harmless.
    virtual void close() = 0;

    // For the user: what the last open tried and opened, or why it failed; empty before any.
    // Composed when the note is read, since finding the cause may take a moment.
    virtual PortNote openNote() const = 0;
    // For the user: what port number N opens now.
    virtual std::string portTarget(int portNumber) const = 0;
};

} // namespace Dravix
