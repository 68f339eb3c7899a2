#include "receiver/watchtone.h"

#include <algorithm>
#include <cmath>

namespace ws::receiver {

double tonePitch(double level, std::optional<double> lowest, std::optional<double> highest)
{
    if (!lowest || !highest || !(*highest > *lowest))
        return kSpanlessPitch;
    const double share = std::clamp((level - *lowest) / (*highest - *lowest), 0.0, 1.0);
    return kLowestPitch * std::pow(kHighestPitch / kLowestPitch, share);
}

ToneShape watchTone(WatchState state, std::optional<double> level,
                    std::optional<double> lowest, std::optional<double> highest)
{
    if (state == WatchState::NoAnswer)
        return {};
    const double hz = level ? tonePitch(*level, lowest, highest) : kLevellessPitch;
    return {state == WatchState::Locked ? ToneShape::Kind::Steady : ToneShape::Kind::Pips, hz};
}

} // namespace ws::receiver
