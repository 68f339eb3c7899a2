#include "scan/transmissionlevel.h"

namespace ws {

std::optional<double> transmissionLevel(const ScanData &scan, double frequency,
                                        QStringView polarisation)
{
    return transmissionLevel(
        extentOf(scan), [&](Polarisation pol, double f) { return levelAt(scan, pol, f); },
        frequency, polarisation);
}

} // namespace ws
