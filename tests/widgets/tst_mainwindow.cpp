#include "captionwidth.h"
#include "windowfixture.h"

#include "designfont.h"
#include "focusstyle.h"
#include "mainwindow.h"
#include "qtplatform.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QScopeGuard>
#include <QRadioButton>
#include <QStandardPaths>
#include <QStyleFactory>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <fstream>

using namespace Dravix;

namespace {

// The tooltip as the mouse resting on the widget brings it up.
QString hoverToolTip(QWidget *widget)
{
    QHelpEvent hover(QEvent::ToolTip, QPoint(1, 1), widget->mapToGlobal(QPoint(1, 1)));
    QApplication::sendEvent(widget, &hover);
    return widget->toolTip();
}

// As a screen reader does: the control's accessible interface.
QAccessibleInterface *accessible(QObject *object)
{
    QAccessibleInterface *interface = QAccessible::queryAccessibleInterface(object);
    if (!interface)
        qFatal("no accessible interface for %s", qPrintable(object->objectName()));
    return interface;
}

// The caption that a screen reader finds linked to a control, or none.
QString captionOf(QAccessibleInterface *control)
{
    const auto labels = control->relations(QAccessible::Label);
    return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
}

// A screen reader listens while this lives.
struct Listening
{
    Listening() { QAccessible::setActive(true); }
    ~Listening() { QAccessible::setActive(false); }
    Listening(const Listening &) = delete;
    Listening &operator=(const Listening &) = delete;
};

} // namespace

// The main window's widgets on the offscreen platform.
class tst_MainWindow : public QObject
{
    Q_OBJECT

private:
    // The main window over the logic of an empty working directory.
    template <typename PlatformType = FakePlatform>
    struct BasicFixture : BasicWindowFixture<PlatformType>
    {
        BasicFixture()
            : BasicWindowFixture<PlatformType>(BasicWindowFixture<PlatformType>::Folder::Empty)
            , window(this->main)
        {
        }
        MainWindow window;
    };
    using Fixture = BasicFixture<>;

    static void writeFile(const QString &path, const std::string &bytes)
    {
        std::ofstream(path.toStdString(), std::ios::binary) << bytes;
    }

    static QColor base(QWidget *widget) { return widget->palette().color(QPalette::Base); }

    // The contrast ratio of two colours as the web's accessibility guidelines define it.
    static double contrast(QColor a, QColor b)
    {
        const auto luminance = [](QColor c) {
            const auto channel = [](double v) {
                return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
            };
            return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
                   0.0722 * channel(c.blueF());
        };
        const double la = luminance(a), lb = luminance(b);
        return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
    }

    // A description and a state file that shows its set 1, the window shown and active.
    static void startWith(Fixture &f, const std::string &description)
    {
        writeFile(f.folder.pathOf("a.set"), description);
        writeFile(f.folder.pathOf("sesja.dat"), "konfig=a.set\r\nzestaw= 1\r\n");
        f.main.load();
        f.window.sync();
        f.window.show();
        QApplication::setActiveWindow(&f.window);
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
    }

    template <typename T> static T *control(Fixture &f, const QString &name)
    {
        T *widget = f.window.findChild<T *>(name);
        if (!widget)
            qFatal("no control %s", qPrintable(name));
        return widget;
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void controls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QColor>("text");
        const QColor yellow(255, 255, 0), lightYellow(255, 255, 192), lightRed(255, 128, 128);
        const QColor none;
        QTest::newRow("lModel") << "lModel"
                                << "MODEL URZĄDZENIA: ???" << QRect(20, 10, 543, 20) << none;
        QTest::newRow("lZestawParametrow")
            << "lZestawParametrow"
            << "Zestaw parametrów:" << QRect(24, 46, 139, 16) << lightYellow;
        QTest::newRow("OptionZestaw1") << "OptionZestaw1"
                                       << "1 - 4" << QRect(190, 44, 57, 21) << lightYellow;
        QTest::newRow("OptionZestaw2") << "OptionZestaw2"
                                       << "5 - 8" << QRect(278, 44, 57, 21) << lightYellow;
        QTest::newRow("lNumerPortu")
            << "lNumerPortu"
            << "Nr portu szeregowego:" << QRect(24, 350, 157, 16) << yellow;
        QTest::newRow("lPortInfo") << "lPortInfo"
                                   << "Port niedostępny!" << QRect(72, 376, 111, 16) << lightRed;
        QTest::newRow("lPredkoscPortu")
            << "lPredkoscPortu"
            << "Parametry transmisji RS232:" << QRect(234, 350, 195, 16) << yellow;
        QTest::newRow("PrzyciskOdczyt") << "PrzyciskOdczyt"
                                        << "ODCZYT DANYCH" << QRect(22, 414, 151, 24) << none;
        QTest::newRow("PrzyciskZapisz") << "PrzyciskZapisz"
                                        << "ZAPIS DANYCH" << QRect(174, 414, 151, 24) << none;
        QTest::newRow("PrzyciskWybor") << "PrzyciskWybor"
                                       << "KONFIGURACJA" << QRect(326, 414, 151, 24) << none;
        QTest::newRow("Command1") << "Command1"
                                  << "ODCZYT/ZAPIS SESJI" << QRect(478, 414, 151, 24) << none;
        QTest::newRow("PrzyciskWyjscie") << "PrzyciskWyjscie"
                                         << "WYJŚCIE" << QRect(630, 414, 75, 24) << none;
    }

    void controls()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QRect, geometry);
        QFETCH(QColor, text);
        Fixture f;
        f.main.load();
        f.window.sync();
        auto *widget = f.window.findChild<QWidget *>(name);
        QVERIFY2(widget, qPrintable(name));
        QCOMPARE(widget->geometry(), geometry);
        QString shown;
        if (auto *label = qobject_cast<QLabel *>(widget))
            shown = label->text();
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            shown = button->text();
        QCOMPARE(shown, caption);
        QVERIFY2(captionWidth(widget) <= widget->width(),
                 qPrintable(widget->font().family() + " needs " +
                            QString::number(captionWidth(widget))));
        if (text.isValid())
            QCOMPARE(widget->palette().color(QPalette::WindowText), text);
    }

    void windowAndFirstStart()
    {
        Fixture f;
        f.main.load();
        f.window.sync();
        QCOMPARE(f.window.size(), QSize(718, 456));
        QCOMPARE(f.window.minimumSize(), f.window.maximumSize());
        QCOMPARE(f.window.windowTitle(), QStringLiteral("Dravix"));
        QCOMPARE(f.window.palette().color(QPalette::Window), QColor(1, 125, 195));
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        QVERIFY(f.window.findChild<QLabel *>("lPortInfo")->isVisible());
        QVERIFY(f.window.findChild<QRadioButton *>("OptionZestaw1")->isChecked());
        for (int k = 0; k < 8; ++k) {
            auto *entry =
                f.window.findChild<QLineEdit *>(QStringLiteral("EdycjaParametru_%1").arg(k));
            QVERIFY(entry);
            QCOMPARE(entry->text(), QStringLiteral("0"));
            QVERIFY(!entry->isVisible());
            QCOMPARE(base(entry), QColor(255, 255, 255));
        }
        QCOMPARE(f.window.findChild<QComboBox *>("NumerPortu")->count(), 0);
    }

    void restoredDescriptionIsShown()
    {
        Fixture f;
        writeFile(f.folder.pathOf("a.set"),
                  "tytul=Model \xa5\r\nnazwa2=Pr\xea"
                  "dko\x9c\xe6:\r\naktywny2=1\r\n"
                  "zakresmax2=100\r\ndodajport=1\r\ndodajport=2\r\ndodajparam=9600,n,8,1\r\n");
        writeFile(f.folder.pathOf("sesja.dat"),
                  "konfig=a.set\r\nparametr2=42\r\nwybor1=1\r\nwybor2=0\r\nzestaw= 1\r\n");
        f.main.load();
        f.window.sync();
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        QCOMPARE(f.window.windowTitle(), QStringLiteral("Dravix - a.set"));
        QCOMPARE(f.window.findChild<QLabel *>("lModel")->text(), QStringLiteral("Model Ą"));
        auto *name = f.window.findChild<QLabel *>("NazwaParametru_1");
        QCOMPARE(name->text(), QStringLiteral("Prędkość:"));
        QVERIFY(name->isVisible());
        QCOMPARE(name->geometry().topLeft(), QPoint(24, 142));
        auto *entry = f.window.findChild<QLineEdit *>("EdycjaParametru_1");
        QCOMPARE(entry->text(), QStringLiteral("42"));
        QCOMPARE(entry->geometry(), QRect(24, 160, 73, 24));
        QVERIFY(!f.window.findChild<QLineEdit *>("EdycjaParametru_0")->isVisible());
        auto *ports = f.window.findChild<QComboBox *>("NumerPortu");
        QCOMPARE(ports->count(), 2);
        QCOMPARE(ports->currentIndex(), 1);
        QCOMPARE(f.window.findChild<QComboBox *>("Predkosc")->currentText(),
                 QStringLiteral("9600,n,8,1"));

        // What each port number opens, and what the last test found, as tooltips.
        QCOMPARE(ports->itemData(0, Qt::ToolTipRole).toString(),
                 "Port 1: /dev/ttyS0 (nie istnieje)");
        QCOMPARE(ports->itemData(1, Qt::ToolTipRole).toString(),
                 "Port 2: /dev/ttyS1 (nie istnieje)");
        const QString opened2 = "Port 2: /dev/ttyS1\nOtwarty poprawnie: /dev/ttyS1.";
        QCOMPARE(hoverToolTip(ports), opened2);
        auto *portInfo = f.window.findChild<QLabel *>("lPortInfo");
        QCOMPARE(hoverToolTip(portInfo), opened2);
        f.port.opens = false;
        f.port.portSystem.devices = {"/dev/ttyS1"};
        f.main.choosePort(0);
        f.window.sync();
        QVERIFY(portInfo->isVisible());
        // The reason in the words of the system the program runs on.
#ifdef Q_OS_WIN
        const QString missing = "Port 1: /dev/ttyS0\nPortu /dev/ttyS0 nie ma w systemie.";
#else
        const QString missing = "Port 1: /dev/ttyS0\nUrządzenie";
#endif
        QVERIFY2(hoverToolTip(portInfo).startsWith(missing), qPrintable(hoverToolTip(portInfo)));
        QCOMPARE(hoverToolTip(ports), hoverToolTip(portInfo));
        QCOMPARE(ports->itemData(1, Qt::ToolTipRole).toString(), "Port 2: /dev/ttyS1");

        // What the last read did, on its button.
        f.main.clickRead();
        f.window.sync();
        QVERIFY(hoverToolTip(f.window.findChild<QPushButton *>("PrzyciskOdczyt"))
                    .contains("Nie wysłano nic"));

        // Other entries for the same numbers: the list is refilled, its tooltips too.
        writeFile(f.folder.pathOf("b.set"), "dodajport=1 (USB)\r\ndodajport=2 (USB)\r\n");
        f.main.emptyListsAndTestPort();
        f.main.readKeyValueFile("b.set");
        f.window.sync();
        QCOMPARE(ports->itemText(0), "1 (USB)");
        QCOMPARE(ports->itemData(0, Qt::ToolTipRole).toString(),
                 "Port 1: /dev/ttyS0 (nie istnieje)");
        QCOMPARE(ports->itemData(1, Qt::ToolTipRole).toString(), "Port 2: /dev/ttyS1");
    }

    void typingColoursTheEntry()
    {
        Fixture f;
        writeFile(f.folder.pathOf("a.set"), "aktywny1=1\r\nzakresmin1=10\r\nzakresmax1=100\r\n");
        writeFile(f.folder.pathOf("sesja.dat"), "konfig=a.set\r\nparametr1=50\r\nzestaw= 1\r\n");
        f.main.load();
        f.window.sync();
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        auto *entry = f.window.findChild<QLineEdit *>("EdycjaParametru_0");
        QCOMPARE(base(entry), QColor(255, 255, 255));
        entry->selectAll();
        // A screen reader hears each verdict in words as the colour changes.
        const Listening listening;
        const QString accepted = "Opis parametru 1. Opis parametru 2. Zakres 10…100.";
        const QString rejected =
            "Wartość poza zakresem 10…100. Opis parametru 1. Opis parametru 2.";
        QCOMPARE(accessible(entry)->text(QAccessible::Description), accepted);
        const struct
        {
            const char *key;
            QColor colour;
            QString told;
        } steps[] = {{"1", QColor(255, 64, 64), rejected},
                     {"2", QColor(255, 255, 255), accepted},
                     {"0", QColor(255, 64, 64), rejected}};
        for (const auto &step : steps) {
            QTest::keyClicks(entry, QString::fromLatin1(step.key));
            QCOMPARE(base(entry), step.colour);
            QCOMPARE(accessible(entry)->text(QAccessible::Description), step.told);
        }
        QCOMPARE(entry->text(), QStringLiteral("120"));
        QCOMPARE(f.main.state().InvalidEntries, std::uint16_t(1));
        QTest::keyClick(entry, Qt::Key_Backspace);
        QCOMPARE(base(entry), QColor(255, 255, 255));
        QCOMPARE(f.main.state().InvalidEntries, std::uint16_t(0));
    }

    void optionButtonSwitchesSet()
    {
        Fixture f;
        writeFile(f.folder.pathOf("a.set"), "aktywny1=1\r\naktywny5=1\r\n");
        writeFile(f.folder.pathOf("sesja.dat"), "konfig=a.set\r\nzestaw= 1\r\n");
        f.main.load();
        f.window.sync();
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        auto *first = f.window.findChild<QLineEdit *>("EdycjaParametru_0");
        auto *fifth = f.window.findChild<QLineEdit *>("EdycjaParametru_4");
        QVERIFY(first->isVisible() && !fifth->isVisible());
        QTest::mouseClick(f.window.findChild<QRadioButton *>("OptionZestaw2"), Qt::LeftButton);
        QCOMPARE(f.main.state().ActiveSet, std::int16_t(2));
        QVERIFY(!first->isVisible() && fifth->isVisible());
        QCOMPARE(fifth->geometry(), first->geometry());
    }

    void captionsArePlainText_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("caption");
        QTest::newRow("tags in a name") << "nazwa1"
                                        << "NazwaParametru_0"
                                        << "<i>Cisnienie</i>";
        QTest::newRow("an entity in a description") << "opisgora1"
                                                    << "OpisParametru1_0"
                                                    << "a &amp; b";
        QTest::newRow("a line break tag") << "opisdol1"
                                          << "OpisParametru2_0"
                                          << "x<br>y";
        QTest::newRow("the heading") << "tytul"
                                     << "lModel"
                                     << "<b>MODEL</b> &lt;1&gt;";
        // A caption's "&" is no shortcut key: shown, and the caption left unlinked.
        QTest::newRow("an ampersand in a name") << "nazwa1"
                                                << "NazwaParametru_0"
                                                << "Temp. & wilg. &x:";
    }
    void captionsArePlainText()
    {
        QFETCH(QString, key);
        QFETCH(QString, control);
        QFETCH(QString, caption);
        Fixture f;
        startWith(f, "aktywny1=1\r\n" + (key + "=" + caption).toStdString() + "\r\n");
        auto *label = tst_MainWindow::control<QLabel>(f, control);
        QCOMPARE(label->text(), caption);
        QCOMPARE(label->textFormat(), Qt::PlainText);
        // Shown as typed: markup would be narrower than its own source text.
        QVERIFY(label->sizeHint().width() >= label->fontMetrics().horizontalAdvance(caption));
        if (control.startsWith("NazwaParametru")) {
            QWidget *entry = tst_MainWindow::control<QWidget>(f, "EdycjaParametru_0");
            QCOMPARE(label->buddy(), caption.contains('&') ? nullptr : entry);
        }
    }

    void wideCaptionsGrowToTheRight_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("designWidth");
        QTest::newRow("a short name keeps its box") << "NazwaParametru_0"
                                                    << "Czas:" << 125;
        QTest::newRow("a name wider than its box") << "NazwaParametru_0"
                                                   << "Temperatura zadana:" << 125;
        QTest::newRow("a description wider than its box") << "OpisParametru1_0"
                                                          << "w dziesiątych °C, z korektą" << 119;
        QTest::newRow("a name wider than the window")
            << "NazwaParametru_0" << QString(60, QChar('W')) << 125;
        QTest::newRow("a heading wider than the window")
            << "lModel" << QString(70, QChar('W')) << 543;
    }
    void wideCaptionsGrowToTheRight()
    {
        QFETCH(QString, control);
        QFETCH(QString, caption);
        QFETCH(int, designWidth);
        Fixture f;
        const char *key = control == "lModel"             ? "tytul"
                          : control == "OpisParametru1_0" ? "opisgora1"
                                                          : "nazwa1";
        startWith(f, "aktywny1=1\r\n" + std::string(key) + "=" + caption.toStdString() + "\r\n");
        auto *label = tst_MainWindow::control<QLabel>(f, control);
        const int needed = label->sizeHint().width();
        const int room = f.window.width() - label->x();
        QCOMPARE(label->width(), std::clamp(needed, designWidth, std::max(designWidth, room)));
        QVERIFY(label->geometry().right() < f.window.width());
    }

    void focusStartsAtTheFirstControlThatTakesIt_data()
    {
        QTest::addColumn<std::string>("description");
        QTest::addColumn<QString>("focused");
        QTest::newRow("no slot in use: the port list") << std::string() << "NumerPortu";
        QTest::newRow("slot 1 in use")
            << std::string("aktywny1=1\r\naktywny2=1\r\n") << "EdycjaParametru_0";
        QTest::newRow("only slot 3 in use")
            << std::string("aktywny3=1\r\naktywny5=1\r\n") << "EdycjaParametru_2";
    }
    void focusStartsAtTheFirstControlThatTakesIt()
    {
        QFETCH(std::string, description);
        QFETCH(QString, focused);
        Fixture f;
        startWith(f, description);
        QVERIFY(QApplication::focusWidget());
        QCOMPARE(QApplication::focusWidget()->objectName(), focused);
    }

    void setSwitchMovesAHiddenFocus_data()
    {
        QTest::addColumn<QString>("focusedBefore");
        QTest::addColumn<QString>("focusedAfter");
        QTest::newRow("an entry of set 1 is hidden") << "EdycjaParametru_1"
                                                     << "EdycjaParametru_4";
        QTest::newRow("a list stays shown") << "Predkosc"
                                            << "Predkosc";
    }
    void setSwitchMovesAHiddenFocus()
    {
        QFETCH(QString, focusedBefore);
        QFETCH(QString, focusedAfter);
        Fixture f;
        startWith(f, "aktywny1=1\r\naktywny2=1\r\naktywny5=1\r\n");
        control<QWidget>(f, focusedBefore)->setFocus();
        // A value file loaded from the dialog switches the set, not a click in this window.
        f.main.clickOption(2);
        f.window.sync();
        QCOMPARE(QApplication::focusWidget()->objectName(), focusedAfter);
    }

    void enterClicksTheFocusedButton_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("Enter on KONFIGURACJA")
            << "PrzyciskWybor" << int(Qt::Key_Return) << Qt::KeyboardModifiers();
        QTest::newRow("keypad Enter on KONFIGURACJA")
            << "PrzyciskWybor" << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier);
        QTest::newRow("Space on KONFIGURACJA")
            << "PrzyciskWybor" << int(Qt::Key_Space) << Qt::KeyboardModifiers();
        QTest::newRow("Enter on ODCZYT/ZAPIS SESJI")
            << "Command1" << int(Qt::Key_Return) << Qt::KeyboardModifiers();
    }
    void enterClicksTheFocusedButton()
    {
        QFETCH(QString, button);
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        Fixture f;
        startWith(f, "aktywny1=1\r\n");
        auto *widget = control<QPushButton>(f, button);
        widget->setFocus();
        QTest::keyClick(widget, Qt::Key(key), modifiers);
        const bool chooser = button == "PrzyciskWybor";
        QCOMPARE(f.main.chooser().isOpen(), chooser);
        QCOMPARE(f.main.valueFiles().isOpen(), !chooser);
    }

    void focusIsSeenOnEveryControl_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QPoint>("ring");
        // A point of the ring, in the control's own pixels: inside a framed control, at the
        // edge of an option button, whose background is the window's blue.
        const int framed = FocusStyle::kFramedInset;
        QTest::newRow("entry") << "EdycjaParametru_0" << QPoint(36, framed);
        QTest::newRow("port list") << "NumerPortu" << QPoint(22, framed);
        QTest::newRow("line settings list") << "Predkosc" << QPoint(80, framed);
        QTest::newRow("button") << "PrzyciskOdczyt" << QPoint(75, framed);
        QTest::newRow("narrow button") << "PrzyciskWyjscie" << QPoint(37, framed + 1);
        QTest::newRow("option button") << "OptionZestaw2" << QPoint(28, 0);
    }
    void focusIsSeenOnEveryControl()
    {
        QFETCH(QString, control);
        QFETCH(QPoint, ring);
        Fixture f;
        startWith(f, "aktywny1=1\r\n");
        auto *widget = tst_MainWindow::control<QWidget>(f, control);
        const QString elsewhere = control == "EdycjaParametru_0" ? "Predkosc" : "EdycjaParametru_0";
        tst_MainWindow::control<QWidget>(f, elsewhere)->setFocus();
        const QColor without = pixelAt(widget->grab(), ring);
        widget->setFocus(Qt::TabFocusReason);
        QVERIFY(widget->hasFocus());
        const QColor with = pixelAt(widget->grab(), ring);
        QVERIFY2(contrast(with, without) >= 3.0,
                 qPrintable(QStringLiteral("%1 on %2: %3:1")
                                .arg(with.name(), without.name())
                                .arg(contrast(with, without), 0, 'f', 2)));
    }

    void colours()
    {
        Fixture f;
        startWith(f, "aktywny1=1\r\n");
        const QPalette toolkit = QApplication::palette();
        auto *model = control<QLabel>(f, "lModel");
        QCOMPARE(model->palette().color(QPalette::Window), toolkit.color(QPalette::Window));
        QCOMPARE(model->palette().color(QPalette::WindowText), toolkit.color(QPalette::WindowText));
        QVERIFY(model->autoFillBackground());
        for (const char *name : {"NumerPortu", "Predkosc"}) {
            auto *list = control<QComboBox>(f, name);
            // The face of a list without typing, away from its frame and arrow: white but for
            // the style's faint gradient (the toolkit's grey face is 239).
            const QColor face = list->grab().toImage().pixelColor(6, list->height() / 2);
#ifdef Q_OS_WIN
            QEXPECT_FAIL("", "the Windows style draws a list without typing in its theme's face",
                         Continue);
#endif
            QVERIFY2(std::min({face.red(), face.green(), face.blue()}) >= 250,
                     qPrintable(face.name()));
        }
    }

    void messagesBelongToTheDialogAtWork_data()
    {
        QTest::addColumn<int>("how");
        QTest::addColumn<QString>("owner");
        QTest::addColumn<QString>("focusedAfter");
        QTest::newRow("USUŃ with a name that is not there") << 0 << "Zapis"
                                                            << "ZapisUsun";
        QTest::newRow("ZAPIS DANYCH without a port") << 1 << "MF"
                                                     << "PrzyciskZapisz";
        QTest::newRow("Enter on ZAPIS DANYCH") << 2 << "MF"
                                               << "PrzyciskZapisz";
        // As an exchange's outcome comes: the main window's, while the user types elsewhere.
        QTest::newRow("a message while the name box has the keyboard") << 3 << "MF"
                                                                       << "EditPlikZapisu";
    }
    void messagesBelongToTheDialogAtWork()
    {
        QFETCH(int, how);
        QFETCH(QString, owner);
        QFETCH(QString, focusedAfter);
        BasicFixture<QtPlatform> f;
        MainWindow &window = f.window;
        writeFile(f.folder.pathOf("a.set"), "aktywny1=1\r\n");
        writeFile(f.folder.pathOf("sesja.dat"), "konfig=a.set\r\nzestaw= 1\r\n");
        f.platform.setMessageParent([&window] { return window.messageParent(); });
        f.main.load();
        window.sync();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseClick(window.findChild<QPushButton *>("Command1"), Qt::LeftButton);
        auto *dialog = QApplication::topLevelWidgets().at(0);
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (top->objectName() == "Zapis")
                dialog = top;
        }
        QCOMPARE(dialog->objectName(), QStringLiteral("Zapis"));
        QApplication::setActiveWindow(dialog);
        QVERIFY(QTest::qWaitForWindowActive(dialog));

        // A desktop whose theme puts icons on dialog buttons.
        struct IconTheme : QProxyStyle
        {
            int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                          QStyleHintReturn *data) const override
            {
                return hint == SH_DialogButtonBox_ButtonsHaveIcons
                           ? 1
                           : QProxyStyle::styleHint(hint, option, widget, data);
            }
        };
        const QString toolkitStyle = QApplication::style()->name();
        QApplication::setStyle(new IconTheme);
        const auto restore =
            qScopeGuard([&] { QApplication::setStyle(QStyleFactory::create(toolkitStyle)); });

        QWidget *parent = nullptr;
        QString text;
        QFont textFont;
        bool okIcon = true;
        QAccessible::Role role = QAccessible::NoRole;
        QString told;
        // Armed just before the message: waiting for a window runs the event loop too.
        const auto answer = [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            parent = box->parentWidget();
            text = box->text();
            textFont = box->findChild<QLabel *>("qt_msgbox_label")->font();
            okIcon = !box->button(QMessageBox::Ok)->icon().isNull();
            role = accessible(box)->role();
            told = accessible(box)->text(QAccessible::Description);
            box->accept();
        };
        auto *name = dialog->findChild<QLineEdit *>("EditPlikZapisu");
        auto *write = window.findChild<QPushButton *>("PrzyciskZapisz");
        if (how == 1 || how == 2) {
            QApplication::setActiveWindow(&window);
            QVERIFY(QTest::qWaitForWindowActive(&window));
        }
        switch (how) {
        case 0:
            QTest::keyClicks(name, "brak");
            QTimer::singleShot(0, &window, answer);
            QTest::mouseClick(dialog->findChild<QPushButton *>("ZapisUsun"), Qt::LeftButton);
            break;
        case 1:
            QTimer::singleShot(0, &window, answer);
            QTest::mouseClick(write, Qt::LeftButton);
            break;
        case 2:
            write->setFocus(Qt::TabFocusReason);
            QTimer::singleShot(0, &window, answer);
            QTest::keyClick(write, Qt::Key_Return);
            break;
        case 3:
            name->setFocus(Qt::MouseFocusReason);
            QVERIFY(name->hasFocus());
            QTimer::singleShot(0, &window, answer);
            f.main.clickWrite();
            break;
        }
        QVERIFY(parent);
        QCOMPARE(parent->objectName(), owner);
        QVERIFY(!text.isEmpty());
        QCOMPARE(textFont.family(), designFont(QFont(), kButtonPoints, false).family());
        QVERIFY(!QFontInfo(textFont).fixedPitch());
        QVERIFY(!okIcon);
        // Announced as an alert with its text.
        QCOMPARE(role, QAccessible::AlertMessage);
        QCOMPARE(told, text);
        QVERIFY(dialog->isVisible());
        // The keyboard is back where it was.
        QTRY_VERIFY(QApplication::focusWidget());
        QCOMPARE(QApplication::focusWidget()->objectName(), focusedAfter);
        QTRY_COMPARE(QApplication::activeWindow(), QApplication::focusWidget()->window());
    }

    void accessibleTexts_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");   // the control's own, as set
        QTest::addColumn<QString>("spoken"); // what the toolkit tells a screen reader
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("caption"); // the label linked to it
        QTest::newRow("an entry") << "EdycjaParametru_0"
                                  << "Ciśnienie"
                                  << "Ciśnienie"
                                  << "w barach. zakres 0 ... 10. Zakres 0…10."
                                  << "Ciśnienie:";
        QTest::newRow("an entry of the hidden set")
            << "EdycjaParametru_4"
            << "Nazwa parametru"
            << "Nazwa parametru"
            << "Wartość nie jest liczbą. Opis parametru 1. Opis parametru 2. Zakres 0…0."
            << "Nazwa parametru:";
        // On Unix the toolkit names a list box by its chosen entry, as screen readers there
        // expect, and the caption comes by the link; on Windows the name is the caption's.
#ifdef Q_OS_UNIX
        const bool namedByEntry = true;
#else
        const bool namedByEntry = false;
#endif
        QTest::newRow("the port list")
            << "NumerPortu"
            << "Nr portu szeregowego" << (namedByEntry ? "2" : "Nr portu szeregowego")
            << "Port dostępny."
            << "Nr portu szeregowego:";
        QTest::newRow("the line settings")
            << "Predkosc"
            << "Parametry transmisji RS232"
            << (namedByEntry ? "9600,n,8,1" : "Parametry transmisji RS232")
            << "Prędkość, parzystość, bity danych, bity stopu."
            << "Parametry transmisji RS232:";
        QTest::newRow("an option button") << "OptionZestaw2"
                                          << ""
                                          << "5 - 8"
                                          << "Pokazuje parametry 5–8."
                                          << "";
    }
    void accessibleTexts()
    {
        QFETCH(QString, control);
        QFETCH(QString, name);
        QFETCH(QString, spoken);
        QFETCH(QString, description);
        QFETCH(QString, caption);
        Fixture f;
        writeFile(f.folder.pathOf("a.set"),
                  "nazwa1=Ci\x9cnienie:\r\nopisgora1=w barach\r\nopisdol1=zakres 0 ... 10\r\n"
                  "zakresmax1=10\r\naktywny1=1\r\naktywny5=1\r\n"
                  "dodajport=1\r\ndodajport=2\r\ndodajparam=9600,n,8,1\r\n");
        writeFile(f.folder.pathOf("sesja.dat"),
                  "konfig=a.set\r\nparametr5=x\r\nwybor1=1\r\nwybor2=0\r\nzestaw= 1\r\n");
        f.main.load();
        f.window.sync();
        const Listening listening;
        auto *widget = tst_MainWindow::control<QWidget>(f, control);
        QAccessibleInterface *interface = accessible(widget);
        QCOMPARE(widget->accessibleName(), name);
        QCOMPARE(interface->text(QAccessible::Name), spoken);
        QCOMPARE(interface->text(QAccessible::Description), description);
        QCOMPARE(captionOf(interface), caption);
        // A list box's popup list is named as the list box.
        if (auto *list = qobject_cast<QComboBox *>(widget))
            QCOMPARE(accessible(list->view())->text(QAccessible::Name), name);
    }

    void portStateIsToldOnlyWhileAReaderListens()
    {
        Fixture f;
        f.port.opens = false;
        startWith(f, "dodajport=1\r\ndodajport=2\r\n");
        auto *ports = control<QComboBox>(f, "NumerPortu");
        const int &listings = f.port.portSystem.adapterListings;
        // Nobody listens: the note, which lists the adapters, is not composed.
        QCOMPARE(listings, 0);
        QCOMPARE(accessible(ports)->text(QAccessible::Description), QString());
        {
            const Listening listening;
            QCOMPARE(accessible(ports)->text(QAccessible::Description),
                     "Port niedostępny! Port 1: /dev/ttyS0");
            QVERIFY(listings > 0);
            f.port.opens = true;
            QTest::keyClick(ports, Qt::Key_Down);
            QCOMPARE(f.main.ports().selected, 1);
            QCOMPARE(accessible(ports)->text(QAccessible::Description), "Port dostępny.");
            f.port.opens = false;
            f.port.folderEntries.insert(1);
            f.port.portSystem.links["/praca/COM1"] = "/dev/serial/by-id/usb-FTDI";
            QTest::keyClick(ports, Qt::Key_Up);
            QCOMPARE(accessible(ports)->text(QAccessible::Description),
                     "Port niedostępny! Port 1: COM1 → /dev/serial/by-id/usb-FTDI");
        }
        const int composed = listings;
        QTest::keyClick(ports, Qt::Key_Down);
        QCOMPARE(f.main.ports().selected, 1);
        QCOMPARE(listings, composed);
    }

    void windowIsAWindow()
    {
        Fixture f;
        startWith(f, "aktywny1=1\r\n");
        QAccessibleInterface *window = accessible(&f.window);
        QCOMPARE(window->role(), QAccessible::Window);
        QCOMPARE(window->text(QAccessible::Name), "Dravix - a.set");
    }

    void keysWorkTheListsAndTheSets_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("port");
        QTest::addColumn<int>("lineSettings");
        QTest::addColumn<int>("set");
        QTest::newRow("Down on the port list") << "NumerPortu" << int(Qt::Key_Down) << 1 << 0 << 1;
        QTest::newRow("Down on the line settings")
            << "Predkosc" << int(Qt::Key_Down) << 0 << 1 << 1;
        QTest::newRow("Right on 1 - 4") << "OptionZestaw1" << int(Qt::Key_Right) << 0 << 0 << 2;
        QTest::newRow("Space on 5 - 8") << "OptionZestaw2" << int(Qt::Key_Space) << 0 << 0 << 2;
    }
    void keysWorkTheListsAndTheSets()
    {
        QFETCH(QString, control);
        QFETCH(int, key);
        QFETCH(int, port);
        QFETCH(int, lineSettings);
        QFETCH(int, set);
        Fixture f;
        startWith(f, "aktywny1=1\r\naktywny5=1\r\ndodajport=1\r\ndodajport=2\r\ndodajport=3\r\n"
                     "dodajparam=9600,n,8,1\r\ndodajparam=19200,n,8,1\r\n");
        f.main.chooseLineSettings(0);
        f.window.sync();
        const std::size_t tests = f.port.openedNumbers.size();
        auto *widget = tst_MainWindow::control<QWidget>(f, control);
        widget->setFocus(Qt::TabFocusReason);
        QTest::keyClick(widget, Qt::Key(key));
        QCOMPARE(f.main.ports().selected, port);
        QCOMPARE(f.main.lineSettings().selected, lineSettings);
        QCOMPARE(int(f.main.state().ActiveSet), set);
        QCOMPARE(tst_MainWindow::control<QLineEdit>(f, "EdycjaParametru_4")->isVisible(), set == 2);
        // A port chosen from the keyboard is tested as a click on it is.
        QCOMPARE(f.port.openedNumbers.size(), tests + (port != 0 ? 1 : 0));
    }

    void tabOrder()
    {
        Fixture f;
        QStringList expected;
        for (int k = 0; k < 8; ++k)
            expected << QStringLiteral("EdycjaParametru_%1").arg(k);
        expected << "NumerPortu"
                 << "Predkosc"
                 << "PrzyciskOdczyt"
                 << "PrzyciskZapisz"
                 << "PrzyciskWybor"
                 << "Command1"
                 << "PrzyciskWyjscie"
                 << "OptionZestaw1"
                 << "OptionZestaw2";
        QStringList chain;
        QWidget *w = f.window.findChild<QWidget *>(expected.first());
        for (int i = 0; i < expected.size(); ++i) {
            chain << w->objectName();
            do {
                w = w->nextInFocusChain();
            } while (!(w->focusPolicy() & Qt::TabFocus) || w->objectName().isEmpty());
        }
        QCOMPARE(chain, expected);
    }
};

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
