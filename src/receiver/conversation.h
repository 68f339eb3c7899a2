#pragma once

#include "core/platform.h"
#include "receiver/protocol.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

// The conversation with the receiver that the check and the watch share:
// open and close, the command prefix, the settle, status replies behind
// their cap, the gap between requests, and line failures by kind.
namespace ws::receiver {

// Why a line is of no more use, with the sentence the user is told.
struct PortFailure
{
    enum class Kind {
        None,
        CouldNotOpen,
        HungUp,  // the device closed the connection or went away
        Silent,  // it opened, took the commands and never said a thing
        Flooded, // the receiver sent more than is kept without ending
        Error,   // any other read or write that failed
    };
    Kind kind = Kind::None;
    // The system's or the receiver's part of the message.
    QString reason;
    // "comport 2 (/dev/ttyS1) stopped working: <reason>" and the like.
    QString message;

    explicit operator bool() const { return kind != Kind::None; }
};

// For a silent port, what to check (power, cable, port, the right to use
// it); empty for any other failure, whose reason says enough.
QString portFailureAdvice(const PortFailure &failure);

class Conversation
{
public:
    // `wake` is called from the event loop when a wait asked for ends, or
    // when the line has something while a reply or free text is awaited;
    // a line that fails wakes whatever waits.
    Conversation(SerialLine &line, Clock &clock, std::function<void()> wake);
    ~Conversation();
    Conversation(const Conversation &) = delete;
    Conversation &operator=(const Conversation &) = delete;

    // Opens the port a setting names (see portFor()); a failure is also kept as failure().
    PortFailure open(const QString &portSetting);
    // Throws away what was not sent yet and closes the port; no more wakes.
    void close();
    bool isOpen() const { return open_; }
    // How messages name the port: "comport 2 (/dev/ttyS1)".
    const QString &portLabel() const { return portLabel_; }

    // The command behind its prefix, each a write of its own.
    void send(const QString &command);
    // Sends the tune command and begins the settle from this clock reading.
    void tune(const QString &command);

    enum class Step { Waiting, Done, Failed };
    // Done once the settle has passed; Waiting when it goes on (a wake
    // comes at the clock's next second); Failed when the line failed.
    Step settle();

    // Throws away what came since the last reply, which belongs to none,
    // and asks for the tuner's status.
    void requestStatus();
    enum class Reply { Incomplete, Complete, Flooded, Failed };
    Reply gatherReply();
    QString cutReply() const { return reply_.cut(); }
    qsizetype replyBytes() const { return reply_.size(); }

    // Sends `command`, after which the receiver talks freely, up to
    // `capBytes` in all.
    void requestText(const QString &command, qsizetype capBytes);
    struct Text
    {
        QByteArray bytes; // within the cap
        Reply status = Reply::Incomplete; // Flooded past the cap; never Complete
    };
    Text readText();

    // The next wake at the latest `ms` from now; earlier when the line has
    // something to read while a reply or text is awaited.
    void waitForLine(int ms);
    // The next status request waits kRequestGapMs; a receiver that answers
    // at once would otherwise be asked hundreds of times a second.
    void pauseBeforeNextRequest();

    // Whether any byte came since the tune command, and since the first
    // status request (what came while the tuner settled does not count).
    bool heardSinceTune() const { return heardSinceTune_; }
    bool heardSinceFirstRequest() const { return heardSinceRequest_; }
    // Reads what came and was not read yet, for a holder that ends early:
    // it was heard all the same.
    void takeUnread();

    // The failure of a port that said nothing for `waitedText` seconds.
    PortFailure silence(const QString &waitedText) const;
    const PortFailure &failure() const { return failure_; }

private:
    // Keeps the line's failure, once; true from then on.
    bool lineFailed();
    void fail(PortFailure::Kind kind, const QString &reason);
    void heard(bool bytes, bool stale);

    SerialLine &line_;
    Clock &clock_;
    std::unique_ptr<Timer> wakeUp_;
    bool open_ = false;
    // A reply or free text is awaited: bytes wake the holder at once.
    bool reading_ = false;
    QString portLabel_;
    PortFailure failure_;
    qint64 settleStart_ = 0;
    bool requested_ = false;
    bool heardSinceTune_ = false;
    bool heardSinceRequest_ = false;
    StatusReply reply_;
    qsizetype textRoom_ = 0;
};

} // namespace ws::receiver
