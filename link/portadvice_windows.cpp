#include "portadvice.h"

#include "cp1250.h"
#include "portsystem.h"
#include "serialchips.h"

#include <cctype>

namespace Dravix {

namespace {

// "USB Serial Port (COM14)", as the Device Manager lists it.
std::string friendlyName(const SerialAdapter &adapter)
{
    const std::string &name = adapter.name.empty() ? adapter.path : adapter.name;
    return adapter.product.empty() ? name : adapter.product + " (" + name + ")";
}

// Lines of at most 76 characters, so that a tooltip stays within a small laptop's screen at
// 150 %: the first begins with its head, the others with the indent.
std::string wrapped(const std::string &head, const std::string &text, const std::string &indent)
{
    constexpr std::size_t kWidth = 76;
    std::string out, line = head;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string word = text.substr(start, end - start);
        const bool fresh = line.size() == (out.empty() ? head.size() : indent.size());
        if (!fresh && utf8Length(line) + 1 + utf8Length(word) > kWidth) {
            out += (out.empty() ? "" : "\n") + line;
            line = indent + word;
        } else {
            line += (fresh ? "" : " ") + word;
        }
        start = end + 1;
    }
    return out + (out.empty() ? "" : "\n") + line;
}

// The Device Manager's own words of a problem code, and what to do.
struct Problem
{
    int code;
    const char *meaning;
    const char *todo;
};

constexpr Problem kProblems[] = {
    {1, "To urządzenie nie jest poprawnie skonfigurowane.",
     "Zainstaluj sterownik %s, potem odłącz adapter i podłącz go ponownie."},
    {10, "Nie można uruchomić tego urządzenia.",
     "Sterownik odmówił uruchomienia adaptera. Najczęstsza przyczyna: sterownik producenta "
     "odrzuca układ, który nie jest oryginalny (podróbki PL2303 i FT232). Użyj adaptera z "
     "oryginalnym układem albo sterownika, który go przyjmuje."},
    {22, "To urządzenie jest wyłączone.",
     "Włącz je w Menedżerze urządzeń: prawy przycisk myszy na urządzeniu → Włącz urządzenie."},
    {28, "Sterowniki dla tego urządzenia nie są zainstalowane.",
     "Zainstaluj sterownik %s; potem urządzenie dostanie numer COM."},
    {31, "System Windows nie może załadować sterowników wymaganych dla tego urządzenia.",
     "Zainstaluj ponownie sterownik %s i podłącz adapter ponownie."},
    {43, "System Windows zatrzymał to urządzenie, ponieważ zgłosiło ono problemy.",
     "Odłącz adapter i podłącz go ponownie, najlepiej do innego gniazda USB; gdy kod wraca, "
     "adapter może być uszkodzony."},
};

std::string meaning(int code)
{
    for (const Problem &problem : kProblems) {
        if (problem.code == code)
            return std::string(problem.meaning) + " (Kod " + std::to_string(code) + ")";
    }
    return "Urządzenie zgłasza problem. (Kod " + std::to_string(code) + ")";
}

std::string todo(const PortlessAdapter &adapter)
{
    const SerialChip *chip = SerialChip::find(adapter.vendorId, adapter.productId);
    const std::string driver =
        chip ? std::string(chip->windowsDriver) : std::string("producenta adaptera");
    for (const Problem &problem : kProblems) {
        if (problem.code != adapter.problemCode)
            continue;
        std::string text = problem.todo;
        if (const std::size_t at = text.find("%s"); at != std::string::npos)
            text.replace(at, 2, driver);
        return text;
    }
    return "Szczegóły pokazuje Menedżer urządzeń: Właściwości urządzenia → Ogólne.";
}

// Windows: port N is the device COM<N>; access is denied to a port another program has open.
class WindowsPortAdvice : public PortAdvice
{
public:
    std::string noSuchDevice(const PortAttempt &attempt, const PortSystem &system) const override
    {
        std::string text = "Portu " + attempt.path + " nie ma w systemie.";
        const std::vector<SerialAdapter> adapters = system.adapters();
        const std::vector<PortlessAdapter> portless = system.portlessAdapters();
        if (adapters.empty() && portless.empty())
            return text + "\nNie widać żadnego portu COM: podłącz adapter,\na port zostanie "
                          "sprawdzony ponownie.";
        if (adapters.empty())
            return text + portlessSection(portless);
        text += "\nObecne porty COM:";
        for (const SerialAdapter &adapter : adapters) {
            text += "\n• " + friendlyName(adapter);
            if (!adapter.manufacturer.empty())
                text += ", " + adapter.manufacturer;
            if (!adapter.serialNumber.empty())
                text += ", nr seryjny " + adapter.serialNumber;
        }
        // In lines that a tooltip shows whole also at 150 % on a small laptop screen.
        text += "\nWybierz numer jednego z nich w liście „Nr portu szeregowego”;\nnumer "
                "portu adaptera można zmienić w Menedżerze urządzeń\n(Porty (COM i LPT) → "
                "Właściwości → Ustawienia portu → Zaawansowane).";
        return portless.empty() ? text : text + portlessSection(portless);
    }

    std::string permissionDenied(const PortAttempt &attempt,
                                 const PortSystem &system) const override
    {
        return busy(attempt, system);
    }

    std::string busy(const PortAttempt &, const PortSystem &) const override
    {
        return "Port jest zajęty: Windows odmawia dostępu, bo używa go inny program.\nZamknij "
               "ten program (np. program terminalowy) i wybierz port ponownie.";
    }

    std::string openedWarning(const PortAttempt &, const PortSystem &) const override { return {}; }

    std::string portlessCause(const PortlessAdapter &adapter) const override
    {
        return meaning(adapter.problemCode);
    }

private:
    static std::string portlessSection(const std::vector<PortlessAdapter> &adapters)
    {
        std::string text = "\nUrządzenia bez portu COM (w Menedżerze urządzeń z ostrzeżeniem):";
        for (const PortlessAdapter &adapter : adapters) {
            std::string name = adapter.product.empty() ? "Urządzenie USB" : adapter.product;
            if (!adapter.vendorId.empty()) {
                std::string ids = "VID_" + adapter.vendorId + "&PID_" + adapter.productId;
                for (char &c : ids)
                    c = char(std::toupper(static_cast<unsigned char>(c)));
                name += " (" + ids + ")";
            }
            if (!adapter.manufacturer.empty())
                name += ", " + adapter.manufacturer;
            text += "\n";
            text += wrapped("• ", name + ": " + meaning(adapter.problemCode), "  ");
            text += "\n";
            text += wrapped("  ", todo(adapter), "  ");
        }
        return text + "\nGdy urządzenie dostanie numer COM, port zostanie sprawdzony ponownie.";
    }
};

} // namespace

const PortAdvice &PortAdvice::windows()
{
    static const WindowsPortAdvice advice;
    return advice;
}

const PortAdvice &PortAdvice::forThisSystem()
{
#ifdef _WIN32
    return windows();
#else
    return posix();
#endif
}

} // namespace Dravix
