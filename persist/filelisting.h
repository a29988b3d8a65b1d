#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace Dravix {

class WorkDir;

enum class HiddenFiles { Left, Listed };

// The names a file list of the dialogs shows: ordinary, ending in the extension without regard to
// letter case, hidden ones (leading ".") only when asked for, sorted without regard to letter case.
std::vector<std::string> listFilesWithExtension(const WorkDir &dir, std::string_view extension,
                                                HiddenFiles hidden = HiddenFiles::Left);

} // namespace Dravix
