// Windows-1250 both ways, against the platform's converter where it can convert.

#include "invariant.h"

#include "cp1250.h"
#include "referencecodepage.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

using namespace Dravix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char *>(data), size);

    // The input as Windows-1250 bytes.
    const std::string utf8 = cp1250ToUtf8(input);
    require(utf8ToCp1250(utf8) == input, "cp1250 -> utf8 -> cp1250 is the identity");
    if (const auto expected = referenceCp1250ToUtf8(input))
        require(utf8 == *expected, "cp1250ToUtf8 agrees with the reference");

    // The input as UTF-8 text.
    const std::string bytes = utf8ToCp1250(input);
    require(bytes.size() <= input.size(), "one byte at most per UTF-8 byte");
    if (const auto expected = referenceUtf8ToCp1250(input))
        require(bytes == *expected, "utf8ToCp1250 agrees with the reference");
    require(utf8ToCp1250(cp1250ToUtf8(bytes)) == bytes, "what was written reads back");
    return 0;
}
