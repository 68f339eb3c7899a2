// Scan files: any bytes either load completely or fail with a message that
// names a line; a loaded scan fits its tables and its extremes bound every
// level it wrote, and committing it changes exactly its slot.
#include "fuzzcheck.h"
#include "scanfile.h"

#include <QDateTime>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

// Cell 0 of a slot survives a load that does not write it; this value shows
// whether it did.
constexpr double kEarlier = -12345.5;

void checkFailure(const ws::ScanError &error)
{
    WS_FUZZ_REQUIRE(error.line >= 1);
    WS_FUZZ_REQUIRE(!error.message().isEmpty());
    switch (error.kind) {
    case ws::ScanError::MissingHeader:
        WS_FUZZ_REQUIRE(error.line <= 4);
        break;
    case ws::ScanError::UnknownLayout:
        WS_FUZZ_REQUIRE(error.line == 3);
        break;
    case ws::ScanError::UnknownLnb:
        WS_FUZZ_REQUIRE(error.line == 4);
        break;
    case ws::ScanError::MissingLine:
    case ws::ScanError::NoComma:
    case ws::ScanError::FrequencyOutOfRange:
        WS_FUZZ_REQUIRE(error.line >= 5);
        break;
    }
}

void checkScan(const ws::ScanData &scan)
{
    WS_FUZZ_REQUIRE(scan.hpol || scan.vpol);
    WS_FUZZ_REQUIRE(!scan.lnbName.isEmpty() && !scan.layoutName.isEmpty());
    bool anyLevel = false;
    for (const ws::Levels &levels : scan.levels) {
        for (double level : levels) {
            WS_FUZZ_REQUIRE(std::isfinite(level));
            // Unwritten cells hold 0; a written one lies within the extremes.
            if (level != 0) {
                anyLevel = true;
                WS_FUZZ_REQUIRE(level >= scan.smin && level <= scan.smax);
            }
        }
    }
    if (anyLevel)
        WS_FUZZ_REQUIRE(scan.smin <= scan.smax);
    // The extremes start at 0 and 1000 and only widen.
    WS_FUZZ_REQUIRE(scan.smax >= 0 && scan.smin <= 1000);
    WS_FUZZ_REQUIRE(!ws::scanSummary(QStringLiteral("f"), QDateTime(), 0, scan).isEmpty());
}

void checkCommit(const ws::ScanData &scan)
{
    static auto state = std::make_unique<ws::SharedState>();
    ws::SharedState &s = *state;
    ws::LevelTable *const tables[ws::LevelTableCount] = {&s.hlow, &s.vlow, &s.hhigh, &s.vhigh};
    for (ws::LevelTable *table : tables) {
        for (ws::Levels &levels : *table)
            levels[0] = kEarlier;
    }
    s.fstart[2] = -1;

    ws::commitScan(s, 1, scan);
    for (int t = 0; t < ws::LevelTableCount; ++t) {
        const ws::Levels &target = (*tables[t])[1];
        WS_FUZZ_REQUIRE(target[0] == (scan.wroteCellZero[t] ? scan.levels[t][0] : kEarlier));
        for (int f = 1; f < ws::kLevelCells; ++f)
            WS_FUZZ_REQUIRE(target[f] == scan.levels[t][f]);
        // The other slots are left alone.
        WS_FUZZ_REQUIRE((*tables[t])[0][0] == kEarlier && (*tables[t])[2][0] == kEarlier);
    }
    WS_FUZZ_REQUIRE(s.fstart[2] == -1);
    WS_FUZZ_REQUIRE(s.smax[1] == scan.smax && s.smin[1] == scan.smin);
    WS_FUZZ_REQUIRE(s.runmax == scan.smax && s.runmin == scan.smin);
    WS_FUZZ_REQUIRE(s.hpol[1] == scan.hpol && s.vpol[1] == scan.vpol);
    WS_FUZZ_REQUIRE(s.lnbcode[1] == scan.lnbcode);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const ws::ScanParse parse = ws::parseScan(bytes);
    if (!parse.data) {
        checkFailure(parse.error);
        return 0;
    }
    checkScan(*parse.data);
    checkCommit(*parse.data);
    return 0;
}
