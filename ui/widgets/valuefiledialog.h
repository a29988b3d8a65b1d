#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class ValueFileLogic;

// The value-file dialog's widgets: they mirror the logic and forward the user's input.
class ValueFileDialog : public QWidget
{
public:
    // changed runs after every forwarded input, so that the main window can follow.
    ValueFileDialog(ValueFileLogic &logic, std::function<void()> changed);

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
    int selectedRow() const;

    ValueFileLogic &m_logic;
    std::function<void()> m_changed;
    bool m_syncing = false;
    QListWidget *m_files = nullptr;
    QLineEdit *m_name = nullptr;
    QPushButton *m_load = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_delete = nullptr;
    QPushButton *m_exit = nullptr;
};
