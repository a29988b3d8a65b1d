#pragma once

#include "controlstate.h"

#include <QWidget>

#include <functional>
#include <string>

class QLabel;
class QListWidget;
class QPushButton;

namespace Dravix {

// What the two file dialogs share: a fixed blue top-level window, a file list mirrored from
// the logic, and Esc and the window frame handed to the logic.
class FileListDialog : public QWidget
{
    Q_OBJECT

public:
    // Shown while the logic is open, hidden once it has closed.
    virtual void sync() = 0;
    void bringToFront();
    // True while an input of the user runs: its messages belong to this dialog.
    bool isForwarding() const { return m_forwarding; }
    // A note as a tooltip shows it: always as plain text, whatever a file put into it.
    static QString toolTipText(const std::string &note);

protected:
    // The title is the program's name and the caption; changed runs after every forwarded
    // input, so that the main window can follow.
    FileListDialog(const char *objectName, const char *caption, int clientWidth, int clientHeight,
                   std::function<void()> changed);

    virtual bool logicOpen() const = 0;
    // Esc anywhere in the dialog, and closing it by its frame.
    virtual void escape() = 0;
    // Enter on the file list.
    virtual void enterOnList() = 0;
    // What the file of a row holds: its entry's tooltip, and the accessible description of the
    // current entry.
    virtual std::string entryNote(int row) = 0;

    QLabel *addLabel(const char *name, const char *caption, const Rect &where);
    // The list is named after its caption, which is linked to it.
    QListWidget *addFileList(const char *name, QLabel *caption, const char *description,
                             const Rect &where);
    QPushButton *addButton(const char *name, const char *caption, const Rect &where);
    // Hands every key of the children to the dialog first, lets Enter click the focused button
    // and shows the focus on every control; call once they all exist.
    void watchKeys();

    // Runs an input of the logic, then shows its effects here and in the main window.
    void forward(const std::function<void()> &input);
    // Mirrors the list; returns false when the logic is closed and the dialog was hidden.
    bool syncFileList(const ListState &files);
    void showWhenHidden();
    int selectedRow() const;
    // The font of the captions, the file list and the name box.
    const QFont &textFont() const { return m_textFont; }

    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

    QListWidget *m_files = nullptr;
    bool m_syncing = false;

private:
    std::function<void()> m_changed;
    bool m_forwarding = false;
    QFont m_textFont;
    QFont m_buttonFont;
};

} // namespace Dravix
