#pragma once

#include "core/numbers.h"
#include "map/mapfile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace ws::test {

// A map entry as the map reader would cut it from a line, for tests that
// put a map straight into the model.
inline MapEntry mapEntry(const QString &frequencyText, const QString &type = QString(),
                         const QString &polarisation = QString(), const QString &name = QString())
{
    MapEntry entry;
    entry.name = name;
    entry.type = type;
    entry.frequencyText = frequencyText;
    entry.frequency = readNumber(frequencyText);
    entry.polarisation = polarisation;
    return entry;
}

// A map of MPEG2 entries, horizontal, named "Station 1" ... in the order
// of `frequencies`.
inline void setStations(MapData &map, const QStringList &frequencies)
{
    map.entries.clear();
    for (int i = 0; i < frequencies.size(); ++i) {
        map.entries.push_back(mapEntry(frequencies[i], QStringLiteral("MPEG2 "),
                                       QStringLiteral("H"),
                                       QStringLiteral("Station %1").arg(i + 1, -7)));
    }
}

// One line of a map file in its columns, CR LF included: `ghz` as the file
// has it ("11.012"), then the polarisation letter.
inline QByteArray mapFileLine(const QByteArray &name, const QByteArray &type,
                              const QByteArray &ghz, const QByteArray &polarisation)
{
    return name.leftJustified(16, ' ') + QByteArray(24, '.') + type.leftJustified(6, ' ') +
           "  " + ghz + polarisation + "\r\n";
}

} // namespace ws::test
