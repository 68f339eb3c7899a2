#pragma once

#include "map/mapfile.h"
#include "scan/scanfile.h"

#include <QString>
#include <QVector>

#include <optional>
#include <vector>

// How strong each known transmission is in the two scans, in numbers: while
// aligning a dish, what counts is whether the transponders the user watches
// grew stronger or weaker, and by how much, not how the curves look.
namespace ws {

// The level of one map entry in one scan: the mean of the scan's levels at
// the five whole MHz from F-2 to F+2 around the entry's frequency F, in the
// entry's polarisation (H or V, either case); an entry of any other letter
// (circular, or none) takes the higher of the means of the polarisations the
// scan holds. Nothing when one of the five lies outside the scan's rounded
// range or has no cell in its level tables, or when the scan lacks the
// polarisation.
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
