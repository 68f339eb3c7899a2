#include "mainwindow.h"

#include "fileopendialog.h"
#include "files.h"
#include "messages.h"
#include "scanfile.h"

#include <QLabel>
#include <QPushButton>

void MainWindow::loadScan(ws::ScanSlot slot)
{
    FileOpenDialog *dialog = slot == ws::ScanSlot::Newest ? newestDialog : referenceDialog;
    if (!dialog->showOpen()) {
        platform_.dialogs->message(ws::messages::cancelled());
        return;
    }
    loadScanFrom(slot, dialog->fileName());
}

bool MainWindow::loadScanFrom(ws::ScanSlot slot, const QString &path)
{
    const bool newest = slot == ws::ScanSlot::Newest;
    (newest ? newestDialog : referenceDialog)->setFileName(path);

    QLabel *label = newest ? newestLabel : referenceLabel;
    const QString previousText = label->text();
    label->setText(ws::messages::loadingScan());
    repaintWindow();

    // A load either completes or changes nothing: the file is read whole
    // into a scan of its own, and only a complete scan replaces the slot.
    // Otherwise a half-read file would stay behind in a slot that counts as
    // loaded and be drawn by the next load of the other slot.
    const auto fail = [&](const QString &text) {
        label->setText(previousText);
        platform_.dialogs->message(text);
    };
    // A scan is some tens of kilobytes. Reading at most a bound keeps a
    // wrong pick (a disk image, say) from filling the memory. A file longer
    // than the bound is refused as unreadable, even when its scan ended
    // well before the bound: the reader would take what was read for the
    // whole file, and the line that runs across the bound would be stored
    // cut ("987" as "9"). Telling a scan followed by megabytes of junk from
    // one whose last block runs past the bound is not worth a special case
    // for files that no scan tool writes.
    constexpr qint64 kReadLimit = qint64(64) << 20;
    const auto file = ws::readWholeFile(path, kReadLimit);
    if (!file.value) {
        fail(ws::messages::cancelled());
        return false;
    }
    ws::ScanParse parse = ws::parseScan(file.value->bytes);
    if (!parse.value) {
        fail(parse.failure.message());
        return false;
    }
    label->setText(
        ws::scanSummary(path, file.value->lastModified, file.value->size, *parse.value));
    scans_.load(slot, std::move(*parse.value));
    scanLoadedFrom(slot, path, file.value->size, file.value->lastModified);
    if (scans_.bothLoaded())
        drawScans();
    return true;
}
