#pragma once

#include "platform.h"

#include <QObject>
#include <QTimer>

#include <functional>

class QWidget;

namespace Dravix {

// The toolkit's side of the platform: message boxes, the two one-shot exchange timers and the
// single pass of pending events.
class QtPlatform : public QObject, public Platform
{
    Q_OBJECT

public:
    QtPlatform();

    // Tells, when a message is shown, the window that it belongs to.
    void setMessageParent(std::function<QWidget *()> parent)
    {
        m_messageParent = std::move(parent);
    }
    // Called before anything modal runs, so that the windows show the current state.
    void setRefresh(std::function<void()> refresh) { m_refresh = std::move(refresh); }
    void setTimerHandler(std::function<void(ExchangeTimer)> handler)
    {
        m_timerHandler = std::move(handler);
    }

    void showMessage(const std::string &text) override;
    void processPendingEvents() override;
    void armTimer(ExchangeTimer timer) override;
    void disarmTimer(ExchangeTimer timer) override;
    std::string decimalSeparator() const override;

private:
    QTimer &timerOf(ExchangeTimer timer);
    void refresh();

    QTimer m_timer1;
    QTimer m_timer2;
    std::function<QWidget *()> m_messageParent;
    std::function<void()> m_refresh;
    std::function<void(ExchangeTimer)> m_timerHandler;
};

} // namespace Dravix
