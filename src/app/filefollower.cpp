#include "app/filefollower.h"

#include "core/filenames.h"
#include "core/files.h"

#include <QDir>
#include <QFile>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

QString folderOf(const QString &path)
{
    return QDir::cleanPath(path + QStringLiteral("/.."));
}

bool endsInLineEnd(const QString &path)
{
    const std::optional<char> last = ws::lastByte(path);
    return last == '\n' || last == '\r';
}

} // namespace

FileFollower::Stamp FileFollower::Stamp::of(const QString &path)
{
    const ws::FileStatus status = ws::fileStatus(path);
    if (!status.exists || status.folder)
        return {};
    return {true, status.size, status.lastModified};
}

FileFollower::FileFollower(int settleMs, int unfinishedMs, QObject *parent)
    : QObject(parent),
      watcher_(this),
      settleTimer_(this),
      unfinishedLooks_(std::max(1, (unfinishedMs + settleMs - 1) / settleMs))
{
    settleTimer_.setSingleShot(true);
    // A coarse timer may fire some 5 % early, before the file has been
    // still for the whole interval.
    settleTimer_.setTimerType(Qt::PreciseTimer);
    settleTimer_.setInterval(settleMs);
    connect(&settleTimer_, &QTimer::timeout, this, &FileFollower::lookAgain);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this,
            [this](const QString &path) { reported(path, true); });
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this,
            [this](const QString &folder) { reported(folder, false); });
}

void FileFollower::follow(int key, const QString &path, const Stamp &loaded)
{
    Followed file;
    file.path = ws::absoluteFileName(path);
    file.seen = loaded;
    Followed &followed = files_[key] = file;
    watchWhatExists();
    // Written again between its load and the watch.
    noticeChange(followed, false);
}

void FileFollower::forget(int key)
{
    files_.erase(key);
    watchWhatExists();
}

void FileFollower::reported(const QString &watched, bool aFile)
{
    watchWhatExists();
    // Any file of a folder may have changed, or come back with its folder;
    // only the followed ones whose stamp moved count.
    for (auto &[key, file] : files_)
        noticeChange(file, aFile && watchName(file.path) == watched);
}

void FileFollower::watchWhatExists()
{
    // Each round that adds a watch reaches at least one folder deeper,
    // where a folder made again may already hold the next one: a round
    // more for every level of the deepest path is enough.
    qsizetype rounds = 1;
    for (const auto &[key, file] : files_)
        rounds = std::max(rounds, file.path.count(QLatin1Char('/')) + 1);
    for (; rounds > 0; --rounds) {
        QStringList wanted;
        for (const auto &[key, file] : files_) {
            QString folder = folderOf(file.path);
            bool own = true;
            while (!ws::fileStatus(folder).folder && folderOf(folder) != folder) {
                folder = folderOf(folder);
                own = false;
            }
            wanted << watchName(folder);
            if (own && ws::fileStatus(file.path).exists)
                wanted << watchName(file.path);
        }
        const QStringList watched = watcher_.files() + watcher_.directories();
        QStringList unused, added;
        for (const QString &name : watched) {
            if (!wanted.contains(name))
                unused << name;
        }
        for (const QString &name : wanted) {
            if (!watched.contains(name) && !added.contains(name))
                added << name;
        }
        if (!unused.isEmpty())
            watcher_.removePaths(unused);
        // A path that went away meanwhile only fails quietly; the watch
        // above it reports its return.
        if (added.isEmpty() || watcher_.addPaths(added).size() == added.size())
            return;
    }
}

QString FileFollower::watchName(const QString &path)
{
#ifdef Q_OS_UNIX
    const std::optional<QByteArray> bytes = ws::nativeFileName(path);
    if (ws::qtCanName(path) || !bytes)
        return path;
    if (const auto known = links_.find(path); known != links_.end())
        return known->second;
    if (!linkFolder_)
        linkFolder_ = std::make_unique<QTemporaryDir>();
    const QString link = linkFolder_->filePath(QString::number(links_.size()));
    if (!linkFolder_->isValid() ||
        ::symlink(bytes->constData(), QFile::encodeName(link).constData()) != 0)
        return path;
    links_.emplace(path, link);
    return link;
#else
    return path;
#endif
}

void FileFollower::noticeChange(Followed &file, bool certain)
{
    const Stamp now = Stamp::of(file.path);
    // A folder's change that left this file as it was (another file came
    // or went), or took it away: nothing to load. A file that comes back
    // shows in its folder.
    if (!now.exists || (!certain && now == (file.changing ? file.last : file.seen)))
        return;
    file.changing = true;
    file.last = now;
    file.stillLooks = 0;
    // Each change puts off the look: the file settles only once it has
    // stayed the same for the whole interval.
    settleTimer_.start();
}

void FileFollower::lookAgain()
{
    // The system may have dropped the file's watch only after the folder
    // reported the replacement.
    watchWhatExists();
    std::vector<int> settledKeys;
    bool stillChanging = false;
    for (auto &[key, file] : files_) {
        if (!file.changing)
            continue;
        const Stamp now = Stamp::of(file.path);
        if (!now.exists) {
            // Gone for now (a rename half done): its folder reports it back.
            file.changing = false;
        } else if (now != file.last) {
            file.last = now;
            file.stillLooks = 0;
            stillChanging = true;
        } else if (++file.stillLooks < (endsInLineEnd(file.path) ? 1 : unfinishedLooks_)) {
            // The writer may only have paused within the last line.
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
