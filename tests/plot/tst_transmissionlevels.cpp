#include "plot/transmissionlevels.h"
#include "support/mapentries.h"

#include <QTest>

#include <charconv>
#include <cmath>
#include <random>

// The level of each map entry in a scan, its change, and the two reports.
namespace {

// A universal LNB scan whose horizontal level in every cell is the cell's
// intermediate frequency; the vertical one lies `verticalOffset` above.
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

// An entry's frequency and letter, its level, and the universalScan() it lies in.
struct Case
{
    int frequency;
    const char *polarisation;
    std::optional<double> level;
    int layout = 1055;
    double verticalOffset = 0, first = 10700, last = 11000;
};
Q_DECLARE_METATYPE(Case)

class TestTransmissionLevels : public QObject
{
    Q_OBJECT

private slots:
    void levelIsTheMeanAroundTheEntry_data()
    {
        QTest::addColumn<Case>("c");
        // Low band: cell f - 9750; high band above 11700: cell f - 10600.
        const auto none = std::nullopt;
        QTest::newRow("v") << Case{10800, "v", 2050, 1055, 1000};
        QTest::newRow("across the switch")
            << Case{11700, "h", (1948 + 1949 + 1950 + 1101 + 1102) / 5.0, 1055, 0, 11600, 11800};
        QTest::newRow("start 10702.5") << Case{10704, "H", 954, 1055, 0, 10702.5};
        QTest::newRow("start 10701.5") << Case{10703, "H", none, 1055, 0, 10701.5};
        QTest::newRow("at the end") << Case{10998, "H", 1248};
        QTest::newRow("past the end") << Case{10999, "H", none};
        QTest::newRow("past the table") << Case{12749, "H", none, 1055, 0, 12600, 12800};
        QTest::newRow("no h") << Case{10800, "H", none, 1054};
        QTest::newRow("L, v higher") << Case{10800, "L", 2050, 1055, 1000};
        QTest::newRow("R, h higher") << Case{10800, "R", 1050, 1055, -1000};
        QTest::newRow("L, h only") << Case{10800, "L", 1050, 1053, 1000};
        QTest::newRow("no letter") << Case{10800, "", 2050, 1055, 1000};
    }
    void levelIsTheMeanAroundTheEntry()
    {
        QFETCH(Case, c);
        const auto entry = ws::test::mapEntry(QString::number(c.frequency), "MPEG2",
                                              QString::fromLatin1(c.polarisation));
        QCOMPARE(ws::entryLevel(universalScan(c.first, c.last, c.layout, c.verticalOffset), entry),
                 c.level);
    }

    // Levels print as C's "%.1f" does (a tie of the exact binary value goes
    // to the even digit), but never as "-0.0".
    void csvQuotesWhatNeedsItAndLeavesMissingLevelsEmpty()
    {
        using ws::test::mapEntry;
        const QVector<ws::MapEntry> entries = {
            mapEntry("10800", "MPEG2 ", "H", QStringLiteral("Caf\u00e9, \"TV\"    ")),
            mapEntry("12.1,", "a\nb", ",", "plain"), mapEntry("10850", "", "L", "tiny loss"),
            mapEntry("10900", "", "V", ""), mapEntry("10950", "+DATA", "V", "=cmd|'/C calc'!A0")};
        const std::vector<ws::TransmissionLevel> levels = {
            {40.25, 30.0, 10.25}, {std::nullopt, 2.0, std::nullopt}, {1.0, 1.04, -0.04}, {},
            {1.0, 3.5, -2.5}};
        QCOMPARE(ws::levelsCsv(entries, levels),
                 QStringLiteral("frequency_mhz,polarisation,name,type,newest,reference,change\n"
                                "10800,H,\"Caf\u00e9, \"\"TV\"\"\",MPEG2,40.2,30.0,10.2\n"
                                "\"12.1,\",\",\",plain,\"a\nb\",,2.0,\n"
                                "10850,L,tiny loss,,1.0,1.0,0.0\n"
                                "10900,V,,,,,\n"
                                // The map's text cannot run as a formula; the numbers stay numbers.
                                "10950,V,'=cmd|'/C calc'!A0,'+DATA,1.0,3.5,-2.5\n"));

        // The change only where both levels exist.
        const auto computed = ws::transmissionLevels(universalScan(10700, 11000, 1055, 0),
                                                     universalScan(10700, 11000, 1053, 0),
                                                     {entries[0], entries[3]});
        QCOMPARE(computed[0].change, std::optional<double>(0));
        QVERIFY(computed[1].newest && !computed[1].reference && !computed[1].change);
    }

    // Levels are written as whole tenths, faster than the general
    // conversion; the text must still be exactly the general one's.
    void levelTextIsTheGeneralConversionsText()
    {
        std::vector<double> values = {0.25, -0.25, 0.75, 0.05, -0.05, -0.04, 0.15, 9.95, 99.95,
                                      123456.25, 1e14 - 0.25, 1e14, -2.5e15, 1e300};
        std::mt19937_64 random(2026);
        for (int i = 0; i < 200000; ++i) {
            const double mantissa = std::uniform_real_distribution<double>(1, 10)(random);
            const int exponent = int(random() % 18) - 3;
            values.push_back((random() % 2 ? -1 : 1) * mantissa * std::pow(10.0, exponent));
            // Halves in decimal, which binary numbers almost never hit.
            values.push_back(double(int(random() % 200000) - 100000) / 20);
        }
        for (const double value : values) {
            char buffer[400];
            const auto written = std::to_chars(buffer, buffer + sizeof buffer, value,
                                               std::chars_format::fixed, 1);
            QByteArray expected(buffer, written.ptr - buffer);
            if (expected == "-0.0")
                expected = "0.0";
            QByteArray text;
            ws::appendLevelText(text, value);
            QCOMPARE(text, expected);
        }
        // A fifth of a whole number, as a report of whole levels writes it:
        // twice that number in tenths.
        for (int i = 0; i < 100000; ++i) {
            const qint64 sum = i < 2 ? qint64(i) - 1 : qint64(random() % (qint64(1) << 34)) - (qint64(1) << 33);
            char buffer[400];
            QByteArray text;
            ws::appendLevelText(text, double(sum) / 5);
            QCOMPARE(QByteArray(buffer, ws::writeTenths(buffer, 2 * sum) - buffer), text);
        }
    }

    void tableShowsTheLargestLossFirst()
    {
        using ws::test::mapEntry;
        const QVector<ws::MapEntry> entries = {
            mapEntry("10700", "MPEG2 ", "H", "gain"), mapEntry("10800", "", "V", "none"),
            mapEntry("10900", "DATA  ", "L", "loss\n"), mapEntry("11000", "", "H", "equal loss")};
        const std::vector<ws::TransmissionLevel> levels = {
            {5.0, 2.0, 3.0}, {1.0, std::nullopt, std::nullopt}, {2.0, 4.5, -2.5}, {1.0, 3.5, -2.5}};
        QCOMPARE(ws::levelsTable(entries, levels),
                 QStringLiteral("Freq   Pol  Name        Type   Newest  Reference  Change  since last\n"
                                "10900  L    loss        DATA      2.0        4.5    -2.5\n"
                                "11000  H    equal loss            1.0        3.5    -2.5\n"
                                "10700  H    gain        MPEG2     5.0        2.0     3.0\n"
                                "10800  V    none                  1.0          -       -"));
    }

    // The table of a newest scan after others: "since last" compares with
    // the last one of a different level; the heading names all of them.
    void sinceLastComparesWithTheNewestScanShownBefore()
    {
        using ws::test::mapEntry;
        const QVector<ws::MapEntry> entries = {mapEntry("10800", "", "V", "A"),
                                               mapEntry("10900", "", "H", "B"),
                                               mapEntry("10990", "", "H", "C")};
        const ws::ScanData older = universalScan(10700, 10950, 1055, 4);
        const ws::ScanData newest = universalScan(10700, 11000, 1055, 10);
        const auto at = [](int minute) { return QDateTime({2026, 3, 9}, {14, minute, 9}); };
        ws::NewestShown shown;
        QVERIFY(!shown.show(older, {"n.scn", at(1)}));
        QVERIFY(!shown.show(older, {"n.scn", at(2)}));
        const ws::NewestShown::Scan *before = shown.show(newest, {"n.scn", at(3)});
        QVERIFY(before && shown.show(newest, {"n.scn", at(4)}) == before);

        const auto levels =
            ws::transmissionLevels(newest, universalScan(10700, 11000, 1055, 0), entries);
        QCOMPARE(ws::levelsTableHeading({"o.scn", at(4)}, {"r\n.scn", at(0)}, "m",
                                        ws::ScanSource{"n.scn", at(3)}),
                 QStringLiteral("Newest: o.scn (2026-03-09 14:04:09)  Reference: r .scn "
                                "(2026-03-09 14:00:09)  Map: m  since last: n.scn "
                                "(2026-03-09 14:03:09)"));
        QCOMPARE(ws::levelsTable(entries, levels, &before->data),
                 QStringLiteral("Freq   Pol  Name  Type  Newest  Reference  Change  since last\n"
                                "10900  H    B           1150.0     1150.0     0.0         0.0\n"
                                "10990  H    C           1240.0     1240.0     0.0           -\n"
                                "10800  V    A           1060.0     1050.0    10.0         6.0"));
    }
};

#include "support/testrunner.h"
WS_TEST_CLASS(TestTransmissionLevels)
#include "tst_transmissionlevels.moc"
