#include "plot/readout.h"

#include "core/numbers.h"

#include <cmath>

namespace ws {

QString frequencyReadout(double x)
{
    return formatNumber(roundHalfEven(x)) + QStringLiteral(" MHz ");
}

int nearestMapEntry(const MapData &map, double x)
{
    const QVector<MapEntry> &entries = map.entries;
    const int count = int(entries.size());
    if (count == 0)
        return -1;

    int candidate = 0;
    while (candidate < count - 1 && roundHalfEven(entries[candidate].frequency) < x)
        ++candidate;
    if (candidate == 0)
        return 0;

    const double a = entries[candidate].frequency;
    const double b = entries[candidate - 1].frequency;
    return std::abs(x - b) < std::abs(x - a) ? candidate - 1 : candidate;
}

QString mapEntryText(const MapEntry &entry)
{
    return entry.frequencyText + entry.polarisation + QStringLiteral(", ") + entry.type
        + QStringLiteral(", ") + entry.name;
}

} // namespace ws
