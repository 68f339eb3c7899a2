#include "plot/levels.h"

#include <algorithm>

namespace ws {

PlotRange PlotRange::of(const ScanData &newest, const ScanData &reference)
{
    return {std::min(newest.first, reference.first),
            std::max(newest.last, reference.last),
            std::min(newest.minLevel, reference.minLevel),
            std::max(newest.maxLevel, reference.maxLevel),
            std::max(newest.first, reference.first),
            std::min(newest.last, reference.last)};
}

PlotRange PlotRange::of(const ScanData &newest, const ScanData &reference,
                        const std::optional<LevelScale> &levels)
{
    PlotRange range = of(newest, reference);
    if (levels) {
        range.minLevel = levels->minLevel;
        range.maxLevel = levels->maxLevel;
    }
    return range;
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
