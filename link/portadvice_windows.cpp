#include "portadvice.h"

#include "portsystem.h"

namespace Dravix {

namespace {

// "USB Serial Port (COM14)", as the Device Manager lists it.
std::string friendlyName(const SerialAdapter &adapter)
{
    const std::string &name = adapter.name.empty() ? adapter.path : adapter.name;
    return adapter.product.empty() ? name : adapter.product + " (" + name + ")";
}

// Windows: port N is the device COM<N>; access is denied to a port another program has open.
class WindowsPortAdvice : public PortAdvice
{
public:
    std::string noSuchDevice(const PortAttempt &attempt, const PortSystem &system) const override
    {
        std::string text = "Portu " + attempt.path + " nie ma w systemie.";
        const std::vector<SerialAdapter> adapters = system.adapters();
        if (adapters.empty())
            return text + "\nNie widać żadnego portu COM: podłącz adapter,\na port zostanie "
                          "sprawdzony ponownie.";
        text += "\nObecne porty COM:";
        for (const SerialAdapter &adapter : adapters) {
            text += "\n• " + friendlyName(adapter);
            if (!adapter.manufacturer.empty())
                text += ", " + adapter.manufacturer;
            if (!adapter.serialNumber.empty())
                text += ", nr seryjny " + adapter.serialNumber;
        }
        // In lines that a tooltip shows whole also at 150 % on a small laptop screen.
        return text + "\nWybierz numer jednego z nich w liście „Nr portu szeregowego”;\nnumer "
                      "portu adaptera można zmienić w Menedżerze urządzeń\n(Porty (COM i LPT) → "
                      "Właściwości → Ustawienia portu → Zaawansowane).";
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
