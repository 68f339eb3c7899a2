#pragma once

#include <QString>

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

} // namespace ws
