#pragma once

// What the benchmarks that build a window share: a platform that answers
// every dialog with one file and talks to no device, and a main() that
// creates the application object before the first benchmark runs.
#include "app/windowplatform.h"
#include "core/steadyclock.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace ws::bench {

struct QuietPlatform : UserDialogs, EventLoop, SteadyClock, SystemServices, SerialLine
{
    bool openFile(const QString &, QString &fileName) override
    {
        fileName = next;
        return true;
    }
    bool saveFile(const QString &, QString &fileName) override
    {
        fileName = next;
        return true;
    }
    void message(const QString &, const QString &) override { failed = true; }
    void repaintNow(QWidget *) override {}
    void beep() override {}
    QString programFolder() override { return {}; }
    QString userDataFolder() override { return {}; }
    void setPortName(const QString &) override {}
    bool open() override { return false; }
    QString errorString() const override { return {}; }
    void close() override {}
    void write(const QByteArray &) override {}
    QByteArray read() override { return {}; }
    void setActivityHandler(std::function<void()>) override {}
    QString failure() const override { return {}; }

    Platform platform() { return Platform{this, this, this, this, this}; }

    QString next;        // the file every dialog picks
    bool failed = false; // a message box was shown
};

} // namespace ws::bench

#define WS_BENCHMARK_MAIN_WITH_WIDGETS()                                                          \
    int main(int argc, char **argv)                                                               \
    {                                                                                             \
        QApplication app(argc, argv);                                                             \
        benchmark::Initialize(&argc, argv);                                                       \
        benchmark::RunSpecifiedBenchmarks();                                                      \
        benchmark::Shutdown();                                                                    \
        return 0;                                                                                 \
    }
