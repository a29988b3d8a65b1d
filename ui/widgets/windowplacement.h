#pragma once

#include <QObject>

class QWidget;

namespace Dravix {

// Centres a top-level window on its screen with its frame: at once with the window alone, and
// again when the window manager has framed it.
class WindowPlacement : public QObject
{
    Q_OBJECT

public:
    // Call before the window is shown.
    static void centre(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit WindowPlacement(QWidget *window);
    static void centreFrame(QWidget *window);

    bool m_framed = false;
};

} // namespace Dravix
