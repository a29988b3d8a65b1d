#pragma once

#include <cstdint>
#include <vector>

namespace Dravix {

using Bytes = std::vector<std::uint8_t>;

} // namespace Dravix
