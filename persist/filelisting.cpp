#include "filelisting.h"

#include "workdir.h"

#include <algorithm>

namespace Dravix {

namespace {

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool endsWithIgnoringCase(std::string_view text, std::string_view tail)
{
    if (text.size() < tail.size())
        return false;
    return std::equal(tail.begin(), tail.end(), text.end() - std::ptrdiff_t(tail.size()),
                      [](char a, char b) { return lowerAscii(a) == lowerAscii(b); });
}

bool lessIgnoringCase(const std::string &a, const std::string &b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(lowerAscii(x)) <
               static_cast<unsigned char>(lowerAscii(y));
    });
}

} // namespace

std::vector<std::string> listFilesWithExtension(const WorkDir &dir, std::string_view extension,
                                                HiddenFiles hidden)
{
    std::vector<std::string> names = dir.list([extension, hidden](const std::string &name) {
        return (hidden == HiddenFiles::Listed || !name.starts_with('.')) &&
               endsWithIgnoringCase(name, extension);
    });
    // Names equal but for letter case keep a fixed order between them.
    std::sort(names.begin(), names.end(), [](const std::string &a, const std::string &b) {
        if (lessIgnoringCase(a, b))
            return true;
        if (lessIgnoringCase(b, a))
            return false;
        return a < b;
    });
    return names;
}

} // namespace Dravix
