#include "plot/pointerlevels.h"

#include "core/numbers.h"
#include "scan/levellookup.h"

#include <optional>

namespace ws {

namespace {

std::optional<double> levelWithin(const ScanData &scan, Polarisation pol, double f)
{
    if (!carries(scan, pol))
        return std::nullopt;
    // Outside its range a scan's table holds cells no data line wrote.
    const FrequencyRange range = curveRange(scan);
    if (f < range.first || f > range.last)
        return std::nullopt;
    return levelAt(scan, pol, f);
}

} // namespace

QString pointerLevels(const ScanData &newest, const ScanData &reference, double mhz)
{
    const double f = roundHalfEven(mhz);
    QStringList groups;
    for (const Polarisation pol : {Polarisation::Horizontal, Polarisation::Vertical}) {
        const std::optional<double> now = levelWithin(newest, pol, f);
        const std::optional<double> before = levelWithin(reference, pol, f);
        if (!now && !before)
            continue;
        QString group = pol == Polarisation::Horizontal ? QStringLiteral("h:")
                                                        : QStringLiteral("v:");
        if (now)
            group += QStringLiteral(" new ") + formatNumber(*now);
        if (before)
            group += QStringLiteral(" old ") + formatNumber(*before);
        if (now && before)
            group += QStringLiteral(" diff. ") + formatNumber(*now - *before);
        groups << group;
    }
    return groups.join(QStringLiteral("   "));
}

} // namespace ws
