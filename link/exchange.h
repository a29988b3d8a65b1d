#pragma once

#include "bytes.h"
#include "exchangehost.h"
#include "exchangeplatform.h"
#include "exchangerecord.h"

#include <chrono>
#include <cstdint>
#include <string>

namespace Dravix {

class SerialPort;
struct ModelState;

inline constexpr auto kReplyWait = std::chrono::milliseconds{200};

// The port test and the read and write exchanges: one request, one reply taken when the
// exchange's timer fires. While an exchange is pending (from its start until its port is
// closed) further starts are ignored. Each read and write is recorded as it happens on the
// wire and handed to the window when it ends.
class Exchange
{
public:
    Exchange(ModelState &state, SerialPort &port, ExchangeHost &host, ExchangePlatform &platform);

    // Sets PortNumber from the selected port entry's text and tries the port with the
    // current line settings; returns 1 when it opened, else 0. While an exchange is pending
    // the port is left alone and the last result is returned: the caller defers the test.
    std::int16_t TestPort(const std::string &portEntryText);

    void StartRead();
    void StartWrite();
    void CompleteRead();
    void CompleteWrite();

    void HandleReadReply(const Bytes &reply);
    void HandleWriteReply(const Bytes &reply);

    bool isPending() const { return m_stage != Stage::Idle; }
    // The window is going: disarm the timer and close the port without a message.
    void abandon();

private:
    enum class Stage { Idle, ReadPending, WritePending, Completing };

    // A new record of a read or a write, started at the click.
    void begin(ExchangeRecord::Kind kind);
    // Ends an exchange that sent nothing.
    void endUnsent(ExchangeRecord::Stage stage);
    bool OpenPort();
    void ClosePort();
    void SendFrame(const Bytes &frame);
    Bytes ReceiveAll();
    void complete(Stage pending, ExchangeTimer timer, void (Exchange::*handleReply)(const Bytes &));

    ModelState &m_state;
    SerialPort &m_port;
    ExchangeHost &m_host;
    ExchangePlatform &m_platform;
    Stage m_stage = Stage::Idle;
    ExchangeRecord m_record;
};

} // namespace Dravix
