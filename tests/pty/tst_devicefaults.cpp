#include "outcomemessages.h"
#include "ptyrig.h"
#include "timedhost.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <memory>

using namespace Dravix;

using namespace OutcomeMessages;

namespace {

constexpr int kExchangeTimeoutMs = 5000;

const QString kValues = QStringLiteral("11,-22,333,-4444,5555,-6666,32767,-32768");
const std::array<std::string, 8> kValueTexts{"11",   "-22",   "333",   "-4444",
                                             "5555", "-6666", "32767", "-32768"};

// The outcome message stays on screen for a while; whether the port is still open behind it
// when it is dismissed is recorded.
class SlowReader : public TimedHost
{
public:
    void showMessage(const std::string &text) override
    {
        TimedHost::showMessage(text);
        if (holdMs > 0)
            QTest::qWait(holdMs);
        openWhenDismissed.push_back(port->isOpen());
    }

    const QtSerialPort *port = nullptr;
    int holdMs = 0;
    std::vector<bool> openWhenDismissed;
};

} // namespace

// A misbehaving device on the pseudo-terminal: each fault ends in its message with the port
// closed and no timer armed, and the next exchange with the then sound device succeeds.
class tst_DeviceFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        const QString reason = PtyRig<SlowReader>::unavailableReason();
        if (!reason.isEmpty())
            QSKIP(qPrintable(reason));
    }

    void init()
    {
        m_rig = std::make_unique<PtyRig<SlowReader>>();
        QVERIFY(m_rig->folder.isValid());
        m_rig->host.port = &m_rig->port;
    }
    void cleanup() { m_rig.reset(); }

    void faultThenSoundDevice_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("write");
        QTest::addColumn<int>("holdMs"); // how long the outcome message stays on screen
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("settled"); // the simulator has done its part once it has
        QTest::addColumn<int>("times");       // printed this label so many times
        QTest::addColumn<bool>("gone");       // the device went before the message was dismissed

        const QString tx = QStringLiteral("tx");
        QTest::newRow("24 noise bytes for a read")
            << QStringList{"--noise", "24"} << false << 0 << kFrameError << tx << 1 << false;
        QTest::newRow("8 noise bytes for a write")
            << QStringList{"--noise", "8"} << true << 0 << kFrameError << tx << 1 << false;
        QTest::newRow("1000 noise bytes")
            << QStringList{"--noise", "1000"} << false << 0 << kFrameError << tx << 1 << false;
        QTest::newRow("an empty reply")
            << QStringList{"--noise", "0"} << false << 0 << kNoReply << tx << 1 << false;

        QTest::newRow("read reply in 4-byte pieces over 300 ms")
            << QStringList{"--spread", "4,60"} << false << 0 << kFrameError << tx << 6 << false;
        QTest::newRow("write reply in 2-byte pieces over 240 ms")
            << QStringList{"--spread", "2,80"} << true << 0 << kFrameError << tx << 4 << false;
        QTest::newRow("read reply byte by byte within the wait")
            << QStringList{"--spread", "1,4"} << false << 0 << kReadDone << tx << 24 << false;
        QTest::newRow("noise in 5-byte pieces over 300 ms")
            << QStringList{"--noise", "30", "--spread", "5,60"} << false << 0 << kFrameError << tx
            << 6 << false;

        QTest::newRow("bytes after the port closed")
            << QStringList{"--late-bytes", "64,300"} << false << 0 << kReadDone << tx << 2 << false;
        QTest::newRow("bytes while the read's message is on screen")
            << QStringList{"--late-bytes", "64,250"} << false << 300 << kReadDone << tx << 2
            << false;
        QTest::newRow("bytes while the write's message is on screen")
            << QStringList{"--late-bytes", "24,250"} << true << 300 << kWriteDone << tx << 2
            << false;
        QTest::newRow("bytes after a cut reply, message on screen")
            << QStringList{"--cut", "20", "--late-bytes", "4,250"} << false << 300 << kFrameError
            << tx << 2 << false;

        const QString flood = QStringLiteral("flood");
        QTest::newRow("1 MB during a read's wait") << QStringList{"--flood", "1048576"} << false
                                                   << 0 << kFrameError << flood << 1 << false;
        QTest::newRow("1 MB during a write's wait")
            << QStringList{"--flood", "1048576"} << true << 0 << kFrameError << flood << 1 << false;

        // The terminal goes and a new one appears under the same COM1.
        const QString ready = QStringLiteral("ready");
        QTest::newRow("hangup while waiting for a read")
            << QStringList{"--silent", "--hangup-after", "80"} << false << 0 << kNoReply << ready
            << 2 << true;
        QTest::newRow("hangup while waiting for a write")
            << QStringList{"--silent", "--hangup-after", "80"} << true << 0 << kNoReply << ready
            << 2 << true;
        QTest::newRow("hangup after part of the reply")
            << QStringList{"--cut", "10", "--hangup-after", "80"} << false << 0 << kNoReply << ready
            << 2 << true;
        QTest::newRow("hangup while the message is on screen")
            << QStringList{"--hangup-after", "250"} << false << 300 << kReadDone << ready << 2
            << true;
    }
    void faultThenSoundDevice()
    {
        QFETCH(QStringList, options);
        QFETCH(bool, write);
        QFETCH(int, holdMs);
        QFETCH(QString, message);
        QFETCH(QString, settled);
        QFETCH(int, times);
        QFETCH(bool, gone);
        startSim(options << "--values" << kValues << "--fault-count"
                         << "1");
        m_rig->state.PortAvailable = m_rig->exchange.TestPort("1");
        QCOMPARE(m_rig->state.PortAvailable, std::int16_t(1));

        // A write sends the simulator's own values, so that either way they are what it holds.
        if (write)
            m_rig->host.entries = kValueTexts;
        else
            m_rig->host.entries.fill("7");
        m_rig->host.holdMs = holdMs;
        QCOMPARE(runExchange(write), message);
        if (!write && message != kReadDone) {
            for (const std::string &entry : m_rig->host.entries)
                QCOMPARE(entry, std::string("7"));
        }
        // A gone device is let go at once, not polled again and again until the message goes.
        QCOMPARE(m_rig->host.openWhenDismissed, std::vector<bool>{!gone});
        QVERIFY(!m_rig->port.isOpen());
        QVERIFY(!m_rig->host.anyTimerActive());

        QVERIFY2(QTest::qWaitFor([&] { return printed(settled) >= times; }, kExchangeTimeoutMs),
                 qPrintable(m_rig->sim.lines().join('\n')));
        m_rig->host.holdMs = 0;
        m_rig->host.entries.fill("7");
        QCOMPARE(runExchange(false), QString(kReadDone));
        QCOMPARE(m_rig->host.entries, kValueTexts);
        QVERIFY(!m_rig->port.isOpen());
        QVERIFY(!m_rig->host.anyTimerActive());
        QCOMPARE(m_rig->host.ended, 2);
        QCOMPARE(m_rig->state.PortAvailable, std::int16_t(1));
    }

    // Without a new terminal the link points nowhere; once the device is back under the same
    // COM1 the port test finds it again.
    void deviceBackAfterItWasGone()
    {
        startSim({"--silent"});
        QCOMPARE(m_rig->exchange.TestPort("1"), std::int16_t(1));
        m_rig->state.PortAvailable = 1;
        m_rig->exchange.StartRead();
        m_rig->sim.kill();
        QTRY_COMPARE_WITH_TIMEOUT(m_rig->host.ended, 1, kExchangeTimeoutMs);
        QCOMPARE(m_rig->host.messages, std::vector<std::string>{kNoReply});
        QCOMPARE(m_rig->exchange.TestPort("1"), std::int16_t(0));

        startSim({"--values", kValues});
        m_rig->state.PortAvailable = m_rig->exchange.TestPort("1");
        QCOMPARE(m_rig->state.PortAvailable, std::int16_t(1));
        QCOMPARE(runExchange(false), QString(kReadDone));
        QCOMPARE(m_rig->host.entries, kValueTexts);
        QVERIFY(!m_rig->port.isOpen());
        QVERIFY(!m_rig->host.anyTimerActive());
    }

private:
    void startSim(const QStringList &options)
    {
        QVERIFY2(m_rig->startSim(options), qPrintable(m_rig->sim.errors()));
    }
    // Lines that begin with the label, or carry it after their time stamp.
    int printed(const QString &label)
    {
        int count = 0;
        for (const QString &line : m_rig->sim.lines()) {
            const QStringList words = line.split(QLatin1Char(' '));
            count += words.value(0) == label || words.value(1) == label ? 1 : 0;
        }
        return count;
    }
    QString runExchange(bool write) { return m_rig->runExchange(write, kExchangeTimeoutMs); }

    std::unique_ptr<PtyRig<SlowReader>> m_rig;
};

QTEST_GUILESS_MAIN(tst_DeviceFaults)
#include "tst_devicefaults.moc"
