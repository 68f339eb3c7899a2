#include "core/filefollower.h"

#include "core/filenames.h"
#include "core/platform.h"

#include <QDir>
#include <QFile>
#include <QFileSystemWatcher>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>
#include <deque>
#include <map>
#include <set>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace ws {

namespace {

constexpr int kUnfinishedLooks =
    (FileFollower::kUnfinishedLineMs + FileFollower::kSettleMs - 1) / FileFollower::kSettleMs;

QString folderOf(const QString &path)
{
    return QDir::cleanPath(path + QStringLiteral("/.."));
}

bool endsInLineEnd(const QString &path)
{
    const std::optional<char> last = lastByte(path);
    return last == '\n' || last == '\r';
}

} // namespace

class FileFollower::Watches
{
public:
    Watches(FileFollower &owner, Clock &clock);

    void follow(const QStringList &files, const QStringList &folders, const Listing &listing);
    void seen(const QString &path, const FileStamp &stamp);

private:
    struct File
    {
        FileStamp seen;     // the version read or last settled
        FileStamp last;     // while changing: the stamp at the last look
        int stillLooks = 0; // looks since the stamp last moved
        // Waiting for its watch (kWatchesPerTurn); changes are looked
        // for once it has one.
        bool unwatched = false;
        // Nothing counts as seen yet: its version when the watch begins does.
        bool unstamped = false;
    };
    struct Folder
    {
        bool whole = false; // every file the listing finds counts
        // The name watched for it: its own, or while it is gone that of
        // the nearest folder above it that exists.
        QString watched;
        bool there = false;
    };

    // What the system reported, taken once it has told all it had.
    void takeReports();
    // The settle timer's step, every 0.3 s while a change settles.
    void look();
    // `certain`: the file's own watch reported, which may leave the stamp
    // as it was (a rewrite within one tick of the clock). True when the
    // file changed; the look is then put off.
    bool notice(const QString &path, File &file, bool certain);
    void lookInto(const QString &folder);
    // Watches each followed folder, or what exists above it; returns the
    // folders whose own watch began, as they may hold files made before.
    QSet<QString> watchFolders();
    // A fresh watch: a file replaced by another of its name has lost the
    // one it had.
    void watchFile(const QString &path);
    // The next kWatchesPerTurn of the files waiting for their watch.
    void watchSome();
    // Qt forgets its watches one at a time, at a cost that grows with those
    // there are; a watcher made anew forgets thousands at once.
    void makeWatcher();
    // The name to hand the system for `path`: the path itself, or, for one
    // whose bytes Qt cannot pass on, a link to it in a folder of the
    // follower's own. A link names the path, not what it held, so a file
    // put there anew is watched as the path would be.
    QString watchName(const QString &path);

    FileFollower &owner_;
    std::unique_ptr<QFileSystemWatcher> watcher_;
    std::unique_ptr<Timer> reports_;
    std::unique_ptr<Timer> settle_;
    std::unique_ptr<Timer> catchUp_;
    std::deque<QString> unwatched_;
    std::map<QString, File> files_;
    std::map<QString, Folder> folders_;
    Listing listing_;
    std::set<QString> changing_;
    QSet<QString> reportedFiles_;
    QSet<QString> reportedFolders_; // by the names watched
    std::map<QString, QString> links_; // path -> its link
    QHash<QString, QString> linked_;   // link -> path
    std::unique_ptr<QTemporaryDir> linkFolder_;
};

FileFollower::Watches::Watches(FileFollower &owner, Clock &clock)
    : owner_(owner),
      reports_(clock.createTimer([this] { takeReports(); })),
      settle_(clock.createTimer([this] { look(); })),
      catchUp_(clock.createTimer([this] { watchSome(); }))
{
    makeWatcher();
}

void FileFollower::Watches::makeWatcher()
{
    // Its reports only ever start a timer, never this: it can go at once.
    watcher_ = std::make_unique<QFileSystemWatcher>();
    // A burst of reports (a copy of many files, a folder made again) is
    // taken together, once the loop has heard all of it.
    QObject::connect(watcher_.get(), &QFileSystemWatcher::fileChanged, &owner_,
                     [this](const QString &name) {
                         reportedFiles_.insert(linked_.value(name, name));
                         reports_->start(0);
                     });
    QObject::connect(watcher_.get(), &QFileSystemWatcher::directoryChanged, &owner_,
                     [this](const QString &name) {
                         reportedFolders_.insert(name);
                         reports_->start(0);
                     });
}

void FileFollower::Watches::follow(const QStringList &files, const QStringList &folders,
                                   const Listing &listing)
{
    std::map<QString, File> kept;
    std::map<QString, Folder> wanted;
    QStringList added;
    for (const QString &name : files) {
        const QString path = absoluteFileName(name);
        const auto known = files_.find(path);
        if (known != files_.end())
            kept.emplace(path, known->second);
        else if (kept.try_emplace(path).second)
            added << path;
        wanted[folderOf(path)];
    }
    QStringList newFolders;
    for (const QString &name : folders) {
        const QString folder = absoluteFileName(name);
        Folder &state = wanted[folder];
        const auto known = folders_.find(folder);
        if (!state.whole && (known == folders_.end() || !known->second.whole))
            newFolders << folder;
        state.whole = true;
    }
    // What a folder that stays brought along stays with it.
    for (const auto &[path, file] : files_) {
        const auto folder = wanted.find(folderOf(path));
        if (folder != wanted.end() && folder->second.whole)
            kept.emplace(path, file);
    }
    std::vector<QString> dropped;
    for (const auto &[path, file] : files_) {
        if (!kept.count(path))
            dropped.push_back(path);
    }
    for (const QString &path : dropped)
        changing_.erase(path);
    if (dropped.size() > size_t(kWatchesPerTurn)) {
        makeWatcher();
        // What stays is watched again, and looked at once it is.
        unwatched_.clear();
        for (auto &[path, file] : kept) {
            file.unwatched = true;
            unwatched_.push_back(path);
        }
    } else {
        for (const QString &path : dropped)
            watcher_->removePath(watchName(path));
    }
    files_ = std::move(kept);
    folders_ = std::move(wanted);
    listing_ = listing;
    // Watched first and read after, so that no change in between is lost.
    const QSet<QString> back = watchFolders();
    for (const QString &folder : newFolders) {
        for (const QString &name : listing_ ? listing_(folder) : QStringList()) {
            const QString path = absoluteFileName(name);
            if (files_.try_emplace(path).second)
                added << path;
        }
    }
    for (const QString &path : added) {
        File &file = files_[path];
        file.unwatched = file.unstamped = true;
        unwatched_.push_back(path);
    }
    watchSome();
    for (const QString &folder : back) {
        if (!newFolders.contains(folder))
            lookInto(folder);
    }
}

void FileFollower::Watches::seen(const QString &path, const FileStamp &stamp)
{
    const QString key = absoluteFileName(path);
    const auto file = files_.find(key);
    if (file == files_.end())
        return;
    file->second.seen = stamp;
    file->second.unstamped = false;
    // A change that is settling goes on unless what was read is what is
    // there now. (A file waiting for its watch is looked at once it has one.)
    if (!changing_.count(key))
        notice(key, file->second, false);
    else if (stampOf(key) == stamp)
        changing_.erase(key);
}

void FileFollower::Watches::takeReports()
{
    const QSet<QString> files = std::exchange(reportedFiles_, {});
    const QSet<QString> folders = std::exchange(reportedFolders_, {});
    QSet<QString> lookInto;
    if (!folders.isEmpty()) {
        // A folder may have gone or come back, and with it what is in it.
        lookInto = watchFolders();
        for (const auto &[folder, state] : folders_) {
            if (folders.contains(state.watched))
                lookInto.insert(folder);
        }
    }
    for (const QString &folder : lookInto)
        this->lookInto(folder);
    for (const QString &path : files) {
        if (const auto file = files_.find(path); file != files_.end())
            notice(path, file->second, true);
    }
}

bool FileFollower::Watches::notice(const QString &path, File &file, bool certain)
{
    if (file.unwatched)
        return false;
    const FileStamp now = stampOf(path);
    const bool changing = changing_.count(path) > 0;
    // A folder's change that left this file as it was (another file came
    // or went), or took it away: nothing to read. A file that comes back
    // shows in its folder.
    if (!now.exists || (!certain && now == (changing ? file.last : file.seen)))
        return false;
    if (!changing || now != file.last || certain)
        watchFile(path);
    file.last = now;
    file.stillLooks = 0;
    changing_.insert(path);
    // Each change puts off the look: a file settles only once it has
    // stayed the same for the whole interval.
    settle_->start(kSettleMs);
    return true;
}

void FileFollower::Watches::lookInto(const QString &folder)
{
    const auto state = folders_.find(folder);
    if (state == folders_.end() || !state->second.there)
        return;
    if (state->second.whole && listing_) {
        // A file found here for the first time is new, whatever its time.
        for (const QString &name : listing_(folder))
            files_.try_emplace(absoluteFileName(name));
    }
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    for (auto file = files_.lower_bound(prefix);
         file != files_.end() && file->first.startsWith(prefix); ++file) {
        if (folderOf(file->first) == folder)
            notice(file->first, file->second, false);
    }
}

void FileFollower::Watches::look()
{
    std::vector<QString> settled;
    bool stillChanging = false;
    for (auto path = changing_.begin(); path != changing_.end();) {
        File &file = files_.at(*path);
        const FileStamp now = stampOf(*path);
        if (!now.exists) {
            // Gone for now (a rename half done): its folder reports it back.
            path = changing_.erase(path);
            continue;
        }
        if (now != file.last) {
            file.last = now;
            file.stillLooks = 0;
            watchFile(*path);
            stillChanging = true;
        } else if (++file.stillLooks < (endsInLineEnd(*path) ? 1 : kUnfinishedLooks)) {
            // The writer may only have paused within the last line.
            stillChanging = true;
        } else {
            file.seen = now;
            settled.push_back(*path);
            path = changing_.erase(path);
            continue;
        }
        ++path;
    }
    if (stillChanging)
        settle_->start(kSettleMs);
    else
        settle_->stop();
    // The system may have dropped a folder's watch only after the folder
    // reported; what is in it starts to settle now.
    for (const QString &folder : watchFolders())
        lookInto(folder);
    // Last, as a handler may follow other files.
    if (!settled.empty())
        emit owner_.settled(QStringList(settled.begin(), settled.end()));
}

QSet<QString> FileFollower::Watches::watchFolders()
{
    QSet<QString> begun;
    // Each round that adds a watch reaches at least one folder deeper,
    // where a folder made again may already hold the next one: a round
    // more for every level of the deepest path is enough.
    qsizetype rounds = 2;
    for (const auto &[folder, state] : folders_)
        rounds = std::max(rounds, folder.count(QLatin1Char('/')) + 2);
    for (; rounds > 0; --rounds) {
        QSet<QString> wanted;
        for (auto &[folder, state] : folders_) {
            QString standIn = folder;
            while (!fileStatus(standIn).folder && folderOf(standIn) != standIn)
                standIn = folderOf(standIn);
            state.there = standIn == folder;
            state.watched = watchName(standIn);
            wanted.insert(state.watched);
        }
        // The system drops the watch of a folder that was deleted.
        const QStringList watched = watcher_->directories();
        QStringList unused, added;
        for (const QString &name : watched) {
            if (!wanted.contains(name))
                unused << name;
        }
        for (const QString &name : wanted) {
            if (!watched.contains(name))
                added << name;
        }
        if (!unused.isEmpty())
            watcher_->removePaths(unused);
        if (added.isEmpty())
            break;
        // A path that went away meanwhile only fails quietly; the next
        // round watches what is there instead.
        watcher_->addPaths(added);
        for (const auto &[folder, state] : folders_) {
            if (state.there && added.contains(state.watched))
                begun.insert(folder);
        }
    }
    return begun;
}

void FileFollower::Watches::watchFile(const QString &path)
{
    const auto folder = folders_.find(folderOf(path));
    if (folder == folders_.end() || !folder->second.there)
        return;
    const QString name = watchName(path);
    watcher_->removePath(name);
    watcher_->addPath(name);
}

void FileFollower::Watches::watchSome()
{
    QStringList names;
    std::vector<QString> taken;
    while (!unwatched_.empty() && taken.size() < size_t(kWatchesPerTurn)) {
        QString path = std::move(unwatched_.front());
        unwatched_.pop_front();
        const auto file = files_.find(path);
        if (file == files_.end() || !file->second.unwatched)
            continue; // no longer followed, or watched since
        const auto folder = folders_.find(folderOf(path));
        if (folder != folders_.end() && folder->second.there)
            names << watchName(path);
        taken.push_back(std::move(path));
    }
    // Watched first and read after, so that no change in between is lost.
    if (!names.isEmpty())
        watcher_->addPaths(names);
    for (const QString &path : taken) {
        File &file = files_.at(path);
        file.unwatched = false;
        if (std::exchange(file.unstamped, false))
            file.seen = stampOf(path);
        else
            notice(path, file, false);
    }
    if (unwatched_.empty())
        catchUp_->stop();
    else
        catchUp_->start(0);
}

QString FileFollower::Watches::watchName(const QString &path)
{
#ifdef Q_OS_UNIX
    if (qtCanName(path))
        return path;
    if (const auto known = links_.find(path); known != links_.end())
        return known->second;
    const std::optional<QByteArray> bytes = nativeFileName(path);
    if (!bytes)
        return path;
    if (!linkFolder_)
        linkFolder_ = std::make_unique<QTemporaryDir>();
    const QString link = linkFolder_->filePath(QString::number(links_.size()));
    if (!linkFolder_->isValid() ||
        ::symlink(bytes->constData(), QFile::encodeName(link).constData()) != 0)
        return path;
    links_.emplace(path, link);
    linked_.insert(link, path);
    return link;
#else
    return path;
#endif
}

FileFollower::FileFollower(Clock &clock, QObject *parent)
    : QObject(parent), watches_(std::make_unique<Watches>(*this, clock))
{
}

FileFollower::~FileFollower() = default;

void FileFollower::follow(const QStringList &files, const QStringList &folders,
                          const Listing &listing)
{
    watches_->follow(files, folders, listing);
}

void FileFollower::seen(const QString &path, const FileStamp &stamp)
{
    watches_->seen(path, stamp);
}

} // namespace ws
