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

// One scan as a history of many keeps it: only what is drawn and measured,
// the level at every whole MHz of sky frequency the scan covers, for each
// polarisation it holds, in single precision. A whole scan keeps four level
// tables of 2151 doubles whatever it covers, some 69 KB; a full universal
// scan of both polarisations is 2 x 2051 floats here, 16 KB, so that ten
// thousand scans fit in memory with room to spare.
namespace ws {

struct ScanRow
{
    // The file as it was given or listed; a name with bytes that are not
    // UTF-8 keeps them (core/filenames.h).
    QString path;
    // The file's last change and size when it was read.
    QDateTime modified;
    qint64 size = 0;
    // The header's range, rounded, and the polarisations of the layout.
    ScanExtent extent;
    // The levels at the whole sky frequencies from firstMhz on, one list per
    // polarisation (empty for one the scan lacks); NaN where the scan has no
    // level, which a level read from a file never is. The lists are shared
    // when a row is copied.
    double firstMhz = 0;
    QList<float> horizontal;
    QList<float> vertical;
    // The lowest and the highest of those levels that are finite; NaN for
    // a row without any.
    float lowest = std::numeric_limits<float>::quiet_NaN();
    float highest = std::numeric_limits<float>::quiet_NaN();

    const QList<float> &levels(Polarisation pol) const
    {
        return pol == Polarisation::Horizontal ? horizontal : vertical;
    }
    // The level at the whole sky frequency `f`, as levelAt() reads it from
    // the whole scan, but in single precision; nothing outside the scan's
    // rounded range.
    std::optional<double> levelAt(Polarisation pol, double f) const;
    // The file's name without its folder.
    QString fileName() const;
};

// The row of the scan read from `path`; the levels are those the plots
// would draw for it: from its rounded first to its rounded last frequency,
// where its LNB has cells at all.
ScanRow compactRow(const QString &path, const ScanFile &file);

// The level of a map entry in the row, by the rule of transmissionLevel.
std::optional<double> entryLevel(const ScanRow &row, const MapEntry &entry);

} // namespace ws
