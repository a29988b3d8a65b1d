#pragma once

#include "filelistdialog.h"

class QLineEdit;
class QPushButton;

namespace Dravix {

class ValueFileLogic;

// The value-file dialog's widgets: they mirror the logic and forward the user's input.
class ValueFileDialog : public FileListDialog
{
    Q_OBJECT

public:
    ValueFileDialog(ValueFileLogic &logic, std::function<void()> changed);

    void sync() override;

protected:
    bool logicOpen() const override;
    void escape() override;
    void enterOnList() override;
    std::string entryNote(int row) override;

private:
    ValueFileLogic &m_logic;
    QLineEdit *m_name = nullptr;
    QPushButton *m_load = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_delete = nullptr;
};

} // namespace Dravix
