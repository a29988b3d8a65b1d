#include "chooserlogic.h"

#include "dialoghost.h"
#include "fileformat.h"
#include "filelisting.h"

namespace Dravix {

ChooserLogic::ChooserLogic(DialogHost &host)
    : m_host(host)
{
}

void ChooserLogic::open()
{
    if (m_open)
        return;
    m_files = {listFilesWithExtension(m_host.workDir(), FileFormat::kDescriptionExtension), -1};
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

void ChooserLogic::pressEnterOnList()
{
    if (m_files.selected >= 0)
        LoadChosenDescription();
}

std::string ChooserLogic::entryNote(int index)
{
    if (index < 0 || index >= int(m_files.entries.size()))
        return {};
    return m_host.fileNotes().descriptionNote(m_files.entries[std::size_t(index)],
                                              m_host.onScreen());
}

void ChooserLogic::LoadChosenDescription()
{
    const std::string name = m_files.selectedText();
    if (!name.empty())
        m_host.LoadDescription(name);
    close();
}

} // namespace Dravix
