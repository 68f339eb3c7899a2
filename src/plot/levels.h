#pragma once

#include "scan/scanfile.h"
#include "scan/scans.h"

#include <optional>

// The range the two scans span together and the horizontal scale every plot
// area, the map strip, the readout and the spot check share, so that a
// frequency is the same column everywhere.
namespace ws {

// The level axis of the plots: the level plot runs from the lower to the
// higher level, the difference plot as far above and below zero as that
// span. Held, it outlasts the scans it was taken from, so that the curves
// of successive scans compare by eye instead of each filling the plot.
struct LevelScale
{
    double minLevel;
    double maxLevel;
};

// What the plots show of two scans: frequencies from the lower first to the
// higher last, levels between the extremes; differences only where both
// have data, commonFirst to commonLast (empty, first > last, without overlap).
struct PlotRange
{
    double first;
    double last;
    double minLevel;
    double maxLevel;
    double commonFirst;
    double commonLast;

    static PlotRange of(const ScanData &newest, const ScanData &reference);
    // The same range on a held level axis, or on its scans' own without one.
    static PlotRange of(const ScanData &newest, const ScanData &reference,
                        const std::optional<LevelScale> &levels);
    LevelScale levelScale() const { return {minLevel, maxLevel}; }
    // One more than the level span, so that equal extremes still give the
    // plots a height.
    double levelSpan() const { return maxLevel - minLevel + 1; }
};

// The plot areas' horizontal user coordinates: from the first frequency,
// one MHz wider than the span so that the last frequency has its column.
struct FrequencyScale
{
    double left;
    double width;

    static FrequencyScale of(const PlotRange &range);
    // The scale of the last drawing; before both scans are loaded, empty at 0.
    static FrequencyScale of(const Scans &scans);
};

} // namespace ws
