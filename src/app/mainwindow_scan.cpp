#include "app/mainwindow.h"

#include "wording/messages.h"
#include "app/scanfilespanel.h"
#include "scan/scanfile.h"

void MainWindow::loadScan(ws::ScanSlot slot)
{
    const std::optional<QString> path = files_->askForFile(ScanFilesPanel::targetFor(slot));
    if (!path) {
        platform_.dialogs->message(ws::messages::cancelled());
        return;
    }
    loadScanFrom(slot, *path);
}

bool MainWindow::loadScanFrom(ws::ScanSlot slot, const QString &path)
{
    const ScanFilesPanel::Target target = ScanFilesPanel::targetFor(slot);
    files_->offerNext(target, path);

    const QString previousText = files_->description(target);
    files_->describe(target, ws::messages::loadingScan());
    repaintWindow();

    // A load either completes or changes nothing: the file is read whole
    // into a scan of its own, and only a complete scan replaces the slot.
    // Otherwise a half-read file would stay behind in a slot that counts as
    // loaded and be drawn by the next load of the other slot.
    const auto fail = [&](const QString &text, const QString &detail) {
        files_->describe(target, previousText);
        platform_.dialogs->message(text, detail);
    };
    const auto file = ws::readScanFile(path);
    if (!file.value) {
        fail(ws::messages::cancelled(), ws::failureDetail(path, file.failure.reason));
        return false;
    }
    ws::ScanParse parse = ws::parseScan(file.value->bytes);
    if (!parse.value) {
        fail(ws::messages::scanNotLoaded(parse.failure.kind),
             ws::messages::scanNotLoadedDetail(path, file.value->bytes, parse.failure.reason));
        return false;
    }
    files_->describe(target, ws::scanSummary(path, file.value->lastModified, file.value->size,
                                             *parse.value));
    scans_.load(slot, std::move(*parse.value));
    scanLoadedFrom(slot, path, file.value->size, file.value->lastModified);
    if (scans_.bothLoaded())
        drawScans();
    return true;
}
