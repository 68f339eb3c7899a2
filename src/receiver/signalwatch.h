#pragma once

#include "core/platform.h"
#include "receiver/protocol.h"
#include "receiver/signalcheck.h"

#include <QString>

#include <memory>

// Watching one transmission while the dish turns: tuned once, the receiver
// is asked for its status again and again, and every answer is judged as a
// check judges a status reply. Nothing grows while it runs.
namespace ws::receiver {

// What one status reply said.
enum class WatchState {
    Locked,       // the lock code, without kNoLockMark
    NotConfirmed, // the lock code, with kNoLockMark
    NoLock,       // anything else, a reply cut short by the time-out too
    NoAnswer,     // not a byte for the whole time-out
};

// "locked", "not confirmed", "no lock", "no answer".
QLatin1String stateWord(WatchState state);
// The state a cut status reply stands for.
WatchState stateOfReply(QStringView cut);
// What the receiver said after the reply's code, without the line end.
QString replyText(const QString &cut);

class WatchEvents
{
public:
    virtual ~WatchEvents() = default;
    // A reply came and was judged; `text` is what it said after its code.
    // NoAnswer comes once for every stretch of silence, with no text.
    virtual void replied(WatchState state, const QString &text) = 0;
    // The watch has ended by itself: its port could not be opened, stopped
    // working, or stayed silent from the start. Told once, from the event
    // loop, after the port was closed.
    virtual void failed(const QString &message) = 0;
};

// How a watch went, in constant room however long it runs.
class WatchTally
{
public:
    // A reply in `state` at `ms` (a steady clock's milliseconds).
    void add(WatchState state, qint64 ms);
    // The watch ended at `ms`.
    void end(qint64 ms);

    int replies() const { return replies_; }
    qint64 lockedMs() const { return lockedMs_; }
    qint64 longestLockMs() const { return longestLockMs_; }
    // Since when the last state has held.
    qint64 heldSinceMs() const { return stateSinceMs_; }

private:
    void close(qint64 ms);

    int replies_ = 0;
    bool haveState_ = false;
    WatchState state_ = WatchState::NoLock;
    qint64 stateSinceMs_ = 0;
    qint64 lockedMs_ = 0;
    qint64 longestLockMs_ = 0;
};

// "1234 replies in 60.0 s: locked 93 % of the time, longest lock 12.3 s".
QString watchSummary(const WatchTally &tally, qint64 durationMs);

class SignalWatch
{
public:
    SignalWatch(SerialLine &line, Clock &clock, SettingsSource settings, WatchEvents &events);
    ~SignalWatch();
    SignalWatch(const SignalWatch &) = delete;
    SignalWatch &operator=(const SignalWatch &) = delete;

    // Tunes the receiver as a check does and keeps asking it until stopped
    // or until its line fails. A watch started while one runs is refused.
    void start(const QString &frequency, Polarisation polarisation);
    // Ends the watch at once; nothing more is heard from it.
    void stop();
    bool running() const { return phase_ != Phase::Idle; }
    // How the port is named in messages: "comport 2 (/dev/ttyS1)".
    const QString &portLabel() const { return portLabel_; }

private:
    enum class Phase { Idle, Settling, Gathering, Pausing, Failing };

    void wake();
    void settle();
    void ask();
    void gather();
    void judge(WatchState state, const QString &text);
    void fail(const QString &message);
    void closePort();
    qint64 timeoutMs();

    SerialLine &line_;
    Clock &clock_;
    SettingsSource settings_;
    WatchEvents &events_;
    std::unique_ptr<Timer> wakeUp_;
    std::unique_ptr<Timer> handOver_;
    Phase phase_ = Phase::Idle;
    bool portOpen_ = false;
    QString portLabel_;
    QString failure_;
    qint64 settleStart_ = 0;
    StatusReply reply_;
    qint64 askedMs_ = 0;
    // Whether a byte came since the watch began, and since the last
    // request that was answered.
    bool heardEver_ = false;
    bool silenceTold_ = false;
};

} // namespace ws::receiver
