#include "mainwindow.h"

#include "drawscans.h"
#include "plotwidget.h"

#include <QLabel>
#include <QPushButton>

void MainWindow::drawScans()
{
    Q_ASSERT(scans_.bothLoaded());
    loadMapButton->setEnabled(true);
    const ws::ScaleTexts texts =
        ws::drawScans(*scans_.newest, *scans_.reference, *levelPlot, *differencePlot);
    startFrequencyLabel->setText(texts.left);
    endFrequencyLabel->setText(texts.right);
    startFrequencyLabel->setVisible(true);
    endFrequencyLabel->setVisible(true);
    levelTopLabel->setText(texts.top);
    levelBottomLabel->setText(texts.bottom);
    differenceTopLabel->setText(texts.diffTop);
    differenceBottomLabel->setText(texts.diffBottom);
    repaintWindow();
}
