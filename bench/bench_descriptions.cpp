#include "chooserlogic.h"
#include "cp1250.h"
#include "diskworkdir.h"
#include "figures.h"
#include "filenotes.h"
#include "mainwindow.h"
#include "mainwindowlogic.h"
#include "program.h"
#include "valuefilelogic.h"

#include <QApplication>
#include <QComboBox>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

using namespace Dravix;

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// One device description of eight slots, as a technician's files hold them.
std::string descriptionBlock(int variant)
{
    const char *names[8] = {
        "Temperatura zadana:", "Histereza:",         "Korekta czujnika:", "Czas narastania:",
        "Próg alarmu górny:",  "Próg alarmu dolny:", "Adres w sieci:",    "Rezerwa:"};
    std::string text =
        "; Opis urządzenia: regulator temperatury pieca, wariant " + std::to_string(variant) + "\n";
    text += "tytul=MODEL URZĄDZENIA: Regulator temperatury RT-8\nID=05\n";
    text += "dodajport=" + std::to_string(variant % 16 + 1) + "\n";
    text += "dodajparam=19200,n,8,1\n";
    for (int slot = 1; slot <= 8; ++slot) {
        const std::string s = std::to_string(slot);
        text += "nazwa" + s + "=" + names[slot - 1] + "\n";
        text += "opisgora" + s + "=w dziesiątych °C, przesunięcie\n";
        text += "opisdol" + s + "=zakres -" + s + "00 ... " + s + "50\n";
        text += "zakresmin" + s + "=-" + s + "00\n";
        text += "zakresmax" + s + "=" + s + "50\n";
        text += "aktywny" + s + (slot < 7 ? "=1\n" : "=0\n");
    }
    return text;
}

// A description of at least the given size in bytes, Windows-1250 with CR LF.
std::string generatedDescription(std::size_t bytes)
{
    std::string text;
    text.reserve(bytes + 4096);
    for (int variant = 0; text.size() < bytes; ++variant)
        text += descriptionBlock(variant);
    std::string crlf;
    crlf.reserve(text.size() + text.size() / 20);
    for (const char c : text) {
        if (c == '\n')
            crlf += '\r';
        crlf += c;
    }
    return utf8ToCp1250(crlf);
}

// An eight-slot description offering the given number of ports, numbered from first.
std::string manyPortsDescription(int ports, int first)
{
    std::string text = descriptionBlock(first - 1);
    // The block offers one port already.
    for (int i = 1; i < ports; ++i)
        text += "dodajport=" + std::to_string(first + i) + "\n";
    text += "dodajparam=9600,n,8,1\ndodajparam=38400,e,8,1\n";
    return utf8ToCp1250(text);
}

void writeFile(const QTemporaryDir &folder, const char *name, const std::string &bytes)
{
    std::ofstream(folder.filePath(QString::fromLatin1(name)).toStdString(), std::ios::binary)
        << bytes;
}

int indexOf(const ListState &list, const std::string &name)
{
    for (std::size_t i = 0; i < list.entries.size(); ++i) {
        if (list.entries[i] == name)
            return int(i);
    }
    return -1;
}

// A description of whole blocks, as near 256 KiB as they come without passing it.
std::string previewDescription()
{
    std::string text;
    for (int variant = 0;; ++variant) {
        const std::string block = utf8ToCp1250(descriptionBlock(variant));
        if (text.size() + block.size() > FileNotes::kPrefixBytes)
            return text;
        text += block;
    }
}

std::string randomBytes(std::size_t size)
{
    std::string bytes(size, '\0');
    unsigned state = 1;
    for (char &byte : bytes)
        byte = char((state = state * 1103515245u + 12345u) >> 24);
    return bytes;
}

} // namespace

// Reading descriptions: a large generated description read and applied through the program's
// own path, and a description of 10,000 ports read and shown in the main window.
int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = QApplication::arguments().value(1, QStringLiteral("5")).toInt();

    QTemporaryDir folder;
    const std::string small = generatedDescription(10'000'000);
    const std::string large = generatedDescription(50'000'000);
    writeFile(folder, "opis-10.set", small);
    writeFile(folder, "opis-50.set", large);
    writeFile(folder, "porty-a.set", manyPortsDescription(10'000, 1));
    writeFile(folder, "porty-b.set", manyPortsDescription(10'000, 2));
    const std::string preview = previewDescription();
    writeFile(folder, "podglad.set", preview);
    writeFile(folder, "binarny.vq", randomBytes(FileNotes::kPrefixBytes));

    Program program(folder.path().toStdString());
    program.start();
    MainWindowLogic &logic = program.logic();
    MainWindow &window = program.window();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the main window was not shown\n");
        return 1;
    }

    const auto readOnce = [&logic](const char *name) {
        logic.emptyListsAndTestPort();
        const auto start = Clock::now();
        logic.readKeyValueFile(name);
        return msSince(start);
    };
    readOnce("opis-10.set");
    readOnce("opis-50.set");
    std::vector<double> small10, large50, throughput, ratios;
    for (int i = 0; i < runs; ++i) {
        const double t10 = readOnce("opis-10.set");
        const double t50 = readOnce("opis-50.set");
        small10.push_back(t10);
        large50.push_back(t50);
        throughput.push_back(double(large.size()) / 1e6 / (t50 / 1000.0));
        ratios.push_back(t50 / t10);
    }
    const std::size_t ports = logic.ports().entries.size();
    logic.emptyListsAndTestPort();

    const auto n = std::size_t(runs);
    std::printf("Reading descriptions (MB = 10^6 bytes; read, converted and applied through "
                "ReadKeyValueFile and the key dispatcher into the main window's logic)\n");
    std::printf("  files: %.2f MB and %.2f MB; the larger one offers %zu ports\n",
                double(small.size()) / 1e6, double(large.size()) / 1e6, ports);
    Figures::of(small10).print("10 MB description read and applied", "ms", n);
    Figures::of(large50).print("50 MB description read and applied", "ms", n);
    Figures::of(throughput).print("50 MB throughput", "MB/s", n);
    std::printf("  THROUGHPUT (50 MB, median)        %.1f MB/s   target >= 100 MB/s\n",
                double(large.size()) / 1e6 / (Figures::of(large50).median / 1000.0));
    Figures::of(ratios).print("time ratio 50 MB / 10 MB (pairwise)", "", n);
    const double sizeRatio = double(large.size()) / double(small.size());
    const double timeRatio = Figures::of(large50).median / Figures::of(small10).median;
    std::printf("  LINEARITY (median / median)       %.3f for a size ratio of %.3f: off by %.1f%%"
                "   target within 10%%\n",
                timeRatio, sizeRatio, 100.0 * (timeRatio / sizeRatio - 1.0));

    // 10,000 ports: chosen in the description chooser, read, mirrored into the widgets and
    // painted. The two files alternate so that the port list changes every time.
    std::vector<double> shown, readPart, syncPart;
    const int portRuns = 2 * runs;
    for (int i = -1; i < portRuns; ++i) {
        const std::string name = i % 2 ? "porty-a.set" : "porty-b.set";
        logic.chooser().open();
        logic.chooser().select(indexOf(logic.chooser().files(), name));
        const auto start = Clock::now();
        logic.chooser().clickRead();
        const double read = msSince(start);
        window.sync();
        window.repaint();
        const double total = msSince(start);
        if (i < 0)
            continue;
        shown.push_back(total);
        readPart.push_back(read);
        syncPart.push_back(total - read);
    }
    const auto m = std::size_t(portRuns);
    std::printf("Description with 10,000 ports read and shown in the main window "
                "(chooser, sync, repaint); the port list widget holds %d entries\n",
                window.findChild<QComboBox *>(QStringLiteral("NumerPortu"))->count());
    Figures::of(readPart).print("read and applied", "ms", m);
    Figures::of(syncPart).print("widgets synced and window repainted", "ms", m);
    Figures::of(shown).print("read and shown", "ms", m);
    std::printf("  10,000 PORTS READ AND SHOWN (median) %.2f ms   target < 200 ms\n",
                Figures::of(shown).median);

    // The notes of the dialogs' entries: a file read afresh (a new cache each time), and one
    // that did not change since.
    const DiskWorkDir dir(folder.path().toStdString());
    OnScreen screen;
    screen.descriptionFile = "opis-10.set";
    screen.entries.fill("0");
    std::vector<double> descriptionNote, binaryNote, cachedDescription, cachedValues;
    std::size_t noteLines = 0;
    logic.clickValueFiles();
    const int binaryRow = indexOf(logic.valueFiles().files(), "binarny.vq");
    logic.clickChooser();
    const int previewRow = indexOf(logic.chooser().files(), "podglad.set");
    logic.chooser().entryNote(previewRow);
    for (int i = 0; i < 4 * runs; ++i) {
        FileNotes fresh(dir);
        auto start = Clock::now();
        const std::string note = fresh.descriptionNote("podglad.set", screen);
        descriptionNote.push_back(msSince(start));
        noteLines = std::size_t(std::count(note.begin(), note.end(), '\n')) + 1;
        start = Clock::now();
        fresh.valueFileNote("binarny.vq", screen);
        binaryNote.push_back(msSince(start));
        start = Clock::now();
        logic.chooser().entryNote(previewRow);
        cachedDescription.push_back(msSince(start));
    }
    logic.clickValueFiles();
    logic.valueFiles().entryNote(binaryRow);
    for (int i = 0; i < 4 * runs; ++i) {
        const auto start = Clock::now();
        logic.valueFiles().entryNote(binaryRow);
        cachedValues.push_back(msSince(start));
    }
    const auto r = std::size_t(4 * runs);
    std::printf("Notes of the dialogs' entries (a tooltip or an accessible description each; the "
                "description %.1f KiB, its note %zu lines; the binary value file %.1f KiB)\n",
                double(preview.size()) / 1024, noteLines, double(FileNotes::kPrefixBytes) / 1024);
    Figures::of(descriptionNote).print("description note, read afresh", "ms", r);
    Figures::of(binaryNote).print("binary value file note, read afresh", "ms", r);
    Figures::of(cachedDescription).print("description note, unchanged file", "ms", r);
    Figures::of(cachedValues).print("binary value file note, unchanged file", "ms", r);
    std::printf("  NOTE OF A 256 KIB FILE (median, worst of the two) %.2f ms   target < 10 ms\n",
                std::max(Figures::of(descriptionNote).median, Figures::of(binaryNote).median));

    // A technician's folder: every note lists the folder to find its file and the description.
    for (int i = 0; i < 2000; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "klient-%04d.vq", i);
        writeFile(folder, name,
                  "konfig=opis-10.set\r\nparametr1=" + std::to_string(i) +
                      "\r\nparametr2=15\r\nwybor1=0\r\nwybor2=0\r\nzestaw= 1\r\n");
    }
    logic.valueFiles().close();
    logic.clickValueFiles();
    const int customerRow = indexOf(logic.valueFiles().files(), "klient-1000.vq");
    std::vector<double> crowdedFresh, crowdedCached;
    logic.valueFiles().entryNote(customerRow);
    for (int i = 0; i < 4 * runs; ++i) {
        FileNotes fresh(dir);
        auto start = Clock::now();
        fresh.valueFileNote("klient-1000.vq", screen);
        crowdedFresh.push_back(msSince(start));
        start = Clock::now();
        logic.valueFiles().entryNote(customerRow);
        crowdedCached.push_back(msSince(start));
    }
    std::printf("The same in a folder of %zu value files (the note of a small one naming the 10 MB "
                "description, of which 256 KiB are read)\n",
                logic.valueFiles().files().entries.size());
    Figures::of(crowdedFresh).print("value file note, read afresh", "ms", r);
    Figures::of(crowdedCached).print("value file note, unchanged file", "ms", r);
    return 0;
}
