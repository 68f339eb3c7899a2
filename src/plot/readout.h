#pragma once

#include "map/mapfile.h"

#include <QString>

// The readout under the pointer: the frequency there and the known
// transmission of the map that lies nearest to it.
namespace ws {

// "11778 MHz " for x = 11777.6: the whole frequency, halves to even.
QString frequencyReadout(double x);

// The index of the entry to show for the frequency x, or -1 for an empty map.
// The first entry in file order at or above x (rounded to whole MHz) is the
// candidate, the last one if none is, and it competes only with the entry
// just before it by unrounded distance, a tie keeping the candidate: so an
// unsorted map gives the nearer of two neighbours, not the nearest overall.
int nearestMapEntry(const MapData &map, double x);

// The entry's fields joined as they stand: frequency, polarisation, ", ",
// type, ", ", name.
QString mapEntryText(const MapEntry &entry);

} // namespace ws
