#include "workdir.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Dravix {

namespace fs = std::filesystem;

WorkDir::WorkDir(fs::path folder)
    : m_folder(std::move(folder))
{
}

bool WorkDir::isBareName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

fs::path WorkDir::pathOf(std::string_view name) const
{
    return m_folder / fs::path(std::string(name));
}

bool WorkDir::isPresent(std::string_view name) const
{
    if (!isBareName(name))
        return false;
    std::error_code error;
    if (!fs::is_regular_file(pathOf(name), error))
        return false;
    // The file system may match names without regard to case; the listing tells the truth.
    for (fs::directory_iterator it(m_folder, error), end; !error && it != end;
         it.increment(error)) {
        if (it->path().filename().native() == name)
            return true;
    }
    return false;
}

std::vector<std::string> WorkDir::list(const std::function<bool(const std::string &)> &filter) const
{
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(m_folder, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code statusError;
        if (!it->is_regular_file(statusError))
            continue;
        std::string name = it->path().filename().native();
        if (filter(name))
            names.push_back(std::move(name));
    }
    return names;
}

std::optional<std::string> WorkDir::readWhole(std::string_view name) const
{
    if (!isPresent(name))
        return std::nullopt;
    std::FILE *file = std::fopen(pathOf(name).c_str(), "rb");
    if (!file)
        return std::nullopt;
    std::string bytes;
    std::error_code sizeError;
    if (const auto size = fs::file_size(pathOf(name), sizeError); !sizeError)
        bytes.reserve(size);
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
        return std::nullopt;
    return bytes;
}

bool WorkDir::readInPieces(std::string_view name,
                           const std::function<void(std::string_view)> &piece) const
{
    if (!isPresent(name))
        return false;
    std::FILE *file = std::fopen(pathOf(name).c_str(), "rb");
    if (!file)
        return false;
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        piece(std::string_view(buffer, got));
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    return !failed;
}

bool WorkDir::replaceAtomically(std::string_view name, std::string_view bytes) const
{
    if (!isBareName(name))
        return false;
    std::string temporary = (m_folder / ".dravix-XXXXXX").native();
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return false;
    bool ok = true;
    std::size_t written = 0;
    while (ok && written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0)
            ok = false;
        else
            written += std::size_t(n);
    }
    ok = ok && ::fchmod(fd, 0644) == 0 && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    std::error_code error;
    if (ok)
        fs::rename(temporary, pathOf(name), error);
    if (!ok || error) {
        fs::remove(temporary, error);
        return false;
    }
    return true;
}

bool WorkDir::remove(std::string_view name) const
{
    if (!isPresent(name))
        return false;
    std::error_code error;
    return fs::remove(pathOf(name), error) && !error;
}

} // namespace Dravix
