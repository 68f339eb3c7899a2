#include "form1.h"

#include "files.h"
#include "levels.h"
#include "mapfile.h"
#include "mapstrip.h"
#include "texts.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>

#include <algorithm>

// Loads a map of known transmissions: the entries that the readout and the
// full scan look up, the listing in Text1 and the coloured strip under the
// plots. A cancelled dialog or a file that cannot be read keeps the previous
// map whole, so that the entries, the listing and the strip always describe
// the same map.
void Form1::Command4_Click()
{
    const QString cancelled = QStringLiteral("Cancel/Abbruch");
    if (!CommonDialog[3]->showOpen()) {
        platform_.dialogs->message(cancelled);
        return;
    }
    const QString path = CommonDialog[3]->fileName();
    // Only an ordinary file that can be opened gets as far as clearing the
    // strip; anything else leaves the window as it was.
    QFile probe(path);
    if (!QFileInfo(path).isFile() || !probe.open(QIODevice::ReadOnly)) {
        platform_.dialogs->message(cancelled);
        return;
    }
    probe.close();

    const QString previousLabel = Label8->text();
    Label8->setText(QStringLiteral("Loading, please wait ..."));
    Picture3->cls();
    repaintWindow();

    // A map of known transmissions is some tens of kilobytes. The listing
    // in Text1 is the whole file, so a file of many megabytes cannot be
    // loaded without freezing the window in the text box; instead of
    // loading its entries with a cut listing, it is refused and the user
    // is told why: a file that large is far more likely a wrong pick than
    // a map.
    constexpr qint64 kReadLimit = qint64(16) << 20;
    const std::optional<ws::FileStart> file = ws::readFileStart(path, kReadLimit);
    if (!file || !file->complete) {
        // The strip was already cleared; the map is untouched, so it can be
        // drawn again as it was, on the scale it was drawn with.
        Label8->setText(previousLabel);
        ws::drawMapEntries(*Picture3, map_);
        repaintWindow();
        if (!file) {
            platform_.dialogs->message(cancelled);
        } else {
            // The size found before reading may be out of date for a file
            // that grew meanwhile; what was read is at least that long.
            const qint64 size = std::max<qint64>(file->size, file->bytes.size());
            platform_.dialogs->message(path + QStringLiteral(" is too large for a map (")
                                       + QString::number(size) + QStringLiteral(" bytes; at most ")
                                       + QString::number(kReadLimit) + QStringLiteral(")"));
        }
        return;
    }

    map_ = ws::parseMap(file->bytes);

    Label8->setText(path + QStringLiteral("  ") + ws::generalDateText(file->lastModified) +
                    QStringLiteral("  ") + QString::number(file->size));

    // The strip takes the plots' scale now and keeps it: scans loaded later
    // redraw the plots, not the strip.
    ws::setMapStripScale(*Picture3, ws::FrequencyScale::of(scans_));
    ws::drawMapEntries(*Picture3, map_);

    Text1->setPlainText(map_.listing);
    repaintWindow();
}
