#include "portwatcher.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>

#include <chrono>

#ifdef Q_OS_WIN
#include <windows.h>

#include <dbt.h>
#endif

namespace Dravix {

namespace {

// A burst of changes (a device node, then its stable names) is told once.
constexpr auto kSettle = std::chrono::milliseconds{300};

#ifdef Q_OS_WIN
// The broadcast that every top-level window receives when a device arrives or leaves.
class DeviceEvents : public QAbstractNativeEventFilter
{
public:
    explicit DeviceEvents(QTimer &settle)
        : m_settle(settle)
    {
    }

    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *) override
    {
        if (type != "windows_generic_MSG")
            return false;
        const auto *msg = static_cast<const MSG *>(message);
        if (msg->message == WM_DEVICECHANGE &&
            (msg->wParam == DBT_DEVICEARRIVAL || msg->wParam == DBT_DEVICEREMOVECOMPLETE ||
             msg->wParam == DBT_DEVNODES_CHANGED))
            m_settle.start();
        return false;
    }

private:
    QTimer &m_settle;
};
#endif

} // namespace

PortWatcher::PortWatcher(QObject *parent)
    : QObject(parent)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettle);
    connect(&m_settle, &QTimer::timeout, this, &PortWatcher::changed);
    connect(&m_folders, &QFileSystemWatcher::directoryChanged, &m_settle,
            qOverload<>(&QTimer::start));
#ifdef Q_OS_WIN
    m_deviceEvents = std::make_unique<DeviceEvents>(m_settle);
    QCoreApplication::instance()->installNativeEventFilter(m_deviceEvents.get());
#endif
}

PortWatcher::~PortWatcher()
{
    if (m_deviceEvents && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(m_deviceEvents.get());
}

void PortWatcher::watch(const std::vector<std::string> &folders)
{
    if (folders == m_watched)
        return;
    m_watched = folders;
    if (const QStringList old = m_folders.directories(); !old.isEmpty())
        m_folders.removePaths(old);
    QStringList paths;
    for (const std::string &folder : folders)
        paths << QString::fromStdString(folder);
    if (!paths.isEmpty())
        m_folders.addPaths(paths);
}

} // namespace Dravix
