#include "fakeplatform.h"
#include "mapentries.h"
#include "plotwidget.h"
#include "readout.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

namespace names = ws::window::names;

namespace {

void setMap(ws::MapData &map, const QStringList &frequencies)
{
    map.entries.clear();
    for (int i = 0; i < frequencies.size(); ++i) {
        map.entries.push_back(ws::test::mapEntry(frequencies[i], QStringLiteral("MPEG2 "),
                                                 QStringLiteral("H"),
                                                 QStringLiteral("Station %1").arg(i + 1, -7)));
    }
}

const QStringList kThreeRows = {"11720", "11740", "11760"};

QString text(ws::test::FakeWindow &w, const char *label)
{
    return w.element<QLabel>(label)->text();
}

} // namespace

class TestReadout : public QObject
{
    Q_OBJECT

private slots:
    void nearestRowQuirksIncluded_data();
    void nearestRowQuirksIncluded();
    void frequencyRoundsHalfToEven_data();
    void frequencyRoundsHalfToEven();
    void labelsShowTheRowUntrimmed();
    void withoutAMapTheEntryLabelKeepsItsText();
    void pointerMovesSetOrClearTheReadout();
};

void TestReadout::nearestRowQuirksIncluded_data()
{
    QTest::addColumn<QStringList>("frequencies");
    QTest::addColumn<double>("x");
    QTest::addColumn<int>("row"); // 1 for the first entry of the file

    QTest::newRow("row below is nearer") << kThreeRows << 11725.0 << 1;
    QTest::newRow("tie keeps candidate") << kThreeRows << 11730.0 << 2;
    QTest::newRow("exact hit") << kThreeRows << 11740.0 << 2;
    QTest::newRow("last row untested, nearer") << kThreeRows << 11800.0 << 3;
    QTest::newRow("last row untested, tie") << kThreeRows << 11750.0 << 3;
    QTest::newRow("below the first row") << kThreeRows << 11700.0 << 1;
    QTest::newRow("fraction above a row") << kThreeRows << double(11720.4f) << 1;
    QTest::newRow("one row, below") << QStringList{"11720"} << 10000.0 << 1;
    QTest::newRow("one row, above") << QStringList{"11720"} << 13000.0 << 1;
    // File order, not frequency order: row 3 at 11740 is nearest to 11745
    // but only rows 1 and 2 take part.
    QStringList unsorted = {"11720", "11900", "11740"};
    QTest::newRow("unsorted, neighbour only") << unsorted << 11745.0 << 1;
    QTest::newRow("unsorted, first at or above") << unsorted << 11850.0 << 2;
    // The last row is the candidate even when it lies below x.
    QTest::newRow("last row below x") << QStringList{"11720", "11740", "11700"} << 11800.0 << 2;
    // Texts without a whole number count as their leading number, 0 if none:
    // the search passes them, and as a neighbour they are never nearer.
    QTest::newRow("empty first row") << QStringList{"", "11740", "11760"} << 11725.0 << 2;
    QTest::newRow("empty row hides its neighbour")
        << QStringList{"11720", "", "11760"} << 11722.0 << 3;
    QTest::newRow("empty last row") << QStringList{"11720", "11740", ""} << 11800.0 << 2;
    QTest::newRow("typo counts as 1") << QStringList{"1x788", "11740"} << 11000.0 << 2;
    QTest::newRow("typo near 0") << QStringList{"1x788", "11740"} << 0.5 << 1;
    QTest::newRow("short text") << QStringList{"12", "11740"} << 11.0 << 1;
}

void TestReadout::nearestRowQuirksIncluded()
{
    QFETCH(QStringList, frequencies);
    QFETCH(double, x);
    QFETCH(int, row);

    ws::MapData map;
    setMap(map, frequencies);
    QCOMPARE(ws::nearestMapEntry(map, x) + 1, row);
}

void TestReadout::frequencyRoundsHalfToEven_data()
{
    QTest::addColumn<float>("x");
    QTest::addColumn<QString>("readout");
    QTest::newRow("half down to even") << 11778.5f << "11778 MHz ";
    QTest::newRow("half up to even") << 11777.5f << "11778 MHz ";
    QTest::newRow("above half") << 11777.6f << "11778 MHz ";
    QTest::newRow("below half") << 11777.4f << "11777 MHz ";
    QTest::newRow("zero") << 0.2f << "0 MHz ";
    QTest::newRow("negative") << -3.5f << "-4 MHz ";
}

void TestReadout::frequencyRoundsHalfToEven()
{
    QFETCH(float, x);
    QFETCH(QString, readout);
    ws::test::FakeWindow w;
    w.window->showReadoutAt(x);
    QCOMPARE(text(w, names::pointerFrequencyLabel), readout);
}

void TestReadout::labelsShowTheRowUntrimmed()
{
    ws::test::FakeWindow w;
    ws::MapData &map = w.map();
    setMap(map, {"11778", "12188"});
    map.entries[1] = ws::test::mapEntry(QStringLiteral("12188"), QStringLiteral("mpeg2 "),
                                        QStringLiteral("v"), QStringLiteral(" Some Station   "));
    w.window->showReadoutAt(12100);
    QCOMPARE(text(w, names::pointerFrequencyLabel), QStringLiteral("12100 MHz "));
    QCOMPARE(text(w, names::nearestTitleLabel), QStringLiteral("Next known signal:"));
    QCOMPARE(text(w, names::nearestEntryLabel),
             QStringLiteral("12188v, mpeg2 ,  Some Station   "));

    // An entry of empty fields (an empty map line) still shows its separators.
    map.entries = {ws::MapEntry()};
    w.window->showReadoutAt(12100);
    QCOMPARE(text(w, names::nearestEntryLabel), QStringLiteral(", , "));
}

void TestReadout::withoutAMapTheEntryLabelKeepsItsText()
{
    ws::test::FakeWindow w;
    w.element<QLabel>(names::nearestEntryLabel)->setText(QStringLiteral("from an earlier map"));
    w.window->showReadoutAt(11000);
    QCOMPARE(text(w, names::pointerFrequencyLabel), QStringLiteral("11000 MHz "));
    QCOMPARE(text(w, names::nearestTitleLabel), QStringLiteral("Next known signal:"));
    QCOMPARE(text(w, names::nearestEntryLabel), QStringLiteral("from an earlier map"));
}

void TestReadout::pointerMovesSetOrClearTheReadout()
{
    ws::test::FakeWindow w;
    MainWindow &f = *w.window;
    setMap(w.map(), kThreeRows);
    w.element<PlotWidget>(names::levelPlot)->setScale(10700, 0, 2051, 100);
    w.element<PlotWidget>(names::differencePlot)->setScale(10700, -50, 2051, 100);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    const QString row1 = QStringLiteral("11720H, MPEG2 , Station 1      ");

    // Pixel column 318 of 637 is 10700 + 318 * 2051 / 637 = 11724.01 MHz;
    // the 2-pixel border comes first.
    QTest::mouseMove(w.element<PlotWidget>(names::levelPlot), QPoint(2 + 318, 40));
    QTRY_COMPARE(text(w, names::pointerFrequencyLabel), QStringLiteral("11724 MHz "));
    QCOMPARE(text(w, names::nearestEntryLabel), row1);
    QCOMPARE(text(w, names::nearestTitleLabel), QStringLiteral("Next known signal:"));

    QTest::mouseMove(&f, QPoint(108, 300)); // bare window
    QTRY_COMPARE(text(w, names::pointerFrequencyLabel), QString());
    QCOMPARE(text(w, names::nearestEntryLabel), QString());
    QCOMPARE(text(w, names::nearestTitleLabel), QString());

    QTest::mouseMove(w.element<PlotWidget>(names::differencePlot), QPoint(2 + 318, 20));
    QTRY_COMPARE(text(w, names::pointerFrequencyLabel), QStringLiteral("11724 MHz "));
    QCOMPARE(text(w, names::nearestEntryLabel), row1);

    for (const char *name : {names::loadNewestButton, names::timeoutBox, names::logBox}) {
        QWidget *over = w.element<QWidget>(name);
        QTest::mouseMove(over, QPoint(5, 5));
        QCoreApplication::processEvents();
        QCOMPARE(text(w, names::pointerFrequencyLabel), QStringLiteral("11724 MHz "));
        QCOMPARE(text(w, names::nearestEntryLabel), row1);
        QCOMPARE(text(w, names::nearestTitleLabel), QStringLiteral("Next known signal:"));
    }
}

QTEST_MAIN(TestReadout)
#include "tst_readout.moc"
