#include "program.h"

#include <QApplication>

#include <filesystem>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);

    std::error_code error;
    Dravix::Program program(std::filesystem::current_path(error));
    program.start();
    return QApplication::exec();
}
