#include "scan/scans.h"

namespace ws {

void Scans::load(ScanSlot slot, ScanData scan)
{
    std::optional<ScanData> &target = (*this)[slot];
    if (target) {
        for (int t = 0; t < LevelTableCount; ++t) {
            if (!scan.wroteCellZero[t])
                scan.levels[t][0] = target->levels[t][0];
        }
    }
    target = std::move(scan);
}

} // namespace ws
