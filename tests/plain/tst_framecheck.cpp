#include "hexbytes.h"

#include "framecheck.h"

#include <QTest>

using namespace Dravix;

// The check value against the catalogue, the worked examples and single-bit errors.
class tst_FrameCheck : public QObject
{
    Q_OBJECT

private slots:
    void checkBytes_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("check");
        QTest::newRow("catalogue 123456789") << QByteArray("123456789") << QByteArray("374B");
        QTest::newRow("abc") << QByteArray("abc") << QByteArray("4957");
        QTest::newRow("read request for 05")
            << QByteArray::fromHex("01050003") << QByteArray("51D8");
        QTest::newRow("write reply for 05")
            << QByteArray::fromHex("01050010") << QByteArray("1015");
        QTest::newRow("read request for 00")
            << QByteArray::fromHex("01000003") << QByteArray("41D9");
        QTest::newRow("empty") << QByteArray() << QByteArray("FFFF");
    }
    void checkBytes()
    {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, check);
        const Bytes bytes(input.begin(), input.end());
        const CheckBytes result = FrameCheck(bytes);
        QCOMPARE(hexText(Bytes(result.begin(), result.end())).remove(' '),
                 QString::fromLatin1(check));
    }

    void frameCheckOk_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<bool>("ok");
        QTest::newRow("read request") << QByteArray("01 05 00 03 51 D8") << true;
        QTest::newRow("check bytes swapped") << QByteArray("01 05 00 03 D8 51") << false;
        QTest::newRow("low byte wrong") << QByteArray("01 05 00 03 50 D8") << false;
        QTest::newRow("high byte wrong") << QByteArray("01 05 00 03 51 D9") << false;
        QTest::newRow("empty with its check") << QByteArray("FF FF") << true;
        QTest::newRow("read reply covered part")
            << QByteArray("01 05 00 03 00 00 00 01 FF FF 00 64 01 2C FE D4 7F FF 80 00 98 51")
            << true;
        QTest::newRow("one byte") << QByteArray("FF") << false;
    }
    void frameCheckOk()
    {
        QFETCH(QByteArray, frame);
        QFETCH(bool, ok);
        QCOMPARE(FrameCheckOk(hexBytes(frame.constData())), ok);
    }

    void everySingleBitFlipFails_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("short") << QByteArray("01 05 00 03 51 D8");
        QTest::newRow("long") << QByteArray(
            "01 05 00 10 00 00 00 01 FF FF 00 64 01 2C FE D4 7F FF 80 00 65 64");
    }
    void everySingleBitFlipFails()
    {
        QFETCH(QByteArray, frame);
        const Bytes good = hexBytes(frame.constData());
        QVERIFY(FrameCheckOk(good));
        for (std::size_t i = 0; i < good.size(); ++i) {
            for (int bit = 0; bit < 8; ++bit) {
                Bytes bad = good;
                bad[i] ^= static_cast<std::uint8_t>(1U << bit);
                QVERIFY2(!FrameCheckOk(bad),
                         qPrintable(QStringLiteral("byte %1 bit %2").arg(i).arg(bit)));
            }
        }
    }
};

QTEST_APPLESS_MAIN(tst_FrameCheck)
#include "tst_framecheck.moc"
