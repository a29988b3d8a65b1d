#include "staterecord.h"

#include "cp1250.h"
#include "fileformat.h"
#include "keyvaluefile.h"
#include "workdir.h"

namespace Dravix {

std::string formatStateRecord(const StateRecord &record)
{
    std::string text;
    WriteKeyValueLine(FileFormat::kDescriptionFileKey, record.descriptionFile, text);
    for (std::size_t d = 1; d <= record.entries.size(); ++d)
        WriteKeyValueLine(std::string(FileFormat::kValueKey) + std::to_string(d),
                          record.entries[d - 1], text);
    WriteKeyValueLine(FileFormat::kPortIndexKey, std::to_string(record.portIndex), text);
    WriteKeyValueLine(FileFormat::kSpeedIndexKey, std::to_string(record.speedIndex), text);
    // A blank stands where a plus sign would.
    const std::string digits = std::to_string(record.activeSet);
    const std::string set = record.activeSet < 0 ? digits : " " + digits;
    WriteKeyValueLine(FileFormat::kActiveSetKey, set, text);
    return text;
}

bool WriteStateRecord(WorkDir &dir, std::string_view name, const StateRecord &record)
{
    return dir.replaceAtomically(name, utf8ToCp1250(formatStateRecord(record)));
}

std::string valueFileName(std::string_view nameBoxText)
{
    std::string name(nameBoxText);
    if (!name.ends_with(FileFormat::kValueFileExtension))
        name += FileFormat::kValueFileExtension;
    return name;
}

} // namespace Dravix
