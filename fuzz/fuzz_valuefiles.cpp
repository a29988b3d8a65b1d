// Value files on the real disk under the name the input gives (UTF-8, Polish letters and all):
// saved, listed, loaded, saved again while a reader holds the file open, and deleted. The
// input's first line is the name box's text, the second the first entry's text (up to a "=",
// where a value of the file format ends).

#include "invariant.h"

#include "fakeplatform.h"
#include "fakeserialport.h"

#include "cp1250.h"
#include "diskworkdir.h"
#include "mainwindowlogic.h"
#include "staterecord.h"
#include "valuefilelogic.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>

using namespace Dravix;
namespace fs = std::filesystem;

namespace {

// A fresh empty folder of its own for one input, removed with everything in it afterwards.
class ScratchFolder
{
public:
    ScratchFolder()
    {
        std::random_device random;
        for (int attempt = 0; attempt < 16 && m_path.empty(); ++attempt) {
            fs::path candidate =
                fs::temp_directory_path() / ("dravix-replay-" + std::to_string(random()));
            std::error_code error;
            if (fs::create_directory(candidate, error))
                m_path = candidate;
        }
        require(!m_path.empty(), "a scratch folder can be made");
    }
    ~ScratchFolder()
    {
        std::error_code error;
        fs::remove_all(m_path, error);
    }
    const fs::path &path() const { return m_path; }

private:
    fs::path m_path;
};

bool listed(const WorkDir &dir, const std::string &name)
{
    const auto names = dir.names();
    return std::count(names.begin(), names.end(), name) == 1;
}

std::optional<fs::path> pathOf(const fs::path &folder, const std::string &name)
{
    try {
        return folder / fs::path(std::u8string(name.begin(), name.end()));
    } catch (const std::exception &) {
        return std::nullopt;
    }
}

std::string fileBytes(const StateRecord &record)
{
    return utf8ToCp1250(formatStateRecord(record));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char *>(data), size);
    const std::size_t newline = input.find('\n');
    const std::string nameText = input.substr(0, newline);
    std::string entryText = newline == std::string::npos ? "" : input.substr(newline + 1);
    entryText = entryText.substr(0, entryText.find_first_of("\r\n="));

    ScratchFolder folder;
    DiskWorkDir dir(folder.path());
    FakeSerialPort port;
    FakePlatform platform;
    MainWindowLogic main(dir, port, platform);
    main.load();
    main.clickOption(2);
    main.editEntry(0, entryText);
    main.clickValueFiles();
    ValueFileLogic &files = main.valueFiles();
    files.editName(nameText);
    files.clickSave();

    if (nameText.empty()) {
        require(platform.messages.empty() && dir.names().empty(), "no name, no save");
        return 0;
    }
    const std::string name = valueFileName(nameText);
    if (!platform.messages.empty()) {
        require(platform.messages == std::vector<std::string>{"Niewlasciwa nazwa pliku!!!"},
                "a save that fails says so");
        require(dir.names().empty(), "a failed save leaves nothing behind");
        return 0;
    }
    require(WorkDir::isBareName(nameText), "only a bare name is saved");
    require(listed(dir, name), "the saved file is listed under its name, byte for byte");
    require(dir.names().size() == 1, "nothing else is left in the folder");
    const StateRecord saved = main.stateRecord();

    main.editEntry(0, "1");
    files.editName(name);
    files.clickLoad();
    require(platform.messages.empty(), "the saved file loads");
    require(fileBytes(main.stateRecord()) == fileBytes(saved),
            "the loaded record is the saved one");

    // Saving again while another reader has the file open: the new record, or the message
    // and the old record, never a silent failure.
    const std::optional<std::string> before = dir.readWhole(name);
    require(before.has_value(), "the saved file reads");
    main.editEntry(0, entryText + "7");
    {
        const auto path = pathOf(folder.path(), name);
        require(path.has_value(), "a listed name is a path");
        std::ifstream reader(*path, std::ios::binary);
        require(reader.is_open(), "a reader can open the saved file");
        main.clickValueFiles();
        files.editName(nameText);
        files.clickSave();
    }
    const std::optional<std::string> after = dir.readWhole(name);
    require(after.has_value() && listed(dir, name), "the file is still there, under its name");
    if (platform.messages.empty()) {
        require(*after == fileBytes(main.stateRecord()),
                "a save reported as done wrote the new record");
    } else {
        require(platform.messages == std::vector<std::string>{"Niewlasciwa nazwa pliku!!!"},
                "a save that fails says so");
        require(*after == *before, "a failed save keeps the old file");
        platform.messages.clear();
    }
    require(dir.names().size() == 1, "no temporary file is left behind");

    main.clickValueFiles();
    files.editName(nameText);
    files.clickDelete();
    require(platform.messages.empty(), "the file is deleted");
    require(dir.names().empty(), "the folder is empty again");

    // The same name in other letter case, saved after it: where the file system ignores case,
    // the new name replaces the old one; the file is listed under the name it was saved as.
    std::string twin = nameText;
    for (char &c : twin)
        c = char(c >= 'a' && c <= 'z' ? c - 32 : c >= 'A' && c <= 'Z' ? c + 32 : c);
    if (twin == nameText)
        return 0;
    files.editName(nameText);
    files.clickSave();
    main.editEntry(0, "-5");
    files.editName(twin);
    files.clickSave();
    require(platform.messages.empty(), "a name in other letter case is saved");
    const std::string twinName = valueFileName(twin);
    require(listed(dir, twinName), "it is listed under the name it was saved as");
    require(dir.readWhole(twinName) == fileBytes(main.stateRecord()), "it holds the new record");
    const std::size_t count = dir.names().size();
    require(count == 1 || (count == 2 && listed(dir, name)), "the other file stays or gives way");
    return 0;
}
