#include "enterclick.h"

#include <QKeyEvent>
#include <QPushButton>

namespace Dravix {

EnterClick::EnterClick(QObject *parent)
    : QObject(parent)
{
}

void EnterClick::installOn(QWidget *window)
{
    auto *filter = new EnterClick(window);
    for (QPushButton *button : window->findChildren<QPushButton *>())
        button->installEventFilter(filter);
}

bool EnterClick::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    auto *button = static_cast<QPushButton *>(watched);
    if (!key->isAutoRepeat() && button->isEnabled())
        button->click();
    return true;
}

} // namespace Dravix
