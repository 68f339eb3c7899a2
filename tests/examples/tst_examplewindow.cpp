// The example files as a newcomer meets them: loaded through the window's
// own buttons, drawn, and the map strip's lines standing on the humps of the
// level plot, also zoomed in. Set WS_GRAB=<file.png> to keep a picture of
// the window, and one of the zoomed window beside it (<file>-zoomed.png).
#include "app/plotwidget.h"
#include "plot/levels.h"
#include "plot/palette.h"
#include "support/fakeplatform.h"
#include "support/plotground.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace names = ws::window::names;

namespace {

const QString examples = QStringLiteral(WS_EXAMPLES_DIR "/");
// The generator's noise floor stays below this level.
constexpr double kFloorLevel = 190;

bool isBackground(QColor c) { return c == ws::test::plotGround(); }
bool isGrid(QColor c) { return c == ws::palette::grid; }

} // namespace

class TestExampleWindow : public QObject
{
    Q_OBJECT

private slots:
    void examplesLoadAndTheMapSitsOnTheHumps();

private:
    void verifyLinesStandOnHumps(ws::test::FakeWindow &w);
};

void TestExampleWindow::examplesLoadAndTheMapSitsOnTheHumps()
{
    ws::test::FakeWindow w;
    MainWindow &f = *w.window;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));

    w.dialogs.pick(examples + QStringLiteral("newest.scn"));
    f.workspace().loadScan(ws::ScanSlot::Newest);
    w.dialogs.pick(examples + QStringLiteral("reference.scn"));
    f.workspace().loadScan(ws::ScanSlot::Reference);
    QVERIFY2(w.dialogs.messages.isEmpty(), qPrintable(w.dialogs.messages.join(QLatin1Char('|'))));
    const QLatin1String summary(" univ hv 10700-12750 MHz");
    QVERIFY(w.element<QLabel>(names::newestLabel)->text().endsWith(summary));
    QVERIFY(w.element<QLabel>(names::referenceLabel)->text().endsWith(summary));
    QCOMPARE(w.element<QLabel>(names::startFrequencyLabel)->text(), QStringLiteral("10700 MHz"));
    QCOMPARE(w.element<QLabel>(names::endFrequencyLabel)->text(), QStringLiteral("12750 MHz"));
    QVERIFY(w.element<QPushButton>(names::loadMapButton)->isEnabled());

    w.dialogs.pick(examples + QStringLiteral("demo.map"));
    f.workspace().loadMap();
    QVERIFY(w.dialogs.messages.isEmpty());
    const ws::MapData &map = w.map();
    QVERIFY(map.entries.size() > 20);
    QVERIFY(
        w.element<QPlainTextEdit>(names::logBox)->toPlainText().startsWith(map.entries[0].name));

    const QString grab = qEnvironmentVariable("WS_GRAB");
    if (!grab.isEmpty())
        f.grab().save(grab);
    verifyLinesStandOnHumps(w);
    if (QTest::currentTestFailed())
        return;

    // Zoomed in on a part of the band, the lines still stand on the humps.
    f.plots().zoomAround(map.entries[map.entries.size() / 2].frequency, 8);
    QVERIFY(w.window->plots().view().span() < 400);
    if (!grab.isEmpty())
        f.grab().save(QFileInfo(grab).path() + "/" + QFileInfo(grab).completeBaseName()
                      + "-zoomed.png");
    verifyLinesStandOnHumps(w);
}

// Under each line of the map strip that shows, within a pixel, some curve
// of the level plot rises clearly above the noise floor.
void TestExampleWindow::verifyLinesStandOnHumps(ws::test::FakeWindow &w)
{
    PlotWidget *mapStrip = w.element<PlotWidget>(names::mapStrip);
    PlotWidget *levelPlot = w.element<PlotWidget>(names::levelPlot);
    const QImage strip = mapStrip->surface();
    const QImage levels = levelPlot->surface();
    const double top = ws::PlotRange::of(*w.scans().newest, *w.scans().reference).maxLevel;
    const int floorRow = int(levelPlot->toPixel(0, top - kFloorLevel).y());
    int shown = 0;
    for (const ws::MapEntry &entry : w.map().entries) {
        const int column = int(std::floor(mapStrip->toPixel(entry.frequency, 0).x()));
        if (column < 0 || column >= strip.width())
            continue;
        ++shown;
        const QString what = entry.frequencyText + entry.polarisation;
        QVERIFY2(!isBackground(strip.pixelColor(column, strip.height() / 2)), qPrintable(what));

        bool hump = false;
        for (int c = qMax(0, column - 1); c <= qMin(levels.width() - 1, column + 1) && !hump; ++c)
            for (int y = 0; y < floorRow && !hump; ++y) {
                const QColor colour = levels.pixelColor(c, y);
                hump = !isBackground(colour) && !isGrid(colour);
            }
        QVERIFY2(hump, qPrintable(what + QStringLiteral(" has no hump under it")));
    }
    QVERIFY(shown > 0);
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestExampleWindow)
#include "tst_examplewindow.moc"
