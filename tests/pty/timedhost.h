#pragma once

#include "exchange.h"
#include "exchangehost.h"
#include "exchangeplatform.h"
#include "linknotes.h"
#include "portcause.h"

#include <QCoreApplication>
#include <QTimer>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace Dravix {

// The main window's part in an exchange, with real one-shot timers and recorded messages.
class TimedHost : public ExchangeHost, public ExchangePlatform
{
public:
    TimedHost()
    {
        entries.fill("0");
        for (QTimer *timer : {&m_timer1, &m_timer2}) {
            timer->setSingleShot(true);
            timer->setTimerType(Qt::PreciseTimer);
            timer->setInterval(kReplyWait);
        }
    }

    void attach(Exchange &exchange)
    {
        QObject::connect(&m_timer1, &QTimer::timeout, &m_timer1,
                         [&exchange] { exchange.CompleteWrite(); });
        QObject::connect(&m_timer2, &QTimer::timeout, &m_timer2,
                         [&exchange] { exchange.CompleteRead(); });
    }

    std::string entryText(int k) const override { return entries.at(static_cast<std::size_t>(k)); }
    void setEntryText(int k, const std::string &text) override
    {
        entries.at(static_cast<std::size_t>(k)) = text;
    }
    std::string lineSettingsText() const override { return lineSettings; }
    void showMessage(const std::string &text) override { messages.push_back(text); }
    void processPendingEvents() override { QCoreApplication::processEvents(); }
    void armTimer(ExchangeTimer timer) override { timerOf(timer).start(); }
    void disarmTimer(ExchangeTimer timer) override { timerOf(timer).stop(); }
    void setPortInfoVisible(bool visible) override { portInfoVisible = visible; }
    void portTried(const PortAttempt &attempt) override
    {
        attempts.push_back(attempt);
        cause = portCause(attempt, *system);
        portNote = LinkNotes(*system).portNote(attempt);
    }
    void exchangeEnded(const ExchangeRecord &record) override
    {
        records.push_back(record);
        ++ended;
    }

    bool anyTimerActive() const { return m_timer1.isActive() || m_timer2.isActive(); }

    std::array<std::string, 8> entries;
    std::string lineSettings;
    std::vector<std::string> messages;
    std::optional<bool> portInfoVisible;
    // The port's system, for the notes.
    const PortSystem *system = nullptr;
    std::vector<PortAttempt> attempts;
    PortCause cause = PortCause::Other;
    std::string portNote;
    std::vector<ExchangeRecord> records;
    int ended = 0;

private:
    QTimer &timerOf(ExchangeTimer timer)
    {
        return timer == ExchangeTimer::Timer1 ? m_timer1 : m_timer2;
    }

    QTimer m_timer1;
    QTimer m_timer2;
};

} // namespace Dravix
