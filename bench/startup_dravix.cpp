#include "program.h"
#include "mainwindow.h"
#include "startupreport.h"

#include <QApplication>

#include <filesystem>

using namespace Dravix;

// One start of Dravix in the current folder, built the way the program's main() builds it;
// reports when the main window first paints.
int main(int argc, char *argv[])
{
    const auto started = StartupReport::Clock::now();
    QApplication app(argc, argv);

    std::error_code error;
    Program program(std::filesystem::current_path(error));
    StartupReport report(program.window(), started);
    program.start();
    return QApplication::exec();
}
