#pragma once

#include "cli/commandline.h"

#include <QByteArray>
#include <QString>

#include <functional>

// --report: each map entry's level in the newest and the reference scan and
// its change, as CSV for a script or a spreadsheet; no window, no receiver.
namespace ws::cli {

// Whether a piece of output was written, and if not the system's reason
// (empty when none is known).
struct Written
{
    Written(bool ok = true) : ok(ok) {}
    static Written failed(const QString &reason)
    {
        Written written(false);
        written.reason = reason;
        return written;
    }
    bool ok;
    QString reason;
};
using Output = std::function<Written(const QByteArray &)>;

// "wavesift: the report could not be written to standard output: <reason>".
QByteArray reportNotWritten(const Written &written);

// Loads line.files (newest, reference, map) as the window does and hands
// the UTF-8 CSV to `out`. A file that cannot be loaded is told to `err` in a
// line naming it, and nothing goes to `out`. Returns exitcode::success, or
// exitcode::notLoaded when a file did not load or the CSV was not written.
int runReport(const CommandLine &line, const Output &out,
              const std::function<void(const QByteArray &)> &err);

// The same on standard output and error.
int runReport(const CommandLine &line);

// Standard output and error as the reports write them: `out` says whether
// its bytes were written and flushed; on Windows LF goes out as LF, not CR LF.
struct StandardStreams
{
    Output out;
    std::function<void(const QByteArray &)> err;
};
StandardStreams standardStreams();

} // namespace ws::cli
