// Writes a generated set of inputs for the fuzz targets' replay programs into
// <folder>/<target>/: every rule of the key dispatcher with numbers of every form, every reply
// outcome of both exchanges, every byte for Windows-1250, and value-file names in Polish.
// Usage: makeinputs <folder>

#include "cp1250.h"
#include "frames.h"
#include "simdevice.h"
#include "simoptions.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace Dravix;

namespace {

class InputFolder
{
public:
    // first: the first byte of every input that runs all steps.
    InputFolder(const fs::path &root, const char *target, char first = '\x07')
        : m_folder(root / target)
        , m_first(first)
    {
        fs::create_directories(m_folder);
    }
    void add(const std::string &bytes)
    {
        char name[16];
        std::snprintf(name, sizeof name, "gen-%05d", m_count++);
        std::ofstream(m_folder / name, std::ios::binary) << bytes;
    }
    // For a target whose first byte chooses: every step of the window, or pieces of 8 bytes.
    void addAllSteps(const std::string &bytes) { add(m_first + bytes); }
    int count() const { return m_count; }

private:
    fs::path m_folder;
    char m_first;
    int m_count = 0;
};

const std::vector<std::string> kNumbers = {
    "",     "0",     "1",     "2",      "3",      "-1",      "1.5",
    "2.5",  "-2.5",  "0.49",  " 7",     "7 ",     "+4",      "1e3",
    "0x10", "32767", "32768", "-32768", "-32769", "1000000", "99999999999999999999",
    ".5",   "5.",    "-",     "abc",    "12ab",   "1,5",     "FF",
    "0A",   "a0",    "G1",    "1F2"};

const std::vector<std::string> kTexts = {
    "",         "Ciśnienie", "Temperatura zadana:", "ZAŻÓŁĆ GĘŚLĄ JAŹŃ",  "<i>x</i>", "&amp; &",
    "ümlaut ß", "日本",      "tab\there",           std::string(300, 'x')};

void keyValueFiles(InputFolder &out)
{
    const std::vector<std::string> wholeKeys = {"zestaw", "wybor1", "wybor2",    "konfig",
                                                "tytul",  "ID",     "dodajport", "dodajparam"};
    const std::vector<std::string> slotKeys = {"nazwa",     "opisgora", "opisdol", "zakresmin",
                                               "zakresmax", "parametr", "aktywny"};
    const std::string head = "dodajport=1\r\ndodajport=2\r\ndodajparam=9600,n,8,1\r\n"
                             "konfig=opis.set\r\nwybor1=1\r\nwybor2=0\r\n";
    std::vector<std::string> values = kNumbers;
    values.insert(values.end(), kTexts.begin(), kTexts.end());
    for (const std::string &key : wholeKeys) {
        for (const std::string &value : values)
            out.addAllSteps(utf8ToCp1250(head + key + "=" + value + "\r\n"));
    }
    for (const std::string &key : slotKeys) {
        for (const std::string slot : {"0", "1", "4", "5", "8", "9", "10", "01", ""}) {
            for (const std::string &value : values) {
                out.addAllSteps(utf8ToCp1250(head + "zakresmax" + slot + "=100\r\n" + key + slot +
                                             "=" + value + "\r\naktywny" + slot + "=1\r\n"));
            }
        }
    }
    // Line ends and spacing of every kind.
    for (const std::string end : {"\r\n", "\n", "\r", "\n\r", ""})
        out.addAllSteps("tytul=Model" + end + " ID = 1F" + end + "zestaw=2" + end);
}

void replies(InputFolder &out)
{
    const std::vector<std::string> faults[] = {{},
                                               {"--wrong-id"},
                                               {"--bad-crc"},
                                               {"--stray"},
                                               {"--refuse-write"},
                                               {"--preamble00"},
                                               {"--noise", "24"},
                                               {"--noise", "8"},
                                               {"--silent"}};
    const EntryTexts texts = {"0", "-1", "32767", "-32768", "12", "1.5", "7", "100"};
    for (const std::uint8_t code : {0x00, 0x05, 0xFF}) {
        const Bytes requests[] = {BuildReadRequest(code), *BuildWriteRequest(code, texts)};
        std::vector<std::vector<std::string>> all(std::begin(faults), std::end(faults));
        for (int cut = 0; cut < int(kLongFrameSize); ++cut)
            all.push_back({"--cut", std::to_string(cut)});
        for (const auto &arguments : all) {
            char id[3];
            std::snprintf(id, sizeof id, "%02X", unsigned(code));
            std::vector<std::string> line = {"--id", id};
            line.insert(line.end(), arguments.begin(), arguments.end());
            SimOptions options;
            if (const std::string wrong = options.parse(line); !wrong.empty()) {
                std::fprintf(stderr, "makeinputs: %s\n", wrong.c_str());
                std::exit(1);
            }
            for (const Bytes &request : requests) {
                SimDevice device(options);
                std::string input(1, char(code));
                for (const SimDevice::Send &send : device.answer(request))
                    input.append(send.bytes.begin(), send.bytes.end());
                out.add(input);
            }
        }
    }
}

void numbers(InputFolder &out)
{
    for (const std::string &text : kNumbers)
        out.add(text);
    for (const std::string &text : kTexts)
        out.add(text);
}

void codePage(InputFolder &out)
{
    for (int byte = 0; byte < 256; ++byte) {
        out.add(std::string(1, char(byte)));
        out.add(cp1250ToUtf8(std::string(1, char(byte))));
    }
    std::string all;
    for (int byte = 0; byte < 256; ++byte)
        all += char(byte);
    out.add(all);
    out.add(cp1250ToUtf8(all));
}

void valueFileNames(InputFolder &out)
{
    const std::vector<std::string> names = {"pomiar",
                                            "Łódź",
                                            "łódź.vq",
                                            "zażółć gęślą jaźń",
                                            "ŻÓŁW",
                                            ".ukryty",
                                            "a.vq.vq",
                                            "nazwa z.spacją ",
                                            "COM1",
                                            "con",
                                            "dwa:punkty",
                                            "pyt?nik",
                                            "gwiazd*ka",
                                            "cudzy\"słów",
                                            "a<b>c",
                                            "koniec.",
                                            "ß",
                                            "日本語",
                                            "sesja.dat",
                                            "x.set",
                                            std::string(200, 'n'),
                                            "\xC5",
                                            "\xFF\xFE",
                                            "ą/b",
                                            "ą\\b"};
    const std::vector<std::string> entries = {"", "12", "Ciśnienie", "-32768", "ąę 1.5"};
    for (std::size_t i = 0; i < names.size(); ++i)
        out.add(names[i] + "\n" + entries[i % entries.size()]);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: makeinputs <folder>\n");
        return 2;
    }
    const fs::path root = argv[1];
    fs::remove_all(root);
    // The same files for the reader (whose first byte sets the size of the read's pieces) and for
    // the window (whose first byte chooses its steps).
    InputFolder keyValues(root, "fuzz_keyvaluefile");
    keyValueFiles(keyValues);
    InputFolder windowFiles(root, "fuzz_windowfiles", '\x0F');
    keyValueFiles(windowFiles);
    InputFolder replyInputs(root, "fuzz_replies");
    replies(replyInputs);
    InputFolder numberInputs(root, "fuzz_numbers");
    numbers(numberInputs);
    InputFolder codePageInputs(root, "fuzz_cp1250");
    codePage(codePageInputs);
    InputFolder valueFiles(root, "fuzz_valuefiles");
    valueFileNames(valueFiles);
    std::printf("makeinputs: %d key/value files, %d replies, %d code page texts, %d value "
                "file names\n",
                keyValues.count(), replyInputs.count(), codePageInputs.count(), valueFiles.count());
    return 0;
}
