#include "scan/scanfile.h"
#include "scan/scans.h"
#include "scan/scantext.h"

#include <benchmark/benchmark.h>

#include <memory>

// One load of a full universal hv scan (10700 to 12750 MHz, 4104 data
// lines, about 40 KB): reading it into a scan, and reading plus putting it
// into its slot.
static void BM_ParseUniversalHv(benchmark::State &state)
{
    const QByteArray bytes = ws::test::scanText({});
    for (auto _ : state) {
        ws::ScanParse parse = ws::parseScan(bytes);
        benchmark::DoNotOptimize(parse);
        if (!parse.value)
            state.SkipWithError("the generated file did not parse");
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_ParseUniversalHv)->Unit(benchmark::kMicrosecond);

static void BM_ParseAndLoadUniversalHv(benchmark::State &state)
{
    const QByteArray bytes = ws::test::scanText({});
    auto scans = std::make_unique<ws::Scans>();
    for (auto _ : state) {
        ws::ScanParse parse = ws::parseScan(bytes);
        scans->load(ws::ScanSlot::Newest, std::move(*parse.value));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ParseAndLoadUniversalHv)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
