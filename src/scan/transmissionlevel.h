#pragma once

#include "core/numbers.h"
#include "scan/levellookup.h"
#include "scan/scanfile.h"

#include <QStringView>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

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

// The polarisation a map's letter names: H or V, in either case, as the map
// strip and the full scan read it; nothing for any other letter (circular,
// or none), which both polarisations see.
inline std::optional<Polarisation> polarisationOfLetter(QStringView letter)
{
    if (letter.size() != 1)
        return std::nullopt;
    if (letter[0] == QLatin1Char('H') || letter[0] == QLatin1Char('h'))
        return Polarisation::Horizontal;
    if (letter[0] == QLatin1Char('V') || letter[0] == QLatin1Char('v'))
        return Polarisation::Vertical;
    return std::nullopt;
}

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
    if (const std::optional<Polarisation> pol = polarisationOfLetter(polarisation))
        return (*pol == Polarisation::Horizontal ? scan.horizontal : scan.vertical)
            ? meanAround(*pol)
            : std::nullopt;
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

// The rule for a report of thousands of entries over thousands of scans:
// the running sums of a scan's levels at consecutive whole MHz, from which
// an entry's five levels add up with one subtraction instead of five
// lookups. Only for levels that are whole numbers, as files hold them:
// their sums are exact in any order, so five times the rule's level is the
// same whole number either way.
class LevelSums
{
public:
    // The levels of each polarisation at `first`, `first + 1`, ... MHz,
    // none where the scan lacks it, the rule reading nothing outside them.
    // Nothing unless every level is a whole number and the sums fit.
    static std::optional<LevelSums> of(const ScanExtent &extent, double first,
                                       const std::vector<double> (&levels)[2]);

    // What fiveTimesLevel gives where the rule gives nothing: no sum of
    // 32-bit levels comes near it.
    static constexpr std::int64_t kNoLevel = std::numeric_limits<std::int64_t>::min();

    // Five times transmissionLevel(extent, levels, frequency, letter) for
    // an entry whose rounded frequency is `centre` and whose letter names
    // `pol` (see polarisationOfLetter). No std::optional: a report asks
    // this millions of times, and a plain number stays in a register.
    std::int64_t fiveTimesLevel(double centre, std::optional<Polarisation> pol) const
    {
        if (!(centre - kTransmissionHalfWidth >= extent_.first &&
              centre + kTransmissionHalfWidth <= extent_.last))
            return kNoLevel;
        const double start = centre - kTransmissionHalfWidth - first_;
        const auto sumAround = [&](Polarisation p) {
            const std::vector<std::int32_t> &sums = sums_[int(p)];
            constexpr int kWidth = 2 * kTransmissionHalfWidth + 1;
            if (!(start >= 0 && start + kWidth < double(sums.size())))
                return kNoLevel;
            const size_t i = size_t(start);
            return std::int64_t(sums[i + kWidth]) - sums[i];
        };
        if (pol)
            return (*pol == Polarisation::Horizontal ? extent_.horizontal : extent_.vertical)
                ? sumAround(*pol)
                : kNoLevel;
        // The higher of the two; kNoLevel is below every sum.
        return std::max(extent_.horizontal ? sumAround(Polarisation::Horizontal) : kNoLevel,
                        extent_.vertical ? sumAround(Polarisation::Vertical) : kNoLevel);
    }

private:
    ScanExtent extent_;
    double first_ = 0;
    // sums_[pol][k] is the sum of the first k levels.
    std::vector<std::int32_t> sums_[2];
};

// The same for a whole scan.
std::optional<double> transmissionLevel(const ScanData &scan, double frequency,
                                        QStringView polarisation);

} // namespace ws
