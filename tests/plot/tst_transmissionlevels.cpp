#include "mapentries.h"
#include "transmissionlevels.h"

#include <QtTest>

#include <cmath>

// The level of each map entry in a scan, its change, and the two reports.
class TestTransmissionLevels : public QObject
{
    Q_OBJECT

private slots:
    void levelIsTheMeanAroundTheEntry_data();
    void levelIsTheMeanAroundTheEntry();
    void levelsPrintAsCDoes_data();
    void levelsPrintAsCDoes();
    void csvQuotesWhatNeedsItAndLeavesMissingLevelsEmpty();
    void tableShowsTheLargestLossFirst();
};

namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

// A universal LNB scan whose horizontal level in every table is the cell's
// intermediate frequency, and whose vertical level lies `verticalOffset`
// above that.
ws::ScanData universalScan(double first, double last, int layout, double verticalOffset)
{
    ws::ScanData scan;
    scan.lnb = *ws::findLnb(1044);
    scan.layout = *ws::findLayout(layout);
    scan.first = first;
    scan.last = last;
    for (int k = 0; k < ws::kLevelCells; ++k) {
        scan.levels[ws::HLow][k] = scan.levels[ws::HHigh][k] = k;
        scan.levels[ws::VLow][k] = scan.levels[ws::VHigh][k] = k + verticalOffset;
    }
    return scan;
}

} // namespace

void TestTransmissionLevels::levelIsTheMeanAroundTheEntry_data()
{
    QTest::addColumn<double>("first");
    QTest::addColumn<double>("last");
    QTest::addColumn<int>("layout");
    QTest::addColumn<double>("verticalOffset");
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<QString>("polarisation");
    QTest::addColumn<double>("level"); // kNone: no level

    // Low band: cell f - 9750; high band above 11700: cell f - 10600.
    QTest::newRow("horizontal") << 10700.0 << 11000.0 << 1055 << 1000.0 << "10800" << "H" << 1050.0;
    QTest::newRow("vertical, lower case") << 10700.0 << 11000.0 << 1055 << 1000.0 << "10800" << "v" << 2050.0;
    QTest::newRow("across the band switch") << 11600.0 << 11800.0 << 1055 << 0.0 << "11700" << "h"
                                            << (1948 + 1949 + 1950 + 1101 + 1102) / 5.0;
    QTest::newRow("start rounds down to even") << 10702.5 << 11000.0 << 1055 << 0.0 << "10704" << "H" << 954.0;
    QTest::newRow("start rounds up to even") << 10701.5 << 11000.0 << 1055 << 0.0 << "10703" << "H" << kNone;
    QTest::newRow("last at the end") << 10700.0 << 11000.0 << 1055 << 0.0 << "10998" << "H" << 1248.0;
    QTest::newRow("one past the end") << 10700.0 << 11000.0 << 1055 << 0.0 << "10999" << "H" << kNone;
    QTest::newRow("beyond the level table") << 12600.0 << 12800.0 << 1055 << 0.0 << "12749" << "H" << kNone;
    QTest::newRow("table's last cell") << 12600.0 << 12800.0 << 1055 << 0.0 << "12748" << "H" << 2148.0;
    QTest::newRow("horizontal, scan without") << 10700.0 << 11000.0 << 1054 << 0.0 << "10800" << "H" << kNone;
    QTest::newRow("vertical, scan without") << 10700.0 << 11000.0 << 1053 << 0.0 << "10800" << "V" << kNone;
    QTest::newRow("circular, vertical higher") << 10700.0 << 11000.0 << 1055 << 1000.0 << "10800" << "L" << 2050.0;
    QTest::newRow("circular, horizontal higher") << 10700.0 << 11000.0 << 1055 << -1000.0 << "10800" << "R" << 1050.0;
    QTest::newRow("circular, horizontal scan") << 10700.0 << 11000.0 << 1053 << 1000.0 << "10800" << "L" << 1050.0;
    QTest::newRow("no letter") << 10700.0 << 11000.0 << 1055 << 1000.0 << "10800" << "" << 2050.0;
    QTest::newRow("no frequency") << 10700.0 << 11000.0 << 1055 << 0.0 << "" << "H" << kNone;
}

void TestTransmissionLevels::levelIsTheMeanAroundTheEntry()
{
    QFETCH(double, first);
    QFETCH(double, last);
    QFETCH(int, layout);
    QFETCH(double, verticalOffset);
    QFETCH(QString, frequency);
    QFETCH(QString, polarisation);
    QFETCH(double, level);

    const std::optional<double> got = ws::entryLevel(
        universalScan(first, last, layout, verticalOffset),
        ws::test::mapEntry(frequency, QStringLiteral("MPEG2"), polarisation));
    if (std::isnan(level))
        QVERIFY2(!got, qPrintable(QString::number(got.value_or(0))));
    else
        QCOMPARE(got, std::optional<double>(level));
}

void TestTransmissionLevels::levelsPrintAsCDoes_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    // Ties of the exact binary value go to the even digit, as in C.
    QTest::newRow("0.25") << 0.25 << "0.2";
    QTest::newRow("0.75") << 0.75 << "0.8";
    QTest::newRow("-3.25") << -3.25 << "-3.2";
    QTest::newRow("0.05 lies above its tie") << 0.05 << "0.1";
    QTest::newRow("-0.05 lies below its tie") << -0.05 << "-0.1";
    QTest::newRow("a loss that rounds to zero") << -0.04 << "0.0";
    QTest::newRow("negative zero") << -0.0 << "0.0";
    QTest::newRow("large") << 1234567.89 << "1234567.9";
}

void TestTransmissionLevels::levelsPrintAsCDoes()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(ws::levelText(value), text);
}

void TestTransmissionLevels::csvQuotesWhatNeedsItAndLeavesMissingLevelsEmpty()
{
    using ws::test::mapEntry;
    const QVector<ws::MapEntry> entries = {
        mapEntry("10800", "MPEG2 ", "H", QStringLiteral("Caf\u00e9, \"TV\"    ")),
        mapEntry("12.1,", "a\nb", ",", "plain"),
        mapEntry("10900", "", "V", ""),
    };
    const std::vector<ws::TransmissionLevel> levels = {
        {40.25, 30.0, 10.25}, {std::nullopt, 2.0, std::nullopt}, {}};
    QCOMPARE(ws::levelsCsv(entries, levels),
             QStringLiteral("frequency_mhz,polarisation,name,type,newest,reference,change\n"
                            "10800,H,\"Caf\u00e9, \"\"TV\"\"\",MPEG2,40.2,30.0,10.2\n"
                            "\"12.1,\",\",\",plain,\"a\nb\",,2.0,\n"
                            "10900,V,,,,,\n"));

    // The change is newest minus reference, only where both exist.
    const ws::ScanData newest = universalScan(10700, 11000, 1055, 0);
    const ws::ScanData reference = universalScan(10700, 11000, 1053, 0);
    const auto computed = ws::transmissionLevels(
        newest, reference, {mapEntry("10800", "", "H"), mapEntry("10800", "", "V")});
    QCOMPARE(computed.size(), size_t(2));
    QCOMPARE(computed[0].change, std::optional<double>(0));
    QCOMPARE(computed[1].newest, std::optional<double>(1050));
    QVERIFY(!computed[1].reference && !computed[1].change);
}

void TestTransmissionLevels::tableShowsTheLargestLossFirst()
{
    using ws::test::mapEntry;
    const QVector<ws::MapEntry> entries = {
        mapEntry("10700", "MPEG2 ", "H", "gain"), mapEntry("10800", "", "V", "none"),
        mapEntry("10900", "DATA  ", "L", "loss\n"), mapEntry("11000", "", "H", "equal loss"),
        mapEntry("11100", "", "V", "none either"),
    };
    const std::vector<ws::TransmissionLevel> levels = {
        {5.0, 2.0, 3.0}, {1.0, std::nullopt, std::nullopt}, {2.0, 4.5, -2.5},
        {1.0, 3.5, -2.5}, {}};
    QCOMPARE(ws::levelsTable(entries, levels),
             QStringLiteral("Freq   Pol  Name         Type   Newest  Reference  Change\n"
                            "10900  L    loss         DATA      2.0        4.5    -2.5\n"
                            "11000  H    equal loss             1.0        3.5    -2.5\n"
                            "10700  H    gain         MPEG2     5.0        2.0     3.0\n"
                            "10800  V    none                   1.0          -       -\n"
                            "11100  V    none either              -          -       -"));
}

QTEST_GUILESS_MAIN(TestTransmissionLevels)
#include "tst_transmissionlevels.moc"
