#pragma once

#include "core/numbers.h"
#include "map/mapfile.h"

#include <QByteArray>
#include <QString>

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

// One line of a map file in its columns, CR LF included: `ghz` as the file
// has it ("11.012"), then the polarisation letter.
inline QByteArray mapFileLine(const QByteArray &name, const QByteArray &type,
                              const QByteArray &ghz, const QByteArray &polarisation)
{
    return name.leftJustified(16, ' ') + QByteArray(24, '.') + type.leftJustified(6, ' ') +
           "  " + ghz + polarisation + "\r\n";
}

} // namespace ws::test
