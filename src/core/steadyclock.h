#pragma once

#include "core/platform.h"

#include <QDateTime>
#include <QElapsedTimer>

namespace ws {

// The clock of a real check: the system's monotonic timer for the timing
// rules, the local wall clock for the logs. It needs no window, so the
// window and the command line share it.
class SteadyClock : public Clock
{
public:
    SteadyClock() { timer_.start(); }
    qint64 seconds() override { return timer_.elapsed() / 1000; }
    qint64 milliseconds() override { return timer_.elapsed(); }
    QDateTime now() override { return QDateTime::currentDateTime(); }

private:
    QElapsedTimer timer_;
};

} // namespace ws
