// Following the scans' files in a real window on the real event loop.
// - Reload latency: from the moment a new scan file has replaced the newest
//   one (or been written over it, or been put into its folder deleted and
//   made again) to the level plot's next paint with the new scan; should
//   stay under 1 s (the wait for the file to settle is 0.3 s of it).
// - Idle cost: the processor time of a window that follows two scans whose
//   files do not change, over 30 s, as a share of one core; should be 0.

#include "app/mainwindow.h"
#include "app/plotspanel.h"
#include "app/receiverwork.h"
#include "app/workspace.h"
#include "scan/scantext.h"
#include "support/windowelement.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTimer>

#include "benchsupport.h"

#include <algorithm>
#include <ctime>
#include <functional>

namespace {

QByteArray scanOfVersion(int version)
{
    ws::test::ScanShape shape;
    shape.level = [version](bool v, double f) { return (v ? 20 : 10) + 10 * version + f / 1e4; };
    return ws::test::scanText(shape);
}

double processCpuSeconds()
{
    return double(std::clock()) / CLOCKS_PER_SEC;
}

// Notes the first paint of a widget once `ready` holds.
class PaintWatch : public QObject
{
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && ready())
            painted = true;
        return false;
    }
    std::function<bool()> ready;
    bool painted = false;
};

struct FollowingWindow
{
    FollowingWindow()
    {
        QDir(dir.path()).mkdir(QStringLiteral("scans"));
        newest = ws::test::writeFile(dir, "scans/newest.scn", scanOfVersion(1));
        platform.next = newest;
        window.workspace().loadScan(ws::ScanSlot::Newest);
        platform.next = ws::test::writeFile(dir, "reference.scn", scanOfVersion(0));
        window.workspace().loadScan(ws::ScanSlot::Reference);
        window.show();
    }
    QTemporaryDir dir;
    QString newest;
    ws::bench::QuietPlatform platform;
    MainWindow window{platform.platform()};
};

void BM_ReloadLatency(benchmark::State &state)
{
    FollowingWindow f;
    PaintWatch watch;
    ws::test::element<QWidget>(f.window, ws::window::names::levelPlot)->installEventFilter(&watch);
    int version = 1;
    watch.ready = [&] { return f.window.workspace().scans().newest->maxLevel > 20 + 10 * version; };
    double longest = 0;
    for (auto _ : state) {
        ++version;
        const QByteArray bytes = scanOfVersion(version);
        QElapsedTimer timer;
        // In turn written in place, replaced by a rename, and written into
        // its folder deleted and made again.
        if (version % 3 == 0) {
            ws::test::writeFile(f.dir, "scans/newest.scn", bytes);
        } else if (version % 3 == 1) {
            QSaveFile save(f.newest);
            save.open(QIODevice::WriteOnly);
            save.write(bytes);
            save.commit();
        } else {
            QDir scans(f.dir.filePath(QStringLiteral("scans")));
            scans.removeRecursively();
            scans.mkpath(QStringLiteral("."));
            ws::test::writeFile(f.dir, "scans/newest.scn", bytes);
        }
        timer.start();
        watch.painted = false;
        while (!watch.painted && timer.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        state.SetIterationTime(timer.nsecsElapsed() / 1e9);
        longest = std::max(longest, timer.nsecsElapsed() / 1e6);
        if (timer.elapsed() >= 5000)
            state.SkipWithError("no reload within 5 s");
    }
    state.counters["longest_ms"] = longest;
}

void BM_IdleFollowingTwoScans(benchmark::State &state)
{
    FollowingWindow f;
    QCoreApplication::processEvents();
    double share = 0;
    for (auto _ : state) {
        const double before = processCpuSeconds();
        QEventLoop loop;
        QTimer::singleShot(int(state.range(0)) * 1000, &loop, &QEventLoop::quit);
        loop.exec();
        share = 100.0 * (processCpuSeconds() - before) / double(state.range(0));
    }
    state.counters["cpu_percent_of_one_core"] = share;
}

} // namespace

BENCHMARK(BM_ReloadLatency)->Iterations(12)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdleFollowingTwoScans)->Arg(30)->Iterations(1)->Unit(benchmark::kMillisecond);

WS_BENCHMARK_MAIN_WITH_WIDGETS()
