#pragma once

#include "map/mapfile.h"
#include "plot/canvas.h"
#include "plot/levels.h"

#include <QColor>
#include <QString>

// The strip under the plots marking the map's transmissions, one line each.
namespace ws {

// Red for horizontal, blue for vertical, green otherwise; either case.
QColor mapColour(const QString &polarisation);

// The strip's scale: the plots' frequency scale across, 0 to 200 down.
void setMapStripScale(Canvas &strip, const FrequencyScale &scale);

// One line per entry, in file order; a later entry covers an earlier one,
// and one covered whole by a later one at its frequency is not drawn.
void drawMapEntries(Canvas &strip, const MapData &map);

} // namespace ws
