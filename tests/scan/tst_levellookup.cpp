#include "scan/levellookup.h"
#include "scan/scanfile.h"
#include "scan/scantext.h"

#include <QTest>

#include <memory>

// Which table and cell a sky frequency's level is read from.
class TestLevelLookup : public QObject
{
    Q_OBJECT

private slots:
    void lookupFollowsTheBandOfTheFrequency_data();
    void lookupFollowsTheBandOfTheFrequency();
    void levelAtReadsTheScansOwnTable();
};

using ws::test::withLnb;

void TestLevelLookup::lookupFollowsTheBandOfTheFrequency_data()
{
    QTest::addColumn<int>("lnb");
    QTest::addColumn<double>("f");
    QTest::addColumn<bool>("found");
    QTest::addColumn<bool>("high");
    QTest::addColumn<int>("cell");

    QTest::newRow("univ at the switch") << 1044 << 11700.0 << true << false << 1950;
    QTest::newRow("univ above the switch") << 1044 << 11701.0 << true << true << 1101;
    QTest::newRow("univ top of band") << 1044 << 12750.0 << true << true << 2150;
    QTest::newRow("univ beyond the table") << 1044 << 12751.0 << false << false << 0;
    QTest::newRow("quattro at its switch") << 1048 << 11750.0 << true << false << 2000;
    QTest::newRow("quattro above") << 1048 << 11751.0 << true << true << 1001;
    QTest::newRow("c-band counts down") << 1047 << 3700.0 << true << false << 1450;
    QTest::newRow("c-band beyond the table") << 1047 << 2999.0 << false << false << 0;
    QTest::newRow("l-band") << 1058 << 1200.0 << true << false << 1200;
    QTest::newRow("l-band cell 0") << 1058 << 0.0 << true << false << 0;
    QTest::newRow("l-band beyond the table") << 1058 << 2151.0 << false << false << 0;
}

void TestLevelLookup::lookupFollowsTheBandOfTheFrequency()
{
    QFETCH(int, lnb);
    QFETCH(double, f);
    QFETCH(bool, found);
    QFETCH(bool, high);
    QFETCH(int, cell);

    const auto s = withLnb(lnb);
    const std::optional<ws::LevelCell> c = ws::levelCell(*s, f);
    QCOMPARE(bool(c), found);
    if (c) {
        QCOMPARE(c->highBand, high);
        QCOMPARE(c->index, cell);
    }
}

void TestLevelLookup::levelAtReadsTheScansOwnTable()
{
    auto s = withLnb(1044);
    s->levels[ws::HLow][1950] = 1;
    s->levels[ws::HHigh][1101] = 2;
    s->levels[ws::VLow][1950] = 3;
    s->levels[ws::VHigh][1101] = 4;
    ws::ScanData noLnb;
    noLnb.levels[ws::HLow][1950] = 5; // with oscillators 0, 11700 has no cell
    using ws::Polarisation;
    QCOMPARE(ws::levelAt(*s, Polarisation::Horizontal, 11700), std::optional<double>(1));
    QCOMPARE(ws::levelAt(*s, Polarisation::Horizontal, 11701), std::optional<double>(2));
    QCOMPARE(ws::levelAt(*s, Polarisation::Vertical, 11700), std::optional<double>(3));
    QCOMPARE(ws::levelAt(*s, Polarisation::Vertical, 11701), std::optional<double>(4));
    QVERIFY(!ws::levelAt(noLnb, Polarisation::Horizontal, 11700));
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestLevelLookup)
#include "tst_levellookup.moc"
