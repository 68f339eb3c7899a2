#pragma once

#include "history/scanfiles.h"
#include "map/mapfile.h"
#include "scan/levellookup.h"
#include "scan/scanfile.h"
#include "scan/transmissionlevel.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <limits>
#include <optional>

// One scan as a history keeps it: the level at every whole MHz the scan
// covers, per polarisation, in single precision. A whole scan keeps four
// tables of 2151 doubles, some 69 KB; a full universal scan is 16 KB here,
// so ten thousand scans fit in memory with room to spare.
namespace ws {

struct ScanRow
{
    // The file as given or listed, bytes that are not UTF-8 kept (core/filenames.h).
    QString path;
    QDateTime modified;
    qint64 size = 0;
    // The header's range, rounded, and the polarisations of the layout.
    ScanExtent extent;
    // The levels from firstMhz on, one list per polarisation (empty for one
    // the scan lacks), shared between copies; NaN where the scan has none,
    // which a level read from a file never is.
    double firstMhz = 0;
    QList<float> horizontal;
    QList<float> vertical;
    // The extremes of the finite levels; NaN for a row without any.
    float lowest = std::numeric_limits<float>::quiet_NaN();
    float highest = std::numeric_limits<float>::quiet_NaN();

    const QList<float> &levels(Polarisation pol) const
    {
        return pol == Polarisation::Horizontal ? horizontal : vertical;
    }
    // levelAt() of the whole scan, in single precision; nothing outside its rounded range.
    std::optional<double> levelAt(Polarisation pol, double f) const;
    QString fileName() const;
};

// The row of the scan read from `path`, with the levels the plots would draw.
ScanRow compactRow(const QString &path, const ScanFile &file);

std::optional<double> entryLevel(const ScanRow &row, const MapEntry &entry);

} // namespace ws
