#include "memoryworkdir.h"

namespace Dravix {

void MemoryWorkDir::put(const std::string &name, std::string bytes)
{
    m_files[name] = std::move(bytes);
    touch(name);
}

void MemoryWorkDir::touch(const std::string &name)
{
    m_clock += std::chrono::seconds(1);
    m_modified[name] = m_clock;
}

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
    if (file == m_files.end() || m_readsFail)
        return false;
    const std::string_view bytes = file->second;
    for (std::size_t at = 0; at < bytes.size(); at += m_pieceSize)
        piece(bytes.substr(at, m_pieceSize));
    return true;
}

std::optional<FileStamp> MemoryWorkDir::fileStamp(std::string_view name) const
{
    const auto file = m_files.find(name);
    if (file == m_files.end())
        return std::nullopt;
    const auto modified = m_modified.find(name);
    return FileStamp{file->second.size(), modified == m_modified.end()
                                              ? std::chrono::system_clock::time_point()
                                              : modified->second};
}

std::optional<std::string> MemoryWorkDir::readFront(std::string_view name,
                                                    std::size_t maxBytes) const
{
    const auto file = m_files.find(name);
    if (file == m_files.end() || m_readsFail)
        return std::nullopt;
    return file->second.substr(0, maxBytes);
}

bool MemoryWorkDir::writeFile(std::string_view name, std::string_view bytes)
{
    if (m_writesFail)
        return false;
    m_files.insert_or_assign(std::string(name), std::string(bytes));
    touch(std::string(name));
    return true;
}

bool MemoryWorkDir::deleteFile(std::string_view name)
{
    const auto file = m_files.find(name);
    if (file == m_files.end())
        return false;
    m_files.erase(file);
    m_modified.erase(std::string(name));
    return true;
}

} // namespace Dravix
