#pragma once

#include "serialport.h"

#include <string>
#include <vector>

namespace Dravix {

// A serial port that opens as told, records what is written and plays back a reply.
class FakeSerialPort : public SerialPort
{
public:
    std::optional<std::string> open(int portNumber, const std::string &settings) override
    {
        openedNumbers.push_back(portNumber);
        openedSettings.push_back(settings);
        if (!opens) {
            note = "port " + std::to_string(portNumber) + " refused";
            return std::string("cannot open");
        }
        note = "port " + std::to_string(portNumber) + " opened";
        isOpen = true;
        return std::nullopt;
    }
    void write(const Bytes &bytes) override
    {
        if (!isOpen)
            ++useWhileClosed;
        written.push_back(bytes);
    }
    Bytes readAll() override
    {
        if (!isOpen)
            ++useWhileClosed;
        Bytes out;
        out.swap(reply);
        return out;
    }
    void close() override { isOpen = false; }
    PortNote openNote() const override
    {
        return [note = note] { return note; };
    }
    std::string portTarget(int portNumber) const override
    {
        return "port " + std::to_string(portNumber) + " " + target;
    }

    bool opens = true;
    bool isOpen = false;
    int useWhileClosed = 0;
    Bytes reply;
    std::string note;
    std::string target = "opens a device";
    std::vector<int> openedNumbers;
    std::vector<std::string> openedSettings;
    std::vector<Bytes> written;
};

} // namespace Dravix
