#include "mainwindow.h"

#include "drawscans.h"

#include <QLabel>
#include <QPushButton>

void MainWindow::drawScans()
{
    Q_ASSERT(scans_.bothLoaded());
    Command4->setEnabled(true);
    const ws::ScaleTexts texts =
        ws::drawScans(*scans_.newest, *scans_.reference, *Picture1, *Picture2);
    Label5->setText(texts.left);
    Label6->setText(texts.right);
    Label5->setVisible(true);
    Label6->setVisible(true);
    Label9->setText(texts.top);
    Label7->setText(texts.bottom);
    Label2->setText(texts.diffTop);
    Label3->setText(texts.diffBottom);
    repaintWindow();
}
