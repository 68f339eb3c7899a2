#pragma once

#include "plot/levels.h"
#include "plot/view.h"

#include <QString>

#include <functional>
#include <vector>

// The axis numbers a window larger than its default size has room for: grid
// frequencies under the plots and level values beside them. Each is centred
// on its value and stands only where it fits whole, clear of its neighbours;
// one that would not is left out rather than cut or moved, so that no number
// is ever read against the wrong line.
namespace ws {

struct AxisLabel
{
    double value;
    QString text;
    // The pixel column (frequencies) or row (levels) of the value on the
    // drawable area, as the plot draws it, and the first column or row of
    // its text, which is centred there.
    int centre;
    int start;
};

// The size of a text in the font it is drawn in, in pixels: its width for
// the frequency axis.
using TextWidth = std::function<int(const QString &)>;

// The space kept between two frequencies, so that they read as two.
constexpr int kFrequencyLabelGap = 16;

// The grid lines of the plots (gridRange) that `view` shows across an area
// `areaWidth` pixels wide, labelled with their whole MHz every 100, 200 or
// 500 MHz: the first of these steps at which each label keeps
// kFrequencyLabelGap pixels from the next. Only labels that lie whole on
// the area count; none when not even 500 MHz leave room.
std::vector<AxisLabel> frequencyLabels(const View &view, int areaWidth,
                                       const TextWidth &textWidth);

// A level scale as it runs down a plot: the value at the top edge, and how
// many units the plot is high.
struct ValueAxis
{
    double top;
    double height;

    // The level plot: the highest level at the top, the level span high.
    static ValueAxis levels(const PlotRange &range);
    // The difference plot: plus the level span at the top, minus it at the bottom.
    static ValueAxis differences(const PlotRange &range);
};

// Rows of the drawable area, from `first` to `last` inclusive; they may lie
// beyond the area.
struct Rows
{
    int first;
    int last;
};

// The rows kept free around a value, so that it does not touch what stands
// above or below it.
constexpr int kValueLabelGap = 2;

// Values from the bottom to the top of `axis` on an area `areaHeight` pixels high,
// for texts `textHeight` pixels high: the multiples of the smallest of 1, 2,
// 5, 10, 20, 50, ... that puts two text heights between neighbours, each
// whose text lies whole on the area and kValueLabelGap rows clear of every
// span of `taken` (the texts that already stand beside the plot).
std::vector<AxisLabel> valueLabels(const ValueAxis &axis, int areaHeight, int textHeight,
                                   const std::vector<Rows> &taken);

} // namespace ws
