#include "mainwindow.h"

#include <QImage>
#include <QPixmap>

QImage MainWindow::picture()
{
    // Rendered from the widgets, not read from the screen: a dialog or
    // another window in front of this one does not show in it.
    return grab().toImage();
}
