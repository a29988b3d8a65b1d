#include "fakeportsystem.h"
#include "hexbytes.h"
#include "scratchfolder.h"

#include "exchange.h"
#include "frames.h"
#include "hostportsystem.h"
#include "linknotes.h"
#include "portadvice.h"
#include "portcause.h"
#include "usbtree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTest>

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <fstream>

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
        system.listed = {
            {"/dev/ttyS4", "", "", "", "", "ttyS4", "", ""},
            {"/dev/ttyUSB0", kById, "FTDI", "FT232R USB UART", "A10K", "ttyUSB0", "0403", "6001"}};
    }
    return system;
}

// Adapters plugged in without a port, by the names the tables use.
PortlessAdapter portlessAdapter(const QString &name)
{
    using Module = PortlessAdapter::Module;
    const auto adapter = [](const char *vendor, const char *product, const char *maker,
                            const char *model, const char *driver, const char *module,
                            Module state) {
        PortlessAdapter made;
        made.vendorId = vendor;
        made.productId = product;
        made.manufacturer = maker;
        made.product = model;
        made.driver = driver;
        made.module = module;
        made.moduleState = state;
        return made;
    };
    PortlessAdapter ch340 = adapter("1a86", "7523", "", "USB Serial", "usbfs", "ch341", {});
    ch340.brailleService = "brltty (PID 812)";
    ch340.brailleRule = "/usr/lib/udev/rules.d/85-brltty.rules";
    ch340.problemCode = 10; // how Windows' seam would see the same adapter
    if (name == "brltty")
        return ch340;
    if (name == "brltty-etc") {
        ch340.brailleRule = "/etc/udev/rules.d/85-brltty.rules";
        return ch340;
    }
    if (name == "nodriver-ch340") {
        PortlessAdapter bare =
            adapter("1a86", "7523", "", "USB Serial", "", "ch341", Module::Loaded);
        bare.problemCode = 28;
        return bare;
    }
    if (name == "libusb") {
        PortlessAdapter cp2102 =
            adapter("10c4", "ea60", "Silicon Labs", "CP2102 USB to UART Bridge Controller", "usbfs",
                    "cp210x", Module::Unknown);
        cp2102.serialNumber = "0001";
        cp2102.claimers = {"flashtool (PID 4242)"};
        return cp2102;
    }
    if (name == "pl2303")
        return adapter("067b", "2303", "Prolific", "USB-Serial Controller", "", "pl2303",
                       Module::NotLoaded);
    if (name == "ftdi-missing")
        return adapter("0403", "6001", "FTDI", "FT232R USB UART", "", "ftdi_sio", Module::Missing);
    PortlessAdapter troubled; // on Windows: "<code>[:vendor:product[:name]]"
    const QStringList parts = name.split(':');
    troubled.problemCode = parts[0].toInt();
    troubled.vendorId = parts.value(1, "1a86").toStdString();
    troubled.productId = parts.value(2, "7523").toStdString();
    troubled.product = parts.value(3, "USB2.0-Serial").toStdString();
    return troubled;
}

} // namespace

// The notes the user reads: why a port did or did not open (in the terms of Linux and of
// Windows), what a port number opens, what changed behind it, and what an exchange did.
class tst_LinkNotes : public QObject
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
        QTest::newRow("a CH340 taken by the braille service, no other adapter")
            << Outcome::OpenFailed << ENOENT << "COM1"
            << "/dev/ttyUSB0" << false << QStringList{"portless:brltty"} << PortCause::NoSuchDevice
            << QStringList{"\nPodłączone adaptery bez portu:\n• USB Serial (USB 1a86:7523): "
                           "przejęła go usługa brajlowska brltty.\n  Usługa brltty (PID 812)",
                           "Jeśli to nie Twój monitor brajlowski",
                           "\n     sed '\\|\"1a86/7523/|s|^|#|' "
                           "/usr/lib/udev/rules.d/85-brltty.rules "
                           "| sudo tee /etc/udev/rules.d/85-brltty.rules >/dev/null\n     sudo "
                           "udevadm control --reload-rules\n",
                           "sudo systemctl mask --now brltty-udev.service brltty.service",
                           "zostanie on sprawdzony ponownie"}
            << QStringList{"Nie widać", "modprobe"};
        QTest::newRow("the braille rule already overridden in /etc")
            << Outcome::OpenFailed << ENOENT << "COM1"
            << "/dev/ttyUSB0" << false << QStringList{"portless:brltty-etc"}
            << PortCause::NoSuchDevice
            << QStringList{"\n     sudo sed -i '\\|\"1a86/7523/|s|^|#|' "
                           "/etc/udev/rules.d/85-brltty.rules\n"}
            << QStringList{"tee"};
        QTest::newRow("an adapter taken by another program through libusb")
            << Outcome::OpenFailed << ENOENT << "COM1"
            << "/dev/ttyUSB0" << false << QStringList{"portless:libusb"} << PortCause::NoSuchDevice
            << QStringList{"• Silicon Labs, CP2102 USB to UART Bridge Controller (USB 10c4:ea60, "
                           "nr "
                           "seryjny 0001): przejął go przez libusb program flashtool (PID 4242).",
                           "Zamknij ten program"}
            << QStringList{"brltty", "modprobe"};
        QTest::newRow("no driver: the module not loaded, beside other adapters")
            << Outcome::OpenFailed << ENOENT << "COM1"
            << "/dev/ttyUSB1" << true << QStringList{"portless:pl2303", "portless:brltty"}
            << PortCause::NoSuchDevice
            << QStringList{"ln -sfn " + byId +
                               " COM1\nPodłączone adaptery bez portu:\n• Prolific, "
                               "USB-Serial Controller (USB 067b:2303): żaden sterownik go nie "
                               "obsługuje "
                               "(potrzebny moduł jądra pl2303).\n  Moduł jest zainstalowany",
                           "sudo modprobe pl2303", "/etc/modules-load.d/pl2303.conf",
                           "\n• USB Serial (USB 1a86:7523): przejęła go usługa brajlowska"}
            << QStringList{"Nie widać"};
        QTest::newRow("no driver: the module not in the kernel")
            << Outcome::OpenFailed << ENOENT << ""
            << "" << false << QStringList{"portless:ftdi-missing"} << PortCause::NoSuchDevice
            << QStringList{"(potrzebny moduł jądra ftdi_sio)", "nie ma w działającym jądrze"}
            << QStringList{"modprobe"};
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
                           "odczekaj chwilę i wybierz port ponownie",
                           "echo 'ATTRS{idVendor}==\"0403\", ATTRS{idProduct}==\"6001\", "
                           "ENV{ID_MM_DEVICE_IGNORE}=\"1\"'",
                           "sudo udevadm control --reload-rules"}
            << QStringList{"inny program.", "Zamknij"};
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
                system.listed.push_back({parts[1].toStdString(), "", "", "", "", "", "", ""});
            else if (parts[0] == "holder")
                system.holding.push_back(item.mid(7).toStdString());
            else if (parts[0] == "portless")
                system.portless.push_back(portlessAdapter(parts[1]));
            else
                system.devices.insert(item.toStdString());
        }

        QCOMPARE(portCause(attempt, system), cause);
        const LinkNotes notes(system, PortAdvice::posix());
        const QString note = QString::fromStdString(notes.portNote(attempt));
        for (const QString &text : says)
            QVERIFY2(note.contains(text), qPrintable(note));
        for (const QString &text : doesNotSay + QStringList{"Kod ", "Menedżer", "COM14"})
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
#ifdef Q_OS_WIN
        QSKIP("COM1 names the device in every folder on Windows: no entry can take its name");
#endif
        ScratchFolder folder;
        const QString root = folder.work() + '/';
        QFile file(root + "dev-a");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(QDir(root).mkdir("sub"));
        const auto link = [&root](const QString &target, const QString &name) {
            std::error_code error;
            std::filesystem::create_symlink(target.toStdU16String(), (root + name).toStdU16String(),
                                            error);
            return !error;
        };
        QVERIFY(link("dev-a", "hop"));
        if (!target.isEmpty())
            QVERIFY(link(target, entry));

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
        const PortLocation location{port, path, entry.toStdString()};
        QCOMPARE(QString::fromStdString(LinkNotes(system).portTarget(location)), text);
    }

    // The adapters without a tty, read from a recorded sysfs tree with /proc and the modules.
    void usbTree_data()
    {
        // "dev:<name>:<vendor>:<product>:<devnum>:<class>/<subclass>/<driver>/<tty>" (one
        // interface each), "proc:<pid>:<name>[:<open file>]", "loaded:<module>",
        // "installed:<module>", "rule:<folder>:<ids>"
        QTest::addColumn<QStringList>("tree");
        QTest::addColumn<QStringList>("found"); // vendor:product|driver|module|state|claimers|
                                                // braille service|rule
        const QString ch340 = "dev:1-2:1a86:7523:5:ff/00/usbfs/-";
        const QString healthyFtdi = "dev:1-1:0403:6001:3:ff/ff/ftdi_sio/ttyUSB0";
        QTest::newRow("a desk of adapters, the healthy one left out")
            << QStringList{healthyFtdi,
                           ch340,
                           "dev:1-3:067b:2303:7:ff/00/-/-",
                           "dev:1-4:2341:0043:8:02/02/-/-",
                           "dev:1-5:18d1:4ee7:9:ff/42/usbfs/-", // a phone taken by adb
                           "dev:1-6:046d:0825:10:0e/01/-/-",    // a webcam without its driver
                           "dev:2-1:2341:0042:2:02/02/cdc_acm/tty",
                           "proc:812:brltty:/dev/bus/usb/001/005",
                           "proc:900:adb:/dev/bus/usb/001/009",
                           "loaded:cdc_acm",
                           "installed:pl2303",
                           "rule:usr/lib/udev/rules.d/85-brltty.rules:1a86/7523"}
            << QStringList{"1a86:7523|usbfs|ch341|0|brltty (PID 812)|brltty (PID 812)|"
                           "/usr/lib/udev/rules.d/85-brltty.rules",
                           "067b:2303||pl2303|2|||", "2341:0043||cdc_acm|1|||"};
        QTest::newRow("brltty's files unreadable, its rule overridden in /etc")
            << QStringList{ch340, "proc:812:brltty",
                           "rule:usr/lib/udev/rules.d/85-brltty.rules:1a86/7523",
                           "rule:etc/udev/rules.d/85-brltty.rules:1a86/7523"}
            << QStringList{"1a86:7523|usbfs|ch341|0||brltty (PID 812)|"
                           "/etc/udev/rules.d/85-brltty.rules"};
        QTest::newRow("taken by a program, no braille service; a driver still probing")
            << QStringList{"dev:1-2:10c4:ea60:5:ff/00/usbfs/-",
                           "dev:1-1:0403:6001:3:ff/ff/ftdi_sio/-", "dev:1-7:0403:6015:4:ff/ff/-/-",
                           "proc:4242:flashtool:/dev/bus/usb/001/005"}
            << QStringList{"0403:6015||ftdi_sio|3|||",
                           "10c4:ea60|usbfs|cp210x|0|flashtool (PID 4242)||"};
    }
    void usbTree()
    {
#ifdef Q_OS_WIN
        QSKIP("sysfs is of Linux");
#else
        QFETCH(QStringList, tree);
        QFETCH(QStringList, found);
        ScratchFolder folder;
        const std::filesystem::path root = folder.workPath();
        namespace fs = std::filesystem;
        const auto write = [&root](const fs::path &file, const std::string &text) {
            fs::create_directories((root / file).parent_path());
            std::ofstream(root / file) << text << "\n";
        };
        write("proc/sys/kernel/osrelease", "6.1.0-test");
        std::string dep;
        for (const QString &item : tree) {
            const QStringList f = item.split(':');
            if (f[0] == "dev") {
                const fs::path device = fs::path("sys/bus/usb/devices") / f[1].toStdString();
                write(device / "idVendor", f[2].toStdString());
                write(device / "idProduct", f[3].toStdString());
                write(device / "product", "Adapter " + f[3].toStdString());
                write(device / "busnum", f[1].left(1).toStdString());
                write(device / "devnum", f[4].toStdString());
                fs::create_directories(root / "dev/bus/usb" / ("00" + f[1].left(1).toStdString()));
                const QStringList i = f[5].split('/');
                const fs::path interface = device.string() + ":1.0";
                write(interface / "bInterfaceClass", i[0].toStdString());
                write(interface / "bInterfaceSubClass", i[1].toStdString());
                if (i[2] != "-")
                    fs::create_directory_symlink("../../../../bus/usb/drivers/" +
                                                     i[2].toStdString(),
                                                 root / interface / "driver");
                if (i[3] != "-")
                    fs::create_directories(root / interface / i[3].toStdString());
            } else if (f[0] == "proc") {
                const fs::path process = fs::path("proc") / f[1].toStdString();
                write(process / "comm", f[2].toStdString());
                fs::create_directories(root / process / "fd");
                if (f.size() > 3)
                    fs::create_symlink(f[3].toStdString(), root / process / "fd/7");
            } else if (f[0] == "loaded") {
                fs::create_directories(root / "sys/module" / f[1].toStdString());
            } else if (f[0] == "installed") {
                dep += "kernel/drivers/usb/serial/" + f[1].toStdString() + ".ko.xz: usbserial.ko\n";
            } else if (f[0] == "rule") {
                write(f[1].toStdString(), "# Device: " + f[2].toStdString() + "\nENV{PRODUCT}==\"" +
                                              f[2].toStdString() + "/*\", GOTO=\"brltty_usb_run\"");
            }
        }
        write("lib/modules/6.1.0-test/modules.dep", dep + "kernel/drivers/usb/serial/ch341.ko.xz:");

        const UsbTree usb(root);
        QStringList seen;
        for (const PortlessAdapter &a : usb.portless()) {
            QString claimers;
            for (const std::string &claimer : a.claimers)
                claimers += QString::fromStdString(claimer);
            seen << QString::fromStdString(a.vendorId + ":" + a.productId + "|" + a.driver + "|" +
                                           a.module + "|") +
                        QString::number(int(a.moduleState)) + "|" + claimers + "|" +
                        QString::fromStdString(a.brailleService + "|" + a.brailleRule);
        }
        seen.sort();
        found.sort();
        QCOMPARE(seen, found);
        QVERIFY(!usb.busFolders().empty());
        QCOMPARE(QString::fromStdString(usb.busFolders().front()), QString("/dev/bus/usb/001"));
#endif
    }

    // On Windows port N is the device COM<N>: its note never gives the advice of Linux.
    void windowsNote_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<bool>("listed"); // COM12 is among the ports the system lists
        QTest::addColumn<bool>("others"); // other COM ports are present
        QTest::addColumn<QStringList>("portless");
        QTest::addColumn<QStringList>("says");
        QTest::newRow("no such port, others present")
            << ENOENT << false << true << QStringList{}
            << QStringList{"Port 12: COM12\nPortu COM12 nie ma w systemie.",
                           "\n• USB Serial Port (COM14), FTDI, nr seryjny A10K\n",
                           "\n• Communications Port (COM1)\n", "Menedżerze urządzeń"};
        QTest::newRow("no port at all") << ENOENT << false << false << QStringList{}
                                        << QStringList{"Nie widać żadnego portu COM"};
        QTest::newRow("no driver installed, no port at all")
            << ENOENT << false << false << QStringList{"28"}
            << QStringList{"Portu COM12 nie ma w systemie.\nUrządzenia bez portu COM",
                           "\n• USB2.0-Serial (VID_1A86&PID_7523): Sterowniki dla tego urządzenia "
                           "nie są\n  zainstalowane. (Kod 28)",
                           "WCH CH341SER"};
        QTest::newRow("an adapter refused by its driver, beside other ports")
            << ENOENT << false << true
            << QStringList{"10:067b:2303:Prolific USB-to-Serial Comm Port"}
            << QStringList{"Obecne porty COM:", "(VID_067B&PID_2303): Nie można uruchomić",
                           "(Kod 10)", "nie jest oryginalny"};
        QTest::newRow("two at once: disabled, and stopped by the system")
            << ENOENT << false << false << QStringList{"22", "43:0403:6001:USB Serial Port"}
            << QStringList{"To urządzenie jest wyłączone. (Kod 22)\n  Włącz je w Menedżerze",
                           "\n• USB Serial Port (VID_0403&PID_6001): System Windows", "(Kod 43)"};
        QTest::newRow("access denied: held by another program")
            << EBUSY << true << true << QStringList{"28"}
            << QStringList{"Windows odmawia dostępu", "inny program"};
    }
    void windowsNote()
    {
        QFETCH(int, error);
        QFETCH(bool, listed);
        QFETCH(bool, others);
        QFETCH(QStringList, portless);
        QFETCH(QStringList, says);
        FakePortSystem system;
        for (const QString &adapter : portless)
            system.portless.push_back(portlessAdapter(adapter));
        if (listed)
            system.devices.insert("COM12");
        if (others)
            system.listed = {
                {"\\\\.\\COM14", "", "FTDI", "USB Serial Port", "A10K", "COM14", "", ""},
                {"COM1", "", "", "Communications Port", "", "COM1", "", ""}};
        PortAttempt attempt;
        static_cast<PortLocation &>(attempt) = {12, "COM12", ""};
        attempt.outcome = PortAttempt::Outcome::OpenFailed;
        attempt.error = error;
        const QString note =
            QString::fromStdString(LinkNotes(system, PortAdvice::windows()).portNote(attempt));
        for (const QString &text : says)
            QVERIFY2(note.contains(text), qPrintable(note));
        // A tooltip of such lines stays within a small laptop's screen at 150 %.
        for (const QString &line : note.split('\n'))
            QVERIFY2(line.size() <= 76, qPrintable(line));
        for (const char *linux :
             {"/dev", "ln -s", "grup", "usermod", "Łącze", "ModemManager", "moduł", "USB 1a86"})
            QVERIFY2(!note.contains(QString::fromUtf8(linux)), qPrintable(note));
    }

    // What the port note says changed behind the port.
    void portChange_data()
    {
        // entry;link target;device;present ("-" empty)[;adapters without a port, by name]
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("says"); // empty: nothing changed
        QTest::newRow("link made") << "-;-;-;0"
                                   << "COM1;/dev/pts/4;/dev/pts/4;1"
                                   << "Zmiana: w folderze roboczym pojawiło się łącze COM1 → "
                                      "/dev/pts/4.";
        QTest::newRow("link removed") << "COM1;/dev/pts/4;/dev/pts/4;1"
                                      << "-;-;-;0"
                                      << "Zmiana: łącze COM1 zniknęło z folderu roboczego; port "
                                         "1 otwiera teraz /dev/ttyS0.";
        QTest::newRow("link pointed elsewhere")
            << "COM1;/dev/ttyUSB0;/dev/ttyUSB0;1"
            << "COM1;/dev/ttyUSB1;/dev/ttyUSB1;1"
            << "Zmiana: łącze COM1 wskazuje teraz na /dev/ttyUSB1 (wcześniej na /dev/ttyUSB0).";
        QTest::newRow("adapter plugged in")
            << "COM1;/dev/ttyUSB0;-;0"
            << "COM1;/dev/ttyUSB0;/dev/ttyUSB0;1"
            << "Zmiana: pojawiło się urządzenie /dev/ttyUSB0 (adapter podłączony).";
        QTest::newRow("adapter pulled out")
            << "COM1;/dev/ttyUSB0;/dev/ttyUSB0;1"
            << "COM1;/dev/ttyUSB0;-;0"
            << "Zmiana: zniknęło urządzenie /dev/ttyUSB0 (adapter odłączony).";
        // Why the CH340 has no port, in the host's own terms.
#ifdef Q_OS_WIN
        const QString taken = "Nie można uruchomić tego urządzenia. (Kod 10).";
#else
        const QString taken = "przejęła go usługa brajlowska brltty.";
#endif
        QTest::newRow("an adapter without a port plugged in")
            << "COM1;/dev/ttyUSB0;-;0"
            << "COM1;/dev/ttyUSB0;-;0;brltty"
            << "Zmiana: podłączono adapter USB Serial (USB 1a86:7523) bez portu: " + taken;
        QTest::newRow("its claim changed")
            << "COM1;/dev/ttyUSB0;-;0;nodriver-ch340"
            << "COM1;/dev/ttyUSB0;-;0;brltty"
            << "Zmiana: adapter USB Serial (USB 1a86:7523) nadal nie ma portu: " + taken;
        QTest::newRow("it got its port")
            << "COM1;/dev/ttyUSB0;-;0;brltty"
            << "COM1;/dev/ttyUSB0;/dev/ttyUSB0;1"
            << "Zmiana: pojawiło się urządzenie /dev/ttyUSB0 (adapter podłączony).";
        QTest::newRow("it went") << "COM1;/dev/ttyUSB0;-;0;pl2303,brltty"
                                 << "COM1;/dev/ttyUSB0;-;0;pl2303"
                                 << "Zmiana: adapter bez portu został odłączony albo dostał port.";
        QTest::newRow("nothing changed") << "COM1;/dev/pts/4;/dev/pts/4;1"
                                         << "COM1;/dev/pts/4;/dev/pts/4;1"
                                         << "";
    }
    void portChange()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        const auto facts = [](const QString &text) {
            const QStringList parts = text.split(';');
            const auto part = [&](int i) {
                return parts[i] == "-" ? std::string() : parts[i].toStdString();
            };
            PortFacts facts;
            facts.location = {1, parts[0] == "-" ? "/dev/ttyS0" : kFolder + part(0), part(0)};
            facts.linkTarget = part(1);
            facts.device = part(2);
            facts.present = parts[3] == "1";
            for (const QString &name : parts.value(4).split(',', Qt::SkipEmptyParts))
                facts.portless.push_back(portlessAdapter(name));
            return facts;
        };
        const FakePortSystem system;
        QTEST(QString::fromStdString(LinkNotes(system).portChange(facts(before), facts(after))),
              "says");
    }

    // Each verdict of an exchange, from the bytes on the wire and their times.
    void exchangeNote_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<QByteArray>("reply"); // hex; "@MS" starts a piece that came then
        QTest::addColumn<QByteArray>("late");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QStringList>("says");
        QTest::addColumn<int>("lines");     // the control lines, as PortAttempt::ControlLines
        QTest::addColumn<int>("lostAfter"); // ms after the request the device went; -1: it did not
        QTest::addColumn<QStringList>("before"); // a read's entries at the click; none: not told

        const QByteArray read = hexText(BuildReadRequest(0x05)).toLatin1();
        const QByteArray values =
            hexText(buildLongFrame(0x05, 0x03, {215, 15, -3, 1200, 30, -150, 0, 0})).toLatin1();
        const QByteArray written = hexText(buildShortFrame(0x05, 0x10)).toLatin1();
        const QByteArray writeRequest =
            hexText(buildLongFrame(0x05, 0x10, {1, 2, 3, 4, 5, 6, 7, -8})).toLatin1();

        QTest::newRow("read")
            << false << "@14 " + values << QByteArray() << "9600,n,8,1"
            << QStringList{"Odczyt danych, 12:34:56\n",
                           "Port 3: /dev/ttyS2, parametry 9600,n,8,1\n",
                           "Wysłano 8 bajtów: FF FF 01 05 00 03 51 D8\n",
                           "Odebrano w ciągu 200 ms: 24 bajty, po 14 ms: FF FF 01 05 00 03 00 D7",
                           "Wynik: odczytano osiem wartości: 215, 15, -3, 1200, 30, -150, 0, 0."}
            << 0 << -1 << QStringList{};
        QTest::newRow("write")
            << true << "@9 " + written << QByteArray() << ""
            << QStringList{"Zapis danych, 12:34:56\n", "parametry 9600,n,8,1 (domyślne)\n",
                           "Wysłano 24 bajty: FF FF 01 05 00 10 00 01",
                           "Wynik: urządzenie przyjęło zapisane wartości: 1, 2, 3, 4, 5, 6, 7, -8."}
            << 0 << -1 << QStringList{};
        QTest::newRow("nothing came back") << false << QByteArray() << QByteArray() << "19200,e,8,1"
                                           << QStringList{"Odebrano w ciągu 200 ms: nic\n",
                                                          "Wynik: nic nie wróciło.",
                                                          "włączone i podłączone",
                                                          "właściwy port",
                                                          "TX i RX",
                                                          "z parametrami 19200,e,8,1."}
                                           << 0 << -1 << QStringList{};
        QTest::newRow("echo, then silence")
            << false << "@1 " + read << QByteArray() << ""
            << QStringList{"(echo)", "konwerter dwuprzewodowy", "TX i RX",
                           "Po echu urządzenie nic nie odpowiedziało."}
            << 0 << -1 << QStringList{};
        QTest::newRow("echo, then the reply")
            << true << "@3 " + writeRequest + " @40 " + written << QByteArray() << ""
            << QStringList{"32 bajty, pierwsze po 3 ms, ostatnie po 40 ms", "(echo)",
                           "Po echu przyszła poprawna odpowiedź urządzenia: wyłącz echo"}
            << 0 << -1 << QStringList{};
        QTest::newRow("reply after the wait")
            << false << QByteArray() << "@250 " + values << ""
            << QStringList{"Odebrano w ciągu 200 ms: nic\n",
                           "Po czasie oczekiwania (odrzucone): 24 bajty, po 250 ms",
                           "Wynik: odpowiedź przyszła za późno: pierwszy bajt po 250 ms, a "
                           "program czeka 200 ms",
                           "(to była poprawna odpowiedź)"}
            << 0 << -1 << QStringList{};
        QTest::newRow("reply partly after the wait")
            << false << "@150 " + values.left(29) << "@260 " + values.mid(30) << ""
            << QStringList{"w części za późno: 10 z 24 bajtów w ciągu 200 ms, reszta po 260 ms"}
            << 0 << -1 << QStringList{};
        QTest::newRow("reply cut short")
            << false << "@20 " + values.left(29) << QByteArray() << ""
            << QStringList{"Wynik: odpowiedź urwana: przyszło 10 z 24 bajtów"} << 0 << -1
            << QStringList{};
        QTest::newRow("noise, another speed")
            << false << QByteArray("@30 13 37 C4 00 9E 2B 77 08") << QByteArray("@260 01")
            << "4800,o,7,1"
            << QStringList{"Wynik: przyszły bajty, ale nie ramka",
                           "prędkością lub parzystością niż 4800,o,7,1."}
            << 0 << -1 << QStringList{};
        QTest::newRow("check value wrong")
            << false << "@30 " + values.left(values.size() - 2) + "00" << QByteArray() << ""
            << QStringList{"nie zgadza się jej suma kontrolna"} << 0 << -1 << QStringList{};
        QTest::newRow("a stray byte after the frame")
            << true << "@9 " + written + " 5A" << QByteArray() << ""
            << QStringList{"poprawna ramka, a po niej 1 bajt nadmiaru"} << 0 << -1 << QStringList{};
        QTest::newRow("another device")
            << false << "@15 " + hexText(buildLongFrame(0x07, 0x03, {})).toLatin1() << QByteArray()
            << ""
            << QStringList{"urządzenie o kodzie 07", "regulator-rt8.set ma ID=05",
                           "wybrany opis nie pasuje do tego urządzenia"}
            << 0 << -1 << QStringList{};
        QTest::newRow("write refused")
            << true << "@9 " + hexText(buildShortFrame(0x05, 0x90)).toLatin1() << QByteArray() << ""
            << QStringList{"odmówiło zapisu", "bajt polecenia 0x90 zamiast 0x10"} << 0 << -1
            << QStringList{};
        const int raised = int(PortAttempt::ControlLines::Raised);
        const int refused = int(PortAttempt::ControlLines::Refused);
        QTest::newRow("control lines raised")
            << false << "@14 " + values << QByteArray() << "9600,n,8,1"
            << QStringList{"Port 3: /dev/ttyS2, parametry 9600,n,8,1, DTR i RTS włączone\n"}
            << raised << -1 << QStringList{};
        QTest::newRow("control lines the port cannot set")
            << true << "@9 " + written << QByteArray() << ""
            << QStringList{"(domyślne), DTR i RTS: port ich nie ustawia\n",
                           "Wynik: urządzenie przyjęło"}
            << refused << -1 << QStringList{};
        QTest::newRow("device gone while waiting for a read")
            << false << QByteArray() << QByteArray() << ""
            << QStringList{"Odebrano w ciągu 200 ms: nic\n",
                           "Port zamknięty po 80 ms: urządzenie zniknęło (system: „Device "
                           "disappeared from the system”).",
                           "Wynik: urządzenie zniknęło w trakcie odczytu, zanim odpowiedziało",
                           "port zostanie sprawdzony sam."}
            << raised << 80 << QStringList{};
        QTest::newRow("device gone after its reply")
            << true << "@9 " + written << QByteArray() << ""
            << QStringList{"Port zamknięty po 250 ms: urządzenie zniknęło",
                           "Wynik: urządzenie przyjęło zapisane wartości"}
            << raised << 250 << QStringList{};
        // Slots 6 to 8 are not in use: their entries are left out.
        QTest::newRow("a read that changed two entries")
            << false << "@14 " + values << QByteArray() << ""
            << QStringList{"Histereza: 20 → 15\nCzas: 1000 → 1200"} << 0 << -1
            << QStringList{"215", "20", "-3", "1000", "30", "0", "0", "0"};
        QTest::newRow("a read that changed nothing shown")
            << false << "@14 " + values << QByteArray() << ""
            << QStringList{"Wynik: odczytano osiem wartości",
                           "Urządzenie ma to, co było na ekranie: odczyt nie zmienił żadnej "
                           "wartości."}
            << 0 << -1 << QStringList{"215", "15", "-3", "1200", "30", "0", "0", "0"};
        QByteArray flood = "@5";
        for (int i = 0; i < 100; ++i)
            flood += QByteArray(" ") + QByteArray::number(i % 256, 16).rightJustified(2, '0');
        QTest::newRow("a flood, shortened in the middle")
            << false << flood << QByteArray() << ""
            << QStringList{"100 bajtów, po 5 ms:\n00 01 02 03", "0E 0F … 5E 5F", "62 63\n"} << 0
            << -1 << QStringList{};
    }
    void exchangeNote()
    {
        QFETCH(bool, write);
        QFETCH(QByteArray, reply);
        QFETCH(QByteArray, late);
        QFETCH(QString, settings);
        QFETCH(QStringList, says);
        QFETCH(int, lines);
        QFETCH(int, lostAfter);
        QFETCH(QStringList, before);
        const auto arrivals = [](const QByteArray &text) {
            Arrivals pieces;
            for (const QByteArray &piece : text.split('@')) {
                if (piece.trimmed().isEmpty())
                    continue;
                const int space = piece.indexOf(' ');
                pieces.push_back({std::chrono::milliseconds(piece.left(space).toInt()),
                                  hexBytes(piece.mid(space + 1).trimmed().constData())});
            }
            return pieces;
        };
        ExchangeRecord record;
        record.kind = write ? ExchangeRecord::Kind::Write : ExchangeRecord::Kind::Read;
        std::tm noon{};
        noon.tm_year = 126;
        noon.tm_mon = 11;
        noon.tm_mday = 8;
        noon.tm_hour = 12;
        noon.tm_min = 34;
        noon.tm_sec = 56;
        noon.tm_isdst = -1;
        record.when = std::chrono::system_clock::from_time_t(std::mktime(&noon));
        static_cast<PortLocation &>(record.port) = {3, "/dev/ttyS2", ""};
        record.port.settings = settings.toStdString();
        record.port.controlLines = PortAttempt::ControlLines(lines);
        if (lostAfter >= 0)
            record.lost = PortLoss{std::chrono::milliseconds(lostAfter),
                                   "Device disappeared from the system"};
        record.deviceCode = 0x05;
        record.descriptionFile = "regulator-rt8.set";
        record.request =
            write ? buildLongFrame(0x05, 0x10, {1, 2, 3, 4, 5, 6, 7, -8}) : BuildReadRequest(0x05);
        record.reply = arrivals(reply);
        record.late = arrivals(late);
        record.outcome = write ? checkWriteReply(joined(record.reply), 0x05)
                               : checkReadReply(joined(record.reply), 0x05).outcome;

        const FakePortSystem system;
        std::string composed = LinkNotes(system).exchangeNote(record);
        if (!before.isEmpty()) {
            LinkNotes::Entries entriesBefore, entriesAfter;
            const ReadReplyCheck read = checkReadReply(joined(record.reply), 0x05);
            for (std::size_t k = 0; k < std::size_t(kSlotCount); ++k) {
                entriesBefore[k] = before[int(k)].toStdString();
                entriesAfter[k] = std::to_string(read.values[k]);
            }
            composed += "\n" + LinkNotes(system).readChanges(
                                   entriesBefore, entriesAfter,
                                   {"Temperatura", "Histereza", "Korekta", "Czas"});
        }
        const QString note = QString::fromStdString(composed);
        // Lines break where the text wants them and where it grows too wide.
        for (const QString &line : note.split('\n'))
            QVERIFY2(line.size() <= 76, qPrintable(line));
        const QString flowing = QString(note).replace('\n', ' ');
        for (const QString &text : says)
            QVERIFY2(flowing.contains(QString(text).replace('\n', ' ')), qPrintable(note));
        QCOMPARE(note.count("Wynik: "), 1);
        if (!before.isEmpty())
            QVERIFY2(note.endsWith(says.last()), qPrintable(note));
    }

    void unsentExchangeNote_data()
    {
        QTest::addColumn<int>("stage");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("says");
        QTest::newRow("a rejected value") << int(ExchangeRecord::Stage::InvalidValues) << 3
                                          << "Nie wysłano nic: wartość w jednym z pól";
        QTest::newRow("the last port test failed")
            << int(ExchangeRecord::Stage::PortUnavailable) << 3
            << "ostatni test portu 3 się nie powiódł („Port niedostępny!”)";
        QTest::newRow("no port chosen")
            << int(ExchangeRecord::Stage::PortUnavailable) << 0 << "nie wybrano portu";
        QTest::newRow("the open failed") << int(ExchangeRecord::Stage::OpenFailed) << 3
                                         << "port się nie otworzył.\nPort 3: /dev/ttyS2\n";
    }
    void unsentExchangeNote()
    {
        QFETCH(int, stage);
        QFETCH(int, port);
        QFETCH(QString, says);
        ExchangeRecord record;
        record.stage = ExchangeRecord::Stage(stage);
        static_cast<PortLocation &>(record.port) = {port, "/dev/ttyS2", ""};
        record.port.outcome = PortAttempt::Outcome::OpenFailed;
        const FakePortSystem system;
        const QString note =
            QString::fromStdString(LinkNotes(system).exchangeNote(record)).replace('\n', ' ');
        QVERIFY2(note.contains(QString(says).replace('\n', ' ')), qPrintable(note));
        QVERIFY2(!note.contains("Wysłano") && !note.contains("Wynik"), qPrintable(note));
    }
};

QTEST_APPLESS_MAIN(tst_LinkNotes)
#include "tst_linknotes.moc"
