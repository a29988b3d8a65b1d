// A read and a write exchange of the main window whose reply is arbitrary bytes. The first
// input byte is the device code; the rest is the reply.

#include "invariant.h"

#include "fakeplatform.h"
#include "fakeserialport.h"

#include "controlstate.h"
#include "mainwindowlogic.h"
#include "memoryworkdir.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

using namespace Dravix;

namespace {

// CRC-16/MODBUS from a table built at start, apart from the frame code's bit loop.
std::uint16_t modbusCrc(const std::uint8_t *bytes, std::size_t size)
{
    static const std::array<std::uint16_t, 256> table = [] {
        std::array<std::uint16_t, 256> t{};
        for (unsigned i = 0; i < 256; ++i) {
            unsigned r = i;
            for (int bit = 0; bit < 8; ++bit)
                r = (r & 1) ? (r >> 1) ^ 0xA001 : r >> 1;
            t[i] = std::uint16_t(r);
        }
        return t;
    }();
    std::uint16_t crc = 0xFFFF;
    for (std::size_t i = 0; i < size; ++i)
        crc = std::uint16_t((crc >> 8) ^ table[(crc ^ bytes[i]) & 0xFF]);
    return crc;
}

// The check covers everything after the two leading bytes and stands low byte first.
bool checkOk(const Bytes &frame)
{
    if (frame.size() < 4)
        return false;
    const std::uint16_t crc = modbusCrc(frame.data() + 2, frame.size() - 4);
    return frame[frame.size() - 2] == (crc & 0xFF) && frame[frame.size() - 1] == (crc >> 8);
}

std::string expectedReadMessage(const Bytes &reply, std::uint8_t code)
{
    if (reply.empty())
        return "Urzadzenie nie odpowiada!";
    if (reply.size() != 24 || !checkOk(reply))
        return "Blad transmisji ramki!";
    if (reply[3] != code)
        return "Niewlasciwy kod urzadzenia!";
    return "Parametry odczytane poprawnie!";
}

std::string expectedWriteMessage(const Bytes &reply, std::uint8_t code)
{
    if (reply.empty())
        return "Urzadzenie nie odpowiada!";
    if (reply.size() != 8 || !checkOk(reply))
        return "Blad transmisji ramki!";
    if (reply[3] != code)
        return "Niewlasciwy kod urzadzenia!";
    if (reply[5] != 0x10)
        return "Zapisanie parametrow do urzadzenia nie powiodlo sie!";
    return "Parametry zapisane do urzadzenia";
}

void requireIdle(MainWindowLogic &main, FakeSerialPort &port, FakePlatform &platform)
{
    require(!main.exchange().isPending(), "the exchange has ended");
    require(!port.isOpen, "the port is closed after the exchange");
    require(port.useWhileClosed == 0, "the port is used only while open");
    require(platform.armed.empty(), "no timer stays armed");
    require(platform.messages.size() == 1, "one message per exchange");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t code = data[0];
    const Bytes reply(data + 1, data + size);
    static MemoryWorkDir nowhere;

    {
        FakeSerialPort port;
        FakePlatform platform;
        MainWindowLogic main(nowhere, port, platform);
        main.state().DeviceCode = code;
        main.state().PortNumber = 1;
        main.state().PortAvailable = 1;
        main.clickRead();
        require(platform.armed.count(ExchangeTimer::Timer2) == 1, "a read arms Timer2");
        port.reply = reply;
        main.timerFired(ExchangeTimer::Timer2);
        requireIdle(main, port, platform);
        const std::string expected = expectedReadMessage(reply, code);
        require(platform.messages.front() == expected, "the read's message fits the reply");
        for (int k = 0; k < kSlotCount; ++k) {
            std::string text = "0";
            if (expected == "Parametry odczytane poprawnie!")
                text = std::to_string(std::int16_t(reply[6 + 2 * k] << 8 | reply[7 + 2 * k]));
            require(main.entry(k).text == text, "entries hold the decoded values");
            // The bounds are still 0..0.
            require((main.entry(k).background == kEntryAccepted) == (text == "0"),
                    "each decoded value is judged");
        }
    }
    {
        FakeSerialPort port;
        FakePlatform platform;
        MainWindowLogic main(nowhere, port, platform);
        main.state().DeviceCode = code;
        main.state().PortNumber = 1;
        main.state().PortAvailable = 1;
        main.clickWrite();
        require(platform.armed.count(ExchangeTimer::Timer1) == 1, "a write arms Timer1");
        require(port.written.size() == 1 && port.written[0].size() == 24 &&
                    checkOk(port.written[0]) && port.written[0][3] == code,
                "the write request is whole");
        port.reply = reply;
        main.timerFired(ExchangeTimer::Timer1);
        requireIdle(main, port, platform);
        require(platform.messages.front() == expectedWriteMessage(reply, code),
                "the write's message fits the reply");
    }
    return 0;
}
