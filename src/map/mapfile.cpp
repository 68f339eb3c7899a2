#include "mapfile.h"

#include "levels.h"
#include "numbers.h"

#include <algorithm>

namespace ws {

namespace {

constexpr double kStripHeight = 200;

// A piece of `line` from the 1-based column `first`, `count` characters
// long, cut short at the end of the line.
QString columns(const QString &line, int first, int count)
{
    return line.mid(first - 1, count);
}

} // namespace

MapEntry cutMapLine(const QString &line)
{
    MapEntry entry;
    entry.freq = columns(line, 49, 2) + columns(line, 52, 3);
    entry.type = columns(line, 41, 6);
    entry.name = columns(line, 1, 16);
    entry.pol = columns(line, 55, 1);
    return entry;
}

MapFile parseMap(const QByteArray &bytes)
{
    MapFile map;
    map.maptext.reserve(bytes.size() + bytes.size() / 40 + 2);
    const qsizetype n = bytes.size();
    qsizetype start = 0;
    auto addLine = [&](qsizetype end) {
        const QString line = QString::fromLatin1(bytes.constData() + start, end - start);
        map.maptext += line;
        map.maptext += QLatin1String("\r\n");
        ++map.lineCount;
        if (map.entries.size() < kMaxMapEntries)
            map.entries.push_back(cutMapLine(line));
    };
    for (qsizetype i = 0; i < n; ++i) {
        if (bytes[i] != '\r')
            continue;
        addLine(i);
        if (i + 1 < n && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    // The last line may lack its terminator; a terminator at the very end
    // leaves nothing here.
    if (start < n)
        addLine(n);
    return map;
}

void storeMap(SharedState &state, const MapFile &map)
{
    for (int row = 1; row < kMapRows; ++row)
        std::fill(state.mapdata[row].begin(), state.mapdata[row].end(), QString());
    const int count = std::min<int>(map.entries.size(), kMaxMapEntries);
    for (int i = 0; i < count; ++i) {
        auto &row = state.mapdata[i + 1];
        const MapEntry &entry = map.entries[i];
        row[1] = entry.freq;
        row[2] = entry.type;
        row[3] = entry.name;
        row[4] = entry.pol;
    }
    state.mapcount = std::int16_t(count);
    state.maptext = map.maptext;
}

QColor mapColour(const QString &pol)
{
    const QString letter = pol.toUpper();
    if (letter == QLatin1String("H"))
        return QColor(255, 0, 0);
    if (letter == QLatin1String("V"))
        return QColor(0, 0, 255);
    return QColor(0, 255, 0);
}

void setMapStripScale(Canvas &strip, const FrequencyScale &scale)
{
    strip.setScale(scale.left, 0, scale.width, kStripHeight);
}

void drawMapEntries(Canvas &strip, const SharedState &state)
{
    const int count = std::clamp<int>(state.mapcount, 0, kMaxMapEntries);
    for (int row = 1; row <= count; ++row) {
        // A non-digit simply ends the number: "1x788" stands at 1.
        const double f = readNumber(state.mapdata[row][1]);
        strip.setForeColor(mapColour(state.mapdata[row][4]));
        strip.line(f, 0, f, kStripHeight);
    }
}

} // namespace ws
