#include "plot/drawscans.h"
#include "plot/levels.h"
#include "plot/palette.h"
#include "scan/scanfile.h"
#include "scan/scans.h"
#include "scan/scantext.h"
#include "support/recordingcanvas.h"

#include <QTest>

#include <memory>

// The range of both scans, the scale texts and the grid, and what the plot
// asks of its canvas, without a window.
class TestLevels : public QObject
{
    Q_OBJECT

private slots:
    void gridRoundsHalfToEven_data();
    void gridRoundsHalfToEven();
    void scaleTextsFromBothScans();
    void rangeOfBothScansAndCommonRange();
    void pointsOutsideTheTableAreLeftOut();
    void differencesOnlyOverTheCommonRange();
    void eachLineInItsColour();
    void heldLevelScaleTakesThePlaceOfTheScans();
};

namespace {

using ws::test::withLnb;

using ws::test::RecordingCanvas;

ws::ScanData withRange(double first, double last, double minLevel = 0, double maxLevel = 0)
{
    ws::ScanData scan;
    scan.first = first;
    scan.last = last;
    scan.minLevel = minLevel;
    scan.maxLevel = maxLevel;
    return scan;
}

} // namespace

void TestLevels::gridRoundsHalfToEven_data()
{
    QTest::addColumn<double>("f0");
    QTest::addColumn<double>("f1");
    QTest::addColumn<bool>("drawn");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");

    QTest::newRow("universal band") << 10700.0 << 12750.0 << true << 10700 << 12800;
    QTest::newRow("10750 rounds up") << 10750.0 << 11000.0 << true << 10800 << 11000;
    QTest::newRow("10650 rounds down") << 10650.0 << 11000.0 << true << 10600 << 11000;
    QTest::newRow("largest that fits") << 32649.0 << 32700.0 << true << 32600 << 32700;
    QTest::newRow("beyond 16 bits") << 10700.0 << 32750.0 << false << 0 << 0;
    QTest::newRow("far below") << -40000.0 << 10700.0 << false << 0 << 0;
}

void TestLevels::gridRoundsHalfToEven()
{
    QFETCH(double, f0);
    QFETCH(double, f1);
    QFETCH(bool, drawn);
    QFETCH(int, first);
    QFETCH(int, last);
    const std::optional<ws::GridRange> grid = ws::gridRange(f0, f1);
    QCOMPARE(bool(grid), drawn);
    if (grid) {
        QCOMPARE(grid->first, first);
        QCOMPARE(grid->last, last);
    }
}

void TestLevels::scaleTextsFromBothScans()
{
    auto newest = std::make_unique<ws::ScanData>(withRange(10700, 12750, 3, 40));
    auto reference = std::make_unique<ws::ScanData>(withRange(10950.5, 11000, 10, 57));
    const ws::ScaleTexts t = ws::scaleTexts(ws::PlotRange::of(*newest, *reference));
    QCOMPARE(t.left, QStringLiteral("10700 MHz"));
    QCOMPARE(t.right, QStringLiteral("12750 MHz"));
    QCOMPARE(t.top, QStringLiteral("57"));
    QCOMPARE(t.bottom, QStringLiteral("3"));
    QCOMPARE(t.diffTop, QStringLiteral("55"));
    QCOMPARE(t.diffBottom, QStringLiteral("-55"));

    newest->minLevel = 0.1;
    newest->maxLevel = 0.3;
    reference->minLevel = 0.1;
    reference->maxLevel = 0.2;
    QCOMPARE(ws::scaleTexts(ws::PlotRange::of(*newest, *reference)).diffTop,
             QStringLiteral("1.2")); // single precision
}

void TestLevels::rangeOfBothScansAndCommonRange()
{
    auto scans = std::make_unique<ws::Scans>();
    scans->newest = withRange(10700, 11700);
    // Until both scans are loaded nothing is drawn, and the range is empty at 0.
    QCOMPARE(ws::FrequencyScale::of(*scans).left, 0.0);
    QCOMPARE(ws::FrequencyScale::of(*scans).width, 1.0);

    scans->reference = withRange(11800, 12750);
    const ws::PlotRange range = ws::PlotRange::of(*scans->newest, *scans->reference);
    QCOMPARE(range.first, 10700.0);
    QCOMPARE(range.last, 12750.0);
    QCOMPARE(range.commonFirst, 11800.0);
    QCOMPARE(range.commonLast, 11700.0);
    const ws::FrequencyScale scale = ws::FrequencyScale::of(*scans);
    QCOMPARE(scale.left, 10700.0);
    QCOMPARE(scale.width, 2051.0);
}

void TestLevels::pointsOutsideTheTableAreLeftOut()
{
    // A universal scan whose header claims 7000 to 8000 MHz: below 7600 the
    // intermediate frequency would exceed 2150.
    auto newest = withLnb(1044);
    newest->first = 7000;
    newest->last = 8000;
    newest->layout.horizontal = true;
    newest->levels[ws::HLow][2150] = 9; // 9750 - 7600
    // An absurd range, which must not take forever.
    auto reference = std::make_unique<ws::ScanData>(withRange(0, 1e12));
    reference->layout.vertical = true;
    RecordingCanvas c;
    ws::drawLevelPlot(*newest, *reference, ws::View::whole(ws::PlotRange::of(*newest, *reference)),
                      c);

    const auto curve = c.of(ws::palette::horizontalNewest);
    QCOMPARE(curve.size(), size_t(401));
    QCOMPARE(curve.front().kind, 'm');
    QCOMPARE(curve.front().x, 7600.0);
    QCOMPARE(curve.front().y, -9.0); // the highest level is 0 here
    QCOMPARE(curve.back().kind, 'l');
    QCOMPARE(curve.back().x, 8000.0);
    // The reference has no LNB fields: oscillator 0, so only 0 to 2150 has cells.
    const auto other = c.of(ws::palette::verticalReference);
    QCOMPARE(other.size(), size_t(2151));
    QCOMPARE(other.back().x, 2150.0);
}

void TestLevels::differencesOnlyOverTheCommonRange()
{
    auto newest = withLnb(1058);
    newest->first = 1000;
    newest->last = 1300;
    newest->layout.horizontal = newest->layout.vertical = true;
    newest->levels[ws::HLow][1150] = 40;
    auto reference = std::make_unique<ws::ScanData>(withRange(1100.4, 1400));
    reference->lnb.switchFrequency = ws::findLnb(1058)->switchFrequency;
    reference->layout.horizontal = true;
    reference->levels[ws::HLow][1150] = 30;
    RecordingCanvas c;
    ws::drawDifferencePlot(*newest, *reference,
                           ws::View::whole(ws::PlotRange::of(*newest, *reference)), c);

    QCOMPARE(c.top, ws::PlotRange::of(*newest, *reference).levelSpan());
    QCOMPARE(c.height, -2 * c.top);
    const auto diff = c.of(ws::palette::horizontalDifference);
    QCOMPARE(diff.size(), size_t(201)); // 1100 to 1300
    QCOMPARE(diff.front().x, 1100.0);
    QCOMPARE(diff[50].y, 10.0);
    QVERIFY(c.of(ws::palette::verticalDifference).empty()); // reference has no vertical
    QCOMPARE(c.ops.back().kind, 'L'); // the zero line, last
    QCOMPARE(c.ops.back().color, ws::palette::zeroLine);
}

// Every curve and line in its colour, in the order drawn: the reference
// under the newest scan, the zero line over the differences.
void TestLevels::eachLineInItsColour()
{
    auto scan = withLnb(1044);
    scan->first = 10700;
    scan->last = 10900;
    scan->layout.horizontal = scan->layout.vertical = true;
    RecordingCanvas levels;
    RecordingCanvas differences;
    ws::drawScans(*scan, *scan, ws::View::whole(ws::PlotRange::of(*scan, *scan)), levels,
                  differences);
    const auto coloursOf = [](const RecordingCanvas &c) {
        QList<QColor> order;
        for (const RecordingCanvas::Op &op : c.ops) {
            if (order.isEmpty() || order.back() != op.color)
                order << op.color;
        }
        return order;
    };
    const QColor grid(255, 255, 0), red(255, 0, 0), blue(0, 0, 255);
    QCOMPARE(coloursOf(levels),
             (QList<QColor>{grid, QColor(255, 0, 255), QColor(0, 255, 255), red, blue}));
    QCOMPARE(coloursOf(differences), (QList<QColor>{grid, red, blue, QColor(0, 0, 0)}));
}

void TestLevels::heldLevelScaleTakesThePlaceOfTheScans()
{
    // Scans of levels 0 to 40, drawn on a scale held from others of 5 to 60.
    const ws::ScanData scan = withRange(1000, 1300, 0, 40);
    RecordingCanvas levels;
    RecordingCanvas differences;
    const ws::ScaleTexts texts = ws::drawScans(scan, scan, ws::View({1000, 1300}), levels,
                                               differences, ws::LevelScale{5, 60});
    QCOMPARE(QList<double>({levels.height, differences.top}), QList<double>({56, 56}));
    QCOMPARE(QStringList({texts.top, texts.bottom, texts.diffTop, texts.diffBottom}),
             QStringList({"60", "5", "56", "-56"}));
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestLevels)
#include "tst_levels.moc"
