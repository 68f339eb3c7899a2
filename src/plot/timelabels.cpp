#include "plot/timelabels.h"

#include <algorithm>
#include <optional>

namespace ws {

QString scanDateText(const QDateTime &when)
{
    return when.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

QString scanClockText(const QDateTime &when)
{
    return when.toString(QStringLiteral("HH:mm"));
}

namespace {

// The labels at intervals of `minutes`, and whether they keep clear of one
// another; with `squeeze`, those that would not are left out instead.
std::pair<std::vector<TimeLabel>, bool> labelsEvery(const std::vector<QDateTime> &times,
                                                    const std::vector<int> &centres, int length,
                                                    const LabelExtent &extent, int gap,
                                                    int minutes, bool squeeze)
{
    std::vector<TimeLabel> labels;
    std::optional<QDate> lastDate;
    int lastInterval = -1;
    int end = 0; // the first pixel after the last label kept
    const size_t count = std::min(times.size(), centres.size());
    for (size_t i = 0; i < count; ++i) {
        const QDateTime &when = times[i];
        if (centres[i] < 0 || !when.isValid())
            continue;
        const QTime clock = when.time();
        const int interval = (clock.hour() * 60 + clock.minute()) / minutes;
        const bool newDay = when.date() != lastDate;
        const bool newInterval = newDay || interval != lastInterval;
        lastDate = when.date();
        lastInterval = interval;
        if (!newInterval)
            continue;
        TimeLabel label{int(i), scanClockText(when),
                        newDay ? when.toString(QStringLiteral("yyyy-MM-dd")) : QString(),
                        centres[i], 0};
        const int size = extent(label);
        label.start = std::clamp(centres[i] - size / 2, 0, std::max(0, length - size));
        if (!labels.empty() && label.start < end + gap) {
            if (!squeeze)
                return {labels, false};
            continue;
        }
        end = label.start + size;
        labels.push_back(std::move(label));
    }
    return {labels, true};
}

} // namespace

std::vector<TimeLabel> timeLabels(const std::vector<QDateTime> &times,
                                  const std::vector<int> &centres, int length,
                                  const LabelExtent &extent, int gap)
{
    constexpr int kDay = 24 * 60;
    for (const int minutes : {1, 2, 5, 10, 15, 20, 30, 60, 120, 180, 240, 360, 720, kDay}) {
        auto [labels, clear] = labelsEvery(times, centres, length, extent, gap, minutes, false);
        if (clear)
            return labels;
    }
    return labelsEvery(times, centres, length, extent, gap, kDay, true).first;
}

} // namespace ws
