#pragma once

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

    Outcome outcome = Outcome::Opened;
    int error = 0;
    std::string settings;
    std::string systemText; // the system's own words about the failure

    bool opened() const { return outcome == Outcome::Opened; }
};

} // namespace Dravix
