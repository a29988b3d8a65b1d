#pragma once

#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace Dravix {

// Calls back once the window's first paint has been drawn and handed to the screen.
class FirstPaintProbe : public QObject
{
    Q_OBJECT

public:
    FirstPaintProbe(QWidget &window, std::function<void()> painted)
        : m_window(window)
        , m_painted(std::move(painted))
    {
        m_window.installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == &m_window && event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            m_window.removeEventFilter(this);
            // Runs when the paint under way, its children's and the flush are done.
            QTimer::singleShot(0, this, [this] { m_painted(); });
        }
        return false;
    }

private:
    QWidget &m_window;
    std::function<void()> m_painted;
    bool m_seen = false;
};

} // namespace Dravix
