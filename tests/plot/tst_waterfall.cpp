#include "plot/palette.h"
#include "plot/waterfall.h"
#include "support/recordingcanvas.h"

#include <QTest>

#include <cmath>
#include <limits>

// The waterfall: which scan a pixel row shows, what a pixel column shows,
// the colour map, and the trend plot.
namespace {

// The scan each pixel row shows, one digit per row.
QString shownScans(const ws::WaterfallRows &rows, int pixelRows)
{
    QString shown;
    for (int y = 0; y < pixelRows; ++y)
        shown += QString::number(rows.scanAt(y));
    return shown;
}

// CIE lightness of an sRGB colour, a measure of its own beside OKLab.
double lightness(QRgb c)
{
    const auto linear = [](int v) {
        const double x = v / 255.0;
        return x <= 0.04045 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
    };
    const double y = 0.2126 * linear(qRed(c)) + 0.7152 * linear(qGreen(c)) +
                     0.0722 * linear(qBlue(c));
    return y > 0.008856 ? 116 * std::cbrt(y) - 16 : 903.3 * y;
}

const float kNone = std::numeric_limits<float>::quiet_NaN();

} // namespace

class TestWaterfall : public QObject
{
    Q_OBJECT

private slots:
    void pixelRowsStandForScans_data()
    {
        QTest::addColumn<int>("scans");
        QTest::addColumn<int>("pixels");
        QTest::addColumn<int>("preferred");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("scan");
        QTest::addColumn<QString>("band");
        QTest::newRow("two rows each") << 3 << 6 << -1 << "001122" << 1 << "2-4";
        QTest::newRow("uneven bands") << 3 << 4 << -1 << "0012" << 1 << "2-3";
        QTest::newRow("the newest of a run") << 10 << 4 << -1 << "1469" << 4 << "1-2";
        QTest::newRow("the preferred instead") << 10 << 4 << 3 << "1369" << 3 << "1-2";
        QTest::newRow("hidden in a run") << 10 << 4 << -1 << "1469" << 3 << "1-1";
    }
    void pixelRowsStandForScans()
    {
        QFETCH(int, scans);
        QFETCH(int, pixels);
        QFETCH(int, preferred);
        QFETCH(QString, shown);
        QFETCH(int, scan);
        QFETCH(QString, band);
        const ws::WaterfallRows rows(scans, pixels, preferred);
        QCOMPARE(shownScans(rows, pixels), shown);
        QCOMPARE(rows.scanAt(-1), -1);
        QCOMPARE(rows.scanAt(pixels), -1);
        const ws::WaterfallRows::Band b = rows.bandOf(scan);
        QCOMPARE(QStringLiteral("%1-%2").arg(b.top).arg(b.bottom), band);
    }

    // 8 MHz across 4 pixels: each column covers two whole MHz.
    void aColumnShowsTheHighestLevelOfItsMhz()
    {
        const float first[] = {0, 10, kNone, kNone, 5, 5, 1, 2};
        const float second[] = {10, 0};
        const std::vector<ws::WaterfallRow> rows = {{10700, first, 8}, {10704, second, 2}};
        QImage image(4, 2, QImage::Format_RGB32);
        ws::drawWaterfall(image, image.rect(), rows, ws::WaterfallRows(2, 2),
                          ws::View({10700, 10707}), 0, 10);
        const QRgb none = QColor(0xF0, 0xF0, 0xF0).rgb();
        const QRgb expected[2][4] = {
            {ws::levelColour(1), none, ws::levelColour(0.5), ws::levelColour(0.2)},
            {none, none, ws::levelColour(1), none}};
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 4; ++x)
                QCOMPARE(image.pixel(x, y), expected[y][x]);
        }
        // 10704 and 10705 across: two pixels per MHz.
        ws::drawWaterfall(image, image.rect(), rows, ws::WaterfallRows(2, 2),
                          ws::View({10704, 10705}), 0, 10);
        QCOMPARE(image.pixel(0, 1), ws::levelColour(1));
        QCOMPARE(image.pixel(3, 1), ws::levelColour(0));
    }

    void coloursGrowLighterInEvenSteps()
    {
        constexpr int steps = 16;
        std::vector<double> l;
        for (int i = 0; i <= steps; ++i)
            l.push_back(lightness(ws::levelColour(double(i) / steps)));
        QVERIFY2(l.front() < 25 && l.back() > 90, qPrintable(QString::number(l.back())));
        const double mean = (l.back() - l.front()) / steps;
        for (int i = 1; i <= steps; ++i) {
            const double step = l[size_t(i)] - l[size_t(i) - 1];
            QVERIFY2(step > 0.6 * mean && step < 1.4 * mean, qPrintable(QString::number(i)));
        }
        QCOMPARE(ws::levelColour(-5), ws::levelColour(0));
        QCOMPARE(ws::levelColour(std::nan("")), ws::levelColour(0));
    }

    void trendLeavesGapsAndMarksTheScan()
    {
        ws::test::RecordingCanvas canvas;
        ws::drawTrend(canvas, {10.0, std::nullopt, 30.0, 20.0}, 2);
        // Four scans across, the levels 10 to 30 with a tenth of that above
        // and below.
        QCOMPARE(canvas.left, -0.5);
        QCOMPARE(canvas.width, 4.0);
        QCOMPARE(canvas.top, 32.0);
        QCOMPARE(canvas.height, -24.0);
        QCOMPARE(canvas.ops.size(), size_t(4));
        QCOMPARE(canvas.ops[0].color, ws::palette::grid);
        QCOMPARE(canvas.ops[0].x, 2.0);
        QString points;
        for (size_t i = 1; i < canvas.ops.size(); ++i)
            points += QStringLiteral("%1(%2,%3)")
                          .arg(canvas.ops[i].kind)
                          .arg(canvas.ops[i].x)
                          .arg(canvas.ops[i].y);
        QCOMPARE(points, QStringLiteral("L(0,10)L(2,30)l(3,20)"));
    }

    // The best position has a mark of its own, under the pointer's.
    void trendMarksTheBestPosition()
    {
        ws::test::RecordingCanvas canvas;
        ws::drawTrend(canvas, {10.0, 30.0, 20.0}, 2, 1);
        QCOMPARE(canvas.ops.size(), size_t(5));
        QCOMPARE(canvas.ops[0].color, ws::palette::legendGreen);
        QCOMPARE(canvas.ops[0].x, 1.0);
        QCOMPARE(canvas.ops[1].color, ws::palette::grid);
        QCOMPARE(canvas.ops[1].x, 2.0);
    }
};

#include "support/testrunner.h"
WS_TEST_CLASS(TestWaterfall)
#include "tst_waterfall.moc"
