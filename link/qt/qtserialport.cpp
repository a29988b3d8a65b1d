#include "qtserialport.h"

#include "fileformat.h"
#include "linesettings.h"

#include <QSerialPortInfo>

#include <algorithm>
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
        SerialAdapter adapter;
        adapter.path = info.systemLocation().toStdString();
        adapter.manufacturer = info.manufacturer().toStdString();
        adapter.product = info.description().toStdString();
        adapter.serialNumber = info.serialNumber().toStdString();
        adapter.name = info.portName().toStdString();
        if (info.hasVendorIdentifier() && info.hasProductIdentifier()) {
            adapter.vendorId = QString::asprintf("%04x", info.vendorIdentifier()).toStdString();
            adapter.productId = QString::asprintf("%04x", info.productIdentifier()).toStdString();
        }
        adapters.push_back(adapter);
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
    , m_port(this)
    , m_system(presentAdapters)
{
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialPort::handleError);
    connect(&m_port, &QSerialPort::readyRead, this, &QtSerialPort::take);
    m_sent.start();
}

QtSerialPort::~QtSerialPort()
{
    close();
}

PortLocation QtSerialPort::locate(int portNumber) const
{
    PortLocation location;
    location.portNumber = portNumber;
#ifdef Q_OS_WIN
    // A COM<N> entry of a folder would be the device itself for N < 10, a plain file above.
    location.path = FileFormat::portEntryName(portNumber);
#else
    const std::string name = FileFormat::portEntryName(portNumber);
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(m_workingFolder / name, error))) {
        location.folderEntry = name;
        location.path = std::filesystem::absolute(m_workingFolder / name, error).string();
    } else {
        location.path = "/dev/ttyS" + std::to_string(portNumber - 1);
    }
#endif
    return location;
}

std::vector<std::string> QtSerialPort::watchedFolders(int portNumber) const
{
    std::vector<std::string> folders = m_system.watchedFolders(locate(portNumber).path);
#ifndef Q_OS_WIN
    // Where a COM<N> entry may be made.
    const std::string folder = m_workingFolder.lexically_normal().string();
    if (std::find(folders.begin(), folders.end(), folder) == folders.end())
        folders.insert(folders.begin(), folder);
#endif
    return folders;
}

PortAttempt QtSerialPort::open(int portNumber, const std::string &settings)
{
    close();
    PortAttempt attempt;
    static_cast<PortLocation &>(attempt) = locate(portNumber);
    attempt.settings = settings;

    const auto line = LineSettings::parse(settings);
    if (!line) {
        attempt.outcome = PortAttempt::Outcome::SettingsMalformed;
        attempt.systemText = "invalid line settings: " + settings;
        return attempt;
    }
    if (portNumber < 1) {
        attempt.outcome = PortAttempt::Outcome::OpenFailed;
        attempt.error = ENOENT;
        attempt.systemText = "no such port: " + std::to_string(portNumber);
        return attempt;
    }

    m_loss.reset();
    m_ready = false;
    m_errorText.clear();
    attempt.outcome = openLocked(attempt);
    if (!attempt.opened()) {
        close();
        return attempt;
    }
    const bool configured =
        m_port.setBaudRate(line->speed) && m_port.setParity(qtParity(line->parity)) &&
        m_port.setDataBits(static_cast<QSerialPort::DataBits>(line->dataBits)) &&
        m_port.setStopBits(qtStopBits(line->stopBits)) &&
        m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        // A pseudo-terminal, for one, keeps 8 data bits, no parity and one stop bit.
        attempt.outcome = PortAttempt::Outcome::SettingsRefused;
        attempt.systemText = m_errorText;
        close();
        return attempt;
    }
    attempt.controlLines = raiseControlLines();
    m_port.clear(QSerialPort::AllDirections);
    m_port.readAll();
    m_arrivals.clear();
    m_sent.restart();
    m_ready = m_port.isOpen();
    return attempt;
}

PortAttempt::ControlLines QtSerialPort::raiseControlLines()
{
    // As the Linux driver leaves them at an open, and as terminal programs do; Qt on Windows
    // would leave RTS off and DTR as the driver had it.
    const bool dtr = m_port.setDataTerminalReady(true);
    const bool rts = m_port.setRequestToSend(true);
    return dtr && rts ? PortAttempt::ControlLines::Raised : PortAttempt::ControlLines::Refused;
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

QtSerialPort::Call::Call(QtSerialPort &port)
    : m_owner(port)
{
    ++m_owner.m_calls;
}

QtSerialPort::Call::~Call()
{
    if (--m_owner.m_calls == 0 && m_owner.m_loss)
        m_owner.closeLost();
}

void QtSerialPort::write(const Bytes &bytes)
{
    if (!m_ready || m_loss)
        return;
    m_sent.restart();
    const Call call(*this);
    m_port.write(reinterpret_cast<const char *>(bytes.data()), static_cast<qint64>(bytes.size()));
    m_port.flush();
}

void QtSerialPort::take()
{
    if (!m_ready || m_loss)
        return;
    const Call call(*this);
    const QByteArray data = m_port.readAll();
    if (!data.isEmpty() && !m_loss)
        m_arrivals.push_back(
            {std::chrono::milliseconds(m_sent.elapsed()), Bytes(data.begin(), data.end())});
}

Arrivals QtSerialPort::readAll()
{
    take();
    Arrivals arrivals;
    arrivals.swap(m_arrivals);
    if (!m_ready || m_loss)
        return {};
    return arrivals;
}

void QtSerialPort::close()
{
    m_ready = false;
    if (m_port.isOpen())
        m_port.close();
    m_port.clearError();
    m_arrivals.clear();
}

void QtSerialPort::closeLost()
{
    if (m_calls > 0 || !m_port.isOpen())
        return;
    // A vanished device keeps signalling, and Windows keeps its dead handle until it is closed.
    m_port.close();
    m_arrivals.clear();
}

QtSerialPort::ErrorEffect QtSerialPort::errorEffect(System system,
                                                    QSerialPort::SerialPortError error, bool ready,
                                                    bool hungUp)
{
    switch (error) {
    case QSerialPort::NoError:
        return ErrorEffect::Ignored;
    case QSerialPort::ResourceError:
        return ready ? ErrorEffect::Lost : ErrorEffect::Kept;
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::UnknownError:
    case QSerialPort::PermissionError:
    case QSerialPort::DeviceNotFoundError:
        if (ready && (system == System::Windows || hungUp))
            return ErrorEffect::Lost;
        return ErrorEffect::Kept;
    case QSerialPort::OpenError:
    case QSerialPort::NotOpenError:
    case QSerialPort::TimeoutError:
    case QSerialPort::UnsupportedOperationError:
        break;
    }
    return ErrorEffect::Kept;
}

void QtSerialPort::handleError(QSerialPort::SerialPortError error)
{
    // A failed open leaves the port closed, and its error for the attempt to tell.
    if (error == QSerialPort::NoError || !m_port.isOpen())
        return;
#ifdef Q_OS_WIN
    constexpr System system = System::Windows;
#else
    constexpr System system = System::Unix;
#endif
    const bool hungUpLine = system == System::Unix && hungUp(m_port);
    switch (errorEffect(system, error, m_ready && !m_loss, hungUpLine)) {
    case ErrorEffect::Ignored:
        break;
    case ErrorEffect::Kept:
        m_errorText = m_port.errorString().toStdString();
        break;
    case ErrorEffect::Lost:
        // Told once; what comes after it from the dead port is not listened to.
        m_loss = PortLoss{std::chrono::milliseconds(m_sent.elapsed()),
                          m_port.errorString().toStdString()};
        m_port.clearError();
        closeLost();
        return;
    }
    if (m_port.isOpen())
        m_port.clearError();
}

} // namespace Dravix
