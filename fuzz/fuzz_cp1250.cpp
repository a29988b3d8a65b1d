// Windows-1250 both ways, against iconv where iconv can convert.

#include "invariant.h"

#include "cp1250.h"

#include <cstddef>
#include <cstdint>
#include <iconv.h>
#include <optional>
#include <string>

using namespace Dravix;

namespace {

// The whole text converted, or nothing when iconv refuses any of it.
std::optional<std::string> convert(iconv_t converter, const std::string &in)
{
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    std::string out(in.size() * 4 + 4, '\0');
    char *inPtr = const_cast<char *>(in.data());
    std::size_t inLeft = in.size();
    char *outPtr = out.data();
    std::size_t outLeft = out.size();
    if (iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft) == std::size_t(-1))
        return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const iconv_t toUtf8 = iconv_open("UTF-8", "CP1250");
    static const iconv_t toCp1250 = iconv_open("CP1250", "UTF-8");
    require(toUtf8 != iconv_t(-1) && toCp1250 != iconv_t(-1), "iconv knows CP1250");

    const std::string input(reinterpret_cast<const char *>(data), size);

    // The input as Windows-1250 bytes.
    const std::string utf8 = cp1250ToUtf8(input);
    require(utf8ToCp1250(utf8) == input, "cp1250 -> utf8 -> cp1250 is the identity");
    if (const auto expected = convert(toUtf8, input))
        require(utf8 == *expected, "cp1250ToUtf8 agrees with iconv");

    // The input as UTF-8 text.
    const std::string bytes = utf8ToCp1250(input);
    require(bytes.size() <= input.size(), "one byte at most per UTF-8 byte");
    if (const auto expected = convert(toCp1250, input))
        require(bytes == *expected, "utf8ToCp1250 agrees with iconv");
    require(utf8ToCp1250(cp1250ToUtf8(bytes)) == bytes, "what was written reads back");
    return 0;
}
