#include "cp1250.h"

#include <array>
#include <cstdint>

namespace Dravix {

namespace {

// Code points of the bytes 0x80..0xFF.
constexpr std::array<char16_t, 128> kHighHalf = {
    0x20ac, 0x0081, 0x201a, 0x0083, 0x201e, 0x2026, 0x2020, 0x2021, 0x0088, 0x2030, 0x0160, 0x2039,
    0x015a, 0x0164, 0x017d, 0x0179, 0x0090, 0x2018, 0x2019, 0x201c, 0x201d, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0161, 0x203a, 0x015b, 0x0165, 0x017e, 0x017a, 0x00a0, 0x02c7, 0x02d8, 0x0141,
    0x00a4, 0x0104, 0x00a6, 0x00a7, 0x00a8, 0x00a9, 0x015e, 0x00ab, 0x00ac, 0x00ad, 0x00ae, 0x017b,
    0x00b0, 0x00b1, 0x02db, 0x0142, 0x00b4, 0x00b5, 0x00b6, 0x00b7, 0x00b8, 0x0105, 0x015f, 0x00bb,
    0x013d, 0x02dd, 0x013e, 0x017c, 0x0154, 0x00c1, 0x00c2, 0x0102, 0x00c4, 0x0139, 0x0106, 0x00c7,
    0x010c, 0x00c9, 0x0118, 0x00cb, 0x011a, 0x00cd, 0x00ce, 0x010e, 0x0110, 0x0143, 0x0147, 0x00d3,
    0x00d4, 0x0150, 0x00d6, 0x00d7, 0x0158, 0x016e, 0x00da, 0x0170, 0x00dc, 0x00dd, 0x0162, 0x00df,
    0x0155, 0x00e1, 0x00e2, 0x0103, 0x00e4, 0x013a, 0x0107, 0x00e7, 0x010d, 0x00e9, 0x0119, 0x00eb,
    0x011b, 0x00ed, 0x00ee, 0x010f, 0x0111, 0x0144, 0x0148, 0x00f3, 0x00f4, 0x0151, 0x00f6, 0x00f7,
    0x0159, 0x016f, 0x00fa, 0x0171, 0x00fc, 0x00fd, 0x0163, 0x02d9,
};

void appendUtf8(std::string &out, char32_t cp)
{
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xc0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3f));
    } else {
        out += char(0xe0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3f));
        out += char(0x80 | (cp & 0x3f));
    }
}

// The byte for a code point, or '?' when the code page has none.
char toByte(char32_t cp)
{
    if (cp < 0x80)
        return char(cp);
    for (std::size_t i = 0; i < kHighHalf.size(); ++i) {
        if (kHighHalf[i] == cp)
            return char(0x80 + i);
    }
    return '?';
}

} // namespace

std::string cp1250ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    std::size_t i = 0;
    while (i < bytes.size()) {
        // A run of ASCII bytes is copied whole.
        std::size_t end = i;
        while (end < bytes.size() && static_cast<unsigned char>(bytes[end]) < 0x80)
            ++end;
        out.append(bytes.substr(i, end - i));
        if (end < bytes.size())
            appendUtf8(out, kHighHalf[static_cast<unsigned char>(bytes[end]) - 0x80]);
        i = end + 1;
    }
    return out;
}

std::size_t utf8Length(std::string_view text)
{
    std::size_t count = 0;
    for (const char c : text)
        count += isUtf8Continuation(c) ? 0 : 1;
    return count;
}

std::string utf8ToCp1250(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            out += char(b);
            ++i;
            continue;
        }
        int length = 0;
        char32_t cp = 0;
        if ((b & 0xe0) == 0xc0) {
            length = 2;
            cp = b & 0x1f;
        } else if ((b & 0xf0) == 0xe0) {
            length = 3;
            cp = b & 0x0f;
        } else if ((b & 0xf8) == 0xf0) {
            length = 4;
            cp = b & 0x07;
        }
        bool wellFormed = length > 0 && i + length <= text.size();
        for (int j = 1; wellFormed && j < length; ++j) {
            const auto cont = static_cast<unsigned char>(text[i + j]);
            wellFormed = (cont & 0xc0) == 0x80;
            cp = (cp << 6) | (cont & 0x3f);
        }
        static constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (wellFormed && cp < kShortest[length])
            wellFormed = false;
        if (!wellFormed) {
            out += '?';
            ++i;
            continue;
        }
        out += toByte(cp);
        i += length;
    }
    return out;
}

} // namespace Dravix
