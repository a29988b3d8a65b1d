#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include <memory>
#include <string>
#include <vector>

class QAbstractNativeEventFilter;

namespace Dravix {

// Tells, once things have settled, that a folder where the chosen port's device would appear,
// go or be linked has changed, or that Windows reported a device arriving or leaving. It waits
// on the system's notifications and never polls.
class PortWatcher : public QObject
{
    Q_OBJECT

public:
    explicit PortWatcher(QObject *parent = nullptr);
    ~PortWatcher() override;

    // The folders to watch from now on; the same list again changes nothing.
    void watch(const std::vector<std::string> &folders);

signals:
    void changed();

private:
    QFileSystemWatcher m_folders;
    QTimer m_settle;
    std::vector<std::string> m_watched;
    std::unique_ptr<QAbstractNativeEventFilter> m_deviceEvents;
};

} // namespace Dravix
