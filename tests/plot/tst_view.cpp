#include "plot/drawscans.h"
#include "plot/palette.h"
#include "plot/view.h"
#include "support/recordingcanvas.h"

#include <QTest>

// The visible part of the frequency axis, and what the plots draw of it,
// without a window.
class TestView : public QObject
{
    Q_OBJECT

private slots:
    void wholeRangeIsTheUnzoomedScale();
    void notchesNarrowAndWidenAroundThePointer();
    void zoomStopsAtTheLimitsAndTheEnds();
    void panStaysWithinTheRange();
    void partialWheelTurnsAddUp();
    void zoomedDrawingShowsOnlyTheVisiblePart();
};

namespace {

const ws::FrequencyRange kUniversal{10700, 12750};

// Where f lies across the plots, 0 at the left edge and 1 at the right.
double placeOf(const ws::View &view, double f)
{
    return (f - view.scale().left) / view.scale().width;
}

} // namespace

void TestView::wholeRangeIsTheUnzoomedScale()
{
    const ws::View view(kUniversal);
    QVERIFY(!view.zoomed());
    QCOMPARE(view.scale().left, 10700.0);
    QCOMPARE(view.scale().width, 2051.0);
    QCOMPARE(view.frequencyAt(1), 12751.0);
    // Before any scans there is nothing to zoom.
    ws::View none;
    none.zoomAt(5, 3);
    none.pan(2);
    QVERIFY(!none.zoomed());
}

void TestView::notchesNarrowAndWidenAroundThePointer()
{
    ws::View view(kUniversal);
    const double f = 11000;
    const double place = placeOf(view, f);
    view.zoomAt(f, 1);
    QVERIFY(view.zoomed());
    QCOMPARE(view.span(), 1640.0);
    QCOMPARE(placeOf(view, f), place);
    view.zoomAt(f, 2);
    QCOMPARE(view.span(), 1049.6);
    QCOMPARE(placeOf(view, f), place);
    const double other = placeOf(view, 11200);
    view.zoomAt(11200, -1);
    QCOMPARE(view.span(), 1312.0);
    QCOMPARE(placeOf(view, 11200), other);

    // Out again as far as it goes: exactly the whole range, whatever the
    // rounding on the way.
    view.zoomAt(11111.1, -3);
    QVERIFY(!view.zoomed());
    QCOMPARE(view.scale().left, 10700.0);
    QCOMPARE(view.scale().width, 2051.0);
}

void TestView::zoomStopsAtTheLimitsAndTheEnds()
{
    ws::View view(kUniversal);
    view.zoomAt(11500, 1000);
    QCOMPARE(view.span(), ws::View::kMinimumSpan);
    const ws::View narrowest = view;
    view.zoomAt(11500, 1);
    QCOMPARE(view, narrowest);
    view.zoomAt(11500, -1);
    QCOMPARE(view.span(), 25.0);

    // At the ends the pointer cannot keep its place: the range stops there.
    ws::View left(kUniversal);
    left.zoomAt(10700, 1);
    left.zoomAt(10700, -1);
    left.zoomAt(10700, 4);
    QCOMPARE(left.first(), 10700.0);
    ws::View right(kUniversal);
    right.zoomAt(12751, 3);
    QCOMPARE(right.last(), 12750.0);
    QVERIFY(right.first() > 10700);

    // A range narrower than the limit does not zoom at all.
    ws::View narrow({11000, 11010});
    narrow.zoomAt(11005, 1);
    QVERIFY(!narrow.zoomed());
}

void TestView::panStaysWithinTheRange()
{
    ws::View view(kUniversal);
    view.pan(1);
    QVERIFY(!view.zoomed()); // nothing beside the whole range to move to

    view.zoomAt(11725, 10); // 2050 * 0.8^10 = 220.1 MHz
    const double first = view.first();
    const double span = view.span();
    view.pan(1);
    QCOMPARE(view.first(), first + span / 10);
    view.pan(-3);
    QCOMPARE(view.first(), first - 2 * span / 10);
    QCOMPARE(view.span(), span);
    view.pan(100);
    QCOMPARE(view.last(), 12750.0);
    QCOMPARE(view.span(), span);
    view.pan(-100);
    QCOMPARE(view.first(), 10700.0);

    view.reset();
    QVERIFY(!view.zoomed());
    QCOMPARE(view, ws::View(kUniversal));
}

void TestView::partialWheelTurnsAddUp()
{
    int pending = 0;
    QCOMPARE(ws::takeWheelNotches(pending, 120), 1);
    QCOMPARE(ws::takeWheelNotches(pending, 50), 0);
    QCOMPARE(ws::takeWheelNotches(pending, 50), 0);
    QCOMPARE(ws::takeWheelNotches(pending, 50), 1);
    QCOMPARE(pending, 30);
    QCOMPARE(ws::takeWheelNotches(pending, -150), -1);
    QCOMPARE(pending, 0);
    QCOMPARE(ws::takeWheelNotches(pending, 360), 3);
}

// Zoomed in, the plots take the visible range as their scale, draw the
// curves only as far as they show (one point beyond each edge), the grid
// lines that fall in it and the zero line across it; the levels keep the
// scale of the whole scans.
void TestView::zoomedDrawingShowsOnlyTheVisiblePart()
{
    ws::ScanData scan;
    scan.lnb = *ws::findLnb(1044);
    scan.first = 10700;
    scan.last = 12750;
    scan.minLevel = 5;
    scan.maxLevel = 60;
    scan.layout.horizontal = true;
    ws::View view(kUniversal);
    view.zoomAt(11790.3, 15); // 2050 * 0.8^15 = 72.13 MHz, from 11751.4
    view.pan(1);

    ws::test::RecordingCanvas levels;
    ws::test::RecordingCanvas differences;
    const ws::ScaleTexts texts = ws::drawScans(scan, scan, view, levels, differences);
    QCOMPARE(levels.left, view.first());
    QCOMPARE(levels.width, view.span() + 1);
    QCOMPARE(levels.top, 0.0);
    QCOMPARE(levels.height, 56.0);
    QCOMPARE(differences.left, view.first());
    QCOMPARE(differences.height, -112.0);

    const auto curve = levels.of(ws::palette::horizontalNewest);
    QCOMPARE(curve.front().x, std::floor(view.first()));
    QCOMPARE(curve.back().x, std::ceil(view.last() + 1));
    QCOMPARE(differences.of(ws::palette::horizontalDifference).size(), curve.size());

    std::vector<double> grid;
    for (const auto &op : levels.ops)
        if (op.color == ws::palette::grid && op.x >= levels.left && op.x < levels.left + levels.width)
            grid.push_back(op.x);
    QCOMPARE(grid, std::vector<double>{11800});
    const auto &zero = differences.ops.back();
    QCOMPARE(zero.x1, view.first());
    QCOMPARE(zero.x, view.last());

    QCOMPARE(texts.left, QString::number(qRound(view.first())) + " MHz");
    QCOMPARE(texts.right, QString::number(qRound(view.last())) + " MHz");
    QCOMPARE(texts.top, QStringLiteral("60"));
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestView)
#include "tst_view.moc"
