#include "diskplatform.h"
#include "lockwait.h"
#include "newdiskfile.h"

#include <windows.h>

namespace Dravix {

namespace {

HANDLE handleOf(std::intptr_t handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

FileStep stepOf(BOOL done)
{
    if (done)
        return FileStep::Done;
    switch (::GetLastError()) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_ACCESS_DENIED: // what a rename over a file open without delete sharing meets
        return FileStep::Locked;
    default:
        return FileStep::Failed;
    }
}

void pause(std::chrono::milliseconds wait)
{
    ::Sleep(DWORD(wait.count()));
}

} // namespace

NewDiskFile::NewDiskFile(const std::filesystem::path &path)
    : m_handle(reinterpret_cast<std::intptr_t>(::CreateFileW(
          path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr)))
{
}

NewDiskFile::~NewDiskFile()
{
    if (isOpen())
        ::CloseHandle(handleOf(m_handle));
}

bool NewDiskFile::isOpen() const
{
    return handleOf(m_handle) != INVALID_HANDLE_VALUE;
}

bool NewDiskFile::write(std::string_view bytes)
{
    while (isOpen() && !bytes.empty()) {
        const DWORD chunk = bytes.size() > 1u << 30 ? DWORD(1u << 30) : DWORD(bytes.size());
        DWORD written = 0;
        if (!::WriteFile(handleOf(m_handle), bytes.data(), chunk, &written, nullptr))
            return false;
        bytes.remove_prefix(written);
    }
    return isOpen();
}

bool NewDiskFile::commit()
{
    if (!isOpen())
        return false;
    const bool flushed = ::FlushFileBuffers(handleOf(m_handle)) != 0;
    const bool closed = ::CloseHandle(handleOf(m_handle)) != 0;
    m_handle = reinterpret_cast<std::intptr_t>(INVALID_HANDLE_VALUE);
    return flushed && closed;
}

bool DiskPlatform::renameOver(const std::filesystem::path &from, const std::filesystem::path &to)
{
    return waitOutLock(
        [&] {
            return stepOf(::MoveFileExW(from.c_str(), to.c_str(),
                                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
        },
        pause);
}

bool DiskPlatform::removeFile(const std::filesystem::path &path)
{
    return waitOutLock([&] { return stepOf(::DeleteFileW(path.c_str())); }, pause);
}

} // namespace Dravix
