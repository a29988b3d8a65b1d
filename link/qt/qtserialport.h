#pragma once

#include "portdiagnosis.h"
#include "serialport.h"
#include "hostportsystem.h"

#include <QObject>
#include <QSerialPort>

#include <filesystem>

namespace Dravix {

// The serial port on Qt SerialPort; port N is the entry COM<N> of the working folder if there
// is one, else the platform's N-th port.
class QtSerialPort : public QObject, public SerialPort
{
    Q_OBJECT

public:
    explicit QtSerialPort(std::filesystem::path workingFolder, QObject *parent = nullptr);
    ~QtSerialPort() override;

    std::optional<std::string> open(int portNumber, const std::string &settings) override;
    void write(const Bytes &bytes) override;
    Bytes readAll() override;
    void close() override;
    PortNote openNote() const override;
    std::string portTarget(int portNumber) const override;

    // The path that port N opens.
    QString portPath(int portNumber) const;
    bool isOpen() const { return m_port.isOpen(); }
    PortCause openCause() const { return m_cause; }

private:
    void handleError(QSerialPort::SerialPortError error);
    // Opens and locks the port; the outcome of the attempt.
    PortAttempt::Outcome openLocked(PortAttempt &attempt);
    std::string folderEntry(int portNumber) const;
    std::optional<std::string> settle(const PortAttempt &attempt, std::string failure);

    std::filesystem::path m_workingFolder;
    QSerialPort m_port;
    bool m_gone = false;
    HostPortSystem m_system;
    PortDiagnosis m_diagnosis{m_system};
    std::optional<PortAttempt> m_attempt;
    PortCause m_cause = PortCause::Other;
};

} // namespace Dravix
