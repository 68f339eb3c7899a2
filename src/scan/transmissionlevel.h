#pragma once

#include "core/numbers.h"
#include "scan/levellookup.h"
#include "scan/scanfile.h"

#include <QStringView>

#include <optional>

// How strong one known transmission is in one scan, as one number: the rule
// the levels table, --report and the history share, written once for
// anything that can look up a level (whole scans and the history's rows).
namespace ws {

// What the rule reads of a scan besides its levels: the header's range,
// each end rounded to whole MHz, and the layout's polarisations.
struct ScanExtent
{
    double first = 0;
    double last = 0;
    bool horizontal = false;
    bool vertical = false;
};

inline ScanExtent extentOf(const ScanData &scan)
{
    return {roundHalfEven(scan.first), roundHalfEven(scan.last), scan.layout.horizontal,
            scan.layout.vertical};
}

// A transponder is some tens of MHz wide; five MHz about its centre
// frequency measure the transponder rather than one noisy sample, and stay
// clear of its neighbours.
constexpr int kTransmissionHalfWidth = 2;

// The level of a transmission at `frequency` MHz with the map's letter: the
// mean of the five whole MHz F-2..F+2 around the rounded F in the letter's
// polarisation (H or V, either case); any other letter takes the higher mean
// of the scan's polarisations. Nothing when one of the five is outside the
// scan's rounded range or has no level, or the polarisation is missing.
// `levelAt(Polarisation, double f)` gives a level at a whole sky frequency.
template <typename LevelAt>
std::optional<double> transmissionLevel(const ScanExtent &scan, const LevelAt &levelAt,
                                        double frequency, QStringView polarisation)
{
    const double centre = roundHalfEven(frequency);
    // Written so that a frequency that is no number has no level either.
    if (!(centre - kTransmissionHalfWidth >= scan.first &&
          centre + kTransmissionHalfWidth <= scan.last))
        return std::nullopt;
    const auto meanAround = [&](Polarisation pol) -> std::optional<double> {
        double sum = 0;
        for (int d = -kTransmissionHalfWidth; d <= kTransmissionHalfWidth; ++d) {
            const std::optional<double> level = levelAt(pol, centre + d);
            if (!level)
                return std::nullopt;
            sum += *level;
        }
        return sum / (2 * kTransmissionHalfWidth + 1);
    };
    // Either case, as the map strip and the full scan read the letter.
    const auto isLetter = [&](char upper, char lower) {
        return polarisation.size() == 1 &&
               (polarisation[0] == QLatin1Char(upper) || polarisation[0] == QLatin1Char(lower));
    };
    if (isLetter('H', 'h'))
        return scan.horizontal ? meanAround(Polarisation::Horizontal) : std::nullopt;
    if (isLetter('V', 'v'))
        return scan.vertical ? meanAround(Polarisation::Vertical) : std::nullopt;
    // Both polarisations see a circular transmission; the one that sees
    // more of it is the one the receiver would use.
    std::optional<double> level;
    if (scan.horizontal)
        level = meanAround(Polarisation::Horizontal);
    if (scan.vertical) {
        const std::optional<double> v = meanAround(Polarisation::Vertical);
        if (v && (!level || *v > *level))
            level = v;
    }
    return level;
}

// The same for a whole scan.
std::optional<double> transmissionLevel(const ScanData &scan, double frequency,
                                        QStringView polarisation);

} // namespace ws
