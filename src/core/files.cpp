#include "core/files.h"

#include "core/filenames.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ws {

namespace {

using FileResult = Result<FileContent, FileFailure>;

FileResult failed(const QString &why)
{
    FileResult result;
    result.failure.reason = {0, why};
    return result;
}

// What stands at the path instead of an ordinary file.
#ifdef Q_OS_UNIX
QString notAFile(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("a folder, not a file");
    if (S_ISFIFO(mode))
        return QStringLiteral("a pipe (FIFO), not an ordinary file");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket, not an ordinary file");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device, not an ordinary file");
    return QStringLiteral("not an ordinary file");
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QDateTime modifiedAt(const struct stat &info)
{
#ifdef Q_OS_DARWIN
    const timespec &changed = info.st_mtimespec;
#else
    const timespec &changed = info.st_mtim;
#endif
    return QDateTime::fromMSecsSinceEpoch(qint64(changed.tv_sec) * 1000 +
                                          changed.tv_nsec / 1000000);
}

// Closes the descriptor on every way out.
struct Descriptor
{
    int fd;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};
#endif

// Reads what `read` gives into `bytes`, at most `maxBytes` and one byte
// more, which tells a file longer than the limit. The room first made is
// the size the file had (never the limit itself, which a small file would
// only waste); it grows for a file that grew meanwhile. The number of bytes
// read, or -1 when a read failed.
template <typename Read>
qint64 readBounded(Read read, qint64 expected, qint64 maxBytes, QByteArray &bytes)
{
    bytes.resize(std::min(expected, maxBytes) + 1);
    qint64 got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (got > maxBytes)
                break;
            bytes.resize(std::min(got * 2, maxBytes + 1));
        }
        const qint64 n = read(bytes.data() + got, bytes.size() - got);
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        got += n;
    }
    return got;
}

// The bytes read as the whole file, or the refusal of a file longer than
// `maxBytes` (of at least `size` bytes).
FileResult taken(QByteArray bytes, qint64 got, qint64 size, const QDateTime &modified,
                 qint64 maxBytes)
{
    if (got > maxBytes) {
        FileResult result = failed(QStringLiteral("more than %1 bytes").arg(maxBytes));
        result.failure.tooLarge = true;
        result.failure.size = std::max(size, got);
        return result;
    }
    bytes.resize(got);
    FileResult result;
    result.value = FileContent{std::move(bytes), got, modified};
    return result;
}

} // namespace

Result<FileContent, FileFailure> readWholeFile(const QString &path, qint64 maxBytes)
{
#ifdef Q_OS_UNIX
    const std::optional<QByteArray> name = nativeFileName(path);
    if (!name)
        return failed(QStringLiteral("not a name a file can have here"));
    // Looked at before it is opened: opening a device may already do
    // something, and opening a pipe waits for its writer.
    struct stat info = {};
    if (::stat(name->constData(), &info) != 0)
        return failed(systemError(errno));
    if (!S_ISREG(info.st_mode))
        return failed(notAFile(info.st_mode));
    // Non-blocking all the same, and checked again on what was opened:
    // the name may have been given to a pipe in between.
    Descriptor file{::open(name->constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    if (file.fd < 0)
        return failed(systemError(errno));
    if (::fstat(file.fd, &info) != 0)
        return failed(systemError(errno));
    if (!S_ISREG(info.st_mode))
        return failed(notAFile(info.st_mode));
    // Too large already: not worth reading.
    if (info.st_size > maxBytes)
        return taken({}, info.st_size, info.st_size, {}, maxBytes);

    QByteArray bytes;
    const qint64 got = readBounded(
        [&](char *to, qint64 room) {
            ssize_t n;
            do
                n = ::read(file.fd, to, size_t(room));
            while (n < 0 && errno == EINTR);
            return qint64(n);
        },
        info.st_size, maxBytes, bytes);
    if (got < 0)
        return failed(QStringLiteral("cannot be read: ") + systemError(errno));
    return taken(std::move(bytes), got, info.st_size, modifiedAt(info), maxBytes);
#else
    const QFileInfo info(path);
    if (!info.exists())
        return failed(QStringLiteral("No such file or directory"));
    if (info.isDir())
        return failed(QStringLiteral("a folder, not a file"));
    if (!info.isFile())
        return failed(QStringLiteral("not an ordinary file"));
    if (info.size() > maxBytes)
        return taken({}, info.size(), info.size(), {}, maxBytes);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failed(file.errorString());
    QByteArray bytes;
    const qint64 got = readBounded(
        [&](char *to, qint64 room) { return file.read(to, room); }, info.size(), maxBytes, bytes);
    if (got < 0)
        return failed(QStringLiteral("cannot be read: ") + file.errorString());
    return taken(std::move(bytes), got, info.size(), info.lastModified(), maxBytes);
#endif
}

FileStatus fileStatus(const QString &path)
{
#ifdef Q_OS_UNIX
    const std::optional<QByteArray> name = nativeFileName(path);
    struct stat info = {};
    if (!name || ::stat(name->constData(), &info) != 0)
        return {};
    return {true, S_ISDIR(info.st_mode), qint64(info.st_size), modifiedAt(info)};
#else
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    return {true, info.isDir(), info.size(), info.lastModified()};
#endif
}

FileStamp stampOf(const QString &path)
{
    const FileStatus status = fileStatus(path);
    if (!status.exists || status.folder)
        return {};
    return {true, status.size, status.lastModified};
}

std::optional<char> lastByte(const QString &path)
{
    char byte = 0;
#ifdef Q_OS_UNIX
    const std::optional<QByteArray> name = nativeFileName(path);
    if (!name)
        return std::nullopt;
    // Looked at first and opened as readWholeFile does: a device or a pipe
    // is never opened.
    struct stat info = {};
    if (::stat(name->constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    const Descriptor file{::open(name->constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    if (file.fd < 0 || ::fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_size == 0 || ::pread(file.fd, &byte, 1, info.st_size - 1) != 1)
        return std::nullopt;
#else
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly) || file.size() == 0 ||
        !file.seek(file.size() - 1) || !file.getChar(&byte))
        return std::nullopt;
#endif
    return byte;
}

QString sizeBeyondLimit(qint64 size, qint64 limit, const QString &what)
{
    QString text = QStringLiteral("%1 bytes, more than the %2 bytes").arg(size).arg(limit);
    if (limit % (1 << 20) == 0)
        text += QStringLiteral(" (%1 MiB)").arg(limit >> 20);
    return text + QLatin1Char(' ') + what + QStringLiteral(" may have");
}

QString failureDetail(const QString &path, const Failure &reason)
{
    QString text = path + QStringLiteral(": ");
    if (reason.line > 0)
        text += QStringLiteral("line %1: ").arg(reason.line);
    return text + reason.what;
}

} // namespace ws
