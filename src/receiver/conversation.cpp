#include "receiver/conversation.h"

#include "core/texts.h"
#include "receiver/checklog.h"

#include <utility>

namespace ws::receiver {

QString portFailureAdvice(const PortFailure &failure)
{
    return failure.kind == PortFailure::Kind::Silent ? silentPortAdvice() : QString();
}

Conversation::Conversation(SerialLine &line, Clock &clock, std::function<void()> wake)
    : line_(line), clock_(clock), wakeUp_(clock.createTimer(std::move(wake)))
{
}

Conversation::~Conversation()
{
    close();
}

PortFailure Conversation::open(const QString &portSetting)
{
    failure_ = {};
    // Nothing heard yet on this opening, whatever an earlier one heard.
    heardSinceTune_ = false;
    heardSinceRequest_ = false;
    const PortChoice port = portFor(portSetting);
    portLabel_ = port.label;
    if (port.device.isEmpty()) {
        fail(PortFailure::Kind::CouldNotOpen, noSuchPortReason());
        return failure_;
    }
    line_.setPortName(port.device);
    if (!line_.open()) {
        fail(PortFailure::Kind::CouldNotOpen, line_.errorString());
        return failure_;
    }
    open_ = true;
    reading_ = false;
    // A failure wakes whatever waits, which then ends: a line that keeps
    // reporting it must not keep waking anyone.
    line_.setActivityHandler([this] {
        if (reading_ || !line_.failure().isEmpty())
            wakeUp_->start(0);
    });
    return failure_;
}

void Conversation::close()
{
    wakeUp_->stop();
    if (!open_)
        return;
    open_ = false;
    line_.setActivityHandler({});
    line_.close();
}

void Conversation::send(const QString &command)
{
    // The receiver expects its prefix as a write of its own.
    line_.write(toBytes(kCommandPrefix));
    line_.write(toBytes(command));
}

void Conversation::tune(const QString &command)
{
    requested_ = false;
    heardSinceTune_ = false;
    heardSinceRequest_ = false;
    reading_ = false;
    settleStart_ = clock_.seconds();
    send(command);
}

Conversation::Step Conversation::settle()
{
    // Nothing is read meanwhile: the tuner needs a moment before its status
    // means anything.
    const bool early = clock_.seconds() - settleStart_ < kSettleSeconds;
    if (lineFailed())
        return Step::Failed;
    if (!early)
        return Step::Done;
    wakeUp_->start(clock_.millisecondsToNextSecond());
    return Step::Waiting;
}

void Conversation::heard(bool bytes, bool stale)
{
    if (!bytes)
        return;
    heardSinceTune_ = true;
    // What came while the tuner settled answered no request.
    if (!stale || requested_)
        heardSinceRequest_ = true;
}

void Conversation::takeUnread()
{
    heard(!line_.read().isEmpty(), true);
}

void Conversation::requestStatus()
{
    // It shows that someone is there all the same.
    heard(!line_.read().isEmpty(), true);
    reply_.begin();
    send(kStatusRequest);
    requested_ = true;
    reading_ = true;
}

Conversation::Reply Conversation::gatherReply()
{
    const QByteArray received = line_.read();
    if (lineFailed())
        return Reply::Failed;
    heard(!received.isEmpty(), false);
    switch (reply_.add(received)) {
    case StatusReply::Gathered::Flooded:
        fail(PortFailure::Kind::Flooded, floodedReplyReason());
        return Reply::Flooded;
    case StatusReply::Gathered::Complete:
        return Reply::Complete;
    case StatusReply::Gathered::Incomplete:
        break;
    }
    return Reply::Incomplete;
}

void Conversation::requestText(const QString &command, qsizetype capBytes)
{
    // What arrived after the last status read is already part of the text,
    // so nothing is thrown away here.
    send(command);
    textRoom_ = capBytes;
    reading_ = true;
}

Conversation::Text Conversation::readText()
{
    Text text;
    text.bytes = line_.read();
    const bool flooded = text.bytes.size() > textRoom_;
    text.bytes.truncate(textRoom_);
    textRoom_ -= text.bytes.size();
    heard(!text.bytes.isEmpty(), false);
    // What came with the read that found the line gone is kept all the same.
    if (lineFailed())
        text.status = Reply::Failed;
    else if (flooded) {
        fail(PortFailure::Kind::Flooded, floodedSearchReason());
        text.status = Reply::Flooded;
    }
    return text;
}

void Conversation::waitForLine(int ms)
{
    wakeUp_->start(ms);
}

void Conversation::pauseBeforeNextRequest()
{
    // Whatever arrives meanwhile is stale input, which the next request
    // throws away anyway.
    reading_ = false;
    wakeUp_->start(kRequestGapMs);
}

PortFailure Conversation::silence(const QString &waitedText) const
{
    return {PortFailure::Kind::Silent, QString(), silentPortMessage(portLabel_, waitedText)};
}

bool Conversation::lineFailed()
{
    // An unplugged adapter or a receiver that hung up is no receiver
    // outcome: whoever waits hears so instead of waiting out its time.
    if (!failure_ && !line_.failure().isEmpty())
        fail(line_.hungUp() ? PortFailure::Kind::HungUp : PortFailure::Kind::Error,
             line_.failure());
    return failure_.kind == PortFailure::Kind::HungUp || failure_.kind == PortFailure::Kind::Error;
}

void Conversation::fail(PortFailure::Kind kind, const QString &reason)
{
    failure_.kind = kind;
    failure_.reason = reason;
    failure_.message = kind == PortFailure::Kind::CouldNotOpen
                           ? openFailedMessage(portLabel_, reason)
                           : stoppedWorkingMessage(portLabel_, reason);
}

} // namespace ws::receiver
