// The history of many scans: loading 1000 full universal hv scans (37 MB)
// on all cores, and 10,000 (370 MB) with --large; a repaint of the
// waterfall at 1920 x 1080 over 1000 scans; and --history-report over 1000
// scans with a map of 1024 and of 16384 entries. Each load and report
// prints, beside its own time, the time that reading and parsing the same
// files takes on one core (parse_s), which is what a load cannot go below
// on one core, and the process's peak resident memory (peak_MB, VmHWM),
// reset before each measurement. Targets: 1000 scans 0.1 s and 50 MB,
// 10,000 scans 1 s and 200 MB, a repaint 16 ms, the reports 0.15 s (1024
// entries) and 0.4 s (16384 entries).
// With --large also the history window over 10,000 scans and a map of
// 16,384 entries: the longest time its thread's event loop goes without a
// turn from the start of the load until the scans are loaded and ranked
// (gap_ms, the median of 3 runs); target 50 ms.
//
//   bench_history [--large] [Google Benchmark options]
//
// The scans are written to a temporary folder first and read from the page
// cache.

#include "app/historywindow.h"
#include "app/waterfallwidget.h"
#include "cli/historyreport.h"
#include "history/history.h"
#include "history/loading.h"
#include "history/scanfiles.h"
#include "map/mapfile.h"
#include "scan/scanfile.h"
#include "scan/scantext.h"
#include "support/mapentries.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include "benchsupport.h"
#include "processmemory.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>

#include <unistd.h>

namespace {

using ws::bench::resetPeak;

double peakMb()
{
    return ws::bench::statusKb("VmHWM:") / 1024.0;
}

// The processor time of the whole process, all threads, in seconds: on a
// machine busy with other work the wall time says little, while this
// divided by the cores is the wall time an idle machine would take.
double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// A folder of `count` full universal hv scans, each a little different, made
// once per count.
const QTemporaryDir &scanFolder(int count)
{
    static std::map<int, std::unique_ptr<QTemporaryDir>> folders;
    std::unique_ptr<QTemporaryDir> &dir = folders[count];
    if (!dir) {
        dir = std::make_unique<QTemporaryDir>();
        for (int i = 0; i < count; ++i) {
            ws::test::ScanShape shape;
            shape.level = [i](bool vertical, double f) {
                return (vertical ? 200 : 100) + std::fmod(f * (i % 13 + 1), 97) + i % 50;
            };
            ws::test::writeFile(*dir, QStringLiteral("scan%1.scn").arg(i, 5, 10, QLatin1Char('0')),
                                ws::test::scanText(shape));
        }
        // Written out, so that the disk's work does not fall into the
        // measurements; the files stay in the page cache.
        ::sync();
    }
    return *dir;
}

QStringList scanFiles(int count)
{
    return ws::scanFilesIn(scanFolder(count).path()).value.value_or(QStringList());
}

// Reading and parsing the files one after another on one core, in seconds.
double parseSeconds(const QStringList &files)
{
    QElapsedTimer timer;
    timer.start();
    for (const QString &path : files) {
        const auto file = ws::readScanFile(path);
        auto parse = std::make_unique<ws::ScanParse>(ws::parseScan(file.value->bytes));
        benchmark::DoNotOptimize(parse.get());
    }
    return timer.nsecsElapsed() / 1e9;
}

void BM_HistoryLoad(benchmark::State &state)
{
    const QStringList files = scanFiles(int(state.range(0)));
    const double parse = parseSeconds(files);
    double peak = 0;
    double cpu = 0;
    for (auto _ : state) {
        resetPeak();
        const double before = cpuSeconds();
        ws::History history;
        ws::HistoryLoader loader(history);
        QEventLoop wait;
        QObject::connect(&loader, &ws::HistoryLoader::finished, &wait, &QEventLoop::quit);
        loader.load(files);
        wait.exec();
        cpu += cpuSeconds() - before;
        if (history.rows().size() != size_t(files.size()))
            state.SkipWithError("not every scan loaded");
        peak = std::max(peak, peakMb());
    }
    state.counters["parse_s"] = parse;
    state.counters["cpu_s"] = cpu / double(state.iterations());
    state.counters["peak_MB"] = peak;
}

// One polarisation's rows of 1000 scans, and a widget of 1920 x 1080 that
// shows them side by side with the other's.
void BM_WaterfallRepaint(benchmark::State &state)
{
    ws::History history;
    std::vector<ws::ScanRow> rows;
    for (const QString &path : scanFiles(1000)) {
        ws::LoadedScan loaded = ws::loadRow(path);
        rows.push_back(std::move(*loaded.row));
    }
    history.add(std::move(rows), {});
    WaterfallWidget::Picture picture;
    for (const ws::ScanRow &row : history.rows()) {
        picture.horizontal.push_back(
            {row.firstMhz, row.horizontal.constData(), row.horizontal.size()});
        picture.vertical.push_back({row.firstMhz, row.vertical.constData(), row.vertical.size()});
    }
    picture.lowest = history.levelSpan()->lowest;
    picture.highest = history.levelSpan()->highest;
    picture.best = 500;
    WaterfallWidget widget;
    widget.resize(1920, 1080);
    const ws::View view(*history.range());
    QImage screen(1920, 1080, QImage::Format_RGB32);
    for (auto _ : state) {
        widget.showPicture(picture, view);
        widget.render(&screen);
        benchmark::ClobberMemory();
    }
}

QVector<ws::MapEntry> mapOf(int count)
{
    QVector<ws::MapEntry> entries;
    const char *letters[] = {"H", "V", "L"};
    for (int i = 0; i < count; ++i)
        entries << ws::test::mapEntry(QString::number(10700 + (i * 2047) % 2048),
                                      QStringLiteral("MPEG2 "), QLatin1String(letters[i % 3]),
                                      QStringLiteral("Station %1").arg(i));
    return entries;
}

void BM_HistoryReport(benchmark::State &state)
{
    const QStringList files = scanFiles(1000);
    const double parse = parseSeconds(files);
    const QVector<ws::MapEntry> entries = mapOf(int(state.range(0)));
    qint64 bytes = 0;
    double peak = 0;
    double cpu = 0;
    for (auto _ : state) {
        resetPeak();
        const double before = cpuSeconds();
        bytes = 0;
        const int code = ws::cli::writeHistoryReport(
            entries, {scanFolder(1000).path()},
            [&](const QByteArray &piece) {
                bytes += piece.size();
                return true;
            },
            {});
        cpu += cpuSeconds() - before;
        if (code != 0)
            state.SkipWithError("the report failed");
        peak = std::max(peak, peakMb());
    }
    state.counters["parse_s"] = parse;
    state.counters["cpu_s"] = cpu / double(state.iterations());
    state.counters["peak_MB"] = peak;
    state.counters["csv_MB"] = bytes / 1e6;
}

// Whatever the window's thread does in one go, a load's rows joining, a
// ranking shown, a repaint, holds up every other event for as long.
void BM_HistoryWindowGap(benchmark::State &state)
{
    const QString folder = scanFolder(int(state.range(0))).path();
    ws::MapData map;
    map.entries = mapOf(16384);
    std::vector<double> gaps;
    for (auto _ : state) {
        ws::bench::QuietPlatform quiet;
        HistoryWindow window(quiet, quiet);
        window.setMap(map);
        window.show();
        QEventLoop wait;
        QObject::connect(&window, &HistoryWindow::loaded, &wait, &QEventLoop::quit);
        QElapsedTimer clock;
        qint64 last = 0;
        qint64 longest = 0;
        QTimer turn;
        turn.setInterval(0);
        QObject::connect(&turn, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            longest = std::max(longest, now - last);
            last = now;
        });
        clock.start();
        turn.start();
        window.open({folder});
        wait.exec();
        // The last stretch before the loop turns again counts too.
        QCoreApplication::processEvents();
        turn.stop();
        if (window.history().rows().size() != size_t(state.range(0)) ||
            window.ranking().places.size() != size_t(state.range(0)))
            state.SkipWithError("not every scan loaded and ranked");
        gaps.push_back(double(longest) / 1e6);
    }
    std::sort(gaps.begin(), gaps.end());
    state.counters["gap_ms"] = gaps.empty() ? 0 : gaps[gaps.size() / 2];
}

} // namespace

BENCHMARK(BM_HistoryLoad)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_WaterfallRepaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HistoryReport)
    ->Arg(1024)
    ->Arg(16384)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

int main(int argc, char **argv)
{
    bool large = false;
    int kept = 0;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--large") == 0)
            large = true;
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    QApplication app(argc, argv);
    // 370 MB of scans on disk: only when asked for.
    if (large) {
        benchmark::RegisterBenchmark("BM_HistoryLoad", BM_HistoryLoad)
            ->Arg(10000)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(2);
        benchmark::RegisterBenchmark("BM_HistoryWindowGap", BM_HistoryWindowGap)
            ->Arg(10000)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(3);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
