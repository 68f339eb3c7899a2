#include "app/mainwindow.h"

#include "app/logpanel.h"
#include "app/plotspanel.h"
#include "plot/transmissionlevels.h"

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
    showLevelsTable();
}

void MainWindow::rebuildShownLevels()
{
    if (log_->showsLevels() && scans_.bothLoaded() && plots_->mapShown())
        showLevelsTable();
}

void MainWindow::showLevelsTable()
{
    const ws::NewestShown::Scan *before = newestShown_.show(*scans_.newest, loadedScans_[0]);
    const std::vector<ws::TransmissionLevel> levels =
        ws::transmissionLevels(*scans_.newest, *scans_.reference, map_.entries);
    const QString heading =
        ws::levelsTableHeading(loadedScans_[0], loadedScans_[1], loadedMapPath_,
                               before ? std::optional(before->source) : std::nullopt);
    // The largest losses stand at the top; that is what to see first.
    log_->showLevels(heading + QLatin1Char('\n') +
                     ws::levelsTable(map_.entries, levels, before ? &before->data : nullptr));
}
