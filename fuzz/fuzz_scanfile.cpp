// Scan files: any bytes either load completely or fail with a reason that
// names a line; a loaded scan fits its tables and its extremes bound every
// level it wrote, and loading it into a slot changes exactly that slot.
#include "fuzzcheck.h"
#include "scan/scanfile.h"
#include "scan/scans.h"

#include <QDateTime>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

// Cell 0 of a slot survives a load that does not write it; this value shows
// whether it did.
constexpr double kEarlier = -12345.5;

void checkFailure(const ws::ScanFailure &failure)
{
    const int line = failure.reason.line;
    WS_FUZZ_REQUIRE(line >= 1);
    WS_FUZZ_REQUIRE(!failure.reason.what.isEmpty());
    switch (failure.kind) {
    case ws::ScanFailure::MissingHeader:
        WS_FUZZ_REQUIRE(line <= 4);
        break;
    case ws::ScanFailure::UnknownLayout:
        WS_FUZZ_REQUIRE(line == 3);
        break;
    case ws::ScanFailure::UnknownLnb:
        WS_FUZZ_REQUIRE(line == 4);
        break;
    case ws::ScanFailure::MissingLine:
    case ws::ScanFailure::NoComma:
    case ws::ScanFailure::FrequencyOutOfRange:
        WS_FUZZ_REQUIRE(line >= 5);
        break;
    }
}

void checkScan(const ws::ScanData &scan)
{
    WS_FUZZ_REQUIRE(scan.layout.horizontal || scan.layout.vertical);
    WS_FUZZ_REQUIRE(scan.lnb.name && *scan.lnb.name && scan.layout.name && *scan.layout.name);
    bool anyLevel = false;
    for (const ws::Levels &levels : scan.levels) {
        for (double level : levels) {
            WS_FUZZ_REQUIRE(std::isfinite(level));
            // Unwritten cells hold 0; a written one lies within the extremes.
            if (level != 0) {
                anyLevel = true;
                WS_FUZZ_REQUIRE(level >= scan.minLevel && level <= scan.maxLevel);
            }
        }
    }
    if (anyLevel)
        WS_FUZZ_REQUIRE(scan.minLevel <= scan.maxLevel);
    // The extremes start at 0 and 1000 and only widen.
    WS_FUZZ_REQUIRE(scan.maxLevel >= 0 && scan.minLevel <= 1000);
    WS_FUZZ_REQUIRE(!ws::scanSummary(QStringLiteral("f"), QDateTime(), 0, scan).isEmpty());
}

void checkLoad(const ws::ScanData &scan)
{
    static auto scans = std::make_unique<ws::Scans>();
    if (!scans->newest)
        scans->newest.emplace();
    if (!scans->reference)
        scans->reference.emplace();
    for (ws::Levels &levels : scans->newest->levels)
        levels[0] = kEarlier;
    scans->reference->first = -1;

    scans->load(ws::ScanSlot::Newest, scan);
    const ws::ScanData &loaded = *scans->newest;
    for (int t = 0; t < ws::LevelTableCount; ++t) {
        const ws::Levels &target = loaded.levels[t];
        WS_FUZZ_REQUIRE(target[0] == (scan.wroteCellZero[t] ? scan.levels[t][0] : kEarlier));
        for (int f = 1; f < ws::kLevelCells; ++f)
            WS_FUZZ_REQUIRE(target[f] == scan.levels[t][f]);
    }
    // The other slot is left alone.
    WS_FUZZ_REQUIRE(scans->reference->first == -1);
    WS_FUZZ_REQUIRE(loaded.maxLevel == scan.maxLevel && loaded.minLevel == scan.minLevel);
    WS_FUZZ_REQUIRE(loaded.layout.code == scan.layout.code && loaded.lnb.code == scan.lnb.code);
    WS_FUZZ_REQUIRE(loaded.lnbCode == scan.lnbCode);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const ws::ScanParse parse = ws::parseScan(bytes);
    if (!parse.value) {
        checkFailure(parse.failure);
        return 0;
    }
    checkScan(*parse.value);
    checkLoad(*parse.value);
    return 0;
}
