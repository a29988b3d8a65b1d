#include "scratchfolder.h"
#include "simprocess.h"

#include "mainwindow.h"
#include "mainwindowlogic.h"
#include "program.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <memory>

using namespace Dravix;

namespace {

constexpr int kTimeoutMs = 5000;

// Accepts each message box once it has been on screen for a while, as a user reading it does:
// bytes that come meanwhile are the late ones.
class MessageReader : public QObject
{
public:
    MessageReader()
    {
        m_timer.setInterval(20);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box) {
                m_box = nullptr;
                return;
            }
            if (box != m_box) {
                m_box = box;
                m_shown.start();
                texts << box->text();
            } else if (m_shown.elapsed() >= 600) {
                box->accept();
            }
        });
        m_timer.start();
    }

    QStringList texts;

private:
    QTimer m_timer;
    QMessageBox *m_box = nullptr;
    QElapsedTimer m_shown;
};

} // namespace

// The real program against dravix-sim on a pseudo-terminal: what each exchange did, on its
// button, and the port following the device behind its number.
class tst_Program : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        const int master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0)
            QSKIP("no pseudo-terminals here (posix_openpt failed)");
        ::close(master);
        if (!QFileInfo::exists(QStringLiteral(DRAVIX_SIM_PATH)))
            QSKIP("dravix-sim has not been built");
        m_folder = std::make_unique<ScratchFolder>();
        QVERIFY(m_folder->isValid());
        QVERIFY(m_folder->writeText("dev.set", "ID=05\ndodajport=57\ndodajparam=9600,n,8,1\n"
                                               "zakresmax1=1000\naktywny1=1\n"));
        QVERIFY(
            m_folder->writeText("sesja.dat", "konfig=dev.set\nwybor1=0\nwybor2=0\nzestaw= 1\n"));
    }
    void cleanup()
    {
        m_program.reset();
        m_sim.reset();
        m_folder.reset();
    }

    void exchangeVerdicts_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("write");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("says");
        QTest::newRow("read") << QStringList{"--values", "215,15,-3,1200,30,-150,0,0"} << false
                              << "Parametry odczytane poprawnie!"
                              << "Wynik: odczytano osiem wartości: 215, 15, -3, 1200, 30, "
                                 "-150, 0, 0.";
        QTest::newRow("silent") << QStringList{"--silent"} << false << "Urzadzenie nie odpowiada!"
                                << "Wynik: nic nie wróciło.";
        QTest::newRow("echo") << QStringList{"--echo", "--silent"} << false
                              << "Blad transmisji ramki!"
                              << "(echo): konwerter dwuprzewodowy (RS-485) z włączonym echem";
        QTest::newRow("delayed") << QStringList{"--delay", "350"} << false
                                 << "Urzadzenie nie odpowiada!"
                                 << "Wynik: odpowiedź przyszła za późno: pierwszy bajt po 3";
        QTest::newRow("cut") << QStringList{"--cut", "10"} << false << "Blad transmisji ramki!"
                             << "Wynik: odpowiedź urwana: przyszło 10 z 24 bajtów";
        QTest::newRow("wrong code")
            << QStringList{"--wrong-id"} << false << "Niewlasciwy kod urzadzenia!"
            << "urządzenie o kodzie 06, a opis urządzenia dev.set ma ID=05";
        QTest::newRow("refused") << QStringList{"--refuse-write"} << true
                                 << "Zapisanie parametrow do urzadzenia nie powiodlo sie!"
                                 << "bajt polecenia 0x90 zamiast 0x10";
    }
    void exchangeVerdicts()
    {
        QFETCH(QStringList, options);
        QFETCH(bool, write);
        QFETCH(QString, message);
        QFETCH(QString, says);
        startSim(options);
        startProgram();
        QVERIFY(!portInfo()->isVisible());

        MessageReader reader;
        auto *button = m_program->window().findChild<QPushButton *>(write ? "PrzyciskZapisz"
                                                                          : "PrzyciskOdczyt");
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!button->toolTip().isEmpty(), kTimeoutMs);
        QCOMPARE(reader.texts, QStringList{message});
        QVERIFY2(QString(button->toolTip()).replace('\n', ' ').contains(says),
                 qPrintable(button->toolTip()));
        QVERIFY2(button->toolTip().contains(write ? "Zapis danych, " : "Odczyt danych, "),
                 qPrintable(button->toolTip()));
    }

    void portFollowsTheLink()
    {
        if (QFileInfo::exists(QStringLiteral("/dev/ttyS56")))
            QSKIP("this machine has a /dev/ttyS56, which port 57 opens without a link");
        startProgram();
        QVERIFY(portInfo()->isVisible());

        // The simulator links COM57 to its terminal: no click, and the port is there.
        startSim({});
        QTRY_VERIFY_WITH_TIMEOUT(!portInfo()->isVisible(), kTimeoutMs);
        QCOMPARE(m_program->logic().state().PortAvailable, 1);
        QVERIFY2(m_program->logic().portInfoToolTip().starts_with(
                     "Zmiana: w folderze roboczym pojawiło się łącze COM57 → /dev/pts/"),
                 m_program->logic().portInfoToolTip().c_str());

        // It ends and removes its link: the port is gone again.
        m_sim->terminate();
        QTRY_VERIFY_WITH_TIMEOUT(portInfo()->isVisible(), kTimeoutMs);
        QCOMPARE(m_program->logic().state().PortAvailable, 0);
        QVERIFY2(m_program->logic().portInfoToolTip().starts_with(
                     "Zmiana: łącze COM57 zniknęło z folderu roboczego"),
                 m_program->logic().portInfoToolTip().c_str());
    }

private:
    void startSim(const QStringList &options)
    {
        m_sim = std::make_unique<SimProcess>();
        QVERIFY2(m_sim->start(m_folder->work(), QStringList{"--port", "57"} + options),
                 qPrintable(m_sim->errors()));
    }
    void startProgram()
    {
        m_program = std::make_unique<Program>(m_folder->workPath());
        m_program->start();
        QVERIFY(QTest::qWaitForWindowExposed(&m_program->window()));
    }
    QLabel *portInfo() { return m_program->window().findChild<QLabel *>("lPortInfo"); }

    std::unique_ptr<ScratchFolder> m_folder;
    std::unique_ptr<SimProcess> m_sim;
    std::unique_ptr<Program> m_program;
};

QTEST_MAIN(tst_Program)
#include "tst_program.moc"
