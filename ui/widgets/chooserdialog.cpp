#include "chooserdialog.h"

#include "chooserlogic.h"
#include "dialogstyle.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace {

constexpr int kClientWidth = 4380;
constexpr int kClientHeight = 2805;
constexpr Rect lWyborPliku{540, 210, 3165, 240};
constexpr Rect PodgladPlikow{270, 600, 3825, 1470};
constexpr Rect TypOdczyt{630, 2250, 1300, 405};
constexpr Rect TypAnuluj{2430, 2250, 1300, 405};

} // namespace

ChooserDialog::ChooserDialog(ChooserLogic &logic, std::function<void()> changed)
    : QWidget(nullptr, Qt::Dialog)
    , m_logic(logic)
    , m_changed(std::move(changed))
{
    using namespace DialogStyle;
    setObjectName(QStringLiteral("Typ"));
    setWindowTitle(QStringLiteral("Dravix - wybór pliku"));
    setFixedSize(toPixels({0, 0, kClientWidth, kClientHeight}).size());
    setAutoFillBackground(true);
    setColour(this, QPalette::Window, kWindowBlue);

    const QFont labelFont = designFont(font(), 9.75);
    const QFont buttonFont = designFont(font(), 8.25);

    m_caption = new QLabel(QStringLiteral("Wybór pliku konfiguracyjnego:"), this);
    m_caption->setObjectName(QStringLiteral("lWyborPliku"));
    m_caption->setGeometry(toPixels(lWyborPliku));
    m_caption->setFont(labelFont);
    setColour(m_caption, QPalette::WindowText, kYellow);

    m_files = new QListWidget(this);
    m_files->setObjectName(QStringLiteral("PodgladPlikow"));
    m_files->setGeometry(toPixels(PodgladPlikow));
    m_files->setFont(labelFont);
    m_files->setSelectionMode(QAbstractItemView::SingleSelection);
    setColour(m_files, QPalette::Base, kFileListBackground);

    const auto button = [&](const char *name, const char *caption, const Rect &where) {
        auto *b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(toPixels(where));
        b->setFont(buttonFont);
        b->setAutoDefault(false);
        b->setDefault(false);
        return b;
    };
    m_read = button("TypOdczyt", "ODCZYT", TypOdczyt);
    m_cancel = button("TypAnuluj", "ANULUJ", TypAnuluj);

    setTabOrder(m_files, m_read);
    setTabOrder(m_read, m_cancel);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);

    connect(m_files, &QListWidget::itemSelectionChanged, this, [this] {
        if (m_syncing)
            return;
        const QList<QListWidgetItem *> chosen = m_files->selectedItems();
        const int row = chosen.isEmpty() ? -1 : m_files->row(chosen.first());
        forward([&] { m_logic.select(row); });
    });
    connect(m_files, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        const int row = m_files->row(item);
        forward([&] { m_logic.doubleClick(row); });
    });
    connect(m_read, &QPushButton::clicked, this, [this] { forward([&] { m_logic.clickRead(); }); });
    connect(m_cancel, &QPushButton::clicked, this,
            [this] { forward([&] { m_logic.clickCancel(); }); });
}

template<typename Input>
void ChooserDialog::forward(Input input)
{
    input();
    sync();
    if (m_changed)
        m_changed();
}

void ChooserDialog::sync()
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
    m_syncing = false;

    if (!isVisible()) {
        DialogStyle::centreOnScreen(this);
        show();
        m_files->setFocus();
    }
}

void ChooserDialog::bringToFront()
{
    raise();
    activateWindow();
}

bool ChooserDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        forward([&] { m_logic.pressEscape(); });
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void ChooserDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        forward([&] { m_logic.pressEscape(); });
        return;
    }
    QWidget::keyPressEvent(event);
}

void ChooserDialog::closeEvent(QCloseEvent *event)
{
    if (m_logic.isOpen())
        forward([&] { m_logic.clickCancel(); });
    event->accept();
}
