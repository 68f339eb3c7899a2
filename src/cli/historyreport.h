#pragma once

#include "cli/report.h"
#include "map/mapfile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// --history-report: each map entry's level in each scan of a history, as
// CSV: one row per entry in map order, one column per scan. No window.
namespace ws::cli {

// Loads the map and the scans `scans` names (folders or files) and hands
// the UTF-8 CSV to `out` in pieces. A file that cannot be loaded is told to
// `err` in a line naming it and left out. Returns exitcode::success, or
// exitcode::notLoaded when the map or every scan failed (nothing goes to
// `out` then) or the CSV was not written.
int runHistoryReport(const QString &mapPath, const QStringList &scans,
                     const Output &out,
                     const std::function<void(const QByteArray &)> &err);

// The same on standard output and error.
int runHistoryReport(const QString &mapPath, const QStringList &scans);

// The report over a map already read, or none (`map` empty): the scans are
// still read and told about, but nothing is written.
int writeHistoryReport(const std::optional<QVector<MapEntry>> &map, const QStringList &scans,
                       const Output &out,
                       const std::function<void(const QByteArray &)> &err);

} // namespace ws::cli
