#pragma once

#include "fakeplatform.h"
#include "fakeserialport.h"
#include "scratchfolder.h"

#include "chooserlogic.h"
#include "diskworkdir.h"
#include "mainwindowlogic.h"
#include "valuefilelogic.h"

#include <algorithm>
#include <array>
#include <string>

namespace Dravix {

// The main window's logic with a fake port over a fresh working directory, which holds nothing
// or two device descriptions: abc.set (ports 1 to 3, every slot in use) and xyz.set (ports 7
// and 8, slot 6 not in use). The platform is a fake unless a test needs the real one.
template <typename PlatformType = FakePlatform> struct BasicWindowFixture
{
    enum class Folder { WithDescriptions, Empty };

    static constexpr const char *kAbc = "tytul=MODEL ABC\n"
                                        "ID=1F\n"
                                        "dodajport=1\ndodajport=2\ndodajport=3\n"
                                        "dodajparam=9600,n,8,1\ndodajparam=19200,e,8,1\n"
                                        "nazwa1=Ciśnienie\nzakresmin1=0\nzakresmax1=100\n"
                                        "nazwa2=Temperatura\nzakresmin2=-10\nzakresmax2=50\n"
                                        "zakresmax3=100\nzakresmax4=100\nzakresmax5=100\n"
                                        "zakresmax6=100\nzakresmax7=100\nzakresmax8=100\n"
                                        "aktywny1=1\naktywny2=1\naktywny3=1\naktywny4=1\n"
                                        "aktywny5=1\naktywny6=1\naktywny7=1\naktywny8=1\n";
    static constexpr const char *kXyz = "tytul=MODEL XYZ\n"
                                        "ID=2A\n"
                                        "dodajport=7\ndodajport=8\n"
                                        "dodajparam=4800,n,8,1\n"
                                        "nazwa1=Napięcie\nzakresmax1=1000\n"
                                        "zakresmax2=1000\nzakresmax6=1000\n"
                                        "aktywny1=1\naktywny2=1\naktywny3=0\naktywny4=0\n"
                                        "aktywny5=1\naktywny6=0\naktywny7=1\naktywny8=1\n";

    // Another run of the program over a working directory, with fakes of its own.
    struct Run
    {
        explicit Run(WorkDir &dir)
            : main(dir, port, platform)
        {
        }
        FakeSerialPort port;
        FakePlatform platform;
        MainWindowLogic main;
    };

    explicit BasicWindowFixture(Folder start = Folder::WithDescriptions)
        : dir(folder.workPath())
        , main(dir, port, platform)
    {
        if (start == Folder::WithDescriptions) {
            folder.writeText("abc.set", kAbc);
            folder.writeText("xyz.set", kXyz);
        }
    }

    ChooserLogic &chooser() { return main.chooser(); }
    ValueFileLogic &values() { return main.valueFiles(); }

    static int indexOf(const ListState &list, const std::string &name)
    {
        const auto it = std::find(list.entries.begin(), list.entries.end(), name);
        return it == list.entries.end() ? -1 : int(it - list.entries.begin());
    }

    // Through the chooser, as the user does it.
    void chooseDescription(const std::string &name)
    {
        main.clickChooser();
        chooser().doubleClick(indexOf(chooser().files(), name));
    }
    void setEntries(const std::array<std::string, kSlotCount> &texts)
    {
        for (int k = 0; k < kSlotCount; ++k)
            main.editEntry(k, texts[k]);
    }
    // The dialog opened and the name typed into its name box.
    void typeName(const std::string &name)
    {
        main.clickValueFiles();
        values().editName(name);
    }

    ScratchFolder folder;
    DiskWorkDir dir;
    FakeSerialPort port;
    PlatformType platform;
    MainWindowLogic main;
};

using WindowFixture = BasicWindowFixture<>;

} // namespace Dravix
