#pragma once

#include "hostportsystem.h"
#include "serialport.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSerialPort>

#include <filesystem>
#include <optional>
#include <string>

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
    std::optional<PortLoss> loss() const override { return m_loss; }
    const PortSystem &system() const override { return m_system; }
    std::vector<std::string> watchedFolders(int portNumber) const override;

    bool isOpen() const { return m_port.isOpen(); }

    enum class System { Unix, Windows };
    enum class ErrorEffect {
        Ignored,
        Kept, // the system's words, for the attempt that is being made to tell
        Lost, // the device is gone: the port is closed at once and tells so
    };
    // What an error of the toolkit's port means, on a port that is open and set up (ready) or
    // still being opened. Windows ends a port's reading and writing after any error of either,
    // and a pulled-out adapter reports several system errors, most of them as UnknownError; on
    // Unix a pulled-out adapter reports a resource error, and a hung-up line read errors.
    static ErrorEffect errorEffect(System system, QSerialPort::SerialPortError error, bool ready,
                                   bool hungUp);

private:
    void handleError(QSerialPort::SerialPortError error);
    void take();
    // Opens and locks the port; the outcome of the attempt.
    PortAttempt::Outcome openLocked(PortAttempt &attempt);
    PortAttempt::ControlLines raiseControlLines();
    // Closes a port whose device went, unless a call into it is under way: then when it returns.
    void closeLost();

    // A call into the toolkit's port, during which a lost device's port is not closed.
    class Call
    {
    public:
        explicit Call(QtSerialPort &port);
        ~Call();

    private:
        QtSerialPort &m_owner;
    };

    std::filesystem::path m_workingFolder;
    QSerialPort m_port;
    bool m_ready = false; // open, set up, and handed to the exchange
    int m_calls = 0;
    std::optional<PortLoss> m_loss;
    std::string m_errorText; // the last error kept while opening
    HostPortSystem m_system;
    QElapsedTimer m_sent;
    Arrivals m_arrivals;
};

} // namespace Dravix
