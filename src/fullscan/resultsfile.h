#pragma once

#include <QString>
#include <QStringList>

// results.txt: what a full scan leaves beside the program.
namespace ws {

// The results file in `folder`, written with the system's separators.
QString resultsFilePath(const QString &folder);

struct SaveOutcome
{
    bool saved = false;
    // The system's reason when the file could not be written.
    QString reason;
};

// Empties or creates the file at `path` and writes `results` and one CR LF
// to it, one byte per character. Reports success only once the system has
// taken every byte and the file is closed.
SaveOutcome saveResults(const QString &path, const QString &results);

// Where a full scan's results ended up: the path written, or every path
// tried with the system's reason why it could not be written.
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

// Writes results.txt into the first of `folders` that takes it, creating
// a folder other than the first when it is missing. The program's own
// folder comes first because users look for their results there; an
// installed program cannot write there, and the user's data folder
// catches the results instead of losing them. Empty and repeated folders
// after the first are passed over.
ResultsSave saveResultsIn(const QStringList &folders, const QString &results);

} // namespace ws
