// The history window's wiring: Ctrl+H over a folder, and a click on a scan
// or the row cursor's keys that load it into the main window.
#include "app/historywindow.h"
#include "app/waterfallwidget.h"
#include "plot/timelabels.h"
#include "scan/scantext.h"
#include "support/fakeplatform.h"
#include "support/mapentries.h"

#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QTest>

namespace names = ws::historywindow::names;

namespace {

// Three scans told apart by their first frequency, the later the stronger,
// changed `apart` seconds after each other from 14:00 UTC on.
bool writeThreeScans(const QTemporaryDir &dir, int apart)
{
    const QDateTime first(QDate(2026, 6, 13), QTime(14, 0), Qt::UTC);
    for (int i = 0; i < 3; ++i) {
        ws::test::ScanShape shape;
        shape.start = 10700 + i;
        shape.level = [i](bool, double) { return 10 * (i + 1); };
        QFile file(ws::test::writeFile(dir, QStringLiteral("%1.scn").arg(i),
                                       ws::test::scanText(shape)));
        if (!file.open(QIODevice::ReadWrite) ||
            !file.setFileTime(first.addSecs(apart * i), QFileDevice::FileModificationTime))
            return false;
    }
    return true;
}

} // namespace

class TestHistoryWindow : public QObject
{
    Q_OBJECT

private slots:
    void aClickedScanLoadsAsNewestARightClickedOneAsReference()
    {
        ws::test::FakeWindow w;
        QTemporaryDir dir;
        QVERIFY(writeThreeScans(dir, 60));
        w.window->show();
        QApplication::setActiveWindow(w.window.get());
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        w.dialogs.pick(dir.path());
        QTest::keyClick(w.window.get(), Qt::Key_H, Qt::ControlModifier);
        HistoryWindow *history = w.window->historyWindow();
        QVERIFY(history && history->isVisible());
        QTRY_COMPARE(history->history().rows().size(), size_t(3));

        auto *waterfall = history->findChild<WaterfallWidget *>(names::waterfall);
        const std::optional<QPoint> second =
            waterfall->pointOf(1, 11000, ws::Polarisation::Horizontal);
        QVERIFY(second);
        QTest::mouseClick(waterfall, Qt::LeftButton, {}, *second);
        QVERIFY(w.scans().newest);
        QCOMPARE(w.scans().newest->first, 10701.0);

        ws::MapData map;
        ws::test::setStations(map, {"11000"});
        history->setMap(map);
        auto *ranking = history->findChild<QListView *>(names::ranking);
        // Ranked off the window's thread.
        QTRY_COMPARE(ranking->model()->rowCount(), 3);
        QTRY_VERIFY(ranking->visualRect(ranking->model()->index(0, 0)).isValid());
        QTest::mouseClick(ranking->viewport(), Qt::RightButton, {},
                          ranking->visualRect(ranking->model()->index(0, 0)).center());
        QVERIFY(w.scans().reference);
        QCOMPARE(w.scans().reference->first, 10702.0);
        QVERIFY(w.dialogs.messages.isEmpty());
    }

    // Up and Down move the cursor, Return and Shift+Return load its scan;
    // the best position is told in words.
    void theRowCursorLoadsItsScan()
    {
        ws::test::FakeWindow w;
        QTemporaryDir dir;
        const QDateTime first(QDate(2026, 6, 13), QTime(14, 0), Qt::UTC);
        QVERIFY(writeThreeScans(dir, 1200));
        HistoryWindow &history = w.window->showHistory({dir.path()});
        QApplication::setActiveWindow(&history);
        QVERIFY(QTest::qWaitForWindowActive(&history));
        QTRY_COMPARE(history.history().rows().size(), size_t(3));
        ws::MapData map;
        ws::test::setStations(map, {"11000"});
        history.setMap(map);
        auto *best = history.findChild<QLabel *>(names::best);
        QTRY_VERIFY(best->isVisible());
        QCOMPARE(best->text(),
                 QStringLiteral("Best: 2.scn, taken %1, mean level 30.0, 10.0 ahead of the next, "
                                "1.scn.")
                     .arg(ws::scanDateText(first.addSecs(2400).toLocalTime())));

        auto *waterfall = history.findChild<WaterfallWidget *>(names::waterfall);
        // The first press finds the newest scan.
        QTest::keyClick(&history, Qt::Key_Up);
        QCOMPARE(history.rowCursor(), 2);
        QTest::keyClick(&history, Qt::Key_Up);
        QCOMPARE(waterfall->cursorRow(), 1);
        QTest::keyClick(&history, Qt::Key_Return);
        QVERIFY(w.scans().newest);
        QCOMPARE(w.scans().newest->first, 10701.0);
        // Held at the newest.
        QTest::keyClick(&history, Qt::Key_Down);
        QTest::keyClick(&history, Qt::Key_Down);
        QCOMPARE(history.rowCursor(), 2);
        QTest::keyClick(&history, Qt::Key_Return, Qt::ShiftModifier);
        QVERIFY(w.scans().reference);
        QCOMPARE(w.scans().reference->first, 10702.0);
        QVERIFY(w.dialogs.messages.isEmpty());
    }

    void skippedFilesAreCountedAndANewScanJoins()
    {
        ws::test::FakeWindow w;
        QTemporaryDir dir;
        ws::test::writeFile(dir, "good.scn", ws::test::scanText({}));
        const QString bad = ws::test::writeFile(dir, "bad.scn", "10700\n");
        HistoryWindow &history = w.window->showHistory({dir.path()});
        QTRY_COMPARE(history.history().rows().size(), size_t(1));
        auto *skipped = history.findChild<QPushButton *>(names::skipped);
        QVERIFY(skipped->isVisible());
        QCOMPARE(skipped->text(), QStringLiteral("1 file skipped ..."));
        QTest::mouseClick(skipped, Qt::LeftButton);
        QCOMPARE(w.dialogs.messages.size(), 1);
        QVERIFY2(w.dialogs.details[0].startsWith(bad + ": line 2: "),
                 qPrintable(w.dialogs.details[0]));

        // Followed: a scan written into the folder joins once it has settled.
        ws::test::writeFile(dir, "new.scn", ws::test::scanText({}));
        QTRY_COMPARE(history.history().rows().size(), size_t(2));
    }

    // A map held for the main window loads once both scans are there.
    void aHeldMapLoadsWithTheSecondScan()
    {
        ws::test::FakeWindow w;
        QTemporaryDir dir;
        ws::test::writeFile(dir, "a.scn", ws::test::scanText({}));
        ws::test::writeFile(dir, "b.scn", ws::test::scanText({}));
        const QString map = ws::test::writeFile(
            dir, "demo.map", ws::test::mapFileLine("TV", "MPEG2", "10.800", "H"));
        HistoryWindow &history = w.window->showHistory({dir.path()});
        w.window->workspace().holdMap(map);
        QTRY_COMPARE(history.history().rows().size(), size_t(2));
        history.chooseScan(0, Qt::LeftButton);
        QTRY_VERIFY(w.scans().newest);
        QVERIFY(w.map().entries.isEmpty());
        history.chooseScan(1, Qt::RightButton);
        QTRY_COMPARE(w.map().entries.size(), 1);
        QVERIFY(w.dialogs.messages.isEmpty());
    }

    // What cannot be shown is said at once, one box each, and the windows
    // open all the same.
    void aSourceThatIsMissingOrHoldsNoScanIsSaidAtOnce()
    {
        ws::test::FakeWindow w;
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("empty"));
        const QString missing = dir.filePath("missing");
        HistoryWindow &history = w.window->showHistory({missing, dir.filePath("empty")});
        QTRY_COMPARE(w.dialogs.details.size(), 2);
        QVERIFY(!history.openedAll());
        QCOMPARE(w.dialogs.details[0], missing + QStringLiteral(": No such file or directory"));
        QCOMPARE(w.dialogs.details[1],
                 dir.filePath("empty") + QStringLiteral(": no scan file (.scn) in this folder"));
        QCOMPARE(history.findChild<QLabel *>(names::rankingTitle)->text(),
                 QStringLiteral("No scan loaded"));
        QVERIFY(history.isVisible());
    }

    // Sorted, and the first ten stand for the rest.
    void theSkippedFilesBoxListsTenSorted()
    {
        ws::test::FakeWindow w;
        QTemporaryDir dir;
        for (int i = 11; i >= 0; --i)
            ws::test::writeFile(dir, QStringLiteral("bad%1.scn").arg(i, 2, 10, QLatin1Char('0')),
                                "10700\n");
        HistoryWindow &history = w.window->showHistory({dir.path()});
        QTRY_COMPARE(history.history().skipped().size(), size_t(12));
        QTRY_VERIFY(!history.loading());
        history.showSkippedFiles();
        const QStringList lines = w.dialogs.details.last().split('\n');
        QCOMPARE(lines.size(), 11);
        QVERIFY2(lines[0].startsWith(dir.filePath("bad00.scn")), qPrintable(lines[0]));
        QVERIFY2(lines[9].startsWith(dir.filePath("bad09.scn")), qPrintable(lines[9]));
        QCOMPARE(lines[10], QStringLiteral("and 2 more"));
    }

    // Over the vertical side, the trend is of the nearest vertical
    // transmission, however near a horizontal one is.
    void theTrendIsOfThePolarisationUnderThePointer()
    {
        ws::test::FakeWindow w;
        QTemporaryDir dir;
        ws::test::writeFile(dir, "a.scn", ws::test::scanText({}));
        HistoryWindow &history = w.window->showHistory({dir.path()});
        QTRY_COMPARE(history.history().rows().size(), size_t(1));
        ws::MapData map;
        map.entries = {ws::test::mapEntry("11000", "MPEG2", "H", "Across"),
                       ws::test::mapEntry("11010", "MPEG2", "V", "Upright")};
        history.setMap(map);
        auto *title = history.findChild<QLabel *>(names::trendTitle);
        history.showReadout(0, 11000, ws::Polarisation::Vertical);
        QVERIFY2(title->text().startsWith("Trend of Upright (11010V"), qPrintable(title->text()));
        history.showReadout(0, 11009, ws::Polarisation::Horizontal);
        QVERIFY2(title->text().startsWith("Trend of Across (11000H"), qPrintable(title->text()));
    }

    // On a small screen, the history window fits it.
    void theHistoryWindowFitsTheScreen()
    {
        ws::test::FakeWindow w;
        QTemporaryDir dir;
        // Shown first, as the program does: its frame is the history's.
        w.window->show();
        HistoryWindow &history = w.window->showHistory({dir.path()});
        const QRect room = history.screen()->availableGeometry();
        QVERIFY2(room.contains(history.frameGeometry()),
                 qPrintable(QStringLiteral("%1,%2 %3x%4 on %5x%6").arg(history.frameGeometry().x()).arg(history.frameGeometry().y())
                                .arg(history.frameGeometry().width())
                                .arg(history.height())
                                .arg(room.width())
                                .arg(room.height())));
    }
};

#include "support/testrunner.h"
WS_TEST_CLASS(TestHistoryWindow)
#include "tst_historywindow.moc"
