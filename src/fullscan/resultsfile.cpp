#include "fullscan/resultsfile.h"

#include "core/texts.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <utility>

namespace ws {

namespace {

// The file's bytes: the results and one CR LF, one byte per character.
QByteArray resultsBytes(const QString &results)
{
    return toBytes(results + crlf());
}

QString noDataReason(const ResultsFolders &folders)
{
    return folders.noData.isEmpty() ? QStringLiteral("the system names none") : folders.noData;
}

// "2026-12-07T10-30-15.txt", then "2026-12-07T10-30-15-2.txt" and on: the
// names sort by time and hold no colon, which some file systems refuse.
QString pastResultsName(const QDateTime &when, int n)
{
    const QDateTime local = when.toLocalTime();
    const auto digits = [](int value, int width) {
        return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
    };
    QString name = QStringLiteral("%1-%2-%3T%4-%5-%6")
                       .arg(digits(local.date().year(), 4), digits(local.date().month(), 2),
                            digits(local.date().day(), 2), digits(local.time().hour(), 2),
                            digits(local.time().minute(), 2), digits(local.time().second(), 2));
    if (n > 1)
        name += QLatin1Char('-') + QString::number(n);
    return name + QStringLiteral(".txt");
}

QString pastResultsFolder(const QString &dataFolder)
{
    return QDir::toNativeSeparators(QDir::fromNativeSeparators(dataFolder) +
                                    QStringLiteral("/results"));
}

QString keepPastCopy(const ResultsFolders &folders, const QDateTime &when, const QByteArray &bytes,
                     FileSystem &files)
{
    const QString lead = QStringLiteral("Could not keep a copy of the results in ");
    if (folders.data.isEmpty())
        return lead + QStringLiteral("the data folder: ") + noDataReason(folders);
    const QString folder = pastResultsFolder(folders.data);
    // Made on first use.
    if (!QDir().mkpath(folder))
        return lead + folder + QStringLiteral(": the folder could not be created");
    const Result<QString> copy = writeUnderFreeName(
        QDir::fromNativeSeparators(folder), [&when](int n) { return pastResultsName(when, n); },
        bytes, files);
    return copy.value ? QString() : lead + folder + QStringLiteral(": ") + copy.failure.what;
}

// The results file that a scan which writes nothing leaves as it was, and
// whether there is one: the first of the window's folders that holds one,
// else the first it would have tried.
std::pair<QString, bool> earlierResultsFile(const ResultsPlace &place)
{
    if (!place.file.isEmpty()) {
        const QString path = shownResultsPath(place.file);
        return {path, QFileInfo::exists(path)};
    }
    QStringList tried;
    for (const QString &folder : {place.folders.program, place.folders.data}) {
        if (!folder.isEmpty())
            tried << resultsFilePath(folder);
    }
    for (const QString &path : tried) {
        if (QFileInfo::exists(path))
            return {path, true};
    }
    return {tried.value(0, resultsFilePath(QString())), false};
}

} // namespace

QString resultsFilePath(const QString &folder)
{
    QString path = QDir::fromNativeSeparators(folder);
    // A program in a root folder gets "C:\" or "/" from the system; do not
    // double the separator. An unknown folder must not turn into the root.
    if (!path.isEmpty() && !path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return QDir::toNativeSeparators(path + QLatin1String("results.txt"));
}

QString shownResultsPath(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
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
    const QString failure = writeWhole(target, resultsBytes(results), files);
    return {failure.isEmpty(), failure};
}

SaveOutcome saveResults(const QString &path, const QString &results)
{
    return saveResults(checkResultsTarget(path), results);
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

ResultsSave saveResultsIn(const ResultsFolders &folders, const QString &results,
                          FileSystem &files)
{
    ResultsSave save;
    const auto failed = [&save](const QString &path, const QString &why) {
        save.failedPaths << path;
        save.reasons << why;
    };
    if (!folders.program.isEmpty()) {
        const QString path = resultsFilePath(folders.program);
        const SaveOutcome outcome = saveResults(checkResultsTarget(path), results, files);
        if (outcome.saved) {
            save.savedPath = path;
            return save;
        }
        failed(path, outcome.reason);
    }
    if (folders.data.isEmpty()) {
        failed(QString(), noDataReason(folders));
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
    const SaveOutcome outcome = saveResults(checkResultsTarget(path), results, files);
    if (outcome.saved)
        save.savedPath = path;
    else
        failed(path, outcome.reason);
    return save;
}

Result<QString> systemDataFolder()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // Qt makes a relative XDG_DATA_HOME a relative folder and an unset HOME
    // the root's; neither is a place for results.
    return dataFolderFrom(qEnvironmentVariable("XDG_DATA_HOME"), qEnvironmentVariable("HOME"));
#else
    Result<QString> result;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!folder.isEmpty())
        result.value = QDir::toNativeSeparators(folder);
    return result;
#endif
}

ResultsOutcome finishResults(const ScanEnding &scan, const ResultsPlace &place,
                             const QDateTime &now, FileSystem &files)
{
    ResultsOutcome outcome;
    if (!scan.received) {
        outcome.leftAsItWas = true;
        outcome.message = untouchedResultsMessage(place);
        return outcome;
    }
    ResultsSave save;
    if (place.file.isEmpty()) {
        save = saveResultsIn(place.folders, scan.results, files);
    } else {
        // Checked again, though checked before the first entry: the scan
        // took minutes.
        const SaveOutcome written =
            saveResults(checkResultsTarget(place.file, place.map), scan.results, files);
        const QString shown = shownResultsPath(place.file);
        if (written.saved) {
            save.savedPath = shown;
        } else {
            save.failedPaths << shown;
            save.reasons << written.reason;
        }
    }
    outcome.saved = save.saved();
    outcome.message = save.message();
    if (outcome.saved && place.keepPast)
        outcome.pastCopyFailure = keepPastCopy(place.folders, now, resultsBytes(scan.results), files);
    return outcome;
}

QString untouchedResultsMessage(const ResultsPlace &place)
{
    const auto [path, exists] = earlierResultsFile(place);
    return path + (exists ? QStringLiteral(" left as it was") : QStringLiteral(" not written"));
}

} // namespace ws
