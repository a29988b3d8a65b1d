#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Dravix {

// What tells one version of a file from another without reading it.
struct FileStamp
{
    std::uint64_t size = 0;
    std::chrono::system_clock::time_point modified;

    bool operator==(const FileStamp &) const = default;
};

// The one folder in which every file of the program lives. Files are named by bare names in
// UTF-8; a name that could reach outside the folder ("", ".", "..", a path separator, a NUL)
// names no file of it, so nothing outside is ever read, written or deleted.
class WorkDir
{
public:
    virtual ~WorkDir() = default;

    static bool isBareName(std::string_view name);

    // The names of the ordinary files, exactly as stored.
    virtual std::vector<std::string> names() const = 0;

    // An ordinary file whose name, as the listing gives it, equals the name byte for byte.
    bool isPresent(std::string_view name) const;
    // The listed names that the filter accepts.
    std::vector<std::string> list(const std::function<bool(const std::string &)> &filter) const;
    // Hands a present file over in pieces, in order; false when it is not present or cannot be
    // read (a read that fails part way ends the pieces there).
    bool readInPieces(std::string_view name,
                      const std::function<void(std::string_view)> &piece) const;
    // The whole file, or nothing when it is not present or cannot be read.
    std::optional<std::string> readWhole(std::string_view name) const;
    // The size and time of last change of a present file.
    std::optional<FileStamp> stamp(std::string_view name) const;
    // At most the first maxBytes bytes of a present file, however large it is.
    std::optional<std::string> readPrefix(std::string_view name, std::size_t maxBytes) const;
    // The named file holds the bytes afterwards; at no moment does it hold anything but the old
    // or the new bytes. On failure the old file stays as it was.
    bool replaceAtomically(std::string_view name, std::string_view bytes);
    // Deletes a present file; false when it is not present or cannot be deleted.
    bool remove(std::string_view name);

protected:
    // The same for a bare name, before the presence test.
    virtual bool readFile(std::string_view name,
                          const std::function<void(std::string_view)> &piece) const = 0;
    virtual std::optional<FileStamp> fileStamp(std::string_view name) const = 0;
    virtual std::optional<std::string> readFront(std::string_view name,
                                                 std::size_t maxBytes) const = 0;
    virtual bool writeFile(std::string_view name, std::string_view bytes) = 0;
    virtual bool deleteFile(std::string_view name) = 0;
};

} // namespace Dravix
