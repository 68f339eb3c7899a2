#include "plot/mapstrip.h"

#include "plot/palette.h"

namespace ws {

namespace {

constexpr double kStripHeight = 200;

} // namespace

QColor mapColour(const QString &polarisation)
{
    const QString letter = polarisation.toUpper();
    if (letter == QLatin1String("H"))
        return palette::mapHorizontal;
    if (letter == QLatin1String("V"))
        return palette::mapVertical;
    return palette::mapOther;
}

void setMapStripScale(Canvas &strip, const FrequencyScale &scale)
{
    strip.setScale(scale.left, 0, scale.width, kStripHeight);
}

void drawMapEntries(Canvas &strip, const MapData &map)
{
    for (const MapEntry &entry : map.entries) {
        strip.setForeColor(mapColour(entry.polarisation));
        strip.line(entry.frequency, 0, entry.frequency, kStripHeight);
    }
}

} // namespace ws
