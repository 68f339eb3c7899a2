#pragma once

#include "app/plotwidget.h"
#include "app/windowelements.h"
#include "app/windowpanel.h"
#include "map/mapfile.h"
#include "plot/axislabels.h"
#include "plot/view.h"
#include "scan/scans.h"

#include <QLabel>

#include <optional>

// The plots: the level plot and the difference plot with the scale values
// beside and under them, the map strip, the readout of the frequency under
// the pointer, and the view, the part of the frequency axis they show. The
// titles and legends beside them are fixed text; the table alone has them.
// A window larger than its default size has room for more numbers, which
// the panel paints on its bare ground between its elements: frequencies at
// the grid lines under the level plot, level values beside both plots
// between their ends, and the levels under the pointer after the readout.
// At the default size it paints none of them, so that the window looks as
// it always has.
// The plots report positions in their own scale, which the drawing sets:
// megahertz for a position across.
//
// The view: zooming and panning the frequency axis with the wheel over any
// of the three plots. The plots, the strip and the labels under them are
// redrawn from the view; the readout and a press's frequency follow, since
// the plots report positions in their scale.
class PlotsPanel : public WindowPanel
{
    Q_OBJECT

public:
    // Draws `scans` and `map`, which the window keeps and loads.
    PlotsPanel(const ws::Scans &scans, const ws::MapData &map, QWidget *parent = nullptr);

    // Draws both scans, loaded now, over their whole range. A reload of a
    // file (`keepZoom`) keeps the view while that range stays the same.
    void showScans(bool keepZoom);
    // Empties the map strip.
    void clearMapStrip();
    // Draws the map freshly loaded into the strip, which takes the plots'
    // whole scale now and keeps it: scans loaded later redraw the plots,
    // not the strip. Only while zoomed in does it show the visible range
    // instead.
    void showMap();
    // Whether the strip shows a map.
    bool mapShown() const { return mapScale_.has_value(); }

    // Keeps the level scale the plots show now (before the first drawing,
    // the first one's) through every load until released; released, the
    // plots take their scans' own scale again. The frequency axis is not
    // held.
    void holdLevelScale(bool on);
    bool levelScaleHeld() const { return holdLevels_; }

    // What the plots show of the scans' range.
    const ws::View &view() const { return view_; }
    // Zooms in (positive) or out by `notches` around `mhz`, keeping it in
    // its place; needs both scans drawn.
    void zoomAround(double mhz, int notches);
    // Moves the visible range by a tenth of its width per step, towards the
    // higher frequencies for positive steps.
    void pan(int steps);
    // The whole range of the scans again.
    void showWholeRange();

    // The frequency at `mhz` and the known transmission nearest to it;
    // without one the entry shown before stays.
    void showReadoutAt(double mhz);
    void clearReadout();

signals:
    // A press into the level or the difference plot, or into the map strip,
    // with the keyboard's modifiers (Shift watches instead of checking).
    void plotPressed(double mhz, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void mapStripPressed(double mhz, Qt::KeyboardModifiers modifiers);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void drawPlots();
    void paintFrequencyLabels(QPainter &painter);
    void paintValueLabels(QPainter &painter, const PlotWidget &plot, const ws::ValueAxis &axis,
                          const QLabel &topLabel);
    void paintPointerLevels(QPainter &painter);
    // Where the levels under the pointer go: the readout's row.
    QRect pointerLevelsRow() const;
    void notePointer(std::optional<double> mhz);
    void drawMapStrip();
    void showView(const ws::View &view);
    // The wheel over a plot, at the frequency under the pointer.
    void turnWheel(double mhz, QPoint angleDelta, Qt::KeyboardModifiers modifiers);

    const ws::Scans &scans_;
    const ws::MapData &map_;
    // Every scan load resets it.
    ws::View view_;
    // The scale the map strip took at its map's load. Unzoomed, the strip
    // keeps it while scans come and go; zoomed in, it shows the visible
    // range instead, and returns to this one when the zoom ends.
    std::optional<ws::FrequencyScale> mapScale_;
    // The parts of a wheel notch that touchpads send, until a notch is full.
    ws::WheelTurns wheel_;
    bool holdLevels_ = false;
    // The held scale, once the plots have been drawn since the hold began.
    std::optional<ws::LevelScale> heldLevels_;
    // The frequency the readout names, while it names one.
    std::optional<double> pointerMhz_;

    PlotWidget *const levelPlot = create<PlotWidget>(ws::window::names::levelPlot);
    QLabel *const levelTopLabel = create<QLabel>(ws::window::names::levelTopLabel);
    QLabel *const levelBottomLabel = create<QLabel>(ws::window::names::levelBottomLabel);
    PlotWidget *const differencePlot = create<PlotWidget>(ws::window::names::differencePlot);
    QLabel *const differenceTopLabel = create<QLabel>(ws::window::names::differenceTopLabel);
    QLabel *const differenceBottomLabel =
        create<QLabel>(ws::window::names::differenceBottomLabel);
    QLabel *const startFrequencyLabel = create<QLabel>(ws::window::names::startFrequencyLabel);
    QLabel *const endFrequencyLabel = create<QLabel>(ws::window::names::endFrequencyLabel);
    PlotWidget *const mapStrip = create<PlotWidget>(ws::window::names::mapStrip);

    QLabel *const pointerFrequencyLabel =
        create<QLabel>(ws::window::names::pointerFrequencyLabel);
    QLabel *const nearestTitleLabel = create<QLabel>(ws::window::names::nearestTitleLabel);
    QLabel *const nearestEntryLabel = create<QLabel>(ws::window::names::nearestEntryLabel);
};
