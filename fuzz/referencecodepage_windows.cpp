#include "referencecodepage.h"

#include <windows.h>

namespace Dravix {

namespace {

std::optional<std::wstring> wide(UINT codePage, const std::string &in)
{
    if (in.empty())
        return std::wstring();
    const int length = ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, in.data(),
                                             int(in.size()), nullptr, 0);
    if (length <= 0)
        return std::nullopt;
    std::wstring out(std::size_t(length), L'\0');
    ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, in.data(), int(in.size()), out.data(),
                          length);
    return out;
}

// With no best fit ("ā" is no "a") and no default character: what the page lacks is refused.
std::optional<std::string> narrow(UINT codePage, const std::wstring &in)
{
    if (in.empty())
        return std::string();
    const DWORD flags = codePage == CP_UTF8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL defaulted = FALSE;
    BOOL *usedDefault = codePage == CP_UTF8 ? nullptr : &defaulted;
    const int length = ::WideCharToMultiByte(codePage, flags, in.data(), int(in.size()), nullptr, 0,
                                             nullptr, usedDefault);
    if (length <= 0 || defaulted)
        return std::nullopt;
    std::string out(std::size_t(length), '\0');
    ::WideCharToMultiByte(codePage, flags, in.data(), int(in.size()), out.data(), length, nullptr,
                          usedDefault);
    return out;
}

std::optional<std::string> convert(UINT to, UINT from, const std::string &in)
{
    const auto text = wide(from, in);
    return text ? narrow(to, *text) : std::nullopt;
}

} // namespace

std::optional<std::string> referenceCp1250ToUtf8(const std::string &bytes)
{
    return convert(CP_UTF8, 1250, bytes);
}

std::optional<std::string> referenceUtf8ToCp1250(const std::string &text)
{
    return convert(1250, CP_UTF8, text);
}

} // namespace Dravix
