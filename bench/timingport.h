#pragma once

#include "serialport.h"

#include <QElapsedTimer>

#include <vector>

namespace Dravix {

// Passes everything to a real port and times each request from its write to the taking of
// the reply.
class TimingPort : public SerialPort
{
public:
    explicit TimingPort(SerialPort &port)
        : m_port(port)
    {
        m_clock.start();
    }

    PortLocation locate(int portNumber) const override { return m_port.locate(portNumber); }
    PortAttempt open(int portNumber, const std::string &settings) override
    {
        return m_port.open(portNumber, settings);
    }
    void write(const Bytes &bytes) override
    {
        m_port.write(bytes);
        m_sentAt = m_clock.nsecsElapsed();
    }
    Arrivals readAll() override
    {
        const qint64 takenAt = m_clock.nsecsElapsed();
        delaysMs.push_back(double(takenAt - m_sentAt) / 1e6);
        return m_port.readAll();
    }
    void close() override { m_port.close(); }
    const PortSystem &system() const override { return m_port.system(); }
    std::vector<std::string> watchedFolders(int portNumber) const override
    {
        return m_port.watchedFolders(portNumber);
    }

    std::vector<double> delaysMs;

private:
    SerialPort &m_port;
    QElapsedTimer m_clock;
    qint64 m_sentAt = 0;
};

} // namespace Dravix
