#include "chooserlogic.h"

#include "fileformat.h"
#include "filelisting.h"
#include "keydispatcher.h"
#include "mainwindowlogic.h"
#include "valuefilelogic.h"

namespace Dravix {

ChooserLogic::ChooserLogic(MainWindowLogic &main)
    : m_main(main)
{
}

void ChooserLogic::open()
{
    if (m_open)
        return;
    m_main.valueFiles().close();
    m_files = {listFilesWithExtension(m_main.workDir(), FileFormat::kDescriptionExtension), -1};
    m_open = true;
}

void ChooserLogic::close()
{
    m_open = false;
    m_files = {};
}

void ChooserLogic::select(int index)
{
    m_files.selected = index >= 0 && index < int(m_files.entries.size()) ? index : -1;
}

void ChooserLogic::doubleClick(int index)
{
    select(index);
    LoadChosenDescription();
}

void ChooserLogic::LoadChosenDescription()
{
    const std::string name = m_files.selectedText();
    if (!name.empty()) {
        m_main.emptyLists();
        m_main.readKeyValueFile(name);
        m_main.state().DescriptionFile = name;
        m_main.dispatcher().ResetParameterValues();
        m_main.ShowParameterSet();
    }
    close();
}

} // namespace Dravix
