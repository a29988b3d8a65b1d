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
        if (!opens)
            return std::string("cannot open");
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

    bool opens = true;
    bool isOpen = false;
    int useWhileClosed = 0;
    Bytes reply;
    std::vector<int> openedNumbers;
    std::vector<std::string> openedSettings;
    std::vector<Bytes> written;
};

} // namespace Dravix
