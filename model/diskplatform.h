#pragma once

#include <filesystem>

namespace Dravix {

// The platform's part of replacing and deleting a file. On Windows, where a file that another
// program has open cannot be renamed over or deleted, a brief hold is waited out (lockwait.h).
namespace DiskPlatform {

// Renames a file over another of the same folder, which need not exist.
bool renameOver(const std::filesystem::path &from, const std::filesystem::path &to);
// Deletes a file; false when it is not there or cannot be deleted.
bool removeFile(const std::filesystem::path &path);

} // namespace DiskPlatform

} // namespace Dravix
