#include "fullscan/fullscan.h"

#include <algorithm>

namespace ws {

receiver::Polarisation polarisationOf(const QString &letter)
{
    return letter.compare(QLatin1String("h"), Qt::CaseInsensitive) == 0
               ? receiver::Polarisation::Horizontal
               : receiver::Polarisation::Vertical;
}

QString scanMapRows(const QVector<MapEntry> &entries, const MapScanSteps &steps)
{
    // No map load gives more than kMaxMapEntries entries; the scan never
    // goes further than a loaded map could.
    const int last = std::min<int>(entries.size(), kMaxMapEntries);
    QString results;
    for (int row = 0; row < last; ++row) {
        if (steps.stopRequested && steps.stopRequested())
            break;
        // A copy, so that what the check is handed stays as it is while the
        // check runs, whatever the window does meanwhile.
        const MapEntry entry = row < entries.size() ? entries[row] : MapEntry();
        if (isMpegRow(entry.type))
            results += steps.check(entry.frequencyText, polarisationOf(entry.polarisation));
        if (steps.afterRow)
            steps.afterRow();
    }
    return results;
}

} // namespace ws
