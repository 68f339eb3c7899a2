#include "app/mainwindow.h"
#include "app/plotspanel.h"
#include "app/receiverwork.h"
#include "app/workspace.h"
#include "app/plotwidget.h"
#include "plot/drawscans.h"
#include "scan/scanfile.h"
#include "scan/scantext.h"
#include "support/windowelement.h"

#include <QApplication>
#include <QTemporaryDir>

#include "benchsupport.h"

#include <memory>

// Drawing two full universal hv scans (four level curves of 2051 points and
// two difference curves) into the window's real plot boxes.
namespace {

struct LoadedWindow
{
    LoadedWindow()
        : window(platform.platform())
    {
        window.show();
        ws::test::ScanShape reference;
        reference.level = [](bool vertical, double f) { return (vertical ? 15 : 5) + std::fmod(f, 11); };
        platform.next = ws::test::writeFile(dir, QStringLiteral("newest.scn"), ws::test::scanText({}));
        window.workspace().loadScan(ws::ScanSlot::Newest);
        platform.next = ws::test::writeFile(dir, QStringLiteral("reference.scn"),
                                            ws::test::scanText(reference));
        window.workspace().loadScan(ws::ScanSlot::Reference);
    }

    QTemporaryDir dir;
    ws::bench::QuietPlatform platform;
    MainWindow window;
};

} // namespace

// The drawing itself, on the window's plot boxes.
static void BM_DrawScans(benchmark::State &state)
{
    LoadedWindow w;
    if (w.platform.failed)
        state.SkipWithError("loading the scans failed");
    for (auto _ : state) {
        const ws::Scans &scans = w.window.workspace().scans();
        namespace names = ws::window::names;
        const ws::ScaleTexts texts = ws::drawScans(
            *scans.newest, *scans.reference,
            ws::View::whole(ws::PlotRange::of(*scans.newest, *scans.reference)),
            *ws::test::element<PlotWidget>(w.window, names::levelPlot),
            *ws::test::element<PlotWidget>(w.window, names::differencePlot));
        benchmark::DoNotOptimize(texts);
    }
}
BENCHMARK(BM_DrawScans)->Unit(benchmark::kMillisecond);

// A whole click on "Load Reference ...": read, parse, fill the slot, draw, labels.
static void BM_LoadReferenceAndDraw(benchmark::State &state)
{
    LoadedWindow w;
    for (auto _ : state)
        w.window.workspace().loadScan(ws::ScanSlot::Reference);
    if (w.platform.failed)
        state.SkipWithError("loading the scans failed");
}
BENCHMARK(BM_LoadReferenceAndDraw)->Unit(benchmark::kMillisecond);

WS_BENCHMARK_MAIN_WITH_WIDGETS()
