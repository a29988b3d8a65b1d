#include "memoryworkdir.h"

namespace Dravix {

std::vector<std::string> MemoryWorkDir::names() const
{
    std::vector<std::string> listed;
    listed.reserve(m_files.size());
    for (const auto &[name, bytes] : m_files)
        listed.push_back(name);
    return listed;
}

bool MemoryWorkDir::readFile(std::string_view name,
                             const std::function<void(std::string_view)> &piece) const
{
    const auto file = m_files.find(name);
    if (file == m_files.end())
        return false;
    const std::string_view bytes = file->second;
    for (std::size_t at = 0; at < bytes.size(); at += m_pieceSize)
        piece(bytes.substr(at, m_pieceSize));
    return true;
}

bool MemoryWorkDir::writeFile(std::string_view name, std::string_view bytes)
{
    if (m_writesFail)
        return false;
    m_files.insert_or_assign(std::string(name), std::string(bytes));
    return true;
}

bool MemoryWorkDir::deleteFile(std::string_view name)
{
    const auto file = m_files.find(name);
    if (file == m_files.end())
        return false;
    m_files.erase(file);
    return true;
}

} // namespace Dravix
