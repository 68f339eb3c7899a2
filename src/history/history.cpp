#include "history/history.h"

#include <QSet>

#include <algorithm>
#include <cmath>

namespace ws {

void History::add(std::vector<ScanRow> rows, std::vector<SkippedScan> skipped)
{
    // A file that is gone takes its row along.
    QSet<QString> gone;
    for (const SkippedScan &s : skipped) {
        if (s.gone && rowOf_.contains(s.path))
            gone.insert(s.path);
    }
    if (!gone.isEmpty()) {
        rows_.erase(std::remove_if(rows_.begin(), rows_.end(),
                                   [&](const ScanRow &row) { return gone.contains(row.path); }),
                    rows_.end());
        rowOf_.clear();
        for (size_t i = 0; i < rows_.size(); ++i)
            rowOf_.insert(rows_[i].path, int(i));
    }
    rows_.reserve(rows_.size() + rows.size());
    rowOf_.reserve(qsizetype(rows_.size() + rows.size()));
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
    // Thousands of files may be skipped at once.
    QHash<QString, size_t> skippedAt;
    for (size_t i = 0; i < skipped_.size(); ++i)
        skippedAt.insert(skipped_[i].path, i);
    for (SkippedScan &s : skipped) {
        if (rowOf_.contains(s.path) || gone.contains(s.path))
            continue;
        const auto same = skippedAt.constFind(s.path);
        if (same != skippedAt.cend()) {
            skipped_[*same] = std::move(s);
        } else {
            skippedAt.insert(s.path, skipped_.size());
            skipped_.push_back(std::move(s));
        }
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

} // namespace ws
