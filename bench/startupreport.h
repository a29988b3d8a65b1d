#pragma once

#include "firstpaintprobe.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>

namespace Dravix {

// A start-up run's report on its output: the time from main to the first paint, the moment of
// that paint on the steady clock, the window's size and the peak resident memory.
class StartupReport
{
public:
    using Clock = std::chrono::steady_clock;
    // How long the window keeps running after its first paint before the memory is read.
    static constexpr auto kSettle = std::chrono::milliseconds{300};

    StartupReport(QWidget &window, Clock::time_point mainStarted)
        : m_window(window)
        , m_mainStarted(mainStarted)
        , m_probe(window, [this] { painted(); })
    {
    }

private:
    void painted()
    {
        m_paintedAt = Clock::now();
        QTimer::singleShot(kSettle, &m_probe, [this] { report(); });
    }

    void report()
    {
        const auto toPaint = std::chrono::duration<double, std::micro>(m_paintedAt - m_mainStarted);
        const auto at =
            std::chrono::duration_cast<std::chrono::nanoseconds>(m_paintedAt.time_since_epoch());
        std::printf("main_to_paint_us=%.1f painted_at_ns=%lld width=%d height=%d peak_rss_kb=%ld\n",
                    toPaint.count(), static_cast<long long>(at.count()), m_window.width(),
                    m_window.height(), peakRssKb());
        std::fflush(stdout);
        QCoreApplication::exit(0);
    }

    static long peakRssKb()
    {
        QFile status(QStringLiteral("/proc/self/status"));
        if (!status.open(QIODevice::ReadOnly))
            return -1;
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
        return -1;
    }

    QWidget &m_window;
    Clock::time_point m_mainStarted;
    Clock::time_point m_paintedAt;
    FirstPaintProbe m_probe;
};

} // namespace Dravix
