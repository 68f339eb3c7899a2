#pragma once

#include "core/files.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

// Follows files on disk: tells when a followed file, written again in place
// or replaced by another of its name, or a new file in a followed folder,
// has stopped changing, so that it can be read again. A file counts as
// settled once it has stayed the same for 0.3 s, so that one still being
// written is not read half way; one whose last byte is no line end only
// after 3 s, as its writer may merely have paused in the middle of a line.
//
// It costs nothing while the files stay as they are: the system reports
// changes (inotify and the like), and the timers run only while a change
// is settling. The system watches a file by what its name pointed to when
// the watch began, so a file replaced by a rename, or deleted and written
// anew, drops out of its watch; each file's folder is watched too, and a
// change there brings the file's watch back. While a folder is gone
// (deleted to be made again), the nearest folder above it that exists is
// watched instead, until it is back. Names that are not UTF-8 are
// followed too (filenames.h). Files on network shares may report nothing;
// then nothing happens.
namespace ws {

class Clock;

class FileFollower : public QObject
{
    Q_OBJECT

public:
    static constexpr int kSettleMs = 300;
    static constexpr int kUnfinishedLineMs = 3000;

    // The files of `folder` that count, each as the folder, "/" and its name.
    using Listing = std::function<QStringList(const QString &folder)>;

    // The timers come from `clock`.
    explicit FileFollower(Clock &clock, QObject *parent = nullptr);
    ~FileFollower() override;

    // Follows `files`, and every file that `listing` finds in `folders`
    // (new ones too), in place of what was followed before. A file followed
    // already goes on as it was; one new to the follower counts from the
    // version it has now, one found later in a folder as new.
    void follow(const QStringList &files, const QStringList &folders = {},
                const Listing &listing = {});
    void stop() { follow({}); }
    // `stamp` is the version of `path` that was read: only a later one is
    // a change, and one that is already there starts to settle.
    void seen(const QString &path, const FileStamp &stamp);

signals:
    // Files that changed and have settled, each by its whole name
    // (absoluteFileName). Their new versions count as seen, whether they
    // are read or not: a file that fails to load is tried again only at
    // its next change.
    void settled(const QStringList &paths);

private:
    class Watches;
    std::unique_ptr<Watches> watches_;
};

} // namespace ws
