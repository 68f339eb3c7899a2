#pragma once

#include "core/platform.h"
#include "receiver/conversation.h"
#include "receiver/protocol.h"
#include "receiver/receiversettings.h"

#include <QString>

#include <functional>
#include <memory>

// One signal check: tune the receiver, wait for its tuner to lock, let it
// search the transponder for its tables, and keep a log of all of it.
namespace ws::receiver {

// Where a check gets the settings. It asks when it needs one, so a setting
// changed during the check counts from its next use: LNB power and DiSEqC
// are taken once at the start, the port when it is opened, the time-out
// afresh at every comparison.
using SettingsSource = std::function<ReceiverSettings()>;

// What a check tells whoever shows it, as it goes.
class CheckEvents
{
public:
    virtual ~CheckEvents() = default;
    // `text` was added to the end of the log; the first call of a check
    // brings its first line. All of them in order are the check's log.
    virtual void logAppended(const QString &text) = 0;
    // The tuner locked; the lock line was the last text appended.
    virtual void locked() {}
    // The check woke up to look at the line and the clock: at least once a
    // second while it waits.
    virtual void waiting() {}
    // Text the receiver sent during the table search, as it came. The log
    // gets all of it later, in one piece that begins with it.
    virtual void searchReceived(const QString &text) { Q_UNUSED(text); }
    // The port could not be opened, failed (its message was just appended to
    // the log) or stayed silent through the lock wait, and the check has
    // ended: whoever hears it must not wait here.
    virtual void portFailed(const PortFailure &failure) = 0;
};

struct CheckResult
{
    QString log;
    // The port could not be opened, failed, or stayed silent through the lock wait.
    bool portFailed = false;
    // Of those, the port that opened, took the commands and never said a thing.
    bool silent = false;
    // A reply began with the lock code but held kNoLockMark.
    bool unconfirmedLock = false;
    // The last status reply as cut (the lock's, after a lock); empty when
    // none came.
    QString lastReply;
    bool locked = false;
    // Ended by stop(): the log ends in the line that says so.
    bool stopped = false;
    // A byte came from the receiver after the tune command went out: the
    // check reached someone, whatever became of it.
    bool received = false;
    // Everything the receiver said during the table search.
    QString searchText;
    // What ended the table search; Running when none ran, or the line
    // failed or the check was stopped during it.
    SearchEnd searchEnd = SearchEnd::Running;

    bool tablesFound() const { return searchText.contains(kTableFoundWord); }
    // The receiver ended its search itself, and its first word of an end
    // was that it is done, not that it lost the signal.
    bool endedOnReady() const;
};

// The check as a machine on the event loop: it never waits inside a call.
// Line activity and timers drive each step (read the clock, read the line,
// decide), so the whole-second rules hold while the thread stays free.
class SignalCheck
{
public:
    SignalCheck(SerialLine &line, Clock &clock, SettingsSource settings, CheckEvents &events);
    ~SignalCheck();
    SignalCheck(const SignalCheck &) = delete;
    SignalCheck &operator=(const SignalCheck &) = delete;

    using Done = std::function<void(const CheckResult &)>;
    // Starts a check; the frequency goes into the tune command and the log
    // as it is. `done` hears the result from the event loop once the check
    // has ended and the port is closed, never from inside start() or stop().
    // A check started while another runs is refused: nothing happens.
    void start(const QString &frequency, Polarisation polarisation, Done done);
    // Ends the running check at once: the port is closed and the log keeps
    // what it holds, search text included, followed by stoppedLine().
    void stop();
    // Ends the running check at once and quietly: no more log, no `done`.
    // Returns what it had so far, the table search's text included (all of
    // it for a check that ended and waits to hand it over); a default
    // result when none ran.
    CheckResult abandon();
    bool running() const { return phase_ != Phase::Idle && phase_ != Phase::Ending; }

    // The longest a table search runs, for a caller that cannot wait kSearchLimitSeconds.
    void setSearchLimit(qint64 seconds) { searchLimit_ = seconds; }

private:
    enum class Phase { Idle, Settling, Gathering, Pausing, Searching, Ending };

    void wake();
    void settle();
    void askForStatus();
    void gatherReply();
    void judgeReply(const QString &cut);
    void search();
    // Ends the lock phase on `reply`, the last cut status reply.
    void lockPhaseEnded(const QString &reply);
    // Waits for the line or the clock's next second, then `phase` goes on.
    void waitFor(Phase phase);
    // Ends the check over a failed port: `logFirst` and then the message go
    // into the log, and the message to the user.
    void failPort(const QString &logFirst, const PortFailure &failure);
    // Logs a lock phase that ended without a lock; a port that stayed
    // silent all along is a failed port.
    void noLock();
    void append(const QString &text);
    double timeout();
    // Closes the port and hands the result over from the event loop.
    void finish();
    void deliver();

    Conversation conversation_;
    Clock &clock_;
    SettingsSource settings_;
    CheckEvents &events_;
    std::unique_ptr<Timer> handOver_;
    Phase phase_ = Phase::Idle;
    Done done_;
    CheckResult result_;
    qint64 searchLimit_ = kSearchLimitSeconds;
    // The phase's start, in the clock's whole seconds.
    qint64 phaseStart_ = 0;
    // The seconds of the lock phase elapsed at the last reading.
    qint64 elapsed_ = 0;
    QString searchText_;
    SearchWords words_;
    PortFailure failure_;
};

QString stoppedLine();

} // namespace ws::receiver
