#include "exchange.h"
#include "modelstate.h"
#include "qtserialport.h"
#include "simprocess.h"
#include "timedhost.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <memory>

namespace {

constexpr const char *kReadDone = "Parametry odczytane poprawnie!";
constexpr const char *kWriteDone = "Parametry zapisane do urzadzenia";
constexpr const char *kNoReply = "Urzadzenie nie odpowiada!";
constexpr const char *kFrameError = "Blad transmisji ramki!";
constexpr const char *kWrongDevice = "Niewlasciwy kod urzadzenia!";
constexpr const char *kWriteRefused = "Zapisanie parametrow do urzadzenia nie powiodlo sie!";

constexpr int kExchangeTimeoutMs = 3000;

} // namespace

// The real serial port and the exchanges against dravix-sim on a pseudo-terminal.
class TestEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        const int master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0)
            QSKIP("no pseudo-terminals here (posix_openpt failed)");
        ::close(master);
        if (!QFileInfo::exists(QStringLiteral(DRAVIX_SIM_PATH)))
            QSKIP("dravix-sim has not been built");
    }

    void init()
    {
        m_previousDir = QDir::currentPath();
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QVERIFY(QDir::setCurrent(m_dir->path()));
        m_state = ModelState{};
        m_state.DeviceCode = 0x05;
        m_host = std::make_unique<TimedHost>();
        m_port = std::make_unique<QtSerialPort>(m_dir->path().toStdString());
        m_exchange = std::make_unique<Exchange>(m_state, *m_port, *m_host);
        m_host->attach(*m_exchange);
        m_sim = std::make_unique<SimProcess>();
    }
    void cleanup()
    {
        m_exchange->abandon();
        m_sim.reset();
        m_exchange.reset();
        m_port.reset();
        m_host.reset();
        QDir::setCurrent(m_previousDir);
        m_dir.reset();
    }

    void portTest()
    {
        startSim({});
        QCOMPARE(m_exchange->TestPort("1"), 1);
        QCOMPARE(m_host->portInfoVisible, std::optional<bool>(false));
        QVERIFY(!m_port->isOpen());

        m_host->lineSettings = "9600,n,9,1";
        QCOMPARE(m_exchange->TestPort("1"), 0);
        QCOMPARE(m_host->portInfoVisible, std::optional<bool>(true));
        QVERIFY(!m_port->isOpen());

        m_host->lineSettings = "19200,N,8,1";
        QCOMPARE(m_exchange->TestPort("1"), 1);
        QCOMPARE(m_host->portInfoVisible, std::optional<bool>(false));

        if (!QFileInfo::exists(QStringLiteral("/dev/ttyS1"))) {
            // No COM2 entry here and no /dev/ttyS1 behind it.
            QCOMPARE(m_exchange->TestPort("2"), 0);
            QCOMPARE(m_host->portInfoVisible, std::optional<bool>(true));
        }
    }

    void readFillsEntries()
    {
        startSim({"--values", "1,-1,300,-300,32767,-32768,0,42"});
        QVERIFY(portReady());
        QCOMPARE(runRead(), QString(kReadDone));
        const std::array<std::string, 8> expected{"1",     "-1",     "300", "-300",
                                                  "32767", "-32768", "0",   "42"};
        QCOMPARE(m_host->entries, expected);
        QCOMPARE(m_sim->frames("rx"), QStringList{"FF FF 01 05 00 03 51 D8"});
        QVERIFY(!m_port->isOpen());
        QVERIFY(!m_host->anyTimerActive());
    }

    void writeSendsTheFrame()
    {
        startSim({});
        QVERIFY(portReady());
        m_host->entries = {"0", "1", "-1", "100", "300", "-300", "32767", "-32768"};
        QCOMPARE(runWrite(), QString(kWriteDone));
        QCOMPARE(m_sim->frames("rx"),
                 QStringList{"FF FF 01 05 00 10 00 00 00 01 FF FF 00 64 01 2C FE D4 7F FF 80 00 "
                             "65 64"});
        QVERIFY(!m_port->isOpen());

        m_host->entries.fill("9");
        QCOMPARE(runRead(), QString(kReadDone));
        const std::array<std::string, 8> expected{"0",   "1",    "-1",    "100",
                                                  "300", "-300", "32767", "-32768"};
        QCOMPARE(m_host->entries, expected);
    }

    void faults_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("write");
        QTest::addColumn<QString>("message");
        QTest::newRow("silent read") << QStringList{"--silent"} << false << kNoReply;
        QTest::newRow("silent write") << QStringList{"--silent"} << true << kNoReply;
        QTest::newRow("wrong id") << QStringList{"--wrong-id"} << false << kWrongDevice;
        QTest::newRow("bad crc") << QStringList{"--bad-crc"} << true << kFrameError;
        QTest::newRow("cut") << QStringList{"--cut", "10"} << false << kFrameError;
        QTest::newRow("stray byte") << QStringList{"--stray"} << false << kFrameError;
        QTest::newRow("late reply") << QStringList{"--delay", "300"} << false << kNoReply;
        QTest::newRow("refused write") << QStringList{"--refuse-write"} << true << kWriteRefused;
        QTest::newRow("preamble 00 00 read") << QStringList{"--preamble00"} << false << kReadDone;
        QTest::newRow("preamble 00 00 write") << QStringList{"--preamble00"} << true << kWriteDone;
    }
    void faults()
    {
        QFETCH(QStringList, options);
        QFETCH(bool, write);
        QFETCH(QString, message);
        startSim(options);
        QVERIFY(portReady());
        m_host->entries.fill("7");
        QCOMPARE(write ? runWrite() : runRead(), message);
        if (!write && message != kReadDone) {
            for (const std::string &entry : m_host->entries)
                QCOMPARE(entry, std::string("7"));
        }
        QVERIFY(!m_port->isOpen());
        QVERIFY(!m_host->anyTimerActive());
    }

    void restOfACutReplyIsDropped()
    {
        startSim({"--cut", "10", "--rest-after", "300", "--fault-count", "1"});
        QVERIFY(portReady());
        QCOMPARE(runRead(), QString(kFrameError));
        // The rest reaches the terminal while the port is closed.
        QTRY_COMPARE_WITH_TIMEOUT(m_sim->frames("tx").size(), 2, 2000);
        QTest::qWait(50);
        QCOMPARE(runRead(), QString(kReadDone));
        QCOMPARE(m_host->entries[7], std::string("800"));
    }

    void simulatorKilledDuringAnExchange()
    {
        startSim({"--delay", "150"});
        QVERIFY(portReady());
        m_exchange->StartRead();
        QVERIFY(m_exchange->isPending());
        QTest::qWait(50);
        m_sim->kill();
        QTRY_COMPARE_WITH_TIMEOUT(m_host->ended, 1, kExchangeTimeoutMs);
        QCOMPARE(m_host->messages, std::vector<std::string>{kNoReply});
        QVERIFY(!m_port->isOpen());

        // The link now points nowhere: the port counts as gone. (Unless another process on
        // the machine has just been given the same terminal number.)
        if (QFileInfo::exists(QDir::current().filePath("COM1")))
            QSKIP("the terminal number was reused by another process");
        QCOMPARE(m_exchange->TestPort("1"), 0);
        QCOMPARE(m_host->portInfoVisible, std::optional<bool>(true));
    }

    void simulatorKilledWhileWaitingForAWrite()
    {
        startSim({"--silent"});
        QVERIFY(portReady());
        m_exchange->StartWrite();
        m_sim->kill();
        QTRY_COMPARE_WITH_TIMEOUT(m_host->ended, 1, kExchangeTimeoutMs);
        QCOMPARE(m_host->messages, std::vector<std::string>{kNoReply});
        QVERIFY(!m_port->isOpen());
    }

    void simulatorRemovesItsLink()
    {
        startSim({"--port", "3"});
        QVERIFY(QFileInfo(QDir::current().filePath("COM3")).isSymLink());
        m_sim->terminate();
        QCOMPARE(m_sim->process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_sim->process().exitCode(), 0);
        QVERIFY(!QFileInfo(QDir::current().filePath("COM3")).isSymLink());
    }

private:
    void startSim(const QStringList &options)
    {
        QVERIFY2(m_sim->start(m_dir->path(), options), qPrintable(m_sim->errors()));
    }
    bool portReady()
    {
        m_state.PortAvailable = m_exchange->TestPort("1");
        return m_state.PortAvailable == 1;
    }
    QString runExchange(bool write)
    {
        const int before = m_host->ended;
        m_host->messages.clear();
        write ? m_exchange->StartWrite() : m_exchange->StartRead();
        if (!QTest::qWaitFor([&] { return m_host->ended > before; }, kExchangeTimeoutMs))
            return QStringLiteral("no end of the exchange");
        return m_host->messages.size() == 1
                   ? QString::fromStdString(m_host->messages[0])
                   : QStringLiteral("%1 messages").arg(m_host->messages.size());
    }
    QString runRead() { return runExchange(false); }
    QString runWrite() { return runExchange(true); }

    QString m_previousDir;
    std::unique_ptr<QTemporaryDir> m_dir;
    ModelState m_state;
    std::unique_ptr<TimedHost> m_host;
    std::unique_ptr<QtSerialPort> m_port;
    std::unique_ptr<Exchange> m_exchange;
    std::unique_ptr<SimProcess> m_sim;
};

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_e2e.moc"
