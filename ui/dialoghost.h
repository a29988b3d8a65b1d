#pragma once

#include "filenotes.h"
#include "staterecord.h"

#include <string>

namespace Dravix {

class WorkDir;

// What the two dialogs need of the main window.
class DialogHost
{
public:
    virtual ~DialogHost() = default;

    virtual WorkDir &workDir() = 0;
    // Modal; returns when the user has dismissed it.
    virtual void showMessage(const std::string &text) = 0;
    // What the state file and a value file keep.
    virtual StateRecord stateRecord() const = 0;
    // The chosen description in force: both lists anew, the values reset, set 1 shown.
    virtual void LoadDescription(const std::string &name) = 0;
    // A value file's record and the description it names in force.
    virtual void LoadValueFile(const std::string &name) = 0;
    // What a file would set if loaded, compared with the window as it is now.
    virtual FileNotes &fileNotes() = 0;
    virtual OnScreen onScreen() const = 0;
};

} // namespace Dravix
