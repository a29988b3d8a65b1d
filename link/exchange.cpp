#include "exchange.h"

#include "frames.h"
#include "messages.h"
#include "modelstate.h"
#include "numbers.h"
#include "serialport.h"

namespace Dravix {

namespace {

using namespace Messages;

const char *failureMessage(ReplyOutcome outcome)
{
    switch (outcome) {
    case ReplyOutcome::NoReply:
        return kNoReply;
    case ReplyOutcome::WrongDevice:
        return kWrongDevice;
    case ReplyOutcome::WriteRefused:
        return kWriteRefused;
    case ReplyOutcome::FrameError:
    case ReplyOutcome::Accepted:
        break;
    }
    return kFrameError;
}

} // namespace

Exchange::Exchange(ModelState &state, SerialPort &port, ExchangeHost &host,
                   ExchangePlatform &platform)
    : m_state(state)
    , m_port(port)
    , m_host(host)
    , m_platform(platform)
{
}

std::int16_t Exchange::TestPort(const std::string &portEntryText)
{
    if (isPending())
        return m_state.PortAvailable;
    m_state.PortNumber = RoundToInt16(ParseLeadingNumber(portEntryText));
    if (m_state.PortNumber == 0)
        return 0;
    m_port.close();
    const PortAttempt attempt = m_port.open(m_state.PortNumber, m_host.lineSettingsText());
    m_host.setPortInfoVisible(!attempt.opened());
    m_host.portTried(attempt);
    m_port.close();
    return attempt.opened() ? 1 : 0;
}

void Exchange::begin(ExchangeRecord::Kind kind)
{
    m_record = {};
    m_record.kind = kind;
    m_record.when = std::chrono::system_clock::now();
    m_record.port.portNumber = m_state.PortNumber;
    m_record.port.settings = m_host.lineSettingsText();
    m_record.deviceCode = m_state.DeviceCode;
    m_record.descriptionFile = m_state.DescriptionFile;
    if (kind == ExchangeRecord::Kind::Read) {
        for (int k = 0; k < kSlotCount; ++k)
            m_record.entriesBefore[std::size_t(k)] = m_host.entryText(k);
    }
}

void Exchange::endUnsent(ExchangeRecord::Stage stage)
{
    m_record.stage = stage;
    m_host.exchangeEnded(m_record);
}

bool Exchange::OpenPort()
{
    m_port.close();
    m_record.port = m_port.open(m_state.PortNumber, m_host.lineSettingsText());
    if (!m_record.port.opened()) {
        m_port.close();
        m_state.PortAvailable = 0;
        m_host.setPortInfoVisible(true);
        m_host.portTried(m_record.port);
        m_platform.showMessage(kPortUnavailable);
        return false;
    }
    return true;
}

void Exchange::ClosePort()
{
    // What came after the wait, while the message was on screen, is told and discarded.
    m_record.late = m_port.readAll();
    if (!m_record.lost)
        m_record.lost = m_port.loss();
    m_port.close();
}

void Exchange::SendFrame(const Bytes &frame)
{
    m_record.request = frame;
    m_port.write(frame);
}

Bytes Exchange::ReceiveAll()
{
    m_record.reply = m_port.readAll();
    m_record.lost = m_port.loss();
    return joined(m_record.reply);
}

void Exchange::StartRead()
{
    if (isPending())
        return;
    begin(ExchangeRecord::Kind::Read);
    if (m_state.PortAvailable != 1) {
        m_platform.showMessage(kPortUnavailable);
        endUnsent(ExchangeRecord::Stage::PortUnavailable);
        return;
    }
    if (!OpenPort()) {
        endUnsent(ExchangeRecord::Stage::OpenFailed);
        return;
    }
    m_stage = Stage::ReadPending;
    SendFrame(BuildReadRequest(m_state.DeviceCode));
    m_platform.armTimer(ExchangeTimer::Timer2);
}

void Exchange::StartWrite()
{
    if (isPending())
        return;
    begin(ExchangeRecord::Kind::Write);
    if (m_state.InvalidEntries != 0) {
        m_platform.showMessage(kInvalidValues);
        endUnsent(ExchangeRecord::Stage::InvalidValues);
        return;
    }
    if (m_state.PortAvailable != 1) {
        m_platform.showMessage(kPortUnavailable);
        endUnsent(ExchangeRecord::Stage::PortUnavailable);
        return;
    }
    EntryTexts texts;
    for (int k = 0; k < kSlotCount; ++k)
        texts[static_cast<std::size_t>(k)] = m_host.entryText(k);
    const auto request = BuildWriteRequest(m_state.DeviceCode, texts);
    if (!request) {
        m_platform.showMessage(kInvalidValues);
        endUnsent(ExchangeRecord::Stage::InvalidValues);
        return;
    }
    if (!OpenPort()) {
        endUnsent(ExchangeRecord::Stage::OpenFailed);
        return;
    }
    m_stage = Stage::WritePending;
    SendFrame(*request);
    m_platform.armTimer(ExchangeTimer::Timer1);
}

void Exchange::CompleteRead()
{
    complete(Stage::ReadPending, ExchangeTimer::Timer2, &Exchange::HandleReadReply);
}

void Exchange::CompleteWrite()
{
    complete(Stage::WritePending, ExchangeTimer::Timer1, &Exchange::HandleWriteReply);
}

void Exchange::complete(Stage pending, ExchangeTimer timer,
                        void (Exchange::*handleReply)(const Bytes &))
{
    if (m_stage != pending)
        return;
    m_platform.disarmTimer(timer);
    m_stage = Stage::Completing;
    m_platform.processPendingEvents();
    if (m_stage != Stage::Completing)
        return; // abandoned meanwhile; the port is already closed
    (this->*handleReply)(ReceiveAll());
    if (m_stage != Stage::Completing)
        return;
    ClosePort();
    m_stage = Stage::Idle;
    m_host.exchangeEnded(m_record);
}

void Exchange::HandleReadReply(const Bytes &reply)
{
    const ReadReplyCheck check = checkReadReply(reply, m_state.DeviceCode);
    m_record.outcome = check.outcome;
    if (check.outcome != ReplyOutcome::Accepted) {
        m_platform.showMessage(failureMessage(check.outcome));
        return;
    }
    for (int k = 0; k < kSlotCount; ++k)
        m_host.setEntryText(k, std::to_string(check.values[static_cast<std::size_t>(k)]));
    m_platform.showMessage(kReadDone);
}

void Exchange::HandleWriteReply(const Bytes &reply)
{
    const ReplyOutcome outcome = checkWriteReply(reply, m_state.DeviceCode);
    m_record.outcome = outcome;
    m_platform.showMessage(outcome == ReplyOutcome::Accepted ? kWriteDone
                                                             : failureMessage(outcome));
}

void Exchange::abandon()
{
    if (m_stage == Stage::ReadPending)
        m_platform.disarmTimer(ExchangeTimer::Timer2);
    else if (m_stage == Stage::WritePending)
        m_platform.disarmTimer(ExchangeTimer::Timer1);
    m_stage = Stage::Idle;
    m_port.close();
}

} // namespace Dravix
