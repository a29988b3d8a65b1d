#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace Dravix {

class WorkDir;

// The names a file list of the dialogs shows: ordinary, not hidden (no leading "."), ending in
// the extension without regard to letter case, sorted by name without regard to letter case.
std::vector<std::string> listFilesWithExtension(const WorkDir &dir, std::string_view extension);

} // namespace Dravix
