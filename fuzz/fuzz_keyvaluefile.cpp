// Arbitrary bytes as a key/value file in a folder in memory, read in pieces of a size that the
// first byte chooses, every pair applied to the model: the pieces read as the whole text does,
// and the model keeps to what its fields can hold.

#include "invariant.h"

#include "cp1250.h"
#include "keydispatcher.h"
#include "keyvaluefile.h"
#include "memoryworkdir.h"
#include "modelcontrols.h"
#include "modelstate.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

using namespace Dravix;

namespace {

// The controls that hold model fields, checked for the slot they are given.
class CheckedControls : public ModelControls
{
public:
    void setParameterName(int k, const std::string &) override { slot(k); }
    void setUpperDescription(int k, const std::string &) override { slot(k); }
    void setLowerDescription(int k, const std::string &) override { slot(k); }
    std::string entryText(int k) const override
    {
        slot(k);
        return {};
    }
    void setEntryText(int k, const std::string &) override { slot(k); }
    void setModelHeading(const std::string &) override {}
    void appendPortEntry(const std::string &) override { ++ports; }
    void appendLineSettingsEntry(const std::string &) override { ++lineSettings; }
    void selectSetOption(int set) override { require(set == 1 || set == 2, "a set is 1 or 2"); }
    void clearListSelections() override {}

    int ports = 0;
    int lineSettings = 0;

private:
    static void slot(int k) { require(k >= 0 && k < kSlotCount, "a slot is 0..7"); }
};

// A character that ends a line or a field of the file.
bool lineOrField(char c)
{
    return c == '\r' || c == '\n' || c == '=';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string bytes(reinterpret_cast<const char *>(data + 1), size - 1);
    MemoryWorkDir dir;
    dir.put("opis.set", bytes);
    dir.setPieceSize(std::size_t(data[0]) + 1);

    std::vector<std::pair<std::string, std::string>> read;
    read.reserve(std::size_t(std::count(bytes.begin(), bytes.end(), '=')));
    ModelState state;
    CheckedControls controls;
    KeyDispatcher dispatcher(state, controls);
    ReadKeyValueFile(dir, "opis.set", [&](std::string_view key, const std::string &value) {
        require(std::none_of(key.begin(), key.end(),
                             [](char c) { return c == ' ' || c == '\t' || lineOrField(c); }),
                "a key is one word");
        require(std::none_of(value.begin(), value.end(), lineOrField), "a value is one field");
        read.emplace_back(std::string(key), value);
        dispatcher.ApplyKey(key, value);
    });

    // A CR LF that two pieces split reads as two line ends, which only adds an empty line.
    std::size_t next = 0;
    forEachPair(cp1250ToUtf8(bytes), [&](std::string_view key, const std::string &value) {
        require(next < read.size() && read[next].first == key && read[next].second == value,
                "the pieces read as the whole text");
        ++next;
    });
    require(next == read.size(), "the pieces read as the whole text");

    require(state.ActiveSet >= 0 && state.ActiveSet <= 2, "ActiveSet is 0, 1 or 2");
    for (int k = 0; k < kSlotCount; ++k)
        require(state.ParamActive[k] == 0 || state.ParamActive[k] == 1, "in use is 0 or 1");
    return 0;
}
