#include "app/filefollower.h"

#include <QFileInfo>

FileFollower::Stamp FileFollower::Stamp::of(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    return {true, info.size(), info.lastModified()};
}

FileFollower::FileFollower(int settleMs, QObject *parent)
    : QObject(parent), watcher_(this), settleTimer_(this)
{
    settleTimer_.setSingleShot(true);
    // A coarse timer may fire some 5 % early, before the file has been
    // still for the whole interval.
    settleTimer_.setTimerType(Qt::PreciseTimer);
    settleTimer_.setInterval(settleMs);
    connect(&settleTimer_, &QTimer::timeout, this, &FileFollower::lookAgain);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, [this](const QString &path) {
        for (auto &[key, file] : files_) {
            if (file.path == path)
                noticeChange(file, true);
        }
    });
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this](const QString &folder) {
        // Any file of the folder may have changed; only the followed ones
        // whose stamp moved count.
        for (auto &[key, file] : files_) {
            if (file.folder == folder)
                noticeChange(file, false);
        }
    });
}

void FileFollower::follow(int key, const QString &path, const Stamp &loaded)
{
    const QFileInfo info(path);
    Followed file;
    file.path = info.absoluteFilePath();
    file.folder = info.absolutePath();
    file.seen = loaded;
    files_[key] = file;
    unwatchUnused();
    watch(file);
}

void FileFollower::forget(int key)
{
    files_.erase(key);
    unwatchUnused();
}

void FileFollower::watch(const Followed &file)
{
    // Adding a path that is watched already, or does not exist (yet), only
    // fails quietly; the folder's watch brings the file back.
    const QStringList watched = watcher_.files() + watcher_.directories();
    for (const QString &path : {file.folder, file.path}) {
        if (!watched.contains(path) && QFileInfo::exists(path))
            watcher_.addPath(path);
    }
}

void FileFollower::unwatchUnused()
{
    QStringList unused;
    for (const QString &path : watcher_.files() + watcher_.directories()) {
        bool used = false;
        for (const auto &[key, file] : files_)
            used = used || file.path == path || file.folder == path;
        if (!used)
            unused << path;
    }
    if (!unused.isEmpty())
        watcher_.removePaths(unused);
}

void FileFollower::noticeChange(Followed &file, bool certain)
{
    watch(file);
    const Stamp now = Stamp::of(file.path);
    // A folder's change that left this file as it was (another file came
    // or went), or took it away: nothing to load. A file that comes back
    // shows in its folder.
    if (!now.exists || (!certain && !file.changing && now == file.seen))
        return;
    file.changing = true;
    file.last = now;
    // Each change puts off the look: the file settles only once it has
    // stayed the same for the whole interval.
    settleTimer_.start();
}

void FileFollower::lookAgain()
{
    std::vector<int> settledKeys;
    bool stillChanging = false;
    for (auto &[key, file] : files_) {
        if (!file.changing)
            continue;
        // The system may have dropped the file's watch only after the
        // folder reported the replacement.
        watch(file);
        const Stamp now = Stamp::of(file.path);
        if (!now.exists) {
            // Gone for now (a rename half done): its folder reports it back.
            file.changing = false;
        } else if (now != file.last) {
            file.last = now;
            stillChanging = true;
        } else {
            file.changing = false;
            file.seen = now;
            settledKeys.push_back(key);
        }
    }
    if (stillChanging)
        settleTimer_.start();
    else
        settleTimer_.stop();
    // Last, as a handler may follow or forget files.
    for (const int key : settledKeys)
        emit settled(key);
}
