#pragma once

#include <QObject>

class QWidget;

namespace Dravix {

// Enter and the keypad's Enter click the push button that has the focus, as Space does.
class EnterClick : public QObject
{
    Q_OBJECT

public:
    // Watches every push button of the window.
    static void installOn(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit EnterClick(QObject *parent);
};

} // namespace Dravix
