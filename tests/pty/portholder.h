#pragma once

#include <QString>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace Dravix {

// Another program on the port: a child process under its own name that opens the port and
// takes its flock, as terminal programs do, and keeps both until it is killed.
class PortHolder
{
public:
    // True once the child holds the lock; false when it could not take it.
    bool start(const QString &path, const char *name)
    {
        const QByteArray device = path.toLocal8Bit();
        int ready[2];
        if (::pipe(ready) != 0)
            return false;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::prctl(PR_SET_NAME, name);
            const int fd = ::open(device.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
            const char locked = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 1 : 0;
            [[maybe_unused]] const auto written = ::write(ready[1], &locked, 1);
            for (;;)
                ::pause();
        }
        ::close(ready[1]);
        char locked = 0;
        const bool told = m_pid > 0 && ::read(ready[0], &locked, 1) == 1;
        ::close(ready[0]);
        return told && locked == 1;
    }
    void stop()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        m_pid = -1;
    }
    ~PortHolder() { stop(); }

private:
    pid_t m_pid = -1;
};

} // namespace Dravix
