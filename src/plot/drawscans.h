#pragma once

#include "canvas.h"
#include "sharedstate.h"

#include <QColor>
#include <QString>

#include <optional>

// The spectrum plot: the level curves of both scans, newest over reference,
// and their difference, on one frequency axis with a 100-MHz grid.
namespace ws {

namespace plotcolors {
inline const QColor grid{255, 255, 0};
inline const QColor horizontalOld{255, 0, 255};
inline const QColor horizontalNew{255, 0, 0};
inline const QColor verticalOld{0, 255, 255};
inline const QColor verticalNew{0, 0, 255};
inline const QColor horizontalDiff{255, 0, 0};
inline const QColor verticalDiff{0, 0, 255};
inline const QColor zeroLine{0, 0, 0};
} // namespace plotcolors

// Slot 0 of fstart, fend, smin, smax and the common range ovstart..ovend,
// from slots 1 and 2.
void combineSlots(SharedState &s);

// The six scale texts, from the combined slot 0.
struct ScaleTexts
{
    QString left;    // F0 " MHz"
    QString right;   // F1 " MHz"
    QString top;     // L1
    QString bottom;  // L0
    QString diffTop;     // H
    QString diffBottom;  // -H
};
ScaleTexts scaleTexts(const SharedState &s);

// The grid frequencies, every 100 MHz from the hundred nearest to F0 to the
// one nearest to F1 (halves to even). Nothing when either does not fit a
// 16-bit integer, as the grid was always computed that way.
struct GridRange
{
    int first;
    int last;
};
std::optional<GridRange> gridRange(double f0, double f1);

// Clears and redraws one plot from the combined slot 0 and slots 1 and 2:
// the levels plot (top at L1, H levels high) and the difference plot (+H at
// the top edge, -H at the bottom, so a stronger newest scan lies above the
// zero line).
void drawLevelPlot(const SharedState &s, Canvas &canvas);
void drawDifferencePlot(const SharedState &s, Canvas &canvas);

// All of it: combines the slots, draws both plots and returns the texts for
// the scale labels.
ScaleTexts drawScans(SharedState &s, Canvas &levels, Canvas &differences);

} // namespace ws
