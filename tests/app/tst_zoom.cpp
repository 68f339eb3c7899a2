#include "app/plotwidget.h"
#include "core/numbers.h"
#include "plot/palette.h"
#include "plot/readout.h"
#include "scan/scantext.h"
#include "support/fakeplatform.h"
#include "support/plotground.h"
#include "support/mapentries.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using ws::test::FakeWindow;
namespace names = ws::window::names;

// Zooming and panning the frequency axis through the window: the wheel over
// the plots, the keys that end it, and what follows the visible range.
class TestZoom : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { w.reset(); }

    void wheelOverAnyPlotZoomsAllThree();
    void shiftOrHorizontalWheelPans();
    void wheelDoesNothingBeforeBothScans();
    void wheelOverTheStripGoesByTheStripsScale();
    void escapeCtrl0AndLoadsShowTheWholeRange();
    void readoutAndClickFollowTheZoom();

private:
    void loadScan(ws::ScanSlot slot, double first = 10700, double last = 12750)
    {
        ws::test::ScanShape shape;
        shape.start = first;
        shape.end = last;
        w->dialogs.pick(ws::test::writeFile(dir, QStringLiteral("scan%1.scn").arg(++files),
                                            ws::test::scanText(shape)));
        w->window->workspace().loadScan(slot);
        QVERIFY(w->dialogs.messages.isEmpty());
    }
    // Turns the wheel over the area's pixel column `column`.
    void wheel(PlotWidget *plot, int column, QPoint delta, Qt::KeyboardModifiers modifiers = {})
    {
        const QPointF pos = QPointF(plot->contentsRect().topLeft()) + QPointF(column, 10);
        QWheelEvent event(pos, plot->mapToGlobal(pos), QPoint(), delta, Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(plot, &event);
    }
    PlotWidget *plot(const char *name) const { return w->element<PlotWidget>(name); }
    QString text(const char *label) const { return w->element<QLabel>(label)->text(); }
    const ws::View &view() const { return w->window->plots().view(); }
    // All three plots are drawn on the view's scale.
    void verifyScales(double left, double width)
    {
        for (const char *name : {names::levelPlot, names::differencePlot, names::mapStrip}) {
            QCOMPARE(plot(name)->scaleLeft(), left);
            QCOMPARE(plot(name)->scaleWidth(), width);
        }
    }

    QTemporaryDir dir;
    int files = 0;
    std::unique_ptr<FakeWindow> w;
};

namespace {

// The column of the area where the scale puts f.
int column(PlotWidget *plot, double f)
{
    return int(std::floor(plot->toPixel(f, 0).x()));
}

} // namespace

void TestZoom::init()
{
    QVERIFY(dir.isValid());
    w = std::make_unique<FakeWindow>();
    w->window->show();
    QVERIFY(QTest::qWaitForWindowExposed(w->window.get()));
    loadScan(ws::ScanSlot::Newest);
    loadScan(ws::ScanSlot::Reference);
    using ws::test::mapFileLine;
    w->dialogs.pick(ws::test::writeFile(dir, QStringLiteral("sat.map"),
                                        mapFileLine("Station A", "MPEG2", "11.720", "H") +
                                            mapFileLine("Station B", "MPEG2", "11.778", "V") +
                                            mapFileLine("Station C", "MPEG2", "12.188", "H")));
    w->window->workspace().loadMap();
    QVERIFY(w->dialogs.messages.isEmpty());
}

void TestZoom::wheelOverAnyPlotZoomsAllThree()
{
    PlotWidget *levels = plot(names::levelPlot);
    const double under = levels->toUser(QPointF(318, 0)).x();
    wheel(levels, 318, {0, 120});
    QCOMPARE(view().span(), 1640.0);
    verifyScales(view().first(), 1641);
    // The frequency under the pointer stays there, and the readout says so.
    QCOMPARE(levels->toUser(QPointF(318, 0)).x(), under);
    QCOMPARE(text(names::pointerFrequencyLabel), ws::frequencyReadout(float(under)));
    const auto mhz = [](double f) { return ws::formatNumber(ws::roundHalfEven(f)) + " MHz"; };
    QCOMPARE(text(names::startFrequencyLabel), mhz(view().first()));
    QCOMPARE(text(names::endFrequencyLabel), mhz(view().last()));

    // A touchpad's parts of a notch add up, over any of the plots.
    wheel(plot(names::differencePlot), 100, {0, 60});
    QCOMPARE(view().span(), 1640.0);
    wheel(plot(names::mapStrip), 100, {0, 60});
    QCOMPARE(view().span(), 1312.0);
    wheel(plot(names::mapStrip), 500, {0, 240});
    QCOMPARE(view().span(), 839.68);
    verifyScales(view().first(), view().span() + 1);

    // The strip's lines stand where the zoomed plots have their frequency.
    PlotWidget *strip = plot(names::mapStrip);
    const QImage image = strip->surface();
    QCOMPARE(column(strip, 11778), column(levels, 11778));
    QCOMPARE(image.pixelColor(column(strip, 11778), 20), ws::palette::mapVertical);
    QCOMPARE(image.pixelColor(column(strip, 11778) - 2, 20), ws::test::plotGround());

    // Turned back as far as it goes: the whole range, as it was drawn
    // before any zoom.
    wheel(levels, 318, {0, -120 * 20});
    QVERIFY(!view().zoomed());
    verifyScales(10700, 2051);
    QCOMPARE(text(names::startFrequencyLabel), QStringLiteral("10700 MHz"));
    QCOMPARE(text(names::endFrequencyLabel), QStringLiteral("12750 MHz"));
}

void TestZoom::shiftOrHorizontalWheelPans()
{
    w->window->plots().zoomAround(11500, 10);
    const double first = view().first();
    const double span = view().span();
    // Away from the user, or to the left: towards the lower frequencies.
    wheel(plot(names::levelPlot), 300, {0, 120}, Qt::ShiftModifier);
    QCOMPARE(view().first(), first - span / 10);
    QCOMPARE(view().span(), span);
    wheel(plot(names::mapStrip), 300, {-240, 0});
    QCOMPARE(view().first(), first + span / 10);
    verifyScales(view().first(), span + 1);
    wheel(plot(names::differencePlot), 300, {0, -120 * 100}, Qt::ShiftModifier);
    QCOMPARE(view().last(), 12750.0);
    QCOMPARE(text(names::endFrequencyLabel), QStringLiteral("12750 MHz"));
}

void TestZoom::wheelDoesNothingBeforeBothScans()
{
    w = std::make_unique<FakeWindow>();
    loadScan(ws::ScanSlot::Newest);
    PlotWidget *levels = plot(names::levelPlot);
    wheel(levels, 300, {0, 120});
    w->window->plots().zoomAround(11000, 1);
    QVERIFY(!view().zoomed());
    QCOMPARE(levels->scaleWidth(), double(levels->areaSize().width()));
    QCOMPARE(text(names::startFrequencyLabel), QString());
}

void TestZoom::wheelOverTheStripGoesByTheStripsScale()
{
    // The plots now show 11000 to 12000, the strip still the map's 10700 to 12750.
    loadScan(ws::ScanSlot::Newest, 11000, 12000);
    loadScan(ws::ScanSlot::Reference, 11000, 12000);
    PlotWidget *strip = plot(names::mapStrip);
    const int at = strip->areaSize().width() / 2;
    const double under = strip->toUser(QPointF(at, 0)).x();
    QVERIFY(qAbs(under - 11725) < 2);
    ws::View expected({11000, 12000});
    expected.zoomAt(under, 1);
    wheel(strip, at, {0, 120});
    QCOMPARE(view(), expected);
}

void TestZoom::escapeCtrl0AndLoadsShowTheWholeRange()
{
    MainWindow &f = *w->window;
    f.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    PlotWidget *strip = plot(names::mapStrip);
    const QImage wholeStrip = strip->surface();

    // Whatever has the focus, a text box too.
    auto *portBox = w->element<QLineEdit>(names::portBox);
    portBox->setFocus();
    const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {{Qt::Key_Escape, {}},
                                                              {Qt::Key_0, Qt::ControlModifier}};
    for (const auto &[key, modifiers] : keys) {
        f.plots().zoomAround(11778, 5);
        QVERIFY(view().zoomed());
        QTest::keyClick(portBox, key, modifiers);
        QVERIFY(!view().zoomed());
        verifyScales(10700, 2051);
        QCOMPARE(text(names::startFrequencyLabel), QStringLiteral("10700 MHz"));
        QCOMPARE(text(names::endFrequencyLabel), QStringLiteral("12750 MHz"));
        QCOMPARE(strip->surface(), wholeStrip);
        QCOMPARE(portBox->text(), QStringLiteral("2"));
    }

    // A load unzoomed leaves the strip as it is, on the scale of the map's
    // load, while the plots take the new range.
    loadScan(ws::ScanSlot::Newest, 11000, 11500);
    loadScan(ws::ScanSlot::Reference, 11000, 11500);
    QCOMPARE(plot(names::levelPlot)->scaleLeft(), 11000.0);
    QCOMPARE(strip->scaleLeft(), 10700.0);
    // Zoomed, the strip follows the view; a load ends the zoom and puts
    // the strip back on the map's scale.
    f.plots().zoomAround(11200, 3);
    QCOMPARE(strip->scaleLeft(), view().first());
    loadScan(ws::ScanSlot::Newest, 11000, 11400);
    QVERIFY(!view().zoomed());
    QCOMPARE(plot(names::levelPlot)->scaleLeft(), 11000.0);
    QCOMPARE(plot(names::levelPlot)->scaleWidth(), 501.0);
    QCOMPARE(strip->scaleLeft(), 10700.0);
    QCOMPARE(strip->scaleWidth(), 2051.0);
    QCOMPARE(strip->surface(), wholeStrip);
}

void TestZoom::readoutAndClickFollowTheZoom()
{
    // A receiver that never answers, and a time-out that ends the wait at
    // the first poll: this is about what the click sends.
    w->clock.step = 1;
    w->element<QLineEdit>(names::timeoutBox)->setText("0");
    MainWindow &f = *w->window;
    f.plots().zoomAround(11778, 100);
    QCOMPARE(view().span(), 20.0);

    // Column 318 of 637 is about 11724 MHz unzoomed; now it lies within a
    // few MHz of 11778, about 30 pixels to the MHz.
    PlotWidget *levels = plot(names::levelPlot);
    const double at318 = view().frequencyAt(318.0 / levels->areaSize().width());
    QVERIFY(qAbs(at318 - 11778) < 2);
    const QPoint pos = levels->contentsRect().topLeft() + QPoint(318, 20);
    QTest::mouseMove(levels, pos);
    QTRY_COMPARE(text(names::pointerFrequencyLabel), ws::frequencyReadout(float(at318)));
    QVERIFY(text(names::nearestEntryLabel).startsWith(QLatin1String("11778V")));

    QTest::mousePress(levels, Qt::LeftButton, {}, pos);
    const QByteArray tuned = QByteArray::number(ws::roundHalfEven(float(at318)));
    QCOMPARE(w->serial.written.value(1), "T" + tuned + "000005010");

    // Back at the whole range, the readout names what is under the resting
    // pointer now.
    f.plots().showWholeRange();
    QCOMPARE(text(names::pointerFrequencyLabel), QStringLiteral("11724 MHz "));
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestZoom)
#include "tst_zoom.moc"
