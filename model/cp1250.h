#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace Dravix {

// Windows-1250 bytes to UTF-8. Every byte value maps to one character; the five values the
// code page leaves undefined map to the control characters of the same value.
std::string cp1250ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1250. Characters the code page cannot hold, and malformed UTF-8 bytes,
// become "?".
std::string utf8ToCp1250(std::string_view text);

// A byte inside a UTF-8 character, after its first.
inline bool isUtf8Continuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The characters of a UTF-8 text, as the width of a line counts them.
std::size_t utf8Length(std::string_view text);

} // namespace Dravix
