#include "files.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace ws {

Result<FileContent, FileFailure> readWholeFile(const QString &path, qint64 maxBytes)
{
    Result<FileContent, FileFailure> result;
    const auto fail = [&](const QString &what) {
        result.failure.reason = {0, path + QLatin1Char(' ') + what};
        return result;
    };
    const QFileInfo info(path);
    // A mistyped name is the likeliest failure from a command line; say so
    // rather than call it no ordinary file.
    if (!info.exists())
        return fail(QStringLiteral("does not exist"));
    if (!info.isFile())
        return fail(QStringLiteral("is no ordinary file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot be opened: ") + file.errorString());
    // Read, not map: a file that shrinks while it is mapped ends the process.
    QByteArray bytes = file.read(maxBytes);
    if (file.error() != QFileDevice::NoError)
        return fail(QStringLiteral("cannot be read: ") + file.errorString());
    if (!file.atEnd() && !file.read(1).isEmpty()) {
        // The size found before reading may be out of date for a file that
        // grew meanwhile; what was read is at least that long.
        result.failure.tooLarge = true;
        result.failure.size = std::max<qint64>(info.size(), bytes.size());
        return fail(QStringLiteral("is longer than %1 bytes").arg(maxBytes));
    }
    result.value = FileContent{std::move(bytes), info.size(), info.lastModified()};
    return result;
}

} // namespace ws
