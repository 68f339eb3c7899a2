#include "app/mainwindow.h"

#include "wording/messages.h"
#include "app/plotspanel.h"
#include "app/scanfilespanel.h"

#include <QEvent>

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

void MainWindow::holdLevelScale(bool on)
{
    plots_->holdLevelScale(on);
    markHeldScaleInTitle();
    repaintWindow();
}

bool MainWindow::levelScaleHeld() const
{
    return plots_->levelScaleHeld();
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowTitleChange)
        markHeldScaleInTitle();
    QWidget::changeEvent(event);
}

void MainWindow::markHeldScaleInTitle()
{
    // A title saved while the scale was held and set again after the hold
    // ended (a full scan's) still carries the mark: it goes then.
    const QString mark = ws::messages::scaleHeldInTitle();
    const QString title = windowTitle();
    const bool marked = title.endsWith(mark);
    const bool held = plots_ && plots_->levelScaleHeld();
    if (held && !marked)
        setWindowTitle(title + mark);
    else if (!held && marked)
        setWindowTitle(title.chopped(mark.size()));
}
