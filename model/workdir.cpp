#include "workdir.h"

#include <algorithm>

namespace Dravix {

bool WorkDir::isBareName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

bool WorkDir::isPresent(std::string_view name) const
{
    if (!isBareName(name))
        return false;
    // The file system may match names without regard to case; the listing tells the truth.
    const std::vector<std::string> listed = names();
    return std::find(listed.begin(), listed.end(), name) != listed.end();
}

std::vector<std::string> WorkDir::list(const std::function<bool(const std::string &)> &filter) const
{
    std::vector<std::string> listed = names();
    std::erase_if(listed, [&filter](const std::string &name) { return !filter(name); });
    return listed;
}

bool WorkDir::readInPieces(std::string_view name,
                           const std::function<void(std::string_view)> &piece) const
{
    return isPresent(name) && readFile(name, piece);
}

std::optional<std::string> WorkDir::readWhole(std::string_view name) const
{
    std::string bytes;
    if (!readInPieces(name, [&bytes](std::string_view part) { bytes.append(part); }))
        return std::nullopt;
    return bytes;
}

std::optional<FileStamp> WorkDir::stamp(std::string_view name) const
{
    return isPresent(name) ? fileStamp(name) : std::nullopt;
}

std::optional<std::string> WorkDir::readPrefix(std::string_view name, std::size_t maxBytes) const
{
    return isPresent(name) ? readFront(name, maxBytes) : std::nullopt;
}

bool WorkDir::replaceAtomically(std::string_view name, std::string_view bytes)
{
    return isBareName(name) && writeFile(name, bytes);
}

bool WorkDir::remove(std::string_view name)
{
    return isPresent(name) && deleteFile(name);
}

} // namespace Dravix
