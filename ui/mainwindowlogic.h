#pragma once

#include "captions.h"
#include "controlstate.h"
#include "dialoghost.h"
#include "exchange.h"
#include "exchangehost.h"
#include "messages.h"
#include "keydispatcher.h"
#include "linknotes.h"
#include "modelcontrols.h"
#include "modelstate.h"
#include "staterecord.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Dravix {

class ChooserLogic;
class Platform;
class SerialPort;
class ValueFileLogic;
class WorkDir;

// The main window without a toolkit: the state of its controls as plain values, its start-up,
// grid layout, set switch, entry validation and shut-down, and the handlers of its events. The
// description model, the exchanges and the dialogs reach it through an interface each.
class MainWindowLogic : private ModelControls, private ExchangeHost, private DialogHost
{
public:
    MainWindowLogic(WorkDir &dir, SerialPort &port, Platform &platform);
    ~MainWindowLogic() override;

    // Events of the window, from the user or the toolkit.
    void load();
    void editEntry(int k, const std::string &text) { setEntryText(k, text); }
    void clickOption(int set) { selectSetOption(set); }
    void choosePort(int index);
    void chooseLineSettings(int index) { selectLineSettings(index); }
    void clickRead() { m_exchange.StartRead(); }
    void clickWrite() { m_exchange.StartWrite(); }
    void timerFired(ExchangeTimer timer);
    // Something changed in the folders that tell of the selected port's device: when that
    // device appeared, went or is pointed elsewhere, the port is tested anew, as if chosen again.
    void portSystemChanged();
    // Opens a dialog; the other one closes.
    void clickChooser();
    void clickValueFiles();
    // The window closes (it cannot be refused): saves the state file, closes the dialogs.
    void close();

    // Empties both lists; this counts as a change of the port selection.
    void emptyListsAndTestPort();
    void readKeyValueFile(const std::string &name);
    StateRecord stateRecord() const override;

    // The state of the controls, for the toolkit's window and for tests.
    const std::string &title() const { return m_title; }
    const std::string &modelHeading() const { return m_modelHeading; }
    const LabelState &parameterName(int k) const { return m_names[k]; }
    const LabelState &upperDescription(int k) const { return m_upper[k]; }
    const LabelState &lowerDescription(int k) const { return m_lower[k]; }
    const EntryState &entry(int k) const { return m_entries[k]; }
    bool optionSelected(int set) const { return set == 1 ? m_option1 : m_option2; }
    const ListState &ports() const { return m_ports; }
    const ListState &lineSettings() const { return m_lineSettings; }
    bool portInfoVisible() const { return m_portInfoVisible; }
    // What the last port test or failed open found; composed when first asked for.
    const std::string &portInfoToolTip() const;
    // What each port entry's number opens, as of the last port test or the entry's arrival.
    const std::vector<std::string> &portEntryToolTips() const { return m_portEntryToolTips; }
    // The port list's own: the last note when it was about the selected entry's number (also
    // after a success, when lPortInfo is hidden), else what the selected entry opens.
    std::string portListToolTip() const;
    // What the last read and the last write did on the wire; empty before the first.
    const std::string &readToolTip() const { return m_readNote; }
    const std::string &writeToolTip() const { return m_writeNote; }
    // The folders to watch for the selected port's device, as of the last port test.
    const std::vector<std::string> &portWatchFolders() const { return m_portWatchFolders; }

    ModelState &state() { return m_state; }
    const ModelState &state() const { return m_state; }
    const Exchange &exchange() const { return m_exchange; }
    ChooserLogic &chooser() { return *m_chooser; }
    ValueFileLogic &valueFiles() { return *m_valueFiles; }

private:
    void InitMainWindow();
    void LayoutParameterGrid();
    void ShowParameterSet();
    void ValidateEntry(int k);
    // Selects the saved list positions when the description file is present, else none.
    void restoreListSelections();
    // Selects a list entry from code; a position outside the list selects none.
    void selectPort(int index);
    void selectLineSettings(int index);
    void setSlotVisible(int k, bool visible);
    void runPortTest();
    std::string portEntryToolTip(const std::string &entry) const;

    // ModelControls
    void setParameterName(int k, const std::string &caption) override;
    void setUpperDescription(int k, const std::string &caption) override;
    void setLowerDescription(int k, const std::string &caption) override;
    std::string entryText(int k) const override;
    void setEntryText(int k, const std::string &text) override;
    void setModelHeading(const std::string &caption) override;
    void appendPortEntry(const std::string &text) override;
    void appendLineSettingsEntry(const std::string &text) override;
    void selectSetOption(int set) override;
    void clearListSelections() override;

    // ExchangeHost
    std::string lineSettingsText() const override;
    void setPortInfoVisible(bool visible) override;
    void portTried(const PortAttempt &attempt) override;
    void exchangeEnded(const ExchangeRecord &record) override;

    // DialogHost
    WorkDir &workDir() override { return m_dir; }
    void showMessage(const std::string &text) override;
    void LoadDescription(const std::string &name) override;
    void LoadValueFile(const std::string &name) override;
    FileNotes &fileNotes() override { return m_fileNotes; }
    OnScreen onScreen() const override;
    // The captions of the slots in use, without their colons; empty for the others.
    std::array<std::string, kSlotCount> shownNames() const;

    WorkDir &m_dir;
    SerialPort &m_port;
    Platform &m_platform;
    ModelState m_state;
    KeyDispatcher m_dispatcher;
    LinkNotes m_notes;
    FileNotes m_fileNotes;
    Exchange m_exchange;
    std::unique_ptr<ChooserLogic> m_chooser;
    std::unique_ptr<ValueFileLogic> m_valueFiles;

    std::string m_title = Messages::kProgramName;
    std::string m_modelHeading = Captions::kModelHeading;
    std::array<LabelState, kSlotCount> m_names;
    std::array<LabelState, kSlotCount> m_upper;
    std::array<LabelState, kSlotCount> m_lower;
    std::array<EntryState, kSlotCount> m_entries;
    bool m_option1 = true;
    bool m_option2 = false;
    ListState m_ports;
    ListState m_lineSettings;
    bool m_portInfoVisible = true;
    bool m_portTestPutOff = false;
    std::optional<PortAttempt> m_portAttempt;
    // What changed behind the port: told by the next note, then by the notes after it.
    std::string m_portChangeToTell;
    std::string m_portChange;
    PortFacts m_portFacts; // as of the last port test
    std::vector<std::string> m_portWatchFolders;
    mutable std::optional<std::string> m_portInfoToolTip;
    std::vector<std::string> m_portEntryToolTips;
    std::string m_readNote;
    std::string m_writeNote;
};

} // namespace Dravix
