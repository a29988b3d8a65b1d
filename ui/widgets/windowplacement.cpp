#include "windowplacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace Dravix {

WindowPlacement::WindowPlacement(QWidget *window)
    : QObject(window)
{
}

void WindowPlacement::centre(QWidget *window)
{
    auto *placement = window->findChild<WindowPlacement *>(QString(), Qt::FindDirectChildrenOnly);
    if (!placement) {
        placement = new WindowPlacement(window);
        window->installEventFilter(placement);
    }
    placement->m_framed = false;
    centreFrame(window);
}

void WindowPlacement::centreFrame(QWidget *window)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

bool WindowPlacement::eventFilter(QObject *watched, QEvent *event)
{
    // The frame's size is known only once the window manager has put the window in it.
    if (!m_framed && (event->type() == QEvent::Move || event->type() == QEvent::Show)) {
        auto *window = static_cast<QWidget *>(watched);
        if (window->isVisible() && window->frameGeometry().size() != window->size()) {
            m_framed = true;
            centreFrame(window);
        }
    }
    return false;
}

} // namespace Dravix
