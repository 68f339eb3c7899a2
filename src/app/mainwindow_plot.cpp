#include "app/mainwindow.h"

#include "app/plotspanel.h"
#include "app/scanfilespanel.h"

// Every load of a scan shows the whole range of the scans now loaded; only
// a reload of a file that left that range as it was keeps the zoom.
void MainWindow::drawScans()
{
    Q_ASSERT(scans_.bothLoaded());
    files_->enableMapLoad();
    plots_->showScans(reloading_);
    rebuildShownLevels();
    repaintWindow();
}
