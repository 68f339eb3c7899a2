#include "fullscan.h"

#include <algorithm>

namespace ws {

bool isMpegRow(const QString &type)
{
    return type.left(4).compare(QLatin1String("mpeg"), Qt::CaseInsensitive) == 0;
}

QString polarisationDigit(const QString &letter)
{
    return letter.compare(QLatin1String("h"), Qt::CaseInsensitive) == 0 ? QStringLiteral("0")
                                                                        : QStringLiteral("1");
}

QString scanMapRows(const SharedState &s, const MapScanSteps &steps)
{
    // The table has room for kMaxMapEntries rows; a count beyond it cannot
    // come from a loaded map, but must not read past the table either.
    const int last = std::min<int>(s.mapcount, kMaxMapEntries);
    QString results;
    for (int row = 1; row <= last; ++row) {
        if (steps.stopRequested && steps.stopRequested())
            break;
        const auto &entry = s.mapdata[row];
        if (isMpegRow(entry[2]))
            results += steps.check(entry[1], polarisationDigit(entry[4]));
        if (steps.afterRow)
            steps.afterRow();
    }
    return results;
}

} // namespace ws
