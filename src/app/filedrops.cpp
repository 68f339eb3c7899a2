#include "app/filedrops.h"

#include "app/scanfilespanel.h"
#include "core/files.h"

#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

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

std::optional<FileSet> filesByKind(const QStringList &paths)
{
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

FileDrops::FileDrops(QWidget &window, const ScanFilesPanel &files, Rules rules,
                     const QList<QWidget *> &boxes)
    : QObject(&window), window_(window), files_(files), rules_(std::move(rules))
{
    window.setAcceptDrops(true);
    window.installEventFilter(this);
    for (QWidget *box : boxes)
        box->installEventFilter(this);
}

bool FileDrops::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto *drag = static_cast<QDropEvent *>(event);
    auto *onto = static_cast<QWidget *>(watched);
    // A text box keeps its drops of text.
    if (onto != &window_ && (!drag->mimeData() || !drag->mimeData()->hasUrls()))
        return false;
    // Handled here at the window's coordinates, not sent on: the
    // application would deliver a sent drag event to the box again.
    const QPoint at = onto->mapTo(&window_, drag->position().toPoint());
    if (type == QEvent::Drop)
        drop(*drag, at);
    else
        dragMove(*drag, at);
    return true;
}

void FileDrops::dragMove(QDropEvent &event, QPoint at)
{
    if (dropAt(event.mimeData(), at))
        offerCopy(event);
    else
        event.ignore();
}

void FileDrops::drop(QDropEvent &event, QPoint at)
{
    const std::optional<FileSet> files = dropAt(event.mimeData(), at);
    if (!files || !offerCopy(event)) {
        event.ignore();
        return;
    }
    QTimer::singleShot(0, this, [this, files = *files] { emit dropped(files); });
}

std::optional<FileSet> FileDrops::dropAt(const QMimeData *data, QPoint at) const
{
    if (rules_.refused() || !data || !data->hasUrls())
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
    for (QWidget *target = window_.childAt(at); target && target != &window_ && !onto;
         target = target->parentWidget())
        onto = files_.targetOf(target);
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
        else if (files_.mapLoadEnabled())
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
        const bool scansDrawn = files_.mapLoadEnabled() || !sorted->reference.isEmpty() ||
                                (!sorted->newest.isEmpty() && rules_.referenceLoaded());
        if (!scansDrawn)
            return std::nullopt;
    }
    return sorted;
}
