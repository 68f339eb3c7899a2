#pragma once

#include "core/platform.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QTimer>

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
    int millisecondsToNextSecond() override { return int(1000 - timer_.elapsed() % 1000); }
    QDateTime now() override { return QDateTime::currentDateTime(); }
    std::unique_ptr<Timer> createTimer(std::function<void()> handler) override
    {
        return std::make_unique<LoopTimer>(std::move(handler));
    }

private:
    class LoopTimer : public Timer
    {
    public:
        explicit LoopTimer(std::function<void()> handler)
        {
            timer_.setSingleShot(true);
            // On time: a wake at the turn of a second decides by that second.
            timer_.setTimerType(Qt::PreciseTimer);
            QObject::connect(&timer_, &QTimer::timeout, std::move(handler));
        }
        void start(int milliseconds) override { timer_.start(milliseconds); }
        void stop() override { timer_.stop(); }

    private:
        QTimer timer_;
    };

    QElapsedTimer timer_;
};

} // namespace ws
