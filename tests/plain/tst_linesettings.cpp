
#include "linesettings.h"

#include <QTest>

using namespace Dravix;

// Which line-settings texts open a port, and with what.
class tst_LineSettings : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("parity");
        QTest::addColumn<int>("dataBits");
        QTest::addColumn<int>("stopBits");
        using P = LineSettings::Parity;
        using S = LineSettings::StopBits;
        const auto row = [](const char *name, const char *text, int speed, P parity, int data,
                            S stop) {
            QTest::newRow(name) << text << true << speed << int(parity) << data << int(stop);
        };
        const auto bad = [](const char *name, const char *text) {
            QTest::newRow(name) << text << false << 0 << 0 << 0 << 0;
        };
        row("empty is the default", "", 9600, P::None, 8, S::One);
        row("9600,n,8,1", "9600,n,8,1", 9600, P::None, 8, S::One);
        row("19200,E,7,2", "19200,E,7,2", 19200, P::Even, 7, S::Two);
        row("odd lower", "4800,o,5,1", 4800, P::Odd, 5, S::One);
        row("odd upper", "4800,O,6,1", 4800, P::Odd, 6, S::One);
        row("mark", "1200,m,8,1.5", 1200, P::Mark, 8, S::OneAndHalf);
        row("space upper", "115200,S,8,2", 115200, P::Space, 8, S::Two);
        row("none upper", "2400,N,8,1", 2400, P::None, 8, S::One);
        bad("three fields", "9600,n,8");
        bad("five fields", "9600,n,8,1,1");
        bad("speed missing", ",n,8,1");
        bad("speed zero", "0,n,8,1");
        bad("speed negative", "-9600,n,8,1");
        bad("speed with letters", "96k,n,8,1");
        bad("speed with a blank", "9600 ,n,8,1");
        bad("parity x", "9600,x,8,1");
        bad("parity word", "9600,none,8,1");
        bad("parity empty", "9600,,8,1");
        bad("data 4", "9600,n,4,1");
        bad("data 9", "9600,n,9,1");
        bad("data 08", "9600,n,08,1");
        bad("stop 0", "9600,n,8,0");
        bad("stop 3", "9600,n,8,3");
        bad("stop 1.0", "9600,n,8,1.0");
        bad("stop 1,5 splits", "9600,n,8,1,5");
        bad("trailing comma", "9600,n,8,1,");
        bad("blank", " ");
        bad("semicolons", "9600;n;8;1");
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        const auto settings = LineSettings::parse(text.toStdString());
        QCOMPARE(settings.has_value(), valid);
        if (!valid)
            return;
        QTEST(settings->speed, "speed");
        QTEST(int(settings->parity), "parity");
        QTEST(settings->dataBits, "dataBits");
        QTEST(int(settings->stopBits), "stopBits");
    }
};

QTEST_APPLESS_MAIN(tst_LineSettings)
#include "tst_linesettings.moc"
