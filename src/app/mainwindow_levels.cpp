#include "app/mainwindow.h"

#include "app/logpanel.h"
#include "app/plotspanel.h"
#include "plot/transmissionlevels.h"

#include <QShortcut>

namespace {

// Ctrl+R is no button that could be disabled; pressed too early, it says why
// nothing is shown.
QString levelsNeedScansAndMap()
{
    return QStringLiteral("The levels of the known transmissions need both scans and a map "
                          "loaded");
}

} // namespace

void MainWindow::showTransmissionLevels()
{
    // While a check runs the log box is its log. Between the rows of a full
    // scan the table would only flash up until the next check replaced it.
    if (receiverBusy())
        return;
    if (!scans_.bothLoaded() || !plots_->mapShown()) {
        platform_.dialogs->message(levelsNeedScansAndMap());
        return;
    }
    const std::vector<ws::TransmissionLevel> levels =
        ws::transmissionLevels(*scans_.newest, *scans_.reference, map_.entries);
    // The largest losses stand at the top; that is what to see first.
    log_->showFromStart(ws::levelsTable(map_.entries, levels));
}

void MainWindow::setupLevelsShortcut()
{
    auto *levels = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_R), this);
    connect(levels, &QShortcut::activated, this, [this] { showTransmissionLevels(); });
}
