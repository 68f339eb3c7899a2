#include "app/mainwindow.h"

#include "app/logpanel.h"
#include "wording/messages.h"
#include "app/receiversettingspanel.h"
#include "app/scanfilespanel.h"
#include "core/filenames.h"
#include "core/files.h"

#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTimer>
#include <QUrl>

namespace {

// A drop only reads the files: a copy, never a move that would have the
// file manager delete them.
bool offerCopy(QDropEvent &event)
{
    for (const Qt::DropAction action : {Qt::CopyAction, Qt::LinkAction}) {
        if (event.possibleActions() & action) {
            event.setDropAction(action);
            event.accept();
            return true;
        }
    }
    event.ignore();
    return false;
}

} // namespace

bool MainWindow::openFiles(const QStringList &files,
                           const std::function<void(const QString &path)> &beforeEach)
{
    // A dialog hands over the whole path in the system's form, and the
    // summary lines and later dialogs show it so.
    QString paths[3];
    for (qsizetype i = 0; i < files.size() && i < 3; ++i)
        paths[i] = QDir::toNativeSeparators(ws::absoluteFileName(files[i]));
    return loadFileSet({paths[0], paths[1], paths[2]}, beforeEach);
}

bool MainWindow::loadFileSet(const FileSet &files,
                             const std::function<void(const QString &path)> &beforeEach)
{
    bool all = true;
    const auto load = [&](const QString &path, const std::function<bool()> &loader) {
        if (path.isEmpty())
            return;
        if (beforeEach)
            beforeEach(path);
        all = loader() && all;
    };
    load(files.newest, [&] { return loadScanFrom(ws::ScanSlot::Newest, files.newest); });
    load(files.reference, [&] { return loadScanFrom(ws::ScanSlot::Reference, files.reference); });
    load(files.map, [&] {
        if (files_->mapLoadEnabled())
            return loadMapFrom(files.map);
        platform_.dialogs->message(ws::messages::mapNeedsScans(files.map));
        return false;
    });
    return all;
}

void MainWindow::setupFileDrops()
{
    setAcceptDrops(true);
    // The text boxes take drops of text as they always have; files dropped
    // onto them are the window's (fileDragOnto). The log box's drops
    // arrive at the area that shows its text.
    for (QLineEdit *box : receiverSettings_->boxes())
        box->installEventFilter(this);
    log_->widget().viewport()->installEventFilter(this);
}

bool MainWindow::fileDragOnto(QWidget *box, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto *drag = static_cast<QDropEvent *>(event);
    if (!drag->mimeData() || !drag->mimeData()->hasUrls())
        return false;
    // Handled here at the window's coordinates, not sent on: the
    // application would deliver a sent drag event to the box again.
    const QPoint at = box->mapTo(this, drag->position().toPoint());
    if (type == QEvent::Drop) {
        QDropEvent drop(at, drag->possibleActions(), drag->mimeData(), drag->buttons(),
                        drag->modifiers());
        dropEvent(&drop);
        drag->setDropAction(drop.dropAction());
        drag->setAccepted(drop.isAccepted());
    } else {
        QDragMoveEvent move(at, drag->possibleActions(), drag->mimeData(), drag->buttons(),
                            drag->modifiers());
        dragMoveEvent(&move);
        drag->setDropAction(move.dropAction());
        drag->setAccepted(move.isAccepted());
    }
    return true;
}

std::optional<MainWindow::FileSet> MainWindow::fileDropAt(const QMimeData *data, QPoint at) const
{
    // A load would put its message boxes in the middle of the check, or
    // between the rows of a full scan.
    if (receiverBusy())
        return std::nullopt;
    if (!data || !data->hasUrls())
        return std::nullopt;
    QStringList paths;
    for (const QUrl &url : data->urls()) {
        const QString path = url.isLocalFile() ? url.toLocalFile() : QString();
        if (path.isEmpty() || QFileInfo(path).isDir())
            return std::nullopt;
        paths << QDir::toNativeSeparators(path);
    }
    if (paths.isEmpty())
        return std::nullopt;

    std::optional<ScanFilesPanel::Target> onto;
    for (QWidget *target = childAt(at); target && target != this && !onto;
         target = target->parentWidget())
        onto = files_->targetOf(target);
    FileSet files;
    if (onto) {
        // Onto a load button or its label: one file for that slot, as if
        // picked in its dialog, and a map only when the button could be
        // clicked.
        if (paths.size() != 1)
            return std::nullopt;
        if (*onto == ScanFilesPanel::Target::NewestScan)
            files.newest = paths[0];
        else if (*onto == ScanFilesPanel::Target::ReferenceScan)
            files.reference = paths[0];
        else if (files_->mapLoadEnabled())
            files.map = paths[0];
        else
            return std::nullopt;
        return files;
    }

    // Anywhere else the names tell scans from a map.
    const std::optional<FileSet> sorted = filesByKind(paths);
    if (!sorted)
        return std::nullopt;
    if (!sorted->map.isEmpty()) {
        // Only when "Load Map ..." is, or will be after these scans,
        // enabled.
        const bool scansDrawn = files_->mapLoadEnabled() || !sorted->reference.isEmpty() ||
                                (!sorted->newest.isEmpty() && scans_.reference);
        if (!scansDrawn)
            return std::nullopt;
    }
    return sorted;
}

std::optional<MainWindow::FileSet> MainWindow::filesByKind(const QStringList &paths)
{
    // More than fits the slots is refused rather than loaded in part.
    QStringList scans, maps;
    for (const QString &path : paths)
        (path.endsWith(QLatin1String(".scn"), Qt::CaseInsensitive) ? scans : maps) << path;
    if (scans.size() > 2 || maps.size() > 1)
        return std::nullopt;
    FileSet files;
    if (scans.size() == 2) {
        // The newer scan is the one to compare with the older.
        const bool firstIsNewer =
            ws::fileStatus(scans[0]).lastModified >= ws::fileStatus(scans[1]).lastModified;
        files.newest = scans[firstIsNewer ? 0 : 1];
        files.reference = scans[firstIsNewer ? 1 : 0];
    } else if (scans.size() == 1) {
        files.newest = scans[0];
    }
    if (!maps.isEmpty())
        files.map = maps[0];
    return files;
}

bool MainWindow::openFilesByKind(const QStringList &files,
                                 const std::function<void(const QString &path)> &beforeEach)
{
    QStringList paths;
    for (const QString &file : files)
        paths << QDir::toNativeSeparators(ws::absoluteFileName(file));
    const std::optional<FileSet> sorted = filesByKind(paths);
    if (!sorted) {
        platform_.dialogs->message(ws::messages::tooManyFiles(paths));
        return false;
    }
    return loadFileSet(*sorted, beforeEach);
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    dragMoveEvent(event);
}

void MainWindow::dragMoveEvent(QDragMoveEvent *event)
{
    // Asked again at every move: the target changes with the pointer.
    if (fileDropAt(event->mimeData(), event->position().toPoint()))
        offerCopy(*event);
    else
        event->ignore();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const std::optional<FileSet> files = fileDropAt(event->mimeData(), event->position().toPoint());
    if (!files || !offerCopy(*event)) {
        event->ignore();
        return;
    }
    // After the drop has ended: a message box must not keep the program the
    // files came from waiting for the drop to finish. Should a check have
    // started in between, the files load once it has ended.
    QTimer::singleShot(0, this, [this, files = *files] {
        whenIdle([this, files] { loadFileSet(files, {}); });
    });
}

void MainWindow::whenIdle(std::function<void()> work)
{
    if (!receiverBusy()) {
        work();
        return;
    }
    afterReceiverWork_.push_back(std::move(work));
}
