#pragma once

#include "serialport.h"

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

    // The path that port N opens.
    QString portPath(int portNumber) const;
    bool isOpen() const { return m_port.isOpen(); }

private:
    void handleError(QSerialPort::SerialPortError error);

    std::filesystem::path m_workingFolder;
    QSerialPort m_port;
    bool m_gone = false;
};

} // namespace Dravix
