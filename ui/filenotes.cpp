#include "filenotes.h"

#include "accessibletexts.h"
#include "captions.h"
#include "cp1250.h"
#include "scratchmodel.h"
#include "staterecord.h"

#include <cstdio>
#include <ctime>
#include <vector>

namespace Dravix {

namespace {

// A tooltip stays within a laptop's screen.
constexpr std::size_t kMaxLines = 16;
constexpr std::size_t kMaxLineChars = 160;
// A list from a file is cut well before its line is.
constexpr std::size_t kListChars = 120;

// A text from a file on one line: control characters out, a TAB a blank.
std::string clean(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\t') {
            out += ' ';
        } else if (c == 0xC2 && i + 1 < text.size() &&
                   static_cast<unsigned char>(text[i + 1]) < 0xA0) {
            ++i; // U+0080..U+009F
        } else if (c >= 0x20 && c != 0x7F) {
            out += char(c);
        }
    }
    return out;
}

std::string cutLine(std::string line)
{
    if (utf8Length(line) <= kMaxLineChars)
        return line;
    std::size_t at = 0;
    for (std::size_t chars = 0; at < line.size(); ++at) {
        if (!isUtf8Continuation(line[at]) && chars++ == kMaxLineChars - 1)
            break;
    }
    line.resize(at);
    return line + "…";
}

std::string joined(const std::vector<std::string> &lines)
{
    std::string text;
    const std::size_t shown = lines.size() > kMaxLines ? kMaxLines - 1 : lines.size();
    for (std::size_t i = 0; i < shown; ++i) {
        if (i)
            text += '\n';
        text += cutLine(lines[i]);
    }
    if (shown < lines.size())
        text += std::string("\n… i jeszcze ") + std::to_string(lines.size() - shown) + " wierszy";
    return text;
}

std::string listLine(const std::string &label, const std::vector<std::string> &items,
                     const std::string &none)
{
    if (items.empty())
        return label + none;
    std::string line;
    std::size_t shown = 0;
    for (; shown < items.size() && utf8Length(line) < kListChars; ++shown) {
        if (shown)
            line += "; ";
        line += clean(items[shown]);
    }
    if (shown < items.size())
        line += std::string("; … (razem ") + std::to_string(items.size()) + ")";
    return label + line;
}

std::string sizeText(std::uint64_t bytes)
{
    constexpr double kKiB = 1024.0;
    char text[32];
    if (bytes < 1024 * 1024) {
        std::snprintf(text, sizeof text, "%llu KiB", (unsigned long long)((bytes + 1023) / 1024));
        return text;
    }
    const bool gib = bytes >= 1024ull * 1024 * 1024;
    std::snprintf(text, sizeof text, "%.1f %s",
                  double(bytes) / (gib ? kKiB * kKiB * kKiB : kKiB * kKiB), gib ? "GiB" : "MiB");
    std::string out = text;
    for (char &c : out)
        c = c == '.' ? ',' : c;
    return out;
}

std::string cutSentence(const char *what, std::uint64_t size)
{
    return std::string("Z pliku") + what + " przeczytano tylko pierwsze " +
           std::to_string(FileNotes::kPrefixBytes / 1024) + " KiB z " + sizeText(size) + ".";
}

std::string localTime(std::chrono::system_clock::time_point when)
{
    const std::time_t time = std::chrono::system_clock::to_time_t(when);
    char text[32] = "";
    if (const std::tm *local = std::localtime(&time))
        std::strftime(text, sizeof text, "%d.%m.%Y %H:%M:%S", local);
    return text;
}

std::string slotName(const std::string &caption)
{
    return AccessibleTexts::nameOf(clean(caption));
}

} // namespace

struct FileNotes::Entry
{
    FileStamp stamp;
    bool cut = false;
    bool readable = true;
    ScratchModel model;
    // A value file's: how many values it set itself, and the description it names.
    std::size_t values = 0;
    std::string description;
    std::optional<FileStamp> descriptionStamp;
    bool descriptionCut = false;
};

FileNotes::FileNotes(const WorkDir &dir)
    : m_dir(dir)
{
}

FileNotes::~FileNotes() = default;

const FileNotes::Entry *FileNotes::entryFor(Cache &cache, const std::string &name,
                                            bool withDescription)
{
    const std::optional<FileStamp> stamp = m_dir.stamp(name);
    const auto found = cache.find(name);
    if (!stamp) {
        if (found != cache.end())
            cache.erase(found);
        return nullptr;
    }
    if (found != cache.end() && found->second->stamp == *stamp &&
        (!withDescription ||
         m_dir.stamp(found->second->description) == found->second->descriptionStamp))
        return found->second.get();

    // Read as a load reads: the value file, then the description it names.
    auto entry = std::make_unique<Entry>();
    entry->stamp = *stamp;
    const ScratchModel::Read read = entry->model.read(m_dir, name, kPrefixBytes);
    entry->readable = read.present;
    entry->cut = read.cut;
    ++m_filesRead;
    if (withDescription) {
        for (const auto &value : entry->model.entries)
            entry->values += value ? 1 : 0;
        entry->description = entry->model.state().DescriptionFile;
        entry->descriptionStamp = m_dir.stamp(entry->description);
        if (entry->descriptionStamp) {
            entry->descriptionCut = entry->model.read(m_dir, entry->description, kPrefixBytes).cut;
            ++m_filesRead;
        }
    }
    const Entry *kept = entry.get();
    cache[name] = std::move(entry);
    return kept;
}

void FileNotes::forget(const std::string &name)
{
    m_descriptions.erase(name);
    m_valueFiles.erase(name);
}

std::string FileNotes::descriptionNote(const std::string &name, const OnScreen &screen)
{
    const Entry *entry = entryFor(m_descriptions, name, false);
    const std::string head = clean(name) + (name == screen.descriptionFile ? " (w użyciu)" : "");
    if (!entry)
        return head + ": nie ma go już w folderze.";
    if (!entry->readable)
        return head + ": nie da się go odczytać.";
    const ScratchModel &model = entry->model;
    std::vector<std::string> lines;
    if (model.descriptionKeys == 0) {
        lines.push_back(head + ": nie ma żadnego klucza opisu urządzenia (tytul, ID, nazwa…).");
    } else {
        lines.push_back(head);
        lines.push_back(model.heading ? clean(*model.heading)
                                      : "Nagłówek (tytul): brak, zostanie obecny");
        char code[4];
        std::snprintf(code, sizeof code, "%02X", model.state().DeviceCode);
        lines.push_back(std::string("Kod urządzenia (ID): ") +
                        (model.deviceCodeSet ? code : "brak, zostanie obecny"));
        lines.push_back(listLine("Porty: ", model.ports, "brak (dodajport)"));
        lines.push_back(
            listLine("Parametry transmisji: ", model.lineSettings, "brak (dodajparam)"));
        bool anyInUse = false;
        for (int k = 0; k < kSlotCount; ++k) {
            if (model.state().ParamActive[k] != 1)
                continue;
            anyInUse = true;
            lines.push_back(std::to_string(k + 1) + ". " +
                            slotName(model.names[k].value_or(Captions::kParameterName)) + " (" +
                            std::to_string(model.state().RangeMin[k]) + "…" +
                            std::to_string(model.state().RangeMax[k]) +
                            "): " + clean(model.upper[k].value_or(Captions::kUpperDescription)) +
                            "; " + clean(model.lower[k].value_or(Captions::kLowerDescription)));
        }
        if (!anyInUse)
            lines.push_back("Żaden parametr nie jest w użyciu (aktywny1…aktywny8).");
    }
    if (entry->cut)
        lines.push_back(cutSentence("", entry->stamp.size));
    return joined(lines);
}

std::string FileNotes::valueFileNote(const std::string &name, const OnScreen &screen)
{
    const Entry *entry = entryFor(m_valueFiles, name, true);
    if (!entry)
        return clean(name) + ": nie ma go już w folderze.";
    if (!entry->readable)
        return clean(name) + ": nie da się go odczytać.";
    const ScratchModel &model = entry->model;
    const bool present = entry->descriptionStamp.has_value();
    std::vector<std::string> lines;
    if (entry->values == 0) {
        lines.push_back(clean(name) + ": nie ma żadnej wartości (parametr1…parametr8).");
    } else {
        lines.emplace_back(); // the summary, once the values are counted
        if (entry->description.empty())
            lines.push_back("Opis urządzenia: brak (konfig)");
        else
            lines.push_back(
                std::string("Opis urządzenia: ") + clean(entry->description) +
                (entry->description == screen.descriptionFile ? " (w użyciu)"
                 : screen.descriptionFile.empty()
                     ? ""
                     : std::string(", inny niż w użyciu (") + clean(screen.descriptionFile) + ")"));
        if (!present)
            lines.push_back("Nie ma go w folderze: nazwy i zakresy zostaną jak na ekranie.");
        int shown = 0;
        int differing = 0;
        for (int k = 0; k < kSlotCount; ++k) {
            if (present ? model.state().ParamActive[k] != 1 : !screen.inUse[k])
                continue;
            ++shown;
            const std::string caption =
                present ? model.names[k].value_or(screen.names[k]) : screen.names[k];
            const std::string &onScreen = screen.entries[k];
            std::string line = std::to_string(k + 1) + ". " + slotName(caption) + ": ";
            if (!model.entries[k]) {
                line += clean(onScreen) + " (nie ma jej w pliku, zostaje)";
            } else if (*model.entries[k] == onScreen) {
                line += clean(onScreen);
            } else {
                ++differing;
                line += clean(*model.entries[k]) + " (na ekranie " + clean(onScreen) + ")";
            }
            lines.push_back(line);
        }
        lines.front() = shown == 0 ? "Żaden parametr nie jest w użyciu"
                        : differing == 0
                            ? "Wartości takie jak na ekranie"
                            : std::to_string(differing) + " z " + std::to_string(shown) +
                                  (differing == 1 ? " wartości inna" : " wartości inne") +
                                  " niż na ekranie";
    }
    if (entry->cut)
        lines.push_back(cutSentence("", entry->stamp.size));
    if (entry->descriptionCut)
        lines.push_back(cutSentence(" opisu", entry->descriptionStamp->size));
    return joined(lines);
}

std::string FileNotes::saveNote(const std::string &nameBoxText) const
{
    if (nameBoxText.empty())
        return {};
    const std::string name = valueFileName(nameBoxText);
    if (!WorkDir::isBareName(nameBoxText) || !WorkDir::isBareName(name))
        return cutLine(std::string("Nie zapisze: „") + clean(name) +
                       "” nie jest nazwą pliku w folderze roboczym.");
    if (const std::optional<FileStamp> stamp = m_dir.stamp(name))
        return cutLine(std::string("Zastąpi plik ") + clean(name) + " (ostatnia zmiana " +
                       localTime(stamp->modified) + ").");
    return cutLine(std::string("Zapisze nowy plik ") + clean(name) + ".");
}

} // namespace Dravix
