#pragma once

#include "fullscan/resultsfile.h"

namespace ws::test {

// What a full scan says of its results file, from the results' own wording.
inline QString savedResultsMessage(const QString &path)
{
    ResultsSave save;
    save.savedPath = path;
    return save.message();
}

// The start of the message when `path` could not be written, before the
// reason.
inline QString unsavedResultsMessage(const QString &path)
{
    ResultsSave save;
    save.failedPaths << path;
    save.reasons << QString();
    return save.message();
}

} // namespace ws::test
