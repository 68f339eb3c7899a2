#pragma once

#include "sharedstate.h"

#include <QString>

// The readout under the pointer: the frequency there and the known
// transmission of the map that lies nearest to it.
namespace ws {

// "11778 MHz " for x = 11777.6: the whole frequency, halves to even.
QString frequencyReadout(double x);

// The map row to show for the frequency x, or 0 when no map is loaded.
//
// The search walks the rows in file order and stops at the first one at or
// above x, but it never tests the last row: when no earlier row qualifies the
// last row is the candidate whatever its frequency. The candidate then
// competes only with the row just before it in the file; a tie keeps the
// candidate. So an unsorted map gives the nearer of two neighbours in the
// file, not the nearest entry overall.
int nearestMapRow(const SharedState &state, double x);

// The row's fields joined as they stand: frequency, polarisation, ", ",
// type, ", ", name.
QString mapRowText(const SharedState &state, int row);

} // namespace ws
