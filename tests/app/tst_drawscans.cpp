#include "scan/scantext.h"
#include "support/fakeplatform.h"
#include "support/plotground.h"
#include "wording/windowsize.h"

#include "app/plotwidget.h"
#include "plot/drawscans.h"
#include "plot/levels.h"
#include "plot/palette.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <cmath>

using ws::test::FakeWindow;
namespace names = ws::window::names;
using ws::test::ScanShape;
using ws::test::scanText;

// The plots as the user sees them, after loading generated scan files
// through the window.
class TestDrawScans : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { w.reset(); }

    void nothingIsDrawnUntilBothSlotsAreLoaded();
    void levelsDifferencesAndGrid();
    void newestIsDrawnOverTheReference();
    void aPolarisationMissingFromOneScanHasNoDifference();
    void disjointRangesLieSideBySide();
    void reloadRescalesBothPlots();
    void aGrownWindowDrawsThePlotsAnewToFillThem();
    void aGrownWindowLabelsTheAxesAndThePointersLevels();

private:
    void load(ws::ScanSlot slot, const ScanShape &shape)
    {
        w->dialogs.pick(ws::test::writeFile(dir, QStringLiteral("scan%1.scn").arg(++files),
                                            scanText(shape)));
        w->window->workspace().loadScan(slot);
        QVERIFY(w->dialogs.messages.isEmpty());
    }
    PlotWidget *levelPlot() const { return w->element<PlotWidget>(names::levelPlot); }
    PlotWidget *differencePlot() const { return w->element<PlotWidget>(names::differencePlot); }
    QString text(const char *label) const { return w->element<QLabel>(label)->text(); }

    QTemporaryDir dir;
    int files = 0;
    std::unique_ptr<FakeWindow> w;
};

namespace {


// A universal scan of 200 MHz below the band switch with levels from `level`.
ScanShape scan(int layout, std::function<double(bool, double)> level, double start = 10950,
              double end = 11149)
{
    ScanShape shape;
    shape.start = start;
    shape.end = end;
    shape.layout = layout;
    shape.level = std::move(level);
    return shape;
}

// The colour at user position (x, y).
QColor colorAt(PlotWidget *box, double x, double y)
{
    const QPointF p = box->toPixel(x, y);
    return box->surface().pixelColor(int(std::floor(p.x())), int(std::floor(p.y())));
}

int count(PlotWidget *box, const QColor &color)
{
    const QImage image = box->surface();
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            n += image.pixelColor(x, y) == color;
    }
    return n;
}

// Whether the window's `picture` shows anything but bare window in `area`.
bool showsText(const QImage &picture, const QRect &area)
{
    const QColor ground = picture.pixelColor(area.topLeft());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (picture.pixelColor(x, y) != ground)
                return true;
        }
    }
    return false;
}

// The right-most column holding `color`, -1 when there is none.
int lastColumn(PlotWidget *box, const QColor &color)
{
    const QImage image = box->surface();
    for (int x = image.width() - 1; x >= 0; --x) {
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixelColor(x, y) == color)
                return x;
        }
    }
    return -1;
}

} // namespace

namespace pc = ws::palette;

void TestDrawScans::init()
{
    QVERIFY(dir.isValid());
    w = std::make_unique<FakeWindow>();
}

void TestDrawScans::nothingIsDrawnUntilBothSlotsAreLoaded()
{
    load(ws::ScanSlot::Newest, scan(1055, [](bool, double) { return 40.0; }));
    QVERIFY(!w->element<QPushButton>(names::loadMapButton)->isEnabled());
    const QSize area1 = levelPlot()->areaSize();
    const QSize area2 = differencePlot()->areaSize();
    QCOMPARE(count(levelPlot(), ws::test::plotGround()), area1.width() * area1.height());
    QCOMPARE(count(differencePlot(), ws::test::plotGround()), area2.width() * area2.height());
    QCOMPARE(text(names::startFrequencyLabel), QString());
    QCOMPARE(w->events.repainted.size(), 1); // "Loading, please wait" only

    load(ws::ScanSlot::Reference, scan(1055, [](bool, double) { return 30.0; }));
    QVERIFY(w->element<QPushButton>(names::loadMapButton)->isEnabled());
    QCOMPARE(w->events.repainted.size(), 3); // loading, then the finished plot
    QVERIFY(count(levelPlot(), ws::test::plotGround()) < area1.width() * area1.height());
}

void TestDrawScans::levelsDifferencesAndGrid()
{
    load(ws::ScanSlot::Newest, scan(1055, [](bool v, double) { return v ? 25.0 : 40.0; }));
    load(ws::ScanSlot::Reference,
         scan(1055, [](bool v, double f) { return v ? 20.0 : f == 11050 ? 60.0 : 30.0; }));
    PlotWidget *p1 = levelPlot();
    PlotWidget *p2 = differencePlot();

    QCOMPARE(text(names::startFrequencyLabel), QStringLiteral("10950 MHz"));
    QCOMPARE(text(names::endFrequencyLabel), QStringLiteral("11149 MHz"));
    QCOMPARE(text(names::levelTopLabel), QStringLiteral("60"));
    QCOMPARE(text(names::levelBottomLabel), QStringLiteral("20"));
    QCOMPARE(text(names::differenceTopLabel), QStringLiteral("41"));
    QCOMPARE(text(names::differenceBottomLabel), QStringLiteral("-41"));
    QVERIFY(w->element<QLabel>(names::startFrequencyLabel)->isVisibleTo(w->window.get()));
    QVERIFY(w->element<QLabel>(names::endFrequencyLabel)->isVisibleTo(w->window.get()));

    // Levels: the top edge is L1 = 60, a level v lies at 60 - v.
    const double f = 11020;
    QCOMPARE(colorAt(p1, f, 60 - 40), pc::horizontalNewest);
    QCOMPARE(colorAt(p1, f, 60 - 30), pc::horizontalReference);
    QCOMPARE(colorAt(p1, f, 60 - 25), pc::verticalNewest);
    QCOMPARE(colorAt(p1, f, 60 - 20), pc::verticalReference);
    QCOMPARE(colorAt(p1, f, 5), ws::test::plotGround());

    // Differences: newest stronger lies above the zero line.
    QCOMPARE(colorAt(p2, f, 10), pc::horizontalDifference);
    QCOMPARE(colorAt(p2, f, 5), pc::verticalDifference);
    QCOMPARE(colorAt(p2, f, 0), pc::zeroLine);
    QCOMPARE(colorAt(p2, f, -10), ws::test::plotGround());
    QVERIFY(p2->toPixel(f, 10).y() < p2->toPixel(f, 0).y());

    // The grid at 11000 and 11100 MHz only, in both plots.
    for (auto [p, empty] : {std::pair(p1, 5.0), std::pair(p2, -20.0)}) {
        const QImage image = p->surface();
        const int row = int(p->toPixel(f, empty).y());
        for (int x = 0; x < image.width(); ++x) {
            const bool onGrid = x == int(p->toPixel(11000, 0).x())
                || x == int(p->toPixel(11100, 0).x());
            QCOMPARE(image.pixelColor(x, row) == pc::grid, onGrid);
        }
    }
    QCOMPARE(int(p1->toPixel(11000, 0).x()), 159);
}

void TestDrawScans::newestIsDrawnOverTheReference()
{
    const auto same = [](bool, double f) { return f == 10950 ? 60.0 : 30.0; };
    load(ws::ScanSlot::Newest, scan(1053, same));
    load(ws::ScanSlot::Reference, scan(1053, same));
    QVERIFY(count(levelPlot(), pc::horizontalNewest) > 600);
    QCOMPARE(count(levelPlot(), pc::horizontalReference), 0);
    // No difference: the curve lies under the zero line.
    QCOMPARE(count(differencePlot(), pc::horizontalDifference), 0);
    QVERIFY(count(differencePlot(), pc::zeroLine) > 600);
}

void TestDrawScans::aPolarisationMissingFromOneScanHasNoDifference()
{
    load(ws::ScanSlot::Newest, scan(1055, [](bool v, double) { return v ? 25.0 : 40.0; }));
    load(ws::ScanSlot::Reference, scan(1053, [](bool, double) { return 30.0; }));
    PlotWidget *p1 = levelPlot();
    PlotWidget *p2 = differencePlot();
    QVERIFY(count(p1, pc::verticalNewest) > 600);
    QCOMPARE(count(p1, pc::verticalReference), 0);
    QVERIFY(count(p2, pc::horizontalDifference) > 600);
    QCOMPARE(count(p2, pc::verticalDifference), 0);
}

void TestDrawScans::disjointRangesLieSideBySide()
{
    load(ws::ScanSlot::Newest, scan(1053, [](bool, double) { return 40.0; }, 10950, 11049));
    load(ws::ScanSlot::Reference, scan(1053, [](bool, double) { return 30.0; }, 11100, 11149));
    QCOMPARE(text(names::startFrequencyLabel), QStringLiteral("10950 MHz"));
    QCOMPARE(text(names::endFrequencyLabel), QStringLiteral("11149 MHz"));
    QCOMPARE(colorAt(levelPlot(), 11000, 0), pc::horizontalNewest);
    QCOMPARE(colorAt(levelPlot(), 11120, 10), pc::horizontalReference);
    QCOMPARE(colorAt(levelPlot(), 11120, 0), ws::test::plotGround());

    // Only the grid and the zero line in the difference plot.
    PlotWidget *p2 = differencePlot();
    const QSize area = p2->areaSize();
    QCOMPARE(count(p2, ws::test::plotGround()) + count(p2, pc::grid) + count(p2, pc::zeroLine),
             area.width() * area.height());
    QVERIFY(count(p2, pc::zeroLine) > 600);
}

void TestDrawScans::reloadRescalesBothPlots()
{
    load(ws::ScanSlot::Newest, scan(1053, [](bool, double) { return 40.0; }, 10700, 12750));
    load(ws::ScanSlot::Reference, scan(1053, [](bool, double) { return 30.0; }));
    QCOMPARE(text(names::startFrequencyLabel), QStringLiteral("10700 MHz"));
    QCOMPARE(text(names::endFrequencyLabel), QStringLiteral("12750 MHz"));

    load(ws::ScanSlot::Newest, scan(1053, [](bool, double) { return 40.0; }, 11000, 11049));
    QCOMPARE(text(names::startFrequencyLabel), QStringLiteral("10950 MHz"));
    QCOMPARE(text(names::endFrequencyLabel), QStringLiteral("11149 MHz"));
    QCOMPARE(ws::PlotRange::of(*w->scans().newest, *w->scans().reference).first, 10950.0);
    // Nothing of the wide scan survives right of the narrow one.
    QCOMPARE(lastColumn(levelPlot(), pc::horizontalNewest),
             int(levelPlot()->toPixel(11049, 0).x()));
}

void TestDrawScans::aGrownWindowDrawsThePlotsAnewToFillThem()
{
    load(ws::ScanSlot::Newest, scan(1053, [](bool, double) { return 40.0; }));
    load(ws::ScanSlot::Reference, scan(1053, [](bool, double) { return 30.0; }));
    MainWindow &f = *w->window;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    const QImage asOpened = levelPlot()->surface();
    const int openedWidth = levelPlot()->areaSize().width();

    f.resize(1100, 800);
    for (auto [plot, curve] : {std::pair(levelPlot(), pc::horizontalNewest),
                               std::pair(differencePlot(), pc::horizontalDifference)}) {
        QVERIFY(plot->areaSize().width() > openedWidth + 300);
        // Not the old picture on a larger ground: the curve reaches the end.
        QVERIFY(lastColumn(plot, curve) > plot->areaSize().width() * 9 / 10);
    }
    f.resize(ws::window::kSize);
    QCOMPARE(levelPlot()->surface(), asOpened);
}

// Frequencies under the grid lines, values beside the level plot, and the
// levels under the pointer after the readout: in a grown window only.
void TestDrawScans::aGrownWindowLabelsTheAxesAndThePointersLevels()
{
    load(ws::ScanSlot::Newest, scan(1053, [](bool, double f) { return (f - 10950) / 2; }));
    load(ws::ScanSlot::Reference, scan(1053, [](bool, double) { return 30.0; }));
    MainWindow &f = *w->window;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    PlotWidget *plot = levelPlot();
    const auto place = [this](const char *name) {
        return ws::test::placeInWindow(*w->element<QWidget>(name));
    };
    // Under the level plot, above the row of its end frequencies.
    const auto underThePlot = [&](double mhz, int halfWidth) {
        const int x = place(names::levelPlot).x() + plot->contentsRect().left()
            + int(std::floor(plot->toPixel(mhz, 0).x()));
        const int top = place(names::levelPlot).bottom() + 1;
        return QRect(x - halfWidth, top, 2 * halfWidth + 1,
                     place(names::startFrequencyLabel).top() - top);
    };
    // After the nearest entry's place at the default size.
    const auto afterTheReadout = [&] {
        const QRect entry = place(names::nearestEntryLabel);
        return QRect(entry.left() + 209, entry.top(), 200, entry.height());
    };
    const QRect wholeAxis = underThePlot(10950, 0) | underThePlot(11149, 0);
    QVERIFY(!showsText(f.picture(), wholeAxis));

    f.resize(1280, 800);
    QImage picture = f.picture();
    QVERIFY(showsText(picture, underThePlot(11000, 8)));
    QVERIFY(showsText(picture, underThePlot(11100, 8)));
    QVERIFY(!showsText(picture, underThePlot(11050, 8)));
    // Between the legend and the lowest level.
    const QRect top = place(names::levelTopLabel);
    const int legendEnd = place("Label4_9").bottom() + 1;
    QVERIFY(showsText(picture, QRect(top.left(), legendEnd, top.width(),
                                     place(names::levelBottomLabel).top() - legendEnd)));

    QVERIFY(!showsText(picture, afterTheReadout()));
    const QPointF at11000 = plot->toPixel(11000, 10) + plot->contentsRect().topLeft();
    QTest::mouseMove(plot, at11000.toPoint());
    QTRY_COMPARE(text(names::pointerFrequencyLabel), QStringLiteral("11000 MHz "));
    QVERIFY(showsText(f.picture(), afterTheReadout()));
    // Off the plots, the levels go with the readout.
    QTest::mouseMove(&f, QPoint(108, 300));
    QTRY_COMPARE(text(names::pointerFrequencyLabel), QString());
    QVERIFY(!showsText(f.picture(), afterTheReadout()));

    // Back at the default size, nothing of it.
    f.resize(ws::window::kSize);
    QVERIFY(!showsText(f.picture(), wholeAxis));
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestDrawScans)
#include "tst_drawscans.moc"
