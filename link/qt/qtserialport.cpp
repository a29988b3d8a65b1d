#include "qtserialport.h"

#include "fileformat.h"
#include "linesettings.h"

#include <QSerialPortInfo>

#include <cerrno>
#include <system_error>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace Dravix {

namespace {

QSerialPort::Parity qtParity(LineSettings::Parity parity)
{
    switch (parity) {
    case LineSettings::Parity::Even:
        return QSerialPort::EvenParity;
    case LineSettings::Parity::Odd:
        return QSerialPort::OddParity;
    case LineSettings::Parity::Mark:
        return QSerialPort::MarkParity;
    case LineSettings::Parity::Space:
        return QSerialPort::SpaceParity;
    case LineSettings::Parity::None:
        break;
    }
    return QSerialPort::NoParity;
}

QSerialPort::StopBits qtStopBits(LineSettings::StopBits stopBits)
{
    switch (stopBits) {
    case LineSettings::StopBits::OneAndHalf:
        return QSerialPort::OneAndHalfStop;
    case LineSettings::StopBits::Two:
        return QSerialPort::TwoStop;
    case LineSettings::StopBits::One:
        break;
    }
    return QSerialPort::OneStop;
}

// A line whose other end has gone (a pseudo-terminal closed by its owner) reports a read error
// rather than a resource error, again at every turn of the event loop.
bool hungUp(QSerialPort &port)
{
#ifdef Q_OS_UNIX
    pollfd line{int(port.handle()), POLLIN, 0};
    return ::poll(&line, 1, 0) > 0 && (line.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
#else
    Q_UNUSED(port);
    return false;
#endif
}

std::vector<SerialAdapter> presentAdapters()
{
    std::vector<SerialAdapter> adapters;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        adapters.push_back({info.systemLocation().toStdString(),
                            {},
                            info.manufacturer().toStdString(),
                            info.description().toStdString(),
                            info.serialNumber().toStdString()});
    }
    return adapters;
}

// The error number that stands for a failure Qt reports only by its kind.
int errorNumber(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return ENOENT;
    case QSerialPort::PermissionError:
        // On Windows access is denied to a port that another program has open; on Unix this is
        // left for Qt's own lock file, held by another program (the open itself was tried).
        return EBUSY;
    default:
        return 0;
    }
}

#ifdef Q_OS_UNIX
bool heldByOther(int fd)
{
    return ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
}
#endif

} // namespace

QtSerialPort::QtSerialPort(std::filesystem::path workingFolder, QObject *parent)
    : QObject(parent)
    , m_workingFolder(std::move(workingFolder))
    , m_system(presentAdapters)
{
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialPort::handleError);
}

QtSerialPort::~QtSerialPort()
{
    close();
}

std::string QtSerialPort::folderEntry(int portNumber) const
{
    const std::string name = FileFormat::portEntryName(portNumber);
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(m_workingFolder / name, error))
               ? name
               : std::string();
}

QString QtSerialPort::portPath(int portNumber) const
{
    const std::string entry = folderEntry(portNumber);
    std::error_code error;
    if (!entry.empty())
        return QString::fromStdString(
            std::filesystem::absolute(m_workingFolder / entry, error).string());
#ifdef Q_OS_WIN
    return QString::fromStdString(FileFormat::portEntryName(portNumber));
#else
    return QStringLiteral("/dev/ttyS%1").arg(portNumber - 1);
#endif
}

std::string QtSerialPort::portTarget(int portNumber) const
{
    if (portNumber < 1)
        return m_diagnosis.target(portNumber, {}, {});
    return m_diagnosis.target(portNumber, portPath(portNumber).toStdString(),
                              folderEntry(portNumber));
}

PortNote QtSerialPort::openNote() const
{
    // Told when read: listing the adapters takes a moment that a port test need not wait.
    if (!m_attempt)
        return [] { return std::string(); };
    return [diagnosis = &m_diagnosis, attempt = *m_attempt] { return diagnosis->note(attempt); };
}

std::optional<std::string> QtSerialPort::settle(const PortAttempt &attempt, std::string failure)
{
    m_cause = m_diagnosis.cause(attempt);
    m_attempt = attempt;
    if (attempt.outcome == PortAttempt::Outcome::Opened)
        return std::nullopt;
    close();
    return failure;
}

std::optional<std::string> QtSerialPort::open(int portNumber, const std::string &settings)
{
    close();
    PortAttempt attempt;
    attempt.portNumber = portNumber;
    attempt.settings = settings;
    attempt.path = portPath(portNumber).toStdString();
    attempt.folderEntry = folderEntry(portNumber);

    const auto line = LineSettings::parse(settings);
    if (!line) {
        attempt.outcome = PortAttempt::Outcome::SettingsMalformed;
        return settle(attempt, "invalid line settings: " + settings);
    }
    if (portNumber < 1) {
        attempt.outcome = PortAttempt::Outcome::OpenFailed;
        attempt.error = ENOENT;
        return settle(attempt, "no such port: " + std::to_string(portNumber));
    }

    m_gone = false;
    attempt.outcome = openLocked(attempt);
    if (attempt.outcome != PortAttempt::Outcome::Opened)
        return settle(attempt, attempt.systemText);

    const bool configured =
        m_port.setBaudRate(line->speed) && m_port.setParity(qtParity(line->parity)) &&
        m_port.setDataBits(static_cast<QSerialPort::DataBits>(line->dataBits)) &&
        m_port.setStopBits(qtStopBits(line->stopBits)) &&
        m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        // A pseudo-terminal, for one, keeps 8 data bits, no parity and one stop bit.
        attempt.outcome = PortAttempt::Outcome::SettingsRefused;
        return settle(attempt, "the port refuses the line settings " + settings);
    }
    m_port.clear(QSerialPort::AllDirections);
    m_port.readAll();
    return settle(attempt, {});
}

PortAttempt::Outcome QtSerialPort::openLocked(PortAttempt &attempt)
{
    using Outcome = PortAttempt::Outcome;
#ifdef Q_OS_UNIX
    // A look before Qt opens the port, which would set the line of a program that holds it. The
    // look stays open until Qt's descriptor has the lock, so closing it never hangs the line up.
    const int look = ::open(attempt.path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (look < 0) {
        attempt.error = errno;
        attempt.systemText = std::system_category().message(attempt.error);
        return Outcome::OpenFailed;
    }
    if (heldByOther(look)) {
        ::close(look);
        attempt.systemText = "the port is locked by another program";
        return Outcome::Locked;
    }
    ::flock(look, LOCK_UN);
#endif
    m_port.setPortName(QString::fromStdString(attempt.path));
    Outcome outcome = Outcome::Opened;
    if (!m_port.open(QIODevice::ReadWrite)) {
        attempt.error = errorNumber(m_port.error());
        attempt.systemText = m_port.errorString().toStdString();
        outcome = Outcome::OpenFailed;
    }
#ifdef Q_OS_UNIX
    else if (heldByOther(int(m_port.handle()))) {
        attempt.systemText = "the port is locked by another program";
        outcome = Outcome::Locked;
    }
    ::close(look);
#endif
    return outcome;
}

void QtSerialPort::write(const Bytes &bytes)
{
    if (!m_port.isOpen() || m_gone)
        return;
    m_port.write(reinterpret_cast<const char *>(bytes.data()), static_cast<qint64>(bytes.size()));
    m_port.flush();
}

Bytes QtSerialPort::readAll()
{
    if (!m_port.isOpen() || m_gone)
        return {};
    const QByteArray data = m_port.readAll();
    return Bytes(data.begin(), data.end());
}

void QtSerialPort::close()
{
    if (m_port.isOpen())
        m_port.close();
    m_port.clearError();
}

void QtSerialPort::handleError(QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::NoError)
        return;
    if (error == QSerialPort::ResourceError ||
        (error == QSerialPort::ReadError && m_port.isOpen() && hungUp(m_port))) {
        m_gone = true;
        // A vanished device keeps signalling; stop listening to it until the next open.
        if (m_port.isOpen())
            m_port.close();
    }
    m_port.clearError();
}

} // namespace Dravix
