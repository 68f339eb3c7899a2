#pragma once

#include "sharedstate.h"

#include <optional>

// Reading a scan's level at a sky frequency, and the horizontal scale that
// every plot area shares. The map strip, the readout under the pointer and
// the spot check use these too, so that a frequency is the same column
// everywhere.
namespace ws {

enum class Polarisation { Horizontal, Vertical };

// Where a sky frequency's level lives: which band's table and which cell
// (the intermediate frequency).
struct LevelCell
{
    bool highBand;
    int index;
};

// The cell of slot `slot` for the whole sky frequency `f`: the high band
// above the switch frequency, the low (or only) band at and below it, the
// index |oscillator - f|. Nothing when that index lies outside the table,
// which happens for a file whose range does not suit its LNB type.
std::optional<LevelCell> levelCell(const SharedState &s, int slot, double f);

std::optional<double> levelAt(const SharedState &s, int slot, Polarisation pol, double f);

// The sky frequencies at which levelCell can find a cell for `slot`; a
// curve needs to visit no others.
struct FrequencyRange
{
    double first;
    double last;
};
FrequencyRange lookupRange(const SharedState &s, int slot);

// The horizontal user coordinates of the plot areas: the left edge is the
// first frequency of the two scans, the width one MHz more than the span,
// so that the last frequency gets a column of its own.
struct FrequencyScale
{
    double left;
    double width;

    // From the combined slot 0 that DrawScans works out. The plot boxes
    // turn these units into pixels and back (PlotBox::toPixel, toUser).
    static FrequencyScale of(const SharedState &s);
};

} // namespace ws
