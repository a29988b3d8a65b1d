#include "keydispatcher.h"
#include "keyvaluefile.h"
#include "modelcontrols.h"
#include "modelstate.h"

#include <QTest>

#include <array>

using namespace Dravix;

namespace {

// Records every change the dispatcher makes to the window's controls, in order.
class RecordingControls : public ModelControls
{
public:
    void setParameterName(int k, const std::string &caption) override
    {
        record(QString("name %1 %2").arg(k).arg(QString::fromStdString(caption)));
    }
    void setUpperDescription(int k, const std::string &caption) override
    {
        record(QString("upper %1 %2").arg(k).arg(QString::fromStdString(caption)));
    }
    void setLowerDescription(int k, const std::string &caption) override
    {
        record(QString("lower %1 %2").arg(k).arg(QString::fromStdString(caption)));
    }
    std::string entryText(int k) const override { return entries[k]; }
    void setEntryText(int k, const std::string &text) override
    {
        entries[k] = text;
        record(QString("entry %1 %2").arg(k).arg(QString::fromStdString(text)));
    }
    void setModelHeading(const std::string &caption) override
    {
        record("heading " + QString::fromStdString(caption));
    }
    void appendPortEntry(const std::string &text) override
    {
        record("port " + QString::fromStdString(text));
    }
    void appendLineSettingsEntry(const std::string &text) override
    {
        record("settings " + QString::fromStdString(text));
    }
    void selectSetOption(int set) override { record(QString("option %1").arg(set)); }
    void clearListSelections() override { record("no list selection"); }

    QStringList calls;
    std::array<std::string, kSlotCount> entries{"0", "0", "0", "0", "0", "0", "0", "0"};

private:
    void record(const QString &call) { calls << call; }
};

std::string text(const QByteArray &bytes)
{
    return bytes.toStdString();
}

// Every field of the state, for comparisons with one QCOMPARE.
QString dump(const ModelState &s)
{
    QStringList parts{"file=" + QString::fromStdString(s.DescriptionFile),
                      QString("set=%1").arg(s.ActiveSet),
                      QString("port=%1 speed=%2").arg(s.SavedPortIndex).arg(s.SavedSpeedIndex),
                      QString("code=%1").arg(s.DeviceCode),
                      QString("invalid=%1").arg(s.InvalidEntries),
                      QString("portnr=%1 avail=%2").arg(s.PortNumber).arg(s.PortAvailable)};
    for (int k = 0; k < kSlotCount; ++k)
        parts << QString("%1:%2..%3/%4")
                     .arg(k)
                     .arg(s.RangeMin[k])
                     .arg(s.RangeMax[k])
                     .arg(s.ParamActive[k]);
    return parts.join(' ');
}

// The number field named as in the tables: "SavedPortIndex", "RangeMin[2]", ...
std::int16_t &fieldOf(ModelState &s, const QString &field)
{
    if (field == "SavedPortIndex")
        return s.SavedPortIndex;
    if (field == "SavedSpeedIndex")
        return s.SavedSpeedIndex;
    const int k = field.at(9).digitValue();
    return field.startsWith("RangeMin") ? s.RangeMin[k] : s.RangeMax[k];
}

} // namespace

// The rules by which each key of a file changes the model, and the reset after a new
// description.
class tst_KeyDispatcher : public QObject
{
    Q_OBJECT

private slots:
    void controlKeys_data();
    void controlKeys();
    void numberKeys_data();
    void numberKeys();
    void inUseKey_data();
    void inUseKey();
    void setKey_data();
    void setKey();
    void deviceCode_data();
    void deviceCode();
    void wholeFileInOrder();
    void resetParameterValues();
};

void tst_KeyDispatcher::controlKeys_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QStringList>("calls");

    QTest::newRow("name") << QByteArray("nazwa1") << QByteArray("Ciśnienie")
                          << QStringList{"name 0 Ciśnienie"};
    QTest::newRow("name keeps blanks")
        << QByteArray("nazwa8") << QByteArray(" a b ") << QStringList{"name 7  a b "};
    QTest::newRow("name, rest after digit ignored")
        << QByteArray("nazwa12") << QByteArray("x") << QStringList{"name 0 x"};
    QTest::newRow("upper line") << QByteArray("opisgora3") << QByteArray("od 0 do 10")
                                << QStringList{"upper 2 od 0 do 10"};
    QTest::newRow("lower line") << QByteArray("opisdol4") << QByteArray("[bar]")
                                << QStringList{"lower 3 [bar]"};
    QTest::newRow("value verbatim")
        << QByteArray("parametr5") << QByteArray(" -12.5x") << QStringList{"entry 4  -12.5x"};
    QTest::newRow("heading") << QByteArray("tytul") << QByteArray("MODEL: PR-8 Ł")
                             << QStringList{"heading MODEL: PR-8 Ł"};
    QTest::newRow("port") << QByteArray("dodajport") << QByteArray("COM1")
                          << QStringList{"port COM1"};
    QTest::newRow("line settings") << QByteArray("dodajparam") << QByteArray("9600,n,8,1")
                                   << QStringList{"settings 9600,n,8,1"};

    // Keys that change nothing at all.
    for (const char *keyword :
         {"nazwa", "opisgora", "opisdol", "zakresmin", "zakresmax", "parametr", "aktywny"}) {
        for (const char *digit : {"0", "9"}) {
            const QByteArray key = QByteArray(keyword) + digit;
            QTest::newRow(key.constData()) << key << QByteArray("5") << QStringList{};
        }
        QTest::addRow("%s without digit", keyword)
            << QByteArray(keyword) << QByteArray("5") << QStringList{};
        QTest::addRow("%s with letter", keyword)
            << QByteArray(keyword) + "x1" << QByteArray("5") << QStringList{};
    }
    for (const char *key : {"Nazwa1", "PARAMETR1", "Aktywny1", "Zakresmin1", "id", "Id", "Zestaw",
                            "Wybor1", "Konfig", "Tytul", "Dodajport", "DODAJPARAM"})
        QTest::newRow(key) << QByteArray(key) << QByteArray("2") << QStringList{};
    QTest::newRow("empty key") << QByteArray("") << QByteArray("2") << QStringList{};
    QTest::newRow("unknown key") << QByteArray("uwaga") << QByteArray("2") << QStringList{};
    QTest::newRow("whole key with tail")
        << QByteArray("zestaw2") << QByteArray("2") << QStringList{};
}

void tst_KeyDispatcher::controlKeys()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, value);
    QFETCH(QStringList, calls);

    ModelState state;
    RecordingControls controls;
    const QString before = dump(state);
    KeyDispatcher(state, controls).ApplyKey(text(key), text(value));
    QCOMPARE(controls.calls, calls);
    QCOMPARE(dump(state), before);
}

void tst_KeyDispatcher::numberKeys_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("expected");

    const struct
    {
        const char *value;
        int expected;
    } bounds[] = {{"2.5", 2},       {"3.5", 4},        {"-0.5", 0},      {"1e2", 100},
                  {"12abc", 12},    {"1 000", 1000},   {"1,5", 1},       {"słowo", 0},
                  {"", 0},          {"-100", -100},    {"99999", 32767}, {"-99999", -32768},
                  {"1e400", 32767}, {"-1e400", -32768}};
    for (const auto &row : bounds) {
        QTest::addRow("zakresmin3 %s", row.value)
            << QByteArray("zakresmin3") << QByteArray(row.value) << "RangeMin[2]" << row.expected;
    }
    QTest::newRow("zakresmax1 99999")
        << QByteArray("zakresmax1") << QByteArray("99999") << "RangeMax[0]" << 32767;
    QTest::newRow("zakresmax8 2.5")
        << QByteArray("zakresmax8") << QByteArray("2.5") << "RangeMax[7]" << 2;
    QTest::newRow("zakresmax87 -5")
        << QByteArray("zakresmax87") << QByteArray("-5") << "RangeMax[7]" << -5;
    QTest::newRow("wybor1 -1") << QByteArray("wybor1") << QByteArray("-1") << "SavedPortIndex"
                               << -1;
    QTest::newRow("wybor1 99999") << QByteArray("wybor1") << QByteArray("99999") << "SavedPortIndex"
                                  << 32767;
    QTest::newRow("wybor2 3.5") << QByteArray("wybor2") << QByteArray("3.5") << "SavedSpeedIndex"
                                << 4;
    QTest::newRow("wybor2 -99999")
        << QByteArray("wybor2") << QByteArray("-99999") << "SavedSpeedIndex" << -32768;
}

void tst_KeyDispatcher::numberKeys()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, value);
    QFETCH(QString, field);
    QFETCH(int, expected);

    ModelState state;
    state.SavedPortIndex = state.SavedSpeedIndex = 77;
    state.RangeMin.fill(77);
    state.RangeMax.fill(77);
    ModelState wanted = state;
    fieldOf(wanted, field) = std::int16_t(expected);

    RecordingControls controls;
    KeyDispatcher(state, controls).ApplyKey(text(key), text(value));
    QCOMPARE(dump(state), dump(wanted));
    QCOMPARE(controls.calls, QStringList{});
}

void tst_KeyDispatcher::inUseKey_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("inUse");

    QTest::newRow("1") << QByteArray("1") << true;
    QTest::newRow("1.0") << QByteArray("1.0") << true;
    QTest::newRow("01") << QByteArray("01") << true;
    QTest::newRow("blank 1") << QByteArray(" 1") << true;
    QTest::newRow("1 then text") << QByteArray("1 tak") << true;
    QTest::newRow("1e0") << QByteArray("1e0") << true;
    QTest::newRow("2") << QByteArray("2") << false;
    QTest::newRow("0") << QByteArray("0") << false;
    QTest::newRow("empty") << QByteArray("") << false;
    QTest::newRow("word") << QByteArray("tak") << false;
    QTest::newRow("1.5") << QByteArray("1.5") << false;
    QTest::newRow("0.9") << QByteArray("0.9") << false;
    QTest::newRow("-1") << QByteArray("-1") << false;
}

void tst_KeyDispatcher::inUseKey()
{
    QFETCH(QByteArray, value);
    QFETCH(bool, inUse);

    ModelState state;
    state.ParamActive.fill(inUse ? 0 : 1);
    ModelState wanted = state;
    wanted.ParamActive[5] = inUse ? 1 : 0;
    RecordingControls controls;
    controls.entries[5] = "42";

    KeyDispatcher(state, controls).ApplyKey("aktywny6", text(value));
    QCOMPARE(dump(state), dump(wanted));
    QCOMPARE(controls.calls, inUse ? QStringList{} : QStringList{"entry 5 0"});
}

void tst_KeyDispatcher::setKey_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("activeSet");
    QTest::addColumn<QStringList>("calls");

    QTest::newRow("1") << QByteArray("1") << 1 << QStringList{"option 1"};
    QTest::newRow("2") << QByteArray("2") << 2 << QStringList{"option 2"};
    QTest::newRow("2.0") << QByteArray("2.0") << 2 << QStringList{"option 2"};
    QTest::newRow("blank 2") << QByteArray(" 2") << 2 << QStringList{"option 2"};
    QTest::newRow("3") << QByteArray("3") << 1 << QStringList{};
    QTest::newRow("0") << QByteArray("0") << 1 << QStringList{};
    QTest::newRow("1.5") << QByteArray("1.5") << 1 << QStringList{};
    QTest::newRow("empty") << QByteArray("") << 1 << QStringList{};
    QTest::newRow("word") << QByteArray("dwa") << 1 << QStringList{};
}

void tst_KeyDispatcher::setKey()
{
    QFETCH(QByteArray, value);
    QFETCH(int, activeSet);
    QFETCH(QStringList, calls);

    ModelState state;
    RecordingControls controls;
    KeyDispatcher(state, controls).ApplyKey("zestaw", text(value));
    QCOMPARE(int(state.ActiveSet), activeSet);
    QCOMPARE(controls.calls, calls);
}

void tst_KeyDispatcher::deviceCode_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("code");

    QTest::newRow("1F") << QByteArray("1F") << 31;
    QTest::newRow("1G") << QByteArray("1G") << 16;
    QTest::newRow("F") << QByteArray("F") << 240;
    QTest::newRow("empty") << QByteArray("") << 0;
    QTest::newRow("a5 and more") << QByteArray("a5 urządzenie") << 0xA5;
}

void tst_KeyDispatcher::deviceCode()
{
    QFETCH(QByteArray, value);
    QFETCH(int, code);

    ModelState state;
    state.DeviceCode = 0x77;
    RecordingControls controls;
    KeyDispatcher(state, controls).ApplyKey("ID", text(value));
    QCOMPARE(int(state.DeviceCode), code);
    QCOMPARE(controls.calls, QStringList{});
}

void tst_KeyDispatcher::wholeFileInOrder()
{
    ModelState state;
    RecordingControls controls;
    KeyDispatcher dispatcher(state, controls);
    forEachPair("konfig= abc.set \r\n"
                "tytul=Sterownik\r\n"
                "dodajport=COM1\r\n"
                "zakresmin2=5\r\n"
                "dodajport=COM1\r\n"
                "zakresmin2=-7\r\n"
                "parametr2=3\r\n"
                "aktywny2=0\r\n"
                "dodajparam=9600,n,8,1\r\n"
                "zestaw=2\r\n",
                [&dispatcher](std::string_view key, const std::string &value) {
                    dispatcher.ApplyKey(key, value);
                });
    QCOMPARE(controls.calls,
             (QStringList{"heading Sterownik", "port COM1", "port COM1", "entry 1 3", "entry 1 0",
                          "settings 9600,n,8,1", "option 2"}));
    QCOMPARE(state.DescriptionFile, std::string(" abc.set "));
    QCOMPARE(int(state.RangeMin[1]), -7);
    QCOMPARE(int(state.ActiveSet), 2);
}

void tst_KeyDispatcher::resetParameterValues()
{
    ModelState state;
    state.DescriptionFile = "abc.set";
    state.ActiveSet = 2;
    state.SavedPortIndex = 3;
    state.SavedSpeedIndex = 4;
    state.DeviceCode = 0x1F;
    state.RangeMin.fill(-5);
    state.RangeMax.fill(50);
    state.ParamActive = {1, 0, 1, 1, 0, 1, 1, 1};
    ModelState wanted = state;
    wanted.ActiveSet = 1;

    RecordingControls controls;
    controls.entries = {"1", "0", "2.5", "x", "", "-3", "0", "7"};
    KeyDispatcher(state, controls).ResetParameterValues();

    QStringList calls;
    for (int k = 0; k < kSlotCount; ++k)
        calls << QString("entry %1 0").arg(k);
    calls << "no list selection";
    QCOMPARE(controls.calls, calls);
    QCOMPARE(dump(state), dump(wanted));
}

QTEST_APPLESS_MAIN(tst_KeyDispatcher)
#include "tst_keydispatcher.moc"
