#include "levels.h"

#include <algorithm>
#include <cmath>

namespace ws {

std::optional<LevelCell> levelCell(const ScanData &scan, double f)
{
    // The switch frequency itself was measured in the low band.
    const LnbType &lnb = scan.lnb;
    const bool high = lnb.switchFrequency != -1 && f > lnb.switchFrequency;
    const double k = std::fabs((high ? lnb.highOscillator : lnb.lowOscillator) - f);
    if (!(k <= kMaxIf))
        return std::nullopt;
    return LevelCell{high, int(k)};
}

std::optional<double> levelAt(const ScanData &scan, Polarisation pol, double f)
{
    const std::optional<LevelCell> cell = levelCell(scan, f);
    if (!cell)
        return std::nullopt;
    const bool h = pol == Polarisation::Horizontal;
    const LevelTableId table = cell->highBand ? (h ? HHigh : VHigh) : (h ? HLow : VLow);
    return scan.levels[table][cell->index];
}

FrequencyRange lookupRange(const ScanData &scan)
{
    const LnbType &lnb = scan.lnb;
    double low = lnb.lowOscillator;
    double high = lnb.lowOscillator;
    if (lnb.switchFrequency != -1) {
        low = std::min<double>(low, lnb.highOscillator);
        high = std::max<double>(high, lnb.highOscillator);
    }
    return {low - kMaxIf, high + kMaxIf};
}

PlotRange PlotRange::of(const ScanData &newest, const ScanData &reference)
{
    return {std::min(newest.first, reference.first),
            std::max(newest.last, reference.last),
            std::min(newest.minLevel, reference.minLevel),
            std::max(newest.maxLevel, reference.maxLevel),
            std::max(newest.first, reference.first),
            std::min(newest.last, reference.last)};
}

FrequencyScale FrequencyScale::of(const PlotRange &range)
{
    return {range.first, range.last - range.first + 1};
}

FrequencyScale FrequencyScale::of(const Scans &scans)
{
    if (!scans.bothLoaded())
        return {0, 1};
    return of(PlotRange::of(*scans.newest, *scans.reference));
}

} // namespace ws
