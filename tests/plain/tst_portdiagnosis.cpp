#include "fakeportsystem.h"
#include "scratchfolder.h"

#include "portdiagnosis.h"
#include "hostportsystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTest>

#include <cerrno>

#include <unistd.h>

using namespace Dravix;

Q_DECLARE_METATYPE(Dravix::PortCause)
Q_DECLARE_METATYPE(Dravix::PortAttempt::Outcome)

namespace {

const std::string kFolder = "/home/jan/praca/";
const std::string kById = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K-if00-port0";

// A machine with an FTDI adapter known by its stable name and a built-in port without one.
FakePortSystem machine(bool adaptersPresent)
{
    FakePortSystem system;
    system.links[kById] = "/dev/ttyUSB0";
    if (adaptersPresent) {
        system.devices = {"/dev/ttyUSB0", "/dev/ttyS4"};
        system.present = {{"/dev/ttyS4", "", "", "", ""},
                          {"/dev/ttyUSB0", kById, "FTDI", "FT232R USB UART", "A10K"}};
    }
    return system;
}

} // namespace

// Each cause of a port that did or did not open, and the note the user reads for it.
class tst_PortDiagnosis : public QObject
{
    Q_OBJECT

private slots:
    void note_data()
    {
        using Outcome = PortAttempt::Outcome;
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("entry");    // COM<N> entry of the folder; empty: /dev/ttyS<N-1>
        QTest::addColumn<QString>("target");   // where the entry points; empty: a plain file
        QTest::addColumn<bool>("adapters");    // the adapters (and their devices) are present
        QTest::addColumn<QStringList>("more"); // devices, "group:<name>:<in session>:<in
                                               // account>", "holder:<text>", "adapter:<path>"
        QTest::addColumn<PortCause>("cause");
        QTest::addColumn<QStringList>("says");
        QTest::addColumn<QStringList>("doesNotSay");

        const QString pts = QStringLiteral("/dev/pts/3");
        const QString usb = QStringLiteral("/dev/ttyUSB0");
        const QString byId = QString::fromStdString(kById);

        QTest::newRow("opened, link to a terminal")
            << Outcome::Opened << 0 << "COM1" << pts << false << QStringList{pts}
            << PortCause::Opened
            << QStringList{"Port 1: COM1 → /dev/pts/3\nOtwarty poprawnie: /dev/pts/3."}
            << QStringList{"(", "→ /dev/pts/3 →"};
        QTest::newRow("opened, stable name of an adapter")
            << Outcome::Opened << 0 << "COM1" << byId << true << QStringList{} << PortCause::Opened
            << QStringList{"Port 1: COM1 → " + byId + " → /dev/ttyUSB0\n",
                           "Otwarty poprawnie: /dev/ttyUSB0 (FTDI, FT232R USB UART, nr seryjny "
                           "A10K)."}
            << QStringList{};
        QTest::newRow("opened, built-in port without details")
            << Outcome::Opened << 0 << ""
            << "" << false << QStringList{"/dev/ttyS0"} << PortCause::Opened
            << QStringList{"Port 1: /dev/ttyS0\nOtwarty poprawnie: /dev/ttyS0."} << QStringList{};

        QTest::newRow("link to an unplugged adapter, others present")
            << Outcome::OpenFailed << ENOENT << "COM1"
            << "/dev/ttyUSB1" << true << QStringList{} << PortCause::NoSuchDevice
            << QStringList{"Port 1: COM1 → /dev/ttyUSB1\n",
                           "Łącze COM1 wskazuje na /dev/ttyUSB1,\na takiego urządzenia nie ma",
                           "\n• /dev/ttyS4 — port 5 bez łącza\n",
                           "\n• " + byId +
                               " → /dev/ttyUSB0 (FTDI, FT232R USB UART, nr seryjny "
                               "A10K)",
                           "łącze COM1, np.:\nln -sfn " + byId + " COM1"}
            << QStringList{"Nie widać"};
        QTest::newRow("link to an unplugged adapter, a built-in port left")
            << Outcome::OpenFailed << ENOENT << "COM1" << byId << false
            << QStringList{"adapter:/dev/ttyS0"} << PortCause::NoSuchDevice
            << QStringList{"Port 1: COM1 → " + byId + "\n",
                           "Obecne adaptery szeregowe:\n• /dev/ttyS0 — port 1 bez łącza"}
            << QStringList{"ln -s", "Nie widać"};
        QTest::newRow("no such built-in port, no adapter")
            << Outcome::OpenFailed << ENOENT << ""
            << "" << false << QStringList{} << PortCause::NoSuchDevice
            << QStringList{"Port 1: /dev/ttyS0\nUrządzenie /dev/ttyS0 nie istnieje.\n",
                           "Nie widać żadnego adaptera szeregowego"}
            << QStringList{"Łącze", "ln -s"};
        QTest::newRow("device node left without its device")
            << Outcome::OpenFailed << ENXIO << ""
            << "" << false << QStringList{"/dev/ttyS0"} << PortCause::NoSuchDevice
            << QStringList{"Urządzenie /dev/ttyS0 nie istnieje."} << QStringList{};
        QTest::newRow("the link ends at nothing whatever the error")
            << Outcome::OpenFailed << EACCES << "COM2"
            << "/dev/ttyACM0" << false << QStringList{} << PortCause::NoSuchDevice
            << QStringList{"Port 2: COM2 → /dev/ttyACM0\n"} << QStringList{"uprawnień"};

        QTest::newRow("permission, not in the group")
            << Outcome::OpenFailed << EACCES << "COM1" << byId << true
            << QStringList{"group:dialout:0:0"} << PortCause::PermissionDenied
            << QStringList{"Brak uprawnień do otwarcia /dev/ttyUSB0.",
                           "należy do grupy dialout, a konto jan do niej nie należy",
                           "\nsudo usermod -aG dialout jan\n", "zaloguj ponownie"}
            << QStringList{"ls -l"};
        QTest::newRow("permission, added but not logged in again")
            << Outcome::OpenFailed << EACCES << "COM1" << usb << true
            << QStringList{"group:dialout:0:1"} << PortCause::PermissionDenied
            << QStringList{"Konto jan należy już do grupy dialout",
                           "wyloguj się i zaloguj ponownie"}
            << QStringList{"usermod"};
        QTest::newRow("permission, in the group all along")
            << Outcome::OpenFailed << EPERM << ""
            << "" << false << QStringList{"/dev/ttyS0", "group:uucp:1:1"}
            << PortCause::PermissionDenied
            << QStringList{"Konto jan jest w grupie uucp", "ls -l /dev/ttyS0"}
            << QStringList{"usermod", "zaloguj"};
        QTest::newRow("permission, group not known")
            << Outcome::OpenFailed << EACCES << ""
            << "" << false << QStringList{"/dev/ttyS0"} << PortCause::PermissionDenied
            << QStringList{"Poproś administratora"} << QStringList{"usermod"};

        QTest::newRow("busy, terminal mode bit of a modem manager")
            << Outcome::OpenFailed << EBUSY << "COM1" << usb << true
            << QStringList{"holder:ModemManager (PID 712)"} << PortCause::Busy
            << QStringList{"Port jest zajęty: używa go ModemManager (PID 712).\n",
                           "wybierz port ponownie"}
            << QStringList{"inny program."};
        QTest::newRow("busy, locked by a terminal program")
            << Outcome::Locked << 0 << "COM1" << pts << false
            << QStringList{pts, "holder:picocom (PID 4711)", "holder:dravix-sim (PID 99)"}
            << PortCause::Busy << QStringList{"używa go picocom (PID 4711), dravix-sim (PID 99)."}
            << QStringList{};
        QTest::newRow("busy, holder not shown to this user")
            << Outcome::OpenFailed << EAGAIN << "COM1" << pts << false << QStringList{pts}
            << PortCause::Busy << QStringList{"używa go inny program."} << QStringList{};

        QTest::newRow("settings refused")
            << Outcome::SettingsRefused << 0 << "COM1" << pts << false << QStringList{pts}
            << PortCause::SettingsRefused
            << QStringList{"Port nie przyjmuje parametrów transmisji „9600,n,7,1”",
                           "„Parametry transmisji RS232”"}
            << QStringList{"dodajparam"};
        QTest::newRow("settings text malformed")
            << Outcome::SettingsMalformed << 0 << "COM1" << pts << false << QStringList{pts}
            << PortCause::SettingsRefused
            << QStringList{"„9600,n,7,1” nie mają postaci", "dodajparam"} << QStringList{};

        QTest::newRow("something else, in the system's words")
            << Outcome::OpenFailed << EIO << ""
            << "" << false << QStringList{"/dev/ttyS0"} << PortCause::Other
            << QStringList{"Nie udało się otworzyć portu: Input/output error."} << QStringList{};
        QTest::newRow("a plain file in the folder")
            << Outcome::OpenFailed << ENOTTY << "COM1"
            << "" << false << QStringList{QString::fromStdString(kFolder) + "COM1"}
            << PortCause::Other << QStringList{"Port 1: COM1 (plik w folderze roboczym)"}
            << QStringList{"→"};
    }
    void note()
    {
        QFETCH(PortAttempt::Outcome, outcome);
        QFETCH(int, error);
        QFETCH(QString, entry);
        QFETCH(QString, target);
        QFETCH(bool, adapters);
        QFETCH(QStringList, more);
        QFETCH(PortCause, cause);
        QFETCH(QStringList, says);
        QFETCH(QStringList, doesNotSay);

        FakePortSystem system = machine(adapters);
        PortAttempt attempt;
        attempt.portNumber = entry.isEmpty() ? 1 : entry.mid(3).toInt();
        attempt.folderEntry = entry.toStdString();
        attempt.path = entry.isEmpty() ? "/dev/ttyS0" : kFolder + entry.toStdString();
        attempt.outcome = outcome;
        attempt.error = error;
        attempt.settings = "9600,n,7,1";
        attempt.systemText = "Input/output error";
        if (!target.isEmpty())
            system.links[attempt.path] = target.toStdString();
        for (const QString &item : more) {
            const QStringList parts = item.split(':');
            if (parts[0] == "group")
                system.group =
                    DeviceGroup{parts[1].toStdString(), parts[2] == "1", parts[3] == "1"};
            else if (parts[0] == "adapter")
                system.present.push_back({parts[1].toStdString(), "", "", "", ""});
            else if (parts[0] == "holder")
                system.holding.push_back(item.mid(7).toStdString());
            else
                system.devices.insert(item.toStdString());
        }

        const PortDiagnosis diagnosis(system);
        QCOMPARE(diagnosis.cause(attempt), cause);
        const QString note = QString::fromStdString(diagnosis.note(attempt));
        for (const QString &text : says)
            QVERIFY2(note.contains(text), qPrintable(note));
        for (const QString &text : doesNotSay)
            QVERIFY2(!note.contains(text), qPrintable(note));
    }

    // The real seam on links in a folder: where each points and where the chain ends.
    void systemLinks_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("target");   // relative to the folder when not absolute
        QTest::addColumn<QString>("resolved"); // relative to the folder; empty: ends at nothing
        QTest::newRow("absolute") << "COM1"
                                  << "/dev/null"
                                  << "/dev/null";
        QTest::newRow("relative") << "COM1"
                                  << "sub/../dev-a"
                                  << "dev-a";
        QTest::newRow("chain") << "COM1"
                               << "hop"
                               << "dev-a";
        QTest::newRow("dangling") << "COM1"
                                  << "/dev/ttyUSB97"
                                  << "";
        QTest::newRow("plain file") << "dev-a"
                                    << ""
                                    << "dev-a";
    }
    void systemLinks()
    {
        QFETCH(QString, entry);
        QFETCH(QString, target);
        QFETCH(QString, resolved);
        ScratchFolder folder;
        const QString root = folder.work() + '/';
        QFile file(root + "dev-a");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(QDir(root).mkdir("sub"));
        QVERIFY(::symlink("dev-a", (root + "hop").toLocal8Bit().constData()) == 0);
        if (!target.isEmpty())
            QVERIFY(::symlink(target.toLocal8Bit().constData(),
                              (root + entry).toLocal8Bit().constData()) == 0);

        const HostPortSystem system({});
        const std::string path = (root + entry).toStdString();
        const QString absolute =
            target.isEmpty() || target.startsWith('/') ? target : QDir::cleanPath(root + target);
        QCOMPARE(QString::fromStdString(system.linkTarget(path)), absolute);
        const QString end = resolved.isEmpty() || resolved.startsWith('/')
                                ? resolved
                                : QFileInfo(root + resolved).canonicalFilePath();
        QCOMPARE(QString::fromStdString(system.resolved(path)), end);
    }

    void target_data()
    {
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("linksTo"); // empty: no link
        QTest::addColumn<QString>("text");
        QTest::newRow("no number") << 0 << ""
                                   << ""
                                   << "Wpis nie zaczyna się od numeru portu: nie otwiera nic.";
        QTest::newRow("built-in port present") << 5 << ""
                                               << ""
                                               << "Port 5: /dev/ttyS4";
        QTest::newRow("built-in port missing") << 3 << ""
                                               << ""
                                               << "Port 3: /dev/ttyS2 (nie istnieje)";
        QTest::newRow("link to a stable name")
            << 1 << "COM1" << QString::fromStdString(kById)
            << QString::fromStdString("Port 1: COM1 → " + kById + " → /dev/ttyUSB0");
        QTest::newRow("link to nothing") << 2 << "COM2"
                                         << "/dev/ttyUSB7"
                                         << "Port 2: COM2 → /dev/ttyUSB7 (nie istnieje)";
    }
    void target()
    {
        QFETCH(int, port);
        QFETCH(QString, entry);
        QFETCH(QString, linksTo);
        QFETCH(QString, text);
        FakePortSystem system = machine(true);
        const std::string path = entry.isEmpty() ? "/dev/ttyS" + std::to_string(port - 1)
                                                 : kFolder + entry.toStdString();
        if (!linksTo.isEmpty())
            system.links[path] = linksTo.toStdString();
        const PortDiagnosis diagnosis(system);
        QCOMPARE(QString::fromStdString(diagnosis.target(port, path, entry.toStdString())), text);
    }
};

QTEST_APPLESS_MAIN(tst_PortDiagnosis)
#include "tst_portdiagnosis.moc"
