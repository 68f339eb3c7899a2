#include "plot/timelabels.h"

#include <QTest>

// Which scans of a history carry a time along an axis, and which the date.
class TestTimeLabels : public QObject
{
    Q_OBJECT

private slots:
    void scansAreLabelledAtReadableIntervals_data()
    {
        QTest::addColumn<QStringList>("times");
        QTest::addColumn<int>("spacing");
        QTest::addColumn<QString>("labels");
        const QStringList afternoon = {"2026-06-13T14:00", "2026-06-13T14:20",
                                       "2026-06-13T14:40", "2026-06-13T15:00",
                                       "2026-06-13T15:20", "2026-06-13T15:40"};
        // Each text is 10 pixels, with 2 between neighbours.
        QTest::newRow("room for every scan")
            << afternoon << 12
            << "0 2026-06-13 14:00|1 14:20|2 14:40|3 15:00|4 15:20|5 15:40";
        QTest::newRow("room for every hour") << afternoon << 5 << "0 2026-06-13 14:00|3 15:00";
        // Between intervals, the first scan of each with its own time.
        QTest::newRow("irregular times")
            << QStringList{"2026-06-13T10:02", "2026-06-13T10:07", "2026-06-13T10:41",
                           "2026-06-13T11:02"}
            << 8 << "0 2026-06-13 10:02|3 11:02";
        QTest::newRow("the date where it changes")
            << QStringList{"2026-06-13T23:00", "2026-06-13T23:40", "2026-06-14T00:10",
                           "2026-06-14T00:50"}
            << 12 << "0 2026-06-13 23:00|1 23:40|2 2026-06-14 00:10|3 00:50";
        QTest::newRow("a date before an hour")
            << QStringList{"2026-06-13T23:00", "2026-06-13T23:40", "2026-06-14T00:10",
                           "2026-06-14T00:50"}
            << 6 << "0 2026-06-13 23:00|2 2026-06-14 00:10";
        QTest::newRow("no time, no label")
            << QStringList{"2026-06-13T14:00", "", "2026-06-13T14:40"} << 12
            << "0 2026-06-13 14:00|2 14:40";
        // Not even a day between labels: the days that fit.
        QTest::newRow("crowded days")
            << QStringList{"2026-06-13T12:00", "2026-06-14T12:00", "2026-06-15T12:00",
                           "2026-06-16T12:00"}
            << 7 << "0 2026-06-13 12:00|2 2026-06-15 12:00";
    }
    void scansAreLabelledAtReadableIntervals()
    {
        QFETCH(QStringList, times);
        QFETCH(int, spacing);
        QFETCH(QString, labels);
        std::vector<QDateTime> when;
        std::vector<int> centres;
        for (const QString &time : times) {
            when.push_back(QDateTime::fromString(time, Qt::ISODate));
            centres.push_back(5 + spacing * int(centres.size()));
        }
        const auto found = ws::timeLabels(when, centres, 1000,
                                          [](const ws::TimeLabel &) { return 10; }, 2);
        QStringList shown;
        for (const ws::TimeLabel &label : found)
            shown << QStringLiteral("%1 %2").arg(label.scan).arg(label.text());
        QCOMPARE(shown.join('|'), labels);
    }

    // A scan not drawn (one of many in a pixel row) has no label; a label
    // at an end moves inward to stand whole.
    void hiddenScansHaveNoLabelAndEndsStayWhole()
    {
        const QDateTime t(QDate(2026, 6, 13), QTime(14, 0), Qt::UTC);
        const auto found = ws::timeLabels({t, t.addSecs(1200), t.addSecs(2400)}, {2, -1, 98},
                                          100, [](const ws::TimeLabel &) { return 10; }, 2);
        QCOMPARE(found.size(), size_t(2));
        QCOMPARE(found[0].start, 0);
        QCOMPARE(found[1].scan, 2);
        QCOMPARE(found[1].text(), QStringLiteral("14:40"));
        QCOMPARE(found[1].start, 90);
    }
};

#include "support/testrunner.h"
WS_TEST_CLASS(TestTimeLabels)
#include "tst_timelabels.moc"
