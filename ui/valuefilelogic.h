#pragma once

#include "controlstate.h"

#include <string>

namespace Dravix {

class DialogHost;

// The value-file dialog without a toolkit: its file list, name box and buttons, and the
// saving, loading and deleting of value files.
class ValueFileLogic
{
public:
    explicit ValueFileLogic(DialogHost &host);

    // Fills the list, empties the name box; while open, changes nothing.
    void open();
    void close();
    bool isOpen() const { return m_open; }

    // Events of the dialog.
    void editName(const std::string &text) { setNameText(text); }
    void clickEntry(int index);
    void doubleClickEntry(int index);
    void clickLoad();
    void clickSave();
    void clickDelete();
    void clickExit() { close(); }
    void pressEscape() { close(); }
    // Enter on the file list: loads the selected file as a double-click does.
    void pressEnterOnList() { doubleClickEntry(m_files.selected); }

    // Writes the record under the name box's name (".vq" appended by the naming rule).
    void SaveValueFile();
    // Reads a record and the description it names into the main window.
    void LoadValueFile(const std::string &name);
    // Deletes the value file that the name box names.
    void DeleteValueFile();

    // What the entry's value file holds against the screen; empty for no entry.
    std::string entryNote(int index);
    // What "ZAPISZ" would write or replace under the name box's name.
    std::string saveNote() const;

    // ZapisPliki: the "*.vq" files of the working directory.
    const ListState &files() const { return m_files; }
    // EditPlikZapisu
    const std::string &nameText() const { return m_nameText; }
    // OdczytButton, ZapisButton and ZapisUsun are enabled exactly when the name box is not empty.
    bool fileButtonsEnabled() const { return m_fileButtonsEnabled; }

private:
    void setNameText(const std::string &text);
    void refreshList();

    DialogHost &m_host;
    bool m_open = false;
    ListState m_files;
    std::string m_nameText;
    bool m_fileButtonsEnabled = false;
};

} // namespace Dravix
