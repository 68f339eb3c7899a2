#include "app/mainwindow.h"

#include "app/plotspanel.h"

// Zooming and panning the frequency axis: the plots panel keeps the view
// and takes the wheel over its plots; the window adds Escape and Ctrl+0
// for the whole range.

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
