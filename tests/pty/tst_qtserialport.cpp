#include "scratchfolder.h"

#include "linknotes.h"
#include "portcause.h"
#include "qtserialport.h"

#include <QFile>
#include <QSerialPort>
#include <QTest>

#include <memory>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>
#endif

using namespace Dravix;

using Effect = QtSerialPort::ErrorEffect;
using System = QtSerialPort::System;
Q_DECLARE_METATYPE(QtSerialPort::ErrorEffect)
Q_DECLARE_METATYPE(QtSerialPort::System)
Q_DECLARE_METATYPE(QSerialPort::SerialPortError)

namespace {

// A port that opens here: on Unix a pseudo-terminal that the folder's COM1 links to, whose other
// end the test keeps; on Windows the COM number that DRAVIX_TEST_COM names (under Wine the check
// maps it to a pseudo-terminal). 0 when there is none.
class TestLine
{
public:
    explicit TestLine(const QString &folder)
    {
#ifdef Q_OS_UNIX
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
            return;
        if (QFile::link(QString::fromLocal8Bit(::ptsname(m_master)), folder + "/COM1"))
            m_number = 1;
#else
        Q_UNUSED(folder);
        m_number = qEnvironmentVariableIntValue("DRAVIX_TEST_COM");
#endif
    }
    ~TestLine()
    {
#ifdef Q_OS_UNIX
        if (m_master >= 0)
            ::close(m_master);
#endif
    }
    TestLine(const TestLine &) = delete;
    TestLine &operator=(const TestLine &) = delete;

    int number() const
    {
        return m_number;
    }

private:
    int m_number = 0;
    int m_master = -1;
};

#ifdef Q_OS_WIN
constexpr System kThisSystem = System::Windows;
#else
constexpr System kThisSystem = System::Unix;
#endif

} // namespace

// Which path a port number opens, settings that fail the open before any device is touched,
// the control lines of an open port, and what an error of an open port means.
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

#ifdef Q_OS_UNIX
    // Where port N is a folder's entry or a device under /dev.
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

#endif

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

#ifdef Q_OS_UNIX
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

#endif

    // The errors that Qt 6.4 reports for what a port's driver says, and what each means. On
    // Windows a pulled-out USB adapter completes the pending read or wait with one of several
    // system errors, which Qt maps by its own table: most to UnknownError.
    void errorEffect_data()
    {
        QTest::addColumn<System>("system");
        QTest::addColumn<QSerialPort::SerialPortError>("error");
        QTest::addColumn<bool>("ready"); // the port is open and set up for an exchange
        QTest::addColumn<bool>("hungUp");
        QTest::addColumn<Effect>("effect");
        const System windows = System::Windows;
        const System unix = System::Unix;
        QTest::newRow("Windows, ERROR_GEN_FAILURE (31), a read completes")
            << windows << QSerialPort::UnknownError << true << false << Effect::Lost;
        QTest::newRow("Windows, ERROR_DEVICE_NOT_CONNECTED (1167)")
            << windows << QSerialPort::UnknownError << true << false << Effect::Lost;
        QTest::newRow("Windows, ERROR_SEM_TIMEOUT (121)")
            << windows << QSerialPort::UnknownError << true << false << Effect::Lost;
        QTest::newRow("Windows, ERROR_NO_SUCH_DEVICE (433)")
            << windows << QSerialPort::UnknownError << true << false << Effect::Lost;
        QTest::newRow("Windows, ERROR_OPERATION_ABORTED (995)")
            << windows << QSerialPort::ResourceError << true << false << Effect::Lost;
        QTest::newRow("Windows, ERROR_DEVICE_REMOVED (1617)")
            << windows << QSerialPort::ResourceError << true << false << Effect::Lost;
        QTest::newRow("Windows, ERROR_BAD_COMMAND (22)")
            << windows << QSerialPort::ResourceError << true << false << Effect::Lost;
        QTest::newRow("Windows, ERROR_INVALID_HANDLE (6)")
            << windows << QSerialPort::ResourceError << true << false << Effect::Lost;
        QTest::newRow("Windows, ERROR_ACCESS_DENIED (5), a wait completes")
            << windows << QSerialPort::PermissionError << true << false << Effect::Lost;
        QTest::newRow("Windows, ERROR_FILE_NOT_FOUND (2), a wait completes")
            << windows << QSerialPort::DeviceNotFoundError << true << false << Effect::Lost;
        QTest::newRow("Windows, ERROR_GEN_FAILURE as a read starts")
            << windows << QSerialPort::ReadError << true << false << Effect::Lost;
        QTest::newRow("Windows, ERROR_GEN_FAILURE as a write starts")
            << windows << QSerialPort::WriteError << true << false << Effect::Lost;
        QTest::newRow("Windows, ERROR_GEN_FAILURE while the port is set up")
            << windows << QSerialPort::UnknownError << false << false << Effect::Kept;
        QTest::newRow("Windows, ERROR_INVALID_PARAMETER (87), a line or setting refused")
            << windows << QSerialPort::UnsupportedOperationError << true << false << Effect::Kept;
        QTest::newRow("Windows, WAIT_TIMEOUT")
            << windows << QSerialPort::TimeoutError << true << false << Effect::Kept;
        QTest::newRow("Windows, no error")
            << windows << QSerialPort::NoError << true << false << Effect::Ignored;
        QTest::newRow("Unix, EIO: an adapter pulled out")
            << unix << QSerialPort::ResourceError << true << false << Effect::Lost;
        QTest::newRow("Unix, a hung-up line fails a read")
            << unix << QSerialPort::ReadError << true << true << Effect::Lost;
        QTest::newRow("Unix, a read fails, the line is up")
            << unix << QSerialPort::ReadError << true << false << Effect::Kept;
        QTest::newRow("Unix, unknown error, the line is up")
            << unix << QSerialPort::UnknownError << true << false << Effect::Kept;
        QTest::newRow("Unix, ENOTTY: a pseudo-terminal has no control lines")
            << unix << QSerialPort::UnsupportedOperationError << false << false << Effect::Kept;
        QTest::newRow("Unix, EIO while the port is set up")
            << unix << QSerialPort::ResourceError << false << false << Effect::Kept;
    }
    void errorEffect()
    {
        QFETCH(System, system);
        QFETCH(QSerialPort::SerialPortError, error);
        QFETCH(bool, ready);
        QFETCH(bool, hungUp);
        QFETCH(Effect, effect);
        QCOMPARE(QtSerialPort::errorEffect(system, error, ready, hungUp), effect);
        if (system != kThisSystem || !ready || hungUp)
            return;

        // The same error from the toolkit's port, open here for an exchange: a lost device's
        // port is closed at once, told once, and opens anew as a fresh port.
        TestLine line(m_folder->work());
        if (line.number() == 0)
            QSKIP("no port to open here");
        QtSerialPort serial(m_folder->work().toStdString());
        QVERIFY(serial.open(line.number(), "").opened());
        auto *toolkitPort = serial.findChild<QSerialPort *>();
        QVERIFY(toolkitPort);
        emit toolkitPort->errorOccurred(error);
        QCOMPARE(serial.isOpen(), effect != Effect::Lost);
        QCOMPARE(serial.loss().has_value(), effect == Effect::Lost);
        if (effect != Effect::Lost)
            return;
        const PortLoss first = *serial.loss();
        emit toolkitPort->errorOccurred(QSerialPort::UnknownError);
        QCOMPARE(*serial.loss(), first);
        serial.write({0x01, 0x02});
        QVERIFY(serial.readAll().empty());
        QVERIFY(!serial.isOpen());
        QVERIFY(serial.open(line.number(), "").opened());
        QVERIFY(!serial.loss());
        QVERIFY(serial.isOpen());
    }

    // DTR and RTS are raised while a port is open; a port that cannot set them (a
    // pseudo-terminal, also as Wine's COM port) opens all the same.
    void controlLines()
    {
        TestLine line(m_folder->work());
        if (line.number() == 0)
            QSKIP("no port to open here");
        QtSerialPort serial(m_folder->work().toStdString());
        const PortAttempt attempt = serial.open(line.number(), "9600,n,8,1");
        QVERIFY2(attempt.opened(), attempt.systemText.c_str());
        QCOMPARE(attempt.controlLines, PortAttempt::ControlLines::Refused);
        QVERIFY(serial.isOpen());
        QVERIFY(!serial.loss());
        serial.close();
        QVERIFY(!serial.isOpen());
    }

private:
    std::unique_ptr<ScratchFolder> m_folder;
};

QTEST_GUILESS_MAIN(tst_QtSerialPort)
#include "tst_qtserialport.moc"
