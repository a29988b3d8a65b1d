#include "keyvaluefile.h"

#include "cp1250.h"
#include "workdir.h"

void forEachPair(std::string_view text, const PairHandler &handler)
{
    std::string key;
    std::string value;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;

        const std::size_t firstEquals = line.find('=');
        if (firstEquals == std::string_view::npos)
            continue;
        key.clear();
        for (const char c : line.substr(0, firstEquals)) {
            if (c != ' ' && c != '\t')
                key += c;
        }
        const std::string_view rest = line.substr(firstEquals + 1);
        value.assign(rest.substr(0, rest.find('=')));
        handler(key, value);
    }
}

void ReadKeyValueFile(const WorkDir &dir, std::string_view name, const PairHandler &handler)
{
    if (const auto bytes = dir.readWhole(name))
        forEachPair(cp1250ToUtf8(*bytes), handler);
}

void WriteKeyValueLine(std::string_view key, std::string_view value, std::string &file)
{
    file.append(key);
    file += '=';
    file.append(value);
    file += "\r\n";
}
