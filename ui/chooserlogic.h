#pragma once

#include "controlstate.h"

#include <string>

namespace Dravix {

class DialogHost;

// The description chooser without a toolkit: its file list and what its events do.
class ChooserLogic
{
public:
    explicit ChooserLogic(DialogHost &host);

    // Fills the list; while open, changes nothing.
    void open();
    void close();
    bool isOpen() const { return m_open; }

    // Events of the dialog.
    void select(int index);
    void doubleClick(int index);
    void clickRead() { LoadChosenDescription(); }
    void clickCancel() { close(); }
    void pressEscape() { close(); }
    // Enter on the file list: loads the selected description as ODCZYT does; while no entry is
    // selected the dialog stays open.
    void pressEnterOnList();

    // Loads the selected description into the main window, then closes the dialog.
    void LoadChosenDescription();

    // What the entry's description would set; empty for no entry.
    std::string entryNote(int index);

    // PodgladPlikow: the "*.set" files of the working directory.
    const ListState &files() const { return m_files; }

private:
    DialogHost &m_host;
    bool m_open = false;
    ListState m_files;
};

} // namespace Dravix
