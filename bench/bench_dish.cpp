// The dish view and its tone.
// - One update of the view at 1920 x 1080 with two minutes of replies at 25
//   a second in its chart: a reply, then a paint; target at most 2 ms.
// - A second of the tone's samples: its share of one core is the time
//   taken, as a share of a second.
// - Memory after 90,000 replies of a watch on the fake line and clock, with
//   the view following, against after 1,000; target within 2 MiB.
#include "app/dishview.h"
#include "receiver/signalwatch.h"
#include "support/fakes.h"

#include "benchsupport.h"
#include "processmemory.h"

#include <QImage>
#include <QPainter>

#include <cmath>

namespace {

using ws::receiver::Polarisation;
using ws::receiver::WatchState;

void viewUpdate(benchmark::State &state)
{
    ws::test::FakeClock clock;
    DishView view(clock, nullptr);
    view.resize(1920, 1080);
    view.begun(QStringLiteral("11778"), Polarisation::Horizontal);
    QImage image(view.size(), QImage::Format_RGB32);
    int reply = 0;
    const auto replyOnce = [&] {
        clock.currentMs += 40;
        const double level = 50 + 50 * std::sin(reply++ / 100.0);
        view.replied(level > 50 ? WatchState::Locked : WatchState::NoLock, QString(), level);
    };
    for (int i = 0; i < DishView::kChartSeconds * 25; ++i)
        replyOnce();
    view.render(&image);
    for (auto _ : state) {
        replyOnce();
        view.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(viewUpdate)->Unit(benchmark::kMillisecond);

void toneSecond(benchmark::State &state)
{
    ws::ToneGenerator tone;
    tone.setShape({ws::ToneShape::Kind::Pips, 734.5});
    std::vector<std::int16_t> samples(ws::ToneGenerator::kSampleRate);
    for (auto _ : state) {
        tone.render(samples.data(), int(samples.size()));
        benchmark::DoNotOptimize(samples.data());
    }
}
BENCHMARK(toneSecond)->Unit(benchmark::kMicrosecond);

void memoryOverReplies(benchmark::State &state)
{
    for (auto _ : state) {
        ws::test::FakeClock clock;
        ws::test::FakeSerial line;
        line.clock = &clock;
        clock.step = 1;
        int replies = 0;
        line.onWrite = [&](const QByteArray &bytes) {
            // The fake keeps every write; the program keeps none.
            line.written.clear();
            if (bytes != "X")
                return;
            const int level = int(50 + 50 * std::sin(replies++ / 100.0));
            line.feed((level > 50 ? "00 Locked   Lvl " : "01 No Lock  Lvl ") +
                      QByteArray::number(level) + "\r\n");
        };
        DishView view(clock, nullptr);
        view.resize(1920, 1080);
        QImage image(view.size(), QImage::Format_RGB32);
        const ws::receiver::ReceiverSettings settings{"2", "2", "1", "0"};
        ws::receiver::SignalWatch watch(line, clock, [settings] { return settings; }, view);
        view.begun(QStringLiteral("11778"), Polarisation::Horizontal);
        watch.start(QStringLiteral("11778"), Polarisation::Horizontal);
        const auto runTo = [&](int count) {
            clock.runTimers([&] { return replies >= count; });
            view.render(&image);
            ws::bench::resetPeak();
            return ws::bench::statusKb("VmRSS:");
        };
        const long after1000 = runTo(1000);
        const long after90000 = runTo(90000);
        state.counters["rss_1000_KiB"] = double(after1000);
        state.counters["rss_90000_KiB"] = double(after90000);
        state.counters["growth_KiB"] = double(after90000 - after1000);
    }
}
BENCHMARK(memoryOverReplies)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

WS_BENCHMARK_MAIN_WITH_WIDGETS()
