#pragma once

#include "plot/canvas.h"
#include "plot/view.h"

#include <QImage>
#include <QRect>
#include <QtGlobal>

#include <optional>
#include <vector>

// The waterfall of a history of scans: one row per scan, the oldest at the
// top, sky frequency across on the plots' scale, each level a colour. A
// curve shows one scan's shape; the waterfall shows twenty or a thousand at
// once, and how each transmission grew and faded from one to the next.
namespace ws {

// The colour of a level at `fraction` of the way from the lowest level
// shown (0) to the highest (1). Perceptually uniform: the lightness rises
// evenly from a dark blue violet through blue, teal and green to a light
// yellow, so that equal steps of level look like equal steps of colour and
// the picture still reads in grey. Made by interpolating in the OKLab
// colour space between those hues.
QRgb levelColour(double fraction);

// What a waterfall row needs of a scan: its levels at the whole sky
// frequencies from `firstMhz` on, NaN where it has none.
struct WaterfallRow
{
    double firstMhz;
    const float *levels;
    qsizetype count;
};

// Which scan each pixel row of the waterfall shows. With room to spare,
// every scan gets an equal band of pixel rows (give or take one). Where the
// scans outnumber the pixel rows, a pixel row stands for several scans one
// after another and shows the newest of them, so that the last row is
// always the newest scan; a `preferred` scan (the best position) among them
// is shown instead.
class WaterfallRows
{
public:
    WaterfallRows(int scans, int pixelRows, int preferred = -1);
    // The scan that pixel row `y` shows; -1 outside the rows.
    int scanAt(int y) const;
    // The pixel rows from `top` to before `bottom` that show the scan;
    // top == bottom when none does.
    struct Band
    {
        int top;
        int bottom;
    };
    Band bandOf(int scan) const;

private:
    qint64 scans_;
    qint64 pixelRows_;
    int preferred_;
};

// Paints the scans into `area` of `image` (32-bit RGB): across, the view's
// visible part, on the same scale as the plots; each pixel column takes the
// highest level of the whole MHz it covers, so that a narrow peak stays
// visible at the whole range; levels from `lowest` to `highest` through
// levelColour, and the background where a scan has no level.
void drawWaterfall(QImage &image, const QRect &area, const std::vector<WaterfallRow> &rows,
                   const WaterfallRows &layout, const View &view, double lowest, double highest);

// A small plot of one transmission's level across the scans: the scans
// across in their order, the level up, a line through the scans that have
// one, and a mark at scan `marked` and another at `best`, the best position
// (none for -1).
void drawTrend(Canvas &canvas, const std::vector<std::optional<double>> &levels, int marked,
               int best = -1);

} // namespace ws
