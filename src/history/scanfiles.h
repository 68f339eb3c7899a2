#pragma once

#include "core/failure.h"
#include "core/files.h"
#include "scan/scanfile.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The files a history is made of: a folder's scan files and reading one,
// with the reason kept when it is no scan. Names keep their bytes
// (core/filenames.h), so files whose names are not UTF-8 are found again.
namespace ws {

QString fileNameOf(const QString &path);

// The order of a history: by the time of the file's last change, then by
// its name, then by its whole path, so that scans written within one tick
// of the clock, or copied with their times lost, still stand in the order
// of their names.
bool readEarlier(const QDateTime &modified, const QString &path, const QDateTime &otherModified,
                 const QString &otherPath);

bool isFolder(const QString &path);

// What makes a file the same file whatever name reaches it (relative,
// whole, through a link): its device and its inode, links followed.
struct FileIdentity
{
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const FileIdentity &o) const
    {
        return device == o.device && inode == o.inode;
    }
};
std::optional<FileIdentity> identityOf(const QString &path);

// The files of `folder` (not its subfolders) ending in ".scn" in any case,
// as folder "/" name; or why the folder cannot be listed.
Result<QStringList> scanFilesIn(const QString &folder);

// A file that is no scan or could not be read: the scan reader's failure
// kind, or none when it was never read (missing, a folder, too large).
struct SkippedScan
{
    QString path;
    std::optional<ScanFailure::Kind> kind;
    Failure reason;
    bool gone = false;
};

// What `sources` name, each a folder (its scan files) or a file, in their
// order, each file and folder once however often and by whatever name it
// is given; a folder that cannot be listed is skipped with its reason.
struct ScanSources
{
    QStringList files;
    QStringList folders;
    // The files of `files` named themselves, not found in a folder.
    QStringList singles;
    QStringList emptyFolders;
    std::vector<SkippedScan> unlisted;
    // Sources that are neither a folder nor a file, each with its reason.
    std::vector<SkippedScan> missing;
};
ScanSources scanSources(const QStringList &sources);

// One scan file read whole (within the scan reader's size limit) and
// parsed; its bytes are not kept.
struct ScanFile
{
    ScanData scan;
    qint64 size = 0;
    QDateTime modified;
};
Result<ScanFile, SkippedScan> readScan(const QString &path);

} // namespace ws
