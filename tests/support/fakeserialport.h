#pragma once

#include "fakeportsystem.h"

#include "serialport.h"

#include <cerrno>
#include <chrono>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace Dravix {

// A serial port that opens as told, records what is written and plays back a reply (taken
// when the wait ends) and late bytes (taken just before the port closes).
class FakeSerialPort : public SerialPort
{
public:
    PortLocation locate(int portNumber) const override
    {
        PortLocation location;
        location.portNumber = portNumber;
        location.path = "/dev/ttyS" + std::to_string(portNumber - 1);
        if (folderEntries.count(portNumber)) {
            location.folderEntry = "COM" + std::to_string(portNumber);
            location.path = "/praca/" + location.folderEntry;
        }
        return location;
    }
    PortAttempt open(int portNumber, const std::string &settings) override
    {
        openedNumbers.push_back(portNumber);
        openedSettings.push_back(settings);
        PortAttempt attempt;
        static_cast<PortLocation &>(attempt) = locate(portNumber);
        attempt.settings = settings;
        if (!opens) {
            attempt.outcome = PortAttempt::Outcome::OpenFailed;
            attempt.error = ENOENT;
            return attempt;
        }
        isOpen = true;
        return attempt;
    }
    void write(const Bytes &bytes) override
    {
        if (!isOpen)
            ++useWhileClosed;
        written.push_back(bytes);
        readsSinceWrite = 0;
    }
    Arrivals readAll() override
    {
        if (!isOpen)
            ++useWhileClosed;
        Bytes &next = readsSinceWrite++ == 0 ? reply : late;
        if (next.empty())
            return {};
        return {{readsSinceWrite == 1 ? replyAfter : lateAfter, std::exchange(next, {})}};
    }
    void close() override { isOpen = false; }
    std::optional<PortLoss> loss() const override { return lost; }
    const PortSystem &system() const override { return portSystem; }
    std::vector<std::string> watchedFolders(int) const override { return watched; }

    bool opens = true;
    bool isOpen = false;
    int useWhileClosed = 0;
    Bytes reply;
    std::chrono::milliseconds replyAfter{20};
    Bytes late;
    std::chrono::milliseconds lateAfter{250};
    int readsSinceWrite = 0;
    std::optional<PortLoss> lost; // the device went, as the port tells after the open
    FakePortSystem portSystem;
    std::set<int> folderEntries; // port numbers that have a COM<N> entry in /praca
    std::vector<std::string> watched{"/dev"};
    std::vector<int> openedNumbers;
    std::vector<std::string> openedSettings;
    std::vector<Bytes> written;
};

} // namespace Dravix
