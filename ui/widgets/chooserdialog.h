#pragma once

#include "filelistdialog.h"

namespace Dravix {

class ChooserLogic;

// The description chooser's widgets: they mirror the logic and forward the user's input.
class ChooserDialog : public FileListDialog
{
    Q_OBJECT

public:
    ChooserDialog(ChooserLogic &logic, std::function<void()> changed);

    void sync() override;

protected:
    bool logicOpen() const override;
    void escape() override;
    void enterOnList() override;
    std::string entryNote(int row) override;

private:
    ChooserLogic &m_logic;
};

} // namespace Dravix
