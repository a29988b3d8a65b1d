#include "fakeexchangehost.h"
#include "fakeserialport.h"
#include "hexbytes.h"
#include "outcomemessages.h"

#include "exchange.h"
#include "frames.h"
#include "modelstate.h"

#include <QStringList>
#include <QTest>

#include <memory>

using namespace Dravix;

using namespace OutcomeMessages;

namespace {

constexpr const char *kExampleReadReply =
    "FF FF 01 05 00 03 00 00 00 01 FF FF 00 64 01 2C FE D4 7F FF 80 00 98 51";

QStringList toStringList(const std::vector<std::string> &lines)
{
    QStringList list;
    for (const std::string &line : lines)
        list << QString::fromStdString(line);
    return list;
}

} // namespace

// The exchanges against a fake port and a fake window whose timers the test fires by hand.
class tst_Exchange : public QObject
{
    Q_OBJECT

private:
    // A read or a write, interrupted while waiting, in the event pass or with its message up.
    static void momentsOfAnExchange()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<int>("when"); // 0 waiting, 1 event pass, 2 message on screen
        for (const bool write : {false, true}) {
            const char *kind = write ? "write" : "read";
            QTest::addRow("%s, waiting", kind) << write << 0;
            QTest::addRow("%s, event pass", kind) << write << 1;
            QTest::addRow("%s, message on screen", kind) << write << 2;
        }
    }

private slots:
    void init()
    {
        m_state = ModelState{};
        m_state.DeviceCode = 0x05;
        m_state.PortNumber = 3;
        m_state.PortAvailable = 1;
        m_port = std::make_unique<FakeSerialPort>();
        m_host = std::make_unique<FakeExchangeHost>(*m_port);
        m_exchange = std::make_unique<Exchange>(m_state, *m_port, *m_host, *m_host);
    }
    void cleanup()
    {
        // Whatever a test did, the port was never used while closed and no timer outlives it.
        QCOMPARE(m_port->useWhileClosed, 0);
        if (!m_exchange->isPending()) {
            QVERIFY(!m_port->isOpen);
            QVERIFY(m_host->armed.empty());
        }
        m_exchange.reset();
        m_host.reset();
        m_port.reset();
    }

    void readOutcome_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("filled");
        const QByteArray good(kExampleReadReply);
        QTest::newRow("good") << good << kReadDone << true;
        QTest::newRow("preamble 00 00")
            << QByteArray(good).replace(0, 5, "00 00") << kReadDone << true;
        QTest::newRow("nothing") << QByteArray() << kNoReply << false;
        QTest::newRow("cut") << good.left(30) << kFrameError << false;
        QTest::newRow("stray byte") << good + " 00" << kFrameError << false;
        QTest::newRow("bad check")
            << QByteArray(good).replace("98 51", "98 52") << kFrameError << false;
        QTest::newRow("other code")
            << hexText(buildLongFrame(0x06, 0x03, {})).toLatin1() << kWrongDevice << false;
    }
    void readOutcome()
    {
        QFETCH(QByteArray, reply);
        QFETCH(QString, message);
        QFETCH(bool, filled);
        m_host->entries.fill("7");
        m_host->lineSettings = "19200,e,7,2";

        m_exchange->StartRead();
        QVERIFY(m_exchange->isPending());
        QVERIFY(m_port->isOpen);
        QCOMPARE(m_port->openedNumbers, std::vector<int>{3});
        QCOMPARE(m_port->openedSettings, std::vector<std::string>{"19200,e,7,2"});
        QCOMPARE(m_port->written.size(), std::size_t(1));
        QCOMPARE(hexText(m_port->written[0]), QStringLiteral("FF FF 01 05 00 03 51 D8"));
        QCOMPARE(toStringList(m_host->log), QStringList{"arm Timer2"});

        m_port->reply = hexBytes(reply.constData());
        m_port->late = hexBytes("5A A5");
        m_host->log.clear();
        m_exchange->CompleteRead();

        // The record of what happened on the wire, the late bytes read before the port closed.
        QCOMPARE(m_host->records.size(), std::size_t(1));
        const ExchangeRecord &record = m_host->records[0];
        QCOMPARE(record.kind, ExchangeRecord::Kind::Read);
        QCOMPARE(record.stage, ExchangeRecord::Stage::Completed);
        QCOMPARE(hexText(record.request), QStringLiteral("FF FF 01 05 00 03 51 D8"));
        QCOMPARE(hexText(joined(record.reply)), hexText(hexBytes(reply.constData())));
        QCOMPARE(hexText(joined(record.late)), QStringLiteral("5A A5"));
        QCOMPARE(record.port.settings, std::string("19200,e,7,2"));
        QCOMPARE(record.deviceCode, 0x05);
        QCOMPARE(record.outcome == ReplyOutcome::Accepted, filled);

        QStringList expected{"disarm Timer2", "events"};
        if (filled) {
            expected << "entry 0 0"
                     << "entry 1 1"
                     << "entry 2 -1"
                     << "entry 3 100"
                     << "entry 4 300"
                     << "entry 5 -300"
                     << "entry 6 32767"
                     << "entry 7 -32768";
        }
        expected << "message " + message << "ended";
        QCOMPARE(toStringList(m_host->log), expected);
        QCOMPARE(m_host->portOpenAtMessage, std::vector<bool>{true});
        QVERIFY(!m_port->isOpen);
        QVERIFY(!m_exchange->isPending());
        if (!filled) {
            for (const std::string &entry : m_host->entries)
                QCOMPARE(entry, std::string("7"));
        }
    }

    void writeOutcome_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("message");
        QTest::newRow("success") << QByteArray("FF FF 01 05 00 10 10 15") << kWriteDone;
        QTest::newRow("preamble 00 00") << QByteArray("00 00 01 05 00 10 10 15") << kWriteDone;
        QTest::newRow("nothing") << QByteArray() << kNoReply;
        QTest::newRow("cut") << QByteArray("FF FF 01 05 00") << kFrameError;
        QTest::newRow("stray byte") << QByteArray("FF FF 01 05 00 10 10 15 FF") << kFrameError;
        QTest::newRow("bad check") << QByteArray("FF FF 01 05 00 10 10 14") << kFrameError;
        QTest::newRow("other code")
            << hexText(buildShortFrame(0x04, 0x10)).toLatin1() << kWrongDevice;
        QTest::newRow("refused") << hexText(buildShortFrame(0x05, 0x90)).toLatin1()
                                 << kWriteRefused;
    }
    void writeOutcome()
    {
        QFETCH(QByteArray, reply);
        QFETCH(QString, message);
        m_host->entries = {"0", "1", "-1", "100", "300", "-300", "32767", "-32768"};

        m_exchange->StartWrite();
        QVERIFY(m_exchange->isPending());
        QCOMPARE(m_port->written.size(), std::size_t(1));
        QCOMPARE(hexText(m_port->written[0]),
                 QStringLiteral("FF FF 01 05 00 10 00 00 00 01 FF FF 00 64 01 2C FE D4 7F FF "
                                "80 00 65 64"));
        QCOMPARE(toStringList(m_host->log), QStringList{"arm Timer1"});

        m_port->reply = hexBytes(reply.constData());
        m_host->log.clear();
        m_exchange->CompleteWrite();
        QCOMPARE(toStringList(m_host->log),
                 (QStringList{"disarm Timer1", "events", "message " + message, "ended"}));
        QCOMPARE(m_host->portOpenAtMessage, std::vector<bool>{true});
        QVERIFY(!m_port->isOpen);
        QCOMPARE(m_host->records.size(), std::size_t(1));
        QCOMPARE(m_host->records[0].kind, ExchangeRecord::Kind::Write);
        QCOMPARE(m_host->records[0].request, m_port->written[0]);
        QCOMPARE(hexText(joined(m_host->records[0].reply)), hexText(hexBytes(reply.constData())));
        QVERIFY(m_host->records[0].late.empty());
    }

    void preconditions_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<int>("invalidEntries");
        QTest::addColumn<int>("portAvailable");
        QTest::addColumn<QString>("message"); // empty: the exchange starts
        QTest::addColumn<int>("stage");       // of the record of an exchange that sent nothing
        constexpr int invalid = int(ExchangeRecord::Stage::InvalidValues);
        constexpr int unavailable = int(ExchangeRecord::Stage::PortUnavailable);
        QTest::newRow("read, port not available")
            << false << 0 << 0 << kPortUnavailable << unavailable;
        QTest::newRow("read, port flag 2") << false << 0 << 2 << kPortUnavailable << unavailable;
        QTest::newRow("read ignores invalid entries") << false << 0x80 << 1 << "" << -1;
        QTest::newRow("write, invalid entries before port")
            << true << 0x01 << 0 << kInvalidValues << invalid;
        QTest::newRow("write, invalid entries, port available")
            << true << 0x10 << 1 << kInvalidValues << invalid;
        QTest::newRow("write, port not available")
            << true << 0 << 0 << kPortUnavailable << unavailable;
        QTest::newRow("write, port flag -1") << true << 0 << -1 << kPortUnavailable << unavailable;
        QTest::newRow("write starts") << true << 0 << 1 << "" << -1;
    }
    void preconditions()
    {
        QFETCH(bool, write);
        QFETCH(int, invalidEntries);
        QFETCH(int, portAvailable);
        QFETCH(QString, message);
        m_state.InvalidEntries = static_cast<std::uint16_t>(invalidEntries);
        m_state.PortAvailable = static_cast<std::int16_t>(portAvailable);

        write ? m_exchange->StartWrite() : m_exchange->StartRead();

        if (message.isEmpty()) {
            QVERIFY(m_host->messages.empty());
            QCOMPARE(m_port->written.size(), std::size_t(1));
            QCOMPARE(m_host->armed.size(), std::size_t(1));
            QVERIFY(m_exchange->isPending());
        } else {
            QCOMPARE(toStringList(m_host->messages), QStringList{message});
            QVERIFY(m_port->openedNumbers.empty());
            QVERIFY(m_port->written.empty());
            QVERIFY(m_host->armed.empty());
            QVERIFY(!m_exchange->isPending());
            QCOMPARE(m_state.PortAvailable, portAvailable);
            QCOMPARE(m_host->records.size(), std::size_t(1));
            QTEST(int(m_host->records[0].stage), "stage");
            QVERIFY(m_host->records[0].request.empty());
        }
    }

    void openFailure_data()
    {
        QTest::addColumn<bool>("write");
        QTest::newRow("read") << false;
        QTest::newRow("write") << true;
    }
    void openFailure()
    {
        QFETCH(bool, write);
        m_port->opens = false;
        m_host->portInfoVisible = false;

        write ? m_exchange->StartWrite() : m_exchange->StartRead();

        QCOMPARE(toStringList(m_host->messages), QStringList{kPortUnavailable});
        QCOMPARE(m_state.PortAvailable, 0);
        QCOMPARE(m_host->portInfoVisible, std::optional<bool>(true));
        QCOMPARE(m_host->attempts.size(), std::size_t(1));
        QCOMPARE(m_host->attempts[0].portNumber, 3);
        QVERIFY(!m_host->attempts[0].opened());
        QVERIFY(m_host->armed.empty());
        QVERIFY(m_port->written.empty());
        QVERIFY(!m_port->isOpen);
        QVERIFY(!m_exchange->isPending());
        QCOMPARE(m_host->records.size(), std::size_t(1));
        QCOMPARE(m_host->records[0].stage, ExchangeRecord::Stage::OpenFailed);
        QCOMPARE(m_host->records[0].port.path, m_host->attempts[0].path);

        // The flag now stops the next click before it touches the port.
        m_port->openedNumbers.clear();
        m_exchange->StartRead();
        QVERIFY(m_port->openedNumbers.empty());
    }

    void writeOutOfRangeIsRefused_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("32768") << "32768";
        QTest::newRow("-32769") << "-32769";
        QTest::newRow("32767.5 rounds to 32768") << "32767.5";
        QTest::newRow("1e6") << "1e6";
    }
    void writeOutOfRangeIsRefused()
    {
        QFETCH(QString, text);
        m_host->entries[4] = text.toStdString();
        m_exchange->StartWrite();
        QCOMPARE(toStringList(m_host->messages), QStringList{kInvalidValues});
        QVERIFY(m_port->openedNumbers.empty());
        QVERIFY(m_port->written.empty());
        QVERIFY(m_host->armed.empty());
        QVERIFY(!m_exchange->isPending());
    }

    void startsIgnoredWhilePending_data() { momentsOfAnExchange(); }
    void startsIgnoredWhilePending()
    {
        QFETCH(bool, write);
        QFETCH(int, when);
        const auto clickBoth = [this] {
            m_exchange->StartRead();
            m_exchange->StartWrite();
        };
        if (when == 1)
            m_host->onEvents = clickBoth;
        if (when == 2)
            m_host->onMessage = clickBoth;

        write ? m_exchange->StartWrite() : m_exchange->StartRead();
        if (when == 0)
            clickBoth();
        QCOMPARE(m_port->written.size(), std::size_t(1));
        QCOMPARE(m_port->openedNumbers.size(), std::size_t(1));
        QCOMPARE(m_host->armed.size(), std::size_t(1));

        write ? m_exchange->CompleteWrite() : m_exchange->CompleteRead();
        QCOMPARE(m_port->written.size(), std::size_t(1));
        QCOMPARE(m_host->messages.size(), std::size_t(1));
        QCOMPARE(m_host->messages[0], std::string(kNoReply));
        QVERIFY(m_host->armed.empty());
        QVERIFY(!m_port->isOpen);

        // Once the port is closed a click starts a new exchange.
        m_host->onEvents = nullptr;
        m_host->onMessage = nullptr;
        m_exchange->StartRead();
        QCOMPARE(m_port->written.size(), std::size_t(2));
        QVERIFY(m_exchange->isPending());
        m_exchange->CompleteRead();
    }

    void completionWithoutItsExchangeDoesNothing()
    {
        m_exchange->CompleteRead();
        m_exchange->CompleteWrite();
        QVERIFY(m_host->log.empty());

        m_exchange->StartRead();
        m_host->log.clear();
        m_exchange->CompleteWrite();
        QVERIFY(m_host->log.empty());
        QVERIFY(m_port->isOpen);

        // A second timer event during the completion is stale as well.
        int nested = 0;
        m_host->onEvents = [&] {
            ++nested;
            m_exchange->CompleteRead();
        };
        m_exchange->CompleteRead();
        QCOMPARE(nested, 1);
        QCOMPARE(m_host->messages.size(), std::size_t(1));
        QCOMPARE(m_host->records.size(), std::size_t(1));
    }

    void abandon_data() { momentsOfAnExchange(); }
    void abandon()
    {
        QFETCH(bool, write);
        QFETCH(int, when);
        if (when == 1)
            m_host->onEvents = [this] { m_exchange->abandon(); };
        if (when == 2)
            m_host->onMessage = [this] { m_exchange->abandon(); };

        write ? m_exchange->StartWrite() : m_exchange->StartRead();
        if (when == 0) {
            m_exchange->abandon();
            QVERIFY(m_host->armed.empty());
            QVERIFY(!m_port->isOpen);
        }
        m_port->reply = hexBytes(write ? "FF FF 01 05 00 10 10 15" : kExampleReadReply);
        write ? m_exchange->CompleteWrite() : m_exchange->CompleteRead();

        QVERIFY(!m_exchange->isPending());
        QVERIFY(m_host->armed.empty());
        QVERIFY(!m_port->isOpen);
        QVERIFY(m_host->records.empty());
        QCOMPARE(m_host->messages.size(), std::size_t(when == 2 ? 1 : 0));
    }

    void exchangeUsesCurrentLineSettings()
    {
        m_host->lineSettings = "";
        QCOMPARE(m_exchange->TestPort("3"), 1);
        m_host->lineSettings = "19200,n,8,1";
        m_exchange->StartRead();
        QCOMPARE(m_port->openedSettings, (std::vector<std::string>{"", "19200,n,8,1"}));
        m_exchange->CompleteRead();
    }

    void readFillsEntriesOutsideTheirRange()
    {
        m_state.RangeMax.fill(10);
        m_exchange->StartRead();
        m_port->reply = buildLongFrame(0x05, 0x03, {11, 12, 13, 14, 15, 16, 17, 18});
        m_exchange->CompleteRead();
        QCOMPARE(m_host->entries[7], std::string("18"));
        QCOMPARE(m_host->messages, std::vector<std::string>{kReadDone});
    }

    void testPort_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("portNumber");
        QTest::addColumn<int>("portInfo"); // -1 untouched, 0 hidden, 1 shown
        QTest::newRow("port 3 opens") << "3" << true << 1 << 3 << 0;
        QTest::newRow("port 12 with a caption") << "12 (USB)" << true << 1 << 12 << 0;
        QTest::newRow("port 2.5 rounds to even") << "2.5" << true << 1 << 2 << 0;
        QTest::newRow("port 1 in use") << "1" << false << 0 << 1 << 1;
        QTest::newRow("no selection") << "" << true << 0 << 0 << -1;
        QTest::newRow("letters first") << "COM3" << true << 0 << 0 << -1;
        QTest::newRow("zero") << "0" << true << 0 << 0 << -1;
    }
    void testPort()
    {
        QFETCH(QString, entry);
        QFETCH(bool, opens);
        QFETCH(int, portNumber);
        QFETCH(int, portInfo);
        m_port->opens = opens;
        m_state.PortNumber = 9;
        m_host->lineSettings = "4800,o,7,1";

        QTEST(int(m_exchange->TestPort(entry.toStdString())), "result");
        QCOMPARE(m_state.PortNumber, portNumber);
        QCOMPARE(m_host->portInfoVisible.has_value() ? int(*m_host->portInfoVisible) : -1,
                 portInfo);
        if (portInfo == -1) {
            QVERIFY(m_port->openedNumbers.empty());
            QVERIFY(m_host->attempts.empty());
        } else {
            QCOMPARE(m_port->openedNumbers, std::vector<int>{portNumber});
            QCOMPARE(m_port->openedSettings, std::vector<std::string>{"4800,o,7,1"});
            QCOMPARE(m_host->attempts.size(), std::size_t(1));
            QCOMPARE(m_host->attempts[0].portNumber, portNumber);
            QCOMPARE(m_host->attempts[0].opened(), opens);
        }
        QVERIFY(!m_port->isOpen);
        QVERIFY(m_host->messages.empty());
        QVERIFY(m_host->armed.empty());
    }

    void testPortLeavesAPendingExchangeAlone()
    {
        m_exchange->StartRead();
        QCOMPARE(m_exchange->TestPort("4"), 1);
        QCOMPARE(m_state.PortNumber, 3);
        QCOMPARE(m_port->openedNumbers, std::vector<int>{3});
        QVERIFY(m_port->isOpen);
        m_port->reply = hexBytes(kExampleReadReply);
        m_exchange->CompleteRead();
        QCOMPARE(m_host->messages, std::vector<std::string>{kReadDone});
    }

private:
    ModelState m_state;
    std::unique_ptr<FakeSerialPort> m_port;
    std::unique_ptr<FakeExchangeHost> m_host;
    std::unique_ptr<Exchange> m_exchange;
};

QTEST_APPLESS_MAIN(tst_Exchange)
#include "tst_exchange.moc"
