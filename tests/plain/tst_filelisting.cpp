#include "scratchfolder.h"

#include "filelisting.h"
#include "diskworkdir.h"

#include <QDir>
#include <QTest>

#include <memory>

using namespace Dravix;

// Which files the two dialogs list, and in which order.
class tst_FileListing : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ScratchFolder> m_folder;

private slots:
    void init()
    {
        m_folder = std::make_unique<ScratchFolder>();
        QVERIFY(m_folder->isValid());
    }
    void cleanup() { m_folder.reset(); }

    void listing_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<bool>("hidden");
        QTest::addColumn<QStringList>("listed");

        QTest::newRow("extension in any letter case")
            << QStringList{"b.set", "A.SET", "c.Set", "d.vq"} << QStringList{} << ".set" << false
            << QStringList{"A.SET", "b.set", "c.Set"};
        QTest::newRow("sorted without regard to letter case")
            << QStringList{"C.vq", "a.vq", "B.vq", "ą.vq", "_.vq", "10.vq", "9.vq"} << QStringList{}
            << ".vq" << false
            << QStringList{"10.vq", "9.vq", "_.vq", "a.vq", "B.vq", "C.vq", "ą.vq"};
        QTest::newRow("names equal but for case keep a fixed order")
            << QStringList{"x.vq", "X.vq"} << QStringList{} << ".vq" << false
            << QStringList{"X.vq", "x.vq"};
        QTest::newRow("hidden files and folders left out")
            << QStringList{".hidden.set", ".set", "ok.set"} << QStringList{"dir.set", "d2.SET"}
            << ".set" << false << QStringList{"ok.set"};
        QTest::newRow("near misses")
            << QStringList{"x.sett", "set", "x.set.bak", "xset", "x.se", "y.vq "} << QStringList{}
            << ".set" << false << QStringList{};
        QTest::newRow("hidden value files listed when asked")
            << QStringList{".b.vq", ".vq", "a.vq", ".c.VQ", ".x.set"} << QStringList{".d.vq"}
            << ".vq" << true << QStringList{".b.vq", ".c.VQ", ".vq", "a.vq"};
        QTest::newRow("empty folder")
            << QStringList{} << QStringList{} << ".vq" << false << QStringList{};
    }
    void listing()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, folders);
        QFETCH(QString, extension);
        QFETCH(bool, hidden);
        QFETCH(QStringList, listed);
        for (const QString &name : files)
            QVERIFY(m_folder->writeBytes(name.toStdString(), "x=1\r\n"));
        for (const QString &name : folders)
            QVERIFY(m_folder->makeFolder(name.toStdString()));
        if (QDir(m_folder->work()).entryList(QDir::Files | QDir::Hidden).size() < files.size())
            QSKIP("this file system ignores letter case: the names are one file");

        DiskWorkDir dir(m_folder->workPath());
        QStringList got;
        for (const std::string &name : listFilesWithExtension(
                 dir, extension.toStdString(), hidden ? HiddenFiles::Listed : HiddenFiles::Left))
            got << QString::fromStdString(name);
        QCOMPARE(got, listed);
    }
};

QTEST_APPLESS_MAIN(tst_FileListing)
#include "tst_filelisting.moc"
