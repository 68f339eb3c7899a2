#include "history/scanrow.h"

#include <algorithm>
#include <cmath>

namespace ws {

std::optional<double> ScanRow::levelAt(Polarisation pol, double f) const
{
    const QList<float> &list = levels(pol);
    const double index = f - firstMhz;
    if (!(index >= 0 && index < double(list.size())))
        return std::nullopt;
    const float level = list[qsizetype(index)];
    if (std::isnan(level))
        return std::nullopt;
    return level;
}

QString ScanRow::fileName() const
{
    return fileNameOf(path);
}

ScanRow compactRow(const QString &path, const ScanFile &file)
{
    const ScanData &scan = file.scan;
    ScanRow row;
    row.path = path;
    row.modified = file.modified;
    row.size = file.size;
    row.extent = extentOf(scan);
    const FrequencyRange curve = curveRange(scan);
    row.firstMhz = curve.first;
    if (!(curve.last >= curve.first))
        return row;
    const qsizetype count = qsizetype(curve.last - curve.first) + 1;
    for (const Polarisation pol : {Polarisation::Horizontal, Polarisation::Vertical}) {
        if (!carries(scan, pol))
            continue;
        QList<float> &list = pol == Polarisation::Horizontal ? row.horizontal : row.vertical;
        list.resize(count);
        for (qsizetype i = 0; i < count; ++i) {
            const std::optional<double> level = ws::levelAt(scan, pol, curve.first + double(i));
            const float value = level ? float(*level) : std::numeric_limits<float>::quiet_NaN();
            list[i] = value;
            if (std::isfinite(value)) {
                row.lowest = std::isnan(row.lowest) ? value : std::min(row.lowest, value);
                row.highest = std::isnan(row.highest) ? value : std::max(row.highest, value);
            }
        }
    }
    return row;
}

std::optional<double> entryLevel(const ScanRow &row, const MapEntry &entry)
{
    return transmissionLevel(
        row.extent, [&](Polarisation pol, double f) { return row.levelAt(pol, f); },
        entry.frequency, entry.polarisation);
}

} // namespace ws
