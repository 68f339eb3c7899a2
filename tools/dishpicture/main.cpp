// wavesift-dishpicture DEVICE OUT.png [SECONDS] [WIDTHxHEIGHT]
//
// Watches 11778h on DEVICE (start `wavesift-rxsim --sweep 20` and pass the
// device it prints) in the dish view for SECONDS (default 14, in a lock
// near the top of the sweep), then writes a picture of the view. Needs no
// display; plays no sound.
#include "app/dishview.h"
#include "core/steadyclock.h"
#include "receiver/qtserialline.h"
#include "receiver/signalwatch.h"

#include <QApplication>
#include <QImage>
#include <QTimer>

#include <cstdio>

namespace {

// The picture shows the view as it is with sound, which it does not play.
class Mute : public ws::SoundSink
{
public:
    bool start(ws::ToneGenerator &) override { return true; }
    void stop() override {}
    QString problem() const override { return QString(); }
};

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3 || argc > 5) {
        std::fprintf(stderr, "usage: %s DEVICE OUT.png [SECONDS] [WIDTHxHEIGHT]\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const double seconds = argc > 3 ? QString::fromLocal8Bit(argv[3]).toDouble() : 14;
    const QStringList size =
        QString::fromLocal8Bit(argc > 4 ? argv[4] : "1024x640").split(QLatin1Char('x'));

    ws::SteadyClock clock;
    ws::QtSerialLine serial;
    ws::MapData map;
    ws::MapEntry entry;
    entry.name = QStringLiteral("Test Channel");
    entry.frequencyText = QStringLiteral("11778");
    entry.frequency = 11778;
    map.entries.push_back(entry);
    DishView view(clock, [] { return std::make_unique<Mute>(); });
    view.setNameOf([&map](double mhz) { return nearestTransmissionName(map, mhz); });
    const ws::receiver::ReceiverSettings settings{"2", QString::fromLocal8Bit(argv[1]), "1", "0"};
    ws::receiver::SignalWatch watch(serial, clock, [settings] { return settings; }, view);
    view.resize(size.value(0).toInt(), size.value(1).toInt());
    view.begun(QStringLiteral("11778"), ws::receiver::Polarisation::Horizontal);
    view.show();
    watch.start(QStringLiteral("11778"), ws::receiver::Polarisation::Horizontal);
    int code = 1;
    // After SECONDS, at the next reply in a lock (for at most half a minute).
    QTimer look;
    int looks = 0;
    QObject::connect(&look, &QTimer::timeout, &app, [&] {
        ++looks;
        if (view.state() != DishView::State::Locked && looks < 600)
            return;
        watch.stop();
        if (view.state() != DishView::State::Locked)
            std::fprintf(stderr, "the view is not in a lock\n");
        view.repaint();
        code = view.grab().toImage().save(QString::fromLocal8Bit(argv[2]), "PNG") ? 0 : 1;
        app.quit();
    });
    QTimer::singleShot(int(seconds * 1000), &app, [&] { look.start(50); });
    app.exec();
    return code;
}
