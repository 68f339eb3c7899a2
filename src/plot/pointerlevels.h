#pragma once

#include "scan/scanfile.h"

#include <QString>

// The levels under the pointer, in numbers: how strong the newest and the
// reference scan are at the frequency the readout names, and their
// difference, which a curve only lets the user guess.
namespace ws {

// For each polarisation either scan carries, "h:" or "v:" and the newest
// level ("new 512"), the reference level ("old 480") and, where there are
// both, newest minus reference ("diff. 32"), at the whole MHz that the
// readout shows for `mhz` (halves to even); a scan's level only within its
// range. The polarisations are three blanks apart:
//     h: new 512 old 480 diff. 32   v: new 498 old 470 diff. 28
// Empty where neither scan has a level.
QString pointerLevels(const ScanData &newest, const ScanData &reference, double mhz);

} // namespace ws
