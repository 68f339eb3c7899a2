#include "resultsfile.h"

#include "texts.h"

#include <QDir>
#include <QFile>

namespace ws {

QString resultsFilePath(const QString &folder)
{
    QString path = QDir::fromNativeSeparators(folder);
    // A program in a root folder gets "C:\" or "/" from the system; do not
    // double the separator. An unknown folder must not turn into the root.
    if (!path.isEmpty() && !path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return QDir::toNativeSeparators(path + QLatin1String("results.txt"));
}

SaveOutcome saveResults(const QString &path, const QString &results)
{
    // Written in place: a results.txt that is a link, or that the user has
    // given other rights, stays what it is; only its content changes.
    QFile file(path);
    const auto failed = [&file] {
        return SaveOutcome{false, file.errorString()};
    };
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return failed();
    const QByteArray bytes = toBytes(results + crlf());
    // A full disk may first take part of the bytes and only refuse the
    // rest, so write until everything is taken or the system says why not.
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return failed();
        done += n;
    }
    if (!file.flush())
        return failed();
    file.close();
    if (file.error() != QFileDevice::NoError)
        return failed();
    return {true, QString()};
}

QString ResultsSave::message() const
{
    if (saved())
        return QStringLiteral("Saved Results to file ") + savedPath;
    QString text;
    for (qsizetype i = 0; i < failedPaths.size(); ++i) {
        text += i == 0 ? QStringLiteral("Could not save results to file ")
                       : QStringLiteral("; nor to file ");
        text += failedPaths[i] + QStringLiteral(": ") + reasons.value(i);
    }
    return text;
}

ResultsSave saveResultsIn(const QStringList &folders, const QString &results)
{
    ResultsSave save;
    QStringList tried;
    for (qsizetype i = 0; i < folders.size(); ++i) {
        const QString &folder = folders[i];
        if (i > 0 && (folder.isEmpty() || tried.contains(QDir::cleanPath(folder))))
            continue;
        tried << QDir::cleanPath(folder);
        const QString path = resultsFilePath(folder);
        // The program's folder is where it runs from, so it exists; a data
        // folder is made on first use.
        if (i > 0 && !QDir().mkpath(folder)) {
            save.failedPaths << path;
            save.reasons << QStringLiteral("the folder could not be created");
            continue;
        }
        const SaveOutcome outcome = saveResults(path, results);
        if (outcome.saved) {
            save.savedPath = path;
            return save;
        }
        save.failedPaths << path;
        save.reasons << outcome.reason;
    }
    return save;
}

} // namespace ws

