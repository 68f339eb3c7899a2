#include "app/mainwindow.h"

#include "app/historywindow.h"
#include "app/logpanel.h"
#include "wording/messages.h"
#include "app/plotspanel.h"
#include "app/scanfilespanel.h"
#include "core/texts.h"
#include "map/mapfile.h"
#include "plot/levels.h"


// Loads a map of known transmissions: the entries that the readout and the
// full scan look up, the listing in the log box and the coloured strip under the
// plots. A cancelled dialog or a file that cannot be read keeps the previous
// map whole, so that the entries, the listing and the strip always describe
// the same map.
void MainWindow::loadMap()
{
    const std::optional<QString> path = files_->askForFile(ScanFilesPanel::Target::Map);
    if (!path) {
        platform_.dialogs->message(ws::messages::cancelled());
        return;
    }
    loadMapFrom(*path);
}

bool MainWindow::loadMapFrom(const QString &path)
{
    files_->offerNext(ScanFilesPanel::Target::Map, path);
    const QString cancelled = ws::messages::cancelled();
    // Only an ordinary file that can be opened gets as far as clearing the
    // strip; anything else leaves the window as it was.
    const auto file = ws::readMapFile(path);
    if (!file.value) {
        platform_.dialogs->message(cancelled, ws::failureDetail(path, file.failure.reason));
        return false;
    }

    files_->describe(ScanFilesPanel::Target::Map, ws::messages::loadingMap());
    plots_->clearMapStrip();
    repaintWindow();

    map_ = ws::parseMap(file.value->bytes);
    loadedMapPath_ = path;

    files_->describe(ScanFilesPanel::Target::Map,
                     path + QStringLiteral("  ") + ws::generalDateText(file.value->lastModified)
                         + QStringLiteral("  ") + QString::number(file.value->size));

    plots_->showMap();
    if (history_)
        history_->setMap(map_);

    // F5 rebuilds a table of levels shown for the map as it is now; a map
    // picked anew is listed.
    if (reloading_ && log_->showsLevels())
        rebuildShownLevels();
    else
        log_->show(map_.listing);
    repaintWindow();
    if (ws::holdsNoFrequency(map_))
        platform_.dialogs->message(ws::messages::mapWithoutFrequency(path));
    return true;
}
