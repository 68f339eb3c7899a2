#include "resultsfile.h"

#include "texts.h"

#include <QDir>
#include <QSaveFile>

namespace ws {

QString resultsFilePath(const QString &folder)
{
    QString path = QDir::fromNativeSeparators(folder);
    // A program in a root folder gets "C:\" or "/" from the system; do not
    // double the separator.
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return QDir::toNativeSeparators(path + QLatin1String("results.txt"));
}

SaveOutcome saveResults(const QString &path, const QString &results)
{
    // The new content goes to a temporary file that replaces the old one
    // only when complete, so a failed write leaves the last scan's results
    // as they were. Where no file can be made beside it (a folder that only
    // lets results.txt itself be written) the file is written in place.
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return {false, file.errorString()};
    const QByteArray bytes = toBytes(results + crlf());
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return {false, reason};
    }
    if (!file.commit())
        return {false, file.errorString()};
    return {true, QString()};
}

} // namespace ws
