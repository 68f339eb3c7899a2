#include "drawscans.h"

#include "levels.h"
#include "numbers.h"

#include <algorithm>

namespace ws {

namespace {

double levelSpan(const SharedState &s)
{
    return s.smax[0] - s.smin[0] + 1;
}

// One point per MHz from `from` to `to`, joined by straight lines. A point
// without a value (its cell lies outside the level table) is left out and
// the curve starts afresh at the next point that has one.
template <typename PointAt>
void drawCurve(Canvas &canvas, double from, double to, PointAt pointAt)
{
    bool penDown = false;
    for (double f = from; f <= to; ++f) {
        const std::optional<double> y = pointAt(f);
        if (!y) {
            penDown = false;
            continue;
        }
        if (penDown) {
            canvas.lineTo(f, *y);
        } else {
            canvas.moveTo(f, *y);
            penDown = true;
        }
    }
}

// The whole frequencies of a curve: the scan's range rounded, cut to where
// the lookup can find cells at all (a header that does not suit its LNB
// could otherwise ask for billions of points that would all be left out).
FrequencyRange curveRange(double first, double last, FrequencyRange valid)
{
    return {std::max(roundHalfEven(first), valid.first), std::min(roundHalfEven(last), valid.last)};
}

void drawGrid(const SharedState &s, Canvas &canvas, double y1, double y2)
{
    const std::optional<GridRange> grid = gridRange(s.fstart[0], s.fend[0]);
    if (!grid)
        return;
    canvas.setForeColor(plotcolors::grid);
    for (int g = grid->first; g <= grid->last; g += 100)
        canvas.line(g, y1, g, y2);
}

} // namespace

void combineSlots(SharedState &s)
{
    s.fstart[0] = std::min(s.fstart[1], s.fstart[2]);
    s.fend[0] = std::max(s.fend[1], s.fend[2]);
    s.smin[0] = std::min(s.smin[1], s.smin[2]);
    s.smax[0] = std::max(s.smax[1], s.smax[2]);
    s.ovstart = std::max(s.fstart[1], s.fstart[2]);
    s.ovend = std::min(s.fend[1], s.fend[2]);
}

ScaleTexts scaleTexts(const SharedState &s)
{
    const float h = float(levelSpan(s));
    return {formatNumber(s.fstart[0]) + QLatin1String(" MHz"),
            formatNumber(s.fend[0]) + QLatin1String(" MHz"),
            formatNumber(s.smax[0]),
            formatNumber(s.smin[0]),
            formatSingle(h),
            formatSingle(-h)};
}

std::optional<GridRange> gridRange(double f0, double f1)
{
    const std::optional<std::int16_t> first = toInt16(100 * roundHalfEven(f0 / 100));
    const std::optional<std::int16_t> last = toInt16(100 * roundHalfEven(f1 / 100));
    if (!first || !last)
        return std::nullopt;
    return GridRange{*first, *last};
}

void drawLevelPlot(const SharedState &s, Canvas &canvas)
{
    const FrequencyScale scale = FrequencyScale::of(s);
    const double top = s.smax[0];
    const double h = levelSpan(s);
    canvas.cls();
    canvas.setScale(scale.left, 0, scale.width, h);
    drawGrid(s, canvas, h, 0);

    struct Curve
    {
        int slot;
        Polarisation pol;
        QColor color;
    };
    // The reference first, so that the newest scan is drawn over it.
    const Curve curves[] = {
        {2, Polarisation::Horizontal, plotcolors::horizontalOld},
        {2, Polarisation::Vertical, plotcolors::verticalOld},
        {1, Polarisation::Horizontal, plotcolors::horizontalNew},
        {1, Polarisation::Vertical, plotcolors::verticalNew},
    };
    for (const Curve &c : curves) {
        const bool carried = c.pol == Polarisation::Horizontal ? s.hpol[c.slot] : s.vpol[c.slot];
        if (!carried)
            continue;
        canvas.setForeColor(c.color);
        const FrequencyRange range =
            curveRange(s.fstart[c.slot], s.fend[c.slot], lookupRange(s, c.slot));
        drawCurve(canvas, range.first, range.last, [&](double f) -> std::optional<double> {
            const std::optional<double> level = levelAt(s, c.slot, c.pol, f);
            if (!level)
                return std::nullopt;
            return top - *level;
        });
    }
}

void drawDifferencePlot(const SharedState &s, Canvas &canvas)
{
    const FrequencyScale scale = FrequencyScale::of(s);
    const double h = levelSpan(s);
    canvas.cls();
    canvas.setScale(scale.left, h, scale.width, -2 * h);
    drawGrid(s, canvas, -h, h);

    const FrequencyRange valid1 = lookupRange(s, 1);
    const FrequencyRange valid2 = lookupRange(s, 2);
    const FrequencyRange valid{std::max(valid1.first, valid2.first),
                               std::min(valid1.last, valid2.last)};
    const FrequencyRange range = curveRange(s.ovstart, s.ovend, valid);
    for (const Polarisation pol : {Polarisation::Horizontal, Polarisation::Vertical}) {
        const bool h = pol == Polarisation::Horizontal;
        if (!(h ? s.hpol[1] && s.hpol[2] : s.vpol[1] && s.vpol[2]))
            continue;
        canvas.setForeColor(h ? plotcolors::horizontalDiff : plotcolors::verticalDiff);
        drawCurve(canvas, range.first, range.last, [&](double f) -> std::optional<double> {
            const std::optional<double> newest = levelAt(s, 1, pol, f);
            const std::optional<double> reference = levelAt(s, 2, pol, f);
            if (!newest || !reference)
                return std::nullopt;
            return *newest - *reference;
        });
    }

    canvas.setForeColor(plotcolors::zeroLine);
    canvas.line(s.fstart[0], 0, s.fend[0], 0);
}

ScaleTexts drawScans(SharedState &s, Canvas &levels, Canvas &differences)
{
    combineSlots(s);
    drawLevelPlot(s, levels);
    drawDifferencePlot(s, differences);
    return scaleTexts(s);
}

} // namespace ws
