#pragma once

#include "cli/commandline.h"

#include <QByteArray>

#include <functional>

// --report: the level of every map entry in the newest and the reference
// scan, and its change, as CSV for a script or a spreadsheet. No window and
// no receiver are involved.
namespace ws::cli {

// Loads line.files (newest scan, reference scan, map) as the window loads
// them and hands the CSV, UTF-8, to `out`, which says whether it could be
// written. A file that cannot be loaded is told to `err` as a line naming
// it, and nothing goes to `out`. Returns exitcode::success, or
// exitcode::notLoaded when a file could not be loaded or the CSV not
// written.
int runReport(const CommandLine &line, const std::function<bool(const QByteArray &)> &out,
              const std::function<void(const QByteArray &)> &err);

// The same on standard output and error.
int runReport(const CommandLine &line);

// Standard output and standard error as the reports write to them: `out`
// says whether its bytes were written and flushed; on Windows LF goes out
// as LF, not as CR LF.
struct StandardStreams
{
    std::function<bool(const QByteArray &)> out;
    std::function<void(const QByteArray &)> err;
};
StandardStreams standardStreams();

} // namespace ws::cli
