#include "mainwindow.h"

#include "plotspanel.h"

#include <QKeySequence>
#include <QShortcut>

// Zooming and panning the frequency axis: the wheel over any of the three
// plots, Escape and Ctrl+0 for the whole range. The plots, the strip and
// the labels under them are redrawn from the view; the readout and a
// click's frequency follow, since the plots report positions in their
// scale.

void MainWindow::wireZoom()
{
    connect(plots_, &PlotsPanel::plotWheelTurned, this,
            [this](double fraction, QPoint angleDelta, Qt::KeyboardModifiers modifiers) {
                turnWheel(view_.frequencyAt(fraction), angleDelta, modifiers);
            });
    // The strip goes by its own scale: unzoomed it keeps the one of the
    // scans its map was loaded with, which other scans loaded since may
    // have left.
    connect(plots_, &PlotsPanel::mapStripWheelTurned, this,
            [this](double fraction, QPoint angleDelta, Qt::KeyboardModifiers modifiers) {
                const double mhz = mapScale_ && !view_.zoomed()
                                       ? mapScale_->left + fraction * mapScale_->width
                                       : view_.frequencyAt(fraction);
                turnWheel(mhz, angleDelta, modifiers);
            });
    // Window-wide, so that they work whatever has the focus: the text boxes
    // leave both keys to the window.
    for (const QKeySequence &keys :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_0)}) {
        auto *shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, &MainWindow::showWholeRange);
    }
}

void MainWindow::turnWheel(double mhz, QPoint angleDelta, Qt::KeyboardModifiers modifiers)
{
    if (!scans_.bothLoaded())
        return;
    // Shift makes the wheel a horizontal one, as in most programs.
    const bool sideways = modifiers & Qt::ShiftModifier;
    const int zoomNotches =
        sideways ? 0 : ws::takeWheelNotches(pendingZoomDelta_, angleDelta.y());
    const int panNotches = ws::takeWheelNotches(
        pendingPanDelta_, angleDelta.x() + (sideways ? angleDelta.y() : 0));
    ws::View view = view_;
    view.zoomAt(mhz, zoomNotches);
    // A wheel turned away from the user, or to the left, shows what lies
    // to the left: the lower frequencies.
    view.pan(-panNotches);
    showView(view);
}

void MainWindow::zoomAround(double mhz, int notches)
{
    if (!scans_.bothLoaded())
        return;
    ws::View view = view_;
    view.zoomAt(mhz, notches);
    showView(view);
}

void MainWindow::panView(int steps)
{
    ws::View view = view_;
    view.pan(steps);
    showView(view);
}

void MainWindow::showWholeRange()
{
    ws::View view = view_;
    view.reset();
    showView(view);
}

void MainWindow::showView(const ws::View &view)
{
    // A notch at a limit, or Escape at the whole range, changes nothing and
    // redraws nothing.
    if (view == view_)
        return;
    view_ = view;
    drawPlots();
    drawMapStrip();
    // The readout names the frequency now under the pointer.
    plots_->reportPointerAgain();
}
