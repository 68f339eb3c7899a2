#include "fullscan/resultsfile.h"

#include "core/texts.h"

#include <QDir>
#include <QFileInfo>

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

SaveTarget checkResultsTarget(const QString &path, const QString &map)
{
    SaveTarget target = checkSaveTarget(path);
    if (!target.refused() && !map.isEmpty() && isSameFile(target, map))
        target.refusal = QStringLiteral("it is the map being scanned");
    return target;
}

SaveOutcome saveResults(const SaveTarget &target, const QString &results, FileSystem &files)
{
    // A new file takes the old one's name: the old one's permissions stay,
    // but not its owner, nor its other hard links, and a link in its place
    // was resolved when the target was checked.
    const QString failure = writeWhole(target, toBytes(results + crlf()), files);
    return {failure.isEmpty(), failure};
}

SaveOutcome saveResults(const QString &path, const QString &results)
{
    return saveResults(checkResultsTarget(path), results);
}

bool isInstalledFolder(const QString &programFolder, const QString &installedBinFolder)
{
    if (programFolder.isEmpty() || installedBinFolder.isEmpty())
        return false;
    // The program knows its folder with every link resolved; /bin may be a
    // link to /usr/bin.
    const auto canonical = [](const QString &folder) {
        const QString resolved = QFileInfo(folder).canonicalFilePath();
        return resolved.isEmpty() ? QDir::cleanPath(QDir::fromNativeSeparators(folder)) : resolved;
    };
#ifdef Q_OS_WIN
    const Qt::CaseSensitivity cs = Qt::CaseInsensitive;
#else
    const Qt::CaseSensitivity cs = Qt::CaseSensitive;
#endif
    return canonical(programFolder).compare(canonical(installedBinFolder), cs) == 0;
}

Result<QString> dataFolderFrom(const QString &xdgDataHome, const QString &home)
{
    Result<QString> result;
    const auto refuse = [&result](const QString &why) {
        result.failure.what = why;
        return result;
    };
    QString base;
    if (!xdgDataHome.isEmpty()) {
        if (!QDir::isAbsolutePath(xdgDataHome))
            return refuse(
                QStringLiteral("XDG_DATA_HOME is not an absolute path (\"%1\")").arg(xdgDataHome));
        base = xdgDataHome;
    } else {
        if (home.isEmpty())
            return refuse(QStringLiteral("HOME is not set"));
        if (!QDir::isAbsolutePath(home))
            return refuse(QStringLiteral("HOME is not an absolute path (\"%1\")").arg(home));
        base = home + QStringLiteral("/.local/share");
    }
    result.value = QDir::toNativeSeparators(QDir::cleanPath(base + QStringLiteral("/Wavesift")));
    return result;
}

QString ResultsSave::message() const
{
    if (saved())
        return QStringLiteral("Saved Results to file ") + savedPath;
    QString text;
    for (qsizetype i = 0; i < failedPaths.size(); ++i) {
        text += i == 0 ? QStringLiteral("Could not save results to ") : QStringLiteral("; nor to ");
        text += failedPaths[i].isEmpty() ? QStringLiteral("the data folder")
                                         : QStringLiteral("file ") + failedPaths[i];
        text += QStringLiteral(": ") + reasons.value(i);
    }
    return text;
}

ResultsSave saveResultsIn(const ResultsFolders &folders, const QString &results)
{
    ResultsSave save;
    const auto failed = [&save](const QString &path, const QString &why) {
        save.failedPaths << path;
        save.reasons << why;
    };
    if (!folders.program.isEmpty()) {
        const QString path = resultsFilePath(folders.program);
        const SaveOutcome outcome = saveResults(path, results);
        if (outcome.saved) {
            save.savedPath = path;
            return save;
        }
        failed(path, outcome.reason);
    }
    if (folders.data.isEmpty()) {
        failed(QString(), folders.noData.isEmpty() ? QStringLiteral("the system names none")
                                                   : folders.noData);
        return save;
    }
    if (!folders.program.isEmpty() &&
        QDir::cleanPath(folders.data) == QDir::cleanPath(folders.program))
        return save;
    const QString path = resultsFilePath(folders.data);
    // Made on first use.
    if (!QDir().mkpath(folders.data)) {
        failed(path, QStringLiteral("the folder could not be created"));
        return save;
    }
    const SaveOutcome outcome = saveResults(path, results);
    if (outcome.saved)
        save.savedPath = path;
    else
        failed(path, outcome.reason);
    return save;
}

} // namespace ws
