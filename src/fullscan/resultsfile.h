#pragma once

#include "core/failure.h"
// isInstalledFolder: a program run from where the install put it keeps no
// results in its folder, which is the system's, even for a user who may
// write there.
#include "core/filenames.h"
#include "core/savefile.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

// results.txt: what a full scan leaves beside the program, or in the
// user's data folder, and the copies of it kept there as past results.
namespace ws {

// The results file in `folder`, written with the system's separators.
QString resultsFilePath(const QString &folder);

// A results file as the messages name it: absolute, so that a scan started
// from a timer, with no obvious current folder, says where to look.
QString shownResultsPath(const QString &path);

struct SaveOutcome
{
    bool saved = false;
    // The system's reason, or the refusal, when the file was not written.
    QString reason;
};

// Where results may go, as checkSaveTarget has it, and never over `map`,
// the map being scanned.
SaveTarget checkResultsTarget(const QString &path, const QString &map = QString());

// Writes `results` and one CR LF, one byte per character, whole or not at
// all: an older file stays as it was unless the new one took its place.
// Reports success only once the new file is complete and in place.
SaveOutcome saveResults(const SaveTarget &target, const QString &results,
                        FileSystem &files = systemFileSystem());
// The same after checkResultsTarget(path).
SaveOutcome saveResults(const QString &path, const QString &results);

// Where the window's full scan may put results.txt, in the order tried.
struct ResultsFolders
{
    // The program's own folder; empty for an installed program.
    QString program;
    // The user's data folder, made when missing; empty when there is none,
    // and then `noData` says why.
    QString data;
    QString noData;
};

// The program's data folder by the XDG rules: $XDG_DATA_HOME/Wavesift, else
// $HOME/.local/share/Wavesift. A variable that is not an absolute path is
// refused: it would depend on the start folder, or (HOME unset) be the root's.
Result<QString> dataFolderFrom(const QString &xdgDataHome, const QString &home);

// Where a full scan's results ended up: the path written, or every path
// tried with the reason why it could not be written. An empty path stands
// for a data folder there was none of.
struct ResultsSave
{
    QString savedPath;
    QStringList failedPaths;
    QStringList reasons;

    bool saved() const { return !savedPath.isEmpty(); }
    // "Saved Results to file <path>", or "Could not save results to file
    // <path>: <reason>" naming every path tried.
    QString message() const;
};

// Writes results.txt into the first of `folders` that takes it. The
// program's own folder comes first because users look for their results
// there; the user's data folder catches the results instead of losing them
// when that folder is not the user's to write, or the program is installed.
ResultsSave saveResultsIn(const ResultsFolders &folders, const QString &results,
                          FileSystem &files = systemFileSystem());

// The running system's data folder for the program (dataFolderFrom on
// Linux), or why there is none.
Result<QString> systemDataFolder();

struct ScanEnding
{
    QString results;
    // A byte came from the receiver after a tune command: the results hold
    // something it said.
    bool received = false;
};

struct ResultsPlace
{
    // --full-scan: this file, as the user named it. Empty for the window,
    // whose results.txt goes into the first of `folders` that takes it.
    QString file;
    // The map being scanned, which the results never replace.
    QString map;
    // The data folder also keeps the past results.
    ResultsFolders folders;
    // Whether a copy of the results file is kept in past results: not where
    // the user named the file (--output), and so chose where results go.
    bool keepPast = true;
};

struct ResultsOutcome
{
    bool saved = false;
    // Nothing was received, and the results file was not touched.
    bool leftAsItWas = false;
    // For the message box or standard error: "Saved Results to file ...",
    // "Could not save results to ...", "<file> left as it was" or "<file>
    // not written" (where there was none to leave).
    QString message;
    // Why no copy was kept in past results, in one line; empty when one was
    // kept or none was due.
    QString pastCopyFailure;

    // The results were due on the disk and are not there.
    bool failed() const { return !saved && !leftAsItWas; }
};

// What every full scan, the window's and --full-scan's, does with its
// results. A scan that never heard a byte from the receiver leaves an earlier
// results file as it was: lines about a port are not worth yesterday's
// results. Any other scan saves the file, then keeps the same bytes as
// <data folder>/results/<YYYY-MM-DD>T<HH-MM-SS>.txt (local `now`, "-2", "-3",
// ... when taken); the outcome follows the results file, not the copy.
ResultsOutcome finishResults(const ScanEnding &scan, const ResultsPlace &place,
                             const QDateTime &now, FileSystem &files = systemFileSystem());

// "<results file> left as it was", or "<results file> not written" where
// there is none: what a scan that writes nothing says of the file.
QString untouchedResultsMessage(const ResultsPlace &place);

} // namespace ws
