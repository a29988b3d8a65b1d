#include "hexbytes.h"

#include "frames.h"
#include "requestscanner.h"
#include "simdevice.h"
#include "simoptions.h"

#include <QTest>

using namespace Dravix;

namespace {

constexpr const char *kRead = "FF FF 01 05 00 03 51 D8";
constexpr const char *kWrite =
    "FF FF 01 05 00 10 00 00 00 01 FF FF 00 64 01 2C FE D4 7F FF 80 00 65 64";

std::vector<std::string> words(const QString &line)
{
    std::vector<std::string> result;
    for (const QString &word : line.split(' ', Qt::SkipEmptyParts))
        result.push_back(word.toStdString());
    return result;
}

} // namespace

// The simulator's request framing, its options and the faults it plays.
class tst_Simulator : public QObject
{
    Q_OBJECT

private slots:
    void scanner_data()
    {
        QTest::addColumn<QStringList>("chunks");
        QTest::addColumn<QStringList>("requests");
        QTest::addColumn<QString>("discarded");
        QTest::newRow("read") << QStringList{kRead} << QStringList{kRead} << "";
        QTest::newRow("write") << QStringList{kWrite} << QStringList{kWrite} << "";
        QTest::newRow("split in bytes")
            << QStringList{"FF", "FF 01", "05 00 03 51", "D8"} << QStringList{kRead} << "";
        QTest::newRow("garbage before")
            << QStringList{QString("00 13 FF 7E ") + kRead} << QStringList{kRead} << "00 13 FF 7E";
        QTest::newRow("extra preamble byte")
            << QStringList{QString("FF ") + kRead} << QStringList{kRead} << "FF";
        QTest::newRow("two requests at once")
            << QStringList{QString(kRead) + " " + kWrite} << QStringList{kRead, kWrite} << "";
        QTest::newRow("bad check, then a good request")
            << QStringList{QString("FF FF 01 05 00 03 51 D9 ") + kRead} << QStringList{kRead}
            << "FF FF 01 05 00 03 51 D9";
        QTest::newRow("unknown command")
            << QStringList{"FF FF 01 05 00 06 11 22"} << QStringList{} << "FF FF 01 05 00 06 11 22";
        QTest::newRow("cut write, requests behind it recovered")
            << QStringList{"FF FF 01 05 00 10 00", kRead, kRead, "00 00"}
            << QStringList{kRead, kRead} << "FF FF 01 05 00 10 00 00 00";
    }
    void scanner()
    {
        QFETCH(QStringList, chunks);
        QFETCH(QStringList, requests);
        RequestScanner scanner;
        QStringList found;
        Bytes discarded;
        for (const QString &chunk : chunks) {
            scanner.feed(hexBytes(chunk.toLatin1().constData()));
            while (const auto request = scanner.next())
                found << hexText(*request);
            const Bytes more = scanner.takeDiscarded();
            discarded.insert(discarded.end(), more.begin(), more.end());
        }
        QCOMPARE(found, requests);
        QTEST(hexText(discarded), "discarded");
    }

    void scannerDropsAnIncompleteRequest()
    {
        RequestScanner scanner;
        scanner.feed(hexBytes("FF FF 01 05"));
        QVERIFY(!scanner.next());
        QVERIFY(scanner.hasPending());
        scanner.dropPending();
        QCOMPARE(hexText(scanner.takeDiscarded()), QStringLiteral("FF FF 01 05"));
        scanner.feed(hexBytes(kRead));
        QCOMPARE(hexText(scanner.next().value()), QString(kRead));
    }

    void deviceReplies_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("write");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("delay");
        using O = ReplyOutcome;
        QTest::newRow("read") << "" << false << int(O::Accepted) << 0;
        QTest::newRow("write") << "" << true << int(O::Accepted) << 0;
        QTest::newRow("silent read") << "--silent" << false << int(O::NoReply) << 0;
        QTest::newRow("wrong id") << "--wrong-id" << false << int(O::WrongDevice) << 0;
        QTest::newRow("wrong id write") << "--wrong-id" << true << int(O::WrongDevice) << 0;
        QTest::newRow("bad crc") << "--bad-crc" << false << int(O::FrameError) << 0;
        QTest::newRow("cut") << "--cut 10" << false << int(O::FrameError) << 0;
        QTest::newRow("cut to nothing") << "--cut 0" << true << int(O::NoReply) << 0;
        QTest::newRow("cut past a write's reply") << "--cut 20" << true << int(O::Accepted) << 0;
        QTest::newRow("stray") << "--stray" << true << int(O::FrameError) << 0;
        QTest::newRow("delay") << "--delay 350" << false << int(O::Accepted) << 350;
        QTest::newRow("refused") << "--refuse-write" << true << int(O::WriteRefused) << 0;
        QTest::newRow("refuse leaves reads") << "--refuse-write" << false << int(O::Accepted) << 0;
        QTest::newRow("preamble 00 00") << "--preamble00" << false << int(O::Accepted) << 0;
        QTest::newRow("fault count 0")
            << "--bad-crc --fault-count 0" << false << int(O::Accepted) << 0;
        QTest::newRow("echo, then the reply") << "--echo" << false << int(O::Accepted) << 0;
        QTest::newRow("echo only") << "--echo --silent" << true << int(O::NoReply) << 0;
    }
    void deviceReplies()
    {
        QFETCH(QString, line);
        QFETCH(bool, write);
        QFETCH(int, outcome);
        QFETCH(int, delay);
        SimOptions options;
        QVERIFY(options.parse(words(line)).empty());
        SimDevice device(options);
        const Bytes request = hexBytes(write ? kWrite : kRead);
        auto sends = device.answer(request);
        if (options.echo) {
            // The line returns the request at once, before whatever the device sends.
            QVERIFY(!sends.empty());
            QCOMPARE(hexText(sends.front().bytes), hexText(request));
            QCOMPARE(sends.front().afterMs, 0);
            sends.erase(sends.begin());
        }
        const Bytes reply = sends.empty() ? Bytes() : sends.front().bytes;
        if (!sends.empty())
            QCOMPARE(sends.front().afterMs, delay);
        const ReplyOutcome result =
            write ? checkWriteReply(reply, 0x05) : checkReadReply(reply, 0x05).outcome;
        QCOMPARE(int(result), outcome);
        if (options.preamble00)
            QCOMPARE(hexText(Bytes(reply.begin(), reply.begin() + 2)), QStringLiteral("00 00"));
    }

    void writeChangesWhatIsRead()
    {
        SimDevice device(SimOptions{});
        device.answer(hexBytes(kWrite));
        const ParameterValues expected{0, 1, -1, 100, 300, -300, 32767, -32768};
        QCOMPARE(device.values(), expected);
        const auto sends = device.answer(hexBytes(kRead));
        QCOMPARE(sends.size(), std::size_t(1));
        const ReadReplyCheck check = checkReadReply(sends[0].bytes, 0x05);
        QCOMPARE(check.values, expected);
    }

    void refusedWriteKeepsValues()
    {
        SimOptions options;
        QVERIFY(options.parse(words("--refuse-write")).empty());
        SimDevice device(options);
        device.answer(hexBytes(kWrite));
        QCOMPARE(device.values(), options.values);
    }

    void cutReplyRestComesLater()
    {
        SimOptions options;
        QVERIFY(
            options.parse(words("--cut 10 --rest-after 120 --delay 5 --fault-count 1")).empty());
        SimDevice device(options);
        const auto sends = device.answer(hexBytes(kRead));
        QCOMPARE(sends.size(), std::size_t(2));
        QCOMPARE(sends[0].afterMs, 5);
        QCOMPARE(sends[0].bytes.size(), std::size_t(10));
        QCOMPARE(sends[1].afterMs, 125);
        Bytes whole = sends[0].bytes;
        whole.insert(whole.end(), sends[1].bytes.begin(), sends[1].bytes.end());
        QCOMPARE(checkReadReply(whole, 0x05).outcome, ReplyOutcome::Accepted);
        // Only the first reply was faulty.
        const auto next = device.answer(hexBytes(kRead));
        QCOMPARE(next.size(), std::size_t(1));
        QCOMPARE(next[0].afterMs, 0);
        QCOMPARE(checkReadReply(next[0].bytes, 0x05).outcome, ReplyOutcome::Accepted);
    }
};

QTEST_GUILESS_MAIN(tst_Simulator)
#include "tst_simulator.moc"
