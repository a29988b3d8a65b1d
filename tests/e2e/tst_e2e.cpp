#include "outcomemessages.h"
#include "ptyrig.h"
#include "timedhost.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Dravix;

using namespace OutcomeMessages;

namespace {

constexpr int kExchangeTimeoutMs = 3000;

} // namespace

// The real serial port and the exchanges against dravix-sim on a pseudo-terminal.
class TestEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        const QString reason = PtyRig<TimedHost>::unavailableReason();
        if (!reason.isEmpty())
            QSKIP(qPrintable(reason));
    }

    void init()
    {
        m_rig = std::make_unique<PtyRig<TimedHost>>();
        QVERIFY(m_rig->folder.isValid());
    }
    void cleanup() { m_rig.reset(); }

    void portTest()
    {
        startSim({});
        QCOMPARE(m_rig->exchange.TestPort("1"), 1);
        QCOMPARE(m_rig->host.portInfoVisible, std::optional<bool>(false));
        QVERIFY(!m_rig->port.isOpen());

        m_rig->host.lineSettings = "9600,n,9,1";
        QCOMPARE(m_rig->exchange.TestPort("1"), 0);
        QCOMPARE(m_rig->host.portInfoVisible, std::optional<bool>(true));
        QVERIFY(!m_rig->port.isOpen());

        m_rig->host.lineSettings = "19200,N,8,1";
        QCOMPARE(m_rig->exchange.TestPort("1"), 1);
        QCOMPARE(m_rig->host.portInfoVisible, std::optional<bool>(false));

        if (!QFileInfo::exists(QStringLiteral("/dev/ttyS1"))) {
            // No COM2 entry here and no /dev/ttyS1 behind it.
            QCOMPARE(m_rig->exchange.TestPort("2"), 0);
            QCOMPARE(m_rig->host.portInfoVisible, std::optional<bool>(true));
        }
    }

    void readFillsEntries()
    {
        startSim({"--values", "1,-1,300,-300,32767,-32768,0,42"});
        QVERIFY(portReady());
        QCOMPARE(runRead(), QString(kReadDone));
        const std::array<std::string, 8> expected{"1",     "-1",     "300", "-300",
                                                  "32767", "-32768", "0",   "42"};
        QCOMPARE(m_rig->host.entries, expected);
        QCOMPARE(m_rig->sim.frames("rx"), QStringList{"FF FF 01 05 00 03 51 D8"});
        QVERIFY(!m_rig->port.isOpen());
        QVERIFY(!m_rig->host.anyTimerActive());
    }

    void writeSendsTheFrame()
    {
        startSim({});
        QVERIFY(portReady());
        m_rig->host.entries = {"0", "1", "-1", "100", "300", "-300", "32767", "-32768"};
        QCOMPARE(runWrite(), QString(kWriteDone));
        QCOMPARE(m_rig->sim.frames("rx"),
                 QStringList{"FF FF 01 05 00 10 00 00 00 01 FF FF 00 64 01 2C FE D4 7F FF 80 00 "
                             "65 64"});
        QVERIFY(!m_rig->port.isOpen());

        m_rig->host.entries.fill("9");
        QCOMPARE(runRead(), QString(kReadDone));
        const std::array<std::string, 8> expected{"0",   "1",    "-1",    "100",
                                                  "300", "-300", "32767", "-32768"};
        QCOMPARE(m_rig->host.entries, expected);
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
        m_rig->host.entries.fill("7");
        QCOMPARE(write ? runWrite() : runRead(), message);
        if (!write && message != kReadDone) {
            for (const std::string &entry : m_rig->host.entries)
                QCOMPARE(entry, std::string("7"));
        }
        QVERIFY(!m_rig->port.isOpen());
        QVERIFY(!m_rig->host.anyTimerActive());
    }

    void restOfACutReplyIsDropped()
    {
        startSim({"--cut", "10", "--rest-after", "300", "--fault-count", "1"});
        QVERIFY(portReady());
        QCOMPARE(runRead(), QString(kFrameError));
        // The rest reaches the terminal while the port is closed.
        QTRY_COMPARE_WITH_TIMEOUT(m_rig->sim.frames("tx").size(), 2, 2000);
        QTest::qWait(50);
        QCOMPARE(runRead(), QString(kReadDone));
        QCOMPARE(m_rig->host.entries[7], std::string("800"));
    }

    void simulatorKilledDuringAnExchange()
    {
        startSim({"--delay", "150"});
        QVERIFY(portReady());
        m_rig->exchange.StartRead();
        QVERIFY(m_rig->exchange.isPending());
        QTest::qWait(50);
        m_rig->sim.kill();
        QTRY_COMPARE_WITH_TIMEOUT(m_rig->host.ended, 1, kExchangeTimeoutMs);
        QCOMPARE(m_rig->host.messages, std::vector<std::string>{kNoReply});
        QVERIFY(!m_rig->port.isOpen());

        // The link now points nowhere: the port counts as gone. (Unless another process on
        // the machine has just been given the same terminal number.)
        if (QFileInfo::exists(QDir::current().filePath("COM1")))
            QSKIP("the terminal number was reused by another process");
        QCOMPARE(m_rig->exchange.TestPort("1"), 0);
        QCOMPARE(m_rig->host.portInfoVisible, std::optional<bool>(true));
    }

    void simulatorKilledWhileWaitingForAWrite()
    {
        startSim({"--silent"});
        QVERIFY(portReady());
        m_rig->exchange.StartWrite();
        m_rig->sim.kill();
        QTRY_COMPARE_WITH_TIMEOUT(m_rig->host.ended, 1, kExchangeTimeoutMs);
        QCOMPARE(m_rig->host.messages, std::vector<std::string>{kNoReply});
        QVERIFY(!m_rig->port.isOpen());
    }

    void simulatorRemovesItsLink()
    {
        startSim({"--port", "3"});
        QVERIFY(QFileInfo(QDir::current().filePath("COM3")).isSymLink());
        m_rig->sim.terminate();
        QCOMPARE(m_rig->sim.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_rig->sim.process().exitCode(), 0);
        QVERIFY(!QFileInfo(QDir::current().filePath("COM3")).isSymLink());
    }

private:
    void startSim(const QStringList &options)
    {
        QVERIFY2(m_rig->startSim(options), qPrintable(m_rig->sim.errors()));
    }
    bool portReady() { return m_rig->portReady(); }
    QString runExchange(bool write) { return m_rig->runExchange(write, kExchangeTimeoutMs); }
    QString runRead() { return runExchange(false); }
    QString runWrite() { return runExchange(true); }

    std::unique_ptr<PtyRig<TimedHost>> m_rig;
};

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_e2e.moc"
