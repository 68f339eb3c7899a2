#pragma once

#include "core/files.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

// Tells when a followed file (rewritten in place or replaced), or a new
// file in a followed folder, has stopped changing: after 0.3 s unchanged,
// so a file is not read half written, or 3 s when its last byte is no line
// end, as its writer may have paused within a line. The system reports
// changes and the timers run only while one settles. A watch follows what a
// name pointed to, so a replaced file drops out of it: each file's folder is
// watched too and brings it back, and while a folder is gone the nearest
// one above it is watched. Names that are not UTF-8 work (filenames.h);
// network shares may report nothing, and then nothing happens.
namespace ws {

class Clock;

class FileFollower : public QObject
{
    Q_OBJECT

public:
    static constexpr int kSettleMs = 300;
    static constexpr int kUnfinishedLineMs = 3000;
    // The system's watches of a large folder's files are taken this many
    // in a turn of the event loop (Qt's cost of one grows with those there
    // are: ten thousand at once hold the window up for a third of a second).
    static constexpr int kWatchesPerTurn = 256;

    // The files of `folder` that count, each as the folder, "/" and its name.
    using Listing = std::function<QStringList(const QString &folder)>;

    explicit FileFollower(Clock &clock, QObject *parent = nullptr);
    ~FileFollower() override;

    // Follows `files`, and every file that `listing` finds in `folders`
    // (new ones too), in place of what was followed before. A file followed
    // already goes on as it was; one new to the follower counts from the
    // version it has when its watch begins (now, or for the files past the
    // first kWatchesPerTurn within the next turns of the event loop; a
    // seen() before then settles which version that is), one found later
    // in a folder as new.
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
