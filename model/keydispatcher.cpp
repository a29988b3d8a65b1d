#include "keydispatcher.h"

#include "conversions.h"
#include "fileformat.h"
#include "modelcontrols.h"
#include "modelstate.h"
#include "numbers.h"

#include <array>

namespace Dravix {

namespace {

enum class SlotKey { Name, Upper, Lower, Min, Max, Value, Active };

struct SlotRule
{
    std::string_view keyword;
    SlotKey kind;
};

// In the order in which they are tested; no key can match two of them.
constexpr std::array<SlotRule, 7> kSlotRules = {{
    {FileFormat::kNameKey, SlotKey::Name},
    {FileFormat::kUpperDescriptionKey, SlotKey::Upper},
    {FileFormat::kLowerDescriptionKey, SlotKey::Lower},
    {FileFormat::kRangeMinKey, SlotKey::Min},
    {FileFormat::kRangeMaxKey, SlotKey::Max},
    {FileFormat::kValueKey, SlotKey::Value},
    {FileFormat::kActiveKey, SlotKey::Active},
}};

std::int16_t numberOf(const std::string &value)
{
    return RoundToInt16(ParseLeadingNumber(value));
}

} // namespace

KeyDispatcher::KeyDispatcher(ModelState &state, ModelControls &controls)
    : m_state(state)
    , m_controls(controls)
{
}

void KeyDispatcher::ApplyKey(std::string_view key, const std::string &value)
{
    if (!applySlotKey(key, value))
        applyWholeKey(key, value);
}

bool KeyDispatcher::isDescriptionKey(std::string_view key)
{
    for (const SlotRule &rule : kSlotRules) {
        if (rule.kind == SlotKey::Value || !key.starts_with(rule.keyword) ||
            key.size() == rule.keyword.size())
            continue;
        const char digit = key[rule.keyword.size()];
        return digit >= '1' && digit < '1' + kSlotCount;
    }
    return key == FileFormat::kHeadingKey || key == FileFormat::kDeviceCodeKey ||
           key == FileFormat::kPortEntryKey || key == FileFormat::kLineSettingsEntryKey;
}

bool KeyDispatcher::applySlotKey(std::string_view key, const std::string &value)
{
    // Most keys are told apart by their first letter; only those that share it are compared.
    for (const SlotRule &rule : kSlotRules) {
        if (key.empty() || key.front() != rule.keyword.front() || !key.starts_with(rule.keyword))
            continue;
        if (key.size() == rule.keyword.size())
            return false;
        const char digit = key[rule.keyword.size()];
        if (digit < '0' || digit > '9')
            return false;
        // Only slots 1 to 8 exist; the digits 0 and 9 name none.
        const int slot = digit - '0';
        if (slot < 1 || slot > kSlotCount)
            return true;
        const int k = slot - 1;
        switch (rule.kind) {
        case SlotKey::Name:
            m_controls.setParameterName(k, value);
            break;
        case SlotKey::Upper:
            m_controls.setUpperDescription(k, value);
            break;
        case SlotKey::Lower:
            m_controls.setLowerDescription(k, value);
            break;
        case SlotKey::Min:
            m_state.RangeMin[k] = numberOf(value);
            break;
        case SlotKey::Max:
            m_state.RangeMax[k] = numberOf(value);
            break;
        case SlotKey::Value:
            m_controls.setEntryText(k, value);
            break;
        case SlotKey::Active:
            if (ParseLeadingNumber(value) == 1.0) {
                m_state.ParamActive[k] = 1;
            } else {
                m_state.ParamActive[k] = 0;
                m_controls.setEntryText(k, "0");
            }
            break;
        }
        return true;
    }
    return false;
}

bool KeyDispatcher::applyWholeKey(std::string_view key, const std::string &value)
{
    if (key == FileFormat::kActiveSetKey) {
        m_state.ActiveSet = 1;
        const double set = ParseLeadingNumber(value);
        if (set == 1.0) {
            m_controls.selectSetOption(1);
            m_state.ActiveSet = 1;
        } else if (set == 2.0) {
            m_controls.selectSetOption(2);
            m_state.ActiveSet = 2;
        }
    } else if (key == FileFormat::kPortIndexKey) {
        m_state.SavedPortIndex = numberOf(value);
    } else if (key == FileFormat::kSpeedIndexKey) {
        m_state.SavedSpeedIndex = numberOf(value);
    } else if (key == FileFormat::kDescriptionFileKey) {
        m_state.DescriptionFile = value;
    } else if (key == FileFormat::kHeadingKey) {
        m_controls.setModelHeading(value);
    } else if (key == FileFormat::kDeviceCodeKey) {
        m_state.DeviceCode = HexPairToByte(value);
    } else if (key == FileFormat::kPortEntryKey) {
        m_controls.appendPortEntry(value);
    } else if (key == FileFormat::kLineSettingsEntryKey) {
        m_controls.appendLineSettingsEntry(value);
    } else {
        return false;
    }
    return true;
}

void KeyDispatcher::ResetParameterValues()
{
    for (int k = 0; k < kSlotCount; ++k)
        m_controls.setEntryText(k, "0");
    m_state.ActiveSet = 1;
    m_controls.clearListSelections();
}

} // namespace Dravix
