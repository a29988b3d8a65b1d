#pragma once

#include <optional>
#include <string>

namespace Dravix {

// An independent converter for Windows-1250, the platform's own: iconv, or the code page
// functions of Windows. Nothing when it refuses any part of the text.
std::optional<std::string> referenceCp1250ToUtf8(const std::string &bytes);
std::optional<std::string> referenceUtf8ToCp1250(const std::string &text);

} // namespace Dravix
