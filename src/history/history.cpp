#include "history/history.h"

#include <algorithm>
#include <cmath>

namespace ws {

void History::add(std::vector<ScanRow> rows, std::vector<SkippedScan> skipped)
{
    for (ScanRow &row : rows) {
        const auto known = rowOf_.constFind(row.path);
        if (known != rowOf_.cend()) {
            rows_[size_t(*known)] = std::move(row);
        } else {
            rowOf_.insert(row.path, int(rows_.size()));
            rows_.push_back(std::move(row));
        }
    }
    std::stable_sort(rows_.begin(), rows_.end(), [](const ScanRow &a, const ScanRow &b) {
        return readEarlier(a.modified, a.path, b.modified, b.path);
    });
    rowOf_.clear();
    for (size_t i = 0; i < rows_.size(); ++i)
        rowOf_.insert(rows_[i].path, int(i));

    // A file that has a row now is no longer skipped.
    skipped_.erase(std::remove_if(skipped_.begin(), skipped_.end(),
                                  [&](const SkippedScan &s) { return rowOf_.contains(s.path); }),
                   skipped_.end());
    for (SkippedScan &s : skipped) {
        if (rowOf_.contains(s.path))
            continue;
        const auto same = std::find_if(skipped_.begin(), skipped_.end(),
                                       [&](const SkippedScan &o) { return o.path == s.path; });
        if (same != skipped_.end())
            *same = std::move(s);
        else
            skipped_.push_back(std::move(s));
    }
}

void History::clear()
{
    rows_.clear();
    skipped_.clear();
    rowOf_.clear();
}

int History::indexOf(const QString &path) const
{
    return rowOf_.value(path, -1);
}

std::optional<FrequencyRange> History::range() const
{
    std::optional<FrequencyRange> range;
    for (const ScanRow &row : rows_) {
        const qsizetype count = std::max(row.horizontal.size(), row.vertical.size());
        if (count == 0)
            continue;
        const FrequencyRange own{row.firstMhz, row.firstMhz + double(count - 1)};
        range = range ? FrequencyRange{std::min(range->first, own.first),
                                       std::max(range->last, own.last)}
                      : own;
    }
    return range;
}

std::optional<History::LevelSpan> History::levelSpan() const
{
    std::optional<LevelSpan> span;
    for (const ScanRow &row : rows_) {
        if (std::isnan(row.lowest))
            continue;
        span = span ? LevelSpan{std::min<double>(span->lowest, row.lowest),
                                std::max<double>(span->highest, row.highest)}
                    : LevelSpan{row.lowest, row.highest};
    }
    return span;
}

std::vector<std::optional<double>> trendOf(const std::vector<ScanRow> &rows,
                                           const MapEntry &entry)
{
    std::vector<std::optional<double>> levels;
    levels.reserve(rows.size());
    for (const ScanRow &row : rows)
        levels.push_back(entryLevel(row, entry));
    return levels;
}

Ranking rankScans(const std::vector<ScanRow> &rows, const QVector<MapEntry> &entries)
{
    Ranking ranking;
    if (rows.empty())
        return ranking;
    std::vector<double> sums(rows.size(), 0.0);
    std::vector<double> levels(rows.size());
    for (const MapEntry &entry : entries) {
        if (!isMpegRow(entry.type))
            continue;
        bool everywhere = true;
        for (size_t i = 0; i < rows.size() && everywhere; ++i) {
            const std::optional<double> level = entryLevel(rows[i], entry);
            everywhere = level.has_value();
            levels[i] = level.value_or(0);
        }
        if (!everywhere)
            continue;
        ++ranking.transmissions;
        for (size_t i = 0; i < rows.size(); ++i)
            sums[i] += levels[i];
    }
    if (ranking.transmissions == 0)
        return ranking;
    for (size_t i = 0; i < rows.size(); ++i)
        ranking.places.push_back({int(i), sums[i] / ranking.transmissions});
    std::stable_sort(ranking.places.begin(), ranking.places.end(),
                     [](const Ranking::Place &a, const Ranking::Place &b) {
                         return !std::isnan(a.meanLevel) &&
                                (std::isnan(b.meanLevel) || a.meanLevel > b.meanLevel);
                     });
    return ranking;
}

} // namespace ws
