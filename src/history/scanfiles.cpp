#include "history/scanfiles.h"

#include "core/filenames.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace ws {

namespace {

bool hasScanName(QStringView name)
{
    return name.endsWith(QLatin1String(".scn"), Qt::CaseInsensitive);
}

#ifdef Q_OS_UNIX
// The file's status by its own bytes, links followed.
std::optional<struct stat> statusOf(const QString &path)
{
    const std::optional<QByteArray> name = nativeFileName(path);
    struct stat info = {};
    if (!name || ::stat(name->constData(), &info) != 0)
        return std::nullopt;
    return info;
}
#endif

} // namespace

QString fileNameOf(const QString &path)
{
    qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
#ifdef Q_OS_WIN
    slash = std::max(slash, path.lastIndexOf(QLatin1Char('\\')));
#endif
    return path.mid(slash + 1);
}

bool readEarlier(const QDateTime &modified, const QString &path, const QDateTime &otherModified,
                 const QString &otherPath)
{
    if (modified != otherModified)
        return modified < otherModified;
    const QString name = fileNameOf(path);
    const QString otherName = fileNameOf(otherPath);
    if (name != otherName)
        return name < otherName;
    return path < otherPath;
}

bool isFolder(const QString &path)
{
#ifdef Q_OS_UNIX
    const std::optional<struct stat> info = statusOf(path);
    return info && S_ISDIR(info->st_mode);
#else
    return QFileInfo(path).isDir();
#endif
}

Result<QStringList> scanFilesIn(const QString &folder)
{
    Result<QStringList> result;
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
#ifdef Q_OS_UNIX
    // Qt would list a name that is not UTF-8 with U+FFFD in it, which then
    // names no file.
    const std::optional<QByteArray> name = nativeFileName(folder);
    DIR *dir = name ? ::opendir(name->constData()) : nullptr;
    if (!dir) {
        result.failure.what = name ? QString::fromLocal8Bit(std::strerror(errno))
                                   : QStringLiteral("not a name a file can have here");
        return result;
    }
    QStringList files;
    while (const dirent *entry = ::readdir(dir)) {
        const QString file = nameText(QByteArrayView(entry->d_name));
        if (hasScanName(file) && !isFolder(prefix + file))
            files << prefix + file;
    }
    ::closedir(dir);
    result.value = files;
#else
    const QDir dir(folder);
    if (!dir.exists()) {
        result.failure.what = QStringLiteral("No such folder");
        return result;
    }
    QStringList files;
    for (const QString &file : dir.entryList(QDir::Files | QDir::System | QDir::Hidden)) {
        if (hasScanName(file))
            files << prefix + file;
    }
    result.value = files;
#endif
    return result;
}

ScanSources scanSources(const QStringList &sources)
{
    ScanSources found;
    for (const QString &source : sources) {
        if (!isFolder(source)) {
            found.files << source;
            continue;
        }
        found.folders << source;
        const Result<QStringList> listed = scanFilesIn(source);
        if (listed.value && listed.value->isEmpty())
            found.emptyFolders << source;
        else if (listed.value)
            found.files << *listed.value;
        else
            found.unlisted.push_back({source, std::nullopt, listed.failure});
    }
    return found;
}

Result<ScanFile, SkippedScan> readScan(const QString &path)
{
    Result<ScanFile, SkippedScan> result;
    result.failure.path = path;
    const auto file = readScanFile(path);
    if (!file.value) {
        result.failure.reason = file.failure.reason;
        return result;
    }
    ScanParse parse = parseScan(file.value->bytes);
    if (!parse.value) {
        result.failure.kind = parse.failure.kind;
        result.failure.reason = parse.failure.reason;
        return result;
    }
    result.value = ScanFile{std::move(*parse.value), file.value->size, file.value->lastModified};
    return result;
}

} // namespace ws
