#pragma once

#include "app/verdict.h"
#include "receiver/signalwatch.h"

#include <QString>

#include <deque>
#include <functional>
#include <memory>

class LogPanel;
class VerdictTile;

// Another view of the window's watch (the dish view): it hears every reply
// and the failure, and that a watch began or was stopped.
class WatchFollower : public ws::receiver::WatchEvents
{
public:
    virtual void begun(const QString &frequency, ws::receiver::Polarisation polarisation) = 0;
    virtual void stopped() = 0;
    // The tone goes off and on with the beep.
    virtual void setSounding(bool on) = 0;
};

// A watch as the window shows it: the last state large on the verdict tile
// and in the title, a log line at every change, a beep at every lock after none.
class WindowWatch : private ws::receiver::WatchEvents
{
public:
    struct Needs
    {
        ws::SerialLine &line;
        ws::Clock &clock;
        ws::receiver::SettingsSource settings;
        ws::UserDialogs &dialogs;
        ws::SystemServices &system;
        VerdictTile &tile;
        LogPanel &log;
        std::function<void(const QString &)> setTitle;
    };
    explicit WindowWatch(Needs needs);
    ~WindowWatch() override;

    // Why the user's side ended a watch, as its last log line says.
    enum class Ending { Stopped, WindowClosed };

    void start(const QString &frequency, ws::receiver::Polarisation polarisation);
    // Ends the watch at once, the port closed. The tile says so, with the
    // last state and how long ago, until something else takes it.
    void stop(Ending why = Ending::Stopped);
    bool running() const { return watch_.running(); }
    // The watch itself, for the dish view's level pattern.
    ws::receiver::SignalWatch &signalWatch() { return watch_; }

    // Whether a lock after none beeps; on at first.
    bool beeping() const { return beeping_; }
    void setBeeping(bool on);
    // The follower, or none: with one, a failure shows no box (it says why),
    // and one that comes during a watch hears it begin and its last reply.
    void setFollower(WatchFollower *follower);

    // The most lines the log box keeps of a watch.
    static constexpr int kMaxLogLines = 1000;

private:
    void replied(ws::receiver::WatchState state, const QString &text,
                 std::optional<double> level) override;
    void failed(const ws::receiver::PortFailure &failure) override;
    void showState();
    // The last log line: "14:03:09 watch ended: stopped".
    void logEnd(const QString &why);
    void showLog();
    void showOnTile(const Verdict &verdict);
    void tick();

    Needs needs_;
    ws::receiver::SignalWatch watch_;
    std::unique_ptr<ws::Timer> secondly_;
    QString where_;
    bool beeping_ = true;
    WatchFollower *follower_ = nullptr;
    bool haveState_ = false;
    ws::receiver::WatchState state_ = ws::receiver::WatchState::NoLock;
    QString text_;
    std::optional<double> level_;
    QString frequency_;
    ws::receiver::Polarisation polarisation_ = ws::receiver::Polarisation::Horizontal;
    qint64 stateSinceMs_ = 0;
    std::deque<QString> lines_;
    // What the tile was last given by the watch: an ended watch counts on
    // only while the tile still shows it.
    Verdict shown_;
    qint64 endedMs_ = 0;
};
