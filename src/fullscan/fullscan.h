#pragma once

#include "map/mapfile.h"
#include "receiver/protocol.h"

#include <QString>

#include <functional>

// The full scan over the map: the rows it checks, the order it checks them
// in and the file it leaves behind. Nothing here knows the window; the
// window hands in the check itself and what to do between rows.
namespace ws {

// The polarisation to tune for a map letter: horizontal for "h" or "H",
// vertical for everything else (V, the circular L and R, a missing letter).
receiver::Polarisation polarisationOf(const QString &letter);

struct MapScanSteps
{
    // Checks one frequency (the map's text, unchanged) and returns that
    // check's log.
    std::function<QString(const QString &frequency, receiver::Polarisation polarisation)> check;
    // Asked before every row; true ends the scan there.
    std::function<bool()> stopRequested;
    // Runs after every row, MPEG or not: the moment the user can act.
    std::function<void()> afterRow;
};

// Runs `check` for every MPEG entry of the map in map order and returns all
// logs joined without separators. `entries` is the window's own map: the
// count is read once, before the first row, so a map loaded while the scan
// lets events run does not change how far it goes; each row is read when
// the scan reaches it, and a row the new map does not have counts as empty.
QString scanMapRows(const QVector<MapEntry> &entries, const MapScanSteps &steps);

} // namespace ws
