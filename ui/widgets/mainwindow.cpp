#include "mainwindow.h"

#include "accessibletexts.h"
#include "captions.h"
#include "chooserdialog.h"
#include "chooserlogic.h"
#include "designfont.h"
#include "enterclick.h"
#include "focusstyle.h"
#include "logo.h"
#include "mainwindowdesign.h"
#include "mainwindowlogic.h"
#include "palette.h"
#include "portwatcher.h"
#include "twips.h"
#include "valuefiledialog.h"
#include "valuefilelogic.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace Dravix {

using namespace Palette;
using namespace Captions;

namespace {

QString q(const std::string &text)
{
    return QString::fromStdString(text);
}

// The toolkit takes a plain widget for a pane; screen readers are to hear a window.
QAccessibleInterface *accessibleWindow(const QString &className, QObject *object)
{
    if (className != QLatin1String(MainWindow::staticMetaObject.className()))
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
}

// A label is its control's caption for screen readers, unless its text has "&": the label
// would take that for a shortcut key and no longer show it.
void linkCaption(QLabel *label, QWidget *control)
{
    QWidget *buddy = label->text().contains(QLatin1Char('&')) ? nullptr : control;
    // Linking lays the caption out anew: only when it changes.
    if (label->buddy() != buddy)
        label->setBuddy(buddy);
}

} // namespace

MainWindow::MainWindow(MainWindowLogic &logic, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , m_logic(logic)
    , m_listening(QAccessible::isActive())
{
    QAccessible::installFactory(accessibleWindow);
    QAccessible::installActivationObserver(this);
    setObjectName(QStringLiteral("MF"));
    setWindowTitle(QString::fromStdString(logic.title()));
    setFixedSize(
        toPixels({0, 0, MainWindowDesign::kClientWidth, MainWindowDesign::kClientHeight}).size());
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, toColor(kWindowBlue));
    setPalette(palette);
    setAutoFillBackground(true);
    buildControls();
    EnterClick::installOn(this);
    FocusStyle::applyTo(this);
}

MainWindow::~MainWindow()
{
    QAccessible::removeActivationObserver(this);
}

void MainWindow::buildControls()
{
    using namespace MainWindowDesign;
    const QFont base = font();
    const QFont labelFont = designFont(base, kTextPoints, true);
    const QFont buttonFont = designFont(base, kButtonPoints, true);
    const QFont entryFont = designFont(base, kLargePoints, true);
    // Most controls show the labels' font: given to the window once, they inherit it, and no
    // control lays out its text in a font it never shows.
    setFont(labelFont);

    const auto label = [&](const char *name, const char *caption, const Rect &geometry,
                           const Rgb &color) {
        auto *widget = new QLabel(QString::fromUtf8(caption), this);
        widget->setObjectName(QString::fromLatin1(name));
        widget->setGeometry(toPixels(geometry));
        widget->setTextFormat(Qt::PlainText);
        setColour(widget, QPalette::WindowText, color);
        return widget;
    };

    m_model = label("lModel", kModelHeading, lModel, kWhite);
    m_model->setFont(designFont(base, kLargePoints, false));
    // The heading keeps the toolkit's own label colours, like a label left at its defaults.
    m_model->setAutoFillBackground(true);
    {
        const QPalette toolkit = QApplication::palette(m_model);
        QPalette own;
        for (const auto role : {QPalette::Window, QPalette::WindowText})
            own.setColor(role, toolkit.color(role));
        m_model->setPalette(own);
    }

    auto *line = new QFrame(this);
    line->setObjectName(QStringLiteral("Line1"));
    line->setGeometry(QRect(toPixels(Line1).topLeft(), QSize(toPixels(Line1).width(), 2)));
    line->setAutoFillBackground(true);
    {
        QPalette palette = line->palette();
        palette.setColor(QPalette::Window, Qt::black);
        line->setPalette(palette);
    }

    auto *logo = new Logo(this);
    logo->setObjectName(QStringLiteral("LogoFirmy"));
    logo->setGeometry(toPixels(LogoFirmy));

    label("lZestawParametrow", kSetChoice, lZestawParametrow, kLightYellow);
    const auto option = [&](const char *name, const char *caption, const Rect &geometry) {
        auto *button = new QRadioButton(QString::fromUtf8(caption), this);
        button->setObjectName(QString::fromLatin1(name));
        button->setGeometry(toPixels(geometry));
        setColour(button, QPalette::WindowText, kLightYellow);
        return button;
    };
    m_option1 = option("OptionZestaw1", kSet1, OptionZestaw1);
    m_option2 = option("OptionZestaw2", kSet2, OptionZestaw2);
    m_option1->setChecked(true);

    for (int k = 0; k < kSlotCount; ++k) {
        const QString index = QString::number(k);
        m_names[k] = label("NazwaParametru", kParameterName, NazwaParametru0, kYellow);
        m_names[k]->setObjectName(QStringLiteral("NazwaParametru_") + index);
        m_entries[k] = new QLineEdit(QStringLiteral("0"), this);
        m_entries[k]->setObjectName(QStringLiteral("EdycjaParametru_") + index);
        m_entries[k]->setFont(entryFont);
        m_upper[k] = label("OpisParametru1", kUpperDescription, OpisParametru10, kLightGreen);
        m_upper[k]->setObjectName(QStringLiteral("OpisParametru1_") + index);
        m_lower[k] = label("OpisParametru2", kLowerDescription, OpisParametru20, kLightGreen);
        m_lower[k]->setObjectName(QStringLiteral("OpisParametru2_") + index);
        linkCaption(m_names[k], m_entries[k]);
        connect(m_entries[k], &QLineEdit::textEdited, this, [this, k](const QString &text) {
            forward([&] { m_logic.editEntry(k, text.toStdString()); });
        });
    }

    QLabel *portsCaption = label("lNumerPortu", kPortNumber, lNumerPortu, kYellow);
    m_portInfo = label("lPortInfo", kPortUnavailable, lPortInfo, kLightRed);
    m_portInfo->installEventFilter(this);
    QLabel *lineSettingsCaption = label("lPredkoscPortu", kLineSettings, lPredkoscPortu, kYellow);
    const auto list = [&](const char *name, const Rect &geometry) {
        auto *combo = new QComboBox(this);
        combo->setObjectName(QString::fromLatin1(name));
        combo->setGeometry(toPixels(geometry));
        // A list without typing is drawn as a button: both colours make it white.
        setColour(combo, QPalette::Base, kWhite);
        setColour(combo, QPalette::Button, kWhite);
        return combo;
    };
    m_ports = list("NumerPortu", NumerPortu);
    m_ports->installEventFilter(this);
    m_lineSettings = list("Predkosc", Predkosc);
    linkCaption(portsCaption, m_ports);
    linkCaption(lineSettingsCaption, m_lineSettings);

    const auto button = [&](const char *name, const char *caption, const Rect &geometry) {
        auto *widget = new QPushButton(QString::fromUtf8(caption), this);
        widget->setObjectName(QString::fromLatin1(name));
        widget->setGeometry(toPixels(geometry));
        widget->setFont(buttonFont);
        widget->setAutoDefault(false);
        return widget;
    };
    QPushButton *read = m_read = button("PrzyciskOdczyt", kRead, PrzyciskOdczyt);
    QPushButton *write = m_write = button("PrzyciskZapisz", kWrite, PrzyciskZapisz);
    QPushButton *chooser = button("PrzyciskWybor", kChooser, PrzyciskWybor);
    QPushButton *valueFiles = button("Command1", kValueFiles, Command1);
    QPushButton *exit = button("PrzyciskWyjscie", kExit, PrzyciskWyjscie);

    connect(m_option1, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            forward([&] { m_logic.clickOption(1); });
    });
    connect(m_option2, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            forward([&] { m_logic.clickOption(2); });
    });
    connect(m_ports, &QComboBox::activated, this,
            [this](int index) { forward([&] { m_logic.choosePort(index); }); });
    connect(m_lineSettings, &QComboBox::activated, this,
            [this](int index) { forward([&] { m_logic.chooseLineSettings(index); }); });
    connect(read, &QPushButton::clicked, this, [this] { forward([&] { m_logic.clickRead(); }); });
    connect(write, &QPushButton::clicked, this, [this] { forward([&] { m_logic.clickWrite(); }); });
    connect(chooser, &QPushButton::clicked, this, [this] {
        forward([&] { m_logic.clickChooser(); });
        if (m_chooser)
            m_chooser->bringToFront();
    });
    connect(valueFiles, &QPushButton::clicked, this, [this] {
        forward([&] { m_logic.clickValueFiles(); });
        if (m_valueFiles)
            m_valueFiles->bringToFront();
    });
    connect(exit, &QPushButton::clicked, this, &QWidget::close);

    // The port follows its device: plugged in, pulled out, linked anew.
    m_portWatcher = new PortWatcher(this);
    connect(m_portWatcher, &PortWatcher::changed, this,
            [this] { forward([&] { m_logic.portSystemChanged(); }); });

    QWidget *previous = nullptr;
    const auto chain = [this, &previous](QWidget *next) {
        if (previous)
            QWidget::setTabOrder(previous, next);
        previous = next;
        m_tabOrder.push_back(next);
    };
    for (QLineEdit *entry : m_entries)
        chain(entry);
    for (QWidget *widget : std::initializer_list<QWidget *>{
             m_ports, m_lineSettings, read, write, chooser, valueFiles, exit, m_option1, m_option2})
        chain(widget);
}

template <typename Handler> void MainWindow::forward(Handler handler)
{
    handler();
    sync();
}

void MainWindow::sync()
{
    QWidget *focused = focusWidget();
    const bool focusShown = focused && focused->isVisibleTo(this);
    setWindowTitle(q(m_logic.title()));

    // A caption wider than its box grows to the right, as far as the window goes.
    const auto fit = [this](QLabel *label, QRect box) {
        const int designWidth = box.width();
        // Measured only when the widest glyphs might not fit: most captions plainly do.
        const qsizetype widest = QFontMetrics(label->font()).maxWidth();
        const int wanted =
            widest * label->text().size() <= designWidth ? 0 : label->sizeHint().width();
        if (wanted > designWidth)
            box.setWidth(std::max(designWidth, std::min(wanted, width() - box.left())));
        label->setGeometry(box);
        if (box.width() > designWidth)
            label->raise();
    };
    {
        const QString heading = q(m_logic.modelHeading());
        if (m_model->text() != heading)
            m_model->setText(heading);
        fit(m_model, toPixels(MainWindowDesign::lModel));
    }

    const auto syncLabel = [&fit](QLabel *label, const LabelState &state,
                                  QWidget *captioned = nullptr) {
        const QString caption = q(state.caption);
        if (label->text() != caption) {
            // Unlinked before the text changes, so that no "&" of it ever counts as a shortcut.
            if (captioned && label->buddy() && caption.contains(QLatin1Char('&')))
                label->setBuddy(nullptr);
            label->setText(caption);
            if (captioned)
                linkCaption(label, captioned);
        }
        fit(label, toPixels(state.geometry));
        label->setVisible(state.visible);
    };
    for (int k = 0; k < kSlotCount; ++k) {
        QLineEdit *edit = m_entries[k];
        syncLabel(m_names[k], m_logic.parameterName(k), edit);
        syncLabel(m_upper[k], m_logic.upperDescription(k));
        syncLabel(m_lower[k], m_logic.lowerDescription(k));
        const EntryState &entry = m_logic.entry(k);
        const QString text = q(entry.text);
        if (edit->text() != text)
            edit->setText(text);
        if (edit->palette().color(QPalette::Base) != toColor(entry.background))
            setColour(edit, QPalette::Base, entry.background);
        edit->setGeometry(toPixels(entry.geometry));
        edit->setVisible(entry.visible);
    }

    {
        const QSignalBlocker block1(m_option1);
        const QSignalBlocker block2(m_option2);
        m_option1->setChecked(m_logic.optionSelected(1));
        m_option2->setChecked(m_logic.optionSelected(2));
    }

    // A list is refilled only when its entries changed: typing must not touch long lists.
    const auto syncList = [](QComboBox *combo, const ListState &state,
                             std::vector<std::string> &mirrored) {
        const QSignalBlocker block(combo);
        if (mirrored != state.entries) {
            mirrored = state.entries;
            QStringList entries;
            entries.reserve(int(mirrored.size()));
            for (const std::string &entry : mirrored)
                entries << q(entry);
            combo->clear();
            combo->addItems(entries);
        }
        if (combo->currentIndex() != state.selected)
            combo->setCurrentIndex(state.selected);
    };
    if (m_shownPorts != m_logic.ports().entries)
        m_shownPortTips.clear(); // the refilled list has lost them
    syncList(m_ports, m_logic.ports(), m_shownPorts);
    syncList(m_lineSettings, m_logic.lineSettings(), m_shownLineSettings);
    m_portInfo->setVisible(m_logic.portInfoVisible());
    syncPortToolTips();
    m_portWatcher->watch(m_logic.portWatchFolders());
    for (auto [button, note] :
         {std::pair{m_read, &m_logic.readToolTip()}, std::pair{m_write, &m_logic.writeToolTip()}}) {
        if (const QString tip = q(*note); button->toolTip() != tip)
            button->setToolTip(tip);
    }

    if (m_listening)
        syncAccessibleTexts();

    // At start, and when a set switch hides the control that had the focus.
    if (!focusShown || !focused->isVisibleTo(this))
        focusFirst();
    syncDialogs();
}

void MainWindow::syncAccessibleTexts()
{
    // Set only when changed: the toolkit announces every change to the screen reader.
    const auto name = [](QWidget *widget, const std::string &text) {
        if (const QString name = q(text); widget->accessibleName() != name)
            widget->setAccessibleName(name);
    };
    const auto describe = [](QWidget *widget, const std::string &text) {
        if (const QString description = q(text); widget->accessibleDescription() != description)
            widget->setAccessibleDescription(description);
    };
    for (int k = 0; k < kSlotCount; ++k) {
        name(m_entries[k], AccessibleTexts::entryName(m_logic, k));
        describe(m_entries[k], AccessibleTexts::entryDescription(m_logic, k));
    }
    describe(m_option1, AccessibleTexts::kSet1);
    describe(m_option2, AccessibleTexts::kSet2);
    // A list's popup is a list of its own.
    for (QComboBox *list : {m_ports, m_lineSettings}) {
        const std::string caption =
            AccessibleTexts::nameOf(list == m_ports ? kPortNumber : kLineSettings);
        name(list, caption);
        name(list->view(), caption);
    }
    describe(m_ports, AccessibleTexts::portListDescription(m_logic));
    describe(m_lineSettings, AccessibleTexts::kLineSettings);
}

void MainWindow::accessibilityActiveChanged(bool active)
{
    m_listening = active;
    if (active)
        syncAccessibleTexts();
}

void MainWindow::syncPortToolTips()
{
    const std::vector<std::string> &tips = m_logic.portEntryToolTips();
    if (m_shownPortTips != tips) {
        m_shownPortTips = tips;
        for (int i = 0; i < m_ports->count() && i < int(tips.size()); ++i)
            m_ports->setItemData(i, q(tips[std::size_t(i)]), Qt::ToolTipRole);
    }
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // The port's note is composed only when the user asks for it: finding why a port did not
    // open lists the adapters, which would slow down every start and every port test.
    if (event->type() == QEvent::ToolTip) {
        if (watched == m_portInfo)
            m_portInfo->setToolTip(q(m_logic.portInfoToolTip()));
        else if (watched == m_ports)
            m_ports->setToolTip(q(m_logic.portListToolTip()));
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::focusFirst()
{
    for (QWidget *widget : m_tabOrder) {
        if (widget->isVisibleTo(this) && widget->isEnabled()) {
            widget->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

QWidget *MainWindow::messageParent() const
{
    for (FileListDialog *dialog : {static_cast<FileListDialog *>(m_chooser.get()),
                                   static_cast<FileListDialog *>(m_valueFiles.get())}) {
        if (dialog && dialog->isForwarding())
            return dialog;
    }
    return const_cast<MainWindow *>(this);
}

void MainWindow::syncDialogs()
{
    // Each dialog is made when first shown; it is a top-level window of its own.
    const auto refresh = [this] { sync(); };
    if (m_logic.chooser().isOpen() && !m_chooser)
        m_chooser = std::make_unique<ChooserDialog>(m_logic.chooser(), refresh);
    if (m_logic.valueFiles().isOpen() && !m_valueFiles)
        m_valueFiles = std::make_unique<ValueFileDialog>(m_logic.valueFiles(), refresh);
    if (m_chooser)
        m_chooser->sync();
    if (m_valueFiles)
        m_valueFiles->sync();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_closed) {
        m_closed = true;
        m_logic.close();
        sync();
    }
    event->accept();
}

} // namespace Dravix
