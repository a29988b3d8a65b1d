#include "valuefilelogic.h"

#include "dialoghost.h"
#include "fileformat.h"
#include "filelisting.h"
#include "messages.h"
#include "staterecord.h"
#include "workdir.h"

namespace Dravix {

using namespace Messages;

ValueFileLogic::ValueFileLogic(DialogHost &host)
    : m_host(host)
{
}

void ValueFileLogic::open()
{
    if (m_open)
        return;
    m_files = {listFilesWithExtension(m_host.workDir(), FileFormat::kValueFileExtension,
                                      HiddenFiles::Listed),
               -1};
    setNameText({});
    m_open = true;
}

void ValueFileLogic::close()
{
    m_open = false;
    m_files = {};
    setNameText({});
}

void ValueFileLogic::setNameText(const std::string &text)
{
    m_nameText = text;
    m_fileButtonsEnabled = !text.empty();
}

void ValueFileLogic::clickEntry(int index)
{
    if (index < 0 || index >= int(m_files.entries.size()))
        return;
    m_files.selected = index;
    setNameText(m_files.entries[index]);
}

void ValueFileLogic::doubleClickEntry(int index)
{
    if (index < 0 || index >= int(m_files.entries.size()))
        return;
    clickEntry(index);
    LoadValueFile(m_files.entries[index]);
    close();
}

void ValueFileLogic::clickLoad()
{
    if (!m_fileButtonsEnabled)
        return;
    const std::string name = m_nameText;
    if (!m_host.workDir().isPresent(name)) {
        m_host.showMessage(kNotPresent);
        return;
    }
    LoadValueFile(name);
    close();
}

void ValueFileLogic::clickSave()
{
    if (m_fileButtonsEnabled)
        SaveValueFile();
}

void ValueFileLogic::clickDelete()
{
    if (m_fileButtonsEnabled)
        DeleteValueFile();
}

void ValueFileLogic::SaveValueFile()
{
    // "." or ".." would become a bare name once ".vq" is appended; the user meant a folder.
    if (!WorkDir::isBareName(m_nameText)) {
        m_host.showMessage(kCannotWrite);
        return;
    }
    const std::string name = valueFileName(m_nameText);
    if (!WriteStateRecord(m_host.workDir(), name, m_host.stateRecord()))
        m_host.showMessage(kCannotWrite);
    m_host.fileNotes().forget(name);
    refreshList();
}

void ValueFileLogic::LoadValueFile(const std::string &name)
{
    m_host.LoadValueFile(name);
}

void ValueFileLogic::DeleteValueFile()
{
    if (!WorkDir::isBareName(m_nameText) || !m_host.workDir().remove(valueFileName(m_nameText))) {
        m_host.showMessage(kCannotDelete);
        return;
    }
    setNameText({});
    refreshList();
}

std::string ValueFileLogic::entryNote(int index)
{
    if (index < 0 || index >= int(m_files.entries.size()))
        return {};
    return m_host.fileNotes().valueFileNote(m_files.entries[std::size_t(index)], m_host.onScreen());
}

std::string ValueFileLogic::saveNote() const
{
    return m_host.fileNotes().saveNote(m_nameText);
}

void ValueFileLogic::refreshList()
{
    const std::string selected = m_files.selectedText();
    m_files = {listFilesWithExtension(m_host.workDir(), FileFormat::kValueFileExtension,
                                      HiddenFiles::Listed),
               -1};
    for (int i = 0; i < int(m_files.entries.size()); ++i) {
        if (m_files.entries[i] == selected)
            m_files.selected = i;
    }
}

} // namespace Dravix
