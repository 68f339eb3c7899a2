#include "drawscans.h"
#include "levels.h"
#include "scanfile.h"

#include <QtTest>

#include <memory>

// The level lookup, the scale texts and the grid, and what the plot asks of
// its canvas, without a window.
class TestLevels : public QObject
{
    Q_OBJECT

private slots:
    void lookupFollowsTheBandOfTheFrequency_data();
    void lookupFollowsTheBandOfTheFrequency();
    void levelAtReadsTheSlotsOwnTable();
    void gridRoundsHalfToEven_data();
    void gridRoundsHalfToEven();
    void scaleTextsFromTheCombinedSlots();
    void combinedSlotsAndCommonRange();
    void pointsOutsideTheTableAreLeftOut();
    void differencesOnlyOverTheCommonRange();
};

namespace {

std::unique_ptr<ws::SharedState> withLnb(int slot, int code)
{
    auto s = std::make_unique<ws::SharedState>();
    const ws::LnbType *lnb = ws::findLnb(code);
    Q_ASSERT(lnb);
    s->fswitch[slot] = lnb->fswitch;
    s->lolow[slot] = lnb->lolow;
    s->lohigh[slot] = lnb->lohigh;
    return s;
}

// Records what the plot draws instead of rendering it.
class RecordingCanvas : public ws::Canvas
{
public:
    struct Op
    {
        char kind; // 'm' move, 'l' line to, 'L' line between two points
        double x;
        double y;
        QColor color;
    };

    void cls() override { ops.clear(); }
    void setScale(double l, double t, double w, double h) override
    {
        left = l;
        top = t;
        width = w;
        height = h;
    }
    double scaleLeft() const override { return left; }
    double scaleTop() const override { return top; }
    double scaleWidth() const override { return width; }
    double scaleHeight() const override { return height; }
    void setForeColor(QColor c) override { color = c; }
    void moveTo(double x, double y) override { ops.push_back({'m', x, y, color}); }
    void lineTo(double x, double y) override { ops.push_back({'l', x, y, color}); }
    void line(double, double, double x2, double y2) override
    {
        ops.push_back({'L', x2, y2, color});
    }

    std::vector<Op> of(const QColor &c) const
    {
        std::vector<Op> out;
        for (const Op &op : ops) {
            if (op.color == c && op.kind != 'L')
                out.push_back(op);
        }
        return out;
    }

    std::vector<Op> ops;
    QColor color;
    double left = 0, top = 0, width = 1, height = 1;
};

} // namespace

void TestLevels::lookupFollowsTheBandOfTheFrequency_data()
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

void TestLevels::lookupFollowsTheBandOfTheFrequency()
{
    QFETCH(int, lnb);
    QFETCH(double, f);
    QFETCH(bool, found);
    QFETCH(bool, high);
    QFETCH(int, cell);

    const auto s = withLnb(2, lnb);
    const std::optional<ws::LevelCell> c = ws::levelCell(*s, 2, f);
    QCOMPARE(bool(c), found);
    if (c) {
        QCOMPARE(c->highBand, high);
        QCOMPARE(c->index, cell);
    }
}

void TestLevels::levelAtReadsTheSlotsOwnTable()
{
    auto s = withLnb(1, 1044);
    s->hlow[1][1950] = 1;
    s->hhigh[1][1101] = 2;
    s->vlow[1][1950] = 3;
    s->vhigh[1][1101] = 4;
    s->hlow[2][1950] = 5; // slot 2 has no LNB: with oscillators 0, 11700 has no cell
    using ws::Polarisation;
    QCOMPARE(ws::levelAt(*s, 1, Polarisation::Horizontal, 11700), std::optional<double>(1));
    QCOMPARE(ws::levelAt(*s, 1, Polarisation::Horizontal, 11701), std::optional<double>(2));
    QCOMPARE(ws::levelAt(*s, 1, Polarisation::Vertical, 11700), std::optional<double>(3));
    QCOMPARE(ws::levelAt(*s, 1, Polarisation::Vertical, 11701), std::optional<double>(4));
    QVERIFY(!ws::levelAt(*s, 2, Polarisation::Horizontal, 11700));
}

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

void TestLevels::scaleTextsFromTheCombinedSlots()
{
    auto s = std::make_unique<ws::SharedState>();
    s->fstart = {0, 10700, 10950.5};
    s->fend = {0, 12750, 11000};
    s->smin = {0, 3, 10};
    s->smax = {0, 40, 57};
    ws::combineSlots(*s);
    const ws::ScaleTexts t = ws::scaleTexts(*s);
    QCOMPARE(t.left, QStringLiteral("10700 MHz"));
    QCOMPARE(t.right, QStringLiteral("12750 MHz"));
    QCOMPARE(t.top, QStringLiteral("57"));
    QCOMPARE(t.bottom, QStringLiteral("3"));
    QCOMPARE(t.diffTop, QStringLiteral("55"));
    QCOMPARE(t.diffBottom, QStringLiteral("-55"));

    s->smin = {0, 0.1, 0.1};
    s->smax = {0, 0.3, 0.2};
    ws::combineSlots(*s);
    QCOMPARE(ws::scaleTexts(*s).diffTop, QStringLiteral("1.2")); // single precision
}

void TestLevels::combinedSlotsAndCommonRange()
{
    auto s = std::make_unique<ws::SharedState>();
    s->fstart = {0, 10700, 11800};
    s->fend = {0, 11700, 12750};
    ws::combineSlots(*s);
    QCOMPARE(s->fstart[0], 10700.0);
    QCOMPARE(s->fend[0], 12750.0);
    QCOMPARE(s->ovstart, 11800.0);
    QCOMPARE(s->ovend, 11700.0);
    const ws::FrequencyScale scale = ws::FrequencyScale::of(*s);
    QCOMPARE(scale.left, 10700.0);
    QCOMPARE(scale.width, 2051.0);
}

void TestLevels::pointsOutsideTheTableAreLeftOut()
{
    // A universal scan whose header claims 7000 to 8000 MHz: below 7600 the
    // intermediate frequency would exceed 2150.
    auto s = withLnb(1, 1044);
    s->fstart[1] = 7000;
    s->fend[1] = 8000;
    s->hpol[1] = true;
    s->hlow[1][2150] = 9; // 9750 - 7600
    s->fstart[2] = 0;
    s->fend[2] = 1e12; // absurd, and must not take forever
    s->vpol[2] = true;
    ws::combineSlots(*s);
    RecordingCanvas c;
    ws::drawLevelPlot(*s, c);

    const auto curve = c.of(ws::plotcolors::horizontalNew);
    QCOMPARE(curve.size(), size_t(401));
    QCOMPARE(curve.front().kind, 'm');
    QCOMPARE(curve.front().x, 7600.0);
    QCOMPARE(curve.front().y, -9.0); // L1 is 0 here
    QCOMPARE(curve.back().kind, 'l');
    QCOMPARE(curve.back().x, 8000.0);
    // Slot 2 has no LNB fields: oscillator 0, so only 0 to 2150 has cells.
    const auto other = c.of(ws::plotcolors::verticalOld);
    QCOMPARE(other.size(), size_t(2151));
    QCOMPARE(other.back().x, 2150.0);
}

void TestLevels::differencesOnlyOverTheCommonRange()
{
    auto s = withLnb(1, 1058);
    const ws::LnbType *lband = ws::findLnb(1058);
    s->fswitch[2] = lband->fswitch;
    s->hpol = {false, true, true};
    s->vpol = {false, true, false};
    s->fstart = {0, 1000, 1100.4};
    s->fend = {0, 1300, 1400};
    s->hlow[1][1150] = 40;
    s->hlow[2][1150] = 30;
    ws::combineSlots(*s);
    RecordingCanvas c;
    ws::drawDifferencePlot(*s, c);

    QCOMPARE(c.top, s->smax[0] - s->smin[0] + 1);
    QCOMPARE(c.height, -2 * c.top);
    const auto diff = c.of(ws::plotcolors::horizontalDiff);
    QCOMPARE(diff.size(), size_t(201)); // 1100 to 1300
    QCOMPARE(diff.front().x, 1100.0);
    QCOMPARE(diff[50].y, 10.0);
    QVERIFY(c.of(ws::plotcolors::verticalDiff).empty()); // reference has no vertical
    QCOMPARE(c.ops.back().kind, 'L'); // the zero line, last
    QCOMPARE(c.ops.back().color, ws::plotcolors::zeroLine);
}

QTEST_GUILESS_MAIN(TestLevels)
#include "tst_levels.moc"
