#include "files.h"

#include <QFile>
#include <QFileInfo>

namespace ws {

std::optional<FileStart> readFileStart(const QString &path, qint64 maxBytes)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    FileStart start;
    start.size = info.size();
    start.lastModified = info.lastModified();
    // Read, not map: a file that shrinks while it is mapped ends the process.
    start.bytes = file.read(maxBytes);
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    start.complete = file.atEnd() || file.read(1).isEmpty();
    return start;
}

} // namespace ws
