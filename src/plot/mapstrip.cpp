#include "plot/mapstrip.h"

#include "plot/palette.h"

#include <cmath>
#include <vector>

namespace ws {

namespace {

constexpr double kStripHeight = 200;

// A map's frequency has five digits: whole MHz below this.
constexpr double kFiveDigitMhz = 100000;

// Which entries a later entry at the same frequency covers whole. A map of
// 16384 entries has at most a few thousand distinct MHz in a band, and
// drawing the others would take most of the time of a wheel notch. Only
// whole MHz are compared; any other frequency is always drawn.
std::vector<bool> coveredEntries(const QVector<MapEntry> &entries)
{
    std::vector<bool> covered(static_cast<size_t>(entries.size()));
    std::vector<bool> drawnLater(static_cast<size_t>(kFiveDigitMhz));
    for (qsizetype i = entries.size(); i-- > 0;) {
        const double mhz = entries[i].frequency;
        if (mhz >= 0 && mhz < kFiveDigitMhz && mhz == std::floor(mhz)) {
            covered[size_t(i)] = drawnLater[size_t(mhz)];
            drawnLater[size_t(mhz)] = true;
        }
    }
    return covered;
}

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
    const std::vector<bool> covered = coveredEntries(map.entries);
    for (qsizetype i = 0; i < map.entries.size(); ++i) {
        if (covered[size_t(i)])
            continue;
        const MapEntry &entry = map.entries[i];
        strip.setForeColor(mapColour(entry.polarisation));
        strip.line(entry.frequency, 0, entry.frequency, kStripHeight);
    }
}

} // namespace ws
