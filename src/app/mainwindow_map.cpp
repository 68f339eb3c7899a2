#include "mainwindow.h"

#include "fileopendialog.h"
#include "files.h"
#include "levels.h"
#include "mapfile.h"
#include "mapstrip.h"
#include "plotwidget.h"
#include "messages.h"
#include "texts.h"

#include <QFile>
#include <QFileInfo>
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
    QFile probe(path);
    if (!QFileInfo(path).isFile() || !probe.open(QIODevice::ReadOnly)) {
        platform_.dialogs->message(cancelled);
        return false;
    }
    probe.close();

    const QString previousLabel = mapLabel->text();
    mapLabel->setText(ws::messages::loadingMap());
    mapStrip->cls();
    repaintWindow();

    // A map of known transmissions is some tens of kilobytes. The listing
    // in the log box is the whole file, so a file of many megabytes cannot be
    // loaded without freezing the window in the text box; instead of
    // loading its entries with a cut listing, it is refused and the user
    // is told why: a file that large is far more likely a wrong pick than
    // a map.
    const auto file = ws::readWholeFile(path, ws::kMaxMapFileBytes);
    if (!file.value) {
        // The strip was already cleared; the map is untouched, so it can be
        // drawn again as it was, on the scale it was drawn with.
        mapLabel->setText(previousLabel);
        ws::drawMapEntries(*mapStrip, map_);
        repaintWindow();
        platform_.dialogs->message(
            file.failure.tooLarge
                ? ws::messages::mapTooLarge(path, file.failure.size, ws::kMaxMapFileBytes)
                : cancelled);
        return false;
    }

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
