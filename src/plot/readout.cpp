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

    // Whether a frequency, rounded half to even, lies below x, for every
    // entry up to the candidate: a map may have 16384 of them, and rounding
    // each costs more than the comparison. The whole numbers below x end at
    // k = ceil(x) - 1, and k + 0.5 itself rounds down to k only for an even
    // k. Beyond 2^52 every double is whole and k + 0.5 may not exist.
    const double k = std::ceil(x) - 1;
    const double half = k + 0.5;
    const bool halfRoundsDown = std::fmod(k, 2.0) == 0;
    const bool exact = std::abs(x) < 0x1p52;
    const auto below = [&](double frequency) {
        if (!exact)
            return roundHalfEven(frequency) < x;
        return frequency < half || (frequency == half && halfRoundsDown);
    };
    int candidate = 0;
    while (candidate < count - 1 && below(entries[candidate].frequency))
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
