#include "mainwindowlogic.h"

#include "accessibletexts.h"
#include "captions.h"
#include "chooserlogic.h"
#include "fileformat.h"
#include "keyvaluefile.h"
#include "mainwindowdesign.h"
#include "numbers.h"
#include "platform.h"
#include "serialport.h"
#include "staterecord.h"
#include "valuefilelogic.h"
#include "workdir.h"

#include <cmath>
#include <utility>

namespace Dravix {

namespace {

int roundTwips(double value)
{
    return int(std::nearbyint(value));
}

} // namespace

MainWindowLogic::MainWindowLogic(WorkDir &dir, SerialPort &port, Platform &platform)
    : m_dir(dir)
    , m_port(port)
    , m_platform(platform)
    , m_dispatcher(m_state, *this)
    , m_notes(port.system())
    , m_fileNotes(dir)
    , m_exchange(m_state, port, *this, platform)
    , m_chooser(std::make_unique<ChooserLogic>(static_cast<DialogHost &>(*this)))
    , m_valueFiles(std::make_unique<ValueFileLogic>(static_cast<DialogHost &>(*this)))
{
    using namespace MainWindowDesign;
    for (int k = 0; k < kSlotCount; ++k) {
        m_names[k] = {Captions::kParameterName, false, NazwaParametru0};
        m_upper[k] = {Captions::kUpperDescription, false, OpisParametru10};
        m_lower[k] = {Captions::kLowerDescription, false, OpisParametru20};
        m_entries[k].geometry = EdycjaParametru0;
    }
    m_names[1].geometry.top = NazwaParametru1Top;
}

MainWindowLogic::~MainWindowLogic() = default;

void MainWindowLogic::load()
{
    m_state.InvalidEntries = 0;
    m_platform.disarmTimer(ExchangeTimer::Timer1);
    m_platform.disarmTimer(ExchangeTimer::Timer2);
    InitMainWindow();
    for (int k = 0; k < kSlotCount; ++k)
        ValidateEntry(k);
    runPortTest();
}

void MainWindowLogic::InitMainWindow()
{
    LayoutParameterGrid();
    if (m_dir.isPresent(FileFormat::kStateFile)) {
        readKeyValueFile(std::string(FileFormat::kStateFile));
        emptyListsAndTestPort();
        readKeyValueFile(m_state.DescriptionFile);
        m_title = Messages::kTitlePrefix + m_state.DescriptionFile;
        restoreListSelections();
    }
    ShowParameterSet();
}

void MainWindowLogic::LayoutParameterGrid()
{
    const Rect name0 = m_names[0].geometry;
    const Rect entry0 = m_entries[0].geometry;
    const Rect upper0 = m_upper[0].geometry;
    const std::int16_t left = RoundToInt16(name0.left);
    const std::int16_t top = RoundToInt16(name0.top);
    const std::int16_t step = RoundToInt16(m_names[1].geometry.top - name0.top);
    for (int half = 0; half < 2; ++half) {
        for (int row = 0; row < 4; ++row) {
            const int k = 4 * half + row;
            const auto rowTop = std::int16_t(top + std::int16_t(step * row));
            m_names[k].geometry.left = left;
            m_names[k].geometry.top = rowTop;
            m_entries[k].geometry.left = left;
            m_entries[k].geometry.top = roundTwips(rowTop + 1.1 * name0.height);
            const int descriptionLeft = roundTwips(left + entry0.width + 100.0);
            m_upper[k].geometry.left = descriptionLeft;
            m_upper[k].geometry.top =
                roundTwips(m_entries[k].geometry.top + entry0.height / 2.0 - upper0.height / 2.0);
            m_lower[k].geometry.left = descriptionLeft;
            m_lower[k].geometry.top = roundTwips(m_upper[k].geometry.top + 1.1 * upper0.height);
        }
    }
}

void MainWindowLogic::ShowParameterSet()
{
    if (m_state.ActiveSet == 1) {
        for (int row = 0; row < 4; ++row) {
            if (m_state.ParamActive[row] == 1)
                setSlotVisible(row, true);
            setSlotVisible(row + 4, false);
        }
        selectSetOption(1);
    } else if (m_state.ActiveSet == 2) {
        for (int row = 0; row < 4; ++row) {
            setSlotVisible(row, false);
            if (m_state.ParamActive[row + 4] == 1)
                setSlotVisible(row + 4, true);
        }
        selectSetOption(2);
    }
}

void MainWindowLogic::setSlotVisible(int k, bool visible)
{
    m_names[k].visible = visible;
    m_entries[k].visible = visible;
    m_upper[k].visible = visible;
    m_lower[k].visible = visible;
}

void MainWindowLogic::ValidateEntry(int k)
{
    const std::string &text = m_entries[k].text;
    bool accepted = IsNumericText(text, m_platform.decimalSeparator());
    m_entries[k].numeric = accepted;
    if (accepted) {
        const double value = ParseLeadingNumber(text);
        accepted = value >= m_state.RangeMin[k] && value <= m_state.RangeMax[k];
    }
    m_entries[k].background = accepted ? kEntryAccepted : kEntryRejected;
    if (accepted)
        m_state.InvalidEntries &= std::uint16_t(~EntryBit(k));
    else
        m_state.InvalidEntries |= EntryBit(k);
}

void MainWindowLogic::emptyListsAndTestPort()
{
    m_ports = {};
    m_lineSettings = {};
    runPortTest();
}

void MainWindowLogic::readKeyValueFile(const std::string &name)
{
    ReadKeyValueFile(m_dir, name, [this](std::string_view key, const std::string &value) {
        m_dispatcher.ApplyKey(key, value);
    });
}

void MainWindowLogic::restoreListSelections()
{
    if (m_dir.isPresent(m_state.DescriptionFile)) {
        selectPort(m_state.SavedPortIndex);
        selectLineSettings(m_state.SavedSpeedIndex);
    } else {
        selectPort(-1);
        selectLineSettings(-1);
    }
}

void MainWindowLogic::choosePort(int index)
{
    // The user's choice tests the port even when it repeats the selection: it is how a
    // technician retries after plugging the cable in.
    m_ports.selected = index >= 0 && index < int(m_ports.entries.size()) ? index : -1;
    m_portChangeToTell.clear();
    runPortTest();
}

void MainWindowLogic::selectPort(int index)
{
    const int selected = index >= 0 && index < int(m_ports.entries.size()) ? index : -1;
    if (selected == m_ports.selected)
        return;
    m_ports.selected = selected;
    m_portChangeToTell.clear();
    runPortTest();
}

void MainWindowLogic::selectLineSettings(int index)
{
    m_lineSettings.selected = index >= 0 && index < int(m_lineSettings.entries.size()) ? index : -1;
}

void MainWindowLogic::runPortTest()
{
    m_portEntryToolTips.clear();
    for (const std::string &entry : m_ports.entries)
        m_portEntryToolTips.push_back(portEntryToolTip(entry));
    if (m_exchange.isPending()) {
        m_portTestPutOff = true;
        return;
    }
    m_portTestPutOff = false;
    m_state.PortAvailable = m_exchange.TestPort(m_ports.selectedText());
    const bool chosen = m_ports.selected >= 0 && m_state.PortNumber > 0;
    m_portFacts = chosen ? m_notes.facts(m_port.locate(m_state.PortNumber)) : PortFacts{};
    m_portWatchFolders =
        chosen ? m_port.watchedFolders(m_state.PortNumber) : std::vector<std::string>{};
}

void MainWindowLogic::portSystemChanged()
{
    if (m_portFacts.location.portNumber < 1)
        return;
    const std::string change =
        m_notes.portChange(m_portFacts, m_notes.facts(m_port.locate(m_state.PortNumber)));
    if (change.empty())
        return;
    m_portChangeToTell = change;
    runPortTest();
}

std::string MainWindowLogic::portEntryToolTip(const std::string &entry) const
{
    return m_notes.portTarget(m_port.locate(RoundToInt16(ParseLeadingNumber(entry))));
}

std::string MainWindowLogic::portListToolTip() const
{
    const int selected = m_ports.selected;
    if (selected < 0 || selected >= int(m_portEntryToolTips.size()))
        return {};
    const int number = RoundToInt16(ParseLeadingNumber(m_ports.entries[std::size_t(selected)]));
    if (number != 0 && number == m_state.PortNumber && !portInfoToolTip().empty())
        return portInfoToolTip();
    return m_portEntryToolTips[std::size_t(selected)];
}

void MainWindowLogic::timerFired(ExchangeTimer timer)
{
    if (timer == ExchangeTimer::Timer1)
        m_exchange.CompleteWrite();
    else
        m_exchange.CompleteRead();
}

void MainWindowLogic::clickChooser()
{
    if (m_chooser->isOpen())
        return;
    m_valueFiles->close();
    m_chooser->open();
}

void MainWindowLogic::clickValueFiles()
{
    if (m_valueFiles->isOpen())
        return;
    m_chooser->close();
    m_valueFiles->open();
}

void MainWindowLogic::LoadDescription(const std::string &name)
{
    emptyListsAndTestPort();
    readKeyValueFile(name);
    m_state.DescriptionFile = name;
    m_dispatcher.ResetParameterValues();
    ShowParameterSet();
}

void MainWindowLogic::LoadValueFile(const std::string &name)
{
    readKeyValueFile(name);
    emptyListsAndTestPort();
    readKeyValueFile(m_state.DescriptionFile);
    for (int k = 0; k < kSlotCount; ++k)
        ValidateEntry(k);
    // The new description's slots in use must show even when the set stays the same. A record
    // whose set is neither 1 nor 2 leaves ActiveSet at 1 and the set on display as it was.
    const std::int16_t active = m_state.ActiveSet;
    m_state.ActiveSet = m_option2 ? 2 : 1;
    ShowParameterSet();
    m_state.ActiveSet = active;
    restoreListSelections();
    m_title = Messages::kTitlePrefix + m_state.DescriptionFile;
}

void MainWindowLogic::close()
{
    m_exchange.abandon();
    if (!WriteStateRecord(m_dir, FileFormat::kStateFile, stateRecord()))
        showMessage(Messages::kCannotWrite);
    m_valueFiles->close();
    m_chooser->close();
}

OnScreen MainWindowLogic::onScreen() const
{
    OnScreen screen;
    screen.descriptionFile = m_state.DescriptionFile;
    for (int k = 0; k < kSlotCount; ++k) {
        screen.names[k] = m_names[k].caption;
        screen.entries[k] = m_entries[k].text;
        screen.inUse[k] = m_state.ParamActive[k] == 1;
    }
    return screen;
}

std::array<std::string, kSlotCount> MainWindowLogic::shownNames() const
{
    std::array<std::string, kSlotCount> names;
    for (int k = 0; k < kSlotCount; ++k) {
        if (m_state.ParamActive[k] == 1)
            names[k] = AccessibleTexts::nameOf(m_names[k].caption);
    }
    return names;
}

StateRecord MainWindowLogic::stateRecord() const
{
    StateRecord record;
    record.descriptionFile = m_state.DescriptionFile;
    for (int k = 0; k < kSlotCount; ++k)
        record.entries[k] = m_entries[k].text;
    record.portIndex = m_ports.selected;
    record.speedIndex = m_lineSettings.selected;
    record.activeSet = m_state.ActiveSet;
    return record;
}

void MainWindowLogic::setParameterName(int k, const std::string &caption)
{
    m_names[k].caption = caption;
}

void MainWindowLogic::setUpperDescription(int k, const std::string &caption)
{
    m_upper[k].caption = caption;
}

void MainWindowLogic::setLowerDescription(int k, const std::string &caption)
{
    m_lower[k].caption = caption;
}

std::string MainWindowLogic::entryText(int k) const
{
    return m_entries[k].text;
}

void MainWindowLogic::setEntryText(int k, const std::string &text)
{
    // Also a change to the same text is judged again: the bounds may have changed since.
    m_entries[k].text = text;
    ValidateEntry(k);
}

void MainWindowLogic::setModelHeading(const std::string &caption)
{
    m_modelHeading = caption;
}

void MainWindowLogic::appendPortEntry(const std::string &text)
{
    m_ports.entries.push_back(text);
    m_portEntryToolTips.push_back(portEntryToolTip(text));
}

void MainWindowLogic::appendLineSettingsEntry(const std::string &text)
{
    m_lineSettings.entries.push_back(text);
}

void MainWindowLogic::selectSetOption(int set)
{
    bool &selected = set == 1 ? m_option1 : m_option2;
    if (selected)
        return;
    m_option1 = set == 1;
    m_option2 = set == 2;
    m_state.ActiveSet = std::int16_t(set);
    ShowParameterSet();
}

void MainWindowLogic::clearListSelections()
{
    selectPort(-1);
    selectLineSettings(-1);
}

std::string MainWindowLogic::lineSettingsText() const
{
    return m_lineSettings.selectedText();
}

void MainWindowLogic::showMessage(const std::string &text)
{
    m_platform.showMessage(text);
}

void MainWindowLogic::setPortInfoVisible(bool visible)
{
    m_portInfoVisible = visible;
}

void MainWindowLogic::portTried(const PortAttempt &attempt)
{
    m_portAttempt = attempt;
    m_portChange = std::exchange(m_portChangeToTell, {});
    m_portInfoToolTip.reset();
}

const std::string &MainWindowLogic::portInfoToolTip() const
{
    // Composed when first asked for: finding why a port did not open lists the adapters.
    if (!m_portInfoToolTip) {
        m_portInfoToolTip = m_portAttempt ? m_notes.portNote(*m_portAttempt) : std::string();
        if (!m_portChange.empty())
            m_portInfoToolTip = m_portChange + "\n" + *m_portInfoToolTip;
    }
    return *m_portInfoToolTip;
}

void MainWindowLogic::exchangeEnded(const ExchangeRecord &record)
{
    const bool read = record.kind == ExchangeRecord::Kind::Read;
    (read ? m_readNote : m_writeNote) = m_notes.exchangeNote(record);
    if (read && record.stage == ExchangeRecord::Stage::Completed &&
        record.outcome == ReplyOutcome::Accepted) {
        m_readNote += '\n';
        // The entries hold what the read set.
        std::array<std::string, kSlotCount> now;
        for (int k = 0; k < kSlotCount; ++k)
            now[std::size_t(k)] = m_entries[k].text;
        m_readNote += m_notes.readChanges(record.entriesBefore, now, shownNames());
    }
    // A device that went during the exchange is a change behind the port: tested anew at once.
    if (record.lost)
        m_portChangeToTell = m_notes.portLost(record);
    if (m_portTestPutOff || record.lost)
        runPortTest();
}

} // namespace Dravix
