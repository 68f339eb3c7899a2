#include "fullscan/fullscan.h"

namespace ws {

bool isMpegRow(const QString &type)
{
    return type.left(4).compare(QLatin1String("mpeg"), Qt::CaseInsensitive) == 0;
}

receiver::Polarisation polarisationOf(const QString &letter)
{
    return letter.compare(QLatin1String("h"), Qt::CaseInsensitive) == 0
               ? receiver::Polarisation::Horizontal
               : receiver::Polarisation::Vertical;
}

QString scanMapRows(const QVector<MapEntry> &entries, const MapScanSteps &steps)
{
    const qsizetype last = entries.size();
    QString results;
    for (qsizetype row = 0; row < last; ++row) {
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
