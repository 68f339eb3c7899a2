#include "plot/readout.h"
#include "support/mapentries.h"

#include <QTest>

namespace {

const QStringList kThreeRows = {"11720", "11740", "11760"};

} // namespace

class TestReadoutRules : public QObject
{
    Q_OBJECT

private slots:
    void nearestRowQuirksIncluded_data();
    void nearestRowQuirksIncluded();
    void frequencyRoundsHalfToEven_data();
    void frequencyRoundsHalfToEven();
};

void TestReadoutRules::nearestRowQuirksIncluded_data()
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
    // The search rounds a row's frequency half to even before it compares.
    QTest::newRow("half down to even, passed") << QStringList{"11720.5", "11720.4", "0"} << 11720.3 << 2;
    QTest::newRow("half up to even, stops") << QStringList{"11721.5", "11721.6", "0"} << 11721.7 << 1;
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

void TestReadoutRules::nearestRowQuirksIncluded()
{
    QFETCH(QStringList, frequencies);
    QFETCH(double, x);
    QFETCH(int, row);

    ws::MapData map;
    ws::test::setStations(map, frequencies);
    QCOMPARE(ws::nearestMapEntry(map, x) + 1, row);
}

void TestReadoutRules::frequencyRoundsHalfToEven_data()
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

void TestReadoutRules::frequencyRoundsHalfToEven()
{
    QFETCH(float, x);
    QFETCH(QString, readout);
    QCOMPARE(ws::frequencyReadout(x), readout);
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestReadoutRules)
#include "tst_readoutrules.moc"
