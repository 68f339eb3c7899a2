#include "core/savefile.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QScopeGuard>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ws {

namespace {

// As many as the system itself follows in one path.
constexpr int kMaxLinks = 40;

// How many names a free name is looked for among; more files of one name
// than this mean something other than a save is at work.
constexpr int kMaxFreeNameTries = 1000;

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString kindRefusal(PathFacts::Kind kind)
{
    switch (kind) {
    case PathFacts::Kind::Missing:
    case PathFacts::Kind::File:
    case PathFacts::Kind::Link:
        break;
    case PathFacts::Kind::Folder:
        return QStringLiteral("it is a folder, not an ordinary file");
    case PathFacts::Kind::Pipe:
        return QStringLiteral("it is a named pipe, not an ordinary file");
    case PathFacts::Kind::Device:
        return QStringLiteral("it is a device, not an ordinary file");
    case PathFacts::Kind::Socket:
        return QStringLiteral("it is a socket, not an ordinary file");
    case PathFacts::Kind::Other:
        return QStringLiteral("it is not an ordinary file");
    }
    return QString();
}

QString parentOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash <= 0 ? QStringLiteral("/") : path.left(slash);
}

#ifdef Q_OS_UNIX
// The link-free path `path` leads to, link by link as the system walks it;
// a link in a shared folder is followed only when it belongs to the user
// or to the folder's owner, as the kernel's protected_symlinks has it, so
// that no one can plant a link in /tmp that makes us write over their pick.
SaveTarget resolve(const QString &path, FileSystem &files)
{
    SaveTarget target;
    const QString absolute = QDir::isAbsolutePath(path)
                                 ? path
                                 : QDir::currentPath() + QLatin1Char('/') + path;
    QStringList todo = absolute.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString done; // link-free; empty for the root
    int links = 0;
    while (!todo.isEmpty()) {
        const QString part = todo.takeFirst();
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            done = done.left(std::max<qsizetype>(0, done.lastIndexOf(QLatin1Char('/'))));
            continue;
        }
        const QString next = done + QLatin1Char('/') + part;
        const PathFacts facts = files.facts(next);
        if (facts.kind == PathFacts::Kind::Link) {
            const QString folder = done.isEmpty() ? QStringLiteral("/") : done;
            const PathFacts around = files.facts(folder);
            if (around.sharedFolder && facts.owner != files.user() && facts.owner != around.owner) {
                target.refusal = QStringLiteral("%1 is a link in the shared folder %2 that belongs "
                                                "neither to you nor to the folder's owner; it is "
                                                "not followed")
                                     .arg(shown(next), shown(folder));
                return target;
            }
            if (++links > kMaxLinks) {
                target.refusal = QStringLiteral("it leads through more than %1 links").arg(kMaxLinks);
                return target;
            }
            if (facts.linkTarget.startsWith(QLatin1Char('/')))
                done.clear();
            todo = facts.linkTarget.split(QLatin1Char('/'), Qt::SkipEmptyParts) + todo;
            continue;
        }
        if (!todo.isEmpty() && facts.kind != PathFacts::Kind::Folder) {
            target.refusal = facts.kind == PathFacts::Kind::Missing
                                 ? QStringLiteral("the folder %1 does not exist").arg(shown(next))
                                 : QStringLiteral("%1 is not a folder").arg(shown(next));
            return target;
        }
        done = next;
    }
    target.path = done.isEmpty() ? QStringLiteral("/") : done;
    return target;
}
#else
SaveTarget resolve(const QString &path, FileSystem &)
{
    // No link here is another user's trap in a shared folder; the system
    // resolves what there is.
    const QFileInfo info(path);
    SaveTarget target;
    target.path = QDir::fromNativeSeparators(info.isSymLink() ? info.symLinkTarget()
                                                              : info.absoluteFilePath());
    return target;
}
#endif

} // namespace

PathFacts FileSystem::facts(const QString &path)
{
    PathFacts facts;
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(path);
    struct stat status = {};
    if (::lstat(name.constData(), &status) != 0)
        return facts;
    facts.owner = status.st_uid;
    const mode_t mode = status.st_mode;
    if (S_ISREG(mode)) {
        facts.kind = PathFacts::Kind::File;
    } else if (S_ISDIR(mode)) {
        facts.kind = PathFacts::Kind::Folder;
        facts.sharedFolder = (mode & S_ISVTX) && (mode & S_IWOTH);
        facts.writable = ::access(name.constData(), W_OK | X_OK) == 0;
    } else if (S_ISLNK(mode)) {
        facts.kind = PathFacts::Kind::Link;
        char target[PATH_MAX];
        const ssize_t size = ::readlink(name.constData(), target, sizeof target);
        if (size > 0)
            facts.linkTarget = QFile::decodeName(QByteArray(target, int(size)));
    } else if (S_ISFIFO(mode)) {
        facts.kind = PathFacts::Kind::Pipe;
    } else if (S_ISCHR(mode) || S_ISBLK(mode)) {
        facts.kind = PathFacts::Kind::Device;
    } else if (S_ISSOCK(mode)) {
        facts.kind = PathFacts::Kind::Socket;
    } else {
        facts.kind = PathFacts::Kind::Other;
    }
#else
    const QFileInfo info(path);
    if (info.isSymLink()) {
        facts.kind = PathFacts::Kind::Link;
        facts.linkTarget = info.symLinkTarget();
    } else if (info.isDir()) {
        facts.kind = PathFacts::Kind::Folder;
        facts.writable = info.isWritable();
    } else if (info.isFile()) {
        facts.kind = PathFacts::Kind::File;
    } else if (info.exists()) {
        facts.kind = PathFacts::Kind::Other;
    }
#endif
    return facts;
}

uint FileSystem::user()
{
#ifdef Q_OS_UNIX
    return ::geteuid();
#else
    return 0;
#endif
}

QString FileSystem::write(QFileDevice &file, const QByteArray &bytes)
{
    // A full disk may first take part of the bytes and only refuse the
    // rest, so write until everything is taken or the system says why not.
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return file.errorString();
        done += n;
    }
    return file.flush() ? QString() : file.errorString();
}

FileSystem &systemFileSystem()
{
    static FileSystem system;
    return system;
}

SaveTarget checkSaveTarget(const QString &path, FileSystem &files)
{
    SaveTarget target = resolve(QDir::fromNativeSeparators(path), files);
    if (target.refused())
        return target;
    target.refusal = kindRefusal(files.facts(target.path).kind);
    if (target.refused())
        return target;
    // The new file is made beside the old one and takes its name: a folder
    // that takes no new files takes no save, however writable the old file.
    const QString folder = parentOf(target.path);
    const PathFacts around = files.facts(folder);
    if (around.kind == PathFacts::Kind::Missing)
        target.refusal = QStringLiteral("the folder %1 does not exist").arg(shown(folder));
    else if (around.kind != PathFacts::Kind::Folder)
        target.refusal = QStringLiteral("%1 is not a folder").arg(shown(folder));
    else if (!around.writable)
        target.refusal = QStringLiteral("the folder %1 cannot be written to").arg(shown(folder));
    return target;
}

bool isSameFile(const SaveTarget &target, const QString &other)
{
    const QFileInfo mine(target.path);
    const QFileInfo theirs(other);
    return mine.exists() && theirs.exists() &&
           mine.canonicalFilePath() == theirs.canonicalFilePath();
}

QString writeWhole(const SaveTarget &target, const QByteArray &bytes, FileSystem &files)
{
    if (target.refused())
        return target.refusal;
    // Handed the resolved path, so that the file does not follow a link
    // again by itself.
    QSaveFile file(target.path);
    // Unbuffered, every write reaches the system at once and a refusal comes
    // with its reason. A buffered file sends the bytes at its flush, and a
    // disk that takes only part of them there leaves "Unknown error".
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    const QString failure = files.write(file, bytes);
    if (!failure.isEmpty()) {
        file.cancelWriting();
        return failure;
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}

QString saveWhole(const QString &path, const QByteArray &bytes, FileSystem &files)
{
    return writeWhole(checkSaveTarget(path, files), bytes, files);
}

Result<QString> writeUnderFreeName(const QString &folder, const std::function<QString(int)> &nameFor,
                                   const QByteArray &bytes, FileSystem &files)
{
    Result<QString> result;
    const auto fail = [&result](const QString &why) {
        result.failure.what = why;
        return result;
    };
    // The bytes go to a file of their own first, which takes a free name only
    // once complete and goes away in any case. It gets the umask's mode, not
    // a temporary file's owner-only one, as the copy is read like the results
    // file; unbuffered, as in writeWhole, for the reason on a full disk.
    QFile file;
    for (int n = 1;; ++n) {
        file.setFileName(folder + QStringLiteral("/.incomplete-%1")
                                      .arg(QRandomGenerator::global()->generate64(), 16, 16,
                                           QLatin1Char('0')));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
            break;
        // A file of that name, however unlikely: another name.
        if (!file.exists() || n >= kMaxFreeNameTries)
            return fail(file.errorString());
    }
    const auto removed = qScopeGuard([&file] { file.remove(); });
    const QString failure = files.write(file, bytes);
    file.close();
    if (!failure.isEmpty())
        return fail(failure);
    const QString complete = file.fileName();
    for (int n = 1; n <= kMaxFreeNameTries; ++n) {
        const QString path = folder + QLatin1Char('/') + nameFor(n);
#ifdef Q_OS_UNIX
        // A new link to a name that exists fails, however late that name
        // was taken: two saves in the same moment keep both files.
        if (::link(QFile::encodeName(complete).constData(), QFile::encodeName(path).constData()) ==
            0) {
            result.value = path;
            return result;
        }
        if (errno != EEXIST)
            return fail(qt_error_string(errno));
#else
        // The system's rename never replaces a file here.
        if (QFile::rename(complete, path)) {
            result.value = path;
            return result;
        }
        if (!QFileInfo::exists(path))
            return fail(file.errorString());
#endif
    }
    return fail(QStringLiteral("%1 and the %2 names after it are taken")
                    .arg(nameFor(1))
                    .arg(kMaxFreeNameTries - 1));
}

} // namespace ws
