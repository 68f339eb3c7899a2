#pragma once

#include "platform.h"

#include <QString>

#include <optional>

// One signal check: tune the receiver, wait for its tuner to lock, let it
// search the transponder for its tables, and keep a log of all of it.
namespace ws::receiver {

// What the check needs of the window it runs in.
class CheckHost
{
public:
    virtual ~CheckHost() = default;
    // The text of the settings box Text2, Text3, Text4 or Text5, as typed.
    virtual QString boxText(int box) = 0;
    // The log box: its whole text, replacing it, adding to its end.
    virtual QString log() = 0;
    virtual void setLog(const QString &text) = 0;
    virtual void appendLog(const QString &text) = 0;
    virtual void repaintLog() = 0;
    virtual void repaintWindow() = 0;
    // Called between polls while the check waits: keep the window painted,
    // but run no user input.
    virtual void keepPainted() = 0;
    // Tells the user why the check could not run.
    virtual void report(const QString &message) = 0;
};

class SignalCheck
{
public:
    SignalCheck(SerialLine &line, Clock &clock, CheckHost &host);

    // Runs the whole check and returns the log as the log box holds it at
    // the end.
    QString run(const QString &frequency, const QString &field5, const QString &field1,
                const QString &polarisation);

    // Whether the last run stopped because its port could not be opened or
    // stopped working.
    bool portFailed() const { return portFailed_; }

    // The longest a poll loop sleeps before it looks at the clock again.
    static constexpr int kPollSliceMs = 20;
    // The least time between the end of one status reply (or its time-out)
    // and the next status request.
    static constexpr int kRequestGapMs = 40;

private:
    bool openPort();
    // Returns the last cut status reply; nothing when the line failed.
    std::optional<QString> pollForLock();
    // Reports a line that stopped working, once; true from then on.
    bool lineFailed();
    // Waits on the port until kRequestGapMs have passed since `startMs`.
    void pauseSince(qint64 startMs);
    void searchTables();
    void write(const QString &text);
    void command(const QString &text);
    void idle();
    double timeout();

    SerialLine &line_;
    Clock &clock_;
    CheckHost &host_;
    bool portFailed_ = false;
    QString portLabel_;
};

} // namespace ws::receiver
