#include "plot/view.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace ws {

namespace {

constexpr double kNotchIn = 4.0 / 5;
constexpr double kNotchOut = 5.0 / 4;
constexpr int kWheelNotch = 120;

} // namespace

View::View(FrequencyRange full)
    : full_(full), first_(full.first), last_(full.last)
{
}

void View::reset()
{
    first_ = full_.first;
    last_ = full_.last;
}

void View::place(double first, double span)
{
    const double fullSpan = full_.last - full_.first;
    // Zooming out again multiplies by 5/4 what 4/5 had rounded; a span
    // within a hair of the whole is the whole, so that the unzoomed drawing
    // comes back exactly.
    if (span >= fullSpan * (1 - 1e-12)) {
        reset();
        return;
    }
    first_ = std::clamp(first, full_.first, full_.last - span);
    last_ = std::min(first_ + span, full_.last);
}

void View::zoomAt(double f, int notches)
{
    const double fullSpan = full_.last - full_.first;
    if (notches == 0 || !std::isfinite(fullSpan))
        return;
    const double narrowest = std::min(kMinimumSpan, fullSpan);
    const double before = span();
    double span = before;
    // Stops at a limit, however far a fast wheel was spun.
    if (notches > 0) {
        for (int i = notches; i > 0 && span > narrowest; --i)
            span *= kNotchIn;
    } else {
        for (int i = notches; i < 0 && span < fullSpan; ++i)
            span *= kNotchOut;
    }
    span = std::clamp(span, narrowest, fullSpan);
    if (span == before)
        return;

    double fraction = (f - first_) / scale().width;
    if (!(fraction >= 0))
        fraction = 0;
    fraction = std::min(fraction, 1.0);
    place(f - fraction * (span + 1), span);
}

void View::pan(int steps)
{
    if (steps == 0)
        return;
    const double span = this->span();
    place(first_ + steps * span / 10, span);
}

int takeWheelNotches(int &pending, int angleDelta)
{
    const long long total = (long long)pending + angleDelta;
    const long long notches = total / kWheelNotch; // towards zero: the rest keeps its sign
    pending = int(total - notches * kWheelNotch);
    return int(std::clamp<long long>(notches, -1'000'000, 1'000'000));
}

View WheelTurns::turned(const View &view, double mhz, int angleDeltaX, int angleDeltaY,
                        bool shift)
{
    const int zoomNotches = shift ? 0 : takeWheelNotches(pendingZoom_, angleDeltaY);
    const int panNotches =
        takeWheelNotches(pendingPan_, angleDeltaX + (shift ? angleDeltaY : 0));
    View turned = view;
    turned.zoomAt(mhz, zoomNotches);
    turned.pan(-panNotches);
    return turned;
}

} // namespace ws
