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

// The six scale texts beside the plots.
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

// The grid frequencies, every 100 MHz from the hundred nearest to the first
// frequency to the one nearest to the last (halves to even). Nothing when
// either does not fit a 16-bit integer, as the grid was always computed
// that way.
struct GridRange
{
    int first;
    int last;
};
std::optional<GridRange> gridRange(double f0, double f1);

// Clears and redraws one plot of the two scans: the levels plot (the
// highest level at the top, the level span high) and the difference plot
// (+span at the top edge, -span at the bottom, so a stronger newest scan
// lies above the zero line). Across, the plot shows the view's visible part
// of the frequency axis (View::whole: the whole range of both scans); the
// levels keep the scale of the whole scans, so that zooming in never makes
// a weak signal look strong. A held level scale (`levels`) takes the place
// of the scans' own.
void drawLevelPlot(const ScanData &newest, const ScanData &reference, const View &view,
                   Canvas &canvas, const std::optional<LevelScale> &levels = std::nullopt);
void drawDifferencePlot(const ScanData &newest, const ScanData &reference, const View &view,
                        Canvas &canvas, const std::optional<LevelScale> &levels = std::nullopt);

// Both plots, and the texts for their scale labels.
ScaleTexts drawScans(const ScanData &newest, const ScanData &reference, const View &view,
                     Canvas &levelCanvas, Canvas &differenceCanvas,
                     const std::optional<LevelScale> &levels = std::nullopt);

} // namespace ws
