#pragma once

#include "history/ranking.h"
#include "history/scanfiles.h"
#include "history/scanrow.h"
#include "map/mapfile.h"

#include <QHash>
#include <QString>
#include <QVector>

#include <optional>
#include <vector>

// A history of many scans of one dish: one row per scan file, oldest first,
// and the files that were no scans. What the rows say together: the range
// and the levels they span, how strong a known transmission was in each,
// and which scan saw the map's transmissions best.
namespace ws {

class History
{
public:
    // In the order of readEarlier.
    const std::vector<ScanRow> &rows() const { return rows_; }
    const std::vector<SkippedScan> &skipped() const { return skipped_; }

    // Takes what a load gave. Each row goes to its place; a file has one
    // row, so a row replaces the one its path had (a rewritten scan moves
    // to where its new time puts it). A skipped file is counted once, with
    // its latest reason, unless it has a row: a file that fails to load
    // again, half written say, keeps its last good row. A file that is gone
    // loses its row, and is no skipped file then.
    void add(std::vector<ScanRow> rows, std::vector<SkippedScan> skipped);
    void clear();
    // The row of the file, or -1.
    int indexOf(const QString &path) const;

    // The whole MHz that the rows' levels cover together; nothing when no
    // row has any.
    std::optional<FrequencyRange> range() const;
    // The lowest and the highest level of all rows; nothing without any.
    struct LevelSpan
    {
        double lowest;
        double highest;
    };
    std::optional<LevelSpan> levelSpan() const;

private:
    std::vector<ScanRow> rows_;
    std::vector<SkippedScan> skipped_;
    QHash<QString, int> rowOf_;
};

// The level of the entry in each row, in the rows' order: how one known
// transmission fared across the scans.
std::vector<std::optional<double>> trendOf(const std::vector<ScanRow> &rows,
                                           const MapEntry &entry);

} // namespace ws
