#include "scan/transmissionlevel.h"

#include <cmath>
#include <limits>

namespace ws {

std::optional<double> transmissionLevel(const ScanData &scan, double frequency,
                                        QStringView polarisation)
{
    return transmissionLevel(
        extentOf(scan), [&](Polarisation pol, double f) { return levelAt(scan, pol, f); },
        frequency, polarisation);
}

std::optional<LevelSums> LevelSums::of(const ScanExtent &extent, double first,
                                       const std::vector<double> (&levels)[2])
{
    LevelSums sums;
    sums.extent_ = extent;
    sums.first_ = first;
    for (int p = 0; p < 2; ++p) {
        if (levels[p].empty())
            continue;
        std::vector<std::int32_t> &to = sums.sums_[p];
        to.reserve(levels[p].size() + 1);
        to.push_back(0);
        std::int64_t sum = 0;
        for (const double level : levels[p]) {
            // Also refuses what is no number.
            if (!(std::fabs(level) <= double(std::numeric_limits<std::int32_t>::max()) &&
                  level == std::floor(level)))
                return std::nullopt;
            sum += std::int64_t(level);
            if (sum < std::numeric_limits<std::int32_t>::min() ||
                sum > std::numeric_limits<std::int32_t>::max())
                return std::nullopt;
            to.push_back(std::int32_t(sum));
        }
    }
    return sums;
}

} // namespace ws
