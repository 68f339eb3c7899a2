#pragma once

#include "map/mapfile.h"
#include "scan/scanfile.h"

#include <QByteArray>
#include <QString>
#include <QVector>

#include <optional>
#include <vector>

// How strong each known transmission is in the two scans, in numbers: while
// aligning a dish, what counts is whether the transponders the user watches
// grew stronger or weaker, and by how much, not how the curves look.
namespace ws {

// The level of one map entry in one scan, by the rule of
// transmissionLevel (scan/transmissionlevel.h).
std::optional<double> entryLevel(const ScanData &scan, const MapEntry &entry);

struct TransmissionLevel
{
    std::optional<double> newest;
    std::optional<double> reference;
    // Newest minus reference, where both exist.
    std::optional<double> change;
};

// One per entry, in map order.
std::vector<TransmissionLevel> transmissionLevels(const ScanData &newest,
                                                  const ScanData &reference,
                                                  const QVector<MapEntry> &entries);

// A level as the reports print it: one decimal, as C's "%.1f" prints the
// double in any locale, except that a value that rounds to zero from below
// is "0.0", never "-0.0".
QString levelText(double value);
// The same appended to `out`, and written to `to`, which must have room for
// kMaxLevelText characters; returns the end of what was written. For
// reports of millions of levels.
void appendLevelText(QByteArray &out, double value);
constexpr int kMaxLevelText = 400; // the largest double has 309 digits
char *writeLevelText(char *to, double value);

// A text field of a CSV report as RFC 4180 wants it: quoted when it holds a
// comma, a quote or a line break.
QString csvField(const QString &text);

// An entry's first four fields of a CSV report, joined by commas: the
// frequency and the letter as the map writes them, the name and the type
// without their trailing blanks.
QString entryCsvFields(const MapEntry &entry);

// The entries as CSV (RFC 4180, LF line ends): a header, then one row per
// entry in map order, an empty field where a level is missing.
QString levelsCsv(const QVector<MapEntry> &entries, const std::vector<TransmissionLevel> &levels);

// The entries' indexes, the largest loss first: by change from the most
// negative up, equal changes and then the entries without one in map order.
std::vector<int> largestLossFirst(const std::vector<TransmissionLevel> &levels);

// The same levels as a table of fixed-width columns for the log box, a
// header line first and then one line per entry in largestLossFirst order,
// "-" where a level is missing.
QString levelsTable(const QVector<MapEntry> &entries, const std::vector<TransmissionLevel> &levels);

} // namespace ws
