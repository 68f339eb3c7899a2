#pragma once

#include "core/platform.h"
#include "core/sound.h"

#include <functional>
#include <memory>

#include <vector>

class QWidget;

// The parts of the platform that only a window needs: its event loop deals
// in widgets, so it lives beside the window rather than in the core.
namespace ws {

class EventLoop
{
public:
    virtual ~EventLoop() = default;
    // Shows what was drawn into the widget at once, for a load that keeps the window.
    virtual void repaintNow(QWidget *widget) = 0;
};

struct PortInfo
{
    QString name;         // the system's name: "ttyUSB0", "COM3"
    QString path;         // the device: "/dev/ttyUSB0" ("COM3" on Windows)
    QString description;  // what the driver calls it; may be empty
    QString manufacturer; // may be empty
    // A name that stays with the adapter ("/dev/serial/by-id/usb-..."); may be empty.
    QString stableName;
};

// Lists the serial ports that exist. Asking may take a while and touch the
// devices, so the window asks only when the user wants the list.
class PortFinder
{
public:
    virtual ~PortFinder() = default;
    virtual std::vector<PortInfo> ports() = 0;
};

// What the window is handed at construction. The window does not own these.
struct Platform
{
    UserDialogs *dialogs = nullptr;
    EventLoop *events = nullptr;
    Clock *clock = nullptr;
    SystemServices *system = nullptr;
    SerialLine *serial = nullptr;
    // Without it the port box offers no list.
    PortFinder *ports = nullptr;
    // What times the settling of followed files; `clock` when unset. Files
    // change on disk in real time, so a window whose receiver runs on a
    // scripted clock may follow its files on a real one.
    Clock *fileClock = nullptr;
    // Makes the dish view's way out to the sound; without it the view says it has none.
    std::function<std::unique_ptr<SoundSink>()> sound = nullptr;
};

} // namespace ws
