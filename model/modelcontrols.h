#pragma once

#include <string>

namespace Dravix {

// The fields of the model that live in the main window's controls. Every setter acts like
// the user's change of that control, with the same handlers.
class ModelControls
{
public:
    virtual ~ModelControls() = default;

    virtual void setParameterName(int k, const std::string &caption) = 0;
    virtual void setUpperDescription(int k, const std::string &caption) = 0;
    virtual void setLowerDescription(int k, const std::string &caption) = 0;
    virtual std::string entryText(int k) const = 0;
    virtual void setEntryText(int k, const std::string &text) = 0;
    virtual void setModelHeading(const std::string &caption) = 0;
    virtual void appendPortEntry(const std::string &text) = 0;
    virtual void appendLineSettingsEntry(const std::string &text) = 0;
    // Selects option button "1 - 4" (set 1) or "5 - 8" (set 2).
    virtual void selectSetOption(int set) = 0;
    virtual void clearListSelections() = 0;
};

} // namespace Dravix
