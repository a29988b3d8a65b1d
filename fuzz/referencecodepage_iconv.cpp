#include "referencecodepage.h"

#include "invariant.h"

#include <iconv.h>

namespace Dravix {

namespace {

std::optional<std::string> convert(const char *to, const char *from, const std::string &in)
{
    const iconv_t converter = iconv_open(to, from);
    require(converter != iconv_t(-1), "iconv knows CP1250");
    std::string out(in.size() * 4 + 4, '\0');
    char *inPtr = const_cast<char *>(in.data());
    std::size_t inLeft = in.size();
    char *outPtr = out.data();
    std::size_t outLeft = out.size();
    const bool converted = iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft) != std::size_t(-1);
    iconv_close(converter);
    if (!converted)
        return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

} // namespace

std::optional<std::string> referenceCp1250ToUtf8(const std::string &bytes)
{
    return convert("UTF-8", "CP1250", bytes);
}

std::optional<std::string> referenceUtf8ToCp1250(const std::string &text)
{
    return convert("CP1250", "UTF-8", text);
}

} // namespace Dravix
