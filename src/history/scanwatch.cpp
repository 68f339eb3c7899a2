#include "history/scanwatch.h"

#include "core/filenames.h"

namespace ws {

ScanWatch::ScanWatch(int settleMs, QObject *parent)
    : QObject(parent), watcher_(this), settleTimer_(this)
{
    settleTimer_.setSingleShot(true);
    // A coarse timer may fire some 5 % early, before the file has been
    // still for the whole interval.
    settleTimer_.setTimerType(Qt::PreciseTimer);
    settleTimer_.setInterval(settleMs);
    connect(&settleTimer_, &QTimer::timeout, this, &ScanWatch::lookAgain);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this,
            [this](const QString &path) { notice(path, true); });
    // Listing a folder of thousands of scans takes a while; a burst of
    // changes to it is looked at once, when the timer next runs.
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this](const QString &folder) {
        changedFolders_.insert(folder);
        settleTimer_.start();
    });
}

void ScanWatch::follow(const QStringList &folders, const QStringList &files)
{
    stop();
    wholeFolders_ = QSet<QString>(folders.begin(), folders.end());
    // A single file replaced by another of its name (written beside it and
    // renamed) drops out of its own watch; its folder tells.
    for (const QString &file : files) {
        const qsizetype slash = file.lastIndexOf(QLatin1Char('/'));
        filesInFolder_[slash < 0 ? QStringLiteral(".") : file.left(slash)] << file;
        watchFile(file);
    }
    for (const QString &folder : wholeFolders_ + QSet<QString>(filesInFolder_.keyBegin(),
                                                               filesInFolder_.keyEnd())) {
        if (qtCanName(folder))
            watcher_.addPath(folder);
    }
}

void ScanWatch::stop()
{
    settleTimer_.stop();
    const QStringList watched = watcher_.files() + watcher_.directories();
    if (!watched.isEmpty())
        watcher_.removePaths(watched);
    watchedFiles_.clear();
    wholeFolders_.clear();
    filesInFolder_.clear();
    changedFolders_.clear();
    seen_.clear();
    changing_.clear();
}

void ScanWatch::seen(const QString &path, const FileStamp &stamp)
{
    seen_.insert(path, stamp);
    watchFile(path);
}

void ScanWatch::watchFile(const QString &path)
{
    // The system's watch cannot name a file whose name keeps stray bytes;
    // such a file is only seen through its folder.
    if (qtCanName(path) && !watchedFiles_.contains(path) && watcher_.addPath(path))
        watchedFiles_.insert(path);
}

void ScanWatch::notice(const QString &path, bool certain)
{
    const FileStamp now = stampOf(path);
    // A folder's change that left this file as it was (another file came
    // or went), or took it away: nothing to read.
    if (!now.exists || (!certain && !changing_.contains(path) && now == seen_.value(path)))
        return;
    changing_.insert(path, now);
    // Each change puts off the look: a file settles only once it has
    // stayed the same for the whole interval.
    settleTimer_.start();
}

void ScanWatch::lookAgain()
{
    QStringList ready;
    for (auto it = changing_.begin(); it != changing_.end();) {
        const FileStamp now = stampOf(it.key());
        if (!now.exists) {
            it = changing_.erase(it);
        } else if (now != it.value()) {
            it.value() = now;
            ++it;
        } else {
            seen_.insert(it.key(), now);
            ready << it.key();
            it = changing_.erase(it);
        }
    }
    // What the folders bring starts to settle now.
    for (const QString &folder : std::exchange(changedFolders_, {})) {
        QStringList files = filesInFolder_.value(folder);
        if (wholeFolders_.contains(folder))
            files << scanFilesIn(folder).value.value_or(QStringList());
        for (const QString &path : files)
            notice(path, false);
    }
    if (!changing_.isEmpty())
        settleTimer_.start();
    else
        settleTimer_.stop();
    // A file written again in place tells only its own watch, and one that
    // was replaced by another of its name has lost it.
    for (const QString &path : ready) {
        watchedFiles_.remove(path);
        watcher_.removePath(path);
        watchFile(path);
    }
    if (!ready.isEmpty())
        emit settled(ready);
}

} // namespace ws
