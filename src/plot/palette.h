#pragma once

#include <QColor>

// Every colour the window draws or writes in, in one place: the curves,
// grid and zero line of the plots, the lines of the map strip, and the
// legend that names them.
namespace ws::palette {

// The level plot. The reference scan's curves have the lighter hues.
inline const QColor horizontalNewest{255, 0, 0};
inline const QColor verticalNewest{0, 0, 255};
inline const QColor horizontalReference{255, 0, 255};
inline const QColor verticalReference{0, 255, 255};
// Every 100 MHz, in both plots.
inline const QColor grid{255, 255, 0};

// The difference plot.
inline const QColor horizontalDifference{255, 0, 0};
inline const QColor verticalDifference{0, 0, 255};
inline const QColor zeroLine{0, 0, 0};

// The map strip, by the entry's polarisation letter.
inline const QColor mapHorizontal{255, 0, 0};
inline const QColor mapVertical{0, 0, 255};
inline const QColor mapOther{0, 255, 0}; // circular or unknown

// The legend writes each name in its line's colour, except that pure blue
// and green are hard to read as text on the window's grey: those names
// take a darker shade.
inline const QColor legendBlue{0, 0, 192};
inline const QColor legendGreen{0, 128, 0};

// The verdict tile's word: what the receiver's work came to.
inline const QColor verdictLocked{0, 128, 0};
inline const QColor verdictNoLock{96, 96, 96};
inline const QColor verdictNotConfirmed{204, 122, 0}; // amber
inline const QColor verdictFailed{192, 0, 0};         // no answer, a port that failed
inline const QColor verdictWorking{0, 0, 128};        // checking, scanning

} // namespace ws::palette
