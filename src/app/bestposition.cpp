#include "app/bestposition.h"

#include "core/filenames.h"
#include "plot/timelabels.h"
#include "plot/transmissionlevels.h"

#include <cmath>

namespace ws {

QString bestPositionWords(const std::vector<ScanRow> &rows, const Ranking &ranking)
{
    if (ranking.places.empty())
        return {};
    const Ranking::Place &best = ranking.places.front();
    const ScanRow &row = rows.at(size_t(best.row));
    QString words = QStringLiteral("Best: %1, taken %2, mean level %3")
                        .arg(readableName(row.fileName()),
                             scanDateText(row.modified.toLocalTime()),
                             levelText(best.meanLevel));
    if (ranking.places.size() < 2)
        return words + QStringLiteral(", the only scan ranked.");
    const Ranking::Place &next = ranking.places[1];
    const double lead = best.meanLevel - next.meanLevel;
    if (!std::isfinite(lead))
        return words + QLatin1Char('.');
    return words + QStringLiteral(", %1 ahead of the next, %2.")
                       .arg(levelText(lead),
                            readableName(rows.at(size_t(next.row)).fileName()));
}

} // namespace ws
