#include "valuefiledialog.h"

#include "dialogstyle.h"
#include "valuefilelogic.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

constexpr int kClientWidth = 4530;
constexpr int kClientHeight = 4125;
constexpr Rect lWyborPliku{330, 180, 3270, 240};
constexpr Rect ZapisPliki{300, 540, 3975, 1470};
constexpr Rect LZapiszJako{300, 2100, 1320, 240};
constexpr Rect EditPlikZapisu{300, 2430, 3975, 345};
constexpr Rect OdczytButton{360, 2970, 1425, 405};
constexpr Rect ZapisButton{1890, 2970, 1455, 405};
constexpr Rect ZapisUsun{3450, 2970, 795, 405};
constexpr Rect ZapisAnuluj{870, 3570, 2895, 345};

} // namespace

ValueFileDialog::ValueFileDialog(ValueFileLogic &logic, std::function<void()> changed)
    : QWidget(nullptr, Qt::Dialog)
    , m_logic(logic)
    , m_changed(std::move(changed))
{
    using namespace DialogStyle;
    setObjectName(QStringLiteral("Zapis"));
    setWindowTitle(QStringLiteral("Dravix - Zapis/odczyt"));
    setFixedSize(toPixels({0, 0, kClientWidth, kClientHeight}).size());
    setAutoFillBackground(true);
    setColour(this, QPalette::Window, kWindowBlue);

    const QFont textFont = designFont(font(), 9.75);
    const QFont buttonFont = designFont(font(), 8.25);

    const auto label = [&](const char *name, const char *caption, const Rect &where) {
        auto *l = new QLabel(QString::fromUtf8(caption), this);
        l->setObjectName(QString::fromLatin1(name));
        l->setGeometry(toPixels(where));
        l->setFont(textFont);
        setColour(l, QPalette::WindowText, kYellow);
        return l;
    };
    label("lWyborPliku", "Wybór pliku do odczytu/zapisu:", lWyborPliku);
    label("LZapiszJako", "Nazwa pliku:", LZapiszJako);

    m_files = new QListWidget(this);
    m_files->setObjectName(QStringLiteral("ZapisPliki"));
    m_files->setGeometry(toPixels(ZapisPliki));
    m_files->setFont(textFont);
    m_files->setSelectionMode(QAbstractItemView::SingleSelection);
    setColour(m_files, QPalette::Base, kFileListBackground);

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("EditPlikZapisu"));
    m_name->setGeometry(toPixels(EditPlikZapisu));
    m_name->setFont(textFont);

    const auto button = [&](const char *name, const char *caption, const Rect &where) {
        auto *b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(toPixels(where));
        b->setFont(buttonFont);
        b->setAutoDefault(false);
        b->setDefault(false);
        return b;
    };
    m_load = button("OdczytButton", "ODCZYTAJ", OdczytButton);
    m_save = button("ZapisButton", "ZAPISZ", ZapisButton);
    m_delete = button("ZapisUsun", "USUŃ", ZapisUsun);
    m_exit = button("ZapisAnuluj", "WYJŚCIE", ZapisAnuluj);

    setTabOrder(m_files, m_name);
    setTabOrder(m_name, m_save);
    setTabOrder(m_save, m_exit);
    setTabOrder(m_exit, m_delete);
    setTabOrder(m_delete, m_load);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);

    // A click on the selected entry selects nothing new, yet puts its name back in the box.
    connect(m_files, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        const int row = m_files->row(item);
        forward([&] { m_logic.clickEntry(row); });
    });
    connect(m_files, &QListWidget::itemSelectionChanged, this, [this] {
        const int row = selectedRow();
        if (!m_syncing && row >= 0)
            forward([&] { m_logic.clickEntry(row); });
    });
    connect(m_files, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        const int row = m_files->row(item);
        forward([&] { m_logic.doubleClickEntry(row); });
    });
    connect(m_name, &QLineEdit::textEdited, this, [this](const QString &text) {
        forward([&] { m_logic.editName(text.toStdString()); });
    });
    connect(m_load, &QPushButton::clicked, this, [this] { forward([&] { m_logic.clickLoad(); }); });
    connect(m_save, &QPushButton::clicked, this, [this] { forward([&] { m_logic.clickSave(); }); });
    connect(m_delete, &QPushButton::clicked, this,
            [this] { forward([&] { m_logic.clickDelete(); }); });
    connect(m_exit, &QPushButton::clicked, this, [this] { forward([&] { m_logic.clickExit(); }); });
}

template<typename Input>
void ValueFileDialog::forward(Input input)
{
    input();
    sync();
    if (m_changed)
        m_changed();
}

int ValueFileDialog::selectedRow() const
{
    const QList<QListWidgetItem *> chosen = m_files->selectedItems();
    return chosen.isEmpty() ? -1 : m_files->row(chosen.first());
}

void ValueFileDialog::sync()
{
    if (!m_logic.isOpen()) {
        if (isVisible())
            hide();
        return;
    }
    m_syncing = true;
    const ListState &files = m_logic.files();
    QStringList entries;
    for (const std::string &name : files.entries)
        entries << QString::fromStdString(name);
    QStringList shown;
    for (int i = 0; i < m_files->count(); ++i)
        shown << m_files->item(i)->text();
    if (shown != entries) {
        m_files->clear();
        m_files->addItems(entries);
    }
    if (files.selected >= 0) {
        m_files->setCurrentRow(files.selected, QItemSelectionModel::ClearAndSelect);
    } else {
        m_files->clearSelection();
        m_files->setCurrentRow(-1);
    }
    const QString name = QString::fromStdString(m_logic.nameText());
    if (m_name->text() != name)
        m_name->setText(name);
    const bool enabled = m_logic.fileButtonsEnabled();
    m_load->setEnabled(enabled);
    m_save->setEnabled(enabled);
    m_delete->setEnabled(enabled);
    m_syncing = false;

    if (!isVisible()) {
        DialogStyle::centreOnScreen(this);
        show();
        m_files->setFocus();
    }
}

void ValueFileDialog::bringToFront()
{
    raise();
    activateWindow();
}

bool ValueFileDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        forward([&] { m_logic.pressEscape(); });
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void ValueFileDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        forward([&] { m_logic.pressEscape(); });
        return;
    }
    QWidget::keyPressEvent(event);
}

void ValueFileDialog::closeEvent(QCloseEvent *event)
{
    if (m_logic.isOpen())
        forward([&] { m_logic.clickExit(); });
    event->accept();
}
