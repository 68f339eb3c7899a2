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

// The colour of a level at `fraction` from the lowest shown (0) to the
// highest (1), interpolated in OKLab from a dark blue violet to a light
// yellow: lightness rises evenly, so equal steps of level look equal and
// the picture still reads in grey.
QRgb levelColour(double fraction);

// What a waterfall row needs of a scan: its levels at the whole sky
// frequencies from `firstMhz` on, NaN where it has none.
struct WaterfallRow
{
    double firstMhz;
    const float *levels;
    qsizetype count;
};

// Which scan each pixel row shows. With room to spare every scan gets an
// equal band. Where scans outnumber pixel rows, a row stands for several
// and shows the newest, so that the last row is always the newest scan, or
// the `preferred` one (the best position) among them.
class WaterfallRows
{
public:
    WaterfallRows(int scans, int pixelRows, int preferred = -1);
    // The scan that pixel row `y` shows; -1 outside the rows.
    int scanAt(int y) const;
    // The pixel rows from `top` to before `bottom` that show the scan.
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

// A small plot of one transmission's level across the scans, with a line
// through those that have one and marks at `marked` and at `best` (-1: none).
void drawTrend(Canvas &canvas, const std::vector<std::optional<double>> &levels, int marked,
               int best = -1);

} // namespace ws
