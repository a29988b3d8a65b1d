#include "qtplatform.h"

#include "designfont.h"
#include "exchange.h"
#include "focusstyle.h"
#include "messages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>

namespace Dravix {

QtPlatform::QtPlatform()
{
    for (auto [timer, id] : {std::pair{&m_timer1, ExchangeTimer::Timer1},
                             std::pair{&m_timer2, ExchangeTimer::Timer2}}) {
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
        timer->setInterval(kReplyWait);
        connect(timer, &QTimer::timeout, this, [this, id = id] {
            if (m_timerHandler)
                m_timerHandler(id);
        });
    }
}

void QtPlatform::refresh()
{
    if (m_refresh)
        m_refresh();
}

void QtPlatform::showMessage(const std::string &text)
{
    refresh();
    const QPointer<QWidget> parent = m_messageParent ? m_messageParent() : nullptr;
    const QPointer<QWidget> focused = QApplication::focusWidget();
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(Messages::kProgramName),
                    QString::fromStdString(text), QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    // Its title names the program; a screen reader tells the message with it as the box opens.
    box.setAccessibleDescription(box.text());
    // As on Windows: the window's face rather than the toolkit's default (a monospace one on a
    // bare system), and a caption without an icon theme's tick on the button.
    box.setFont(designFont(box.font(), kButtonPoints, false));
    box.button(QMessageBox::Ok)->setIcon(QIcon());
    FocusStyle::applyTo(&box);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    // The keyboard goes back where it was: to the control that had it, else to the window that
    // the message belonged to.
    QWidget *window = focused && focused->isVisible() ? focused->window() : parent.data();
    if (window && window->isVisible()) {
        window->raise();
        window->activateWindow();
    }
    if (focused && focused->isVisible())
        focused->setFocus(Qt::OtherFocusReason);
}

void QtPlatform::processPendingEvents()
{
    refresh();
    QCoreApplication::processEvents();
}

QTimer &QtPlatform::timerOf(ExchangeTimer timer)
{
    return timer == ExchangeTimer::Timer1 ? m_timer1 : m_timer2;
}

void QtPlatform::armTimer(ExchangeTimer timer)
{
    timerOf(timer).start();
}

void QtPlatform::disarmTimer(ExchangeTimer timer)
{
    timerOf(timer).stop();
}

std::string QtPlatform::decimalSeparator() const
{
    return QLocale().decimalPoint().toStdString();
}

} // namespace Dravix
