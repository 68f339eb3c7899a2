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

// The level and difference plots with their scale values, the map strip,
// the readout under the pointer, and the view: the part of the frequency
// axis they show, zoomed and panned with the wheel over any plot. A window
// larger than its default size paints more numbers on the bare ground
// between the elements (grid frequencies, level values, the levels under the
// pointer); at the default size none, so the window looks as it always has.
// The plots report positions in megahertz, the scale the drawing sets.
class PlotsPanel : public WindowPanel
{
    Q_OBJECT

public:
    // Draws `scans` and `map`, which the window keeps and loads.
    PlotsPanel(const ws::Scans &scans, const ws::MapData &map, QWidget *parent = nullptr);

    // Draws both scans, loaded now, over their whole range. A reload of a
    // file (`keepZoom`) keeps the view while that range stays the same.
    void showScans(bool keepZoom);
    void clearMapStrip();
    // Draws a freshly loaded map into the strip, which keeps the plots' whole
    // scale of now (later scans redraw only the plots) except while zoomed in.
    void showMap();
    bool mapShown() const { return mapScale_.has_value(); }

    // Keeps the plots' level scale of now (before the first drawing, the
    // first one's) through every load until released. The frequency axis is not held.
    void holdLevelScale(bool on);
    bool levelScaleHeld() const { return holdLevels_; }

    const ws::View &view() const { return view_; }
    // Zooms in (positive) or out by `notches` around `mhz`, keeping it in
    // its place; needs both scans drawn.
    void zoomAround(double mhz, int notches);
    // Moves the visible range a tenth of its width per step, up for positive steps.
    void pan(int steps);
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
    QRect pointerLevelsRow() const;
    void notePointer(std::optional<double> mhz);
    void drawMapStrip();
    void showView(const ws::View &view);
    void turnWheel(double mhz, QPoint angleDelta, Qt::KeyboardModifiers modifiers);

    const ws::Scans &scans_;
    const ws::MapData &map_;
    // Every scan load resets it.
    ws::View view_;
    // The scale the map strip took at its map's load, kept while scans come
    // and go and returned to when a zoom ends.
    std::optional<ws::FrequencyScale> mapScale_;
    // The parts of a wheel notch that touchpads send, until a notch is full.
    ws::WheelTurns wheel_;
    bool holdLevels_ = false;
    // The held scale, once the plots have been drawn since the hold began.
    std::optional<ws::LevelScale> heldLevels_;
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
