#pragma once

#include "scan/scanfile.h"
#include "scan/scans.h"

#include <optional>

// The range the two scans span together, and the horizontal scale that
// every plot area shares. The map strip, the readout under the pointer and
// the spot check go by the same scale, so that a frequency is the same
// column everywhere.
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

// What the plots show of two scans together: the frequency axis runs from
// the lower first to the higher last frequency, the level axis between the
// lower and the higher extreme. Their differences exist only where both
// scans have data, from the higher first to the lower last frequency; for
// scans that do not overlap that range is empty (commonFirst > commonLast).
struct PlotRange
{
    double first;
    double last;
    double minLevel;
    double maxLevel;
    double commonFirst;
    double commonLast;

    static PlotRange of(const ScanData &newest, const ScanData &reference);
    // The same range on a level axis of its own (a held one), or on its
    // scans' own when there is none.
    static PlotRange of(const ScanData &newest, const ScanData &reference,
                        const std::optional<LevelScale> &levels);
    LevelScale levelScale() const { return {minLevel, maxLevel}; }
    // One more than the level span, so that equal extremes still give the
    // plots a height.
    double levelSpan() const { return maxLevel - minLevel + 1; }
};

// The horizontal user coordinates of the plot areas: the left edge is the
// first frequency of the two scans, the width one MHz more than the span,
// so that the last frequency gets a column of its own.
struct FrequencyScale
{
    double left;
    double width;

    // The plot boxes turn these units into pixels and back
    // (PlotWidget::toPixel, toUser).
    static FrequencyScale of(const PlotRange &range);
    // The scale the plots were last drawn with. Both scans are needed for a
    // drawing; before that the plots' range is empty and starts at 0.
    static FrequencyScale of(const Scans &scans);
};

} // namespace ws
