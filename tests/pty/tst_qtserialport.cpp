#include "scratchfolder.h"

#include "linknotes.h"
#include "portcause.h"
#include "qtserialport.h"

#include <QFile>
#include <QTest>

#include <memory>

using namespace Dravix;

// Which path a port number opens, and settings that fail the open before any device is touched.
class tst_QtSerialPort : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_folder = std::make_unique<ScratchFolder>();
        QVERIFY(m_folder->isValid());
    }
    void cleanup() { m_folder.reset(); }

    void portPath_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("path"); // relative: inside the working folder
        QTest::newRow("entry in the folder") << QStringList{"COM1"} << 1 << "COM1";
        QTest::newRow("entry for port 12") << QStringList{"COM12"} << 12 << "COM12";
        QTest::newRow("no entry") << QStringList{} << 1 << "/dev/ttyS0";
        QTest::newRow("other entry") << QStringList{"COM1"} << 4 << "/dev/ttyS3";
        QTest::newRow("letter case counts") << QStringList{"com2"} << 2 << "/dev/ttyS1";
        QTest::newRow("prefix only") << QStringList{"COM10"} << 1 << "/dev/ttyS0";
        QTest::newRow("dangling link") << QStringList{"@COM5"} << 5 << "COM5";
    }
    void portPath()
    {
        QFETCH(QStringList, entries);
        QFETCH(int, port);
        QFETCH(QString, path);
        for (QString entry : entries) {
            if (entry.startsWith('@')) {
                entry.remove(0, 1);
                QVERIFY(QFile::link(m_folder->work() + "/gone", m_folder->work() + '/' + entry));
            } else {
                QFile file(m_folder->work() + '/' + entry);
                QVERIFY(file.open(QIODevice::WriteOnly));
            }
        }
        const QtSerialPort serial(m_folder->work().toStdString());
        const QString expected = path.startsWith('/') ? path : m_folder->work() + '/' + path;
        const PortLocation location = serial.locate(port);
        QCOMPARE(QString::fromStdString(location.path), expected);
        QCOMPARE(QString::fromStdString(location.folderEntry), path.startsWith('/') ? "" : path);
        // The folder is watched for entries to come, and so is where the device would appear.
        const std::vector<std::string> watched = serial.watchedFolders(port);
        QVERIFY(std::find(watched.begin(), watched.end(), m_folder->work().toStdString()) !=
                watched.end());
        QVERIFY(std::find(watched.begin(), watched.end(), "/dev") != watched.end());
    }

    void malformedSettingsFailTheOpen_data()
    {
        QTest::addColumn<QString>("settings");
        QTest::newRow("data bits 9") << "9600,n,9,1";
        QTest::newRow("parity q") << "9600,q,8,1";
        QTest::newRow("three fields") << "9600,n,8";
        QTest::newRow("words") << "fast";
    }
    void malformedSettingsFailTheOpen()
    {
        QFETCH(QString, settings);
        QtSerialPort serial(m_folder->work().toStdString());
        const PortAttempt attempt = serial.open(1, settings.toStdString());
        QCOMPARE(attempt.outcome, PortAttempt::Outcome::SettingsMalformed);
        QVERIFY(!serial.isOpen());
        QCOMPARE(portCause(attempt, serial.system()), PortCause::SettingsRefused);
        QVERIFY(LinkNotes(serial.system())
                    .portNote(attempt)
                    .find("„" + settings.toStdString() + "” nie mają postaci") !=
                std::string::npos);
        QVERIFY(serial.readAll().empty());
        serial.write({0x01});
        serial.close();
    }

    void missingDeviceFailsTheOpen()
    {
        QVERIFY(QFile::link(m_folder->work() + "/nothing", m_folder->work() + "/COM1"));
        QtSerialPort serial(m_folder->work().toStdString());
        const PortAttempt attempt = serial.open(1, "");
        QVERIFY(!attempt.opened());
        QVERIFY(!serial.isOpen());
        QCOMPARE(portCause(attempt, serial.system()), PortCause::NoSuchDevice);
        const std::string tried = "Port 1: COM1 → " + m_folder->work().toStdString() + "/nothing";
        const LinkNotes notes(serial.system());
        QVERIFY(notes.portNote(attempt).starts_with(tried + "\n"));
        QCOMPARE(notes.portTarget(serial.locate(1)), tried + " (nie istnieje)");
        serial.close();
        serial.close();
    }

    void plainFileIsNoPort()
    {
        QFile file(m_folder->work() + "/COM2");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QtSerialPort serial(m_folder->work().toStdString());
        const PortAttempt attempt = serial.open(2, "");
        QVERIFY(!attempt.opened());
        QVERIFY(!serial.isOpen());
        QCOMPARE(portCause(attempt, serial.system()), PortCause::Other);
        QVERIFY(LinkNotes(serial.system())
                    .portNote(attempt)
                    .starts_with(
                        "Port 2: COM2 (plik w folderze roboczym)\nNie udało się otworzyć portu: "));
        // The toolkit's own words about the failed open, not those of an error already cleared.
        QVERIFY2(!attempt.systemText.empty() && attempt.systemText != "No error",
                 attempt.systemText.c_str());
    }

private:
    std::unique_ptr<ScratchFolder> m_folder;
};

QTEST_GUILESS_MAIN(tst_QtSerialPort)
#include "tst_qtserialport.moc"
