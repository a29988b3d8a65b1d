#pragma once

#include <string>
#include <string_view>

namespace Dravix {

class ModelControls;
struct ModelState;

// Applies the key/value pairs of every file to the parameter model and its controls.
class KeyDispatcher
{
public:
    KeyDispatcher(ModelState &state, ModelControls &controls);

    void ApplyKey(std::string_view key, const std::string &value);
    // A key that only device descriptions carry, naming a slot 1..8 where it names one: the
    // heading, the code, a port, line settings, a name, a description line, a bound or an
    // in-use flag.
    static bool isDescriptionKey(std::string_view key);
    void ResetParameterValues();

private:
    bool applySlotKey(std::string_view key, const std::string &value);
    bool applyWholeKey(std::string_view key, const std::string &value);

    ModelState &m_state;
    ModelControls &m_controls;
};

} // namespace Dravix
