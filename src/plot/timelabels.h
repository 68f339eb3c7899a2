#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

#include <vector>

// The times that label the scans of a history along an axis: the rows of
// the waterfall, the scans across the trend. Scans come minutes or days
// apart, and a label on every one would overlap: the times stand at the
// first interval of 1, 2, 5, 10, 15, 20 or 30 minutes, or 1, 2, 3, 4, 6 or
// 12 hours, or a day, whose labels all fit, each on the first scan of its
// interval with that scan's own time, and the date where it changes.
namespace ws {

// A scan's time as its labels and the history's words give it, the same on
// every desktop: "2026-06-13 14:05" and "14:05".
QString scanDateText(const QDateTime &when);
QString scanClockText(const QDateTime &when);

struct TimeLabel
{
    int scan;
    // The scan's time, and its date where it carries one.
    QString clock;
    QString date;
    // The pixel on the axis the scan is drawn at, and the first pixel of its
    // text: centred there, or moved inward to stand whole on the axis.
    int centre;
    int start;

    // On one line: "2026-06-13 14:05", or "14:05".
    QString text() const { return date.isEmpty() ? clock : date + QLatin1Char(' ') + clock; }
};

// A label's size along the axis, as it is drawn there.
using LabelExtent = std::function<int(const TimeLabel &)>;

// The labels of scans taken at `times` (oldest first; an invalid one gets
// none), drawn centred at `centres` along an axis `length` pixels long (a
// negative centre for a scan not drawn). `extent` is a label's size along
// the axis; neighbours keep `gap` pixels between them. The first scan drawn
// and each scan on another day than the scan drawn before it carry the date
// with the time, the others only their time.
// Should not even a day leave room, the labels of days stand where they fit.
std::vector<TimeLabel> timeLabels(const std::vector<QDateTime> &times,
                                  const std::vector<int> &centres, int length,
                                  const LabelExtent &extent, int gap);

} // namespace ws
