#pragma once

#include "app/mainwindow.h"
#include "app/plotspanel.h"
#include "app/receiverwork.h"
#include "app/workspace.h"
#include "app/windowplatform.h"
#include "core/steadyclock.h"
#include "support/fakes.h"
#include "support/windowelement.h"

#include <memory>

namespace ws::test {

// Records what the window asked to be repainted at once.
class FakeEvents : public EventLoop
{
public:
    void repaintNow(QWidget *widget) override;

    QStringList repainted; // object names, in order
};

// Ports from a script; counts how often the window asked for them.
class FakePorts : public PortFinder
{
public:
    std::vector<PortInfo> ports() override
    {
        ++listings;
        return list;
    }

    std::vector<PortInfo> list;
    int listings = 0;
};

// A window on fakes, with everything a test needs to reach.
struct FakeWindow
{
    FakeWindow();
    ~FakeWindow();

    FakeDialogs dialogs;
    FakeEvents events;
    FakeClock clock;
    FakeSystem system;
    FakeSerial serial;
    FakePorts ports;
    // The files the window follows are real ones, which change and settle
    // in real time.
    SteadyClock fileClock;
    FakeSpeaker speaker;
    std::unique_ptr<MainWindow> window;

    // Plays the event loop on the fake clock until the receiver's work (a
    // check, a full scan) has ended; false if it never does.
    bool finishReceiverWork();

    ws::Scans &scans();
    ws::MapData &map();
    // The log of the last check as the check wrote it; the log box shows
    // it with its line ends converted.
    QString lastCheckLog;
    // The window's element named `name`; see ws::window::names.
    template <class W>
    W *element(const char *name)
    {
        return ws::test::element<W>(*window, name);
    }
};

} // namespace ws::test
