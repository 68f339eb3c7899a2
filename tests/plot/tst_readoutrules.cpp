#include "plot/readout.h"
#include "support/mapentries.h"

#include "core/numbers.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>

namespace {

const QStringList kThreeRows = {"11720", "11740", "11760"};

// The search as the rule words it: walk the file until an entry's rounded
// frequency is at or above x, never testing the last; then the nearer of
// that entry and the one before it, a tie to the former.
int walkedNearest(const ws::MapData &map, double x)
{
    const auto &entries = map.entries;
    if (entries.isEmpty())
        return -1;
    int c = 0;
    while (c < entries.size() - 1 && !(ws::roundHalfEven(entries[c].frequency) >= x))
        ++c;
    if (c == 0)
        return 0;
    const double a = entries[c].frequency;
    const double b = entries[c - 1].frequency;
    return std::abs(x - b) < std::abs(x - a) ? c - 1 : c;
}

} // namespace

class TestReadoutRules : public QObject
{
    Q_OBJECT

private slots:
    void nearestRowQuirksIncluded_data();
    void nearestRowQuirksIncluded();
    void searchAgreesWithTheWalkOnUnsortedMaps_data();
    void searchAgreesWithTheWalkOnUnsortedMaps();
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

void TestReadoutRules::searchAgreesWithTheWalkOnUnsortedMaps_data()
{
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("spread"); // MHz the frequencies spread over
    QTest::newRow("one") << 1 << 40;
    QTest::newRow("a few, close") << 5 << 8;
    QTest::newRow("many, close") << 300 << 30;
    QTest::newRow("a full map") << 16384 << 2048;
}

// Random maps in random order, with halves, fractions and empty texts, and
// pointer positions around them; after an entry changes in place the search
// must see the change.
void TestReadoutRules::searchAgreesWithTheWalkOnUnsortedMaps()
{
    QFETCH(int, entries);
    QFETCH(int, spread);
    QRandomGenerator random(quint32(entries * 7919 + spread));
    const auto someFrequency = [&] {
        const int whole = 11700 + int(random.bounded(spread));
        switch (random.bounded(6)) {
        case 0:
            return QString();
        case 1:
            return QString::number(whole) + QStringLiteral(".5");
        case 2:
            return QString::number(whole + random.bounded(1.0), 'f', 2);
        default:
            return QString::number(whole);
        }
    };
    QStringList frequencies;
    for (int i = 0; i < entries; ++i)
        frequencies << someFrequency();
    ws::MapData map;
    ws::test::setStations(map, frequencies);

    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 2000; ++i) {
            const double x = 11690 + random.bounded(spread + 20.0);
            const double onHalf = std::floor(x) + 0.5;
            for (const double at : {x, onHalf, std::floor(x)})
                QCOMPARE(ws::nearestMapEntry(map, at), walkedNearest(map, at));
        }
        const int changed = int(random.bounded(entries));
        map.entries[changed] = ws::test::mapEntry(QString::number(11690 + spread / 2));
    }
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
