#include "app/dishmode.h"

#include "app/dishview.h"
#include "core/filenames.h"
#include "core/files.h"
#include "core/systemsound.h"
#include "core/steadyclock.h"
#include "core/texts.h"
#include "map/mapfile.h"
#include "receiver/qtserialline.h"
#include "receiver/signalwatch.h"

#include <QApplication>

#include <cstdio>

int runDish(int argc, char *argv[], const ws::cli::CommandLine &line)
{
    namespace exitcode = ws::cli::exitcode;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Wavesift"));

    ws::MapData map;
    if (!line.mapPath.isEmpty()) {
        const auto file = ws::readMapFile(line.mapPath);
        if (!file.value) {
            std::fputs(ws::terminalText(QStringLiteral("wavesift: Could not read map: ") +
                                        ws::failureDetail(line.mapPath, file.failure.reason) +
                                        QLatin1Char('\n'))
                           .constData(),
                       stderr);
            return exitcode::badArguments;
        }
        map = ws::parseMap(file.value->bytes);
    }

    ws::SteadyClock clock;
    ws::QtSerialLine serial;
    DishView view(clock, ws::systemSoundSink);
    view.setNameOf([&map](double mhz) { return nearestTransmissionName(map, mhz); });
    const ws::receiver::ReceiverSettings settings = line.receiver;
    ws::receiver::SignalWatch watch(serial, clock, [settings] { return settings; }, view);
    // Checked with the arguments, so not refused here; the L box of the
    // view starts with it.
    watch.setLevelPattern(line.levelPattern);
    view.setWatch(&watch);
    view.onEnd = [&] {
        watch.stop();
        view.stopped();
    };
    const auto polarisation = line.checkVertical ? ws::receiver::Polarisation::Vertical
                                                 : ws::receiver::Polarisation::Horizontal;
    view.begun(line.checkFrequency, polarisation);
    view.show();
    watch.start(line.checkFrequency, polarisation);
    app.exec();
    watch.stop();
    const DishView::State ended = view.state();
    return ended == DishView::State::PortFailed || ended == DishView::State::NoAnswer
               ? exitcode::portFailed
               : exitcode::success;
}
