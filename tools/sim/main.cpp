#include "requestscanner.h"
#include "simdevice.h"
#include "simoptions.h"

#include "fileformat.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

using namespace Dravix;

namespace {

using Clock = std::chrono::steady_clock;

// A request must arrive whole within this quiet time, else its start is discarded.
constexpr auto kInterByteGap = std::chrono::milliseconds{50};

int g_signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(g_signalPipe[1], &byte, 1);
}

// A time-stamped line: the label, then the bytes in hexadecimal or else the note.
void printFrame(const char *label, const Bytes &bytes, const std::string &note = {})
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    std::printf("%02d:%02d:%02d.%03ld %s", local.tm_hour, local.tm_min, local.tm_sec,
                now.tv_nsec / 1000000, label);
    for (const std::uint8_t b : bytes)
        std::printf(" %02X", b);
    std::printf(note.empty() ? "\n" : " %s\n", note.c_str());
    std::fflush(stdout);
}

struct Pending
{
    Clock::time_point due;
    SimDevice::Send send;
};

struct Terminal
{
    int master = -1;
    // Held open so that the master never reads EIO while no client has the port open.
    int slave = -1;
};

void closeTerminal(Terminal &terminal)
{
    ::close(terminal.master);
    ::close(terminal.slave);
    terminal = {};
}

// A new pseudo-terminal in raw mode with the link pointing to it; prints the ready line.
bool openTerminal(const std::filesystem::path &link, Terminal &terminal)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        std::fprintf(stderr, "dravix-sim: no pseudo-terminal: %s\n", std::strerror(errno));
        return false;
    }
    const std::string slavePath = ptsname(master);
    const int slave = ::open(slavePath.c_str(), O_RDWR | O_NOCTTY);
    if (slave < 0) {
        std::fprintf(stderr, "dravix-sim: cannot open %s: %s\n", slavePath.c_str(),
                     std::strerror(errno));
        ::close(master);
        return false;
    }
    terminal = {master, slave};
    termios raw{};
    tcgetattr(slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave, TCSANOW, &raw);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);

    std::error_code error;
    std::filesystem::remove(link, error);
    std::filesystem::create_symlink(slavePath, link, error);
    if (error) {
        std::fprintf(stderr, "dravix-sim: cannot create %s: %s\n", link.c_str(),
                     error.message().c_str());
        closeTerminal(terminal);
        return false;
    }
    std::printf("ready %s -> %s\n", link.c_str(), slavePath.c_str());
    std::fflush(stdout);
    return true;
}

// Writes the bytes, waiting while the line is full, until all are written or the deadline
// passes; returns how many went.
std::size_t writeAll(int fd, const Bytes &bytes,
                     Clock::time_point deadline = Clock::time_point::max())
{
    std::size_t done = 0;
    while (done < bytes.size() && Clock::now() < deadline) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            pollfd out{fd, POLLOUT, 0};
            ::poll(&out, 1, 10);
            continue;
        }
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

} // namespace

int main(int argc, char **argv)
{
    SimOptions options;
    const std::string problem = options.parse(std::vector<std::string>(argv + 1, argv + argc));
    if (options.help) {
        std::fputs(SimOptions::usage().c_str(), stdout);
        return 0;
    }
    if (!problem.empty()) {
        std::fprintf(stderr, "dravix-sim: %s (see --help)\n", problem.c_str());
        return 2;
    }

    const std::filesystem::path link = FileFormat::portEntryName(options.port);
    std::error_code error;
    const auto status = std::filesystem::symlink_status(link, error);
    if (std::filesystem::exists(status) && !std::filesystem::is_symlink(status)) {
        std::fprintf(stderr, "dravix-sim: %s exists and is not a link; not replaced\n",
                     link.c_str());
        return 1;
    }

    if (pipe(g_signalPipe) != 0)
        return 1;
    struct sigaction action
    {
    };
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);

    // Ready only once the device can answer at once.
    SimDevice device(options);
    Terminal terminal;
    if (!openTerminal(link, terminal))
        return 1;

    RequestScanner scanner;
    std::vector<Pending> pending;
    Clock::time_point lastByte = Clock::now();
    bool running = true;

    while (running) {
        auto wake = Clock::time_point::max();
        for (const Pending &p : pending)
            wake = std::min(wake, p.due);
        if (scanner.hasPending())
            wake = std::min(wake, lastByte + kInterByteGap);
        int timeout = -1;
        if (wake != Clock::time_point::max()) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(wake - Clock::now());
            timeout = static_cast<int>(std::max<long long>(0, left.count()));
        }

        pollfd fds[2] = {{terminal.master, POLLIN, 0}, {g_signalPipe[0], POLLIN, 0}};
        const int ready = ::poll(fds, 2, timeout);
        if (ready < 0 && errno != EINTR)
            break;
        if (ready > 0 && (fds[1].revents & POLLIN))
            running = false;

        if (ready > 0 && (fds[0].revents & POLLIN)) {
            std::uint8_t buffer[512];
            const ssize_t n = ::read(terminal.master, buffer, sizeof buffer);
            if (n > 0) {
                lastByte = Clock::now();
                scanner.feed(Bytes(buffer, buffer + n));
                while (const auto request = scanner.next()) {
                    const Bytes discarded = scanner.takeDiscarded();
                    if (!discarded.empty())
                        printFrame("discarded", discarded);
                    printFrame("rx", *request);
                    for (SimDevice::Send &send : device.answer(*request))
                        pending.push_back(
                            {lastByte + std::chrono::milliseconds{send.afterMs}, send});
                }
                const Bytes discarded = scanner.takeDiscarded();
                if (!discarded.empty())
                    printFrame("discarded", discarded);
            }
        }

        const auto now = Clock::now();
        if (scanner.hasPending() && now - lastByte >= kInterByteGap) {
            scanner.dropPending();
            printFrame("discarded", scanner.takeDiscarded());
        }
        std::stable_sort(pending.begin(), pending.end(),
                         [](const Pending &a, const Pending &b) { return a.due < b.due; });
        while (!pending.empty() && pending.front().due <= now) {
            const SimDevice::Send send = pending.front().send;
            pending.erase(pending.begin());
            if (send.hangup) {
                // Whatever the device still meant to send goes with the old terminal.
                pending.clear();
                scanner.dropPending();
                scanner.takeDiscarded();
                closeTerminal(terminal);
                printFrame("hangup", {});
                if (!openTerminal(link, terminal))
                    return 1;
            } else if (send.forMs > 0) {
                const std::size_t sent = writeAll(terminal.master, send.bytes,
                                                  now + std::chrono::milliseconds{send.forMs});
                printFrame("flood", {},
                           std::to_string(sent) + " of " + std::to_string(send.bytes.size()) +
                               " bytes sent");
            } else {
                writeAll(terminal.master, send.bytes);
                printFrame("tx", send.bytes);
            }
        }
    }

    std::filesystem::remove(link, error);
    closeTerminal(terminal);
    std::printf("stopped\n");
    return 0;
}
