#include "plot/drawscans.h"

#include "core/numbers.h"
#include "plot/palette.h"
#include "plot/view.h"
#include "scan/levellookup.h"

#include <algorithm>
#include <cmath>

namespace ws {

namespace {

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

// The points of a curve that the visible part needs: from the last at or
// left of the scale's left edge to the first at or right of its right edge,
// so that the curve runs out to both edges. Zoomed in, this keeps a redraw
// to the few hundred points on show; at the whole range it is all of them.
FrequencyRange visiblePoints(FrequencyRange points, const FrequencyScale &scale)
{
    const double right = scale.left + scale.width;
    return {points.first + std::max(0.0, std::floor(scale.left - points.first)),
            std::min(points.last, points.first + std::ceil(right - points.first))};
}

void drawGrid(const View &view, Canvas &canvas, double y1, double y2)
{
    const std::optional<GridRange> grid = gridRange(view.first(), view.last());
    if (!grid)
        return;
    canvas.setForeColor(palette::grid);
    for (int g = grid->first; g <= grid->last; g += 100)
        canvas.line(g, y1, g, y2);
}

} // namespace

ScaleTexts scaleTexts(const PlotRange &range, const View &view)
{
    ScaleTexts texts = scaleTexts(range);
    // Zoomed ends are fractions of a MHz; like the readout, the labels
    // name the whole MHz.
    if (view.zoomed()) {
        texts.left = formatNumber(roundHalfEven(view.first())) + QLatin1String(" MHz");
        texts.right = formatNumber(roundHalfEven(view.last())) + QLatin1String(" MHz");
    }
    return texts;
}

ScaleTexts scaleTexts(const PlotRange &range)
{
    const float h = float(range.levelSpan());
    return {formatNumber(range.first) + QLatin1String(" MHz"),
            formatNumber(range.last) + QLatin1String(" MHz"),
            formatNumber(range.maxLevel),
            formatNumber(range.minLevel),
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

void drawLevelPlot(const ScanData &newest, const ScanData &reference, const View &view,
                   Canvas &canvas, const std::optional<LevelScale> &levels)
{
    const PlotRange range = PlotRange::of(newest, reference, levels);
    const FrequencyScale scale = view.scale();
    const double top = range.maxLevel;
    const double h = range.levelSpan();
    canvas.erase();
    canvas.setScale(scale.left, 0, scale.width, h);
    drawGrid(view, canvas, h, 0);

    struct Curve
    {
        const ScanData &scan;
        Polarisation pol;
        QColor color;
    };
    // The reference first, so that the newest scan is drawn over it.
    const Curve curves[] = {
        {reference, Polarisation::Horizontal, palette::horizontalReference},
        {reference, Polarisation::Vertical, palette::verticalReference},
        {newest, Polarisation::Horizontal, palette::horizontalNewest},
        {newest, Polarisation::Vertical, palette::verticalNewest},
    };
    for (const Curve &c : curves) {
        if (!carries(c.scan, c.pol))
            continue;
        canvas.setForeColor(c.color);
        const FrequencyRange points = visiblePoints(curveRange(c.scan), scale);
        drawCurve(canvas, points.first, points.last, [&](double f) -> std::optional<double> {
            const std::optional<double> level = levelAt(c.scan, c.pol, f);
            if (!level)
                return std::nullopt;
            return top - *level;
        });
    }
}

void drawDifferencePlot(const ScanData &newest, const ScanData &reference, const View &view,
                        Canvas &canvas, const std::optional<LevelScale> &levels)
{
    const PlotRange range = PlotRange::of(newest, reference, levels);
    const FrequencyScale scale = view.scale();
    const double h = range.levelSpan();
    canvas.erase();
    canvas.setScale(scale.left, h, scale.width, -2 * h);
    drawGrid(view, canvas, -h, h);

    const FrequencyRange validNewest = lookupRange(newest);
    const FrequencyRange validReference = lookupRange(reference);
    const FrequencyRange valid{std::max(validNewest.first, validReference.first),
                               std::min(validNewest.last, validReference.last)};
    const FrequencyRange points =
        visiblePoints(curveRange(range.commonFirst, range.commonLast, valid), scale);
    for (const Polarisation pol : {Polarisation::Horizontal, Polarisation::Vertical}) {
        if (!carries(newest, pol) || !carries(reference, pol))
            continue;
        canvas.setForeColor(pol == Polarisation::Horizontal ? palette::horizontalDifference
                                                            : palette::verticalDifference);
        drawCurve(canvas, points.first, points.last, [&](double f) -> std::optional<double> {
            const std::optional<double> newestLevel = levelAt(newest, pol, f);
            const std::optional<double> referenceLevel = levelAt(reference, pol, f);
            if (!newestLevel || !referenceLevel)
                return std::nullopt;
            return *newestLevel - *referenceLevel;
        });
    }

    canvas.setForeColor(palette::zeroLine);
    canvas.line(view.first(), 0, view.last(), 0);
}

ScaleTexts drawScans(const ScanData &newest, const ScanData &reference, const View &view,
                     Canvas &levelCanvas, Canvas &differenceCanvas,
                     const std::optional<LevelScale> &levels)
{
    drawLevelPlot(newest, reference, view, levelCanvas, levels);
    drawDifferencePlot(newest, reference, view, differenceCanvas, levels);
    return scaleTexts(PlotRange::of(newest, reference, levels), view);
}

} // namespace ws
