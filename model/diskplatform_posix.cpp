#include "diskplatform.h"
#include "newdiskfile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace Dravix {

NewDiskFile::NewDiskFile(const std::filesystem::path &path)
    : m_handle(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666))
{
}

NewDiskFile::~NewDiskFile()
{
    if (isOpen())
        ::close(int(m_handle));
}

bool NewDiskFile::isOpen() const
{
    return m_handle >= 0;
}

bool NewDiskFile::write(std::string_view bytes)
{
    while (isOpen() && !bytes.empty()) {
        const ssize_t n = ::write(int(m_handle), bytes.data(), bytes.size());
        if (n < 0 && errno != EINTR)
            return false;
        if (n > 0)
            bytes.remove_prefix(std::size_t(n));
    }
    return isOpen();
}

bool NewDiskFile::commit()
{
    if (!isOpen())
        return false;
    const bool flushed = ::fsync(int(m_handle)) == 0;
    const bool closed = ::close(int(m_handle)) == 0;
    m_handle = -1;
    return flushed && closed;
}

bool DiskPlatform::renameOver(const std::filesystem::path &from, const std::filesystem::path &to)
{
    std::error_code error;
    std::filesystem::rename(from, to, error);
    return !error;
}

bool DiskPlatform::removeFile(const std::filesystem::path &path)
{
    std::error_code error;
    return std::filesystem::remove(path, error) && !error;
}

} // namespace Dravix
