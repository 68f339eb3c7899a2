#include "app/workspace.h"

#include "app/scanfilespanel.h"
#include "core/filefollower.h"
#include "core/filenames.h"
#include "core/files.h"
#include "core/texts.h"
#include "plot/levels.h"
#include "scan/scanfile.h"
#include "wording/messages.h"

#include <QDir>
#include <QScopedValueRollback>

namespace {

// A reload that nobody asked for shows no message box: its failure keeps
// the last good scan, and the next change of the file tries again.
class SilentDialogs : public ws::UserDialogs
{
public:
    bool openFile(const QString &, QString &) override { return false; }
    bool saveFile(const QString &, QString &) override { return false; }
    void message(const QString &, const QString &) override {}
};

constexpr ws::ScanSlot kSlots[] = {ws::ScanSlot::Newest, ws::ScanSlot::Reference};

} // namespace

Workspace::Workspace(const ws::Platform &platform, ScanFilesPanel &files, QObject *parent)
    : QObject(parent), platform_(platform), files_(files),
      follower_(new ws::FileFollower(fileClock(), this))
{
    connect(follower_, &ws::FileFollower::settled, this, [this](const QStringList &paths) {
        for (const ws::ScanSlot slot : kSlots) {
            const QString &path = sources_[slot].path;
            if (!path.isEmpty() && paths.contains(ws::absoluteFileName(path)))
                reloadChangedScan(slot);
        }
    });
}

Workspace::~Workspace() = default;

void Workspace::loadScan(ws::ScanSlot slot)
{
    const std::optional<QString> path = files_.askForFile(ScanFilesPanel::targetFor(slot));
    if (!path) {
        platform_.dialogs->message(ws::messages::cancelled());
        return;
    }
    loadScanFrom(slot, *path);
}

bool Workspace::loadScanFrom(ws::ScanSlot slot, const QString &path)
{
    const ScanFilesPanel::Target target = ScanFilesPanel::targetFor(slot);
    files_.offerNext(target, path);

    const QString previousText = files_.description(target);
    files_.describe(target, ws::messages::loadingScan());
    emit showNow();

    // A load either completes or changes nothing: the file is read whole
    // into a scan of its own, and only a complete scan replaces the slot.
    // Otherwise a half-read file would stay behind in a slot that counts as
    // loaded and be drawn by the next load of the other slot.
    const auto fail = [&](const QString &text, const QString &detail) {
        files_.describe(target, previousText);
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
    files_.describe(target, ws::scanSummary(path, file.value->lastModified, file.value->size,
                                            *parse.value));
    scans_.load(slot, std::move(*parse.value));
    sources_[slot] = {path, file.value->lastModified};
    scanLoaded(slot, file.value->size, file.value->lastModified);
    if (scans_.bothLoaded()) {
        files_.enableMapLoad();
        emit scansChanged(reloading_);
    }
    return true;
}

void Workspace::loadMap()
{
    const std::optional<QString> path = files_.askForFile(ScanFilesPanel::Target::Map);
    if (!path) {
        platform_.dialogs->message(ws::messages::cancelled());
        return;
    }
    loadMapFrom(*path);
}

bool Workspace::loadMapFrom(const QString &path)
{
    // A cancelled dialog or a file that cannot be read keeps the previous
    // map whole, so that the entries, the listing and the strip always
    // describe the same map.
    files_.offerNext(ScanFilesPanel::Target::Map, path);
    const auto file = ws::readMapFile(path);
    if (!file.value) {
        platform_.dialogs->message(ws::messages::cancelled(),
                                   ws::failureDetail(path, file.failure.reason));
        return false;
    }

    files_.describe(ScanFilesPanel::Target::Map, ws::messages::loadingMap());
    emit mapReplacing();
    emit showNow();

    map_ = ws::parseMap(file.value->bytes);
    mapPath_ = path;
    files_.describe(ScanFilesPanel::Target::Map,
                    path + QStringLiteral("  ") + ws::generalDateText(file.value->lastModified)
                        + QStringLiteral("  ") + QString::number(file.value->size));
    emit mapChanged(reloading_);
    emit showNow();
    if (ws::holdsNoFrequency(map_))
        platform_.dialogs->message(ws::messages::mapWithoutFrequency(path));
    return true;
}

bool Workspace::loadFiles(const FileSet &files,
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
        if (files_.mapLoadEnabled())
            return loadMapFrom(files.map);
        platform_.dialogs->message(ws::messages::mapNeedsScans(files.map));
        return false;
    });
    return all;
}

bool Workspace::openFiles(const QStringList &files,
                           const std::function<void(const QString &path)> &beforeEach)
{
    // A dialog hands over the whole path in the system's form, and the
    // summary lines and later dialogs show it so.
    QString paths[3];
    for (qsizetype i = 0; i < files.size() && i < 3; ++i)
        paths[i] = QDir::toNativeSeparators(ws::absoluteFileName(files[i]));
    return loadFiles({paths[0], paths[1], paths[2]}, beforeEach);
}

bool Workspace::openFilesByKind(const QStringList &files,
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
    return loadFiles(*sorted, beforeEach);
}

void Workspace::loadHeldMap()
{
    if (!heldMap_.isEmpty() && files_.mapLoadEnabled())
        loadMapFrom(std::exchange(heldMap_, QString()));
}

void Workspace::reloadFiles()
{
    // Each file on its own: one that fails says so as after a dialog, and
    // the others still load.
    const QScopedValueRollback<bool> reloading(reloading_, true);
    for (const ws::ScanSlot slot : kSlots) {
        const QString path = sources_[slot].path;
        if (!path.isEmpty())
            loadScanFrom(slot, path);
    }
    // The map takes the scale of the scans it is drawn with.
    if (!mapPath_.isEmpty() && files_.mapLoadEnabled())
        loadMapFrom(mapPath_);
}

QStringList Workspace::loadedScanFiles() const
{
    QStringList paths;
    for (const ws::ScanSlot slot : kSlots) {
        if (!sources_[slot].path.isEmpty())
            paths << sources_[slot].path;
    }
    return paths;
}

void Workspace::setFollowing(bool on)
{
    following_ = on;
    if (on)
        follower_->follow(loadedScanFiles());
    else
        follower_->stop();
    emit followingChanged(on);
}

void Workspace::scanLoaded(ws::ScanSlot slot, qint64 size, const QDateTime &lastModified)
{
    if (following_) {
        follower_->follow(loadedScanFiles());
        follower_->seen(sources_[slot].path, {true, size, lastModified});
    }
}

void Workspace::reloadChangedScan(ws::ScanSlot slot)
{
    if (reloadsHeld_) {
        reloadWaits_[slot] = true;
        return;
    }
    const QString path = sources_[slot].path;
    if (path.isEmpty())
        return;
    SilentDialogs silent;
    const QScopedValueRollback<ws::UserDialogs *> quiet(platform_.dialogs, &silent);
    const QScopedValueRollback<bool> reloading(reloading_, true);
    loadScanFrom(slot, path);
}

void Workspace::releaseReloads()
{
    reloadsHeld_ = false;
    for (const ws::ScanSlot slot : kSlots) {
        if (std::exchange(reloadWaits_[slot], false))
            reloadChangedScan(slot);
    }
}

QString Workspace::levelsTable()
{
    const ws::NewestShown::Scan *before =
        newestShown_.show(*scans_.newest, sources_[ws::ScanSlot::Newest]);
    const std::vector<ws::TransmissionLevel> levels =
        ws::transmissionLevels(*scans_.newest, *scans_.reference, map_.entries);
    const QString heading = ws::levelsTableHeading(
        sources_[ws::ScanSlot::Newest], sources_[ws::ScanSlot::Reference], mapPath_,
        before ? std::optional(before->source) : std::nullopt);
    // The largest losses stand at the top; that is what to see first.
    return heading + QLatin1Char('\n') +
           ws::levelsTable(map_.entries, levels, before ? &before->data : nullptr);
}
