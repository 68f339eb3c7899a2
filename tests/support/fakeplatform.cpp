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
}

FakeWindow::~FakeWindow() = default;

bool FakeWindow::finishReceiverWork()
{
    return clock.runTimers([this] { return !window->receiverBusy(); });
}

} // namespace ws::test
