// A window made larger or smaller on the screen, from the resize until a
// picture of it is taken: the panels laid out again, the plots drawn anew to
// their new size and the whole window painted. The example scans and map
// are loaded; the window goes between 1900x1060 and 1920x1080, a maximised
// window on a full-HD screen with and without a panel. Target: a median of
// 50 under 16 ms, one frame at 60 Hz.
#include "app/mainwindow.h"
#include "app/receiverwork.h"
#include "app/plotspanel.h"
#include "app/workspace.h"

#include <QPixmap>

#include <memory>

#include "benchsupport.h"

namespace {

// One window for all the repetitions, loaded once; it goes before the
// application does.
struct LoadedWindow
{
    LoadedWindow()
    {
        window.show();
        const QString examples = QStringLiteral(WS_EXAMPLES_DIR "/");
        window.workspace().openFiles(
            {examples + "newest.scn", examples + "reference.scn", examples + "demo.map"});
    }
    ws::bench::QuietPlatform platform;
    MainWindow window{platform.platform()};
    bool larger = false;
};
std::unique_ptr<LoadedWindow> loaded;

void BM_ResizeUntilGrabbed(benchmark::State &state)
{
    if (!loaded)
        loaded = std::make_unique<LoadedWindow>();
    if (loaded->platform.failed) {
        state.SkipWithError("the example files did not load");
        return;
    }
    for (auto _ : state) {
        loaded->larger = !loaded->larger;
        loaded->window.resize(loaded->larger ? QSize(1920, 1080) : QSize(1900, 1060));
        benchmark::DoNotOptimize(loaded->window.grab());
    }
}
BENCHMARK(BM_ResizeUntilGrabbed)
    ->Iterations(1)
    ->Repetitions(50)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    loaded.reset();
    return 0;
}
