#include "mainwindow.h"

#include "drawscans.h"
#include "mapstrip.h"
#include "plotwidget.h"

#include <QLabel>
#include <QPushButton>

// Every load of a scan shows the whole range of the scans now loaded.
void MainWindow::drawScans()
{
    Q_ASSERT(scans_.bothLoaded());
    loadMapButton->setEnabled(true);
    const bool wasZoomed = view_.zoomed();
    view_ = ws::View::whole(ws::PlotRange::of(*scans_.newest, *scans_.reference));
    pendingZoomDelta_ = 0;
    pendingPanDelta_ = 0;
    drawPlots();
    // Unzoomed, a load leaves the strip alone (it keeps the scale of its
    // map's load); a zoomed strip goes back to that scale.
    if (wasZoomed)
        drawMapStrip();
    repaintWindow();
}

void MainWindow::drawPlots()
{
    const ws::ScaleTexts texts =
        ws::drawScans(*scans_.newest, *scans_.reference, view_, *levelPlot, *differencePlot);
    startFrequencyLabel->setText(texts.left);
    endFrequencyLabel->setText(texts.right);
    startFrequencyLabel->setVisible(true);
    endFrequencyLabel->setVisible(true);
    levelTopLabel->setText(texts.top);
    levelBottomLabel->setText(texts.bottom);
    differenceTopLabel->setText(texts.diffTop);
    differenceBottomLabel->setText(texts.diffBottom);
}

void MainWindow::drawMapStrip()
{
    // Without a map the strip stays blank, in its own pixels.
    if (!mapScale_)
        return;
    mapStrip->cls();
    ws::setMapStripScale(*mapStrip, view_.zoomed() ? view_.scale() : *mapScale_);
    ws::drawMapEntries(*mapStrip, map_);
}
