#include "support/fakeplatform.h"


#include <QWidget>

namespace ws::test {

void FakeEvents::repaintNow(QWidget *widget)
{
    repainted << (widget ? widget->objectName() : QString());
}

FakeWindow::FakeWindow()
    : window(std::make_unique<MainWindow>(Platform{&dialogs, &events, &clock, &system, &serial,
                                                   &ports, &fileClock,
                                                   [this] { return speaker.makeSink(); }}))
{
    serial.clock = &clock;
    QObject::connect(&window->receiverWork(), &ReceiverWork::checkEnded, window.get(),
                     [this](const ws::receiver::CheckResult &result) {
                         lastCheckLog = result.log;
                     });
}

ws::Scans &FakeWindow::scans()
{
    return window->workspace().scans();
}

ws::MapData &FakeWindow::map()
{
    return window->workspace().map();
}

FakeWindow::~FakeWindow() = default;

bool FakeWindow::finishReceiverWork()
{
    return clock.runTimers([this] { return !window->receiverWork().busy(); });
}

} // namespace ws::test
