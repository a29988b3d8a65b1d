#pragma once

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif

namespace Dravix {

// Caps the size of the files this process writes while it lives, so that a write fails with
// the old file in place (the tests run as root: permissions alone do not make writes fail).
// Windows has no such limit: there kAvailable is false and the object does nothing.
class FileSizeLimit
{
public:
#ifdef _WIN32
    static constexpr bool kAvailable = false;
    explicit FileSizeLimit(unsigned long) {}
#else
    static constexpr bool kAvailable = true;
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }
#endif
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

#ifndef _WIN32
private:
    rlimit m_saved{};
    void (*m_handler)(int) = nullptr;
#endif
};

// The reason a test that needs the limit gives where there is none.
inline constexpr const char *kNoFileSizeLimit = "no per-process file size limit on Windows";

} // namespace Dravix
