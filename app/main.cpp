#include "mainwindow.h"
#include "mainwindowlogic.h"
#include "qtplatform.h"
#include "qtserialport.h"
#include "workdir.h"

#include <QApplication>
#include <QScreen>

#include <filesystem>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dravix"));

    std::error_code error;
    const WorkDir dir(std::filesystem::current_path(error));
    QtSerialPort port(dir.folder());
    QtPlatform platform;
    MainWindowLogic logic(dir, port, platform);
    MainWindow window(logic);

    platform.setMessageParent(&window);
    platform.setRefresh([&window] { window.sync(); });
    platform.setTimerHandler([&logic, &window](ExchangeTimer timer) {
        logic.timerFired(timer);
        window.sync();
    });

    logic.load();
    window.sync();
    if (const QScreen *screen = window.screen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
    window.show();
    return QApplication::exec();
}
