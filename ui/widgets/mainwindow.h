#pragma once

#include "modelstate.h"

#include <QAccessible>
#include <QWidget>

#include <array>
#include <memory>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace Dravix {

class ChooserDialog;
class MainWindowLogic;
class PortWatcher;
class ValueFileDialog;

// The main window's widgets: they mirror the logic's control state and forward the user's input.
class MainWindow : public QWidget, private QAccessible::ActivationObserver
{
    Q_OBJECT

public:
    explicit MainWindow(MainWindowLogic &logic, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Brings every widget, and the open dialogs, in line with the logic.
    void sync();
    // The window that a message box belongs to: the dialog whose input runs, else this window.
    QWidget *messageParent() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void syncDialogs();
    void syncPortToolTips();
    // What a screen reader is told beyond the captions; mirrored only while one listens.
    void syncAccessibleTexts();
    void accessibilityActiveChanged(bool active) override;
    // Gives the focus to the first control of the tab order that can take it.
    void focusFirst();
    // Runs a handler of the logic, then shows its effects.
    template <typename Handler> void forward(Handler handler);

    MainWindowLogic &m_logic;
    bool m_closed = false;
    bool m_listening = false;
    QLabel *m_model = nullptr;
    QLabel *m_portInfo = nullptr;
    QRadioButton *m_option1 = nullptr;
    QRadioButton *m_option2 = nullptr;
    QComboBox *m_ports = nullptr;
    QComboBox *m_lineSettings = nullptr;
    QPushButton *m_read = nullptr;
    QPushButton *m_write = nullptr;
    PortWatcher *m_portWatcher = nullptr;
    std::array<QLabel *, kSlotCount> m_names{};
    std::array<QLineEdit *, kSlotCount> m_entries{};
    std::array<QLabel *, kSlotCount> m_upper{};
    std::array<QLabel *, kSlotCount> m_lower{};
    std::vector<QWidget *> m_tabOrder;
    std::vector<std::string> m_shownPorts;
    std::vector<std::string> m_shownPortTips;
    std::vector<std::string> m_shownLineSettings;
    // Top-level windows of their own, made when first opened.
    std::unique_ptr<ChooserDialog> m_chooser;
    std::unique_ptr<ValueFileDialog> m_valueFiles;
};

} // namespace Dravix
