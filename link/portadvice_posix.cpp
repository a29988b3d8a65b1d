#include "portadvice.h"

#include "fileformat.h"
#include "portsystem.h"

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
        if (adapters.empty())
            return text + "\nNie widać żadnego adaptera szeregowego: podłącz adapter, a port "
                          "zostanie sprawdzony ponownie.";
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
        if (example.empty())
            return text;
        const std::string entry = FileFormat::portEntryName(attempt.portNumber);
        return text + "\nAby port " + std::to_string(attempt.portNumber) +
               " otwierał adapter, utwórz w folderze roboczym łącze " + entry + ", np.:\nln -sfn " +
               example + " " + entry;
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
        const std::vector<std::string> holders = system.holders(system.resolved(attempt.path));
        std::string who;
        for (const std::string &holder : holders)
            who += (who.empty() ? "" : ", ") + holder;
        return "Port jest zajęty: używa go " + (who.empty() ? std::string("inny program") : who) +
               ".\nZamknij ten program (np. program terminalowy lub ModemManager) i wybierz port "
               "ponownie.";
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

const PortAdvice &PortAdvice::posix()
{
    static const PosixPortAdvice advice;
    return advice;
}

} // namespace Dravix
