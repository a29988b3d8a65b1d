#include "filesizelimit.h"
#include "outcomemessages.h"
#include "windowfixture.h"

#include "staterecord.h"

#include <QTest>

#include <memory>
#include <optional>

using namespace Dravix;

Q_DECLARE_METATYPE(std::string)

namespace {

const std::string kCannotWrite = OutcomeMessages::kCannotWrite;
const std::string kCannotDelete = OutcomeMessages::kCannotDelete;
const std::string kNotPresent = OutcomeMessages::kNotPresent;

std::vector<std::string> strings(std::initializer_list<const char *> texts)
{
    return {texts.begin(), texts.end()};
}

} // namespace

// Saving, loading and deleting value files, and the state file across a restart.
class tst_ValueFiles : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> m_f;

    // A value file written by hand, as another session of the program would have left it.
    void writeRecord(const std::string &name, const std::string &description,
                     const std::string &parametr6, int port, int speed, int set)
    {
        StateRecord record;
        record.descriptionFile = description;
        record.entries = {"500", "2000", "0", "0", "9", parametr6, "0", "0"};
        record.portIndex = port;
        record.speedIndex = speed;
        record.activeSet = set;
        QVERIFY(m_f->folder.writeBytes(name, formatStateRecord(record)));
    }

private slots:
    void init()
    {
        m_f = std::make_unique<WindowFixture>();
        QVERIFY(m_f->folder.isValid());
        m_f->main.load();
    }
    void cleanup() { m_f.reset(); }

    void savesTheRecordByteForByte()
    {
        m_f->chooseDescription("abc.set");
        m_f->setEntries({"10", "20", "0", "0", "5", "0", "0", "0"});
        m_f->main.choosePort(2);
        m_f->main.chooseLineSettings(0);
        m_f->typeName("abc");
        m_f->values().clickSave();

        QCOMPARE(*m_f->folder.bytes("abc.vq"),
                 std::string("konfig=abc.set\r\nparametr1=10\r\nparametr2=20\r\nparametr3=0\r\n"
                             "parametr4=0\r\nparametr5=5\r\nparametr6=0\r\nparametr7=0\r\n"
                             "parametr8=0\r\nwybor1=2\r\nwybor2=0\r\nzestaw= 1\r\n"));
        QVERIFY(m_f->platform.messages.empty());
        QVERIFY(m_f->values().isOpen());
        QCOMPARE(m_f->values().files().entries, strings({"abc.vq"}));
    }

    void namingRule_data()
    {
        QTest::addColumn<std::string>("typed");
        QTest::addColumn<std::string>("file");
        QTest::newRow("bare name") << std::string("abc") << std::string("abc.vq");
        QTest::newRow("with its extension") << std::string("abc.vq") << std::string("abc.vq");
        QTest::newRow("capital extension") << std::string("abc.VQ") << std::string("abc.VQ.vq");
    }
    void namingRule()
    {
        QFETCH(std::string, typed);
        QFETCH(std::string, file);
        m_f->typeName(typed);
        m_f->values().clickSave();
        QVERIFY(m_f->dir.isPresent(file));
        QCOMPARE(m_f->values().files().entries, std::vector<std::string>{file});
        QVERIFY(m_f->platform.messages.empty());
    }

    void savingReplacesWithoutQuestion()
    {
        m_f->chooseDescription("abc.set");
        m_f->main.editEntry(0, "10");
        m_f->typeName("abc");
        m_f->values().clickSave();
        m_f->main.editEntry(0, "42");
        m_f->values().editName("abc.vq");
        m_f->values().clickSave();

        QCOMPARE(*m_f->folder.bytes("abc.vq"), formatStateRecord(m_f->main.stateRecord()));
        QCOMPARE(m_f->values().files().entries, strings({"abc.vq"}));
        QVERIFY(m_f->platform.messages.empty());
    }

    void saveRefusals_data()
    {
        QTest::addColumn<std::string>("typed");
        QTest::addColumn<QString>("folderInTheWay");
        QTest::newRow("name longer than the file system allows")
            << std::string(300, 'n') << QString();
        QTest::newRow("a directory where the file should be")
            << std::string("abc") << QString("abc.vq");
        QTest::newRow("slash out of the folder") << std::string("../victim") << QString();
        QTest::newRow("slash into a subfolder") << std::string("sub/victim") << QString("sub");
        QTest::newRow("back slash") << std::string("..\\victim") << QString();
        QTest::newRow("dot") << std::string(".") << QString();
        QTest::newRow("dot dot") << std::string("..") << QString();
    }
    void saveRefusals()
    {
        QFETCH(std::string, typed);
        QFETCH(QString, folderInTheWay);
        if (!folderInTheWay.isEmpty())
            QVERIFY(m_f->folder.makeFolder(folderInTheWay.toStdString()));
        QVERIFY(m_f->folder.writeBytes("../victim.vq", "konfig=outside.set\r\n"));
        const QStringList before = m_f->folder.snapshot();

        m_f->typeName(typed);
        m_f->values().clickSave();

        QCOMPARE(m_f->platform.messages, std::vector<std::string>{kCannotWrite});
        QCOMPARE(m_f->folder.snapshot(), before);
        QVERIFY(m_f->values().isOpen());
    }

    void failedSaveKeepsTheOldFile()
    {
        if (!FileSizeLimit::kAvailable)
            QSKIP(kNoFileSizeLimit);
        m_f->chooseDescription("abc.set");
        m_f->typeName("abc");
        m_f->values().clickSave();
        m_f->main.editEntry(0, "99");
        const QStringList before = m_f->folder.snapshot();
        {
            const FileSizeLimit full(16);
            m_f->values().clickSave();
        }
        QCOMPARE(m_f->platform.messages, std::vector<std::string>{kCannotWrite});
        QCOMPARE(m_f->folder.snapshot(), before);
        QCOMPARE(m_f->values().files().entries, strings({"abc.vq"}));
    }

    void deletes()
    {
        m_f->typeName("abc");
        m_f->values().clickSave();
        m_f->values().editName("other");
        m_f->values().clickSave();
        m_f->values().editName("abc");
        m_f->values().clickDelete();

        QVERIFY(!m_f->folder.bytes("abc.vq"));
        QVERIFY(m_f->folder.bytes("other.vq"));
        QCOMPARE(m_f->values().nameText(), std::string());
        QVERIFY(!m_f->values().fileButtonsEnabled());
        QCOMPARE(m_f->values().files().entries, strings({"other.vq"}));
        QVERIFY(m_f->platform.messages.empty());
        QVERIFY(m_f->values().isOpen());
    }

    void deleteRefusals_data()
    {
        QTest::addColumn<std::string>("typed");
        QTest::newRow("no such file") << std::string("missing");
        QTest::newRow("only under another letter case") << std::string("Keep");
        QTest::newRow("a directory") << std::string("dir");
        QTest::newRow("slash out of the folder") << std::string("../victim");
        QTest::newRow("slash into a subfolder") << std::string("sub/victim");
        QTest::newRow("back slash") << std::string("..\\victim");
        QTest::newRow("dot dot, though ...vq exists") << std::string("..");
        QTest::newRow("dot, though ..vq exists") << std::string(".");
    }
    void deleteRefusals()
    {
        QFETCH(std::string, typed);
        for (const char *name : {"keep.vq", "...vq", "..vq", "../victim.vq", "sub/victim.vq"}) {
            QVERIFY(m_f->folder.makeFolder("sub"));
            QVERIFY(m_f->folder.writeBytes(name, "konfig=abc.set\r\n"));
        }
        QVERIFY(m_f->folder.makeFolder("dir.vq"));
        const QStringList before = m_f->folder.snapshot();
        m_f->typeName(typed);
        const std::vector<std::string> listed = m_f->values().files().entries;

        m_f->values().clickDelete();

        QCOMPARE(m_f->platform.messages, std::vector<std::string>{kCannotDelete});
        QCOMPARE(m_f->folder.snapshot(), before);
        QCOMPARE(m_f->values().nameText(), typed);
        QVERIFY(m_f->values().fileButtonsEnabled());
        QCOMPARE(m_f->values().files().entries, listed);
    }

    void loadRefusals_data()
    {
        QTest::addColumn<std::string>("typed");
        QTest::newRow("without its extension") << std::string("saved");
        QTest::newRow("another letter case") << std::string("SAVED.vq");
        QTest::newRow("slash out of the folder") << std::string("../victim.vq");
        QTest::newRow("back slash") << std::string("..\\victim.vq");
        QTest::newRow("a directory") << std::string("dir.vq");
        QTest::newRow("dot dot") << std::string("..");
    }
    void loadRefusals()
    {
        QFETCH(std::string, typed);
        writeRecord("saved.vq", "xyz.set", "0", 0, 0, 2);
        writeRecord("../victim.vq", "xyz.set", "0", 0, 0, 2);
        QVERIFY(m_f->folder.makeFolder("dir.vq"));
        m_f->chooseDescription("abc.set");
        const StateRecord before = m_f->main.stateRecord();

        m_f->typeName(typed);
        m_f->values().clickLoad();

        QCOMPARE(m_f->platform.messages, std::vector<std::string>{kNotPresent});
        QVERIFY(m_f->values().isOpen());
        QCOMPARE(m_f->main.stateRecord().descriptionFile, before.descriptionFile);
        QCOMPARE(m_f->main.stateRecord().entries, before.entries);
        QCOMPARE(m_f->main.modelHeading(), std::string("MODEL ABC"));
        QCOMPARE(m_f->main.title(), std::string("Dravix"));
    }

    void loadsAValueFileSavedWithAnotherDescription()
    {
        writeRecord("pomiar.vq", "xyz.set", "77", 1, 0, 2);
        m_f->chooseDescription("abc.set");
        m_f->main.clickValueFiles();
        m_f->values().clickEntry(WindowFixture::indexOf(m_f->values().files(), "pomiar.vq"));
        QCOMPARE(m_f->values().nameText(), std::string("pomiar.vq"));
        m_f->values().clickLoad();

        MainWindowLogic &main = m_f->main;
        QVERIFY(!m_f->values().isOpen());
        QVERIFY(m_f->platform.messages.empty());
        QCOMPARE(main.title(), std::string("Dravix - xyz.set"));
        QCOMPARE(main.modelHeading(), std::string("MODEL XYZ"));
        QCOMPARE(main.parameterName(0).caption, std::string("Napięcie"));
        QCOMPARE(main.state().RangeMax[1], std::int16_t(1000));
        QCOMPARE(main.state().DeviceCode, std::uint8_t(0x2A));
        QCOMPARE(main.ports().entries, strings({"7", "8"}));
        QCOMPARE(main.ports().selected, 1);
        QCOMPARE(main.lineSettings().entries, strings({"4800,n,8,1"}));
        QCOMPARE(main.lineSettings().selected, 0);
        QCOMPARE(main.state().PortNumber, std::int16_t(8));
        QCOMPARE(main.state().PortAvailable, std::int16_t(1));
        QVERIFY(main.optionSelected(2));
        QCOMPARE(main.state().ActiveSet, std::int16_t(2));
        QVERIFY(!main.entry(0).visible);
        QVERIFY(main.entry(4).visible);
        QCOMPARE(main.entry(5).text, std::string("0"));
        // Judged again against xyz's bounds: 500 was beyond abc's 100, 2000 is beyond xyz's 1000.
        QCOMPARE(main.entry(0).background, kEntryAccepted);
        QCOMPARE(main.entry(1).text, std::string("2000"));
        QCOMPARE(main.entry(1).background, kEntryRejected);
        QCOMPARE(main.state().InvalidEntries, std::uint16_t(1u << 1));
    }

    void loadShowsTheNewDescriptionsSlotsInTheSameSet()
    {
        // Set 1 before and after: only the set switch shows slots 3 and 4, which abc uses.
        writeRecord("pelny.vq", "abc.set", "0", 0, 0, 1);
        m_f->chooseDescription("xyz.set");
        QVERIFY(!m_f->main.entry(2).visible);
        m_f->main.clickValueFiles();
        m_f->typeName("pelny.vq");
        m_f->values().clickLoad();
        for (int k = 0; k < 8; ++k)
            QCOMPARE(m_f->main.entry(k).visible, k < 4);
    }

    void recordSetDecidesTheSetOnDisplay_data()
    {
        QTest::addColumn<int>("shownBefore");
        QTest::addColumn<int>("recordSet");
        QTest::addColumn<int>("shownAfter");
        QTest::addColumn<int>("activeAfter");
        QTest::newRow("set 2 over set 1") << 1 << 2 << 2 << 2;
        QTest::newRow("set 1 over set 2") << 2 << 1 << 1 << 1;
        QTest::newRow("set 3 keeps set 2 on display") << 2 << 3 << 2 << 1;
        QTest::newRow("set 0 keeps set 2 on display") << 2 << 0 << 2 << 1;
        QTest::newRow("set 3 keeps set 1 on display") << 1 << 3 << 1 << 1;
    }
    void recordSetDecidesTheSetOnDisplay()
    {
        QFETCH(int, shownBefore);
        QFETCH(int, recordSet);
        QFETCH(int, shownAfter);
        QFETCH(int, activeAfter);
        writeRecord("pomiar.vq", "abc.set", "0", 0, 0, recordSet);
        m_f->chooseDescription("xyz.set");
        m_f->main.clickOption(shownBefore);
        m_f->typeName("pomiar.vq");
        m_f->values().clickLoad();
        MainWindowLogic &main = m_f->main;
        QVERIFY(main.optionSelected(shownAfter));
        QVERIFY(!main.optionSelected(3 - shownAfter));
        QCOMPARE(main.state().ActiveSet, std::int16_t(activeAfter));
        // abc uses every slot: the set on display shows all four, the other none.
        for (int k = 0; k < 8; ++k)
            QCOMPARE(main.entry(k).visible, (k < 4) == (shownAfter == 1));
    }

    void hiddenValueFilesAreListed()
    {
        writeRecord(".ukryty.vq", "abc.set", "0", 0, 0, 1);
        writeRecord("jawny.vq", "abc.set", "0", 0, 0, 1);
        writeRecord(".ukryty.set", "abc.set", "0", 0, 0, 1);
        m_f->main.clickValueFiles();
        QCOMPARE(m_f->values().files().entries, strings({".ukryty.vq", "jawny.vq"}));
        m_f->values().clickEntry(0);
        QCOMPARE(m_f->values().nameText(), std::string(".ukryty.vq"));
        m_f->main.clickChooser();
        QCOMPARE(m_f->chooser().files().entries, strings({"abc.set", "xyz.set"}));
    }

    void slotNotInUseShowsZero_data()
    {
        QTest::addColumn<std::string>("description");
        QTest::addColumn<std::string>("shown");
        QTest::newRow("slot 6 not in use") << std::string("xyz.set") << std::string("0");
        QTest::newRow("slot 6 in use") << std::string("abc.set") << std::string("77");
    }
    void slotNotInUseShowsZero()
    {
        QFETCH(std::string, description);
        QFETCH(std::string, shown);
        writeRecord("pomiar.vq", description, "77", 0, 0, 2);
        m_f->typeName("pomiar.vq");
        m_f->values().clickLoad();
        QCOMPARE(m_f->main.entry(5).text, shown);
    }

    void savedPositions_data()
    {
        QTest::addColumn<int>("port");
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("portSelected");
        QTest::addColumn<int>("speedSelected");
        QTest::newRow("both within the lists") << 2 << 1 << 2 << 1;
        QTest::newRow("none saved") << -1 << -1 << -1 << -1;
        QTest::newRow("port at the end of its list") << 3 << 0 << -1 << 0;
        QTest::newRow("far beyond and below") << 300 << -5 << -1 << -1;
    }
    void savedPositions()
    {
        QFETCH(int, port);
        QFETCH(int, speed);
        QFETCH(int, portSelected);
        QFETCH(int, speedSelected);
        writeRecord("pomiar.vq", "abc.set", "0", port, speed, 1);
        m_f->main.clickValueFiles();
        m_f->values().doubleClickEntry(0);
        QCOMPARE(m_f->main.ports().entries.size(), std::size_t(3));
        QCOMPARE(m_f->main.ports().selected, portSelected);
        QCOMPARE(m_f->main.lineSettings().selected, speedSelected);
        QCOMPARE(m_f->main.state().PortAvailable, std::int16_t(portSelected >= 0 ? 1 : 0));
    }

    void recordNamingAMissingDescription()
    {
        m_f->chooseDescription("abc.set");
        writeRecord("pomiar.vq", "gone.set", "7", 1, 1, 2);
        m_f->typeName("pomiar.vq");
        m_f->values().clickLoad();
        QCOMPARE(m_f->main.title(), std::string("Dravix - gone.set"));
        QVERIFY(m_f->main.ports().entries.empty());
        QCOMPARE(m_f->main.ports().selected, -1);
        QCOMPARE(m_f->main.lineSettings().selected, -1);
        QCOMPARE(m_f->main.entry(5).text, std::string("7"));
        QCOMPARE(m_f->main.state().PortAvailable, std::int16_t(0));
    }

    void recordNamingAFileOutsideReadsNothing_data()
    {
        QTest::addColumn<std::string>("konfig");
        QTest::newRow("up and out") << std::string("../outside.set");
        QTest::newRow("into a subfolder") << std::string("sub/inner.set");
        QTest::newRow("back slash") << std::string("..\\outside.set");
    }
    void recordNamingAFileOutsideReadsNothing()
    {
        QFETCH(std::string, konfig);
        QVERIFY(m_f->folder.makeFolder("sub"));
        for (const char *path : {"../outside.set", "sub/inner.set"})
            QVERIFY(m_f->folder.writeText(path, "tytul=OUTSIDE\ndodajport=9\n"));
        writeRecord("pomiar.vq", konfig, "0", 0, 0, 1);
        m_f->typeName("pomiar.vq");
        m_f->values().clickLoad();
        QCOMPARE(m_f->main.modelHeading(), std::string("MODEL URZĄDZENIA: ???"));
        QVERIFY(m_f->main.ports().entries.empty());
        QCOMPARE(m_f->main.title(), "Dravix - " + konfig);
    }

    void saveThenLoadRestoresTheWork()
    {
        QVERIFY(m_f->folder.writeText("łódź.set", WindowFixture::kAbc));
        m_f->chooseDescription("łódź.set");
        m_f->setEntries({"1", "-2", "3.5", "4", "5", "6", "7", "8"});
        m_f->main.clickOption(2);
        m_f->main.choosePort(1);
        m_f->main.chooseLineSettings(1);
        const StateRecord saved = m_f->main.stateRecord();
        m_f->typeName("zapis");
        m_f->values().clickSave();
        QVERIFY(m_f->folder.bytes("zapis.vq")
                    ->starts_with("konfig=\xb3\xf3"
                                  "d\x9f.set\r\n"));

        m_f->chooseDescription("xyz.set");
        m_f->typeName("zapis.vq");
        m_f->values().clickLoad();

        const StateRecord loaded = m_f->main.stateRecord();
        QCOMPARE(loaded.descriptionFile, saved.descriptionFile);
        QCOMPARE(loaded.entries, saved.entries);
        QCOMPARE(loaded.portIndex, 1);
        QCOMPARE(loaded.speedIndex, 1);
        QCOMPARE(loaded.activeSet, 2);
        QCOMPARE(m_f->main.title(), std::string("Dravix - łódź.set"));
        QCOMPARE(m_f->main.state().InvalidEntries, std::uint16_t(0));
    }

    void stateFileCarriesTheWorkToTheNextStart()
    {
        m_f->chooseDescription("abc.set");
        m_f->setEntries({"10", "20", "0", "0", "5", "0", "0", "0"});
        m_f->main.clickOption(2);
        m_f->main.choosePort(2);
        m_f->main.chooseLineSettings(1);
        m_f->main.clickValueFiles();
        m_f->main.close();
        QVERIFY(!m_f->values().isOpen());
        QCOMPARE(*m_f->folder.bytes("sesja.dat"),
                 std::string("konfig=abc.set\r\nparametr1=10\r\nparametr2=20\r\nparametr3=0\r\n"
                             "parametr4=0\r\nparametr5=5\r\nparametr6=0\r\nparametr7=0\r\n"
                             "parametr8=0\r\nwybor1=2\r\nwybor2=1\r\nzestaw= 2\r\n"));

        WindowFixture::Run run(m_f->dir);
        MainWindowLogic &next = run.main;
        next.load();
        const StateRecord restored = next.stateRecord();
        QCOMPARE(restored.entries, m_f->main.stateRecord().entries);
        QCOMPARE(restored.portIndex, 2);
        QCOMPARE(restored.speedIndex, 1);
        QCOMPARE(restored.activeSet, 2);
        QCOMPARE(next.title(), std::string("Dravix - abc.set"));
        QCOMPARE(next.modelHeading(), std::string("MODEL ABC"));
        QVERIFY(next.entry(4).visible);
        QVERIFY(!next.entry(0).visible);
        QCOMPARE(next.state().PortAvailable, std::int16_t(1));
    }

    void failedShutDownKeepsTheOldStateFile_data()
    {
        QTest::addColumn<bool>("folderInTheWay");
        QTest::newRow("disk full") << false;
        QTest::newRow("a directory named sesja.dat") << true;
    }
    void failedShutDownKeepsTheOldStateFile()
    {
        QFETCH(bool, folderInTheWay);
        if (!folderInTheWay && !FileSizeLimit::kAvailable)
            QSKIP(kNoFileSizeLimit);
        if (folderInTheWay)
            QVERIFY(m_f->folder.makeFolder("sesja.dat"));
        else
            QVERIFY(m_f->folder.writeBytes("sesja.dat", "konfig=old.set\r\n"));
        m_f->chooseDescription("abc.set");
        m_f->main.clickValueFiles();
        const QStringList before = m_f->folder.snapshot();
        {
            std::optional<FileSizeLimit> full;
            if (!folderInTheWay)
                full.emplace(16);
            m_f->main.close();
        }
        QCOMPARE(m_f->platform.messages, std::vector<std::string>{kCannotWrite});
        QCOMPARE(m_f->folder.snapshot(), before);
        QVERIFY(!m_f->values().isOpen());
    }
};

QTEST_APPLESS_MAIN(tst_ValueFiles)
#include "tst_valuefiles.moc"
