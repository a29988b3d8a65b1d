#include "diskworkdir.h"

#include "diskplatform.h"
#include "newdiskfile.h"

#include <fstream>
#include <random>

namespace fs = std::filesystem;

namespace Dravix {

namespace {

std::string utf8Of(const fs::path &path)
{
    const std::u8string name = path.u8string();
    return std::string(name.begin(), name.end());
}

// A temporary file of the folder that no other writer uses: it is created, not opened. The
// names are drawn afresh in every call, so that forked processes do not draw the same ones.
std::optional<std::pair<fs::path, std::unique_ptr<NewDiskFile>>>
newTemporary(const fs::path &folder)
{
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, ".dravix-%08x.tmp", unsigned(random()));
        fs::path path = folder / name;
        auto file = std::make_unique<NewDiskFile>(path);
        if (file->isOpen())
            return std::pair{std::move(path), std::move(file)};
    }
    return std::nullopt;
}

} // namespace

DiskWorkDir::DiskWorkDir(fs::path folder)
    : m_folder(std::move(folder))
{
}

std::optional<fs::path> DiskWorkDir::pathOf(std::string_view name) const
{
    // Where the file system cannot take the name (malformed UTF-8 on Windows), no file has it.
    try {
        return m_folder / fs::path(std::u8string(name.begin(), name.end()));
    } catch (const std::exception &) {
        return std::nullopt;
    }
}

std::vector<std::string> DiskWorkDir::names() const
{
    std::vector<std::string> listed;
    std::error_code error;
    for (fs::directory_iterator it(m_folder, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code statusError;
        if (!it->is_regular_file(statusError))
            continue;
        try {
            listed.push_back(utf8Of(it->path().filename()));
        } catch (const std::exception &) {
            // A name that UTF-8 cannot carry is no name the program can use.
        }
    }
    return listed;
}

bool DiskWorkDir::readFile(std::string_view name,
                           const std::function<void(std::string_view)> &piece) const
{
    const auto path = pathOf(name);
    if (!path)
        return false;
    std::ifstream file(*path, std::ios::binary);
    if (!file)
        return false;
    std::string buffer(64 * 1024, '\0');
    while (file) {
        file.read(buffer.data(), std::streamsize(buffer.size()));
        if (file.gcount() > 0)
            piece(std::string_view(buffer.data(), std::size_t(file.gcount())));
    }
    return !file.bad();
}

std::optional<FileStamp> DiskWorkDir::fileStamp(std::string_view name) const
{
    const auto path = pathOf(name);
    if (!path)
        return std::nullopt;
    std::error_code error;
    const std::uintmax_t size = fs::file_size(*path, error);
    if (error)
        return std::nullopt;
    const fs::file_time_type modified = fs::last_write_time(*path, error);
    if (error)
        return std::nullopt;
    return FileStamp{size, std::chrono::time_point_cast<std::chrono::system_clock::duration>(
                               std::chrono::file_clock::to_sys(modified))};
}

std::optional<std::string> DiskWorkDir::readFront(std::string_view name, std::size_t maxBytes) const
{
    const auto path = pathOf(name);
    if (!path)
        return std::nullopt;
    std::ifstream file(*path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::string bytes(maxBytes, '\0');
    file.read(bytes.data(), std::streamsize(maxBytes));
    if (file.bad())
        return std::nullopt;
    bytes.resize(std::size_t(file.gcount()));
    return bytes;
}

bool DiskWorkDir::writeFile(std::string_view name, std::string_view bytes)
{
    const auto path = pathOf(name);
    if (!path)
        return false;
    auto temporary = newTemporary(m_folder);
    if (!temporary)
        return false;
    auto &[temporaryPath, file] = *temporary;
    const bool written = file->write(bytes);
    const bool committed = file->commit() && written;
    if (!committed || !DiskPlatform::renameOver(temporaryPath, *path)) {
        DiskPlatform::removeFile(temporaryPath);
        return false;
    }
    return keepsName(name, *path);
}

bool DiskWorkDir::keepsName(std::string_view name, const fs::path &path)
{
    // Where the file system ignores letter case, a replaced file keeps its old name: it is
    // renamed to the name it was saved under, or the save counts as failed (the new bytes are
    // in the file all the same).
    if (isPresent(name))
        return true;
    for (const std::string &other : names()) {
        const auto otherPath = pathOf(other);
        std::error_code error;
        if (!otherPath || !fs::equivalent(*otherPath, path, error))
            continue;
        // Through a name of its own: a rename that changes only the letter case may do nothing.
        auto between = newTemporary(m_folder);
        if (!between)
            return false;
        between->second.reset();
        if (!DiskPlatform::renameOver(*otherPath, between->first))
            return false;
        if (!DiskPlatform::renameOver(between->first, path))
            DiskPlatform::renameOver(between->first, *otherPath);
        return isPresent(name);
    }
    return false;
}

bool DiskWorkDir::deleteFile(std::string_view name)
{
    const auto path = pathOf(name);
    return path && DiskPlatform::removeFile(*path);
}

} // namespace Dravix
