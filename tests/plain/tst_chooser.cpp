#include "windowfixture.h"

#include "staterecord.h"

#include <QTest>

#include <memory>

using namespace Dravix;

// The description chooser without a toolkit.
class tst_Chooser : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> m_f;

    std::vector<std::string> visibleSlots() const
    {
        std::vector<std::string> shown;
        for (int k = 0; k < kSlotCount; ++k) {
            if (m_f->main.entry(k).visible)
                shown.push_back(std::to_string(k + 1));
        }
        return shown;
    }

private slots:
    void init()
    {
        m_f = std::make_unique<WindowFixture>();
        QVERIFY(m_f->folder.isValid());
        m_f->main.load();
    }
    void cleanup() { m_f.reset(); }

    void listsTheDescriptions()
    {
        for (const char *name : {"B.SET", ".hidden.set", "c.vq", "d.set.bak"})
            QVERIFY(m_f->folder.writeBytes(name, "tytul=X\r\n"));
        QVERIFY(m_f->folder.makeFolder("dir.set"));
        m_f->main.clickChooser();
        QCOMPARE(m_f->chooser().files().entries,
                 (std::vector<std::string>{"abc.set", "B.SET", "xyz.set"}));
        QCOMPARE(m_f->chooser().files().selected, -1);
    }

    void loadsTheChosenDescription_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("ODCZYT") << 0;
        QTest::newRow("double-click") << 1;
        QTest::newRow("Enter on the list") << 2;
    }
    void loadsTheChosenDescription()
    {
        QFETCH(int, how);
        m_f->chooseDescription("abc.set");
        m_f->setEntries({"10", "20", "30", "40", "50", "60", "70", "80"});
        m_f->main.choosePort(1);
        m_f->main.clickOption(2);

        m_f->main.clickChooser();
        const int index = WindowFixture::indexOf(m_f->chooser().files(), "xyz.set");
        if (how == 1) {
            m_f->chooser().doubleClick(index);
        } else {
            m_f->chooser().select(index);
            how == 0 ? m_f->chooser().clickRead() : m_f->chooser().pressEnterOnList();
        }

        MainWindowLogic &main = m_f->main;
        QVERIFY(!m_f->chooser().isOpen());
        QCOMPARE(main.state().DescriptionFile, std::string("xyz.set"));
        for (int k = 0; k < kSlotCount; ++k)
            QCOMPARE(main.entry(k).text, std::string("0"));
        QCOMPARE(main.state().ActiveSet, std::int16_t(1));
        QVERIFY(main.optionSelected(1));
        QVERIFY(!main.optionSelected(2));
        QCOMPARE(visibleSlots(), (std::vector<std::string>{"1", "2"}));
        QCOMPARE(main.ports().entries, (std::vector<std::string>{"7", "8"}));
        QCOMPARE(main.ports().selected, -1);
        QCOMPARE(main.lineSettings().selected, -1);
        QCOMPARE(main.state().PortAvailable, std::int16_t(0));
        QCOMPARE(main.modelHeading(), std::string("MODEL XYZ"));
        QCOMPARE(main.title(), std::string("Dravix"));
        QVERIFY(m_f->platform.messages.empty());
    }

    void closesWithoutLoading_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Esc") << 0;
        QTest::newRow("ANULUJ") << 1;
        QTest::newRow("ODCZYT with nothing selected") << 2;
        QTest::newRow("the value-file dialog opens") << 3;
        QTest::newRow("the main window closes") << 4;
    }
    void closesWithoutLoading()
    {
        QFETCH(int, how);
        m_f->chooseDescription("abc.set");
        m_f->main.editEntry(0, "12");
        m_f->main.choosePort(0);
        const StateRecord before = m_f->main.stateRecord();
        const std::int16_t portAvailable = m_f->main.state().PortAvailable;
        m_f->main.clickChooser();
        m_f->chooser().select(WindowFixture::indexOf(m_f->chooser().files(), "xyz.set"));
        if (how == 2)
            m_f->chooser().select(-1);
        switch (how) {
        case 0:
            m_f->chooser().pressEscape();
            break;
        case 1:
            m_f->chooser().clickCancel();
            break;
        case 2:
            m_f->chooser().clickRead();
            break;
        case 3:
            m_f->main.clickValueFiles();
            break;
        case 4:
            m_f->main.close();
            break;
        }
        QVERIFY(!m_f->chooser().isOpen());
        QCOMPARE(m_f->values().isOpen(), how == 3);
        const StateRecord after = m_f->main.stateRecord();
        QCOMPARE(after.descriptionFile, before.descriptionFile);
        QCOMPARE(after.entries, before.entries);
        QCOMPARE(after.portIndex, before.portIndex);
        QCOMPARE(m_f->main.state().PortAvailable, portAvailable);
        QCOMPARE(m_f->main.modelHeading(), std::string("MODEL ABC"));
    }

    void enterWithoutASelectionKeepsTheDialogOpen()
    {
        m_f->main.clickChooser();
        m_f->chooser().pressEnterOnList();
        QVERIFY(m_f->chooser().isOpen());
        QCOMPARE(m_f->main.state().DescriptionFile, std::string());
        m_f->chooser().select(WindowFixture::indexOf(m_f->chooser().files(), "xyz.set"));
        m_f->chooser().pressEnterOnList();
        QVERIFY(!m_f->chooser().isOpen());
        QCOMPARE(m_f->main.state().DescriptionFile, std::string("xyz.set"));
    }

    void slotsTheNewFileDoesNotMentionKeepTheirSettings()
    {
        m_f->chooseDescription("abc.set");
        QVERIFY(m_f->folder.writeText("bare.set", "tytul=BARE\nnazwa1=Jedyny\naktywny1=1\n"));
        m_f->chooseDescription("bare.set");
        QCOMPARE(m_f->main.parameterName(0).caption, std::string("Jedyny"));
        QCOMPARE(m_f->main.parameterName(1).caption, std::string("Temperatura"));
        QCOMPARE(m_f->main.state().RangeMin[1], std::int16_t(-10));
        QCOMPARE(m_f->main.state().ParamActive[6], std::int16_t(1));
        QVERIFY(m_f->main.ports().entries.empty());
    }

    void showingWhileOpenDoesNotRefill()
    {
        m_f->main.clickChooser();
        m_f->chooser().select(1);
        QVERIFY(m_f->folder.writeBytes("aaa.set", "tytul=X\r\n"));
        m_f->main.clickChooser();
        QCOMPARE(m_f->chooser().files().entries, (std::vector<std::string>{"abc.set", "xyz.set"}));
        QCOMPARE(m_f->chooser().files().selected, 1);
        m_f->chooser().clickCancel();
        m_f->main.clickChooser();
        QCOMPARE(m_f->chooser().files().entries.front(), std::string("aaa.set"));
        QCOMPARE(m_f->chooser().files().selected, -1);
    }

    void chosenFileGoneBeforeLoading()
    {
        m_f->chooseDescription("abc.set");
        m_f->main.editEntry(0, "12");
        m_f->main.clickChooser();
        m_f->chooser().select(WindowFixture::indexOf(m_f->chooser().files(), "xyz.set"));
        QVERIFY(QFile::remove(m_f->folder.pathOf("xyz.set")));
        m_f->chooser().clickRead();
        QCOMPARE(m_f->main.state().DescriptionFile, std::string("xyz.set"));
        QVERIFY(m_f->main.ports().entries.empty());
        QCOMPARE(m_f->main.entry(0).text, std::string("0"));
        QCOMPARE(m_f->main.modelHeading(), std::string("MODEL ABC"));
        QVERIFY(m_f->platform.messages.empty());
    }

    void choosingDuringAnExchangeLeavesThePortAlone()
    {
        m_f->chooseDescription("abc.set");
        m_f->main.choosePort(0);
        m_f->main.clickRead();
        QVERIFY(m_f->main.exchange().isPending());
        const std::size_t opened = m_f->port.openedNumbers.size();

        m_f->chooseDescription("xyz.set");

        QCOMPARE(m_f->main.state().DescriptionFile, std::string("xyz.set"));
        QCOMPARE(m_f->main.entry(0).text, std::string("0"));
        QCOMPARE(m_f->port.openedNumbers.size(), opened);
        QVERIFY(m_f->main.exchange().isPending());
    }
};

QTEST_APPLESS_MAIN(tst_Chooser)
#include "tst_chooser.moc"
