#pragma once

#include "plot/levels.h"
#include "scan/levellookup.h"

// The part of the frequency axis that the plots show. 2,050 MHz across some
// 640 pixels hides the shape of a single transponder, so the user may zoom
// in on a part of the range of the loaded scans and move along it; the
// plots, the map strip, the readout and a click's frequency all go by the
// visible part then. Unzoomed it is the whole range, drawn on exactly the
// scale that FrequencyScale::of gives.
namespace ws {

class View
{
public:
    // The narrowest part worth showing: a transponder and its flanks. A
    // range narrower than this cannot be zoomed at all.
    static constexpr double kMinimumSpan = 20;

    // Nothing to show yet: the full range is empty at 0.
    View() = default;
    explicit View(FrequencyRange full);
    static View whole(const PlotRange &range) { return View({range.first, range.last}); }

    FrequencyRange full() const { return full_; }
    double first() const { return first_; }
    double last() const { return last_; }
    double span() const { return last_ - first_; }
    bool zoomed() const { return first_ != full_.first || last_ != full_.last; }

    // The plots' horizontal scale: like FrequencyScale::of, one MHz wider
    // than the span, so that the last visible frequency has its column.
    FrequencyScale scale() const { return {first_, span() + 1}; }
    // The frequency at `fraction` of the plots' width (0 left, 1 right).
    double frequencyAt(double fraction) const { return first_ + fraction * scale().width; }

    // Each notch inward narrows the span to 4/5, each outward (negative)
    // widens it by 5/4, between kMinimumSpan and the full range. `f` keeps
    // its place across the plots, unless that would put an end past the
    // full range; then the visible part lies at that end.
    void zoomAt(double f, int notches);
    // Moves by a tenth of the span per step, up for positive steps, within the ends.
    void pan(int steps);
    void reset();

    bool operator==(const View &other) const
    {
        return first_ == other.first_ && last_ == other.last_ && full_.first == other.full_.first
            && full_.last == other.full_.last;
    }
    bool operator!=(const View &other) const { return !(*this == other); }

private:
    void place(double first, double span);

    FrequencyRange full_{0, 0};
    double first_ = 0;
    double last_ = 0;
};

// One notch of a mouse wheel is 120 units of its angle delta; touchpads
// send fractions of that. Adds `angleDelta` to what is `pending` and returns
// the whole notches in it (negative for the other direction); the rest
// stays pending for the next turn.
int takeWheelNotches(int &pending, int angleDelta);

// The wheel over a plot of the view: turned away from or towards the user
// it zooms in or out around the frequency under the pointer; with Shift
// held, or tilted sideways, it moves along the band, a turn away or to the
// left showing the lower frequencies. Keeps the parts of a notch that
// touchpads send until a notch is full.
class WheelTurns
{
public:
    View turned(const View &view, double mhz, int angleDeltaX, int angleDeltaY, bool shift);
    // A new range: what was pending meant the old one.
    void forget() { pendingZoom_ = pendingPan_ = 0; }

private:
    int pendingZoom_ = 0;
    int pendingPan_ = 0;
};

} // namespace ws
