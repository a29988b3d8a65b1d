#pragma once

#include <filesystem>
#include <memory>

namespace Dravix {

class MainWindow;
class MainWindowLogic;
class QtPlatform;
class QtSerialPort;
class DiskWorkDir;

// The program's parts wired together, and its name given to the application: one place for the
// program and its benchmarks to start it. Needs the application object.
class Program
{
public:
    explicit Program(const std::filesystem::path &folder);
    ~Program();

    // Loads the state, mirrors it into the window, centres the window on its screen, shows it.
    void start();

    MainWindowLogic &logic() { return *m_logic; }
    MainWindow &window() { return *m_window; }

private:
    std::unique_ptr<DiskWorkDir> m_dir;
    std::unique_ptr<QtSerialPort> m_port;
    std::unique_ptr<QtPlatform> m_platform;
    std::unique_ptr<MainWindowLogic> m_logic;
    std::unique_ptr<MainWindow> m_window;
};

} // namespace Dravix
