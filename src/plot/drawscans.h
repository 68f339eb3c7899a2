#pragma once

#include "plot/canvas.h"
#include "plot/levels.h"
#include "plot/view.h"
#include "scan/scanfile.h"

#include <QString>

#include <optional>

// The spectrum plot: the level curves of both scans, newest over reference,
// and their difference, on one frequency axis with a 100-MHz grid.
namespace ws {

struct ScaleTexts
{
    QString left;        // first frequency " MHz"
    QString right;       // last frequency " MHz"
    QString top;         // highest level
    QString bottom;      // lowest level
    QString diffTop;     // the level span, in single precision
    QString diffBottom;  // its negative
};
ScaleTexts scaleTexts(const PlotRange &range);
// Zoomed in, left and right name the visible ends instead, as whole MHz.
ScaleTexts scaleTexts(const PlotRange &range, const View &view);

// The grid frequencies every 100 MHz, from the hundred nearest the first to
// the one nearest the last (halves to even); nothing when either does not
// fit a 16-bit integer, as the grid was always computed that way.
struct GridRange
{
    int first;
    int last;
};
std::optional<GridRange> gridRange(double f0, double f1);

// Redraws the level plot (highest level at the top) or the difference plot
// (+span at the top, -span at the bottom, so a stronger newest scan lies
// above zero) over the view's visible part. The levels keep the whole scans'
// scale, or the held `levels`, so zooming never makes a weak signal look strong.
void drawLevelPlot(const ScanData &newest, const ScanData &reference, const View &view,
                   Canvas &canvas, const std::optional<LevelScale> &levels = std::nullopt);
void drawDifferencePlot(const ScanData &newest, const ScanData &reference, const View &view,
                        Canvas &canvas, const std::optional<LevelScale> &levels = std::nullopt);

ScaleTexts drawScans(const ScanData &newest, const ScanData &reference, const View &view,
                     Canvas &levelCanvas, Canvas &differenceCanvas,
                     const std::optional<LevelScale> &levels = std::nullopt);

} // namespace ws
