#pragma once

#include "workdir.h"

#include <map>

namespace Dravix {

// A working folder held in memory, for tests and fuzzing: the same rules as on the disk without
// a system call. A test can make every write fail as a full disk would.
class MemoryWorkDir : public WorkDir
{
public:
    std::vector<std::string> names() const override;

    // Puts a file in place as another program would, whatever its name; each put or write
    // changes the file's time by a second.
    void put(const std::string &name, std::string bytes);
    void setModified(const std::string &name, std::chrono::system_clock::time_point when)
    {
        m_modified[name] = when;
    }
    const std::map<std::string, std::string, std::less<>> &files() const { return m_files; }
    void setWritesFail(bool fail) { m_writesFail = fail; }
    // Every read fails, as for a file that the user may not read.
    void setReadsFail(bool fail) { m_readsFail = fail; }
    // Reads hand a file over in pieces of this many bytes, as a read from the disk may.
    void setPieceSize(std::size_t size) { m_pieceSize = size > 0 ? size : 1; }

protected:
    bool readFile(std::string_view name,
                  const std::function<void(std::string_view)> &piece) const override;
    std::optional<FileStamp> fileStamp(std::string_view name) const override;
    std::optional<std::string> readFront(std::string_view name,
                                         std::size_t maxBytes) const override;
    bool writeFile(std::string_view name, std::string_view bytes) override;
    bool deleteFile(std::string_view name) override;

private:
    void touch(const std::string &name);

    std::map<std::string, std::string, std::less<>> m_files;
    std::map<std::string, std::chrono::system_clock::time_point, std::less<>> m_modified;
    std::chrono::system_clock::time_point m_clock;
    bool m_writesFail = false;
    bool m_readsFail = false;
    std::size_t m_pieceSize = 64 * 1024;
};

} // namespace Dravix
