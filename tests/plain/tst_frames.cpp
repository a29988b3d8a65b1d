#include "hexbytes.h"

#include "frames.h"

#include <QTest>

using namespace Dravix;

Q_DECLARE_METATYPE(ReplyOutcome)

namespace {

constexpr const char *kExampleValues =
    "FF FF 01 05 00 03 00 00 00 01 FF FF 00 64 01 2C FE D4 7F FF 80 00 98 51";

EntryTexts texts(std::initializer_list<const char *> list)
{
    EntryTexts result;
    std::size_t i = 0;
    for (const char *text : list)
        result[i++] = text;
    return result;
}

} // namespace

// The request frames, the value codec and the checks of the two replies.
class tst_Frames : public QObject
{
    Q_OBJECT

private slots:
    void readRequest_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("frame");
        QTest::newRow("code 05") << 0x05 << "FF FF 01 05 00 03 51 D8";
        QTest::newRow("code 00") << 0x00 << "FF FF 01 00 00 03 41 D9";
    }
    void readRequest()
    {
        QFETCH(int, code);
        QFETCH(QString, frame);
        QCOMPARE(hexText(BuildReadRequest(static_cast<std::uint8_t>(code))), frame);
    }

    void writeRequestExample()
    {
        const auto frame = BuildWriteRequest(
            0x05, texts({"0", "1", "-1", "100", "300", "-300", "32767", "-32768"}));
        QVERIFY(frame.has_value());
        QCOMPARE(hexText(*frame), QStringLiteral("FF FF 01 05 00 10 00 00 00 01 FF FF 00 64 01 2C "
                                                 "FE D4 7F FF 80 00 65 64"));
    }

    void writeRequestEntryText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("pair");
        QTest::newRow("2.5 to even") << "2.5"
                                     << "00 02";
        QTest::newRow("3.5 to even") << "3.5"
                                     << "00 04";
        QTest::newRow("-0.5") << "-0.5"
                              << "00 00";
        QTest::newRow("-2.5") << "-2.5"
                              << "FF FE";
        QTest::newRow("leading number") << "12abc"
                                        << "00 0C";
        QTest::newRow("comma ends the number") << "1,5"
                                               << "00 01";
        QTest::newRow("empty") << ""
                               << "00 00";
        QTest::newRow("letters") << "abc"
                                 << "00 00";
        QTest::newRow("lowest after rounding") << "-32768.5"
                                               << "80 00";
        QTest::newRow("highest after rounding") << "32767.4"
                                                << "7F FF";
    }
    void writeRequestEntryText()
    {
        QFETCH(QString, text);
        QFETCH(QString, pair);
        for (std::size_t slot = 0; slot < 8; ++slot) {
            EntryTexts entries;
            entries.fill("0");
            entries[slot] = text.toStdString();
            const auto frame = BuildWriteRequest(0x05, entries);
            QVERIFY(frame.has_value());
            QCOMPARE(frame->size(), kLongFrameSize);
            const Bytes value(frame->begin() + 6 + 2 * slot, frame->begin() + 8 + 2 * slot);
            QCOMPARE(hexText(value), pair);
        }
    }

    void writeRequestRefusesValuesThatDoNotFit_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("32768") << "32768";
        QTest::newRow("-32769") << "-32769";
        QTest::newRow("32767.5 rounds up") << "32767.5";
        QTest::newRow("-32768.6") << "-32768.6";
        QTest::newRow("exponent") << "1e10";
        QTest::newRow("hexadecimal") << "&H10000";
    }
    void writeRequestRefusesValuesThatDoNotFit()
    {
        QFETCH(QString, text);
        EntryTexts entries;
        entries.fill("1");
        entries[7] = text.toStdString();
        QVERIFY(!BuildWriteRequest(0x05, entries).has_value());
        QVERIFY(!entryValue(text.toStdString()).has_value());
    }

    void codec_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("pair");
        QTest::newRow("300") << 300 << "01 2C";
        QTest::newRow("-1") << -1 << "FF FF";
        QTest::newRow("-300") << -300 << "FE D4";
        QTest::newRow("-32768") << -32768 << "80 00";
        QTest::newRow("32767") << 32767 << "7F FF";
        QTest::newRow("0") << 0 << "00 00";
        QTest::newRow("255") << 255 << "00 FF";
        QTest::newRow("-256") << -256 << "FF 00";
    }
    void codec()
    {
        QFETCH(int, value);
        QFETCH(QString, pair);
        const auto encoded = EncodeValue(static_cast<std::int16_t>(value));
        QCOMPARE(hexText(Bytes(encoded.begin(), encoded.end())), pair);
        QCOMPARE(int(DecodeValue(encoded[0], encoded[1])), value);
    }

    void codecRoundTripsEveryValue()
    {
        for (int value = -32768; value <= 32767; ++value) {
            const auto encoded = EncodeValue(static_cast<std::int16_t>(value));
            if (DecodeValue(encoded[0], encoded[1]) != value)
                QFAIL(qPrintable(QString::number(value)));
        }
    }

    void readReply_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("code");
        QTest::addColumn<ReplyOutcome>("outcome");
        const QByteArray good(kExampleValues);
        QTest::newRow("example") << good << 5 << ReplyOutcome::Accepted;
        QTest::newRow("empty") << QByteArray() << 5 << ReplyOutcome::NoReply;
        QTest::newRow("23 bytes") << good.left(good.size() - 3) << 5 << ReplyOutcome::FrameError;
        QTest::newRow("stray byte") << good + " 00" << 5 << ReplyOutcome::FrameError;
        QTest::newRow("one byte") << QByteArray("05") << 5 << ReplyOutcome::FrameError;
        QTest::newRow("bad check")
            << QByteArray(good).replace("98 51", "98 50") << 5 << ReplyOutcome::FrameError;
        QTest::newRow("length before code")
            << good.left(good.size() - 3) << 7 << ReplyOutcome::FrameError;
        QTest::newRow("check before code")
            << QByteArray(good).replace("98 51", "98 50") << 7 << ReplyOutcome::FrameError;
        QTest::newRow("other code") << good << 6 << ReplyOutcome::WrongDevice;
        QTest::newRow("preamble 00 00")
            << QByteArray(good).replace(0, 5, "00 00") << 5 << ReplyOutcome::Accepted;
        QTest::newRow("fixed byte covered")
            << QByteArray(good).replace(6, 2, "02") << 5 << ReplyOutcome::FrameError;
    }
    void readReply()
    {
        QFETCH(QByteArray, reply);
        QFETCH(int, code);
        QFETCH(ReplyOutcome, outcome);
        const ReadReplyCheck check =
            checkReadReply(hexBytes(reply.constData()), static_cast<std::uint8_t>(code));
        QCOMPARE(check.outcome, outcome);
        if (outcome == ReplyOutcome::Accepted) {
            const ParameterValues expected{0, 1, -1, 100, 300, -300, 32767, -32768};
            QCOMPARE(check.values, expected);
        }
    }

    void readReplyCommandByteNotExamined()
    {
        const ParameterValues values{1, 2, 3, 4, 5, 6, 7, 8};
        for (const std::uint8_t command : {0x00, 0x03, 0x10, 0xFF}) {
            const ReadReplyCheck check = checkReadReply(buildLongFrame(9, command, values), 9);
            QCOMPARE(check.outcome, ReplyOutcome::Accepted);
            QCOMPARE(check.values, values);
        }
    }

    void writeReply_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<ReplyOutcome>("outcome");
        QTest::newRow("success") << QByteArray("FF FF 01 05 00 10 10 15") << ReplyOutcome::Accepted;
        QTest::newRow("preamble 00 00")
            << QByteArray("00 00 01 05 00 10 10 15") << ReplyOutcome::Accepted;
        QTest::newRow("empty") << QByteArray() << ReplyOutcome::NoReply;
        QTest::newRow("7 bytes") << QByteArray("FF FF 01 05 00 10 10") << ReplyOutcome::FrameError;
        QTest::newRow("9 bytes") << QByteArray("FF FF 01 05 00 10 10 15 00")
                                 << ReplyOutcome::FrameError;
        QTest::newRow("bad check")
            << QByteArray("FF FF 01 05 00 10 15 10") << ReplyOutcome::FrameError;
        const Bytes otherCode = buildShortFrame(0x06, 0x10);
        QTest::newRow("other code") << hexText(otherCode).toLatin1() << ReplyOutcome::WrongDevice;
        const Bytes otherCodeRefused = buildShortFrame(0x06, 0x90);
        QTest::newRow("code before command")
            << hexText(otherCodeRefused).toLatin1() << ReplyOutcome::WrongDevice;
        const Bytes refused = buildShortFrame(0x05, 0x90);
        QTest::newRow("refused") << hexText(refused).toLatin1() << ReplyOutcome::WriteRefused;
        const Bytes readCommand = buildShortFrame(0x05, 0x03);
        QTest::newRow("read command")
            << hexText(readCommand).toLatin1() << ReplyOutcome::WriteRefused;
        const Bytes longFrame = buildLongFrame(0x05, 0x10, {});
        QTest::newRow("long frame") << hexText(longFrame).toLatin1() << ReplyOutcome::FrameError;
    }
    void writeReply()
    {
        QFETCH(QByteArray, reply);
        QFETCH(ReplyOutcome, outcome);
        QCOMPARE(checkWriteReply(hexBytes(reply.constData()), 0x05), outcome);
    }
};

QTEST_APPLESS_MAIN(tst_Frames)
#include "tst_frames.moc"
