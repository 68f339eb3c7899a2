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
// the files that were no scans, and what the rows span together.
namespace ws {

class History
{
public:
    // In the order of readEarlier.
    const std::vector<ScanRow> &rows() const { return rows_; }
    const std::vector<SkippedScan> &skipped() const { return skipped_; }

    // Takes what a load gave: a row replaces its path's row (a rewritten scan
    // moves to its new time's place). A skipped file is counted once with its
    // latest reason unless it has a row: a half-written file keeps its last
    // good row. A gone file loses its row and is no skipped file.
    void add(std::vector<ScanRow> rows, std::vector<SkippedScan> skipped);
    void clear();
    int indexOf(const QString &path) const;

    // The whole MHz the rows' levels cover together; nothing when none has any.
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
