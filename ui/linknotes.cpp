#include "linknotes.h"

#include "cp1250.h"
#include "exchange.h"
#include "framecheck.h"
#include "frames.h"
#include "portadvice.h"
#include "portcause.h"
#include "portsystem.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace Dravix {

namespace {

// Long byte strings keep their head and tail; a line of bytes stays within a tooltip's line.
constexpr std::size_t kShownBytes = 24;
constexpr std::size_t kHeadBytes = 16;
constexpr std::size_t kTailBytes = 6;
// The verdict's sentences are broken into lines of at most this many characters.
constexpr std::size_t kLineWidth = 76;

std::string quoted(const std::string &text)
{
    return "„" + text + "”";
}

std::string settingsText(const std::string &settings)
{
    return settings.empty() ? "9600,n,8,1 (domyślne)" : settings;
}

// "1 bajt", "3 bajty", "12 bajtów", "24 bajty".
std::string byteCount(std::size_t count)
{
    const std::size_t ones = count % 10;
    const std::size_t tens = count % 100;
    const char *word = count == 1                                           ? " bajt"
                       : ones >= 2 && ones <= 4 && (tens < 12 || tens > 14) ? " bajty"
                                                                            : " bajtów";
    return std::to_string(count) + word;
}

std::string hex(const Bytes &bytes)
{
    std::string text;
    const auto add = [&text](std::uint8_t byte) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%02X", byte);
        if (!text.empty())
            text += ' ';
        text += pair;
    };
    if (bytes.size() <= kShownBytes) {
        for (const std::uint8_t byte : bytes)
            add(byte);
        return text;
    }
    for (std::size_t i = 0; i < kHeadBytes; ++i)
        add(bytes[i]);
    text += " …";
    for (std::size_t i = bytes.size() - kTailBytes; i < bytes.size(); ++i)
        add(bytes[i]);
    return text;
}

std::string byteHex(std::uint8_t byte)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", byte);
    return text;
}

std::string codeHex(std::uint8_t byte)
{
    char text[4];
    std::snprintf(text, sizeof text, "%02X", byte);
    return text;
}

std::string ms(std::chrono::milliseconds time)
{
    return std::to_string(time.count()) + " ms";
}

// "24 bajty, po 12 ms: FF FF ..." or, in several pieces, the first and last byte's times.
std::string received(const Arrivals &arrivals)
{
    const Bytes bytes = joined(arrivals);
    std::string when = arrivals.front().after == arrivals.back().after
                           ? "po " + ms(arrivals.front().after)
                           : "pierwsze po " + ms(arrivals.front().after) + ", ostatnie po " +
                                 ms(arrivals.back().after);
    return byteCount(bytes.size()) + ", " + when + ":\n" + hex(bytes);
}

// Each line broken at its spaces into lines of at most kLineWidth characters.
std::string wrapped(const std::string &text)
{
    std::string out;
    std::size_t column = 0;
    std::size_t lastSpace = std::string::npos; // in out
    std::size_t columnAtSpace = 0;
    for (const char c : text) {
        if (c == '\n') {
            column = 0;
            lastSpace = std::string::npos;
        } else if (!isUtf8Continuation(c)) {
            if (c == ' ') {
                lastSpace = out.size();
                columnAtSpace = column;
            }
            ++column;
        }
        out += c;
        if (column > kLineWidth && lastSpace != std::string::npos) {
            out[lastSpace] = '\n';
            column -= columnAtSpace + 1;
            lastSpace = std::string::npos;
        }
    }
    return out;
}

std::string controlLinesText(PortAttempt::ControlLines lines)
{
    switch (lines) {
    case PortAttempt::ControlLines::Raised:
        return ", DTR i RTS włączone";
    case PortAttempt::ControlLines::Refused:
        return ", DTR i RTS: port ich nie ustawia";
    case PortAttempt::ControlLines::Untouched:
        break;
    }
    return {};
}

std::string clock(std::chrono::system_clock::time_point when)
{
    const std::time_t time = std::chrono::system_clock::to_time_t(when);
    char text[16] = "";
    if (const std::tm *local = std::localtime(&time))
        std::strftime(text, sizeof text, "%H:%M:%S", local);
    return text;
}

std::string values(const Bytes &frame)
{
    std::string text;
    for (std::size_t i = 0; i < std::size_t(kSlotCount) && 7 + 2 * i < frame.size(); ++i)
        text += (i ? ", " : "") + std::to_string(DecodeValue(frame[6 + 2 * i], frame[7 + 2 * i]));
    return text;
}

bool startsWith(const Bytes &bytes, const Bytes &head)
{
    return !head.empty() && bytes.size() >= head.size() &&
           std::equal(head.begin(), head.end(), bytes.begin());
}

// The bytes that every frame begins with, where they are present: FF FF 01 .. 00.
bool frameBeginning(const Bytes &bytes)
{
    constexpr std::uint8_t expected[] = {0xFF, 0xFF, 0x01, 0x00, 0x00};
    for (std::size_t i = 0; i < bytes.size() && i < 5; ++i) {
        if (i != 3 && bytes[i] != expected[i])
            return false;
    }
    return !bytes.empty();
}

bool validFrame(const Bytes &bytes, std::size_t size)
{
    return bytes.size() == size && FrameCheckOk(std::span(bytes).subspan(2));
}

} // namespace

LinkNotes::LinkNotes(const PortSystem &system)
    : LinkNotes(system, PortAdvice::forThisSystem())
{
}

LinkNotes::LinkNotes(const PortSystem &system, const PortAdvice &advice)
    : m_system(system)
    , m_advice(advice)
{
}

PortFacts LinkNotes::facts(const PortLocation &location) const
{
    PortFacts facts;
    facts.location = location;
    if (location.portNumber < 1)
        return facts;
    facts.linkTarget = m_system.linkTarget(location.path);
    facts.device = m_system.resolved(location.path);
    facts.present = m_system.present(location.path);
    facts.portless = m_system.portlessAdapters();
    return facts;
}

std::string LinkNotes::tried(const PortLocation &location) const
{
    std::string text = "Port " + std::to_string(location.portNumber) + ": ";
    if (location.folderEntry.empty())
        return text + location.path;
    text += location.folderEntry;
    const std::string target = m_system.linkTarget(location.path);
    if (target.empty())
        return text + " (plik w folderze roboczym)";
    text += " → " + target;
    const std::string device = m_system.resolved(location.path);
    if (!device.empty() && device != target)
        text += " → " + device;
    return text;
}

std::string LinkNotes::opened(const PortAttempt &attempt) const
{
    const std::string device = m_system.resolved(attempt.path);
    std::string details;
    for (const SerialAdapter &adapter :
         device.empty() ? std::vector<SerialAdapter>{} : m_system.adapters()) {
        if (adapter.path == device) {
            details = PortAdvice::details(adapter);
            break;
        }
    }
    return "Otwarty poprawnie: " + (device.empty() ? attempt.path : device) +
           (details.empty() ? "" : " (" + details + ")") + "." +
           m_advice.openedWarning(attempt, m_system);
}

std::string LinkNotes::portNote(const PortAttempt &attempt) const
{
    const std::string head = tried(attempt) + "\n";
    switch (portCause(attempt, m_system)) {
    case PortCause::Opened:
        return head + opened(attempt);
    case PortCause::NoSuchDevice:
        return head + m_advice.noSuchDevice(attempt, m_system);
    case PortCause::PermissionDenied:
        return head + m_advice.permissionDenied(attempt, m_system);
    case PortCause::Busy:
        return head + m_advice.busy(attempt, m_system);
    case PortCause::SettingsRefused: {
        const std::string settings =
            attempt.settings.empty() ? settingsText({}) : quoted(attempt.settings);
        if (attempt.outcome == PortAttempt::Outcome::SettingsMalformed)
            return head + "Parametry transmisji " + settings +
                   " nie mają postaci prędkość,parzystość,bity danych,bity stopu (np. "
                   "9600,n,8,1).\nPopraw wpis dodajparam w pliku opisu urządzenia.";
        return head + "Port nie przyjmuje parametrów transmisji " + settings +
               ".\nWybierz inne w liście „Parametry transmisji RS232”.";
    }
    case PortCause::Other:
        break;
    }
    return head + "Nie udało się otworzyć portu" +
           (attempt.systemText.empty() ? std::string(".") : ": " + attempt.systemText + ".");
}

std::string LinkNotes::portTarget(const PortLocation &location) const
{
    if (location.portNumber < 1)
        return "Wpis nie zaczyna się od numeru portu: nie otwiera nic.";
    const std::string head = tried(location);
    return m_system.resolved(location.path).empty() ? head + " (nie istnieje)" : head;
}

std::string LinkNotes::portChange(const PortFacts &before, const PortFacts &after) const
{
    if (before == after || after.location.portNumber < 1)
        return {};
    const std::string &entry = after.location.folderEntry.empty() ? before.location.folderEntry
                                                                  : after.location.folderEntry;
    PortFacts same = after;
    same.portless = before.portless;
    std::string what;
    if (before.location.folderEntry.empty() && !after.location.folderEntry.empty())
        what = "w folderze roboczym pojawiło się łącze " + entry +
               (after.linkTarget.empty() ? "" : " → " + after.linkTarget);
    else if (!before.location.folderEntry.empty() && after.location.folderEntry.empty())
        what = "łącze " + entry + " zniknęło z folderu roboczego; port " +
               std::to_string(after.location.portNumber) + " otwiera teraz " + after.location.path;
    else if (before.linkTarget != after.linkTarget && !after.linkTarget.empty())
        what = "łącze " + entry + " wskazuje teraz na " + after.linkTarget +
               (before.linkTarget.empty() ? "" : " (wcześniej na " + before.linkTarget + ")");
    else if (!before.present && after.present)
        what = "pojawiło się urządzenie " +
               (after.device.empty() ? after.location.path : after.device) +
               " (adapter podłączony)";
    else if (before.present && !after.present)
        what = "zniknęło urządzenie " +
               (before.device.empty() ? before.location.path : before.device) +
               " (adapter odłączony)";
    else if (before != same)
        what = "port " + std::to_string(after.location.portNumber) + " otwiera teraz " +
               (after.device.empty() ? after.location.path : after.device);
    // An adapter without a port that came, or whose claim or driver changed.
    for (const PortlessAdapter &adapter : after.portless) {
        if (std::find(before.portless.begin(), before.portless.end(), adapter) !=
            before.portless.end())
            continue;
        const bool known = std::any_of(
            before.portless.begin(), before.portless.end(), [&](const PortlessAdapter &old) {
                return old.vendorId == adapter.vendorId && old.productId == adapter.productId &&
                       old.serialNumber == adapter.serialNumber;
            });
        what += (what.empty() ? "" : "; ") +
                std::string(known ? "adapter " : "podłączono adapter ") +
                PortAdvice::details(adapter) + (known ? " nadal nie ma portu: " : " bez portu: ") +
                m_advice.portlessCause(adapter);
    }
    if (what.empty())
        what = "adapter bez portu został odłączony albo dostał port";
    return "Zmiana: " + what + ".";
}

std::string LinkNotes::portLost(const ExchangeRecord &record) const
{
    if (!record.lost)
        return {};
    return "Zmiana: urządzenie portu " + std::to_string(record.port.portNumber) +
           " zniknęło w trakcie " +
           (record.kind == ExchangeRecord::Kind::Read ? "odczytu" : "zapisu") + " danych.";
}

std::string LinkNotes::exchangeNote(const ExchangeRecord &record) const
{
    using Stage = ExchangeRecord::Stage;
    const bool read = record.kind == ExchangeRecord::Kind::Read;
    std::string text =
        std::string(read ? "Odczyt danych" : "Zapis danych") + ", " + clock(record.when) + "\n";
    switch (record.stage) {
    case Stage::InvalidValues:
        return text + wrapped("Nie wysłano nic: wartość w jednym z pól jest odrzucona (pole na "
                              "czerwono) albo nie mieści się w -32768…32767.");
    case Stage::PortUnavailable:
        if (record.port.portNumber == 0)
            return text + wrapped("Nie wysłano nic: nie wybrano portu w liście „Nr portu "
                                  "szeregowego”.");
        return text + wrapped("Nie wysłano nic: ostatni test portu " +
                              std::to_string(record.port.portNumber) +
                              " się nie powiódł („Port niedostępny!”).\nWybierz port ponownie "
                              "w liście „Nr portu szeregowego”.");
    case Stage::OpenFailed:
        return text + "Nie wysłano nic: port się nie otworzył.\n" + portNote(record.port);
    case Stage::Completed:
        break;
    }
    text += wrapped(tried(record.port) + ", parametry " + settingsText(record.port.settings) +
                    controlLinesText(record.port.controlLines)) +
            "\n";
    text += "Wysłano " + byteCount(record.request.size()) + ":\n" + hex(record.request) + "\n";
    text += "Odebrano w ciągu " + ms(kReplyWait) + ": " +
            (record.reply.empty() ? std::string("nic") : received(record.reply)) + "\n";
    if (!record.late.empty())
        text += "Po czasie oczekiwania (odrzucone): " + received(record.late) + "\n";
    if (record.lost)
        text += wrapped("Port zamknięty po " + ms(record.lost->after) + ": urządzenie zniknęło" +
                        (record.lost->systemText.empty()
                             ? std::string()
                             : " (system: " + quoted(record.lost->systemText) + ")") +
                        ".") +
                "\n";
    return text + wrapped(verdict(record));
}

std::string LinkNotes::readChanges(const Entries &before, const Entries &after,
                                   const Entries &names) const
{
    std::string changes;
    for (std::size_t k = 0; k < std::size_t(kSlotCount); ++k) {
        if (names[k].empty() || after[k] == before[k])
            continue;
        changes += "\n" + names[k] + ": " + before[k] + " → " + after[k];
    }
    if (changes.empty())
        return "Urządzenie ma to, co było na ekranie: odczyt nie zmienił żadnej wartości.";
    return wrapped("Odczyt zmienił:" + changes);
}

std::string LinkNotes::verdict(const ExchangeRecord &record) const
{
    const bool read = record.kind == ExchangeRecord::Kind::Read;
    const std::size_t size = read ? kLongFrameSize : kShortFrameSize;
    const Bytes reply = joined(record.reply);
    const Bytes late = joined(record.late);
    const std::string settings = settingsText(record.port.settings);

    // A judged frame has its device code and command byte.
    const ReplyOutcome outcome = reply.size() == size || record.outcome == ReplyOutcome::NoReply ||
                                         record.outcome == ReplyOutcome::FrameError
                                     ? record.outcome
                                     : ReplyOutcome::FrameError;
    switch (outcome) {
    case ReplyOutcome::Accepted:
        return read ? "Wynik: odczytano osiem wartości: " + values(reply) + "."
                    : "Wynik: urządzenie przyjęło zapisane wartości: " + values(record.request) +
                          ".";
    case ReplyOutcome::WrongDevice:
        return "Wynik: odpowiedziało urządzenie o kodzie " + codeHex(reply[3]) +
               ", a opis urządzenia" +
               (record.descriptionFile.empty() ? "" : " " + record.descriptionFile) +
               " ma ID=" + codeHex(record.deviceCode) +
               ": wybrany opis nie pasuje do tego urządzenia.\nWybierz opis urządzenia o kodzie " +
               codeHex(reply[3]) + " (KONFIGURACJA).";
    case ReplyOutcome::WriteRefused:
        return "Wynik: urządzenie odmówiło zapisu wartości: w odpowiedzi bajt polecenia " +
               byteHex(reply[5]) + " zamiast " + byteHex(kWriteCommand) + ".";
    case ReplyOutcome::NoReply:
    case ReplyOutcome::FrameError:
        break;
    }

    if (record.lost && record.reply.empty())
        return "Wynik: urządzenie zniknęło w trakcie " + std::string(read ? "odczytu" : "zapisu") +
               ", zanim odpowiedziało: adapter odłączony, kabel wyjęty albo urządzenie "
               "wyłączone. Podłącz je ponownie; port zostanie sprawdzony sam.";
    if (startsWith(reply, record.request)) {
        const Bytes after(reply.begin() + std::ptrdiff_t(record.request.size()), reply.end());
        std::string text = "Wynik: wróciło to, co wysłano (echo): konwerter dwuprzewodowy "
                           "(RS-485) z włączonym echem albo zwarte przewody TX i RX.\n";
        if (after.empty())
            return text + "Po echu urządzenie nic nie odpowiedziało.";
        if (validFrame(after, size))
            return text + "Po echu przyszła poprawna odpowiedź urządzenia: wyłącz echo "
                          "konwertera.";
        return text + "Po echu przyszło jeszcze " + byteCount(after.size()) + ", ale nie ramka.";
    }
    if (reply.empty() && late.empty())
        return "Wynik: nic nie wróciło. Sprawdź, czy urządzenie jest włączone i podłączone, czy "
               "to właściwy port, czy przewody TX i RX nie są zamienione i czy urządzenie "
               "pracuje z parametrami " +
               settings + ".";
    if (!late.empty() && (reply.empty() || (reply.size() < size && frameBeginning(reply)))) {
        Bytes whole = reply;
        whole.insert(whole.end(), late.begin(), late.end());
        const std::string delay = ms(record.late.front().after);
        if (reply.empty())
            return "Wynik: odpowiedź przyszła za późno: pierwszy bajt po " + delay +
                   ", a program czeka " + ms(kReplyWait) +
                   ". Urządzenie odpowiada wolniej, niż program czeka" +
                   (validFrame(whole, size) ? " (to była poprawna odpowiedź)." : ".");
        if (validFrame(whole, size))
            return "Wynik: odpowiedź przyszła w części za późno: " + std::to_string(reply.size()) +
                   " z " + std::to_string(size) + " bajtów w ciągu " + ms(kReplyWait) +
                   ", reszta po " + delay + ". Urządzenie odpowiada wolniej, niż program czeka.";
    }
    if (reply.size() < size && frameBeginning(reply))
        return "Wynik: odpowiedź urwana: przyszło " + std::to_string(reply.size()) + " z " +
               std::to_string(size) +
               " bajtów, a ich początek jest początkiem ramki. Sprawdź połączenie: urządzenie "
               "przerwało nadawanie albo linia zanika.";
    if (reply.size() > size &&
        validFrame(Bytes(reply.begin(), reply.begin() + std::ptrdiff_t(size)), size))
        return "Wynik: przyszła poprawna ramka, a po niej " + byteCount(reply.size() - size) +
               " nadmiaru: zakłócenia albo drugie urządzenie na linii.";
    if (reply.size() == size && frameBeginning(reply))
        return "Wynik: ramka ma właściwą długość, ale nie zgadza się jej suma kontrolna: "
               "zakłócenia na linii albo inne parametry transmisji niż " +
               settings + ".";
    return "Wynik: przyszły bajty, ale nie ramka: szum na linii albo urządzenie pracuje z inną "
           "prędkością lub parzystością niż " +
           settings + ".";
}

} // namespace Dravix
