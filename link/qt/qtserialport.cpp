#include "qtserialport.h"

#include "linesettings.h"

#include <system_error>

#ifdef Q_OS_UNIX
#include <poll.h>
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

} // namespace

QtSerialPort::QtSerialPort(std::filesystem::path workingFolder, QObject *parent)
    : QObject(parent)
    , m_workingFolder(std::move(workingFolder))
{
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialPort::handleError);
}

QtSerialPort::~QtSerialPort()
{
    close();
}

QString QtSerialPort::portPath(int portNumber) const
{
    const std::string name = "COM" + std::to_string(portNumber);
    std::error_code error;
    const std::filesystem::path entry = m_workingFolder / name;
    if (std::filesystem::exists(std::filesystem::symlink_status(entry, error)))
        return QString::fromStdString(std::filesystem::absolute(entry, error).string());
#ifdef Q_OS_WIN
    return QString::fromStdString(name);
#else
    return QStringLiteral("/dev/ttyS%1").arg(portNumber - 1);
#endif
}

std::optional<std::string> QtSerialPort::open(int portNumber, const std::string &settings)
{
    close();
    const auto line = LineSettings::parse(settings);
    if (!line)
        return "invalid line settings: " + settings;
    if (portNumber < 1)
        return "no such port: " + std::to_string(portNumber);

    m_gone = false;
    m_port.setPortName(portPath(portNumber));
    if (!m_port.open(QIODevice::ReadWrite)) {
        const std::string reason = m_port.errorString().toStdString();
        close();
        return reason;
    }
    const bool configured =
        m_port.setBaudRate(line->speed) && m_port.setParity(qtParity(line->parity)) &&
        m_port.setDataBits(static_cast<QSerialPort::DataBits>(line->dataBits)) &&
        m_port.setStopBits(qtStopBits(line->stopBits)) &&
        m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        // A pseudo-terminal, for one, keeps 8 data bits, no parity and one stop bit.
        close();
        return "the port refuses the line settings " + settings;
    }
    m_port.clear(QSerialPort::AllDirections);
    m_port.readAll();
    return std::nullopt;
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
