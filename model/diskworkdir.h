#pragma once

#include "workdir.h"

#include <filesystem>

namespace Dravix {

// The working folder on the disk, through the C++ standard library: names go to and from the
// file system as UTF-8, so Polish names survive wherever narrow strings mean another code page.
class DiskWorkDir : public WorkDir
{
public:
    explicit DiskWorkDir(std::filesystem::path folder);

    const std::filesystem::path &folder() const { return m_folder; }

    std::vector<std::string> names() const override;

protected:
    bool readFile(std::string_view name,
                  const std::function<void(std::string_view)> &piece) const override;
    std::optional<FileStamp> fileStamp(std::string_view name) const override;
    std::optional<std::string> readFront(std::string_view name,
                                         std::size_t maxBytes) const override;
    // Writes a temporary file of the folder, flushes it to the disk and renames it over the file.
    bool writeFile(std::string_view name, std::string_view bytes) override;
    bool deleteFile(std::string_view name) override;

private:
    std::optional<std::filesystem::path> pathOf(std::string_view name) const;
    bool keepsName(std::string_view name, const std::filesystem::path &path);

    std::filesystem::path m_folder;
};

} // namespace Dravix
