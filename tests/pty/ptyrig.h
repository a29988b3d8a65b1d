#pragma once

#include "scratchfolder.h"
#include "simprocess.h"

#include "exchange.h"
#include "modelstate.h"
#include "qtserialport.h"

#include <QFileInfo>
#include <QTest>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace Dravix {

// A fresh working folder with the real serial port, the exchanges and a host of type Host,
// ready for dravix-sim; the folder is the current directory while the rig lives.
template <typename Host> class PtyRig
{
public:
    // Why these tests cannot run here; empty when they can.
    static QString unavailableReason()
    {
        const int master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0)
            return QStringLiteral("no pseudo-terminals here (posix_openpt failed)");
        ::close(master);
        if (!QFileInfo::exists(QStringLiteral(DRAVIX_SIM_PATH)))
            return QStringLiteral("dravix-sim has not been built");
        return {};
    }

    PtyRig()
        : port(folder.work().toStdString())
        , exchange(state, port, host, host)
    {
        state.DeviceCode = 0x05;
        host.system = &port.system();
        host.attach(exchange);
    }
    ~PtyRig() { exchange.abandon(); }

    bool startSim(const QStringList &options) { return sim.start(folder.work(), options); }

    bool portReady()
    {
        state.PortAvailable = exchange.TestPort("1");
        return state.PortAvailable == 1;
    }

    // Runs one exchange to its end; its one message, or what went wrong instead.
    QString runExchange(bool write, int timeoutMs)
    {
        const int before = host.ended;
        host.messages.clear();
        write ? exchange.StartWrite() : exchange.StartRead();
        if (!QTest::qWaitFor([&] { return host.ended > before; }, timeoutMs))
            return QStringLiteral("no end of the exchange");
        if (host.ended != before + 1)
            return QStringLiteral("%1 ends").arg(host.ended - before);
        return host.messages.size() == 1 ? QString::fromStdString(host.messages[0])
                                         : QStringLiteral("%1 messages").arg(host.messages.size());
    }

    ScratchFolder folder;
    ModelState state;
    Host host;
    QtSerialPort port;
    Exchange exchange;
    SimProcess sim;
};

} // namespace Dravix
