#include "benchhost.h"
#include "exchange.h"
#include "modelstate.h"
#include "qtserialport.h"
#include "timingport.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace Dravix;

// Read exchanges against dravix-sim: the time from the request written to the reply taken.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const int runs = arguments.size() > 1 ? arguments.at(1).toInt() : 50;
    const QString simulator =
        arguments.size() > 2 ? arguments.at(2) : QStringLiteral(DRAVIX_SIM_PATH);

    QTemporaryDir folder;
    QProcess sim;
    sim.setWorkingDirectory(folder.path());
    sim.start(simulator, {QStringLiteral("--port"), QStringLiteral("1")});
    bool ready = false;
    while (!ready && sim.waitForReadyRead(3000))
        ready = sim.readAll().contains("ready ");
    if (!ready) {
        std::fprintf(stderr, "dravix-sim did not start: %s\n", qPrintable(simulator));
        return 1;
    }

    ModelState state;
    state.DeviceCode = 0x05;
    QtSerialPort serial(folder.path().toStdString());
    TimingPort port(serial);
    Exchange *exchange = nullptr;
    BenchHost host(exchange);
    Exchange realExchange(state, port, host, host);
    exchange = &realExchange;

    state.PortAvailable = realExchange.TestPort("1");
    if (state.PortAvailable != 1) {
        std::fprintf(stderr, "the simulator's port does not open\n");
        return 1;
    }
    int good = 0;
    for (int i = 0; i < runs; ++i) {
        realExchange.StartRead();
        host.waitForEnd();
        good += host.lastMessage == "Parametry odczytane poprawnie!";
    }
    sim.terminate();
    sim.waitForFinished(3000);

    std::vector<double> delays = port.delaysMs;
    if (delays.empty())
        return 1;
    std::sort(delays.begin(), delays.end());
    const double median = delays.size() % 2
                              ? delays[delays.size() / 2]
                              : (delays[delays.size() / 2 - 1] + delays[delays.size() / 2]) / 2;
    std::printf("read exchanges: %d, replies read correctly: %d\n", runs, good);
    std::printf("request written -> reply taken: median %.2f ms, min %.2f ms, max %.2f ms\n",
                median, delays.front(), delays.back());
    return 0;
}
