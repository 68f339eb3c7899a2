#include "app/mainwindow.h"

#include "app/pointingpanel.h"


// Where to point the dish, in a small window beside this one, before the
// first scan.

PointingPanel &MainWindow::pointingPanel()
{
    if (!pointing_)
        pointing_ = new PointingPanel(this);
    return *pointing_;
}

PointingPanel &MainWindow::showPointing()
{
    PointingPanel &panel = pointingPanel();
    panel.show();
    panel.raise();
    panel.activateWindow();
    return panel;
}

void MainWindow::presetSite(const ws::pointing::Site &site)
{
    pointingPanel().setSite(site);
}
