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

    // Puts a file in place as another program would, whatever its name.
    void put(const std::string &name, std::string bytes) { m_files[name] = std::move(bytes); }
    const std::map<std::string, std::string, std::less<>> &files() const { return m_files; }
    void setWritesFail(bool fail) { m_writesFail = fail; }
    // Reads hand a file over in pieces of this many bytes, as a read from the disk may.
    void setPieceSize(std::size_t size) { m_pieceSize = size > 0 ? size : 1; }

protected:
    bool readFile(std::string_view name,
                  const std::function<void(std::string_view)> &piece) const override;
    bool writeFile(std::string_view name, std::string_view bytes) override;
    bool deleteFile(std::string_view name) override;

private:
    std::map<std::string, std::string, std::less<>> m_files;
    bool m_writesFail = false;
    std::size_t m_pieceSize = 64 * 1024;
};

} // namespace Dravix
