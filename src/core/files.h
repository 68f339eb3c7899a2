#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

namespace ws {

// A file as the loaders need it: its first bytes, its size and the time of
// its last change.
struct FileStart
{
    QByteArray bytes;
    qint64 size = 0;
    QDateTime lastModified;
    bool complete = true; // false when the file is longer than was read
};

// Reads at most `maxBytes` of an ordinary file. Nothing when the path names
// no ordinary file (a folder, a device, a pipe: picking /dev/zero must not
// hang the window or eat its memory) or the file cannot be opened or read.
std::optional<FileStart> readFileStart(const QString &path, qint64 maxBytes);

} // namespace ws
