#include "windowfixture.h"
#include "outcomemessages.h"

#include <QFileInfo>
#include <QTest>

#include <memory>
#include <string>

using namespace Dravix;

namespace {

enum class Route { StartUp, Chooser, ValueFile };

const std::string kCannotWrite = OutcomeMessages::kCannotWrite;
const std::string kCannotDelete = OutcomeMessages::kCannotDelete;
const std::string kNotPresent = OutcomeMessages::kNotPresent;
const std::string kInvalidValues = OutcomeMessages::kInvalidValues;

std::string bytes(const QByteArray &array)
{
    return array.toStdString();
}

// A literal with its NUL bytes.
template <std::size_t N> QByteArray raw(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}

std::string repeated(const QByteArray &block, int count)
{
    std::string out;
    out.reserve(std::size_t(block.size()) * std::size_t(count));
    for (int i = 0; i < count; ++i)
        out.append(block.constData(), std::size_t(block.size()));
    return out;
}

// Fixed pseudo-random bytes without "=", so that no line of them is a pair line.
QByteArray noise()
{
    QByteArray out;
    std::uint32_t x = 2463534242u;
    while (out.size() < 4096) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        if (char(x) != '=')
            out += char(x);
    }
    return out;
}

// Control characters shown as \xNN, long texts as their length.
QString shown(const std::string &text)
{
    if (text.size() > 40)
        return QStringLiteral("<%1 bytes>").arg(text.size());
    QString out;
    for (const QChar c : QString::fromUtf8(text.data(), qsizetype(text.size()))) {
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7f && c.unicode() <= 0x9f))
            out += "\\x" + QString::number(c.unicode(), 16).toUpper().rightJustified(2, '0');
        else
            out += c;
    }
    return out;
}

QString joined(const ListState &list)
{
    if (list.entries.size() > 5)
        return QString::number(list.entries.size()) + QStringLiteral(" entries");
    QStringList texts;
    for (const auto &entry : list.entries)
        texts << shown(entry);
    return texts.join('|');
}

// Every field that a description sets, as "name=value".
QStringList described(const MainWindowLogic &main)
{
    const ModelState &state = main.state();
    QStringList fields{"heading=" + shown(main.modelHeading()),
                       "id=" + QString::number(state.DeviceCode), "ports=" + joined(main.ports()),
                       "settings=" + joined(main.lineSettings())};
    for (int k = 0; k < kSlotCount; ++k) {
        const QString s = QString::number(k + 1);
        fields << "name" + s + "=" + shown(main.parameterName(k).caption)
               << "upper" + s + "=" + shown(main.upperDescription(k).caption)
               << "lower" + s + "=" + shown(main.lowerDescription(k).caption)
               << "min" + s + "=" + QString::number(state.RangeMin[k])
               << "max" + s + "=" + QString::number(state.RangeMax[k])
               << "active" + s + "=" + QString::number(state.ParamActive[k]);
    }
    return fields;
}

// What a description changed, against a window that has read no file.
QStringList changes(const MainWindowLogic &main)
{
    DiskWorkDir nowhere("/nonexistent");
    const WindowFixture::Run fresh(nowhere);
    const QStringList before = described(fresh.main);
    QStringList changed;
    for (const QString &field : described(main)) {
        if (!before.contains(field))
            changed << field;
    }
    return changed;
}

} // namespace

Q_DECLARE_METATYPE(Route)

// Hostile files through the main window's start-up, the chooser and the value-file dialog.
class tst_HostileFiles : public QObject
{
    Q_OBJECT

private slots:
    void description_data()
    {
        QTest::addColumn<Route>("route");
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<QByteArray>("block");
        QTest::addColumn<int>("count");
        QTest::addColumn<QByteArray>("tail");
        QTest::addColumn<QStringList>("effect");

        const QByteArray kib(1024, 'x');
        const QByteArray tiny = "0." + QByteArray(400, '0') + "1";
        struct Row
        {
            QByteArray name;
            QByteArray head;
            QByteArray block;
            int count;
            QByteArray tail;
            QStringList effect;
        };
        QList<Row> rows{
            {"empty", "", "", 0, "", {}},
            {"binary noise", "", noise(), 256, "", {}},
            {"NUL bytes",
             raw("\0\0\r\nnazwa1=a\0b\r\n\0tytul=x\r\nzakres\0max1=5\r\nID\0=1F"),
             "",
             0,
             "",
             {"name1=a\\x00b"}},
            {"undefined cp1250 bytes",
             "tytul=\x81\x83\x88\x90\x98\r\n\x81=\x83",
             "",
             0,
             "",
             {"heading=\\x81\\x83\\x88\\x90\\x98"}},
            {"CR-only lines",
             "dodajport=1\rdodajport=2\rzakresmax1=50",
             "",
             0,
             "",
             {"ports=1|2", "max1=50"}},
            {"LF-only lines",
             "dodajport=1\ndodajport=2\nzakresmax1=50",
             "",
             0,
             "",
             {"ports=1|2", "max1=50"}},
            {"mixed line ends",
             "dodajport=1\r\r\ndodajport=2\n\rdodajport=3\r\n",
             "",
             0,
             "",
             {"ports=1|2|3"}},
            {"100 MB line", "", kib, 102400, "\r\nzakresmax1=7", {"max1=7"}},
            {"100 MB after a second =", "zakresmax1=9=", kib, 102400, "", {"max1=9"}},
            {"100 MB name", "nazwa1=", kib, 102400, "", {"name1=<104857600 bytes>"}},
            {"a million pair lines",
             "",
             "zakresmax1=99999\r\nzakresmin1=-99999\r\n",
             500000,
             "zakresmax1=123",
             {"min1=-32768", "max1=123"}},
            {"1e400", "zakresmax1=1e400", "", 0, "", {"max1=32767"}},
            {"-1e400", "zakresmin1=-1e400", "", 0, "", {"min1=-32768"}},
            {"99999999999", "zakresmax1=99999999999", "", 0, "", {"max1=32767"}},
            {"&HFFFF", "zakresmax1=&HFFFF", "", 0, "", {"max1=32767"}},
            {"&O777", "zakresmax1=&O777", "", 0, "", {"max1=511"}},
            {"--5", "zakresmax1=5\r\nzakresmax1=--5", "", 0, "", {}},
            {"1e", "zakresmax1=1e", "", 0, "", {"max1=1"}},
            {"400 zeros after the point", "zakresmax1=5\r\nzakresmax1=" + tiny, "", 0, "", {}},
        };
        for (int digit = 0; digit <= 9; ++digit) {
            const QByteArray d = QByteArray::number(digit);
            const QString s = QString::number(digit);
            QStringList effect;
            if (digit >= 1 && digit <= 8) {
                effect << "name" + s + "=N"
                       << "upper" + s + "=U"
                       << "lower" + s + "=L"
                       << "min" + s + "=-" + s << "max" + s + "=" + s << "active" + s + "=1";
            }
            const QByteArray content = "nazwa" + d + "=N\r\nopisgora" + d + "=U\r\nopisdol" + d +
                                       "=L\r\nzakresmin" + d + "=-" + d + "\r\nzakresmax" + d +
                                       "=" + d + "\r\naktywny" + d + "=1\r\nparametr" + d + "=" + d;
            rows.append({"slot digit " + d, content, "", 0, "", effect});
        }
        const std::pair<Route, const char *> routes[] = {{Route::StartUp, "start-up"},
                                                         {Route::Chooser, "chooser"},
                                                         {Route::ValueFile, "value file"}};
        for (const auto &[route, routeName] : routes) {
            for (const Row &row : rows) {
                QTest::newRow(routeName + QByteArray(": ") + row.name)
                    << route << row.head << row.block << row.count << row.tail << row.effect;
            }
        }
    }

    void description()
    {
        QFETCH(Route, route);
        QFETCH(QByteArray, head);
        QFETCH(QByteArray, block);
        QFETCH(int, count);
        QFETCH(QByteArray, tail);
        QFETCH(QStringList, effect);

        WindowFixture f;
        QVERIFY(f.folder.isValid());
        QVERIFY(f.folder.writeBytes("h.set", bytes(head) + repeated(block, count) + bytes(tail)));
        if (route == Route::StartUp)
            QVERIFY(f.folder.writeText("sesja.dat", "konfig=h.set\n"));
        f.main.load();
        if (route == Route::Chooser) {
            f.chooseDescription("h.set");
        } else if (route == Route::ValueFile) {
            QVERIFY(f.folder.writeText("v.vq", "konfig=h.set\n"));
            f.typeName("v.vq");
            f.values().clickLoad();
        }

        QCOMPARE(changes(f.main), effect);
        QCOMPARE(f.main.state().DescriptionFile, std::string("h.set"));
        QCOMPARE(f.main.title(),
                 std::string(route == Route::Chooser ? "Dravix" : "Dravix - h.set"));
        QCOMPARE(f.platform.messages, std::vector<std::string>{});
        QVERIFY(!f.port.isOpen);
    }

    // Entry texts that are no number of the slot's range; abc.set allows 0 to 100 in slot 1.
    void value_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("valid");

        QTest::newRow("50") << QByteArray("50") << true;
        QTest::newRow("blanks around") << QByteArray(" 50\t") << true;
        QTest::newRow("1e1") << QByteArray("1e1") << true;
        QTest::newRow("400 zeros after the point") << "0." + QByteArray(400, '0') + "1" << true;
        QTest::newRow("1e400") << QByteArray("1e400") << false;
        QTest::newRow("-1e400") << QByteArray("-1e400") << false;
        QTest::newRow("99999999999") << QByteArray("99999999999") << false;
        QTest::newRow("&HFFFF") << QByteArray("&HFFFF") << false;
        QTest::newRow("&O777") << QByteArray("&O777") << false;
        QTest::newRow("--5") << QByteArray("--5") << false;
        QTest::newRow("1e") << QByteArray("1e") << false;
        QTest::newRow("NUL byte") << QByteArray("5\0", 2) << false;
        QTest::newRow("undefined cp1250 byte") << QByteArray("5\x81") << false;
    }

    void value()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, valid);

        WindowFixture f;
        QVERIFY(f.folder.isValid());
        const std::string line = "parametr1=" + bytes(text) + "\r\n";
        QVERIFY(
            f.folder.writeBytes("v.vq", "konfig=abc.set\r\n" + line + "wybor1=0\r\nwybor2=0\r\n"));
        f.main.load();
        f.typeName("v.vq");
        f.values().clickLoad();

        QCOMPARE(f.main.entry(0).text, cp1250ToUtf8(bytes(text)));
        QCOMPARE(f.main.entry(0).background == kEntryAccepted, valid);
        f.main.clickWrite();
        QCOMPARE(f.port.written.size(), std::size_t(valid ? 1 : 0));
        QCOMPARE(f.platform.messages,
                 valid ? std::vector<std::string>{} : std::vector<std::string>{kInvalidValues});
        f.main.close();
        QVERIFY(f.folder.bytes("sesja.dat").value_or("").find(line) != std::string::npos);
    }

    void tenThousandPorts()
    {
        WindowFixture f;
        QVERIFY(f.folder.isValid());
        std::string description = "dodajparam=9600,n,8,1\r\n";
        for (int i = 1; i <= 10000; ++i)
            description += "dodajport=" + std::to_string(i) + "\r\n";
        QVERIFY(f.folder.writeBytes("p.set", description));
        QVERIFY(f.folder.writeText("sesja.dat", "konfig=p.set\nwybor1=9999\nwybor2=0\n"));
        f.main.load();

        const auto &entries = f.main.ports().entries;
        QCOMPARE(entries.size(), std::size_t(10000));
        for (int i = 0; i < 10000; ++i)
            QCOMPARE(entries[std::size_t(i)], std::to_string(i + 1));
        QCOMPARE(f.main.ports().selected, 9999);
        QCOMPARE(f.port.openedNumbers.back(), 10000);
        QCOMPARE(f.main.state().PortAvailable, std::int16_t(1));
    }

    // A directory where a file is expected: never present, never replaced, never removed.
    void directoryInPlace_data()
    {
        QTest::addColumn<QString>("folderName");
        QTest::addColumn<QString>("stateFile");
        QTest::addColumn<QString>("action");
        QTest::addColumn<std::vector<std::string>>("messages");
        QTest::addColumn<QString>("title");

        const QString restore = "konfig=d.set\nwybor1=0\nwybor2=0\n";
        QTest::newRow("sesja.dat at start-up") << "sesja.dat"
                                               << ""
                                               << "" << std::vector<std::string>{} << "Dravix";
        QTest::newRow("sesja.dat at closing")
            << "sesja.dat"
            << ""
            << "close" << std::vector<std::string>{kCannotWrite} << "Dravix";
        QTest::newRow("description at start-up")
            << "d.set" << restore << "" << std::vector<std::string>{} << "Dravix - d.set";
        QTest::newRow("description in the chooser")
            << "d.set"
            << ""
            << "choose" << std::vector<std::string>{} << "Dravix";
        QTest::newRow("value file loaded")
            << "v.vq"
            << ""
            << "load" << std::vector<std::string>{kNotPresent} << "Dravix";
        QTest::newRow("value file saved")
            << "v.vq"
            << ""
            << "save" << std::vector<std::string>{kCannotWrite} << "Dravix";
        QTest::newRow("value file deleted")
            << "v.vq"
            << ""
            << "delete" << std::vector<std::string>{kCannotDelete} << "Dravix";
    }

    void directoryInPlace()
    {
        QFETCH(QString, folderName);
        QFETCH(QString, stateFile);
        QFETCH(QString, action);
        QFETCH(std::vector<std::string>, messages);
        QFETCH(QString, title);

        WindowFixture f;
        QVERIFY(f.folder.isValid());
        const std::string folder = folderName.toStdString();
        QVERIFY(f.folder.makeFolder(folder));
        QVERIFY(f.folder.writeBytes(folder + "/inside", "x"));
        if (!stateFile.isEmpty())
            QVERIFY(f.folder.writeText("sesja.dat", stateFile.toStdString()));
        f.main.load();
        if (action == "close") {
            f.main.close();
        } else if (action == "choose") {
            f.main.clickChooser();
            QCOMPARE(f.chooser().files().entries, (std::vector<std::string>{"abc.set", "xyz.set"}));
        } else if (!action.isEmpty()) {
            f.main.clickValueFiles();
            QCOMPARE(f.values().files().entries, std::vector<std::string>{});
            f.values().editName(action == "load" ? "v.vq" : "v");
            if (action == "load")
                f.values().clickLoad();
            else if (action == "save")
                f.values().clickSave();
            else
                f.values().clickDelete();
        }

        QCOMPARE(f.platform.messages, messages);
        QCOMPARE(QString::fromStdString(f.main.title()), title);
        QVERIFY(f.main.ports().entries.empty());
        QCOMPARE(f.main.ports().selected, -1);
        QVERIFY(QFileInfo(f.folder.pathOf(folder)).isDir());
        QCOMPARE(f.folder.bytes(folder + "/inside"), std::optional<std::string>("x"));
    }
};

QTEST_APPLESS_MAIN(tst_HostileFiles)
#include "tst_hostilefiles.moc"
