#include "mainwindow.h"

#include "plotspanel.h"
#include "scanfilespanel.h"

// Every load of a scan shows the whole range of the scans now loaded; only
// a reload of a file that left that range as it was keeps the zoom.
void MainWindow::drawScans()
{
    Q_ASSERT(scans_.bothLoaded());
    files_->enableMapLoad();
    const bool wasZoomed = view_.zoomed();
    const ws::View whole = ws::View::whole(ws::PlotRange::of(*scans_.newest, *scans_.reference));
    // A reload of a file keeps the zoom while the whole range stays.
    const bool keep = keepViewOnLoad_ && whole.full().first == view_.full().first &&
                      whole.full().last == view_.full().last;
    if (!keep) {
        view_ = whole;
        pendingZoomDelta_ = 0;
        pendingPanDelta_ = 0;
    }
    drawPlots();
    // Unzoomed, a load leaves the strip alone (it keeps the scale of its
    // map's load); a zoomed strip goes back to that scale.
    if (wasZoomed && !keep)
        drawMapStrip();
    repaintWindow();
}

void MainWindow::drawPlots()
{
    plots_->drawScans(*scans_.newest, *scans_.reference, view_);
}

void MainWindow::drawMapStrip()
{
    // Without a map the strip stays blank, in its own pixels.
    if (!mapScale_)
        return;
    plots_->drawMap(map_, view_.zoomed() ? view_.scale() : *mapScale_);
}
