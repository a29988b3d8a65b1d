#include "fakeplatform.h"
#include "fakeserialport.h"
#include "mainwindow.h"
#include "mainwindowlogic.h"
#include "diskworkdir.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>

using namespace Dravix;

// The main window's widgets on the offscreen platform.
class TestMainWindow : public QObject
{
    Q_OBJECT

private:
    struct Fixture
    {
        explicit Fixture(const QString &folder)
            : dir(folder.toStdString())
            , logic(dir, port, platform)
            , window(logic)
        {
        }
        DiskWorkDir dir;
        FakeSerialPort port;
        FakePlatform platform;
        MainWindowLogic logic;
        MainWindow window;
    };

    static void writeFile(const QString &path, const std::string &bytes)
    {
        std::ofstream(path.toStdString(), std::ios::binary) << bytes;
    }

    static QColor base(QWidget *widget) { return widget->palette().color(QPalette::Base); }

private slots:
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
        QTemporaryDir folder;
        Fixture f(folder.path());
        f.logic.load();
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
        if (text.isValid())
            QCOMPARE(widget->palette().color(QPalette::WindowText), text);
    }

    void windowAndFirstStart()
    {
        QTemporaryDir folder;
        Fixture f(folder.path());
        f.logic.load();
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
        QTemporaryDir folder;
        writeFile(folder.filePath("a.set"),
                  "tytul=Model \xa5\r\nnazwa2=Pr\xea"
                  "dko\x9c\xe6:\r\naktywny2=1\r\n"
                  "zakresmax2=100\r\ndodajport=1\r\ndodajport=2\r\ndodajparam=9600,n,8,1\r\n");
        writeFile(folder.filePath("sesja.dat"),
                  "konfig=a.set\r\nparametr2=42\r\nwybor1=1\r\nwybor2=0\r\nzestaw= 1\r\n");
        Fixture f(folder.path());
        f.logic.load();
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
        QCOMPARE(ports->itemData(0, Qt::ToolTipRole).toString(), "port 1 opens a device");
        QCOMPARE(ports->itemData(1, Qt::ToolTipRole).toString(), "port 2 opens a device");
        QCOMPARE(ports->toolTip(), "port 2 opened");
        auto *portInfo = f.window.findChild<QLabel *>("lPortInfo");
        QCOMPARE(portInfo->toolTip(), "port 2 opened");
        f.port.opens = false;
        f.port.target = "is gone";
        f.logic.choosePort(0);
        f.window.sync();
        QVERIFY(portInfo->isVisible());
        QCOMPARE(portInfo->toolTip(), "port 1 refused");
        QCOMPARE(ports->toolTip(), "port 1 refused");
        QCOMPARE(ports->itemData(1, Qt::ToolTipRole).toString(), "port 2 is gone");
    }

    void typingColoursTheEntry()
    {
        QTemporaryDir folder;
        writeFile(folder.filePath("a.set"), "aktywny1=1\r\nzakresmin1=10\r\nzakresmax1=100\r\n");
        writeFile(folder.filePath("sesja.dat"), "konfig=a.set\r\nparametr1=50\r\nzestaw= 1\r\n");
        Fixture f(folder.path());
        f.logic.load();
        f.window.sync();
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        auto *entry = f.window.findChild<QLineEdit *>("EdycjaParametru_0");
        QCOMPARE(base(entry), QColor(255, 255, 255));
        entry->selectAll();
        const struct
        {
            const char *key;
            QColor colour;
        } steps[] = {
            {"1", QColor(255, 64, 64)}, {"2", QColor(255, 255, 255)}, {"0", QColor(255, 64, 64)}};
        for (const auto &step : steps) {
            QTest::keyClicks(entry, QString::fromLatin1(step.key));
            QCOMPARE(base(entry), step.colour);
        }
        QCOMPARE(entry->text(), QStringLiteral("120"));
        QCOMPARE(f.logic.state().InvalidEntries, std::uint16_t(1));
        QTest::keyClick(entry, Qt::Key_Backspace);
        QCOMPARE(base(entry), QColor(255, 255, 255));
        QCOMPARE(f.logic.state().InvalidEntries, std::uint16_t(0));
    }

    void optionButtonSwitchesSet()
    {
        QTemporaryDir folder;
        writeFile(folder.filePath("a.set"), "aktywny1=1\r\naktywny5=1\r\n");
        writeFile(folder.filePath("sesja.dat"), "konfig=a.set\r\nzestaw= 1\r\n");
        Fixture f(folder.path());
        f.logic.load();
        f.window.sync();
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        auto *first = f.window.findChild<QLineEdit *>("EdycjaParametru_0");
        auto *fifth = f.window.findChild<QLineEdit *>("EdycjaParametru_4");
        QVERIFY(first->isVisible() && !fifth->isVisible());
        QTest::mouseClick(f.window.findChild<QRadioButton *>("OptionZestaw2"), Qt::LeftButton);
        QCOMPARE(f.logic.state().ActiveSet, std::int16_t(2));
        QVERIFY(!first->isVisible() && fifth->isVisible());
        QCOMPARE(fifth->geometry(), first->geometry());
    }

    void tabOrder()
    {
        QTemporaryDir folder;
        Fixture f(folder.path());
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

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
