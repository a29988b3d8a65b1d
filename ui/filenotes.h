#pragma once

#include "modelstate.h"
#include "workdir.h"

#include <array>
#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace Dravix {

class ScratchModel;

// What the main window shows now, as far as a file's note compares with it.
struct OnScreen
{
    std::string descriptionFile;
    std::array<std::string, kSlotCount> names; // the captions
    std::array<std::string, kSlotCount> entries;
    std::array<bool, kSlotCount> inUse{};
};

// The notes that tell, in Polish, what a description or a value file holds before it is loaded,
// and what a save would replace. Each file is read at most in its first 256 KiB, into a model
// apart from the window's, and read again only when its size or time of last change differs.
class FileNotes
{
public:
    static constexpr std::size_t kPrefixBytes = 256 * 1024;

    explicit FileNotes(const WorkDir &dir);
    ~FileNotes();

    // What the description alone sets: heading, code, ports, line settings, the slots in use.
    std::string descriptionNote(const std::string &name, const OnScreen &screen);
    // The description it names, and its values by slot name, each that differs from the screen
    // marked, under a line that sums them up.
    std::string valueFileNote(const std::string &name, const OnScreen &screen);
    // What "ZAPISZ" does with the name box's text: replace a file (and when it last changed),
    // or write a new one; empty for an empty box.
    std::string saveNote(const std::string &nameBoxText) const;

    // The program itself wrote the file: read it again even where the file system keeps its
    // time coarsely (FAT: two seconds) and its size stayed.
    void forget(const std::string &name);

    // How many times a file was read: a file unchanged since is not read again.
    int filesRead() const { return m_filesRead; }

private:
    struct Entry;
    using Cache = std::map<std::string, std::unique_ptr<Entry>, std::less<>>;
    // The file read into a scratch model, and for a value file then the description it names;
    // null when the file is not present.
    const Entry *entryFor(Cache &cache, const std::string &name, bool withDescription);

    const WorkDir &m_dir;
    Cache m_descriptions;
    Cache m_valueFiles;
    int m_filesRead = 0;
};

} // namespace Dravix
