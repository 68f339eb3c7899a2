#pragma once

#include "map/mapfile.h"
#include "plot/canvas.h"
#include "plot/levels.h"

#include <QColor>
#include <QString>

// The strip under the plots that marks where the map's transmissions lie:
// one full-height line per entry, coloured by its polarisation, on the
// plots' frequency scale.
namespace ws {

// Red for horizontal, blue for vertical, green for anything else (circular
// or unknown); the letter counts in either case.
QColor mapColour(const QString &polarisation);

// The strip's scale: the plots' frequency scale across, 0 to 200 down.
void setMapStripScale(Canvas &strip, const FrequencyScale &scale);

// One line per entry at its frequency, in file order, on the strip's
// current scale; later entries cover earlier ones, and an entry that a
// later one at the same frequency covers whole is not drawn at all.
void drawMapEntries(Canvas &strip, const MapData &map);

} // namespace ws
