#include "windowfixture.h"
#include "outcomemessages.h"

#include "accessibletexts.h"
#include "cp1250.h"
#include "frames.h"

#include <QFile>
#include <QTest>

#include <algorithm>
#include <memory>

using namespace Dravix;

// The main window's start-up, grid layout, set switch and entry validation, without a display.
class tst_MainWindowLogic : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstStartInEmptyDirectory();
    void startUp_data();
    void startUp();
    void descriptionTextsInWindows1250();
    void gridPositions_data();
    void gridPositions();
    void setSwitch_data();
    void setSwitch();
    void inactiveSlotKeepsItsVisibility();
    void validation_data();
    void validation();
    void colourFollowsEachKeystroke();
    void sameTextIsJudgedAgain();
    void newDescriptionJudgesEveryEntry();
    void hiddenRejectedEntryBlocksWrite();
    void portNotes();
    void exchangeNotesOnTheButtons();
    void portFollowsItsDevice_data();
    void portFollowsItsDevice();
    void entryAccessibleTexts_data();
    void entryAccessibleTexts();
    void portListDescription_data();
    void portListDescription();

private:
    void writeFile(const QString &name, const QByteArray &utf8Text);
    MainWindowLogic &start();
    QString visibleSlots() const;

    std::unique_ptr<WindowFixture> m_f;
};

namespace {

// A description of eight slots 0..100 (slot 6: -10..10), in use as the flags say ("1" or
// "0" per slot), with two ports and two line settings.
QByteArray description(const QByteArray &inUse = "11111111", const QByteArray &extra = {})
{
    QByteArray text = "tytul=REGULATOR RT-8 – PIEC GŁÓWNY\r\n"
                      "ID=1F\r\n"
                      "dodajport=1\r\n"
                      "dodajport=2\r\n"
                      "dodajparam=9600,n,8,1\r\n"
                      "dodajparam=19200,e,8,1\r\n";
    for (int s = 1; s <= 8; ++s) {
        const QByteArray n = QByteArray::number(s);
        text += "nazwa" + n + "=Parametr " + n + "\r\n";
        text += "opisgora" + n + "=górny " + n + "\r\n";
        text += "opisdol" + n + "=dolny " + n + "\r\n";
        text += "zakresmin" + n + (s == 6 ? "=-10\r\n" : "=0\r\n");
        text += "zakresmax" + n + (s == 6 ? "=10\r\n" : "=100\r\n");
        text += "aktywny" + n + "=" + inUse.at(s - 1) + "\r\n";
    }
    return text + extra;
}

// A state file as the program writes it.
QByteArray session(const QByteArray &set, const QByteArray &port = "0",
                   const QByteArray &speed = "1", const QByteArray &values = "12345678",
                   const QByteArray &extra = {})
{
    QByteArray text = extra + "konfig=abc.set\r\n";
    for (int s = 1; s <= 8; ++s)
        text += "parametr" + QByteArray::number(s) + "=" + values.at(s - 1) + "\r\n";
    return text + "wybor1=" + port + "\r\nwybor2=" + speed + "\r\nzestaw=" + set + "\r\n";
}

// A note's text with its lines run together.
std::string flowing(std::string text)
{
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

QStringList toStringList(const std::vector<std::string> &texts)
{
    QStringList list;
    for (const std::string &text : texts)
        list << QString::fromStdString(text);
    return list;
}

} // namespace

void tst_MainWindowLogic::init()
{
    m_f = std::make_unique<WindowFixture>(WindowFixture::Folder::Empty);
    QVERIFY(m_f->folder.isValid());
}

void tst_MainWindowLogic::cleanup()
{
    m_f.reset();
}

void tst_MainWindowLogic::writeFile(const QString &name, const QByteArray &utf8Text)
{
    const std::string bytes = utf8ToCp1250(utf8Text.toStdString());
    QFile file(m_f->folder.pathOf(name.toStdString()));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes.data(), qint64(bytes.size())), qint64(bytes.size()));
}

MainWindowLogic &tst_MainWindowLogic::start()
{
    m_f->main.load();
    return m_f->main;
}

// One character per slot: '1' shown, '0' hidden, 'x' when its four controls disagree.
QString tst_MainWindowLogic::visibleSlots() const
{
    QString shown;
    for (int k = 0; k < 8; ++k) {
        const bool name = m_f->main.parameterName(k).visible;
        const bool agree = m_f->main.entry(k).visible == name &&
                           m_f->main.upperDescription(k).visible == name &&
                           m_f->main.lowerDescription(k).visible == name;
        shown += !agree ? 'x' : name ? '1' : '0';
    }
    return shown;
}

void tst_MainWindowLogic::firstStartInEmptyDirectory()
{
    MainWindowLogic &w = start();
    QCOMPARE(w.title(), std::string("Dravix"));
    QCOMPARE(w.modelHeading(), std::string("MODEL URZĄDZENIA: ???"));
    QVERIFY(w.optionSelected(1));
    QVERIFY(!w.optionSelected(2));
    QCOMPARE(int(w.state().ActiveSet), 0);
    QCOMPARE(visibleSlots(), QString("00000000"));
    QVERIFY(w.portInfoVisible());
    QCOMPARE(int(w.state().PortAvailable), 0);
    QVERIFY(w.ports().entries.empty());
    QVERIFY(w.lineSettings().entries.empty());
    QCOMPARE(w.ports().selected, -1);
    QCOMPARE(w.lineSettings().selected, -1);
    for (int k = 0; k < 8; ++k) {
        QCOMPARE(w.entry(k).text, std::string("0"));
        QCOMPARE(w.entry(k).background, kEntryAccepted);
        QCOMPARE(w.parameterName(k).caption, std::string("Nazwa parametru:"));
        QCOMPARE(w.upperDescription(k).caption, std::string("Opis parametru 1"));
        QCOMPARE(w.lowerDescription(k).caption, std::string("Opis parametru 2"));
    }
    QCOMPARE(int(w.state().InvalidEntries), 0);
    QVERIFY(m_f->platform.armed.empty());
    QVERIFY(m_f->platform.messages.empty());

    // With every entry valid, only the missing port refuses a write.
    w.clickWrite();
    QCOMPARE(m_f->platform.messages, std::vector<std::string>{OutcomeMessages::kPortUnavailable});
    QVERIFY(m_f->port.written.empty());
}

void tst_MainWindowLogic::startUp_data()
{
    QTest::addColumn<QString>("sessionName");
    QTest::addColumn<QByteArray>("sessionText");
    QTest::addColumn<QByteArray>("descriptionText"); // empty: no abc.set
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("headingFromDescription");
    QTest::addColumn<int>("portSelected");
    QTest::addColumn<int>("speedSelected");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("optionSelected");
    QTest::addColumn<int>("activeSet");
    QTest::addColumn<QString>("values");
    QTest::addColumn<int>("invalidEntries");

    // Slot 6 has the range -10..10; all others 0..100.
    QTest::newRow("state and description, set 2")
        << "sesja.dat" << session("2", "0", "1", "1234567x") << description() << "Dravix - abc.set"
        << true << 0 << 1 << "00001111" << 2 << 2 << "1234567x" << 0x80;
    QTest::newRow("state and description, set 1")
        << "sesja.dat" << session("1", "1", "0") << description("10111111") << "Dravix - abc.set"
        << true << 1 << 0 << "10110000" << 1 << 1 << "10345678" << 0;
    QTest::newRow("description absent")
        << "sesja.dat" << session("2", "0", "1", "01234567") << QByteArray() << "Dravix - abc.set"
        << false << -1 << -1 << "00000000" << 2 << 2 << "01234567" << 0xFE;
    QTest::newRow("state file in upper case")
        << "SESJA.DAT" << session("2") << description() << "Dravix" << false << -1 << -1
        << "00000000" << 1 << 0 << "00000000" << 0;
    QTest::newRow("state file with capital S")
        << "Sesja.dat" << session("2") << description() << "Dravix" << false << -1 << -1
        << "00000000" << 1 << 0 << "00000000" << 0;
    QTest::newRow("saved positions beyond the lists")
        << "sesja.dat" << session("1", "2", "7") << description() << "Dravix - abc.set" << true
        << -1 << -1 << "11110000" << 1 << 1 << "12345678" << 0;
    QTest::newRow("saved positions negative")
        << "sesja.dat" << session("1", "-1", "-5") << description() << "Dravix - abc.set" << true
        << -1 << -1 << "11110000" << 1 << 1 << "12345678" << 0;
    QTest::newRow("description value read last")
        << "sesja.dat" << session("1") << description("11111111", "parametr2=150\r\n")
        << "Dravix - abc.set" << true << 0 << 1 << "11110000" << 1 << 1 << "1(150)345678" << 0x02;
    QTest::newRow("list entries of the state file dropped")
        << "sesja.dat"
        << session("1", "0", "1", "12345678", "dodajport=9\r\ndodajparam=300,n,8,1\r\n")
        << description() << "Dravix - abc.set" << true << 0 << 1 << "11110000" << 1 << 1
        << "12345678" << 0;
    QTest::newRow("set value neither 1 nor 2")
        << "sesja.dat" << session("3") << description() << "Dravix - abc.set" << true << 0 << 1
        << "11110000" << 1 << 1 << "12345678" << 0;
}

void tst_MainWindowLogic::startUp()
{
    QFETCH(QString, sessionName);
    QFETCH(QByteArray, sessionText);
    QFETCH(QByteArray, descriptionText);
    QFETCH(QString, title);
    QFETCH(bool, headingFromDescription);
    QFETCH(int, portSelected);
    QFETCH(int, speedSelected);
    QFETCH(QString, shown);
    QFETCH(int, optionSelected);
    QFETCH(int, activeSet);
    QFETCH(QString, values);
    QFETCH(int, invalidEntries);

    writeFile(sessionName, sessionText);
    if (!descriptionText.isEmpty())
        writeFile("abc.set", descriptionText);
    MainWindowLogic &w = start();

    QCOMPARE(QString::fromStdString(w.title()), title);
    QCOMPARE(QString::fromStdString(w.modelHeading()), headingFromDescription
                                                           ? QString("REGULATOR RT-8 – PIEC GŁÓWNY")
                                                           : QString("MODEL URZĄDZENIA: ???"));
    const bool listsFilled = headingFromDescription;
    QCOMPARE(toStringList(w.ports().entries),
             (listsFilled ? QStringList{"1", "2"} : QStringList{}));
    QCOMPARE(toStringList(w.lineSettings().entries),
             (listsFilled ? QStringList{"9600,n,8,1", "19200,e,8,1"} : QStringList{}));
    QCOMPARE(w.ports().selected, portSelected);
    QCOMPARE(w.lineSettings().selected, speedSelected);
    QCOMPARE(visibleSlots(), shown);
    QCOMPARE(w.optionSelected(optionSelected), true);
    QCOMPARE(w.optionSelected(3 - optionSelected), false);
    QCOMPARE(int(w.state().ActiveSet), activeSet);
    QCOMPARE(int(w.state().DeviceCode), listsFilled ? 0x1F : 0);

    QStringList texts;
    for (int k = 0; k < 8; ++k) {
        const QString text = QString::fromStdString(w.entry(k).text);
        texts << (text.size() == 1 ? text : "(" + text + ")");
        const bool rejected = invalidEntries & (1 << k);
        QCOMPARE(w.entry(k).background, rejected ? kEntryRejected : kEntryAccepted);
    }
    QCOMPARE(texts.join(""), values);
    QCOMPARE(int(w.state().InvalidEntries), invalidEntries);

    // Selecting the saved port tests it before the line settings are selected; the last
    // step of the start-up tests it again with both selections in place.
    const bool portChosen = portSelected >= 0;
    QCOMPARE(int(w.state().PortAvailable), portChosen ? 1 : 0);
    QCOMPARE(w.portInfoVisible(), !portChosen);
    const QStringList settings{"", speedSelected == 0 ? "9600,n,8,1" : "19200,e,8,1"};
    QCOMPARE(toStringList(m_f->port.openedSettings), portChosen ? settings : QStringList{});
    QCOMPARE(m_f->port.openedNumbers,
             portChosen ? std::vector<int>(2, portSelected + 1) : std::vector<int>{});
    QVERIFY(!m_f->port.isOpen);
    QVERIFY(m_f->platform.messages.empty());
}

void tst_MainWindowLogic::descriptionTextsInWindows1250()
{
    // Bytes as a Windows-1250 editor stores them.
    QFile file(m_f->folder.pathOf("abc.set"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(
        "tytul=CI\x8cNIENIOMIERZ\r\nnazwa1= Ci\x9cnienie\r\nopisgora1=zakres 0\x96\x31\x30\r\n"
        "opisdol1=[\xb9\xea]\r\naktywny1=1\r\n");
    file.close();
    writeFile("sesja.dat", session("1"));
    MainWindowLogic &w = start();
    QCOMPARE(w.modelHeading(), std::string("CIŚNIENIOMIERZ"));
    QCOMPARE(w.parameterName(0).caption, std::string(" Ciśnienie"));
    QCOMPARE(w.upperDescription(0).caption, std::string("zakres 0–10"));
    QCOMPARE(w.lowerDescription(0).caption, std::string("[ąę]"));
    QCOMPARE(visibleSlots(), QString("10000000"));
}

void tst_MainWindowLogic::gridPositions_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("nameTop");
    QTest::addColumn<int>("entryTop");
    QTest::addColumn<int>("upperTop");
    QTest::addColumn<int>("lowerTop");

    QTest::newRow("row 0") << 0 << 1110 << 1374 << 1434 << 1698;
    QTest::newRow("row 1") << 1 << 2130 << 2394 << 2454 << 2718;
    QTest::newRow("row 2") << 2 << 3150 << 3414 << 3474 << 3738;
    QTest::newRow("row 3") << 3 << 4170 << 4434 << 4494 << 4758;
}

void tst_MainWindowLogic::gridPositions()
{
    QFETCH(int, row);
    QFETCH(int, nameTop);
    QFETCH(int, entryTop);
    QFETCH(int, upperTop);
    QFETCH(int, lowerTop);

    writeFile("sesja.dat", session("2"));
    writeFile("abc.set", description());
    MainWindowLogic &w = start();
    for (const int k : {row, row + 4}) {
        QCOMPARE(w.parameterName(k).geometry, (Rect{360, nameTop, 1875, 240}));
        QCOMPARE(w.entry(k).geometry, (Rect{360, entryTop, 1100, 360}));
        QCOMPARE(w.upperDescription(k).geometry, (Rect{1560, upperTop, 1785, 240}));
        QCOMPARE(w.lowerDescription(k).geometry, (Rect{1560, lowerTop, 1785, 240}));
    }
}

void tst_MainWindowLogic::setSwitch_data()
{
    QTest::addColumn<QByteArray>("inUse");
    QTest::addColumn<QByteArray>("set");
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<QString>("shown");

    QTest::newRow("set 1, slot 2 unused")
        << QByteArray("10111111") << QByteArray("1") << QList<int>{} << "10110000";
    QTest::newRow("set 2, shown 5 and 7 unused")
        << QByteArray("11110101") << QByteArray("2") << QList<int>{} << "00000101";
    QTest::newRow("click set 2") << QByteArray("10111111") << QByteArray("1") << QList<int>{2}
                                 << "00001111";
    QTest::newRow("click set 2 then 1")
        << QByteArray("10111101") << QByteArray("1") << QList<int>{2, 1} << "10110000";
    QTest::newRow("click the selected set")
        << QByteArray("11111111") << QByteArray("2") << QList<int>{2} << "00001111";
    QTest::newRow("nothing in use")
        << QByteArray("00000000") << QByteArray("2") << QList<int>{1, 2} << "00000000";
}

void tst_MainWindowLogic::setSwitch()
{
    QFETCH(QByteArray, inUse);
    QFETCH(QByteArray, set);
    QFETCH(QList<int>, clicks);
    QFETCH(QString, shown);

    writeFile("sesja.dat", session(set));
    writeFile("abc.set", description(inUse));
    MainWindowLogic &w = start();
    for (const int option : clicks)
        w.clickOption(option);
    const int expectedSet = clicks.isEmpty() ? set.toInt() : clicks.last();
    QCOMPARE(int(w.state().ActiveSet), expectedSet);
    QCOMPARE(w.optionSelected(expectedSet), true);
    QCOMPARE(w.optionSelected(3 - expectedSet), false);
    QCOMPARE(visibleSlots(), shown);
}

void tst_MainWindowLogic::inactiveSlotKeepsItsVisibility()
{
    writeFile("sesja.dat", session("1"));
    writeFile("abc.set", description("11111111"));
    writeFile("b.set", description("10111111"));
    MainWindowLogic &w = start();
    QCOMPARE(visibleSlots(), QString("11110000"));

    w.clickChooser();
    const auto &files = w.chooser().files().entries;
    const auto chosen = std::find(files.begin(), files.end(), "b.set");
    QVERIFY(chosen != files.end());
    w.chooser().doubleClick(int(chosen - files.begin()));

    QCOMPARE(int(w.state().ParamActive[1]), 0);
    QCOMPARE(visibleSlots(), QString("11110000"));
    QCOMPARE(w.entry(1).text, std::string("0"));
    QCOMPARE(w.title(), std::string("Dravix - abc.set"));

    w.clickOption(2);
    QCOMPARE(visibleSlots(), QString("00001111"));
    w.clickOption(1);
    QCOMPARE(visibleSlots(), QString("10110000"));
}

void tst_MainWindowLogic::validation_data()
{
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("0..100: 0") << 0 << 100 << "." << QByteArray("0") << true;
    QTest::newRow("0..100: 100") << 0 << 100 << "." << QByteArray("100") << true;
    QTest::newRow("0..100: 101") << 0 << 100 << "." << QByteArray("101") << false;
    QTest::newRow("0..100: -1") << 0 << 100 << "." << QByteArray("-1") << false;
    QTest::newRow("0..100: 100.5") << 0 << 100 << "." << QByteArray("100.5") << false;
    QTest::newRow("0..100: 100.4 rounds to a bound")
        << 0 << 100 << "." << QByteArray("100.4") << false;
    QTest::newRow("0..100: 50.7") << 0 << 100 << "." << QByteArray("50.7") << true;
    QTest::newRow("0..100: 1e2") << 0 << 100 << "." << QByteArray("1e2") << true;
    QTest::newRow("0..100: 1e3") << 0 << 100 << "." << QByteArray("1e3") << false;
    QTest::newRow("0..100: 7 with blanks") << 0 << 100 << "." << QByteArray(" 7\t") << true;
    QTest::newRow("0..100: empty") << 0 << 100 << "." << QByteArray("") << false;
    QTest::newRow("0..100: minus") << 0 << 100 << "." << QByteArray("-") << false;
    QTest::newRow("0..100: plus") << 0 << 100 << "." << QByteArray("+") << false;
    QTest::newRow("0..100: word") << 0 << 100 << "." << QByteArray("dziesięć") << false;
    QTest::newRow("0..100: 5x") << 0 << 100 << "." << QByteArray("5x") << false;
    QTest::newRow("0..100: &H10") << 0 << 100 << "." << QByteArray("&H10") << false;
    QTest::newRow("-10..10: -10") << -10 << 10 << "." << QByteArray("-10") << true;
    QTest::newRow("-10..10: -10.2") << -10 << 10 << "." << QByteArray("-10.2") << false;
    QTest::newRow("-10..10: 10") << -10 << 10 << "." << QByteArray("10") << true;
    QTest::newRow("0..0: 0") << 0 << 0 << "." << QByteArray("0") << true;
    QTest::newRow("0..0: 1") << 0 << 0 << "." << QByteArray("1") << false;
    QTest::newRow("0..0: -0.4") << 0 << 0 << "." << QByteArray("-0.4") << false;
    QTest::newRow("10..5: 7") << 10 << 5 << "." << QByteArray("7") << false;
    QTest::newRow("10..5: 10") << 10 << 5 << "." << QByteArray("10") << false;
    QTest::newRow("10..5: 5") << 10 << 5 << "." << QByteArray("5") << false;
    QTest::newRow("comma: 1,5 judged as 1") << 0 << 100 << "," << QByteArray("1,5") << true;
    QTest::newRow("comma: 1.5") << 0 << 100 << "," << QByteArray("1.5") << false;
    QTest::newRow("comma: 100,5 judged as 100") << 0 << 100 << "," << QByteArray("100,5") << true;
    QTest::newRow("comma: 101,5") << 0 << 100 << "," << QByteArray("101,5") << false;
    QTest::newRow("comma: -10,2 judged as -10") << -10 << 10 << "," << QByteArray("-10,2") << true;
}

void tst_MainWindowLogic::validation()
{
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(QString, separator);
    QFETCH(QByteArray, text);
    QFETCH(bool, accepted);

    m_f->platform.separator = separator.toStdString();
    MainWindowLogic &w = start();
    // Slot 1 rejected beforehand: its bit must survive the judgement of slot 4.
    w.editEntry(0, "1");
    w.state().RangeMin[3] = std::int16_t(min);
    w.state().RangeMax[3] = std::int16_t(max);
    w.editEntry(3, text.toStdString());

    QCOMPARE(w.entry(3).text, text.toStdString());
    QCOMPARE(w.entry(3).background, accepted ? kEntryAccepted : kEntryRejected);
    QCOMPARE(int(w.state().InvalidEntries), accepted ? 0x01 : 0x09);
    QVERIFY(m_f->platform.messages.empty());
}

void tst_MainWindowLogic::colourFollowsEachKeystroke()
{
    MainWindowLogic &w = start();
    w.state().RangeMin[2] = 10;
    w.state().RangeMax[2] = 100;
    const struct
    {
        const char *text;
        bool accepted;
    } keystrokes[] = {{"1", false}, {"12", true}, {"120", false}, {"12", true}, {"", false}};
    for (const auto &stroke : keystrokes) {
        w.editEntry(2, stroke.text);
        QCOMPARE(w.entry(2).background, stroke.accepted ? kEntryAccepted : kEntryRejected);
        QCOMPARE(int(w.state().InvalidEntries), stroke.accepted ? 0 : 0x04);
    }
}

void tst_MainWindowLogic::sameTextIsJudgedAgain()
{
    MainWindowLogic &w = start();
    w.state().RangeMax[7] = 100;
    w.editEntry(7, "50");
    QCOMPARE(w.entry(7).background, kEntryAccepted);
    w.state().RangeMax[7] = 10;
    w.editEntry(7, "50");
    QCOMPARE(w.entry(7).background, kEntryRejected);
    QCOMPARE(int(w.state().InvalidEntries), 0x80);
}

void tst_MainWindowLogic::newDescriptionJudgesEveryEntry()
{
    writeFile("sesja.dat", session("1", "0", "1", "00000000"));
    writeFile("abc.set", description());
    writeFile("b.set", description("11111111", "zakresmin3=5\r\nzakresmax3=9\r\n"
                                               "zakresmin8=-20\r\nzakresmax8=-1\r\n"));
    MainWindowLogic &w = start();
    QCOMPARE(int(w.state().InvalidEntries), 0);

    w.clickChooser();
    const auto &files = w.chooser().files().entries;
    const auto chosen = std::find(files.begin(), files.end(), "b.set");
    QVERIFY(chosen != files.end());
    w.chooser().doubleClick(int(chosen - files.begin()));

    for (int k = 0; k < 8; ++k)
        QCOMPARE(w.entry(k).text, std::string("0"));
    QCOMPARE(w.entry(2).background, kEntryRejected);
    QCOMPARE(w.entry(7).background, kEntryRejected);
    QCOMPARE(int(w.state().InvalidEntries), 0x84);
}

void tst_MainWindowLogic::hiddenRejectedEntryBlocksWrite()
{
    writeFile("sesja.dat", session("1", "0", "0", "12345x78"));
    writeFile("abc.set", description());
    MainWindowLogic &w = start();
    QCOMPARE(int(w.state().PortAvailable), 1);
    QCOMPARE(int(w.state().InvalidEntries), 0x20);
    QVERIFY(!w.entry(5).visible);
    QCOMPARE(w.entry(5).background, kEntryRejected);

    w.clickWrite();
    QCOMPARE(m_f->platform.messages, std::vector<std::string>{OutcomeMessages::kInvalidValues});
    QVERIFY(m_f->port.written.empty());
    QVERIFY(m_f->platform.armed.empty());

    w.clickOption(2);
    QVERIFY(w.entry(5).visible);
    QCOMPARE(w.entry(5).background, kEntryRejected);
}

void tst_MainWindowLogic::portNotes()
{
    writeFile("sesja.dat", session("1", "0", "0"));
    writeFile("abc.set", description("11111111", "dodajport=COM3\r\n"));
    m_f->port.portSystem.devices = {"/dev/ttyS0", "/dev/ttyS1"};
    MainWindowLogic &w = start();
    const std::string opened1 = "Port 1: /dev/ttyS0\nOtwarty poprawnie: /dev/ttyS0.";
    QCOMPARE(w.portInfoToolTip(), opened1);
    QCOMPARE(toStringList(w.portEntryToolTips()),
             (QStringList{"Port 1: /dev/ttyS0", "Port 2: /dev/ttyS1",
                          "Wpis nie zaczyna się od numeru portu: nie otwiera nic."}));
    QCOMPARE(w.portListToolTip(), opened1);

    // Each port test tells anew what every entry opens now, and why the chosen one failed.
    m_f->port.opens = false;
    m_f->port.portSystem.devices = {"/dev/ttyS0"};
    w.choosePort(1);
    QVERIFY(w.portInfoVisible());
    const std::string missing2 = "Port 2: /dev/ttyS1\n";
    QVERIFY(w.portInfoToolTip().starts_with(missing2));
    QCOMPARE(toStringList(w.portEntryToolTips()),
             (QStringList{"Port 1: /dev/ttyS0", "Port 2: /dev/ttyS1 (nie istnieje)",
                          "Wpis nie zaczyna się od numeru portu: nie otwiera nic."}));
    QCOMPARE(w.portListToolTip(), w.portInfoToolTip());
    // An entry without a number tests nothing: the list tells what it opens, not the old note.
    w.choosePort(2);
    QVERIFY(w.portInfoToolTip().starts_with(missing2));
    QCOMPARE(w.portListToolTip(), "Wpis nie zaczyna się od numeru portu: nie otwiera nic.");

    // A port that fails at the start of an exchange tells why as well, on the port and on the
    // button.
    m_f->port.opens = true;
    w.choosePort(0);
    QVERIFY(!w.portInfoVisible());
    QCOMPARE(w.portInfoToolTip(), opened1);
    m_f->port.opens = false;
    w.clickRead();
    QCOMPARE(m_f->platform.messages, std::vector<std::string>{OutcomeMessages::kPortUnavailable});
    QVERIFY(w.portInfoVisible());
    QVERIFY(w.portInfoToolTip().starts_with("Port 1: /dev/ttyS0\n"));
    QVERIFY(w.portInfoToolTip() != opened1);
    QVERIFY(w.readToolTip().find("Nie wysłano nic: port się nie otworzył.\nPort 1: /dev/ttyS0") !=
            std::string::npos);
    QVERIFY(w.writeToolTip().empty());

    // Another description brings its own entries with theirs.
    writeFile("xyz.set", "dodajport=7\r\n");
    w.emptyListsAndTestPort();
    w.readKeyValueFile("xyz.set");
    QCOMPARE(toStringList(w.portEntryToolTips()), QStringList{"Port 7: /dev/ttyS6 (nie istnieje)"});
    QCOMPARE(w.portListToolTip(), std::string());
}

void tst_MainWindowLogic::exchangeNotesOnTheButtons()
{
    writeFile("sesja.dat", session("1", "0", "0"));
    writeFile("abc.set", description());
    MainWindowLogic &w = start();
    m_f->port.reply = buildShortFrame(0x1F, 0x10);
    w.clickWrite();
    w.timerFired(ExchangeTimer::Timer1);
    QCOMPARE(m_f->platform.messages, std::vector<std::string>{OutcomeMessages::kWriteDone});
    QVERIFY2(flowing(w.writeToolTip())
                     .find("Wynik: urządzenie przyjęło zapisane wartości: 1, 2, 3, 4, 5, 6, 7, "
                           "8.") != std::string::npos,
             w.writeToolTip().c_str());
    QVERIFY(w.readToolTip().empty());

    m_f->port.reply = buildLongFrame(0x1E, 0x03, {});
    w.clickRead();
    w.timerFired(ExchangeTimer::Timer2);
    QVERIFY2(flowing(w.readToolTip())
                     .find("urządzenie o kodzie 1E, a opis urządzenia abc.set ma ID=1F") !=
                 std::string::npos,
             w.readToolTip().c_str());
    QVERIFY(w.writeToolTip().find("przyjęło") != std::string::npos);

    // The read's note names the entries it changed by their captions.
    m_f->port.reply = buildLongFrame(0x1F, 0x03, {1, 20, 3, 4, 5, 60, 7, 8});
    w.clickRead();
    w.timerFired(ExchangeTimer::Timer2);
    QVERIFY2(w.readToolTip().ends_with("\nOdczyt zmienił:\nParametr 2: 2 → 20\nParametr 6: 6 → 60"),
             w.readToolTip().c_str());
}

void tst_MainWindowLogic::portFollowsItsDevice_data()
{
    QTest::addColumn<bool>("link"); // through a COM1 entry of the folder, else /dev/ttyS0
    QTest::newRow("adapter of a built-in port") << false;
    QTest::newRow("link made in the folder") << true;
}

void tst_MainWindowLogic::portFollowsItsDevice()
{
    QFETCH(bool, link);
    writeFile("sesja.dat", session("1", "0", "0"));
    writeFile("abc.set", description());
    m_f->port.opens = false;
    MainWindowLogic &w = start();
    QCOMPARE(w.state().PortAvailable, 0);
    QCOMPARE(w.portWatchFolders(), std::vector<std::string>{"/dev"});
    const std::size_t tests = m_f->port.openedNumbers.size();

    // A change elsewhere tests nothing.
    w.portSystemChanged();
    QCOMPARE(m_f->port.openedNumbers.size(), tests);

    // An adapter plugged in that gives no port: tested anew, the note begins with it and
    // tells why.
    PortlessAdapter taken;
    taken.vendorId = "1a86";
    taken.productId = "7523";
    taken.driver = "usbfs";
    taken.brailleService = "brltty (PID 812)";
    taken.problemCode = 10; // as Windows would report it
#ifdef Q_OS_WIN
    const std::string why = "Nie można uruchomić tego urządzenia. (Kod 10).\n";
#else
    const std::string why = "przejęła go usługa brajlowska brltty.\n";
#endif
    m_f->port.portSystem.portless = {taken};
    w.portSystemChanged();
    QCOMPARE(m_f->port.openedNumbers.size(), tests + 1);
    QVERIFY2(w.portInfoToolTip().starts_with(
                 "Zmiana: podłączono adapter USB 1a86:7523 bez portu: " + why),
             w.portInfoToolTip().c_str());
    m_f->port.portSystem.portless.clear();
    w.portSystemChanged();

    // The device appears: the port is tested anew, and the note says why.
    m_f->port.opens = true;
    if (link) {
        m_f->port.folderEntries.insert(1);
        m_f->port.portSystem.links["/praca/COM1"] = "/dev/pts/4";
        m_f->port.portSystem.devices.insert("/dev/pts/4");
    } else {
        m_f->port.portSystem.devices.insert("/dev/ttyS0");
    }
    w.portSystemChanged();
    QCOMPARE(m_f->port.openedNumbers.size(), tests + 3);
    QCOMPARE(w.state().PortAvailable, 1);
    QVERIFY(!w.portInfoVisible());
    QVERIFY2(w.portInfoToolTip().starts_with(
                 link ? "Zmiana: w folderze roboczym pojawiło się łącze COM1 → /dev/pts/4.\n"
                      : "Zmiana: pojawiło się urządzenie /dev/ttyS0 (adapter podłączony).\n"),
             w.portInfoToolTip().c_str());

    // Never during an exchange: after it.
    w.clickRead();
    m_f->port.opens = false;
    m_f->port.folderEntries.clear();
    m_f->port.portSystem.devices.clear();
    w.portSystemChanged();
    QCOMPARE(w.state().PortAvailable, 1);
    QCOMPARE(m_f->port.openedNumbers.size(), tests + 4);
    w.timerFired(ExchangeTimer::Timer2);
    QCOMPARE(m_f->port.openedNumbers.size(), tests + 5);
    QCOMPARE(w.state().PortAvailable, 0);
    QVERIFY(w.portInfoVisible());
    QVERIFY2(w.portInfoToolTip().starts_with(link ? "Zmiana: łącze COM1 zniknęło"
                                                  : "Zmiana: zniknęło urządzenie /dev/ttyS0"),
             w.portInfoToolTip().c_str());

    // A port chosen by the user says nothing of changes.
    w.choosePort(0);
    QVERIFY(w.portInfoToolTip().starts_with("Port 1: /dev/ttyS0\n"));

    // The device goes during a read: one message, and the port is tested anew at once, so
    // that the next read is refused before anything is sent.
    m_f->port.opens = true;
    w.choosePort(0);
    QCOMPARE(w.state().PortAvailable, 1);
    w.clickRead();
    m_f->port.lost = PortLoss{std::chrono::milliseconds(60), "Device disappeared"};
    m_f->port.opens = false;
    w.timerFired(ExchangeTimer::Timer2);
    QCOMPARE(m_f->platform.messages.back(), std::string(OutcomeMessages::kNoReply));
    QCOMPARE(w.state().PortAvailable, 0);
    QVERIFY(w.portInfoVisible());
    QVERIFY2(w.portInfoToolTip().starts_with(
                 "Zmiana: urządzenie portu 1 zniknęło w trakcie odczytu danych.\n"),
             w.portInfoToolTip().c_str());
    QVERIFY(flowing(w.readToolTip()).find("Wynik: urządzenie zniknęło") != std::string::npos);
    const std::size_t messages = m_f->platform.messages.size();
    w.clickRead();
    QCOMPARE(m_f->platform.messages.size(), messages + 1);
    QCOMPARE(m_f->platform.messages.back(), std::string(OutcomeMessages::kPortUnavailable));
}

void tst_MainWindowLogic::entryAccessibleTexts_data()
{
    QTest::addColumn<QByteArray>("slot"); // nazwa, opisgora, opisdol, zakresmin, zakresmax
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");

    const QByteArray regulator = "Korekta czujnika:|przesunięcie|zakres -50 ... 50|-50|50";
    QTest::newRow("accepted") << regulator << QByteArray("-3") << "."
                              << "Korekta czujnika"
                              << "przesunięcie. zakres -50 ... 50. Zakres -50…50.";
    QTest::newRow("beyond the range")
        << regulator << QByteArray("-75") << "."
        << "Korekta czujnika"
        << "Wartość poza zakresem -50…50. przesunięcie. zakres -50 ... 50.";
    QTest::newRow("digits and a letter")
        << regulator << QByteArray("5x") << "."
        << "Korekta czujnika"
        << "Wartość nie jest liczbą. przesunięcie. zakres -50 ... 50. Zakres -50…50.";
    QTest::newRow("a point where the locale has a comma")
        << regulator << QByteArray("1.5") << ","
        << "Korekta czujnika"
        << "Wartość nie jest liczbą. przesunięcie. zakres -50 ... 50. Zakres -50…50.";
    QTest::newRow("no description lines")
        << QByteArray("Adres w sieci:|||1|247") << QByteArray("0") << "."
        << "Adres w sieci"
        << "Wartość poza zakresem 1…247.";
    QTest::newRow("lines that end as sentences")
        << QByteArray("Uwaga:|nie zmieniać!|tylko serwis.|0|9") << QByteArray("3") << "."
        << "Uwaga"
        << "nie zmieniać! tylko serwis. Zakres 0…9.";
    QTest::newRow("blanks around, a colon after a blank")
        << QByteArray(" Czas : |  s  |min|0|5") << QByteArray("6") << "."
        << "Czas"
        << "Wartość poza zakresem 0…5. s. min.";
    QTest::newRow("a colon inside the name stays")
        << QByteArray("Czas: start|a|b|0|5") << QByteArray("1") << "."
        << "Czas: start"
        << "a. b. Zakres 0…5.";
    QTest::newRow("bounds reversed") << QByteArray("Próg:|a|b|10|5") << QByteArray("7") << "."
                                     << "Próg"
                                     << "Wartość poza zakresem 10…5. a. b.";
}

void tst_MainWindowLogic::entryAccessibleTexts()
{
    QFETCH(QByteArray, slot);
    QFETCH(QByteArray, text);
    QFETCH(QString, separator);
    QFETCH(QString, name);
    QFETCH(QString, description);

    const QList<QByteArray> fields = slot.split('|');
    QCOMPARE(fields.size(), 5);
    writeFile("a.set", "nazwa3=" + fields[0] + "\r\nopisgora3=" + fields[1] +
                           "\r\nopisdol3=" + fields[2] + "\r\nzakresmin3=" + fields[3] +
                           "\r\nzakresmax3=" + fields[4] + "\r\n");
    m_f->platform.separator = separator.toStdString();
    MainWindowLogic &w = start();
    w.readKeyValueFile("a.set");
    // Slot 2 rejected as a number beyond its range, slot 3 as no number: each says its own.
    w.editEntry(1, "1");
    w.editEntry(3, "x");
    w.editEntry(2, text.toStdString());

    QCOMPARE(QString::fromStdString(AccessibleTexts::entryName(w, 2)), name);
    QCOMPARE(QString::fromStdString(AccessibleTexts::entryDescription(w, 2)), description);
    QCOMPARE(QString::fromStdString(AccessibleTexts::entryDescription(w, 1)),
             QStringLiteral("Wartość poza zakresem 0…0. Opis parametru 1. Opis parametru 2."));
    QCOMPARE(QString::fromStdString(AccessibleTexts::entryDescription(w, 3)),
             QStringLiteral("Wartość nie jest liczbą. Opis parametru 1. Opis parametru 2. "
                            "Zakres 0…0."));
}

void tst_MainWindowLogic::portListDescription_data()
{
    QTest::addColumn<int>("choose"); // -1: no port test
    QTest::addColumn<bool>("opens");
    QTest::addColumn<bool>("link"); // port 1 through a COM1 link of the folder
    QTest::addColumn<QString>("description");
    QTest::addColumn<bool>("noteComposed");

    QTest::newRow("nothing chosen yet") << -1 << true << false << "Port niedostępny!" << false;
    QTest::newRow("opened") << 0 << true << false << "Port dostępny." << false;
    QTest::newRow("refused") << 1 << false << false << "Port niedostępny! Port 2: /dev/ttyS1"
                             << true;
    QTest::newRow("refused, through a link")
        << 0 << false << true << "Port niedostępny! Port 1: COM1 → /dev/serial/by-id/usb-FTDI"
        << true;
}

void tst_MainWindowLogic::portListDescription()
{
    QFETCH(int, choose);
    QFETCH(bool, opens);
    QFETCH(bool, link);
    QFETCH(QString, description);
    QFETCH(bool, noteComposed);

    writeFile("a.set", "dodajport=1\r\ndodajport=2\r\n");
    MainWindowLogic &w = start();
    w.readKeyValueFile("a.set");
    m_f->port.opens = opens;
    if (opens) // a note of a port that opened lists the adapters too, to find its own
        m_f->port.portSystem.devices.insert("/dev/ttyS0");
    if (link) {
        m_f->port.folderEntries.insert(1);
        m_f->port.portSystem.links["/praca/COM1"] = "/dev/serial/by-id/usb-FTDI";
    }
    if (choose >= 0)
        w.choosePort(choose);
    const int listings = m_f->port.portSystem.adapterListings;
    QCOMPARE(QString::fromStdString(AccessibleTexts::portListDescription(w)), description);
    // Only a port that did not open is told with its note, which lists the adapters.
    QCOMPARE(m_f->port.portSystem.adapterListings > listings, noteComposed);
}

QTEST_APPLESS_MAIN(tst_MainWindowLogic)
#include "tst_mainwindowlogic.moc"
