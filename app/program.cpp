#include "program.h"

#include "designfont.h"
#include "mainwindow.h"
#include "mainwindowlogic.h"
#include "messages.h"
#include "qtplatform.h"
#include "qtserialport.h"
#include "windowplacement.h"
#include "diskworkdir.h"

#include <QApplication>
#include <QToolTip>

namespace Dravix {

Program::Program(const std::filesystem::path &folder)
    : m_dir(std::make_unique<DiskWorkDir>(folder))
    , m_port(std::make_unique<QtSerialPort>(m_dir->folder()))
    , m_platform(std::make_unique<QtPlatform>())
    , m_logic(std::make_unique<MainWindowLogic>(*m_dir, *m_port, *m_platform))
    , m_window(std::make_unique<MainWindow>(*m_logic))
{
    QGuiApplication::setApplicationName(QString::fromUtf8(Messages::kProgramName));
    QGuiApplication::setDesktopFileName(QStringLiteral(DRAVIX_APP_ID));
    // The notes in the tooltips in the windows' face, not the toolkit's default.
    QToolTip::setFont(designFont(QApplication::font(), kButtonPoints, false));
    MainWindow *window = m_window.get();
    MainWindowLogic *logic = m_logic.get();
    m_platform->setMessageParent([window] { return window->messageParent(); });
    m_platform->setRefresh([window] { window->sync(); });
    m_platform->setTimerHandler([logic, window](ExchangeTimer timer) {
        logic->timerFired(timer);
        window->sync();
    });
}

Program::~Program() = default;

void Program::start()
{
    m_logic->load();
    m_window->sync();
    WindowPlacement::centre(m_window.get());
    m_window->show();
}

} // namespace Dravix
