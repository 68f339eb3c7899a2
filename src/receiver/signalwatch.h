#pragma once

#include "core/platform.h"
#include "receiver/conversation.h"
#include "receiver/protocol.h"
#include "receiver/signalcheck.h"

#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>

// Watching one transmission while the dish turns: tuned once, the receiver
// is asked for its status again and again, and every answer is judged as a
// check judges a status reply. Nothing grows while it runs.
namespace ws::receiver {

enum class WatchState {
    Locked,       // the lock code, without kNoLockMark
    NotConfirmed, // the lock code, with kNoLockMark
    NoLock,       // anything else, a reply cut short by the time-out too
    NoAnswer,     // not a byte for the whole time-out
};

// "locked", "not confirmed", "no lock", "no answer".
QLatin1String stateWord(WatchState state);
WatchState stateOfReply(QStringView cut);
// What the receiver said after the reply's code, without the line end.
QString replyText(const QString &cut);

class WatchEvents
{
public:
    virtual ~WatchEvents() = default;
    // A reply came and was judged; `text` is what it said after its code,
    // `level` the level it reported, if any. NoAnswer comes once for every
    // stretch of silence, with no text and no level.
    virtual void replied(WatchState state, const QString &text, std::optional<double> level) = 0;
    // The port could not be opened, failed, or stayed silent from the start:
    // told once, from the event loop, after the port was closed.
    virtual void failed(const PortFailure &failure) = 0;
};

// How a watch went, in constant room however long it runs.
class WatchTally
{
public:
    // A reply in `state` at `ms` (a steady clock's milliseconds), with the
    // level it reported, if any, and the wall-clock time it came.
    void add(WatchState state, qint64 ms, std::optional<double> level = std::nullopt,
             const QDateTime &at = QDateTime());
    void end(qint64 ms);

    int replies() const { return replies_; }
    qint64 lockedMs() const { return lockedMs_; }
    qint64 longestLockMs() const { return longestLockMs_; }
    // Since when the last state has held.
    qint64 heldSinceMs() const { return stateSinceMs_; }
    // From the first reply to the end: the time the state was known. The
    // tuner's settle and a first wait for an answer are no time unlocked.
    qint64 judgedMs() const { return firstReplyMs_ ? endMs_ - *firstReplyMs_ : 0; }
    // The highest level reported, and when it first came.
    std::optional<double> bestLevel() const { return bestLevel_; }
    QDateTime bestLevelAt() const { return bestLevelAt_; }
    // The lowest level reported: with the best, the span of this watch.
    std::optional<double> lowestLevel() const { return lowestLevel_; }

private:
    void close(qint64 ms);

    int replies_ = 0;
    bool haveState_ = false;
    WatchState state_ = WatchState::NoLock;
    qint64 stateSinceMs_ = 0;
    qint64 lockedMs_ = 0;
    qint64 longestLockMs_ = 0;
    std::optional<qint64> firstReplyMs_;
    qint64 endMs_ = 0;
    std::optional<double> bestLevel_;
    QDateTime bestLevelAt_;
    std::optional<double> lowestLevel_;
};

// "1234 replies in 60.0 s: locked 93 % of the time, longest lock 12.3 s",
// and ", best level 75 at 10:30:15" once a reply gave a level. The share
// locked is of the time from the first reply to the end.
QString watchSummary(const WatchTally &tally, qint64 durationMs);

// The longest a watch waits for a reply, in seconds: the setting, but at
// least a second (under it the receiver would hardly ever get to answer)
// and at most kMaxReplyWaitSeconds.
double replyWaitSeconds(const QString &timeoutText);
inline constexpr double kMaxReplyWaitSeconds = 1e9;

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
    void stop();
    bool running() const { return phase_ != Phase::Idle; }
    const QString &portLabel() const { return conversation_.portLabel(); }
    // From the next reply on, the level is read by the first capture group
    // of `pattern`, or by replyLevel() for an empty one. A pattern that
    // cannot read levels is refused, the reading kept, and why is returned.
    QString setLevelPattern(const QString &pattern);
    // The pattern in use, empty for replyLevel().
    const QString &levelPattern() const { return levelPattern_; }

private:
    enum class Phase { Idle, Settling, Gathering, Pausing, Failing };

    void wake();
    void settle();
    void ask();
    void gather();
    void judge(WatchState state, const QString &cut);
    void fail(const PortFailure &failure);

    Conversation conversation_;
    Clock &clock_;
    SettingsSource settings_;
    WatchEvents &events_;
    std::unique_ptr<Timer> handOver_;
    Phase phase_ = Phase::Idle;
    PortFailure failure_;
    LevelReading levelReading_;
    QString levelPattern_;
    qint64 askedMs_ = 0;
    // Whether the last stretch of silence was told.
    bool silenceTold_ = false;
};

} // namespace ws::receiver
