// Arbitrary bytes as the state file and as the description it may name ("opis.set"): the
// main window starts with them, the chooser loads the description and the value-file dialog
// loads the state file as a value file, and the notes of both dialogs' entries tell of them.
// The first byte chooses which of the four steps run (bits 0 to 3; none set: all), so that one
// execution costs only what it tests. After each step the window must be consistent, and the
// record it would save must read back as written; a note must stay within its bounds, be the
// same while its file is, and change nothing.

#include "invariant.h"

#include "fakeplatform.h"
#include "fakeserialport.h"

#include "chooserlogic.h"
#include "controlstate.h"
#include "cp1250.h"
#include "keyvaluefile.h"
#include "mainwindowlogic.h"
#include "numbers.h"
#include "staterecord.h"
#include "valuefilelogic.h"
#include "memoryworkdir.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

using namespace Dravix;

namespace {

bool inRange(const ListState &list)
{
    return list.selected >= -1 && list.selected < int(list.entries.size());
}

void requireConsistent(const MainWindowLogic &main)
{
    const ModelState &state = main.state();
    for (int k = 0; k < kSlotCount; ++k) {
        const std::string &text = main.entry(k).text;
        const double value = ParseLeadingNumber(text);
        const bool valid =
            IsNumericText(text, ".") && value >= state.RangeMin[k] && value <= state.RangeMax[k];
        require(valid == (main.entry(k).background == kEntryAccepted),
                "each entry is judged against the bounds in force");
        require(valid == !(state.InvalidEntries & (1u << k)), "InvalidEntries follows the colours");
    }
    require(state.ActiveSet >= 0 && state.ActiveSet <= 2, "ActiveSet is 0, 1 or 2");
    require(main.optionSelected(1) != main.optionSelected(2), "one option button is selected");
    // A value file whose set is neither 1 nor 2 leaves ActiveSet at 1 but the set on display as
    // it was: the option buttons tell which set shows.
    if (state.ActiveSet == 2)
        require(main.optionSelected(2), "the option shows the active set");
    const int shown = main.optionSelected(2) ? 2 : 1;
    for (int row = 0; row < 4; ++row) {
        const int hidden = shown == 2 ? row : row + 4;
        if (state.ActiveSet != 0)
            require(!main.entry(hidden).visible && !main.parameterName(hidden).visible,
                    "the other set is hidden");
    }
    require(inRange(main.ports()) && inRange(main.lineSettings()), "selections lie in the lists");
}

// The record as the state file holds it, read back pair by pair.
void requireRecordReadsBack(const MainWindowLogic &main)
{
    const StateRecord record = main.stateRecord();
    std::vector<std::pair<std::string, std::string>> pairs;
    forEachPair(cp1250ToUtf8(utf8ToCp1250(formatStateRecord(record))),
                [&pairs](std::string_view key, const std::string &value) {
                    pairs.emplace_back(std::string(key), value);
                });
    require(pairs.size() == 12, "twelve pairs");
    require(pairs[0] == std::pair<std::string, std::string>("konfig", record.descriptionFile),
            "konfig reads back");
    for (int k = 0; k < kSlotCount; ++k) {
        require(pairs[1 + k].first == "parametr" + std::to_string(k + 1) &&
                    pairs[1 + k].second == record.entries[k],
                "an entry reads back");
    }
    require(RoundToInt16(ParseLeadingNumber(pairs[9].second)) == record.portIndex,
            "wybor1 reads back");
    require(RoundToInt16(ParseLeadingNumber(pairs[10].second)) == record.speedIndex,
            "wybor2 reads back");
    require(ParseLeadingNumber(pairs[11].second) == record.activeSet, "zestaw reads back");
}

// At most 16 lines of at most 160 characters, without a control character but the line ends.
void requireNoteBounded(const std::string &note)
{
    std::size_t lines = 1;
    std::size_t chars = 0;
    for (std::size_t i = 0; i < note.size(); ++i) {
        const auto c = static_cast<unsigned char>(note[i]);
        if (c == '\n') {
            ++lines;
            chars = 0;
            continue;
        }
        require(c >= 0x20 && c != 0x7F, "no control character in a note");
        require(
            !(c == 0xC2 && i + 1 < note.size() && static_cast<unsigned char>(note[i + 1]) < 0xA0),
            "no control character in a note");
        if ((c & 0xC0) != 0x80)
            require(++chars <= 160, "a note's line is at most 160 characters");
    }
    require(lines <= 16, "a note is at most 16 lines");
}

// What the window shows and keeps, for a comparison.
std::string windowText(const MainWindowLogic &main)
{
    std::string text =
        main.title() + "|" + main.modelHeading() + "|" + formatStateRecord(main.stateRecord());
    for (int k = 0; k < kSlotCount; ++k)
        text += main.parameterName(k).caption + "|" + std::to_string(main.entry(k).visible) +
                std::to_string(main.state().RangeMax[k]);
    return text + std::to_string(main.state().DeviceCode) +
           std::to_string(main.ports().entries.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const unsigned steps = (data[0] & 15u) != 0 ? data[0] & 15u : 15u;
    const std::string bytes(reinterpret_cast<const char *>(data + 1), size - 1);
    MemoryWorkDir dir;
    dir.put("opis.set", bytes);
    if (steps & 1u)
        dir.put("sesja.dat", bytes);

    FakeSerialPort port;
    FakePlatform platform;
    MainWindowLogic main(dir, port, platform);
    main.load();
    requireConsistent(main);
    if (steps & 1u) {
        require(main.title() == "Dravix - " + main.state().DescriptionFile, "the title names it");
        requireRecordReadsBack(main);
    }

    if (steps & 2u) {
        main.clickChooser();
        const auto &files = main.chooser().files().entries;
        require(files.size() == 1 && files[0] == "opis.set", "the chooser lists the description");
        main.chooser().doubleClick(0);
        require(main.state().DescriptionFile == "opis.set", "the chosen description is in force");
        for (int k = 0; k < kSlotCount; ++k)
            require(main.entry(k).text == "0", "a chosen description resets the values");
        requireConsistent(main);
        requireRecordReadsBack(main);
    }

    if (steps & 4u) {
        dir.put("wartosci.vq", bytes);
        main.valueFiles().LoadValueFile("wartosci.vq");
        require(main.title() == "Dravix - " + main.state().DescriptionFile, "the title follows");
        requireConsistent(main);
        requireRecordReadsBack(main);
    }

    if (steps & 8u) {
        dir.put("wartosci.vq", bytes);
        const std::string before = windowText(main);
        main.clickValueFiles();
        ValueFileLogic &values = main.valueFiles();
        const std::string note = values.entryNote(0);
        requireNoteBounded(note);
        require(values.entryNote(0) == note, "an unchanged file's note stays");
        values.editName("wartosci");
        requireNoteBounded(values.saveNote());
        main.clickChooser();
        for (int row = 0; row < int(main.chooser().files().entries.size()); ++row)
            requireNoteBounded(main.chooser().entryNote(row));
        main.chooser().close();
        require(windowText(main) == before, "looking changes nothing");
    }

    require(platform.messages.empty(), "reading files shows no message");
    require(port.useWhileClosed == 0 && !port.isOpen, "the port tests leave the port closed");
    return 0;
}
