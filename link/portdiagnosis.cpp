#include "portdiagnosis.h"

#include "fileformat.h"
#include "portsystem.h"

#include <cerrno>
#include <string_view>

namespace Dravix {

namespace {

std::string joined(const std::vector<std::string> &parts, const char *separator)
{
    std::string out;
    for (const std::string &part : parts) {
        if (part.empty())
            continue;
        if (!out.empty())
            out += separator;
        out += part;
    }
    return out;
}

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

std::string details(const SerialAdapter &adapter)
{
    return joined({adapter.manufacturer, adapter.product,
                   adapter.serialNumber.empty() ? "" : "nr seryjny " + adapter.serialNumber},
                  ", ");
}

std::string quoted(const std::string &text)
{
    return "„" + text + "”";
}

} // namespace

PortDiagnosis::PortDiagnosis(const PortSystem &system)
    : m_system(system)
{
}

PortCause PortDiagnosis::cause(const PortAttempt &attempt) const
{
    using Outcome = PortAttempt::Outcome;
    switch (attempt.outcome) {
    case Outcome::Opened:
        return PortCause::Opened;
    case Outcome::Locked:
        return PortCause::Busy;
    case Outcome::SettingsRefused:
    case Outcome::SettingsMalformed:
        return PortCause::SettingsRefused;
    case Outcome::OpenFailed:
        break;
    }
    if (m_system.resolved(attempt.path).empty())
        return PortCause::NoSuchDevice;
    switch (attempt.error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return PortCause::NoSuchDevice;
    case EACCES:
    case EPERM:
        return PortCause::PermissionDenied;
    case EBUSY:
    case EAGAIN:
#if defined(EWOULDBLOCK) && EWOULDBLOCK != EAGAIN
    case EWOULDBLOCK:
#endif
        return PortCause::Busy;
    default:
        return PortCause::Other;
    }
}

std::string PortDiagnosis::note(const PortAttempt &attempt) const
{
    const std::string head = tried(attempt.portNumber, attempt.path, attempt.folderEntry);
    const std::string device = m_system.resolved(attempt.path);
    switch (cause(attempt)) {
    case PortCause::Opened: {
        const std::string details = adapterDetails(device);
        return head + "\nOtwarty poprawnie: " + (device.empty() ? attempt.path : device) +
               (details.empty() ? "" : " (" + details + ")") + ".";
    }
    case PortCause::NoSuchDevice:
        return head + "\n" + noSuchDevice(attempt);
    case PortCause::PermissionDenied:
        return head + "\n" + permissionDenied(attempt);
    case PortCause::Busy:
        return head + "\n" + busy(attempt);
    case PortCause::SettingsRefused: {
        const std::string settings =
            attempt.settings.empty() ? "9600,n,8,1 (domyślne)" : quoted(attempt.settings);
        if (attempt.outcome == PortAttempt::Outcome::SettingsMalformed)
            return head + "\nParametry transmisji " + settings +
                   " nie mają postaci prędkość,parzystość,bity danych,bity stopu (np. "
                   "9600,n,8,1).\nPopraw wpis dodajparam w pliku opisu urządzenia.";
        return head + "\nPort nie przyjmuje parametrów transmisji " + settings +
               ".\nWybierz inne w liście „Parametry transmisji RS232”.";
    }
    case PortCause::Other:
        break;
    }
    return head + "\nNie udało się otworzyć portu" +
           (attempt.systemText.empty() ? std::string(".") : ": " + attempt.systemText + ".");
}

std::string PortDiagnosis::target(int portNumber, const std::string &path,
                                  const std::string &folderEntry) const
{
    if (portNumber < 1)
        return "Wpis nie zaczyna się od numeru portu: nie otwiera nic.";
    const std::string head = tried(portNumber, path, folderEntry);
    return m_system.resolved(path).empty() ? head + " (nie istnieje)" : head;
}

std::string PortDiagnosis::tried(int portNumber, const std::string &path,
                                 const std::string &folderEntry) const
{
    std::string text = "Port " + std::to_string(portNumber) + ": ";
    if (folderEntry.empty())
        return text + path;
    text += folderEntry;
    const std::string target = m_system.linkTarget(path);
    if (target.empty())
        return text + " (plik w folderze roboczym)";
    text += " → " + target;
    const std::string device = m_system.resolved(path);
    if (!device.empty() && device != target)
        text += " → " + device;
    return text;
}

std::string PortDiagnosis::noSuchDevice(const PortAttempt &attempt) const
{
    std::string text;
    const std::string target = m_system.linkTarget(attempt.path);
    if (!attempt.folderEntry.empty() && !target.empty())
        text = "Łącze " + attempt.folderEntry + " wskazuje na " + target +
               ",\na takiego urządzenia nie ma (adapter odłączony albo dostał inną nazwę).";
    else
        text = "Urządzenie " + attempt.path + " nie istnieje.";

    const std::vector<SerialAdapter> adapters = m_system.adapters();
    if (adapters.empty())
        return text + "\nNie widać żadnego adaptera szeregowego: podłącz adapter i wybierz port "
                      "ponownie.";
    text += "\nObecne adaptery szeregowe:";
    for (const SerialAdapter &adapter : adapters) {
        text += "\n• " + (adapter.stableName.empty() ? adapter.path
                                                     : adapter.stableName + " → " + adapter.path);
        if (const std::string about = details(adapter); !about.empty())
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

std::string PortDiagnosis::permissionDenied(const PortAttempt &attempt) const
{
    const std::string device = m_system.resolved(attempt.path);
    std::string text = "Brak uprawnień do otwarcia " + device + ".";
    const std::optional<DeviceGroup> group = m_system.deviceGroup(device);
    const std::string user = m_system.userName();
    if (!group || group->name.empty() || user.empty())
        return text + "\nPoproś administratora o dostęp do portu.";
    const std::string account = "Konto " + user;
    if (group->inSession)
        return text + "\n" + account + " jest w grupie " + group->name +
               ", a urządzenie mimo to odmawia dostępu: sprawdź jego uprawnienia (ls -l " + device +
               ").";
    if (group->inAccount)
        return text + "\n" + account + " należy już do grupy " + group->name +
               ", ale ta sesja zaczęła się wcześniej: wyloguj się i zaloguj ponownie.";
    return text + "\nUrządzenie należy do grupy " + group->name + ", a konto " + user +
           " do niej nie należy. Dodaj je poleceniem:\nsudo usermod -aG " + group->name + " " +
           user + "\npotem wyloguj się i zaloguj ponownie.";
}

std::string PortDiagnosis::busy(const PortAttempt &attempt) const
{
    const std::vector<std::string> holders = m_system.holders(m_system.resolved(attempt.path));
    const std::string who = holders.empty() ? std::string("inny program") : joined(holders, ", ");
    return "Port jest zajęty: używa go " + who +
           ".\nZamknij ten program (np. program terminalowy lub ModemManager) i wybierz port "
           "ponownie.";
}

std::string PortDiagnosis::adapterDetails(const std::string &device) const
{
    if (device.empty())
        return {};
    for (const SerialAdapter &adapter : m_system.adapters()) {
        if (adapter.path == device)
            return details(adapter);
    }
    return {};
}

} // namespace Dravix
