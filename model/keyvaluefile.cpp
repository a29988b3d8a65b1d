#include "keyvaluefile.h"

#include "cp1250.h"
#include "workdir.h"

namespace Dravix {

void forEachPair(std::string_view text, const PairHandler &handler)
{
    std::string key;
    std::string value;
    std::size_t start = 0;
    while (start < text.size()) {
        // A plain scan: find_first_of tests every byte against the set with a library call.
        std::size_t end = start;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;

        const std::size_t firstEquals = line.find('=');
        if (firstEquals == std::string_view::npos)
            continue;
        key.assign(line.substr(0, firstEquals));
        std::erase_if(key, [](char c) { return c == ' ' || c == '\t'; });
        const std::string_view rest = line.substr(firstEquals + 1);
        value.assign(rest.substr(0, rest.find('=')));
        handler(key, value);
    }
}

void ReadKeyValueFile(const WorkDir &dir, std::string_view name, const PairHandler &handler)
{
    // Whole lines go over piece by piece, so that the memory needed follows the longest line,
    // not the file. A CR LF split between two pieces leaves an empty line, which holds no pair.
    std::string lines;
    const bool read = dir.readInPieces(name, [&](std::string_view piece) {
        // Only the new piece can hold a line end: what is kept holds none.
        std::size_t end = piece.size();
        while (end > 0 && piece[end - 1] != '\r' && piece[end - 1] != '\n')
            --end;
        if (end == 0) {
            lines.append(piece);
            return;
        }
        lines.append(piece.substr(0, end));
        forEachPair(cp1250ToUtf8(lines), handler);
        lines.assign(piece.substr(end));
    });
    if (read)
        forEachPair(cp1250ToUtf8(lines), handler);
}

PrefixRead ReadKeyValuePrefix(const WorkDir &dir, std::string_view name, std::size_t maxBytes,
                              const PairHandler &handler)
{
    // One byte more than asked tells whether the file goes on.
    const std::optional<std::string> bytes = dir.readPrefix(name, maxBytes + 1);
    if (!bytes)
        return {};
    std::string_view text = *bytes;
    const bool cut = text.size() > maxBytes;
    if (cut) {
        text = text.substr(0, maxBytes);
        const std::size_t lastEnd = text.find_last_of("\r\n");
        text = text.substr(0, lastEnd == std::string_view::npos ? 0 : lastEnd + 1);
    }
    forEachPair(cp1250ToUtf8(text), handler);
    return {true, cut};
}

void WriteKeyValueLine(std::string_view key, std::string_view value, std::string &file)
{
    file.append(key);
    file += '=';
    file.append(value);
    file += "\r\n";
}

} // namespace Dravix
