#pragma once

#include "mapfile.h"
#include "plotwidget.h"
#include "scanfile.h"
#include "view.h"
#include "windowelements.h"
#include "windowpanel.h"

#include <QLabel>

#include <optional>

// The plots: the level plot and the difference plot with the scale values
// beside and under them, the map strip, and the readout of the frequency
// under the pointer. The legends beside them are fixed text; the table
// alone has them. The plots report positions in their own scale, which
// the drawing sets: megahertz for a position across.
class PlotsPanel : public WindowPanel
{
    Q_OBJECT

public:
    explicit PlotsPanel(QWidget &window);

    // Draws the part of the two scans that `view` shows into the level and
    // difference plots, and their scale values beside and under them.
    void drawScans(const ws::ScanData &newest, const ws::ScanData &reference,
                   const ws::View &view);
    // Empties the map strip.
    void clearMapStrip();
    // Draws the map's entries into the strip afresh, on `scale`.
    void drawMap(const ws::MapData &map, const ws::FrequencyScale &scale);
    // The frequency under the pointer and the known transmission nearest
    // to it; without one the entry shown before stays.
    void showReadout(const QString &frequency, const std::optional<QString> &nearestEntry);
    void clearReadout();
    // Each plot reports the pointer again, at the frequency its new scale
    // puts under it.
    void reportPointerAgain();

signals:
    // A press into the level or the difference plot.
    void plotPressed(double mhz, Qt::MouseButton button);
    void mapStripPressed();
    void pointerMoved(double mhz);
    // The wheel over the level or difference plot, or over the map strip:
    // `fraction` is where the pointer is across the plot (0 left, 1 right).
    void plotWheelTurned(double fraction, QPoint angleDelta, Qt::KeyboardModifiers modifiers);
    void mapStripWheelTurned(double fraction, QPoint angleDelta,
                             Qt::KeyboardModifiers modifiers);

private:
    PlotWidget *const levelPlot = element<PlotWidget>(ws::window::names::levelPlot);
    QLabel *const levelTopLabel = element<QLabel>(ws::window::names::levelTopLabel);
    QLabel *const levelBottomLabel = element<QLabel>(ws::window::names::levelBottomLabel);
    PlotWidget *const differencePlot = element<PlotWidget>(ws::window::names::differencePlot);
    QLabel *const differenceTopLabel = element<QLabel>(ws::window::names::differenceTopLabel);
    QLabel *const differenceBottomLabel =
        element<QLabel>(ws::window::names::differenceBottomLabel);
    QLabel *const startFrequencyLabel = element<QLabel>(ws::window::names::startFrequencyLabel);
    QLabel *const endFrequencyLabel = element<QLabel>(ws::window::names::endFrequencyLabel);
    PlotWidget *const mapStrip = element<PlotWidget>(ws::window::names::mapStrip);

    QLabel *const pointerFrequencyLabel =
        element<QLabel>(ws::window::names::pointerFrequencyLabel);
    QLabel *const nearestTitleLabel = element<QLabel>(ws::window::names::nearestTitleLabel);
    QLabel *const nearestEntryLabel = element<QLabel>(ws::window::names::nearestEntryLabel);
};
