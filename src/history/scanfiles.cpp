#include "history/scanfiles.h"

#include "core/filenames.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

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

// Why nothing can be found under the name, or nothing when something is.
std::optional<QString> unreachable(const QString &path)
{
#ifdef Q_OS_UNIX
    const std::optional<QByteArray> name = nativeFileName(path);
    struct stat info = {};
    if (!name)
        return QStringLiteral("not a name a file can have here");
    if (::stat(name->constData(), &info) == 0)
        return std::nullopt;
    return QString::fromLocal8Bit(std::strerror(errno));
#else
    if (QFileInfo::exists(path))
        return std::nullopt;
    return QStringLiteral("No such file or folder");
#endif
}

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

std::optional<FileIdentity> identityOf(const QString &path)
{
#ifdef Q_OS_UNIX
    const std::optional<struct stat> info = statusOf(path);
    if (!info)
        return std::nullopt;
    return FileIdentity{quint64(info->st_dev), quint64(info->st_ino)};
#else
    // Without inodes the whole, clean name stands for the file.
    const QFileInfo info(path);
    if (!info.exists())
        return std::nullopt;
    return FileIdentity{0, qHash(info.canonicalFilePath())};
#endif
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
        if (!hasScanName(file))
            continue;
        // Most file systems tell the kind with the name; a link, or one
        // that does not say, is looked at (thousands of looks are felt).
        const bool folder = entry->d_type == DT_DIR ||
                            (entry->d_type != DT_REG && isFolder(prefix + file));
        if (!folder)
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
    QSet<QPair<quint64, quint64>> known;
    // Whether the file or folder was not met before under any name.
    const auto firstTime = [&known](const QString &path) {
        const std::optional<FileIdentity> id = identityOf(path);
        // A name that reaches nothing is told about where it is read.
        if (!id)
            return true;
        const QPair<quint64, quint64> key(id->device, id->inode);
        if (known.contains(key))
            return false;
        known.insert(key);
        return true;
    };
    QStringList files;
    QSet<QString> singles;
    for (const QString &source : sources) {
        if (!isFolder(source)) {
            if (const std::optional<QString> why = unreachable(source)) {
                Failure reason;
                reason.what = *why;
                found.missing.push_back({source, std::nullopt, reason, true});
            } else {
                files << source;
                singles << source;
            }
            continue;
        }
        if (!firstTime(source))
            continue;
        found.folders << source;
        const Result<QStringList> listed = scanFilesIn(source);
        if (listed.value && listed.value->isEmpty())
            found.emptyFolders << source;
        else if (listed.value)
            files << *listed.value;
        else
            found.unlisted.push_back({source, std::nullopt, listed.failure});
    }
    for (const QString &file : std::as_const(files)) {
        if (!firstTime(file))
            continue;
        found.files << file;
        if (singles.contains(file))
            found.singles << file;
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
