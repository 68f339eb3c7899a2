#include "app/plotwidget.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

#include <vector>

class TestPlotWidget : public QObject
{
    Q_OBJECT

private slots:
    void startsInItsOwnPixels();
    void drawsInUserUnitsAndKeepsIt();
    void negativeHeightGrowsUpward();
    void clsErasesButKeepsTheScale();
    void farAwayPointsAreCutOffNotUndefined();
    void stepsWithinAColumnDrawTheirOwnPixels_data();
    void stepsWithinAColumnDrawTheirOwnPixels();
    void pointerReportsUserUnitsAndButton();
    void positionsAreReportedAtSinglePrecision();
    void theFrameIsNotPartOfThePlot();
};

namespace {
const QColor kBackground(0xF0, 0xF0, 0xF0);

struct Box
{
    Box()
    {
        box.setGeometry(0, 0, 104, 54); // 100 x 50 inside the border
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
    }
    PlotWidget box;
};
} // namespace

void TestPlotWidget::startsInItsOwnPixels()
{
    Box b;
    QCOMPARE(b.box.areaSize(), QSize(100, 50));
    QCOMPARE(b.box.scaleWidth(), 100.0);
    QCOMPARE(b.box.scaleHeight(), 50.0);
    QCOMPARE(b.box.toUser(QPointF(10, 20)), QPointF(10, 20));
}

void TestPlotWidget::drawsInUserUnitsAndKeepsIt()
{
    Box b;
    // 1000 units over 100 pixels: x = 10500 is pixel column 50.
    b.box.setScale(10000, 0, 1000, 10);
    b.box.setForeColor(QColor(255, 0, 0));
    b.box.line(10500, 0, 10500, 10);
    b.box.setForeColor(QColor(0, 0, 255));
    b.box.moveTo(10000, 5);
    b.box.lineTo(10100, 5);
    QImage img = b.box.surface();
    QCOMPARE(img.pixelColor(50, 10), QColor(255, 0, 0));
    QCOMPARE(img.pixelColor(51, 10), kBackground);
    QCOMPARE(img.pixelColor(5, 25), QColor(0, 0, 255));
    QCOMPARE(img.pixelColor(20, 25), kBackground);

    // A repaint does not lose what was drawn.
    b.box.repaint();
    QCOMPARE(b.box.surface().pixelColor(50, 10), QColor(255, 0, 0));
    const QImage grabbed = b.box.grab().toImage();
    QCOMPARE(grabbed.pixelColor(52, 12), QColor(255, 0, 0)); // inside the 2-pixel border
}

void TestPlotWidget::negativeHeightGrowsUpward()
{
    Box b;
    // +25 at the top, -25 at the bottom: 0 lies in the middle row.
    b.box.setScale(0, 25, 100, -50);
    QCOMPARE(b.box.toPixel(0, 0), QPointF(0, 25));
    QCOMPARE(b.box.toPixel(0, 20), QPointF(0, 5));
    QCOMPARE(b.box.scaleTop(), 25.0);
    QCOMPARE(b.box.scaleHeight(), -50.0);
}

void TestPlotWidget::clsErasesButKeepsTheScale()
{
    Box b;
    b.box.setScale(0, 0, 10, 10);
    b.box.line(0, 5, 10, 5);
    b.box.erase();
    QImage img = b.box.surface();
    for (int x = 0; x < 100; ++x)
        QCOMPARE(img.pixelColor(x, 25), kBackground);
    QCOMPARE(b.box.scaleWidth(), 10.0);
}

void TestPlotWidget::farAwayPointsAreCutOffNotUndefined()
{
    Box b;
    b.box.setScale(0, 0, 1, 1);
    b.box.setForeColor(Qt::black);
    b.box.line(-1e30, 0.5, 1e30, 0.5);
    b.box.line(0.5, std::nan(""), 0.5, 1);
    QImage img = b.box.surface();
    QCOMPARE(img.pixelColor(50, 25), QColor(Qt::black));
    QCOMPARE(img.pixelColor(50, 40), kBackground); // the line to NaN is left out

    // Coordinates so large that scaling them overflows stay off the area
    // instead of landing on its edge.
    b.box.erase();
    b.box.setScale(10700, 0, 2051, 200);
    b.box.line(1.7976931348623157e308, 0, 1.7976931348623157e308, 200);
    b.box.line(-1.7976931348623157e308, 0, -1.7976931348623157e308, 200);
    b.box.line(10700, std::numeric_limits<double>::infinity(), 10700, 1e308);
    img = b.box.surface();
    for (int x = 0; x < 100; ++x)
        for (int y = 0; y < 50; ++y)
            QCOMPARE(img.pixelColor(x, y), kBackground);
}

void TestPlotWidget::stepsWithinAColumnDrawTheirOwnPixels_data()
{
    // A random walk in the plot's own pixels: how far x and y move per step.
    QTest::addColumn<int>("xStep");
    QTest::addColumn<int>("yStep");
    // Each segment from somewhere in three columns rather than from where
    // the last one ended.
    QTest::addColumn<bool>("jumps");
    QTest::newRow("a dense curve") << 1 << 6 << false;
    QTest::newRow("mostly in one column") << 0 << 9 << false;
    QTest::newRow("across the edges") << 2 << 40 << false;
    QTest::newRow("far beyond") << 1 << 2000000 << false;
    QTest::newRow("segments apart") << 1 << 5 << true;
}

// The plot draws overlapping vertical steps as one line; the pixels are
// those of all the segments of a colour drawn in one call, points apart.
void TestPlotWidget::stepsWithinAColumnDrawTheirOwnPixels()
{
    QFETCH(int, xStep);
    QFETCH(int, yStep);
    QFETCH(bool, jumps);
    Box b;
    QImage expected(b.box.areaSize(), QImage::Format_RGB32);
    expected.fill(kBackground);
    QPainter reference(&expected);
    QRandomGenerator random(uint(xStep * 7919 + yStep + jumps));
    const QColor colours[] = {QColor(255, 0, 0), QColor(0, 0, 128)};
    for (const QColor &colour : colours) {
        b.box.setForeColor(colour);
        reference.setPen(QPen(colour, 1));
        QPoint at(random.bounded(100), random.bounded(50));
        // The plot gets the pixels' centres, which the scale maps into their
        // pixels without rounding doubts.
        b.box.moveTo(at.x() + 0.5, at.y() + 0.5);
        std::vector<QLine> lines;
        std::vector<QPoint> points;
        // Few segments apart, or they would fill their columns.
        for (int i = 0; i < (jumps ? 12 : 400); ++i) {
            if (jumps) {
                at = QPoint(40 + random.bounded(3), random.bounded(50));
                b.box.moveTo(at.x() + 0.5, at.y() + 0.5);
            }
            // One step in four moves along x, and one in eight stays put.
            const int dx = random.bounded(4) == 0 ? random.bounded(-xStep, xStep + 1) : 0;
            const int dy = random.bounded(8) == 0 ? 0 : random.bounded(-yStep, yStep + 1);
            const QPoint to(qBound(-5, at.x() + dx, 104), qBound(-2000000, at.y() + dy, 2000000));
            b.box.lineTo(to.x() + 0.5, to.y() + 0.5);
            // Far beyond the area the plot pulls points in (see
            // farAwayPointsAreCutOffNotUndefined).
            const auto pulledIn = [](QPoint p) {
                return QPoint(p.x(), qBound(-1000000, p.y(), 1000000));
            };
            if (pulledIn(to) == pulledIn(at))
                points.push_back(pulledIn(to));
            else
                lines.emplace_back(pulledIn(at), pulledIn(to));
            at = to;
        }
        reference.drawLines(lines.data(), int(lines.size()));
        reference.drawPoints(points.data(), int(points.size()));
    }
    reference.end();
    QCOMPARE(b.box.surface(), expected);
}

void TestPlotWidget::pointerReportsUserUnitsAndButton()
{
    Box b;
    b.box.setScale(10000, 0, 1000, 10);
    QSignalSpy presses(&b.box, &PlotWidget::pressed);
    QSignalSpy moves(&b.box, &PlotWidget::pointerMoved);
    // Pixel 52 of the widget is column 50 of the area; modifiers change
    // nothing.
    QTest::mousePress(&b.box, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier,
                      QPoint(52, 27));
    QTest::mouseRelease(&b.box, Qt::RightButton, {}, QPoint(52, 27));
    QTest::mousePress(&b.box, Qt::MiddleButton, Qt::AltModifier, QPoint(2, 2));
    QTest::mouseRelease(&b.box, Qt::MiddleButton, {}, QPoint(2, 2));
    QTest::mousePress(&b.box, Qt::LeftButton, {}, QPoint(101, 51));
    QCOMPARE(presses.size(), 3);
    QCOMPARE(presses[0][0].toDouble(), 10500.0);
    QCOMPARE(presses[0][1].value<Qt::MouseButton>(), Qt::RightButton);
    QCOMPARE(presses[1][0].toDouble(), 10000.0);
    QCOMPARE(presses[1][1].value<Qt::MouseButton>(), Qt::MiddleButton);
    QCOMPARE(presses[2][0].toDouble(), 10990.0);
    QCOMPARE(presses[2][1].value<Qt::MouseButton>(), Qt::LeftButton);

    // The second press of a double-click and the extra buttons press
    // nothing.
    QTest::mouseDClick(&b.box, Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mousePress(&b.box, Qt::BackButton, {}, QPoint(20, 20));
    QTest::mousePress(b.box.window()->windowHandle(), Qt::ForwardButton, {}, QPoint(20, 20));
    QCOMPARE(presses.size(), 3);

    QTest::mouseMove(&b.box, QPoint(12, 7));
    QTRY_VERIFY(!moves.isEmpty());
    QCOMPARE(moves.last()[0].toDouble(), 10100.0);
}

// Positions go out at single precision, as they always have: the readout
// and the spot check round them, so a value a hair below a half must not
// turn into one above it or the other way round.
void TestPlotWidget::positionsAreReportedAtSinglePrecision()
{
    Box b;
    // Column 1 is 10700 + 1/3 MHz, which single precision cannot hold.
    b.box.setScale(10700, 0, 100.0 / 3, 10);
    QSignalSpy presses(&b.box, &PlotWidget::pressed);
    QSignalSpy moves(&b.box, &PlotWidget::pointerMoved);
    QTest::mousePress(&b.box, Qt::LeftButton, {}, QPoint(3, 20));
    QTest::mouseMove(&b.box, QPoint(3, 21));
    QTRY_VERIFY(!moves.isEmpty());
    const double single = double(float(10700 + 1.0 / 3));
    QVERIFY(single != 10700 + 1.0 / 3);
    QCOMPARE(presses.value(0).value(0).toDouble(), single);
    QCOMPARE(moves.last()[0].toDouble(), single);
}

void TestPlotWidget::theFrameIsNotPartOfThePlot()
{
    Box b;
    // 10700 .. 10799 over the 100 columns inside the 2-pixel frame.
    b.box.setScale(10700, 0, 100, 10);
    QSignalSpy presses(&b.box, &PlotWidget::pressed);
    QSignalSpy moves(&b.box, &PlotWidget::pointerMoved);
    for (const QPoint frame : {QPoint(0, 20), QPoint(1, 20), QPoint(102, 20), QPoint(103, 20),
                               QPoint(50, 0), QPoint(50, 53)})
        QTest::mousePress(&b.box, Qt::LeftButton, {}, frame);
    QCOMPARE(presses.size(), 0);

    // Over the frame the readout stays on the nearest column.
    moves.clear();
    QTest::mouseMove(&b.box, QPoint(0, 1)); // (0, 0) would mean the centre
    QTRY_VERIFY(!moves.isEmpty());
    QCOMPARE(moves.last()[0].toDouble(), 10700.0);
    moves.clear();
    QTest::mouseMove(&b.box, QPoint(103, 53));
    QTRY_VERIFY(!moves.isEmpty());
    QCOMPARE(moves.last()[0].toDouble(), 10799.0);
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestPlotWidget)
#include "tst_plotwidget.moc"
