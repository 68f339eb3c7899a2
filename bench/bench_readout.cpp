// The readout runs on every pointer move over a plot; with a map of the
// most lines a map file may have it must stay far below what a user could
// notice (target: under 2 microseconds per move).
#include "app/mainwindow.h"
#include "app/plotspanel.h"
#include "app/receiverwork.h"
#include "app/workspace.h"
#include "plot/readout.h"
#include "support/mapentries.h"

#include <QApplication>

#include "benchsupport.h"

namespace {

// 16384 entries, eight to a MHz, from 10700 MHz to 12747 MHz.
void fillMap(ws::MapData &map)
{
    map.entries.clear();
    for (int row = 0; row < ws::kMaxMapLines; ++row) {
        map.entries.push_back(ws::test::mapEntry(QString::number(10700 + row / 8),
                                                 QStringLiteral("MPEG2 "), QStringLiteral("H"),
                                                 QStringLiteral("Station         ")));
    }
}

// Pointer positions across the whole map and beyond its end, where the
// search has to walk every row.
float position(int64_t i)
{
    return 10690.5f + float(i % 2100) * 0.993f;
}

void BM_NearestMapEntry(benchmark::State &state)
{
    ws::MapData map;
    fillMap(map);
    const double x = state.range(0);
    for (auto _ : state)
        benchmark::DoNotOptimize(ws::nearestMapEntry(map, x));
}
// Early in the map, half-way, and past its end (the longest search).
BENCHMARK(BM_NearestMapEntry)->Arg(10701)->Arg(11724)->Arg(12800)->Unit(benchmark::kMicrosecond);

void BM_ShowFrequencyAt(benchmark::State &state)
{
    ws::bench::QuietPlatform platform;
    MainWindow window(platform.platform());
    fillMap(window.workspace().map());
    window.show();

    int64_t i = 0;
    for (auto _ : state)
        window.plots().showReadoutAt(position(i++));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ShowFrequencyAt)->Unit(benchmark::kMicrosecond);

} // namespace

WS_BENCHMARK_MAIN_WITH_WIDGETS()
