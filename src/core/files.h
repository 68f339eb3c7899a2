#pragma once

#include "failure.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

// Reading a file that the user picked: it may be anything, so the reading is
// bounded and refuses what is no ordinary file.
namespace ws {

// A whole file as the loaders need it: its bytes, its size and the time of
// its last change.
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
    Failure reason;
};

// Reads an ordinary file of at most `maxBytes`. Fails when the path names
// no ordinary file (a folder, a device, a pipe: picking /dev/zero must not
// hang the window or eat its memory), when the file cannot be opened or
// read, and when it is longer than `maxBytes`: a file cut short is not the
// file.
Result<FileContent, FileFailure> readWholeFile(const QString &path, qint64 maxBytes);

} // namespace ws
