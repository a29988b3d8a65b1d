#include "portadvice.h"

#include "fileformat.h"
#include "portsystem.h"
#include "serialchips.h"

#include <algorithm>
#include <string_view>

namespace Dravix {

namespace {

// N for /dev/ttyS<N-1>, the port that number N opens without a link; else 0.
int builtInNumber(const std::string &path)
{
    constexpr std::string_view prefix = "/dev/ttyS";
    if (path.size() <= prefix.size() || path.compare(0, prefix.size(), prefix) != 0 ||
        path.size() > prefix.size() + 4)
        return 0;
    int index = 0;
    for (std::size_t i = prefix.size(); i < path.size(); ++i) {
        if (path[i] < '0' || path[i] > '9')
            return 0;
        index = index * 10 + (path[i] - '0');
    }
    return index + 1;
}

std::string joined(const std::vector<std::string> &parts)
{
    std::string text;
    for (const std::string &part : parts)
        text += (text.empty() ? "" : ", ") + part;
    return text;
}

bool brailleTook(const PortlessAdapter &adapter)
{
    return adapter.driver == "usbfs" &&
           (!adapter.brailleService.empty() ||
            std::any_of(adapter.claimers.begin(), adapter.claimers.end(),
                        [](const std::string &c) { return c.rfind("brltty ", 0) == 0; }));
}

// The two ways out of the braille service's claim, for a user who may need it.
std::string brailleWaysOut(const PortlessAdapter &adapter)
{
    // Not "\"" + ids: GCC 12 warns wrongly of an overlap when a literal leads a temporary.
    std::string product = "\"";
    product += SerialChip::udevProduct(adapter.vendorId, adapter.productId) + "/";
    const std::string script = "'\\|" + product + "|s|^|#|'";
    const std::string &file = adapter.brailleRule;
    std::string rule;
    if (file.rfind("/etc/", 0) == 0)
        rule = "     sudo sed -i " + script + " " + file;
    else if (!file.empty())
        rule = "     sed " + script + " " + file + " | sudo tee /etc/udev/rules.d/" +
               file.substr(file.rfind('/') + 1) + " >/dev/null";
    else
        rule = "     skopiuj plik reguł brltty z /usr/lib/udev/rules.d do /etc/udev/rules.d i "
               "dodaj #\n"
               "     na początku wiersza z ENV{PRODUCT}==" +
               product + "*\"";
    return "\n  Jeśli to nie Twój monitor brajlowski, są dwa wyjścia:"
           "\n  1. Wyłączyć tylko regułę, która oddaje usłudze ten identyfikator (" +
           adapter.vendorId + ":" + adapter.productId +
           "); brltty nadal obsłuży monitor brajlowski:\n" + rule +
           "\n     sudo udevadm control --reload-rules"
           "\n     potem odłącz adapter i podłącz go ponownie."
           "\n  2. Jeśli nie używasz monitora brajlowskiego, wyłączyć usługę:"
           "\n     sudo systemctl mask --now brltty-udev.service brltty.service"
           "\n     i podłączyć adapter ponownie (cofnięcie: sudo systemctl unmask "
           "brltty-udev.service brltty.service).";
}

std::string moduleAdvice(const PortlessAdapter &adapter)
{
    const std::string &module = adapter.module;
    switch (adapter.moduleState) {
    case PortlessAdapter::Module::Loaded:
        return "\n  Moduł jest załadowany, a mimo to nie przyjął adaptera (np. nowsza wersja "
               "układu); komunikaty jądra pokaże: sudo dmesg | tail";
    case PortlessAdapter::Module::NotLoaded:
        return "\n  Moduł jest zainstalowany, ale nie załadowany. Załaduj go:\n     sudo "
               "modprobe " +
               module + "\n  a na stałe: echo " + module + " | sudo tee /etc/modules-load.d/" +
               module + ".conf";
    case PortlessAdapter::Module::Missing:
        return "\n  Tego modułu nie ma w działającym jądrze: zainstaluj pakiet z modułami jądra "
               "(w Ubuntu linux-modules-extra-$(uname -r)) i podłącz adapter ponownie.";
    case PortlessAdapter::Module::Unknown:
        break;
    }
    return "\n  Załaduj go: sudo modprobe " + module;
}

// Linux: a port is a device under /dev or a COM<N> link to one in the working folder.
class PosixPortAdvice : public PortAdvice
{
public:
    std::string noSuchDevice(const PortAttempt &attempt, const PortSystem &system) const override
    {
        std::string text;
        const std::string target = system.linkTarget(attempt.path);
        if (!attempt.folderEntry.empty() && !target.empty())
            text = "Łącze " + attempt.folderEntry + " wskazuje na " + target +
                   ",\na takiego urządzenia nie ma (adapter odłączony albo dostał inną nazwę).";
        else
            text = "Urządzenie " + attempt.path + " nie istnieje.";

        const std::vector<SerialAdapter> adapters = system.adapters();
        const std::vector<PortlessAdapter> portless = system.portlessAdapters();
        if (adapters.empty() && portless.empty())
            return text + "\nNie widać żadnego adaptera szeregowego: podłącz adapter, a port "
                          "zostanie sprawdzony ponownie.";
        if (adapters.empty())
            return text + portlessSection(portless);
        text += "\nObecne adaptery szeregowe:";
        for (const SerialAdapter &adapter : adapters) {
            text +=
                "\n• " + (adapter.stableName.empty() ? adapter.path
                                                     : adapter.stableName + " → " + adapter.path);
            if (const std::string about = PortAdvice::details(adapter); !about.empty())
                text += " (" + about + ")";
            if (const int builtIn = builtInNumber(adapter.path); builtIn > 0)
                text += " — port " + std::to_string(builtIn) + " bez łącza";
        }
        // A stable name survives replugging and reboots; a bare device name may not.
        std::string example;
        for (const SerialAdapter &adapter : adapters) {
            if (!adapter.stableName.empty()) {
                example = adapter.stableName;
                break;
            }
            if (example.empty() && builtInNumber(adapter.path) == 0)
                example = adapter.path;
        }
        if (!example.empty()) {
            const std::string entry = FileFormat::portEntryName(attempt.portNumber);
            text += "\nAby port " + std::to_string(attempt.portNumber) +
                    " otwierał adapter, utwórz w folderze roboczym łącze " + entry +
                    ", np.:\nln -sfn " + example + " " + entry;
        }
        return portless.empty() ? text : text + portlessSection(portless);
    }

    std::string permissionDenied(const PortAttempt &attempt,
                                 const PortSystem &system) const override
    {
        const std::string device = system.resolved(attempt.path);
        std::string text = "Brak uprawnień do otwarcia " + device + ".";
        const std::optional<DeviceGroup> group = system.deviceGroup(device);
        const std::string user = system.userName();
        if (!group || group->name.empty() || user.empty())
            return text + "\nPoproś administratora o dostęp do portu.";
        const std::string account = "Konto " + user;
        if (group->inSession)
            return text + "\n" + account + " jest w grupie " + group->name +
                   ", a urządzenie mimo to odmawia dostępu: sprawdź jego uprawnienia (ls -l " +
                   device + ").";
        if (group->inAccount)
            return text + "\n" + account + " należy już do grupy " + group->name +
                   ", ale ta sesja zaczęła się wcześniej: wyloguj się i zaloguj ponownie.";
        return text + "\nUrządzenie należy do grupy " + group->name + ", a konto " + user +
               " do niej nie należy. Dodaj je poleceniem:\nsudo usermod -aG " + group->name + " " +
               user + "\npotem wyloguj się i zaloguj ponownie.";
    }

    std::string busy(const PortAttempt &attempt, const PortSystem &system) const override
    {
        const std::string device = system.resolved(attempt.path);
        const std::vector<std::string> holders = system.holders(device);
        const std::string who = joined(holders);
        const std::string text =
            "Port jest zajęty: używa go " + (who.empty() ? std::string("inny program") : who) + ".";
        if (modemManagerHolds(holders))
            return text + modemManagerAdvice(device, system);
        return text + "\nZamknij ten program (np. program terminalowy) i wybierz port ponownie.";
    }

    std::string openedWarning(const PortAttempt &attempt, const PortSystem &system) const override
    {
        // ModemManager probes only what looks like a modem: a communications-class device.
        const std::string device = system.resolved(attempt.path);
        if (device.rfind("/dev/ttyACM", 0) != 0 || !modemManagerHolds(system.holders(device)))
            return {};
        return "\nUwaga: port ma otwarty także ModemManager i może wysyłać do urządzenia własne "
               "polecenia." +
               modemManagerAdvice(device, system);
    }

    std::string portlessCause(const PortlessAdapter &adapter) const override
    {
        if (brailleTook(adapter))
            return "przejęła go usługa brajlowska brltty";
        if (adapter.driver == "usbfs")
            return adapter.claimers.empty()
                       ? "przejął go inny program przez libusb"
                       : "przejął go przez libusb program " + joined(adapter.claimers);
        return "żaden sterownik go nie obsługuje (potrzebny moduł jądra " + adapter.module + ")";
    }

private:
    static bool modemManagerHolds(const std::vector<std::string> &holders)
    {
        return std::any_of(holders.begin(), holders.end(), [](const std::string &holder) {
            return holder.rfind("ModemManager ", 0) == 0;
        });
    }

    static std::string modemManagerAdvice(const std::string &device, const PortSystem &system)
    {
        std::string match = "KERNEL==\"" + device.substr(device.rfind('/') + 1) + "\"";
        for (const SerialAdapter &adapter : system.adapters()) {
            if (adapter.path == device && !adapter.vendorId.empty())
                match = "ATTRS{idVendor}==\"" + adapter.vendorId + "\", ATTRS{idProduct}==\"" +
                        adapter.productId + "\"";
        }
        return "\nModemManager sprawdza przez kilka–kilkanaście sekund po podłączeniu, czy "
               "urządzenie nie jest modemem: odczekaj chwilę i wybierz port ponownie."
               "\nAby ModemManager na stałe pomijał to urządzenie:\necho '" +
               match +
               ", ENV{ID_MM_DEVICE_IGNORE}=\"1\"' | sudo tee "
               "/etc/udev/rules.d/99-dravix-modemmanager.rules"
               "\nsudo udevadm control --reload-rules"
               "\npotem odłącz urządzenie i podłącz je ponownie.";
    }

    std::string portlessSection(const std::vector<PortlessAdapter> &adapters) const
    {
        std::string text = "\nPodłączone adaptery bez portu:";
        for (const PortlessAdapter &adapter : adapters) {
            text += "\n• " + PortAdvice::details(adapter) + ": " + portlessCause(adapter) + ".";
            if (brailleTook(adapter))
                text += "\n  Usługa " +
                        (adapter.brailleService.empty() ? std::string("brltty")
                                                        : adapter.brailleService) +
                        " bierze układy, których używają też niektóre monitory brajlowskie." +
                        brailleWaysOut(adapter);
            else if (adapter.driver == "usbfs")
                text += "\n  Zamknij ten program i podłącz adapter ponownie.";
            else
                text += moduleAdvice(adapter);
        }
        return text + "\nGdy adapter dostanie port, zostanie on sprawdzony ponownie.";
    }
};

} // namespace

std::string PortAdvice::details(const SerialAdapter &adapter)
{
    std::string text;
    for (const std::string &part :
         {adapter.manufacturer, adapter.product,
          adapter.serialNumber.empty() ? std::string() : "nr seryjny " + adapter.serialNumber}) {
        if (!part.empty())
            text += (text.empty() ? "" : ", ") + part;
    }
    return text;
}

std::string PortAdvice::details(const PortlessAdapter &adapter)
{
    std::string text;
    for (const std::string &part : {adapter.manufacturer, adapter.product}) {
        if (!part.empty())
            text += (text.empty() ? "" : ", ") + part;
    }
    std::string ids = "USB " + adapter.vendorId + ":" + adapter.productId;
    if (!adapter.serialNumber.empty())
        ids += ", nr seryjny " + adapter.serialNumber;
    return text.empty() ? ids : text + " (" + ids + ")";
}

const PortAdvice &PortAdvice::posix()
{
    static const PosixPortAdvice advice;
    return advice;
}

} // namespace Dravix
