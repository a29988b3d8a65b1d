#include "filelistdialog.h"

#include "accessibletexts.h"
#include "designfont.h"
#include "enterclick.h"
#include "filelist.h"
#include "focusstyle.h"
#include "messages.h"
#include "palette.h"
#include "windowplacement.h"

#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTextDocument>

namespace Dravix {

using namespace Palette;

namespace {

// The toolkit takes a plain widget for a pane; screen readers are to hear a dialog.
QAccessibleInterface *accessibleDialog(const QString &className, QObject *object)
{
    if (className != QLatin1String(FileListDialog::staticMetaObject.className()))
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Dialog);
}

// An entry whose note is composed when it is asked for (the pointer rests on it, or a screen
// reader reads it): reading every file of the folder when the list is filled would slow down
// the dialog's opening, and a note composed then would not follow the screen's entries.
class NoteItem : public QListWidgetItem
{
public:
    NoteItem(const QString &name, QListWidget *list, std::function<std::string(int)> note)
        : QListWidgetItem(name, list)
        , m_note(std::move(note))
    {
    }

    QVariant data(int role) const override
    {
        if (role == Qt::ToolTipRole && listWidget())
            return FileListDialog::toolTipText(m_note(listWidget()->row(this)));
        if (role == Qt::AccessibleDescriptionRole && listWidget())
            return QString::fromStdString(m_note(listWidget()->row(this)));
        return QListWidgetItem::data(role);
    }

private:
    std::function<std::string(int)> m_note;
};

} // namespace

QString FileListDialog::toolTipText(const std::string &note)
{
    const QString text = QString::fromStdString(note);
    if (!Qt::mightBeRichText(text))
        return text;
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}

FileListDialog::FileListDialog(const char *objectName, const char *caption, int clientWidth,
                               int clientHeight, std::function<void()> changed)
    : QWidget(nullptr, Qt::Dialog)
    , m_changed(std::move(changed))
{
    QAccessible::installFactory(accessibleDialog);
    setObjectName(QString::fromLatin1(objectName));
    setWindowTitle(QString::fromUtf8(Messages::kTitlePrefix) + QString::fromUtf8(caption));
    setFixedSize(toPixels({0, 0, clientWidth, clientHeight}).size());
    setAutoFillBackground(true);
    setColour(this, QPalette::Window, kWindowBlue);
    m_textFont = designFont(font(), kTextPoints, true);
    m_buttonFont = designFont(font(), kButtonPoints, true);
}

QLabel *FileListDialog::addLabel(const char *name, const char *caption, const Rect &where)
{
    auto *label = new QLabel(QString::fromUtf8(caption), this);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(toPixels(where));
    label->setFont(m_textFont);
    label->setTextFormat(Qt::PlainText);
    setColour(label, QPalette::WindowText, kYellow);
    return label;
}

QListWidget *FileListDialog::addFileList(const char *name, QLabel *caption, const char *description,
                                         const Rect &where)
{
    m_files = new FileList(this);
    m_files->setObjectName(QString::fromLatin1(name));
    m_files->setAccessibleName(
        QString::fromStdString(AccessibleTexts::nameOf(caption->text().toStdString())));
    m_files->setAccessibleDescription(QString::fromUtf8(description));
    caption->setBuddy(m_files);
    m_files->setGeometry(toPixels(where));
    m_files->setFont(m_textFont);
    m_files->setSelectionMode(QAbstractItemView::SingleSelection);
    setColour(m_files, QPalette::Base, kFileListBackground);
    return m_files;
}

QPushButton *FileListDialog::addButton(const char *name, const char *caption, const Rect &where)
{
    auto *button = new QPushButton(QString::fromUtf8(caption), this);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(toPixels(where));
    button->setFont(m_buttonFont);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

void FileListDialog::watchKeys()
{
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
    EnterClick::installOn(this);
    FocusStyle::applyTo(this);
}

void FileListDialog::forward(const std::function<void()> &input)
{
    const bool outer = !m_forwarding;
    m_forwarding = true;
    input();
    if (outer)
        m_forwarding = false;
    sync();
    if (m_changed)
        m_changed();
}

bool FileListDialog::syncFileList(const ListState &files)
{
    if (!logicOpen()) {
        if (isVisible())
            hide();
        return false;
    }
    m_syncing = true;
    QStringList entries;
    for (const std::string &name : files.entries)
        entries << QString::fromStdString(name);
    QStringList shown;
    for (int i = 0; i < m_files->count(); ++i)
        shown << m_files->item(i)->text();
    if (shown != entries) {
        m_files->clear();
        for (const QString &entry : entries)
            new NoteItem(entry, m_files, [this](int row) { return entryNote(row); });
    }
    if (files.selected >= 0) {
        m_files->setCurrentRow(files.selected, QItemSelectionModel::ClearAndSelect);
    } else {
        m_files->clearSelection();
        m_files->setCurrentRow(-1);
    }
    m_syncing = false;
    return true;
}

void FileListDialog::showWhenHidden()
{
    if (isVisible())
        return;
    WindowPlacement::centre(this);
    show();
    m_files->setFocus();
}

int FileListDialog::selectedRow() const
{
    const QList<QListWidgetItem *> chosen = m_files->selectedItems();
    return chosen.isEmpty() ? -1 : m_files->row(chosen.first());
}

void FileListDialog::bringToFront()
{
    raise();
    activateWindow();
}

bool FileListDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() == Qt::Key_Escape) {
        forward([this] { escape(); });
        return true;
    }
    if (watched == m_files && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
        if (!key->isAutoRepeat())
            forward([this] { enterOnList(); });
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void FileListDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        forward([this] { escape(); });
        return;
    }
    QWidget::keyPressEvent(event);
}

void FileListDialog::closeEvent(QCloseEvent *event)
{
    if (logicOpen())
        forward([this] { escape(); });
    event->accept();
}

} // namespace Dravix
