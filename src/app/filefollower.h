#pragma once

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>

#include <map>
#include <memory>

// Follows loaded files on disk: tells when a file, rewritten in place or
// replaced by another of the same name, has stopped changing, so that it
// can be loaded again. It costs nothing while the files stay as they are:
// the system reports changes (inotify and the like), and the one timer runs
// only while a change is settling.
//
// The system watches a file by what the name pointed to when the watch
// began: a file replaced by a rename, or deleted and written anew, drops out
// of the watch. So each file's folder is watched too; a change there that
// touches the file brings its watch back. While the folder itself is gone
// (deleted to be made again), the nearest folder above it that exists is
// watched instead, until the path is back.
//
// Files on network shares may not report changes; then nothing happens.
// Qt Core only.
class FileFollower : public QObject
{
    Q_OBJECT

public:
    // What tells one version of a file from the next.
    struct Stamp
    {
        bool exists = false;
        qint64 size = -1;
        QDateTime modified;
        bool operator==(const Stamp &o) const
        {
            return exists == o.exists && size == o.size && modified == o.modified;
        }
        bool operator!=(const Stamp &o) const { return !(*this == o); }
        static Stamp of(const QString &path);
    };

    // A file counts as settled once its stamp has stayed the same for
    // `settleMs`, so a file still being written is not read half way; one
    // whose last byte is no line end only after `unfinishedMs`, as its
    // writer may merely have paused in the middle of a line.
    explicit FileFollower(int settleMs = 300, int unfinishedMs = 3000, QObject *parent = nullptr);

    // Follows the file at `path` under `key` (one file per key; a new path
    // replaces the old). `loaded` is the version that was loaded: only a
    // later one is a change.
    void follow(int key, const QString &path, const Stamp &loaded);
    void forget(int key);
    // Whether a change is settling (the one timer runs).
    bool settling() const { return settleTimer_.isActive(); }

    // The settle timer's step, every `settleMs` while a change settles: a
    // changing file whose stamp has not changed since the last look has been
    // still for one more step. Tests call it to stand in for the time
    // passing.
    void lookAgain();

signals:
    // The file under `key` changed and has settled. Its new version counts
    // as seen, whether it loads or not: a file that fails to load is tried
    // again only at its next change.
    void settled(int key);

private:
    struct Followed
    {
        QString path;
        Stamp seen;   // the version loaded or last settled
        Stamp last;   // while changing: the stamp at the last look
        int stillLooks = 0; // looks since the stamp last moved
        bool changing = false;
    };
    // The system reported something at `watched`. The followed files are
    // looked at after the watches have caught up, so a file that arrived
    // before its folder was watched counts too.
    void reported(const QString &watched, bool aFile);
    // `certain`: the file itself reported a change, which may leave the
    // stamp as it was (a rewrite within one tick of the clock).
    void noticeChange(Followed &file, bool certain);
    // Watches what exists of each followed path and drops the watches no
    // longer needed.
    void watchWhatExists();
    // The name to hand the watcher for `path` (see filenames.h): the path
    // itself, or, for one whose bytes Qt cannot pass to the system, a link
    // to it in a folder of the follower's own. A link names the path, not
    // what it held, so a file put there anew is watched as the path would be.
    QString watchName(const QString &path);

    std::map<int, Followed> files_;
    QFileSystemWatcher watcher_;
    QTimer settleTimer_;
    int unfinishedLooks_;
    std::map<QString, QString> links_; // path -> its link
    std::unique_ptr<QTemporaryDir> linkFolder_;
};
