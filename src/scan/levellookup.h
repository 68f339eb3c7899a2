#pragma once

#include "scan/scanfile.h"

#include <optional>

// Reading a scan's level at a sky frequency: which band's table and which
// cell the scan's LNB puts the frequency in. The plots, the readout and the
// levels by transmission all read levels through this one lookup.
namespace ws {

// The polarisation of a scan's levels: which of its tables a level is read
// from. The receiver library has a polarisation type of its own,
// receiver::Polarisation, on purpose: that one is the digit of the tune
// command, where vertical goes out as "1" or, from a middle-button click,
// as "3", a difference that means nothing to a scan; and a check takes its
// polarisation from a mouse button or a map entry, never from a scan, so
// neither library needs the other.
enum class Polarisation { Horizontal, Vertical };

bool carries(const ScanData &scan, Polarisation pol);

// Where a sky frequency's level lives: the band's table and the cell (the IF).
struct LevelCell
{
    bool highBand;
    int index;
};

// The cell for the whole sky frequency `f`: the high band above the switch
// frequency, the low (or only) band at and below it, the index
// |oscillator - f|. Nothing when that index lies outside the table, which
// happens for a file whose range does not suit its LNB type.
std::optional<LevelCell> levelCell(const ScanData &scan, double f);

std::optional<double> levelAt(const ScanData &scan, Polarisation pol, double f);

// The sky frequencies at which levelCell can find a cell; a curve needs to
// visit no others.
struct FrequencyRange
{
    double first;
    double last;
};
FrequencyRange lookupRange(const ScanData &scan);

// The whole frequencies of a curve from `first` to `last`, both rounded and
// cut to `valid` (a header that does not suit its LNB could otherwise ask
// for billions of points that would all be left out). Empty when last < first.
FrequencyRange curveRange(double first, double last, FrequencyRange valid);
inline FrequencyRange curveRange(const ScanData &scan)
{
    return curveRange(scan.first, scan.last, lookupRange(scan));
}

} // namespace ws
