#include "figures.h"
#include "mainwindow.h"
#include "mainwindowlogic.h"
#include "program.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <cstdio>

using namespace Dravix;

// Typing: one keystroke into a parameter entry of the main window, its validation (the
// entry's colour follows its range) and the repaint.
int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int keystrokes = QApplication::arguments().value(1, QStringLiteral("2000")).toInt();

    QTemporaryDir folder;
    QFile::copy(QStringLiteral(DRAVIX_EXAMPLES_DIR "/regulator-rt8.set"),
                folder.filePath(QStringLiteral("regulator-rt8.set")));
    QFile state(folder.filePath(QStringLiteral("sesja.dat")));
    if (!state.open(QIODevice::WriteOnly))
        return 1;
    state.write("konfig=regulator-rt8.set\r\nparametr1=215\r\nwybor1=0\r\nwybor2=0\r\n"
                "zestaw= 1\r\n");
    state.close();

    Program program(folder.path().toStdString());
    program.start();
    MainWindow &window = program.window();
    auto *entry = window.findChild<QLineEdit *>(QStringLiteral("EdycjaParametru_0"));
    if (!entry || !QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the main window or its first entry was not shown\n");
        return 1;
    }
    window.activateWindow();
    entry->setFocus();
    entry->end(false);

    // "215" + "5" is out of range (0 ... 850) and turns red; the backspace makes it white
    // again, so every keystroke changes the entry's colour.
    using Clock = std::chrono::steady_clock;
    std::vector<double> times;
    int rejected = 0;
    for (int i = -100; i < keystrokes; ++i) {
        const Qt::Key key = i % 2 ? Qt::Key_Backspace : Qt::Key_5;
        const auto start = Clock::now();
        QTest::keyClick(entry, key);
        entry->repaint();
        QCoreApplication::processEvents();
        const double us = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
        if (i < 0)
            continue;
        times.push_back(us / 1000.0);
        rejected += program.logic().state().InvalidEntries & 1;
    }
    std::printf("Typing into EdycjaParametru_0 of the main window: keyClick, validation, "
                "repaint (QT_QPA_PLATFORM=%s)\n",
                qgetenv("QT_QPA_PLATFORM").constData());
    std::printf("  keystrokes %d, of which left the entry rejected: %d (expected %d); "
                "final text \"%s\"\n",
                keystrokes, rejected, keystrokes / 2, qPrintable(entry->text()));
    const Figures figures = Figures::of(times);
    figures.print("one keystroke validated and repainted", "ms", times.size());
    std::printf("  KEYSTROKE (median)                %.3f ms   target < 1 ms\n", figures.median);
    return 0;
}
