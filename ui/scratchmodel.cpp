#include "scratchmodel.h"

#include "fileformat.h"
#include "keyvaluefile.h"

namespace Dravix {

ScratchModel::ScratchModel()
    : m_dispatcher(m_state, *this)
{
}

ScratchModel::Read ScratchModel::read(const WorkDir &dir, const std::string &name,
                                      std::size_t maxBytes)
{
    const PrefixRead read = ReadKeyValuePrefix(
        dir, name, maxBytes, [this](std::string_view key, const std::string &value) {
            if (KeyDispatcher::isDescriptionKey(key))
                ++descriptionKeys;
            if (key == FileFormat::kDeviceCodeKey)
                deviceCodeSet = true;
            m_dispatcher.ApplyKey(key, value);
        });
    return {read.present, read.cut};
}

} // namespace Dravix
