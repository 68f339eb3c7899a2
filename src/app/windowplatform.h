#pragma once

#include "platform.h"

class QWidget;

// The parts of the platform that only a window needs: its event loop deals
// in widgets, so it lives beside the window rather than in the core.
namespace ws {

class EventLoop
{
public:
    virtual ~EventLoop() = default;
    // Lets every pending window event run once, user input included.
    virtual void doEvents() = 0;
    // Lets pending paint and window-system events run but keeps user input
    // (clicks, keys) waiting until the running handler has returned.
    virtual void keepPainted() = 0;
    // Makes everything drawn or written into the widget visible at once.
    virtual void repaintNow(QWidget *widget) = 0;
};

// What the window is handed at construction. The window does not own these.
struct Platform
{
    UserDialogs *dialogs = nullptr;
    EventLoop *events = nullptr;
    Clock *clock = nullptr;
    SystemServices *system = nullptr;
    SerialLine *serial = nullptr;
};

} // namespace ws
