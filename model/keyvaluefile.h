#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace Dravix {

class WorkDir;

using PairHandler = std::function<void(std::string_view key, const std::string &value)>;

// Hands every pair line of a key/value text (UTF-8) to the handler, in order. A line ends at
// CR LF, a lone CR or a lone LF; it counts only when it holds an "=". The key is the text
// before the first "=" without spaces and TABs, the value the text up to the next "=".
void forEachPair(std::string_view text, const PairHandler &handler);

// Reads the named Windows-1250 file of the folder and hands over its pairs; a file that is
// not present or cannot be read is skipped.
void ReadKeyValueFile(const WorkDir &dir, std::string_view name, const PairHandler &handler);

// The same for at most the first maxBytes bytes of the file; a line that the limit cuts is left
// out. Tells whether the file was present and whether it held more.
struct PrefixRead
{
    bool present = false;
    bool cut = false;
};
PrefixRead ReadKeyValuePrefix(const WorkDir &dir, std::string_view name, std::size_t maxBytes,
                              const PairHandler &handler);

// Appends key=value and CR LF.
void WriteKeyValueLine(std::string_view key, std::string_view value, std::string &file);

} // namespace Dravix
