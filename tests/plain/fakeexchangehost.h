#pragma once

#include "exchangehost.h"
#include "exchangeplatform.h"
#include "fakeserialport.h"

#include <array>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace Dravix {

// The main window and the toolkit as the exchanges see them: records every call, in one log,
// and whether the port was open.
class FakeExchangeHost : public ExchangeHost, public ExchangePlatform
{
public:
    explicit FakeExchangeHost(const FakeSerialPort &port)
        : m_port(port)
    {
        entries.fill("0");
    }

    std::string entryText(int k) const override { return entries.at(static_cast<std::size_t>(k)); }
    void setEntryText(int k, const std::string &text) override
    {
        entries.at(static_cast<std::size_t>(k)) = text;
        log.push_back("entry " + std::to_string(k) + " " + text);
    }
    std::string lineSettingsText() const override { return lineSettings; }
    void showMessage(const std::string &text) override
    {
        messages.push_back(text);
        portOpenAtMessage.push_back(m_port.isOpen);
        log.push_back("message " + text);
        if (onMessage)
            onMessage();
    }
    void processPendingEvents() override
    {
        log.push_back("events");
        if (onEvents)
            onEvents();
    }
    void armTimer(ExchangeTimer timer) override
    {
        armed.insert(timer);
        log.push_back(timer == ExchangeTimer::Timer1 ? "arm Timer1" : "arm Timer2");
    }
    void disarmTimer(ExchangeTimer timer) override
    {
        armed.erase(timer);
        log.push_back(timer == ExchangeTimer::Timer1 ? "disarm Timer1" : "disarm Timer2");
    }
    void setPortInfoVisible(bool visible) override
    {
        portInfoVisible = visible;
        log.push_back(visible ? "show lPortInfo" : "hide lPortInfo");
    }
    void portTried(const PortAttempt &attempt) override
    {
        attempts.push_back(attempt);
        log.push_back("tried " + std::to_string(attempt.portNumber) +
                      (attempt.opened() ? " opened" : " failed"));
    }
    void exchangeEnded(const ExchangeRecord &record) override
    {
        records.push_back(record);
        log.push_back("ended");
    }

    std::array<std::string, 8> entries;
    std::string lineSettings = "9600,n,8,1";
    std::vector<std::string> messages;
    std::vector<bool> portOpenAtMessage;
    std::vector<std::string> log;
    std::set<ExchangeTimer> armed;
    std::optional<bool> portInfoVisible;
    std::vector<PortAttempt> attempts;
    std::vector<ExchangeRecord> records;
    std::function<void()> onMessage;
    std::function<void()> onEvents;

private:
    const FakeSerialPort &m_port;
};

} // namespace Dravix
