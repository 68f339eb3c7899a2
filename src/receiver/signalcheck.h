#pragma once

#include "core/platform.h"
#include "receiver/protocol.h"
#include "receiver/receiversettings.h"

#include <QString>

#include <functional>
#include <optional>

// One signal check: tune the receiver, wait for its tuner to lock, let it
// search the transponder for its tables, and keep a log of all of it.
namespace ws::receiver {

// Where a check gets the settings. It asks when it needs one, so a setting
// changed during the check counts from its next use: LNB power and DiSEqC
// are taken once at the start, the port when it is opened, the time-out
// afresh at every comparison.
using SettingsSource = std::function<ReceiverSettings()>;

// What a check tells whoever runs it, as it goes.
class CheckEvents
{
public:
    virtual ~CheckEvents() = default;
    // `text` was added to the end of the log; the first call of a check
    // brings its first line. All of them in order are the check's log.
    virtual void logAppended(const QString &text) = 0;
    // The tuner locked; the lock line was the last text appended.
    virtual void locked() {}
    // The check waits for the receiver; called every few milliseconds.
    virtual void waiting() {}
    // Text the receiver sent during the table search, as it came. The log
    // gets all of it later, in one piece that begins with it.
    virtual void searchReceived(const QString &text) { Q_UNUSED(text); }
    // The port could not be opened, stopped working, or did not send a
    // byte during the whole lock wait, and the check ends. A port that
    // failed has the same message just appended to the log; a silent one
    // keeps the log a check without a lock writes. This is for telling the
    // user.
    virtual void portFailed(const QString &message) = 0;
};

struct CheckResult
{
    QString log;
    // The check stopped because its port could not be opened, stopped
    // working, or stayed silent through the lock wait.
    bool portFailed = false;
    // A reply began with the lock code but held kNoLockMark.
    bool unconfirmedLock = false;
    // The tuner reported a lock: the log holds the lock line.
    bool locked = false;
    // Everything the receiver said during the table search; empty when none
    // ran.
    QString searchText;
    // What ended the table search; Running when none ran or the line failed
    // during it.
    SearchEnd searchEnd = SearchEnd::Running;
};

class SignalCheck
{
public:
    SignalCheck(SerialLine &line, Clock &clock, SettingsSource settings, CheckEvents &events);

    // Runs the whole check; the frequency goes into the tune command and
    // the log as it is.
    CheckResult run(const QString &frequency, Polarisation polarisation);

private:
    bool openPort();
    // Returns the last cut status reply; nothing when the line failed.
    std::optional<QString> pollForLock();
    // Reports a line that stopped working, once; true from then on.
    bool lineFailed();
    // Ends the check over a failed port: `logFirst` and then the message go
    // into the log, and the message to the user.
    void failPort(const QString &logFirst, const QString &message);
    // Waits on the port until kRequestGapMs have passed since `startMs`.
    void pauseSince(qint64 startMs);
    void searchTables();
    // Logs a lock phase that ended without a lock; a port that stayed
    // silent all along is a failed port.
    void noLock();
    // Takes what the line has, keeps it while `kept` stays within `limit`
    // bytes and returns it; sets `overflow` when more came.
    QByteArray readUpTo(qsizetype kept, qsizetype limit, bool &overflow);
    void append(const QString &text);
    void command(const QString &text);
    void idle();
    double timeout();

    SerialLine &line_;
    Clock &clock_;
    SettingsSource settings_;
    CheckEvents &events_;
    CheckResult result_;
    QString portLabel_;
    // Whether any byte came from the port since the first status request.
    bool heard_ = false;
};

} // namespace ws::receiver
