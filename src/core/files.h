#pragma once

#include "core/failure.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

// Reading a file that the user picked: it may be anything, so the reading is
// bounded and refuses what is no ordinary file.
namespace ws {

// A whole file: its bytes, size and time of last change.
struct FileContent
{
    QByteArray bytes;
    qint64 size = 0;
    QDateTime lastModified;
};

struct FileFailure
{
    // The file is longer than the reader takes; `size` is then at least as
    // long as what was read, even for a file that grew meanwhile.
    bool tooLarge = false;
    qint64 size = 0;
    // Why, without the path: the system's words ("Permission denied"), what
    // the path names instead of a file, or the limit that was passed.
    Failure reason;
};

// Reads an ordinary file of at most `maxBytes`, names that are not UTF-8
// too (filenames.h). Refuses what is no ordinary file (picking /dev/zero
// must not hang the window or eat its memory; a pipe is never opened, so
// nothing waits for its writer) and a longer file: one cut short is not it.
Result<FileContent, FileFailure> readWholeFile(const QString &path, qint64 maxBytes);

// What the system says of the file or folder that `path` names (links
// followed), for names with bytes that are not UTF-8 too (filenames.h).
struct FileStatus
{
    bool exists = false;
    bool folder = false;
    qint64 size = 0;
    QDateTime lastModified; // as readWholeFile gives it
};
FileStatus fileStatus(const QString &path);

// What tells one version of a file from the next. A folder, or a path that
// names nothing, has no version: `exists` is false.
struct FileStamp
{
    bool exists = false;
    qint64 size = -1;
    QDateTime modified;
    bool operator==(const FileStamp &o) const
    {
        return exists == o.exists && size == o.size && modified == o.modified;
    }
    bool operator!=(const FileStamp &o) const { return !(*this == o); }
};
FileStamp stampOf(const QString &path);

// The last byte of the ordinary file at `path`; nothing when empty or unreadable.
std::optional<char> lastByte(const QString &path);

// A refused size with its limit: "1073741824 bytes, more than the 4194304
// bytes (4 MiB) a scan file may have".
QString sizeBeyondLimit(qint64 size, qint64 limit, const QString &what);

// What the user is told below a message about a file: "<path>: <reason>",
// with the line when one is to blame ("<path>: line 7: <reason>").
QString failureDetail(const QString &path, const Failure &reason);

} // namespace ws
