#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Dravix {

// The one folder in which every file of the program lives. Names are bare file names; a
// name that could reach outside the folder ("", ".", "..", a path separator, a NUL) names no
// file of it, so nothing outside is ever read, written or deleted.
class WorkDir
{
public:
    explicit WorkDir(std::filesystem::path folder);

    static bool isBareName(std::string_view name);

    const std::filesystem::path &folder() const { return m_folder; }

    // An ordinary file whose name, as the listing gives it, equals the name byte for byte.
    bool isPresent(std::string_view name) const;
    // Names of the ordinary files, exactly as stored, that the filter accepts.
    std::vector<std::string> list(const std::function<bool(const std::string &)> &filter) const;
    // The whole file, or nothing when it is not present or cannot be read.
    std::optional<std::string> readWhole(std::string_view name) const;
    // Hands the file over in pieces of at most 64 KiB, in order; false when it is not present
    // or cannot be read (a read that fails part way ends the pieces there).
    bool readInPieces(std::string_view name,
                      const std::function<void(std::string_view)> &piece) const;
    // Writes the bytes to a temporary file and renames it over the named file; on failure
    // the old file stays as it was and no temporary file is left.
    bool replaceAtomically(std::string_view name, std::string_view bytes) const;
    // Deletes a present file; false when it is not present or cannot be deleted.
    bool remove(std::string_view name) const;

private:
    std::filesystem::path pathOf(std::string_view name) const;

    std::filesystem::path m_folder;
};

} // namespace Dravix
