#pragma once

#include "keydispatcher.h"
#include "modelcontrols.h"
#include "modelstate.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace Dravix {

class WorkDir;

// A parameter model apart from the window's: files are read into it through the same reader
// and key rules as a load, from the state before any file is read, to tell what they would set.
class ScratchModel : private ModelControls
{
public:
    ScratchModel();
    // The dispatcher refers to this object's own fields.
    ScratchModel(const ScratchModel &) = delete;
    ScratchModel &operator=(const ScratchModel &) = delete;

    struct Read
    {
        bool present = false;
        bool cut = false; // the file held more than maxBytes
    };
    // Applies the pairs of at most the first maxBytes bytes of the named file.
    Read read(const WorkDir &dir, const std::string &name, std::size_t maxBytes);

    const ModelState &state() const { return m_state; }
    // What the files set; a field that no key set is empty and stays as it was.
    std::optional<std::string> heading;
    std::array<std::optional<std::string>, kSlotCount> names;
    std::array<std::optional<std::string>, kSlotCount> upper;
    std::array<std::optional<std::string>, kSlotCount> lower;
    // The entries' texts that the files set; the others stay as they were.
    std::array<std::optional<std::string>, kSlotCount> entries;
    std::vector<std::string> ports;
    std::vector<std::string> lineSettings;
    bool deviceCodeSet = false;
    std::size_t descriptionKeys = 0;

private:
    void setParameterName(int k, const std::string &caption) override { names[k] = caption; }
    void setUpperDescription(int k, const std::string &caption) override { upper[k] = caption; }
    void setLowerDescription(int k, const std::string &caption) override { lower[k] = caption; }
    std::string entryText(int k) const override { return entries[k].value_or("0"); }
    void setEntryText(int k, const std::string &text) override { entries[k] = text; }
    void setModelHeading(const std::string &caption) override { heading = caption; }
    void appendPortEntry(const std::string &text) override { ports.push_back(text); }
    void appendLineSettingsEntry(const std::string &text) override { lineSettings.push_back(text); }
    void selectSetOption(int) override {}
    void clearListSelections() override {}

    ModelState m_state;
    KeyDispatcher m_dispatcher;
};

} // namespace Dravix
