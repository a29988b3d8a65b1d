#include "startupreport.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

using namespace Dravix;

// One start of a bare Qt Widgets window of the given size; reports when it first paints. With
// a third argument, the window shows that text in a label: the toolkit's floor with text.
int main(int argc, char *argv[])
{
    const auto started = StartupReport::Clock::now();
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const int width = arguments.value(1, QStringLiteral("718")).toInt();
    const int height = arguments.value(2, QStringLiteral("456")).toInt();

    QWidget window;
    window.setFixedSize(width, height);
    if (arguments.size() > 3)
        (new QLabel(arguments.at(3), &window))->move(10, 10);
    StartupReport report(window, started);
    window.show();
    return QApplication::exec();
}
