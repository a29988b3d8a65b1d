#include "valuefilelogic.h"

#include "chooserlogic.h"
#include "filelisting.h"
#include "mainwindowlogic.h"
#include "staterecord.h"
#include "workdir.h"

namespace Dravix {

namespace {

constexpr const char *kValueFileExtension = ".vq";
constexpr const char *kCannotWrite = "Niewlasciwa nazwa pliku!!!";
constexpr const char *kCannotDelete = "Niewłaściwa nazwa pliku lub plik nie istnieje!!!";
constexpr const char *kNotPresent = "Plik o podanej nazwie nie istnieje!";

} // namespace

ValueFileLogic::ValueFileLogic(MainWindowLogic &main)
    : m_main(main)
{
}

void ValueFileLogic::open()
{
    if (m_open)
        return;
    m_main.chooser().close();
    m_files = {listFilesWithExtension(m_main.workDir(), kValueFileExtension, HiddenFiles::Listed),
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
    if (!m_main.workDir().isPresent(name)) {
        m_main.showMessage(kNotPresent);
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
        m_main.showMessage(kCannotWrite);
        return;
    }
    if (!WriteStateRecord(m_main.workDir(), valueFileName(m_nameText), m_main.stateRecord()))
        m_main.showMessage(kCannotWrite);
    refreshList();
}

void ValueFileLogic::LoadValueFile(const std::string &name)
{
    m_main.readKeyValueFile(name);
    m_main.emptyLists();
    m_main.readKeyValueFile(m_main.state().DescriptionFile);
    for (int k = 0; k < kSlotCount; ++k)
        m_main.ValidateEntry(k);
    // The new description's slots in use must show even when the set stays the same. A record
    // whose set is neither 1 nor 2 leaves ActiveSet at 1 and the set on display as it was.
    ModelState &state = m_main.state();
    const std::int16_t active = state.ActiveSet;
    state.ActiveSet = m_main.optionSelected(2) ? 2 : 1;
    m_main.ShowParameterSet();
    state.ActiveSet = active;
    m_main.restoreListSelections();
    m_main.setTitle("Dravix - " + m_main.state().DescriptionFile);
}

void ValueFileLogic::DeleteValueFile()
{
    if (!WorkDir::isBareName(m_nameText) || !m_main.workDir().remove(valueFileName(m_nameText))) {
        m_main.showMessage(kCannotDelete);
        return;
    }
    setNameText({});
    refreshList();
}

void ValueFileLogic::refreshList()
{
    const std::string selected = m_files.selectedText();
    m_files = {listFilesWithExtension(m_main.workDir(), kValueFileExtension, HiddenFiles::Listed),
               -1};
    for (int i = 0; i < int(m_files.entries.size()); ++i) {
        if (m_files.entries[i] == selected)
            m_files.selected = i;
    }
}

} // namespace Dravix
