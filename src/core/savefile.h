#pragma once

#include "core/failure.h"

#include <QByteArray>
#include <QString>

#include <functional>

class QFileDevice;

// Writing a file the program makes (results, pictures): only over an
// ordinary file, never through a link someone else planted, and whole or
// not at all. The new content goes to a temporary file in the same folder
// that then takes the old one's name, so a failing disk leaves the old file
// as it was; the old file's permissions are kept, its owner and its other
// hard links are not.
namespace ws {

// What the system says about one path, without following a link at its end.
struct PathFacts
{
    enum class Kind { Missing, File, Folder, Link, Pipe, Device, Socket, Other };
    Kind kind = Kind::Missing;
    uint owner = 0;
    // A folder anyone may add to but where only owners may remove or rename
    // (sticky and world-writable, as /tmp).
    bool sharedFolder = false;
    // A folder the running user may create files in.
    bool writable = false;
    // What a link points to, as stored in it.
    QString linkTarget;
};

// The file system as a save sees it, so that tests can tell it other
// owners, other kinds of file and a disk that fills up.
class FileSystem
{
public:
    virtual ~FileSystem() = default;
    virtual PathFacts facts(const QString &path);
    virtual uint user();
    // Writes all of `bytes` to `file`; the system's reason when it could not.
    virtual QString write(QFileDevice &file, const QByteArray &bytes);
};

FileSystem &systemFileSystem();

// Where a save goes: the path with every link resolved, or why it may not
// go there.
struct SaveTarget
{
    QString path;
    QString refusal;

    bool refused() const { return !refusal.isEmpty(); }
};

// Resolves `path` once and checks it: each link is followed only where the
// system's protection of links in shared folders would follow it (the link
// is not in a shared folder, or belongs to the user or to the folder's
// owner); the folder must exist and take new files; the file must not
// exist or be an ordinary file.
SaveTarget checkSaveTarget(const QString &path, FileSystem &files = systemFileSystem());

// Whether the file at the resolved `target` is the file `other` names.
bool isSameFile(const SaveTarget &target, const QString &other);

// Writes `bytes` whole to a checked target. Returns why not (the refusal,
// or the system's reason), or an empty text once the file is in place.
QString writeWhole(const SaveTarget &target, const QByteArray &bytes,
                   FileSystem &files = systemFileSystem());

// Both in one.
QString saveWhole(const QString &path, const QByteArray &bytes,
                  FileSystem &files = systemFileSystem());

// Writes `bytes` whole into `folder` under the first of nameFor(1),
// nameFor(2), ... that no file has, and never over a file, not even one
// that another program made a moment before. Returns the path written, or
// why there is none; no part of the bytes is ever found under that name.
Result<QString> writeUnderFreeName(const QString &folder, const std::function<QString(int)> &nameFor,
                                   const QByteArray &bytes, FileSystem &files = systemFileSystem());

} // namespace ws
