#pragma once

#include "exchange.h"
#include "exchangehost.h"
#include "exchangeplatform.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <array>
#include <string>

namespace Dravix {

// The window's part in the timed exchanges: real precise timers, messages counted.
class BenchHost : public ExchangeHost, public ExchangePlatform
{
public:
    explicit BenchHost(Exchange *&exchange)
        : m_exchange(exchange)
    {
        for (QTimer *timer : {&m_timer1, &m_timer2}) {
            timer->setSingleShot(true);
            timer->setTimerType(Qt::PreciseTimer);
            timer->setInterval(kReplyWait);
        }
        QObject::connect(&m_timer1, &QTimer::timeout, &m_timer1,
                         [this] { m_exchange->CompleteWrite(); });
        QObject::connect(&m_timer2, &QTimer::timeout, &m_timer2,
                         [this] { m_exchange->CompleteRead(); });
    }

    std::string entryText(int k) const override { return m_entries.at(std::size_t(k)); }
    void setEntryText(int k, const std::string &text) override
    {
        m_entries.at(std::size_t(k)) = text;
    }
    std::string lineSettingsText() const override { return {}; }
    void showMessage(const std::string &text) override { lastMessage = text; }
    void processPendingEvents() override { QCoreApplication::processEvents(); }
    void armTimer(ExchangeTimer timer) override { timerOf(timer).start(); }
    void disarmTimer(ExchangeTimer timer) override { timerOf(timer).stop(); }
    void setPortInfoVisible(bool) override {}
    void portTried(const PortAttempt &) override {}
    void exchangeEnded(const ExchangeRecord &) override { m_loop.quit(); }

    // Runs the event loop until the exchange ends.
    void waitForEnd() { m_loop.exec(); }

    std::string lastMessage;

private:
    QTimer &timerOf(ExchangeTimer timer)
    {
        return timer == ExchangeTimer::Timer1 ? m_timer1 : m_timer2;
    }

    Exchange *&m_exchange;
    std::array<std::string, 8> m_entries{};
    QTimer m_timer1;
    QTimer m_timer2;
    QEventLoop m_loop;
};

} // namespace Dravix
