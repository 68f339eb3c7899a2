#pragma once

#include "scanfile.h"
#include "scans.h"

#include <optional>

// Reading a scan's level at a sky frequency, the range the two scans span
// together, and the horizontal scale that every plot area shares. The map
// strip, the readout under the pointer and the spot check go by the same
// scale, so that a frequency is the same column everywhere.
namespace ws {

enum class Polarisation { Horizontal, Vertical };

// Where a sky frequency's level lives: which band's table and which cell
// (the intermediate frequency).
struct LevelCell
{
    bool highBand;
    int index;
};

// The cell for the whole sky frequency `f`: the high band above the switch
// frequency, the low (or only) band at and below it, the index
// |oscillator - f|. Nothing when that index lies outside the table, which
// happens for a file whose range does not suit its LNB type.
std::optional<LevelCell> levelCell(const ScanData &scan, double f);

std::optional<double> levelAt(const ScanData &scan, Polarisation pol, double f);

// The sky frequencies at which levelCell can find a cell; a curve needs to
// visit no others.
struct FrequencyRange
{
    double first;
    double last;
};
FrequencyRange lookupRange(const ScanData &scan);

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
