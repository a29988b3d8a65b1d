#pragma once

#include "modelstate.h"

#include <array>
#include <string>
#include <string_view>

namespace Dravix {

class WorkDir;

// The working state that the state file and the value files keep.
struct StateRecord
{
    std::string descriptionFile;
    std::array<std::string, kSlotCount> entries;
    int portIndex = -1;
    int speedIndex = -1;
    int activeSet = 0;
};

// The twelve lines of the record (UTF-8), each ended by CR LF.
std::string formatStateRecord(const StateRecord &record);

// Writes the record in Windows-1250 to the named file of the folder, replacing it atomically;
// false when it cannot be written (the old file then stays as it was).
bool WriteStateRecord(WorkDir &dir, std::string_view name, const StateRecord &record);

// The value file for a name box text: ".vq" appended unless the text already ends in ".vq".
std::string valueFileName(std::string_view nameBoxText);

} // namespace Dravix
