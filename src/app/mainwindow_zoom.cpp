#include "app/mainwindow.h"

#include "app/plotspanel.h"

#include <QKeySequence>
#include <QShortcut>

// Zooming and panning the frequency axis: the plots panel keeps the view
// and takes the wheel over its plots; the window adds Escape and Ctrl+0
// for the whole range.

void MainWindow::wireZoom()
{
    // Window-wide, so that it works whatever has the focus. Escape shows
    // the whole range too, unless it stops a check (setupReceiver).
    auto *shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_0), this);
    connect(shortcut, &QShortcut::activated, this, &MainWindow::showWholeRange);
}

const ws::View &MainWindow::view() const
{
    return plots_->view();
}

void MainWindow::zoomAround(double mhz, int notches)
{
    plots_->zoomAround(mhz, notches);
}

void MainWindow::panView(int steps)
{
    plots_->pan(steps);
}

void MainWindow::showWholeRange()
{
    plots_->showWholeRange();
}
