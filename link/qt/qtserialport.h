#pragma once

#include "hostportsystem.h"
#include "serialport.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSerialPort>

#include <filesystem>

namespace Dravix {

// The serial port on Qt SerialPort. On Windows port N is COM<N>; elsewhere it is the entry COM<N>
// of the working folder if there is one, else /dev/ttyS<N-1>. Bytes are taken as they arrive,
// so that each piece keeps its time.
class QtSerialPort : public QObject, public SerialPort
{
    Q_OBJECT

public:
    explicit QtSerialPort(std::filesystem::path workingFolder, QObject *parent = nullptr);
    ~QtSerialPort() override;

    PortLocation locate(int portNumber) const override;
    PortAttempt open(int portNumber, const std::string &settings) override;
    void write(const Bytes &bytes) override;
    Arrivals readAll() override;
    void close() override;
    const PortSystem &system() const override { return m_system; }
    std::vector<std::string> watchedFolders(int portNumber) const override;

    bool isOpen() const { return m_port.isOpen(); }

private:
    void handleError(QSerialPort::SerialPortError error);
    void take();
    // Opens and locks the port; the outcome of the attempt.
    PortAttempt::Outcome openLocked(PortAttempt &attempt);

    std::filesystem::path m_workingFolder;
    QSerialPort m_port;
    bool m_gone = false;
    HostPortSystem m_system;
    QElapsedTimer m_sent;
    Arrivals m_arrivals;
};

} // namespace Dravix
