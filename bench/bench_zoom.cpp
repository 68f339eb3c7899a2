// A notch of the mouse wheel over a plot redraws all three plots: two full
// universal hv scans (four level curves and two difference curves) and a
// map of 16384 entries, the most lines a map file may have, in the strip. Target: under 5 ms per notch.
#include "app/mainwindow.h"
#include "app/plotspanel.h"
#include "app/receiverwork.h"
#include "app/workspace.h"
#include "app/plotwidget.h"
#include "scan/scantext.h"
#include "support/mapentries.h"
#include "support/windowelement.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QWheelEvent>

#include "benchsupport.h"

namespace {

struct ZoomWindow
{
    ZoomWindow()
        : window(platform.platform())
    {
        window.show();
        ws::test::ScanShape reference;
        reference.level = [](bool vertical, double f) {
            return (vertical ? 15 : 5) + std::fmod(f, 11);
        };
        platform.next = ws::test::writeFile(dir, QStringLiteral("newest.scn"), ws::test::scanText({}));
        window.workspace().loadScan(ws::ScanSlot::Newest);
        platform.next = ws::test::writeFile(dir, QStringLiteral("reference.scn"),
                                            ws::test::scanText(reference));
        window.workspace().loadScan(ws::ScanSlot::Reference);

        // Eight entries to a MHz from 10700 MHz on, all polarisations.
        QByteArray map;
        for (int row = 0; row < ws::kMaxMapLines; ++row) {
            map += ws::test::mapFileLine("Station", "MPEG2",
                                         QByteArray::number((10700 + row / 8) / 1000.0, 'f', 3),
                                         QByteArray(1, "HVL"[row % 3]));
        }
        platform.next = ws::test::writeFile(dir, QStringLiteral("full.map"), map);
        window.workspace().loadMap();
        if (window.workspace().map().entries.size() != ws::kMaxMapLines)
            platform.failed = true;
        levelPlot = ws::test::element<PlotWidget>(window, ws::window::names::levelPlot);
    }

    // One notch in (positive) or out over the middle of the level plot.
    void notch(int direction)
    {
        const QPointF pos = QPointF(levelPlot->contentsRect().center());
        QWheelEvent event(pos, levelPlot->mapToGlobal(pos), QPoint(), QPoint(0, 120 * direction),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(levelPlot, &event);
    }

    QTemporaryDir dir;
    ws::bench::QuietPlatform platform;
    MainWindow window;
    PlotWidget *levelPlot = nullptr;
};

// Zoomed in `range(0)` notches first, then one notch in and one out in
// turn: at 0 that is between the whole range (all 2051 points per curve)
// and 4/5 of it, the widest zoomed drawing; deeper, fewer points show.
void run(benchmark::State &state, bool onScreen)
{
    ZoomWindow w;
    for (int i = 0; i < state.range(0); ++i)
        w.notch(1);
    if (w.platform.failed)
        state.SkipWithError("loading the scans or the map failed");
    int direction = 1;
    for (auto _ : state) {
        w.notch(direction);
        direction = -direction;
        // The plots copy their drawing to the screen, the labels repaint.
        if (onScreen)
            QCoreApplication::processEvents();
    }
}

void BM_WheelNotch(benchmark::State &state) { run(state, false); }
BENCHMARK(BM_WheelNotch)->Arg(0)->Arg(5)->Arg(15)->Unit(benchmark::kMillisecond);

// The same, and the window painted as it then shows.
void BM_WheelNotchPainted(benchmark::State &state) { run(state, true); }
BENCHMARK(BM_WheelNotchPainted)->Arg(0)->Arg(5)->Arg(15)->Unit(benchmark::kMillisecond);

} // namespace

WS_BENCHMARK_MAIN_WITH_WIDGETS()
