#include "levels.h"

#include <algorithm>
#include <cmath>

namespace ws {

std::optional<LevelCell> levelCell(const SharedState &s, int slot, double f)
{
    // The switch frequency itself was measured in the low band.
    const bool high = s.fswitch[slot] != -1 && f > s.fswitch[slot];
    const double k = std::fabs((high ? s.lohigh[slot] : s.lolow[slot]) - f);
    if (!(k <= kMaxIf))
        return std::nullopt;
    return LevelCell{high, int(k)};
}

std::optional<double> levelAt(const SharedState &s, int slot, Polarisation pol, double f)
{
    const std::optional<LevelCell> cell = levelCell(s, slot, f);
    if (!cell)
        return std::nullopt;
    const bool h = pol == Polarisation::Horizontal;
    const LevelTable &table = cell->highBand ? (h ? s.hhigh : s.vhigh) : (h ? s.hlow : s.vlow);
    return table[slot][cell->index];
}

FrequencyRange lookupRange(const SharedState &s, int slot)
{
    double low = s.lolow[slot];
    double high = s.lolow[slot];
    if (s.fswitch[slot] != -1) {
        low = std::min<double>(low, s.lohigh[slot]);
        high = std::max<double>(high, s.lohigh[slot]);
    }
    return {low - kMaxIf, high + kMaxIf};
}

FrequencyScale FrequencyScale::of(const SharedState &s)
{
    return {s.fstart[0], s.fend[0] - s.fstart[0] + 1};
}

} // namespace ws
