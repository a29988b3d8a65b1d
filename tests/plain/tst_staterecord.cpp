#include "filesizelimit.h"
#include "scratchfolder.h"

#include "keyvaluefile.h"
#include "staterecord.h"
#include "diskworkdir.h"
#include "lockwait.h"

#include <QTest>

#include <map>
#include <memory>

using namespace Dravix;

Q_DECLARE_METATYPE(StateRecord)
Q_DECLARE_METATYPE(std::string)

// The twelve-line record as written to the state file and the value files.
class tst_StateRecord : public QObject
{
    Q_OBJECT

private:
    static StateRecord exampleRecord()
    {
        StateRecord record;
        record.descriptionFile = "abc.set";
        record.entries = {"10", "20", "0", "0", "5", "0", "0", "0"};
        record.portIndex = 2;
        record.speedIndex = 0;
        record.activeSet = 1;
        return record;
    }

    std::unique_ptr<ScratchFolder> m_folder;

private slots:
    void init()
    {
        m_folder = std::make_unique<ScratchFolder>();
        QVERIFY(m_folder->isValid());
    }
    void cleanup() { m_folder.reset(); }

    void wholeFile_data()
    {
        QTest::addColumn<StateRecord>("record");
        QTest::addColumn<QByteArray>("bytes");

        QTest::newRow("the documented example")
            << exampleRecord()
            << QByteArray("konfig=abc.set\r\nparametr1=10\r\nparametr2=20\r\nparametr3=0\r\n"
                          "parametr4=0\r\nparametr5=5\r\nparametr6=0\r\nparametr7=0\r\n"
                          "parametr8=0\r\nwybor1=2\r\nwybor2=0\r\nzestaw= 1\r\n");

        StateRecord second = exampleRecord();
        second.portIndex = -1;
        second.speedIndex = -1;
        second.activeSet = 2;
        QTest::newRow("set 2, nothing selected")
            << second
            << QByteArray("konfig=abc.set\r\nparametr1=10\r\nparametr2=20\r\nparametr3=0\r\n"
                          "parametr4=0\r\nparametr5=5\r\nparametr6=0\r\nparametr7=0\r\n"
                          "parametr8=0\r\nwybor1=-1\r\nwybor2=-1\r\nzestaw= 2\r\n");

        StateRecord verbatim;
        verbatim.descriptionFile = "łódź ćma.set";
        verbatim.entries = {" 7 ", "a=b", "", "-3.5", "ąęśżŹ", "0", "0", "1e2"};
        verbatim.portIndex = 11;
        verbatim.speedIndex = 0;
        verbatim.activeSet = 0;
        QTest::newRow("texts verbatim in Windows-1250, no set yet")
            << verbatim
            << QByteArray("konfig=\xb3\xf3\x64\x9f \xe6ma.set\r\nparametr1= 7 \r\n"
                          "parametr2=a=b\r\nparametr3=\r\nparametr4=-3.5\r\n"
                          "parametr5=\xb9\xea\x9c\xbf\x8f\r\nparametr6=0\r\nparametr7=0\r\n"
                          "parametr8=1e2\r\nwybor1=11\r\nwybor2=0\r\nzestaw= 0\r\n");
    }

    void wholeFile()
    {
        QFETCH(StateRecord, record);
        QFETCH(QByteArray, bytes);
        DiskWorkDir dir(m_folder->workPath());
        QVERIFY(WriteStateRecord(dir, "sesja.dat", record));
        QCOMPARE(QByteArray::fromStdString(*m_folder->bytes("sesja.dat")), bytes);
    }

    void readsBackThroughTheReader()
    {
        StateRecord record = exampleRecord();
        record.descriptionFile = "Zażółć gęślą jaźń.set";
        record.entries[3] = " spacje ";
        record.entries[4] = "12=34";
        DiskWorkDir dir(m_folder->workPath());
        QVERIFY(WriteStateRecord(dir, "x.vq", record));

        std::map<std::string, std::string> pairs;
        ReadKeyValueFile(dir, "x.vq", [&](std::string_view key, const std::string &value) {
            pairs[std::string(key)] = value;
        });
        QCOMPARE(pairs.size(), std::size_t(12));
        QCOMPARE(pairs["konfig"], record.descriptionFile);
        QCOMPARE(pairs["parametr4"], std::string(" spacje "));
        QCOMPARE(pairs["parametr5"], std::string("12"));
        QCOMPARE(pairs["zestaw"], std::string(" 1"));
    }

    void replacesTheWholeOldFile()
    {
        QVERIFY(m_folder->writeBytes("sesja.dat", std::string(4000, 'x') + "\r\nzestaw= 2\r\n"));
        DiskWorkDir dir(m_folder->workPath());
        QVERIFY(WriteStateRecord(dir, "sesja.dat", exampleRecord()));
        QCOMPARE(*m_folder->bytes("sesja.dat"), formatStateRecord(exampleRecord()));
        QCOMPARE(QDir(m_folder->work())
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"sesja.dat"});
    }

    void failedWriteLeavesEverythingAsItWas_data()
    {
        QTest::addColumn<std::string>("name");
        QTest::addColumn<QString>("folderInTheWay");
        QTest::newRow("name longer than the file system allows")
            << std::string(300, 'a') << QString();
        QTest::newRow("a directory where the file should be")
            << std::string("sesja.dat") << QString("sesja.dat/inner");
        QTest::newRow("slash out of the folder") << std::string("../sesja.dat") << QString();
        QTest::newRow("slash into a subfolder") << std::string("sub/x.vq") << QString("sub");
        QTest::newRow("back slash") << std::string("..\\x.vq") << QString();
        QTest::newRow("dot") << std::string(".") << QString();
        QTest::newRow("dot dot") << std::string("..") << QString();
        QTest::newRow("empty") << std::string() << QString();
    }
    void failedWriteLeavesEverythingAsItWas()
    {
        QFETCH(std::string, name);
        QFETCH(QString, folderInTheWay);
        if (!folderInTheWay.isEmpty())
            QVERIFY(m_folder->makeFolder(folderInTheWay.toStdString()));
        QVERIFY(m_folder->writeBytes("../sesja.dat", "outside"));
        const QStringList before = m_folder->snapshot();
        DiskWorkDir dir(m_folder->workPath());
        QVERIFY(!WriteStateRecord(dir, name, exampleRecord()));
        QCOMPARE(m_folder->snapshot(), before);
    }

    void failedWriteKeepsTheOldFile()
    {
        if (!FileSizeLimit::kAvailable)
            QSKIP(kNoFileSizeLimit);
        QVERIFY(m_folder->writeBytes("sesja.dat", "konfig=old.set\r\n"));
        const QStringList before = m_folder->snapshot();
        DiskWorkDir dir(m_folder->workPath());
        {
            const FileSizeLimit full(8);
            QVERIFY(!WriteStateRecord(dir, "sesja.dat", exampleRecord()));
        }
        QCOMPARE(m_folder->snapshot(), before);
    }

    void valueFileName_data()
    {
        QTest::addColumn<std::string>("nameBox");
        QTest::addColumn<std::string>("file");
        QTest::newRow("bare") << std::string("abc") << std::string("abc.vq");
        QTest::newRow("with extension") << std::string("abc.vq") << std::string("abc.vq");
        QTest::newRow("capital extension") << std::string("abc.VQ") << std::string("abc.VQ.vq");
        QTest::newRow("mixed case") << std::string("abc.Vq") << std::string("abc.Vq.vq");
        QTest::newRow("extension inside") << std::string("a.vq.x") << std::string("a.vq.x.vq");
        QTest::newRow("no dot") << std::string("xvq") << std::string("xvq.vq");
        QTest::newRow("Polish letters") << std::string("łąka") << std::string("łąka.vq");
    }
    void valueFileName()
    {
        QFETCH(std::string, nameBox);
        QFETCH(std::string, file);
        QCOMPARE(::valueFileName(nameBox), file);
    }

    // A replace or a delete that meets another program's brief hold on the file waits it out,
    // within about two seconds; any other failure stands at once.
    void lockIsWaitedOut_data()
    {
        QTest::addColumn<QString>("steps"); // each try: D done, L locked, F failed
        QTest::addColumn<bool>("done");
        QTest::addColumn<int>("waitedMs");
        QTest::newRow("done at once") << "D" << true << 0;
        QTest::newRow("failed at once") << "F" << false << 0;
        QTest::newRow("a hold of about 300 ms") << "LLLLD" << true << 375;
        QTest::newRow("locked, then another failure") << "LLF" << false << 75;
        QTest::newRow("a hold that stays") << "LLLLLLLLLLLLLLLL" << false << 1975;
        QTest::newRow("free at the last try") << "LLLLLLLLD" << true << 1975;
    }
    void lockIsWaitedOut()
    {
        QFETCH(QString, steps);
        QFETCH(bool, done);
        QFETCH(int, waitedMs);
        int tried = 0;
        std::chrono::milliseconds waited{0};
        const bool result = waitOutLock(
            [&] {
                const QChar step = steps.at(tried++);
                return step == 'D'   ? FileStep::Done
                       : step == 'L' ? FileStep::Locked
                                     : FileStep::Failed;
            },
            [&](std::chrono::milliseconds wait) { waited += wait; });
        QCOMPARE(result, done);
        QCOMPARE(int(waited.count()), waitedMs);
        QCOMPARE(tried, std::min(int(steps.size()), int(kLockWaits.size()) + 1));
    }
};

QTEST_APPLESS_MAIN(tst_StateRecord)
#include "tst_staterecord.moc"
