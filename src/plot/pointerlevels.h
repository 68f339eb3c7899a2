#pragma once

#include "scan/scanfile.h"

#include <QString>

// The levels under the pointer in numbers, with the difference a curve only lets one guess.
namespace ws {

// For each polarisation either scan carries, at the readout's whole MHz for
// `mhz`, three blanks apart (a scan's level only within its range):
//     h: new 512 old 480 diff. 32   v: new 498 old 470 diff. 28
// Empty where neither scan has a level.
QString pointerLevels(const ScanData &newest, const ScanData &reference, double mhz);

} // namespace ws
