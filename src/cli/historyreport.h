#pragma once

#include "cli/report.h"
#include "map/mapfile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// --history-report: the level of every map entry in each scan of a
// history, as CSV for a script or a spreadsheet: one row per entry in map
// order, one column per scan in the history's order. No window is involved.
namespace ws::cli {

// Loads the map and the scans that `scans` name (each a folder, for its
// scan files, or a file) and hands the CSV, UTF-8, to `out` in pieces; each
// call says whether its piece could be written, and if not why. Each file that cannot be
// loaded is told to `err` as a line naming it and left out. Returns
// exitcode::success, or exitcode::notLoaded when the map or every scan
// could not be loaded (nothing goes to `out` then), or the CSV not written.
int runHistoryReport(const QString &mapPath, const QStringList &scans,
                     const Output &out,
                     const std::function<void(const QByteArray &)> &err);

// The same on standard output and error.
int runHistoryReport(const QString &mapPath, const QStringList &scans);

// The report over a map already read (its entries), or over none when
// `map` is nothing: the scans are still read and told about, but
// nothing is written.
int writeHistoryReport(const std::optional<QVector<MapEntry>> &map, const QStringList &scans,
                       const Output &out,
                       const std::function<void(const QByteArray &)> &err);

} // namespace ws::cli
