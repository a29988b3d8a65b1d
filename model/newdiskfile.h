#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace Dravix {

// A file that did not exist before, written and flushed to the disk before it is closed: the
// platform's part of an atomic replace. One implementation per platform.
class NewDiskFile
{
public:
    // Creates the file; isOpen() is false when it exists already or cannot be made.
    explicit NewDiskFile(const std::filesystem::path &path);
    ~NewDiskFile();
    NewDiskFile(const NewDiskFile &) = delete;
    NewDiskFile &operator=(const NewDiskFile &) = delete;

    bool isOpen() const;
    bool write(std::string_view bytes);
    // Flushes what was written to the disk and closes the file; false when either fails.
    bool commit();

private:
    std::intptr_t m_handle;
};

} // namespace Dravix
