#include "scan/levellookup.h"

#include "core/numbers.h"

#include <algorithm>
#include <cmath>

namespace ws {

bool carries(const ScanData &scan, Polarisation pol)
{
    return pol == Polarisation::Horizontal ? scan.layout.horizontal : scan.layout.vertical;
}

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

FrequencyRange curveRange(double first, double last, FrequencyRange valid)
{
    return {std::max(roundHalfEven(first), valid.first), std::min(roundHalfEven(last), valid.last)};
}

} // namespace ws
