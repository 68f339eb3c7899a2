#include "plot/readout.h"

#include "core/numbers.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ws {

QString frequencyReadout(double x)
{
    return formatNumber(roundHalfEven(x)) + QStringLiteral(" MHz ");
}

namespace {

// The first entry whose rounded frequency is at or above x is the first
// whose running maximum is; the running maximum only grows.
const std::vector<double> &runningMaximum(const MapData &map)
{
    MapSearch &search = map.search;
    if (search.madeFor.constData() != map.entries.constData()
        || search.runningMaximum.size() != size_t(map.entries.size())) {
        search.madeFor = map.entries;
        search.runningMaximum.resize(size_t(map.entries.size()));
        double highest = -std::numeric_limits<double>::infinity();
        for (qsizetype i = 0; i < map.entries.size(); ++i) {
            highest = std::max(highest, roundHalfEven(map.entries[i].frequency));
            search.runningMaximum[size_t(i)] = highest;
        }
    }
    return search.runningMaximum;
}

} // namespace

int nearestMapEntry(const MapData &map, double x)
{
    const QVector<MapEntry> &entries = map.entries;
    const int count = int(entries.size());
    if (count == 0)
        return -1;

    // The last entry is never tested: the search ends there in any case.
    const std::vector<double> &highest = runningMaximum(map);
    const int candidate =
        int(std::lower_bound(highest.begin(), highest.end() - 1, x) - highest.begin());
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
