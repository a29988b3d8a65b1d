#include "windowfixture.h"
#include "outcomemessages.h"

#include "frames.h"
#include "staterecord.h"

#include <QTest>

#include <memory>
#include <random>

using namespace Dravix;

namespace {

const std::string kReadDone = OutcomeMessages::kReadDone;
const std::string kWriteDone = OutcomeMessages::kWriteDone;
const std::string kNoReply = OutcomeMessages::kNoReply;
const std::string kWrongDevice = OutcomeMessages::kWrongDevice;
const std::string kUnavailable = OutcomeMessages::kPortUnavailable;
const std::vector<std::string> kOutcomes{kReadDone,
                                         kWriteDone,
                                         kNoReply,
                                         kWrongDevice,
                                         "Blad transmisji ramki!",
                                         "Zapisanie parametrow do urzadzenia nie powiodlo sie!"};

// Steps, each one user action: R, W clicks on the exchange buttons; P0..P2 choose a port entry,
// P- none; L0 chooses line settings; Dabc, Dxyz a description through the chooser; Va, Vb load a
// value file through its dialog; T fires the armed timer with a sound reply, T0 with nothing;
// E edits entry 1 to a rejected text; x makes the port refuse to open, o lets it open again;
// X closes the window.
const QStringList kStormSteps{"R",  "W",  "P0", "P1", "P2", "P-", "L0", "Dabc", "Dxyz",
                              "Va", "Vb", "T",  "T",  "T0", "E",  "x",  "o"};

} // namespace

// Clicks, port changes, description choices and value-file loads while an exchange is pending,
// also from inside the message box and the single event pass: the port is never used while
// closed, no timer outlives its exchange, each outcome is shown once, and a port test put off
// by the exchange runs once after it.
class tst_Storms : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> m_f;
    QStringList m_violations;
    std::vector<QStringList> m_hookSteps; // [0] in the next message box, [1] in the next pass
    bool m_changedWhilePending = false;
    bool m_closed = false;
    int m_depth = 0;
    int m_nestedMessages = 0;

    void violation(const QString &step, const QString &what)
    {
        m_violations << QStringLiteral("%1: %2").arg(step, what);
    }

    void runNested(int hook)
    {
        const QStringList steps = m_hookSteps[hook];
        m_hookSteps[hook].clear();
        for (const QString &step : steps)
            act(step);
    }

    void perform(const QString &step)
    {
        MainWindowLogic &main = m_f->main;
        if (step == "R") {
            main.clickRead();
        } else if (step == "W") {
            main.clickWrite();
        } else if (step.startsWith('P')) {
            main.choosePort(step == "P-" ? -1 : step.mid(1).toInt());
        } else if (step == "L0") {
            main.chooseLineSettings(0);
        } else if (step.startsWith('D')) {
            m_f->chooseDescription(step.mid(1).toStdString() + ".set");
        } else if (step.startsWith('V')) {
            main.clickValueFiles();
            m_f->values().doubleClickEntry(
                WindowFixture::indexOf(m_f->values().files(), step.mid(1).toStdString() + ".vq"));
        } else if (step.startsWith('T')) {
            const auto &armed = m_f->platform.armed;
            if (armed.empty())
                return;
            const ExchangeTimer timer = *armed.begin();
            const std::uint8_t code = main.state().DeviceCode;
            if (step == "T0")
                m_f->port.reply.clear();
            else if (timer == ExchangeTimer::Timer1)
                m_f->port.reply = buildShortFrame(code, kWriteCommand);
            else
                m_f->port.reply = buildLongFrame(code, kReadCommand, {1, 2, 3, 4, 5, 6, 7, 8});
            main.timerFired(timer);
        } else if (step == "E") {
            main.editEntry(0, "abc");
        } else if (step == "x" || step == "o") {
            m_f->port.opens = step == "o";
        } else if (step == "X") {
            main.close();
            m_closed = true;
        }
    }

    // One step, with the checks that hold around every step at any depth.
    void act(const QString &step)
    {
        if (m_closed)
            return;
        MainWindowLogic &main = m_f->main;
        const bool pendingBefore = main.exchange().isPending();
        const bool fires = step.startsWith('T') && !m_f->platform.armed.empty();
        const std::size_t messagesBefore = m_f->platform.messages.size();
        const std::size_t opensBefore = m_f->port.openedNumbers.size();
        const int nestedBefore = m_nestedMessages;
        const bool changesPort =
            step.startsWith('P') || step.startsWith('D') || step.startsWith('V');
        if (changesPort && pendingBefore)
            m_changedWhilePending = true;

        ++m_depth;
        perform(step);
        --m_depth;

        const bool pending = main.exchange().isPending();
        const int shown = int(m_f->platform.messages.size() - messagesBefore);
        const int own = shown - (m_nestedMessages - nestedBefore);
        m_nestedMessages = nestedBefore + shown;
        const int opens = int(m_f->port.openedNumbers.size() - opensBefore);

        if (m_f->port.useWhileClosed != 0)
            violation(step, "the port was used while closed");
        if (!pending && (m_f->port.isOpen || !m_f->platform.armed.empty()))
            violation(step, "no exchange, yet the port is open or a timer armed");
        if (pending && !m_f->port.isOpen)
            violation(step, "an exchange is pending on a closed port");
        if (pending && m_depth == 0 && m_f->platform.armed.size() != 1)
            violation(step, "a waiting exchange without exactly one armed timer");
        if (own > 1)
            violation(step, QStringLiteral("%1 messages for one step").arg(own));
        if (fires && !m_closed) {
            const bool outcome =
                shown > 0 && std::find(kOutcomes.begin(), kOutcomes.end(),
                                       m_f->platform.messages[messagesBefore]) != kOutcomes.end();
            if (own != 1 || !outcome)
                violation(step, "the exchange ended without exactly one outcome message");
            if (pending)
                violation(step, "the exchange did not end");
            // Port changes made while it was pending, in its message box or event pass too.
            const bool tests = m_changedWhilePending && !main.ports().selectedText().empty();
            if (opens != (tests ? 1 : 0))
                violation(step, QStringLiteral("%1 port tests after the exchange").arg(opens));
            m_changedWhilePending = false;
        } else if (pendingBefore && opens != 0) {
            violation(step, "the port was opened while an exchange was pending");
        }
    }

    QStringList run(const QString &steps)
    {
        for (const QString &step : steps.split(' ', Qt::SkipEmptyParts)) {
            act(step);
            if (!m_violations.isEmpty())
                break;
        }
        return m_violations;
    }

    // The port numbers opened since the set-up, and the messages shown.
    QString opened() const
    {
        QStringList numbers;
        for (std::size_t i = m_opensAtStart; i < m_f->port.openedNumbers.size(); ++i)
            numbers << QString::number(m_f->port.openedNumbers[i]);
        return numbers.join(' ');
    }
    QStringList messages() const
    {
        QStringList texts;
        for (const std::string &text : m_f->platform.messages)
            texts << QString::fromStdString(text);
        return texts;
    }

    std::size_t m_opensAtStart = 0;

private slots:
    void init()
    {
        m_f = std::make_unique<WindowFixture>();
        QVERIFY(m_f->folder.isValid());
        StateRecord a{"abc.set", {"1", "1", "1", "1", "1", "1", "1", "1"}, 1, 0, 1};
        StateRecord b{"xyz.set", {"2", "2", "2", "2", "2", "2", "2", "2"}, 0, 0, 2};
        QVERIFY(m_f->folder.writeBytes("a.vq", formatStateRecord(a)));
        QVERIFY(m_f->folder.writeBytes("b.vq", formatStateRecord(b)));
        m_f->main.load();
        m_f->chooseDescription("abc.set");
        m_f->main.choosePort(0);
        QCOMPARE(m_f->main.state().PortAvailable, std::int16_t(1));
        m_f->platform.messages.clear();
        m_opensAtStart = m_f->port.openedNumbers.size();
        m_hookSteps.assign(2, {});
        m_f->platform.onMessage = [this](const std::string &) { runNested(0); };
        m_f->platform.onEvents = [this] { runNested(1); };
        m_violations.clear();
        m_changedWhilePending = false;
        m_closed = false;
        m_depth = 0;
        m_nestedMessages = 0;
    }
    void cleanup() { m_f.reset(); }

    void interleavings_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("inMessage"); // steps taken inside the first message box
        QTest::addColumn<QString>("inEvents");  // steps taken inside the first event pass
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("opened"); // port numbers, in the order they were opened
        const QString read = QString::fromStdString(kReadDone);
        const QString write = QString::fromStdString(kWriteDone);
        const QString unavailable = QString::fromStdString(kUnavailable);

        QTest::newRow("both buttons while waiting") << "R R W W R T"
                                                    << ""
                                                    << "" << QStringList{read} << "1";
        QTest::newRow("port changed while waiting: one test after")
            << "R P1 T"
            << ""
            << "" << QStringList{read} << "1 2";
        QTest::newRow("port chosen three times while waiting: one test after")
            << "W P2 P0 P2 T"
            << ""
            << "" << QStringList{write} << "1 3";
        QTest::newRow("buttons and a port in the event pass")
            << "W T"
            << ""
            << "R W P2" << QStringList{write} << "1 3";
        QTest::newRow("buttons and a port in the outcome message")
            << "R T0"
            << "W R P1"
            << "" << QStringList{kNoReply.c_str()} << "1 2";
        QTest::newRow("description chosen in the message: the lists are empty after")
            << "R T"
            << "Dxyz"
            << "" << QStringList{read} << "1";
        QTest::newRow("value file loaded while waiting") << "R Va T"
                                                         << ""
                                                         << "" << QStringList{read} << "1 2";
        QTest::newRow("value file of another device loaded in the event pass")
            << "W T"
            << ""
            << "Vb" << QStringList{kWrongDevice.c_str()} << "1 7";
        QTest::newRow("description and value file while waiting, then a read")
            << "R Dxyz Vb L0 T R T"
            << ""
            << "" << QStringList{read, read} << "1 7 7";
        QTest::newRow("rejected entry while a read waits; the read mends it")
            << "R E W T W T"
            << ""
            << "" << QStringList{read, write} << "1 1";
        QTest::newRow("refused read, port chosen and read started in its message")
            << "P- R T"
            << "P0 R"
            << "" << QStringList{unavailable, read} << "1 1";
        QTest::newRow("port taken by another program at the start")
            << "x R o P0 W T"
            << ""
            << "" << QStringList{unavailable, write} << "1 1 1";
        QTest::newRow("port gone for the put-off test") << "R P1 x T o P1"
                                                        << ""
                                                        << "" << QStringList{read} << "1 2 2";
        QTest::newRow("window closed in the outcome message") << "R P1 T"
                                                              << "X"
                                                              << "" << QStringList{read} << "1";
        QTest::newRow("window closed in the event pass") << "W T"
                                                         << ""
                                                         << "X" << QStringList{} << "1";
    }
    void interleavings()
    {
        QFETCH(QString, steps);
        QFETCH(QString, inMessage);
        QFETCH(QString, inEvents);
        m_hookSteps[0] = inMessage.split(' ', Qt::SkipEmptyParts);
        m_hookSteps[1] = inEvents.split(' ', Qt::SkipEmptyParts);

        QCOMPARE(run(steps), QStringList{});
        QTEST(messages(), "shown");
        QTEST(opened(), "opened");
        QVERIFY(!m_f->main.exchange().isPending());
        QVERIFY(m_f->platform.armed.empty());
        QVERIFY(!m_f->port.isOpen);
    }

    void seededStorm_data()
    {
        QTest::addColumn<unsigned>("seed");
        for (unsigned seed = 1; seed <= 20; ++seed)
            QTest::addRow("seed %u", seed) << seed;
    }
    void seededStorm()
    {
        QFETCH(unsigned, seed);
        std::mt19937 random(seed);
        const auto pick = [&] { return kStormSteps[int(random() % unsigned(kStormSteps.size()))]; };
        QStringList taken;
        for (int i = 0; i < 200; ++i) {
            // Now and then the next message box or event pass gets steps of its own.
            for (QStringList &hook : m_hookSteps) {
                if (random() % 4 == 0)
                    hook = QStringList{pick(), pick()};
            }
            const QString step = pick();
            taken << step;
            act(step);
            QVERIFY2(m_violations.isEmpty(),
                     qPrintable(m_violations.join('\n') + "\nafter " + taken.join(' ')));
        }
        // Time passes and the last exchange ends.
        m_hookSteps.assign(2, {});
        act("T");
        QVERIFY2(m_violations.isEmpty(), qPrintable(m_violations.join('\n')));
        QVERIFY(!m_f->main.exchange().isPending());
        QVERIFY(m_f->platform.armed.empty());
        QVERIFY(!m_f->port.isOpen);
    }
};

QTEST_APPLESS_MAIN(tst_Storms)
#include "tst_storms.moc"
