#include "scan/scanfile.h"
#include "scan/scans.h"
#include "scan/scantext.h"

#include <benchmark/benchmark.h>

#include <charconv>
#include <cstring>
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

// What reading the same file cannot go much below: split it into lines and
// run from_chars on the two fields of each data line, nothing checked and
// nothing stored but a sum. The parse should take no longer than this.
static void BM_PlainFromCharsLoop(benchmark::State &state)
{
    const QByteArray bytes = ws::test::scanText({});
    for (auto _ : state) {
        const char *p = bytes.constData();
        const char *const end = p + bytes.size();
        double sum = 0;
        int line = 0;
        while (p < end) {
            const char *eol = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)));
            if (!eol)
                eol = end;
            if (++line > 4) {
                const char *comma = static_cast<const char *>(std::memchr(p, ',', size_t(eol - p)));
                double frequency = 0;
                double level = 0;
                std::from_chars(p, comma, frequency);
                std::from_chars(comma + 1, eol, level);
                sum += frequency + level;
            }
            p = eol + 1;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_PlainFromCharsLoop)->Unit(benchmark::kMicrosecond);

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
