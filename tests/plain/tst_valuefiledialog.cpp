#include "windowfixture.h"

#include <QTest>

#include <memory>

using namespace Dravix;

Q_DECLARE_METATYPE(std::string)

// The value-file dialog without a toolkit: its list, its name box and its buttons.
class tst_ValueFileDialog : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> m_f;

private slots:
    void init()
    {
        m_f = std::make_unique<WindowFixture>();
        QVERIFY(m_f->folder.isValid());
        m_f->main.load();
    }
    void cleanup() { m_f.reset(); }

    void opensWithAFreshListAndAnEmptyNameBox()
    {
        for (const char *name : {"b.vq", "A.VQ", ".hidden.vq", "c.vqx", "c.set", "x.Vq"})
            QVERIFY(m_f->folder.writeBytes(name, "konfig=abc.set\r\n"));
        QVERIFY(m_f->folder.makeFolder("dir.vq"));
        m_f->main.clickValueFiles();
        ValueFileLogic &dialog = m_f->values();
        QVERIFY(dialog.isOpen());
        QCOMPARE(dialog.files().entries,
                 (std::vector<std::string>{".hidden.vq", "A.VQ", "b.vq", "x.Vq"}));
        QCOMPARE(dialog.files().selected, -1);
        QCOMPARE(dialog.nameText(), std::string());
        QVERIFY(!dialog.fileButtonsEnabled());
    }

    void buttonsFollowTheNameBox_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("one character") << QStringList{"a"} << true;
        QTest::newRow("a blank") << QStringList{" "} << true;
        QTest::newRow("emptied by hand") << QStringList{"a", "ab", "a", ""} << false;
        QTest::newRow("emptied, then typed again") << QStringList{"a", "", "x"} << true;
    }
    void buttonsFollowTheNameBox()
    {
        QFETCH(QStringList, typed);
        QFETCH(bool, enabled);
        m_f->main.clickValueFiles();
        for (const QString &text : typed)
            m_f->values().editName(text.toStdString());
        QCOMPARE(m_f->values().fileButtonsEnabled(), enabled);
    }

    void clickPutsTheNameInTheBox()
    {
        QVERIFY(m_f->folder.writeBytes("a.vq", "konfig=xyz.set\r\n"));
        QVERIFY(m_f->folder.writeBytes("b.vq", "konfig=xyz.set\r\n"));
        m_f->main.clickValueFiles();
        m_f->values().editName("typed by hand");
        m_f->values().clickEntry(1);
        QCOMPARE(m_f->values().nameText(), std::string("b.vq"));
        QCOMPARE(m_f->values().files().selected, 1);
        QVERIFY(m_f->values().fileButtonsEnabled());
        QVERIFY(m_f->values().isOpen());
        QCOMPARE(m_f->main.title(), std::string("Dravix"));
    }

    void doubleClickLoadsAndCloses_data()
    {
        QTest::addColumn<bool>("enter");
        QTest::newRow("double-click") << false;
        QTest::newRow("arrow to the entry, Enter") << true;
    }
    void doubleClickLoadsAndCloses()
    {
        QFETCH(bool, enter);
        QVERIFY(m_f->folder.writeBytes("a.vq", "konfig=xyz.set\r\n"));
        QVERIFY(m_f->folder.writeBytes("b.vq", "konfig=abc.set\r\n"));
        m_f->main.clickValueFiles();
        if (enter) {
            // Enter before any entry is chosen loads nothing.
            m_f->values().pressEnterOnList();
            QVERIFY(m_f->values().isOpen());
            QCOMPARE(m_f->main.title(), std::string("Dravix"));
            m_f->values().clickEntry(1);
            QCOMPARE(m_f->values().nameText(), std::string("b.vq"));
            m_f->values().pressEnterOnList();
        } else {
            m_f->values().doubleClickEntry(1);
        }
        QVERIFY(!m_f->values().isOpen());
        QCOMPARE(m_f->main.title(), std::string("Dravix - abc.set"));
        QCOMPARE(m_f->main.modelHeading(), std::string("MODEL ABC"));
    }

    void loadButtonLoadsTheExactNameAndCloses()
    {
        QVERIFY(m_f->folder.writeBytes("noext", "konfig=xyz.set\r\n"));
        m_f->main.clickValueFiles();
        m_f->values().editName("noext");
        m_f->values().clickLoad();
        QVERIFY(!m_f->values().isOpen());
        QVERIFY(m_f->platform.messages.empty());
        QCOMPARE(m_f->main.title(), std::string("Dravix - xyz.set"));
    }

    void closing_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Esc") << 0;
        QTest::newRow("WYJŚCIE") << 1;
        QTest::newRow("the chooser opens") << 2;
        QTest::newRow("the main window closes") << 3;
    }
    void closing()
    {
        QFETCH(int, how);
        m_f->main.clickValueFiles();
        m_f->values().editName("abc");
        QVERIFY(m_f->folder.writeBytes("late.vq", "konfig=abc.set\r\n"));
        switch (how) {
        case 0:
            m_f->values().pressEscape();
            break;
        case 1:
            m_f->values().clickExit();
            break;
        case 2:
            m_f->main.clickChooser();
            break;
        case 3:
            m_f->main.close();
            break;
        }
        QVERIFY(!m_f->values().isOpen());
        QCOMPARE(m_f->chooser().isOpen(), how == 2);
        QCOMPARE(m_f->main.title(), std::string("Dravix"));

        m_f->main.clickValueFiles();
        QVERIFY(!m_f->chooser().isOpen());
        QCOMPARE(m_f->values().nameText(), std::string());
        QVERIFY(!m_f->values().fileButtonsEnabled());
        QCOMPARE(m_f->values().files().entries, std::vector<std::string>{"late.vq"});
    }

    void showingWhileOpenKeepsItsState()
    {
        QVERIFY(m_f->folder.writeBytes("a.vq", "konfig=abc.set\r\n"));
        m_f->main.clickValueFiles();
        m_f->values().clickEntry(0);
        m_f->values().editName("mine");
        QVERIFY(m_f->folder.writeBytes("late.vq", "konfig=abc.set\r\n"));
        m_f->main.clickValueFiles();
        QCOMPARE(m_f->values().nameText(), std::string("mine"));
        QCOMPARE(m_f->values().files().entries, std::vector<std::string>{"a.vq"});
        QCOMPARE(m_f->values().files().selected, 0);
    }
};

QTEST_APPLESS_MAIN(tst_ValueFileDialog)
#include "tst_valuefiledialog.moc"
