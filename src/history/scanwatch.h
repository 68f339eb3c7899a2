#pragma once

#include "history/scanfiles.h"

#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QTimer>

// Follows the scans of a history on disk, by the rule the window's loaded
// scans follow their files: a scan that appears in a followed folder, or
// that is written again, counts once it has stayed the same for the settle
// time, so that a file still being written is not read half way. The
// system reports the changes; nothing polls, and the one timer runs only
// while a change is settling.
//
// A folder reports files that come, go or are renamed, but not a file
// written again in place; so each known file is watched as well.
namespace ws {

class ScanWatch : public QObject
{
    Q_OBJECT

public:
    explicit ScanWatch(int settleMs = 300, QObject *parent = nullptr);

    // Follows the folders (every scan file in them, new ones too) and the
    // single files. Forgets what was followed before.
    void follow(const QStringList &folders, const QStringList &files);
    void stop();
    // The version of a file that was read: only a later one is a change.
    void seen(const QString &path, const FileStamp &stamp);
    // Whether a change is settling.
    bool settling() const { return settleTimer_.isActive(); }

    // The settle timer's step: every changing file whose stamp has not
    // changed since the last look has settled. Tests call it to stand in
    // for the time passing.
    void lookAgain();

signals:
    // New or changed scan files that have settled, to be read.
    void settled(const QStringList &paths);

private:
    void notice(const QString &path, bool certain);
    void watchFile(const QString &path);

    QFileSystemWatcher watcher_;
    QTimer settleTimer_;
    QSet<QString> watchedFiles_;
    // The folders followed whole, and those of the single files.
    QSet<QString> wholeFolders_;
    QHash<QString, QStringList> filesInFolder_;
    // Folders that changed since the last look.
    QSet<QString> changedFolders_;
    // The version read or last settled, and of files still changing the
    // stamp at the last look.
    QHash<QString, FileStamp> seen_;
    QHash<QString, FileStamp> changing_;
};

} // namespace ws
