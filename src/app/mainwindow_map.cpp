#include "mainwindow.h"

#include "fileopendialog.h"
#include "levels.h"
#include "mapfile.h"
#include "mapstrip.h"
#include "plotwidget.h"
#include "messages.h"
#include "texts.h"

#include <QLabel>
#include <QPlainTextEdit>

// Loads a map of known transmissions: the entries that the readout and the
// full scan look up, the listing in the log box and the coloured strip under the
// plots. A cancelled dialog or a file that cannot be read keeps the previous
// map whole, so that the entries, the listing and the strip always describe
// the same map.
void MainWindow::loadMap()
{
    if (!mapDialog->showOpen()) {
        platform_.dialogs->message(ws::messages::cancelled());
        return;
    }
    loadMapFrom(mapDialog->fileName());
}

bool MainWindow::loadMapFrom(const QString &path)
{
    mapDialog->setFileName(path);
    const QString cancelled = ws::messages::cancelled();
    // Only an ordinary file that can be opened gets as far as clearing the
    // strip; anything else leaves the window as it was.
    const auto file = ws::readMapFile(path);
    if (!file.value) {
        platform_.dialogs->message(cancelled, ws::failureDetail(path, file.failure.reason));
        return false;
    }

    mapLabel->setText(ws::messages::loadingMap());
    mapStrip->cls();
    repaintWindow();

    map_ = ws::parseMap(file.value->bytes);
    loadedMapPath_ = path;

    mapLabel->setText(path + QStringLiteral("  ") + ws::generalDateText(file.value->lastModified)
                    + QStringLiteral("  ") + QString::number(file.value->size));

    // The strip takes the plots' whole scale now and keeps it: scans loaded
    // later redraw the plots, not the strip. Only while zoomed in does it
    // show the visible range instead.
    mapScale_ = ws::FrequencyScale::of(scans_);
    drawMapStrip();

    logBox->setPlainText(map_.listing);
    repaintWindow();
    return true;
}
