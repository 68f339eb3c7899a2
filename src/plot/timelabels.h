#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

#include <vector>

// The times that label a history's scans along an axis (waterfall rows,
// trend). A label on every scan would overlap: they stand at the first
// interval (1, 2, 5, 10, 15, 20, 30 minutes; 1, 2, 3, 4, 6, 12 hours; a
// day) whose labels all fit, on each interval's first scan, dated where the
// date changes.
namespace ws {

// A scan's time, the same on every desktop: "2026-06-13 14:05" and "14:05".
QString scanDateText(const QDateTime &when);
QString scanClockText(const QDateTime &when);

struct TimeLabel
{
    int scan;
    QString clock;
    QString date;
    // The pixel on the axis the scan is drawn at, and the first pixel of its
    // text: centred there, or moved inward to stand whole on the axis.
    int centre;
    int start;

    QString text() const { return date.isEmpty() ? clock : date + QLatin1Char(' ') + clock; }
};

using LabelExtent = std::function<int(const TimeLabel &)>;

// The labels of scans at `times` (oldest first; an invalid one gets none),
// centred at `centres` on an axis `length` pixels long (negative: not
// drawn), `gap` pixels between neighbours. The first scan drawn and each on
// a new day carry the date; if not even a day leaves room, the days' labels
// stand where they fit.
std::vector<TimeLabel> timeLabels(const std::vector<QDateTime> &times,
                                  const std::vector<int> &centres, int length,
                                  const LabelExtent &extent, int gap);

} // namespace ws
