#include "figures.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <optional>

using namespace Dravix;

namespace {

struct Run
{
    double mainToPaintMs = 0;
    double spawnToPaintMs = 0;
    double peakRssMb = 0;
    int width = 0;
    int height = 0;
};

std::optional<Run> runOnce(const QString &program, const QStringList &arguments,
                           const QString &folder, const QProcessEnvironment &environment)
{
    QProcess child;
    child.setWorkingDirectory(folder);
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::SeparateChannels);
    const auto spawned = std::chrono::steady_clock::now();
    child.start(program, arguments);
    if (!child.waitForFinished(30000) || child.exitCode() != 0) {
        std::fprintf(stderr, "%s failed: %s\n", qPrintable(program),
                     child.readAllStandardError().constData());
        return std::nullopt;
    }
    const QString output = QString::fromLocal8Bit(child.readAllStandardOutput());
    const auto field = [&output](const char *name) {
        const QRegularExpression pattern(QString::fromLatin1(name) + QStringLiteral("=(\\S+)"));
        return pattern.match(output).captured(1);
    };
    Run run;
    run.mainToPaintMs = field("main_to_paint_us").toDouble() / 1000.0;
    const auto paintedAt = std::chrono::steady_clock::time_point(
        std::chrono::nanoseconds(field("painted_at_ns").toLongLong()));
    run.spawnToPaintMs = std::chrono::duration<double, std::milli>(paintedAt - spawned).count();
    run.peakRssMb = field("peak_rss_kb").toDouble() / 1024.0;
    run.width = field("width").toInt();
    run.height = field("height").toInt();
    if (run.mainToPaintMs <= 0 || run.peakRssMb <= 0) {
        std::fprintf(stderr, "%s reported nothing: %s\n", qPrintable(program), qPrintable(output));
        return std::nullopt;
    }
    return run;
}

} // namespace

// Start-up time and peak memory of Dravix, with a state file and an eight-slot description to
// restore, against a bare Qt Widgets window of the same size; each start is a process of its
// own, and the two alternate.
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const int runs = arguments.value(1, QStringLiteral("20")).toInt();

    QTemporaryDir folder;
    const QString description = QStringLiteral(DRAVIX_EXAMPLES_DIR "/regulator-rt8.set");
    if (!QFile::copy(description, folder.filePath(QStringLiteral("regulator-rt8.set")))) {
        std::fprintf(stderr, "cannot copy %s\n", qPrintable(description));
        return 1;
    }
    QFile state(folder.filePath(QStringLiteral("sesja.dat")));
    if (!state.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "cannot write sesja.dat\n");
        return 1;
    }
    state.write("konfig=regulator-rt8.set\r\nparametr1=215\r\nparametr2=15\r\nparametr3=-3\r\n"
                "parametr4=1200\r\nparametr5=30\r\nparametr6=-150\r\nparametr7=0\r\n"
                "parametr8=0\r\nwybor1=0\r\nwybor2=1\r\nzestaw= 1\r\n");
    state.close();

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!environment.contains(QStringLiteral("QT_QPA_PLATFORM")))
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const QString platform = environment.value(QStringLiteral("QT_QPA_PLATFORM"));

    const QString dir = QCoreApplication::applicationDirPath();
    const QString dravix = dir + QStringLiteral("/bench_startup_dravix");
    const QString bare = dir + QStringLiteral("/bench_startup_bare");

    // One start of each, not counted, brings the libraries into the page cache.
    const std::optional<Run> first = runOnce(dravix, {}, folder.path(), environment);
    if (!first)
        return 1;
    const QStringList size = {QString::number(first->width), QString::number(first->height)};
    if (!runOnce(bare, size, folder.path(), environment))
        return 1;

    const QStringList sizeAndText = size + QStringList{QStringLiteral("MODEL URZĄDZENIA: ???")};

    std::vector<double> dravixPaint, barePaint, dravixSpawn, bareSpawn, dravixRss, bareRss;
    std::vector<double> paintRatios, rssRatios, textPaint, textRss;
    for (int i = 0; i < runs; ++i) {
        // The order alternates too, so that neither side always runs second.
        std::optional<Run> d, b;
        if (i % 2 == 0) {
            d = runOnce(dravix, {}, folder.path(), environment);
            b = runOnce(bare, size, folder.path(), environment);
        } else {
            b = runOnce(bare, size, folder.path(), environment);
            d = runOnce(dravix, {}, folder.path(), environment);
        }
        const std::optional<Run> t = runOnce(bare, sizeAndText, folder.path(), environment);
        if (!d || !b || !t)
            return 1;
        textPaint.push_back(t->mainToPaintMs);
        textRss.push_back(t->peakRssMb);
        dravixPaint.push_back(d->mainToPaintMs);
        barePaint.push_back(b->mainToPaintMs);
        dravixSpawn.push_back(d->spawnToPaintMs);
        bareSpawn.push_back(b->spawnToPaintMs);
        dravixRss.push_back(d->peakRssMb);
        bareRss.push_back(b->peakRssMb);
        paintRatios.push_back(d->mainToPaintMs / b->mainToPaintMs);
        rssRatios.push_back(d->peakRssMb / b->peakRssMb);
    }
    if (!QFile::exists(folder.filePath(QStringLiteral("sesja.dat"))))
        std::printf("warning: sesja.dat disappeared during the runs\n");

    const auto n = std::size_t(runs);
    const Figures dp = Figures::of(dravixPaint), bp = Figures::of(barePaint);
    const Figures dr = Figures::of(dravixRss), br = Figures::of(bareRss);
    std::printf("Start-up and memory: Dravix (sesja.dat + eight-slot description restored) "
                "vs a bare %dx%d Qt Widgets window; platform %s; %d interleaved runs each\n",
                first->width, first->height, qPrintable(platform), runs);
    dp.print("Dravix main -> first paint", "ms", n);
    bp.print("bare window main -> first paint", "ms", n);
    Figures::of(paintRatios).print("pairwise ratio (Dravix / bare)", "", n);
    // The toolkit's floor for a window with text: a bare window that shows one label.
    const Figures tp = Figures::of(textPaint);
    tp.print("bare window + one label main -> first paint", "ms", n);
    std::printf("  START-UP RATIO Dravix / (bare window + one label) %.3f   target <= 1.15\n",
                dp.median / tp.median);
    Figures::of(dravixSpawn).print("Dravix process spawn -> first paint", "ms", n);
    Figures::of(bareSpawn).print("bare window process spawn -> first paint", "ms", n);
    dr.print("Dravix peak RSS (VmHWM)", "MiB", n);
    br.print("bare window peak RSS (VmHWM)", "MiB", n);
    Figures::of(rssRatios).print("pairwise ratio (Dravix / bare)", "", n);
    const Figures tr = Figures::of(textRss);
    tr.print("bare window + one label peak RSS (VmHWM)", "MiB", n);
    std::printf("  MEMORY RATIO Dravix / (bare window + one label)   %.3f   target <= 1.1\n",
                dr.median / tr.median);
    return 0;
}
