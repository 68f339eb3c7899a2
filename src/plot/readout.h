#pragma once

#include "map/mapfile.h"

#include <QString>

// The readout under the pointer: the frequency there and the known
// transmission of the map that lies nearest to it.
namespace ws {

// "11778 MHz " for x = 11777.6: the whole frequency, halves to even.
QString frequencyReadout(double x);

// The index of the entry to show for the frequency x, or -1 when the map
// has none.
//
// The search walks the entries in file order and stops at the first one at
// or above x, comparing their frequencies rounded to whole MHz, but it never
// tests the last entry: when no earlier entry qualifies the last one is the
// candidate whatever its frequency. The candidate then competes only with
// the entry just before it in the file, by the unrounded distance; a tie
// keeps the candidate. So an unsorted map gives the nearer of two
// neighbours in the file, not the nearest entry overall.
int nearestMapEntry(const MapData &map, double x);

// The entry's fields joined as they stand: frequency, polarisation, ", ",
// type, ", ", name.
QString mapEntryText(const MapEntry &entry);

} // namespace ws
