#include "numbers.h"

#include <QTest>

#include <limits>

using namespace Dravix;

// The one number rule, the rounding to 16 bits and the entry test for numbers.
class tst_Numbers : public QObject
{
    Q_OBJECT

private slots:
    void parseLeadingNumber_data();
    void parseLeadingNumber();
    void roundToInt16_data();
    void roundToInt16();
    void isNumericText_data();
    void isNumericText();
};

void tst_Numbers::parseLeadingNumber_data()
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("empty") << QByteArray("") << 0.0;
    QTest::newRow("blanks only") << QByteArray(" \t\n ") << 0.0;
    QTest::newRow("integer") << QByteArray("42") << 42.0;
    QTest::newRow("minus") << QByteArray("-7") << -7.0;
    QTest::newRow("plus") << QByteArray("+3") << 3.0;
    QTest::newRow("fraction") << QByteArray("2.5") << 2.5;
    QTest::newRow("leading point") << QByteArray(".5") << 0.5;
    QTest::newRow("trailing point") << QByteArray("5.") << 5.0;
    QTest::newRow("point alone") << QByteArray(".") << 0.0;
    QTest::newRow("signed leading point") << QByteArray("-.5") << -0.5;
    QTest::newRow("point then exponent") << QByteArray("5.e2") << 500.0;
    QTest::newRow("second point ends") << QByteArray("1.2.3") << 1.2;
    QTest::newRow("exponent e") << QByteArray("1e2") << 100.0;
    QTest::newRow("exponent E signed") << QByteArray("25E-1") << 2.5;
    QTest::newRow("exponent D") << QByteArray("1D2") << 100.0;
    QTest::newRow("exponent d negative") << QByteArray("5d-1") << 0.5;
    QTest::newRow("exponent plus") << QByteArray("3e+1") << 30.0;
    QTest::newRow("e without digits") << QByteArray("1e") << 1.0;
    QTest::newRow("e and sign without digits") << QByteArray("7e-x") << 7.0;
    QTest::newRow("digits then letters") << QByteArray("12abc") << 12.0;
    QTest::newRow("blank between digits") << QByteArray("1 000") << 1000.0;
    QTest::newRow("TAB and LF between digits") << QByteArray("1\t2\n3") << 123.0;
    QTest::newRow("blank after sign") << QByteArray(" - 5") << -5.0;
    QTest::newRow("blank in exponent") << QByteArray("1 e 2") << 100.0;
    QTest::newRow("comma ends") << QByteArray("1,5") << 1.0;
    QTest::newRow("word") << QByteArray("abc") << 0.0;
    QTest::newRow("Polish word") << QByteArray("zero ąę") << 0.0;
    QTest::newRow("double minus") << QByteArray("--5") << 0.0;
    QTest::newRow("plus minus") << QByteArray("+-5") << 0.0;
    QTest::newRow("sign alone") << QByteArray("-") << 0.0;
    QTest::newRow("C hex is 0") << QByteArray("0x1F") << 0.0;
    QTest::newRow("&H") << QByteArray("&H1F") << 31.0;
    QTest::newRow("&h lower case") << QByteArray("&hff") << 255.0;
    QTest::newRow("&H stops at non-digit") << QByteArray("&H1G") << 1.0;
    QTest::newRow("&H without digits") << QByteArray("&H") << 0.0;
    QTest::newRow("&O") << QByteArray("&O17") << 15.0;
    QTest::newRow("&O stops at 8") << QByteArray("&O78") << 7.0;
    QTest::newRow("& then other letter") << QByteArray("&X12") << 0.0;
    QTest::newRow("too large") << QByteArray("1e400") << inf;
    QTest::newRow("too large negative") << QByteArray("-1e400") << -inf;
    QTest::newRow("too small") << QByteArray("1e-400") << 0.0;
}

void tst_Numbers::parseLeadingNumber()
{
    QFETCH(QByteArray, text);
    QFETCH(double, expected);
    const double actual = ParseLeadingNumber(std::string_view(text.constData(), text.size()));
    QVERIFY2(actual == expected,
             qPrintable(QString("got %1, want %2").arg(actual, 0, 'g', 17).arg(expected)));
}

void tst_Numbers::roundToInt16_data()
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    QTest::addColumn<double>("number");
    QTest::addColumn<int>("expected");

    QTest::newRow("0.5") << 0.5 << 0;
    QTest::newRow("1.5") << 1.5 << 2;
    QTest::newRow("2.5") << 2.5 << 2;
    QTest::newRow("3.5") << 3.5 << 4;
    QTest::newRow("-0.5") << -0.5 << 0;
    QTest::newRow("-1.5") << -1.5 << -2;
    QTest::newRow("-2.5") << -2.5 << -2;
    QTest::newRow("2.4999") << 2.4999 << 2;
    QTest::newRow("2.5001") << 2.5001 << 3;
    QTest::newRow("-2.6") << -2.6 << -3;
    QTest::newRow("largest") << 32767.0 << 32767;
    QTest::newRow("largest plus a bit") << 32767.4 << 32767;
    QTest::newRow("half above largest") << 32767.5 << 32767;
    QTest::newRow("above") << 99999.0 << 32767;
    QTest::newRow("smallest") << -32768.0 << -32768;
    QTest::newRow("half below smallest") << -32768.5 << -32768;
    QTest::newRow("below") << -99999.0 << -32768;
    QTest::newRow("huge") << 1e300 << 32767;
    QTest::newRow("infinity") << inf << 32767;
    QTest::newRow("minus infinity") << -inf << -32768;
}

void tst_Numbers::roundToInt16()
{
    QFETCH(double, number);
    QFETCH(int, expected);
    QCOMPARE(int(RoundToInt16(number)), expected);
}

void tst_Numbers::isNumericText_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("separator");
    QTest::addColumn<bool>("numeric");

    const QByteArray point(".");
    const QByteArray comma(",");
    QTest::newRow("zero") << QByteArray("0") << point << true;
    QTest::newRow("integer") << QByteArray("100") << point << true;
    QTest::newRow("negative") << QByteArray("-10") << point << true;
    QTest::newRow("plus") << QByteArray("+5") << point << true;
    QTest::newRow("fraction") << QByteArray("50.7") << point << true;
    QTest::newRow("leading point") << QByteArray(".5") << point << true;
    QTest::newRow("trailing point") << QByteArray("5.") << point << true;
    QTest::newRow("exponent") << QByteArray("1e2") << point << true;
    QTest::newRow("exponent E signed") << QByteArray("-1.5E-3") << point << true;
    QTest::newRow("exponent plus") << QByteArray("1e+2") << point << true;
    QTest::newRow("point then exponent") << QByteArray("5.e2") << point << true;
    QTest::newRow("spaces around") << QByteArray("  7 ") << point << true;
    QTest::newRow("TABs around") << QByteArray("\t7\t") << point << true;
    QTest::newRow("empty") << QByteArray("") << point << false;
    QTest::newRow("blanks only") << QByteArray(" \t ") << point << false;
    QTest::newRow("minus alone") << QByteArray("-") << point << false;
    QTest::newRow("plus alone") << QByteArray("+") << point << false;
    QTest::newRow("point alone") << QByteArray(".") << point << false;
    QTest::newRow("sign and point") << QByteArray("-.") << point << false;
    QTest::newRow("word") << QByteArray("abc") << point << false;
    QTest::newRow("digits then letter") << QByteArray("5x") << point << false;
    QTest::newRow("e without digits") << QByteArray("1e") << point << false;
    QTest::newRow("e and sign without digits") << QByteArray("1e-") << point << false;
    QTest::newRow("exponent alone") << QByteArray("e5") << point << false;
    QTest::newRow("D exponent") << QByteArray("1d2") << point << false;
    QTest::newRow("two points") << QByteArray("1.2.3") << point << false;
    QTest::newRow("two signs") << QByteArray("--5") << point << false;
    QTest::newRow("blank inside") << QByteArray("1 000") << point << false;
    QTest::newRow("comma under point") << QByteArray("1,5") << point << false;
    QTest::newRow("hexadecimal") << QByteArray("&H10") << point << false;
    QTest::newRow("LF is no blank") << QByteArray("7\n") << point << false;
    QTest::newRow("comma") << QByteArray("1,5") << comma << true;
    QTest::newRow("comma leading") << QByteArray(",5") << comma << true;
    QTest::newRow("comma negative") << QByteArray("-10,2") << comma << true;
    QTest::newRow("comma exponent") << QByteArray("2,5e1") << comma << true;
    QTest::newRow("point under comma") << QByteArray("1.5") << comma << false;
    QTest::newRow("two commas") << QByteArray("1,2,3") << comma << false;
    QTest::newRow("comma alone") << QByteArray(",") << comma << false;
}

void tst_Numbers::isNumericText()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, separator);
    QFETCH(bool, numeric);
    QCOMPARE(IsNumericText(std::string_view(text.constData(), text.size()),
                           std::string_view(separator.constData(), separator.size())),
             numeric);
}

QTEST_APPLESS_MAIN(tst_Numbers)
#include "tst_numbers.moc"
