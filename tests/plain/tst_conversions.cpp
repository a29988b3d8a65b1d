#include "conversions.h"
#include "modelstate.h"

#include <QTest>

using namespace Dravix;

// Hexadecimal digits, the device-code pair and the bits of the invalid-entries mask.
class tst_Conversions : public QObject
{
    Q_OBJECT

private slots:
    void hexDigitValue_data();
    void hexDigitValue();
    void hexPairToByte_data();
    void hexPairToByte();
    void entryBit_data();
    void entryBit();
};

static std::string_view view(const QByteArray &bytes)
{
    return {bytes.constData(), std::size_t(bytes.size())};
}

void tst_Conversions::hexDigitValue_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("expected");

    QTest::newRow("0") << QByteArray("0") << 0;
    QTest::newRow("7") << QByteArray("7") << 7;
    QTest::newRow("9") << QByteArray("9") << 9;
    QTest::newRow("a") << QByteArray("a") << 10;
    QTest::newRow("A") << QByteArray("A") << 10;
    QTest::newRow("F") << QByteArray("F") << 15;
    QTest::newRow("f") << QByteArray("f") << 15;
    QTest::newRow("g") << QByteArray("g") << 0;
    QTest::newRow("G") << QByteArray("G") << 0;
    QTest::newRow("two digits") << QByteArray("AB") << 0;
    QTest::newRow("empty") << QByteArray("") << 0;
    QTest::newRow("blank") << QByteArray(" ") << 0;
    QTest::newRow("digit after blank") << QByteArray(" 5") << 0;
    QTest::newRow("Polish letter") << QByteArray("ą") << 0;
}

void tst_Conversions::hexDigitValue()
{
    QFETCH(QByteArray, text);
    QFETCH(int, expected);
    QCOMPARE(int(HexDigitValue(view(text))), expected);
}

void tst_Conversions::hexPairToByte_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("expected");

    QTest::newRow("05") << QByteArray("05") << 0x05;
    QTest::newRow("single digit is high") << QByteArray("5") << 0x50;
    QTest::newRow("a5") << QByteArray("a5") << 0xA5;
    QTest::newRow("A5") << QByteArray("A5") << 0xA5;
    QTest::newRow("ff") << QByteArray("ff") << 0xFF;
    QTest::newRow("third ignored") << QByteArray("FFF") << 0xFF;
    QTest::newRow("empty") << QByteArray("") << 0x00;
    QTest::newRow("G5") << QByteArray("G5") << 0x05;
    QTest::newRow("blank then 5") << QByteArray(" 5") << 0x05;
    QTest::newRow("5 then blank") << QByteArray("5 ") << 0x50;
    QTest::newRow("blank 0 5") << QByteArray(" 05") << 0x00;
    QTest::newRow("0x1F") << QByteArray("0x1F") << 0x00;
    QTest::newRow("1F") << QByteArray("1F") << 31;
    QTest::newRow("1G") << QByteArray("1G") << 16;
    QTest::newRow("F") << QByteArray("F") << 240;
    // A Polish letter is one character, not two bytes.
    QTest::newRow("letter then digit") << QByteArray("ą5") << 0x05;
    QTest::newRow("digit then letter") << QByteArray("5ż") << 0x50;
    QTest::newRow("two letters then digits") << QByteArray("żź12") << 0x00;
}

void tst_Conversions::hexPairToByte()
{
    QFETCH(QByteArray, text);
    QFETCH(int, expected);
    QCOMPARE(int(HexPairToByte(view(text))), expected);
}

void tst_Conversions::entryBit_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("expected");

    const int bits[] = {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80};
    for (int k = 0; k < 8; ++k)
        QTest::addRow("%d", k) << k << bits[k];
    QTest::newRow("8") << 8 << 0;
    QTest::newRow("-1") << -1 << 0;
    QTest::newRow("15") << 15 << 0;
    QTest::newRow("32767") << 32767 << 0;
    QTest::newRow("-32768") << -32768 << 0;
}

void tst_Conversions::entryBit()
{
    QFETCH(int, index);
    QFETCH(int, expected);
    QCOMPARE(int(EntryBit(index)), expected);
}

QTEST_APPLESS_MAIN(tst_Conversions)
#include "tst_conversions.moc"
