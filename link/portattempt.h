#pragma once

#include <chrono>
#include <string>

namespace Dravix {

// What port number N opens: a path, and the working folder's entry when it is that entry.
struct PortLocation
{
    int portNumber = 0;
    std::string path;
    std::string folderEntry; // "COM1" when the path is that entry of the working folder

    bool operator==(const PortLocation &) const = default;
};

// One try of a port: which path it opened and how far it got.
struct PortAttempt : PortLocation
{
    enum class Outcome {
        Opened,
        OpenFailed,        // the system refused the open; error holds its error number
        Locked,            // opened, but another program holds the lock on it
        SettingsRefused,   // opened, but the line settings could not be set
        SettingsMalformed, // the line-settings text is not of the accepted form
    };

    // The modem-control lines DTR and RTS, raised once the port is open: some converters and
    // small devices draw their power from them.
    enum class ControlLines {
        Untouched, // not opened, or a port that does not tell
        Raised,
        Refused, // the port cannot set them (a pseudo-terminal); no failure
    };

    Outcome outcome = Outcome::Opened;
    int error = 0;
    std::string settings;
    std::string systemText; // the system's own words about the failure
    ControlLines controlLines = ControlLines::Untouched;

    bool opened() const { return outcome == Outcome::Opened; }
};

// The device went while its port was open (an adapter pulled out, a line hung up): the port
// was closed at once.
struct PortLoss
{
    std::chrono::milliseconds after{0}; // after the last write, or the open
    std::string systemText;             // the system's own words

    bool operator==(const PortLoss &) const = default;
};

} // namespace Dravix
