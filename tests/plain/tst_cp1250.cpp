#include "cp1250.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>

using namespace Dravix;

// Windows-1250 at the file boundary, held against iconv for every byte value.
class tst_Cp1250 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void decodesLikeIconv();
    void encodesLikeIconv();
    void undefinedBytesRoundTrip_data();
    void undefinedBytesRoundTrip();
    void unrepresentableBecomesQuestionMark_data();
    void unrepresentableBecomesQuestionMark();

private:
    QByteArray iconv(const QByteArray &input, const char *from, const char *to);

    QString m_iconv;
    QByteArray m_definedBytes; // every byte value but the five the code page leaves undefined
};

static const QByteArray kUndefined("\x81\x83\x88\x90\x98");

static std::string_view view(const QByteArray &bytes)
{
    return {bytes.constData(), std::size_t(bytes.size())};
}

static QByteArray bytes(const std::string &text)
{
    return QByteArray(text.data(), qsizetype(text.size()));
}

void tst_Cp1250::initTestCase()
{
    m_iconv = QStandardPaths::findExecutable("iconv");
    for (int b = 0; b < 256; ++b) {
        if (!kUndefined.contains(char(b)))
            m_definedBytes += char(b);
    }
    QCOMPARE(m_definedBytes.size(), 251);
}

QByteArray tst_Cp1250::iconv(const QByteArray &input, const char *from, const char *to)
{
    QProcess process;
    process.start(m_iconv, {"-f", from, "-t", to});
    if (!process.waitForStarted())
        return {};
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished() || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput();
}

void tst_Cp1250::decodesLikeIconv()
{
    if (m_iconv.isEmpty())
        QSKIP("iconv is not installed; it is the independent converter these checks rely on");
    const QString oracle = QString::fromUtf8(iconv(m_definedBytes, "CP1250", "UTF-8"));
    const QString ours = QString::fromUtf8(bytes(cp1250ToUtf8(view(m_definedBytes))));
    QCOMPARE(oracle.size(), m_definedBytes.size());
    QCOMPARE(ours.size(), m_definedBytes.size());

    QStringList mismatches;
    for (qsizetype i = 0; i < m_definedBytes.size(); ++i) {
        if (ours[i] != oracle[i]) {
            mismatches << QString("0x%1: U+%2 instead of U+%3")
                              .arg(quint8(m_definedBytes[i]), 2, 16, QChar('0'))
                              .arg(ours[i].unicode(), 4, 16, QChar('0'))
                              .arg(oracle[i].unicode(), 4, 16, QChar('0'));
        }
    }
    QVERIFY2(mismatches.isEmpty(), qPrintable(mismatches.join("; ")));
}

void tst_Cp1250::encodesLikeIconv()
{
    if (m_iconv.isEmpty())
        QSKIP("iconv is not installed; it is the independent converter these checks rely on");
    const QByteArray utf8 = iconv(m_definedBytes, "CP1250", "UTF-8");
    QVERIFY(!utf8.isEmpty());
    QCOMPARE(iconv(utf8, "UTF-8", "CP1250"), m_definedBytes);
    QCOMPARE(bytes(utf8ToCp1250(view(utf8))), m_definedBytes);
}

void tst_Cp1250::undefinedBytesRoundTrip_data()
{
    QTest::addColumn<QByteArray>("byte");
    QTest::addColumn<QByteArray>("utf8");

    for (const char b : kUndefined) {
        const char32_t control = quint8(b);
        QTest::addRow("0x%02x", quint8(b))
            << QByteArray(1, b) << QString::fromUcs4(&control, 1).toUtf8();
    }
}

void tst_Cp1250::undefinedBytesRoundTrip()
{
    QFETCH(QByteArray, byte);
    QFETCH(QByteArray, utf8);
    QCOMPARE(bytes(cp1250ToUtf8(view(byte))), utf8);
    QCOMPARE(bytes(utf8ToCp1250(view(utf8))), byte);
}

void tst_Cp1250::unrepresentableBecomesQuestionMark_data()
{
    QTest::addColumn<QByteArray>("utf8");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("Polish text") << QByteArray("Zażółć gęślą jaźń")
                                 << QByteArray("Za\xbf\xf3\xb3\xe6 g\xea\x9cl\xb9 ja\x9f\xf1");
    QTest::newRow("n with tilde") << QByteArray("Año") << QByteArray("A?o");
    QTest::newRow("Greek") << QByteArray("Ωx") << QByteArray("?x");
    QTest::newRow("CJK") << QByteArray("日本") << QByteArray("??");
    QTest::newRow("outside the BMP") << QByteArray("a😀b") << QByteArray("a?b");
    QTest::newRow("control 0x80 is not defined") << QByteArray("\xc2\x80") << QByteArray("?");
    QTest::newRow("stray continuation byte") << QByteArray("a\x80z") << QByteArray("a?z");
    QTest::newRow("invalid byte") << QByteArray("a\xffz") << QByteArray("a?z");
    QTest::newRow("cut sequence at end") << QByteArray("ab\xc5") << QByteArray("ab?");
}

void tst_Cp1250::unrepresentableBecomesQuestionMark()
{
    QFETCH(QByteArray, utf8);
    QFETCH(QByteArray, expected);
    QCOMPARE(bytes(utf8ToCp1250(view(utf8))), expected);
}

QTEST_APPLESS_MAIN(tst_Cp1250)
#include "tst_cp1250.moc"
