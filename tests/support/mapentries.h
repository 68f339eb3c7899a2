#pragma once

#include "mapfile.h"
#include "numbers.h"

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

} // namespace ws::test
