#pragma once

#include <QWidget>

#include <functional>

class ChooserLogic;
class QLabel;
class QListWidget;
class QPushButton;

// The description chooser's widgets: they mirror the logic and forward the user's input.
class ChooserDialog : public QWidget
{
public:
    // changed runs after every forwarded input, so that the main window can follow.
    ChooserDialog(ChooserLogic &logic, std::function<void()> changed);

    // Shown while the logic is open, hidden once it has closed.
    void sync();
    void bringToFront();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    template<typename Input>
    void forward(Input input);

    ChooserLogic &m_logic;
    std::function<void()> m_changed;
    bool m_syncing = false;
    QLabel *m_caption = nullptr;
    QListWidget *m_files = nullptr;
    QPushButton *m_read = nullptr;
    QPushButton *m_cancel = nullptr;
};
