#include "app/mainwindow.h"

#include "app/historywindow.h"
#include "app/scanfilespanel.h"
#include "core/filefollower.h"
#include "core/filenames.h"

#include <QScopedValueRollback>

// Loaded files on disk: a scan whose file is written again loads again by
// itself, and F5 loads every loaded file again. Both go through the same
// loads as a dialog pick; a reload keeps the zoom while the scans' whole
// range stays the same.

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

int keyOf(ws::ScanSlot slot)
{
    return slot == ws::ScanSlot::Newest ? 0 : 1;
}

} // namespace

void MainWindow::setupFollowing()
{
    follower_ = new ws::FileFollower(fileClock(), this);
    connect(follower_, &ws::FileFollower::settled, this, [this](const QStringList &paths) {
        for (const ws::ScanSlot slot : {ws::ScanSlot::Newest, ws::ScanSlot::Reference}) {
            const QString &path = loadedScans_[keyOf(slot)].path;
            if (!path.isEmpty() && paths.contains(ws::absoluteFileName(path)))
                reloadChangedScan(slot);
        }
    });
}

ws::Clock &MainWindow::fileClock() const
{
    return platform_.fileClock ? *platform_.fileClock : *platform_.clock;
}

QStringList MainWindow::loadedScanFiles() const
{
    QStringList paths;
    for (const ws::ScanSource &loaded : loadedScans_) {
        if (!loaded.path.isEmpty())
            paths << loaded.path;
    }
    return paths;
}

void MainWindow::setFollowingFiles(bool on)
{
    following_ = on;
    if (history_)
        history_->setFollowing(on);
    if (on)
        follower_->follow(loadedScanFiles());
    else
        follower_->stop();
}

void MainWindow::scanLoadedFrom(ws::ScanSlot slot, const QString &path, qint64 size,
                                const QDateTime &lastModified)
{
    loadedScans_[keyOf(slot)] = {path, lastModified};
    if (following_) {
        follower_->follow(loadedScanFiles());
        follower_->seen(path, {true, size, lastModified});
    }
}

void MainWindow::reloadChangedScan(ws::ScanSlot slot)
{
    // A check's log and plots stay as they were while it runs: the reload
    // waits until it has ended, between the rows of a full scan.
    if (check_->running()) {
        deferredReloads_ |= 1 << keyOf(slot);
        return;
    }
    const QString path = loadedScans_[keyOf(slot)].path;
    if (path.isEmpty())
        return;
    SilentDialogs silent;
    const QScopedValueRollback<ws::UserDialogs *> quiet(platform_.dialogs, &silent);
    const QScopedValueRollback<bool> reloading(reloading_, true);
    loadScanFrom(slot, path);
}

void MainWindow::reloadDeferredScans()
{
    const int deferred = std::exchange(deferredReloads_, 0);
    for (const ws::ScanSlot slot : {ws::ScanSlot::Newest, ws::ScanSlot::Reference}) {
        if (deferred & (1 << keyOf(slot)))
            reloadChangedScan(slot);
    }
}

void MainWindow::reloadFiles()
{
    // Each file on its own: one that fails says so as after a dialog, and
    // the others still load.
    const QScopedValueRollback<bool> reloading(reloading_, true);
    for (const ws::ScanSlot slot : {ws::ScanSlot::Newest, ws::ScanSlot::Reference}) {
        const QString path = loadedScans_[keyOf(slot)].path;
        if (!path.isEmpty())
            loadScanFrom(slot, path);
    }
    // The map takes the scale of the scans it is drawn with.
    if (!loadedMapPath_.isEmpty() && files_->mapLoadEnabled())
        loadMapFrom(loadedMapPath_);
}
