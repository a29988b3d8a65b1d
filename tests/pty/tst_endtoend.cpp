#include "outcomemessages.h"
#include "portholder.h"
#include "ptyrig.h"
#include "timedhost.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>

using namespace Dravix;

using namespace OutcomeMessages;

namespace {

constexpr int kExchangeTimeoutMs = 3000;

// Opens port N of the folder in a child process that runs as the given user; the cause (a
// number) and the note, or the empty text when the child could not become that user.
QString openAs(const passwd &user, const QString &folder, int port)
{
    int out[2];
    if (::pipe(out) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(out[0]);
        if (::setgroups(0, nullptr) != 0 || ::setgid(user.pw_gid) != 0 ||
            ::setuid(user.pw_uid) != 0)
            ::_exit(2);
        QtSerialPort serial(folder.toStdString());
        const PortAttempt attempt = serial.open(port, "");
        const std::string text = std::to_string(int(portCause(attempt, serial.system()))) + "\n" +
                                 LinkNotes(serial.system()).portNote(attempt);
        [[maybe_unused]] const auto written = ::write(out[1], text.data(), text.size());
        ::_exit(0);
    }
    ::close(out[1]);
    QByteArray text;
    char buffer[512];
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, n);
    ::close(out[0]);
    ::waitpid(pid, nullptr, 0);
    return QString::fromUtf8(text);
}

} // namespace

// The real serial port and the exchanges against dravix-sim on a pseudo-terminal.
class tst_EndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        const QString reason = PtyRig<TimedHost>::unavailableReason();
        if (!reason.isEmpty())
            QSKIP(qPrintable(reason));
    }

    void init()
    {
        m_rig = std::make_unique<PtyRig<TimedHost>>();
        QVERIFY(m_rig->folder.isValid());
    }
    void cleanup() { m_rig.reset(); }

    void portTest()
    {
        startSim({});
        QCOMPARE(m_rig->exchange.TestPort("1"), 1);
        QCOMPARE(m_rig->host.portInfoVisible, std::optional<bool>(false));
        QVERIFY(!m_rig->port.isOpen());

        m_rig->host.lineSettings = "9600,n,9,1";
        QCOMPARE(m_rig->exchange.TestPort("1"), 0);
        QCOMPARE(m_rig->host.portInfoVisible, std::optional<bool>(true));
        QVERIFY(!m_rig->port.isOpen());
        QCOMPARE(m_rig->host.cause, PortCause::SettingsRefused);
        QVERIFY(m_rig->host.portNote.find("„9600,n,9,1” nie mają postaci") != std::string::npos);

        // The terminal keeps 8 data bits without parity whatever it is told.
        m_rig->host.lineSettings = "9600,e,7,1";
        QCOMPARE(m_rig->exchange.TestPort("1"), 0);
        QCOMPARE(m_rig->host.cause, PortCause::SettingsRefused);
        QVERIFY(m_rig->host.portNote.find("nie przyjmuje parametrów transmisji „9600,e,7,1”") !=
                std::string::npos);
        QVERIFY(!m_rig->port.isOpen());

        m_rig->host.lineSettings = "19200,N,8,1";
        QCOMPARE(m_rig->exchange.TestPort("1"), 1);
        QCOMPARE(m_rig->host.portInfoVisible, std::optional<bool>(false));

        if (!QFileInfo::exists(QStringLiteral("/dev/ttyS1"))) {
            // No COM2 entry here and no /dev/ttyS1 behind it.
            QCOMPARE(m_rig->exchange.TestPort("2"), 0);
            QCOMPARE(m_rig->host.portInfoVisible, std::optional<bool>(true));
        }
    }

    void linkToAMissingDevice()
    {
        const QString missing = QStringLiteral("/dev/ttyUSB97");
        if (QFileInfo::exists(missing))
            QSKIP("this machine has a /dev/ttyUSB97");
        QVERIFY(QFile::link(missing, QDir::current().filePath("COM2")));
        QCOMPARE(m_rig->exchange.TestPort("2"), 0);
        QCOMPARE(m_rig->host.portInfoVisible, std::optional<bool>(true));
        QCOMPARE(m_rig->host.cause, PortCause::NoSuchDevice);
        const QString note = QString::fromStdString(m_rig->host.portNote);
        QVERIFY2(note.startsWith("Port 2: COM2 → /dev/ttyUSB97\nŁącze COM2 wskazuje na "
                                 "/dev/ttyUSB97,\na takiego urządzenia nie ma"),
                 qPrintable(note));
        QCOMPARE(QString::fromStdString(
                     LinkNotes(m_rig->port.system()).portTarget(m_rig->port.locate(2))),
                 "Port 2: COM2 → /dev/ttyUSB97 (nie istnieje)");
    }

    void portHeldByAnotherProgram()
    {
        startSim({});
        QVERIFY(portReady());
        QVERIFY(m_rig->host.portNote.find("Otwarty poprawnie: /dev/pts/") != std::string::npos);
        PortHolder holder;
        QVERIFY(holder.start(QDir::current().filePath("COM1"), "holder-e2e"));

        QCOMPARE(m_rig->exchange.TestPort("1"), 0);
        QCOMPARE(m_rig->host.portInfoVisible, std::optional<bool>(true));
        QCOMPARE(m_rig->host.cause, PortCause::Busy);
        const QString note = QString::fromStdString(m_rig->host.portNote);
        QVERIFY2(note.contains(QRegularExpression(
                     "^Port 1: COM1 → /dev/pts/\\d+\nPort jest zajęty: używa go holder-e2e "
                     "\\(PID \\d+\\)")),
                 qPrintable(note));
        QVERIFY(!m_rig->port.isOpen());

        // Taken after the last good test: the exchange does not send.
        m_rig->state.PortAvailable = 1;
        m_rig->host.portNote.clear();
        m_rig->exchange.StartRead();
        QCOMPARE(m_rig->host.messages, std::vector<std::string>{kPortUnavailable});
        QVERIFY(m_rig->host.portNote.find("holder-e2e") != std::string::npos);
        QVERIFY(!m_rig->exchange.isPending());
        QTest::qWait(300);
        QCOMPARE(m_rig->sim.frames("rx"), QStringList{});

        holder.stop();
        QCOMPARE(m_rig->exchange.TestPort("1"), 1);
    }

    void openPortIsLockedForOthers()
    {
        startSim({"--delay", "150"});
        QVERIFY(portReady());
        m_rig->exchange.StartRead();
        QVERIFY(m_rig->port.isOpen());
        PortHolder other;
        QVERIFY(!other.start(QDir::current().filePath("COM1"), "late-e2e"));
        other.stop();
        QTRY_COMPARE_WITH_TIMEOUT(m_rig->host.ended, 1, kExchangeTimeoutMs);
        QCOMPARE(m_rig->host.messages, std::vector<std::string>{kReadDone});
        QVERIFY(other.start(QDir::current().filePath("COM1"), "late-e2e"));
    }

    void permissionForAnUnprivilegedUser()
    {
        if (::geteuid() != 0)
            QSKIP("only root can run the port as another, unprivileged user");
        const passwd *nobody = ::getpwnam("nobody");
        if (!nobody)
            QSKIP("no user nobody here");
        startSim({});
        const QString device = QFileInfo(QDir::current().filePath("COM1")).canonicalFilePath();
        if (QFileInfo(device).permissions() & QFileDevice::WriteOther)
            QSKIP("the terminal is open to every user here");
        for (const QString &folder : {m_rig->folder.outside(), m_rig->folder.work()})
            QVERIFY(QFile::setPermissions(
                folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                            QFileDevice::ExeGroup | QFileDevice::ExeOther));
        const QString got = openAs(*nobody, m_rig->folder.work(), 1);
        QVERIFY2(got.startsWith(QString::number(int(PortCause::PermissionDenied)) + "\n"),
                 qPrintable(got));
        const QString group = QFileInfo(device).group();
        QVERIFY2(got.contains("Brak uprawnień do otwarcia " + device + "."), qPrintable(got));
        QVERIFY2(got.contains("należy do grupy " + group +
                              ", a konto nobody do niej nie "
                              "należy. Dodaj je poleceniem:\nsudo usermod -aG " +
                              group + " nobody\n"),
                 qPrintable(got));
    }

    void readFillsEntries()
    {
        startSim({"--values", "1,-1,300,-300,32767,-32768,0,42"});
        QVERIFY(portReady());
        QCOMPARE(runRead(), QString(kReadDone));
        const std::array<std::string, 8> expected{"1",     "-1",     "300", "-300",
                                                  "32767", "-32768", "0",   "42"};
        QCOMPARE(m_rig->host.entries, expected);
        QCOMPARE(m_rig->sim.frames("rx"), QStringList{"FF FF 01 05 00 03 51 D8"});
        QVERIFY(!m_rig->port.isOpen());
        QVERIFY(!m_rig->host.anyTimerActive());
    }

    void writeSendsTheFrame()
    {
        startSim({});
        QVERIFY(portReady());
        m_rig->host.entries = {"0", "1", "-1", "100", "300", "-300", "32767", "-32768"};
        QCOMPARE(runWrite(), QString(kWriteDone));
        QCOMPARE(m_rig->sim.frames("rx"),
                 QStringList{"FF FF 01 05 00 10 00 00 00 01 FF FF 00 64 01 2C FE D4 7F FF 80 00 "
                             "65 64"});
        QVERIFY(!m_rig->port.isOpen());

        m_rig->host.entries.fill("9");
        QCOMPARE(runRead(), QString(kReadDone));
        const std::array<std::string, 8> expected{"0",   "1",    "-1",    "100",
                                                  "300", "-300", "32767", "-32768"};
        QCOMPARE(m_rig->host.entries, expected);
    }

    void faults_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("write");
        QTest::addColumn<QString>("message");
        QTest::newRow("silent read") << QStringList{"--silent"} << false << kNoReply;
        QTest::newRow("silent write") << QStringList{"--silent"} << true << kNoReply;
        QTest::newRow("wrong id") << QStringList{"--wrong-id"} << false << kWrongDevice;
        QTest::newRow("bad crc") << QStringList{"--bad-crc"} << true << kFrameError;
        QTest::newRow("cut") << QStringList{"--cut", "10"} << false << kFrameError;
        QTest::newRow("stray byte") << QStringList{"--stray"} << false << kFrameError;
        QTest::newRow("late reply") << QStringList{"--delay", "300"} << false << kNoReply;
        QTest::newRow("refused write") << QStringList{"--refuse-write"} << true << kWriteRefused;
        QTest::newRow("preamble 00 00 read") << QStringList{"--preamble00"} << false << kReadDone;
        QTest::newRow("preamble 00 00 write") << QStringList{"--preamble00"} << true << kWriteDone;
    }
    void faults()
    {
        QFETCH(QStringList, options);
        QFETCH(bool, write);
        QFETCH(QString, message);
        startSim(options);
        QVERIFY(portReady());
        m_rig->host.entries.fill("7");
        QCOMPARE(write ? runWrite() : runRead(), message);
        if (!write && message != kReadDone) {
            for (const std::string &entry : m_rig->host.entries)
                QCOMPARE(entry, std::string("7"));
        }
        QVERIFY(!m_rig->port.isOpen());
        QVERIFY(!m_rig->host.anyTimerActive());
    }

    void restOfACutReplyIsDropped()
    {
        startSim({"--cut", "10", "--rest-after", "300", "--fault-count", "1"});
        QVERIFY(portReady());
        QCOMPARE(runRead(), QString(kFrameError));
        // The rest reaches the terminal while the port is closed.
        QTRY_COMPARE_WITH_TIMEOUT(m_rig->sim.frames("tx").size(), 2, 2000);
        QTest::qWait(50);
        QCOMPARE(runRead(), QString(kReadDone));
        QCOMPARE(m_rig->host.entries[7], std::string("800"));
    }

    void simulatorKilledDuringAnExchange()
    {
        startSim({"--delay", "150"});
        QVERIFY(portReady());
        m_rig->exchange.StartRead();
        QVERIFY(m_rig->exchange.isPending());
        QTest::qWait(50);
        m_rig->sim.kill();
        QTRY_COMPARE_WITH_TIMEOUT(m_rig->host.ended, 1, kExchangeTimeoutMs);
        QCOMPARE(m_rig->host.messages, std::vector<std::string>{kNoReply});
        QVERIFY(!m_rig->port.isOpen());

        // The link now points nowhere: the port counts as gone. (Unless another process on
        // the machine has just been given the same terminal number.)
        if (QFileInfo::exists(QDir::current().filePath("COM1")))
            QSKIP("the terminal number was reused by another process");
        QCOMPARE(m_rig->exchange.TestPort("1"), 0);
        QCOMPARE(m_rig->host.portInfoVisible, std::optional<bool>(true));
    }

    void simulatorKilledWhileWaitingForAWrite()
    {
        startSim({"--silent"});
        QVERIFY(portReady());
        m_rig->exchange.StartWrite();
        m_rig->sim.kill();
        QTRY_COMPARE_WITH_TIMEOUT(m_rig->host.ended, 1, kExchangeTimeoutMs);
        QCOMPARE(m_rig->host.messages, std::vector<std::string>{kNoReply});
        QVERIFY(!m_rig->port.isOpen());
    }

    void simulatorRemovesItsLink()
    {
        startSim({"--port", "3"});
        QVERIFY(QFileInfo(QDir::current().filePath("COM3")).isSymLink());
        m_rig->sim.terminate();
        QCOMPARE(m_rig->sim.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_rig->sim.process().exitCode(), 0);
        QVERIFY(!QFileInfo(QDir::current().filePath("COM3")).isSymLink());
    }

private:
    void startSim(const QStringList &options)
    {
        QVERIFY2(m_rig->startSim(options), qPrintable(m_rig->sim.errors()));
    }
    bool portReady() { return m_rig->portReady(); }
    QString runExchange(bool write) { return m_rig->runExchange(write, kExchangeTimeoutMs); }
    QString runRead() { return runExchange(false); }
    QString runWrite() { return runExchange(true); }

    std::unique_ptr<PtyRig<TimedHost>> m_rig;
};

QTEST_GUILESS_MAIN(tst_EndToEnd)
#include "tst_endtoend.moc"
