#include "plot/transmissionlevels.h"
#include "scan/scanfile.h"
#include "scan/scantext.h"
#include "support/mapentries.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

// The levels of a full map (16384 entries, every third horizontal, vertical
// and circular, spread over the band) in two full universal hv scans, as
// Ctrl+R and --report compute them.
static void BM_TransmissionLevels(benchmark::State &state)
{
    ws::test::ScanShape referenceShape;
    referenceShape.level = [](bool vertical, double f) {
        return (vertical ? 15 : 5) + std::fmod(f, 11);
    };
    // Parsed on the heap: a scan holds its level tables inline.
    auto newest = std::make_unique<ws::ScanParse>(ws::parseScan(ws::test::scanText({})));
    auto reference =
        std::make_unique<ws::ScanParse>(ws::parseScan(ws::test::scanText(referenceShape)));
    if (!newest->value || !reference->value) {
        state.SkipWithError("the generated scans did not parse");
        return;
    }
    QVector<ws::MapEntry> entries;
    const char *letters[] = {"H", "V", "L"};
    for (int i = 0; i < ws::kMaxMapLines; ++i)
        entries << ws::test::mapEntry(QString::number(10700 + i / 8), QStringLiteral("MPEG2 "),
                                      QLatin1String(letters[i % 3]));
    for (auto _ : state) {
        const auto levels = ws::transmissionLevels(*newest->value, *reference->value, entries);
        benchmark::DoNotOptimize(levels.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_TransmissionLevels)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
