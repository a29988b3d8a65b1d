#include "windowfixture.h"

#include "staterecord.h"

#include <QTest>

#include <sys/ptrace.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <memory>

using namespace Dravix;

namespace {

// How the saving process is stopped: at a byte of its temporary file, or at a system call.
enum class Stop { AtByte, AtSyscall };

// Runs the save in a child process that dies where told; true when it died before the end.
// Killed at byte K, the child's write past the first K bytes of any file ends it (SIGXFSZ);
// killed at system call N, it gets SIGKILL at the N-th entry to or exit from a system call.
std::optional<bool> saveInterrupted(const std::function<void()> &save, Stop stop, long at)
{
    const pid_t child = ::fork();
    if (child < 0)
        return std::nullopt;
    if (child == 0) {
        const rlimit noCore{0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
        if (stop == Stop::AtByte) {
            const rlimit limit{rlim_t(at), rlim_t(at)};
            std::signal(SIGXFSZ, SIG_DFL);
            ::setrlimit(RLIMIT_FSIZE, &limit);
        } else if (::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0 || ::raise(SIGSTOP) != 0) {
            ::_exit(3);
        }
        save();
        ::_exit(0);
    }
    int status = 0;
    if (stop == Stop::AtSyscall) {
        ::waitpid(child, &status, 0);
        if (!WIFSTOPPED(status))
            return std::nullopt;
        ::ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_EXITKILL);
        for (long n = 0; n < at && WIFSTOPPED(status); ++n) {
            ::ptrace(PTRACE_SYSCALL, child, nullptr, nullptr);
            ::waitpid(child, &status, 0);
        }
        if (WIFSTOPPED(status)) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
        }
    } else {
        ::waitpid(child, &status, 0);
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return false;
    if (WIFSIGNALED(status))
        return true;
    return std::nullopt;
}

QStringList names(const ListState &list)
{
    QStringList result;
    for (const std::string &name : list.entries)
        result << QString::fromStdString(name);
    return result;
}

} // namespace

// A process killed anywhere while it writes "sesja.dat" or a value file leaves the old file
// whole (or the new one, once renamed); the temporary file it leaves shows in no list.
class tst_InterruptedSaves : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> m_f;

private slots:
    void init()
    {
        m_f = std::make_unique<WindowFixture>();
        QVERIFY(m_f->folder.isValid());
    }
    void cleanup() { m_f.reset(); }

    void oldFileStaysWhole_data()
    {
        QTest::addColumn<bool>("stateFile"); // else the value file keep.vq
        QTest::addColumn<bool>("bySyscall");
        QTest::newRow("sesja.dat, killed at a byte") << true << false;
        QTest::newRow("sesja.dat, killed at a system call") << true << true;
        QTest::newRow("value file, killed at a byte") << false << false;
        QTest::newRow("value file, killed at a system call") << false << true;
    }
    void oldFileStaysWhole()
    {
        QFETCH(bool, stateFile);
        QFETCH(bool, bySyscall);
        const std::string name = stateFile ? "sesja.dat" : "keep.vq";
        StateRecord old{"abc.set", {"55", "0", "0", "0", "0", "0", "0", "0"}, 1, 0, 1};
        const std::string oldBytes = formatStateRecord(old);
        QVERIFY(m_f->folder.writeBytes(name, oldBytes));

        // A long new record: an entry takes any text the user types.
        m_f->main.load();
        m_f->chooseDescription("abc.set");
        for (int k = 0; k < kSlotCount; ++k)
            m_f->main.editEntry(k, std::string(20'000, char('1' + k)));
        const std::string newBytes = formatStateRecord(m_f->main.stateRecord());
        const auto save = [this, stateFile] {
            if (stateFile) {
                m_f->main.close();
            } else {
                m_f->typeName("keep");
                m_f->values().clickSave();
            }
        };

        std::vector<long> stops;
        if (bySyscall) {
            for (long n = 1; n <= 400; ++n)
                stops.push_back(n);
        } else {
            const long size = long(newBytes.size());
            stops = {0, 1, 2, 4095, 4096, 65537, size / 2, size - 1, size};
        }
        int killed = 0;
        for (const long at : stops) {
            const auto died = saveInterrupted(save, bySyscall ? Stop::AtSyscall : Stop::AtByte, at);
            if (!died && bySyscall && at == 1)
                QSKIP("the system does not let this process trace its child");
            QVERIFY2(died.has_value(), qPrintable(QStringLiteral("stopped at %1").arg(at)));
            const auto bytes = m_f->folder.bytes(name);
            QVERIFY(bytes.has_value());
            if (!*died) {
                // The save ran to its end: from here on every stop comes too late.
                QCOMPARE(bytes->size(), newBytes.size());
                QVERIFY(*bytes == newBytes);
                break;
            }
            ++killed;
            QVERIFY2(
                *bytes == oldBytes || *bytes == newBytes,
                qPrintable(QStringLiteral("stopped at %1: %2 bytes").arg(at).arg(bytes->size())));
            if (!bySyscall)
                QVERIFY(*bytes == oldBytes);
        }
        QVERIFY(killed > 0);
        qInfo("%d saves killed", killed);

        // The killed writers' temporary files are hidden and shown in no list.
        const QStringList strays =
            QDir(m_f->folder.work()).entryList({".dravix-*"}, QDir::Files | QDir::Hidden);
        QVERIFY(!strays.isEmpty());
        m_f->main.clickValueFiles();
        QCOMPARE(names(m_f->values().files()),
                 stateFile ? QStringList{} : QStringList{QStringLiteral("keep.vq")});
        m_f->main.clickChooser();
        QCOMPARE(names(m_f->chooser().files()), (QStringList{"abc.set", "xyz.set"}));
        m_f->chooser().close();

        // A save that is let run still replaces the file whole, and it reads back.
        save();
        QVERIFY(m_f->folder.bytes(name) == newBytes);
        WindowFixture::Run restart(m_f->dir);
        MainWindowLogic &restarted = restart.main;
        restarted.load();
        if (stateFile)
            QCOMPARE(restarted.entry(7).text, std::string(20'000, '8'));
        else
            restarted.valueFiles().LoadValueFile("keep.vq");
        QCOMPARE(restarted.entry(7).text, std::string(20'000, '8'));
        QVERIFY(restart.platform.messages.empty());
    }
};

QTEST_APPLESS_MAIN(tst_InterruptedSaves)
#include "tst_interruptedsaves.moc"
