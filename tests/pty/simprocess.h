#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>

namespace Dravix {

// dravix-sim started in a folder, with its printed lines collected.
class SimProcess
{
public:
    // True once the simulator has printed its ready line; a new start forgets the old lines.
    bool start(const QString &folder, const QStringList &arguments)
    {
        m_lines.clear();
        m_process.setWorkingDirectory(folder);
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start(QStringLiteral(DRAVIX_SIM_PATH), arguments);
        if (!m_process.waitForStarted(3000))
            return false;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 5000) {
            collect();
            for (const QString &line : m_lines) {
                if (line.startsWith(QLatin1String("ready ")))
                    return true;
            }
            if (m_process.state() != QProcess::Running)
                return false;
            m_process.waitForReadyRead(100);
        }
        return false;
    }

    QStringList lines()
    {
        collect();
        return m_lines;
    }
    // The hex of the frames printed with a label ("rx", "tx"), timestamps stripped.
    QStringList frames(const QString &label)
    {
        QStringList result;
        for (const QString &line : lines()) {
            const QString prefix = label + QLatin1Char(' ');
            const qsizetype space = line.indexOf(QLatin1Char(' '));
            if (space > 0 && line.mid(space + 1).startsWith(prefix))
                result << line.mid(space + 1 + prefix.size());
        }
        return result;
    }
    QString errors() { return QString::fromLocal8Bit(m_process.readAllStandardError()); }

    void terminate()
    {
        m_process.terminate();
        m_process.waitForFinished(3000);
    }
    void kill()
    {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
    QProcess &process() { return m_process; }

    ~SimProcess()
    {
        if (m_process.state() != QProcess::NotRunning)
            kill();
    }

private:
    void collect()
    {
        m_process.waitForReadyRead(0);
        while (m_process.canReadLine())
            m_lines << QString::fromLatin1(m_process.readLine()).trimmed();
    }

    QProcess m_process;
    QStringList m_lines;
};

} // namespace Dravix
