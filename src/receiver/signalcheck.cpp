#include "receiver/signalcheck.h"

#include "core/numbers.h"
#include "core/texts.h"
#include "receiver/checklog.h"

namespace ws::receiver {

SignalCheck::SignalCheck(SerialLine &line, Clock &clock, SettingsSource settings,
                         CheckEvents &events)
    : line_(line), clock_(clock), settings_(std::move(settings)), events_(events)
{
}

CheckResult SignalCheck::run(const QString &frequency, Polarisation polarisation)
{
    result_ = CheckResult();
    heard_ = false;
    const ReceiverSettings atStart = settings_();

    append(checkingLine(frequency, polarisation));

    if (!openPort())
        return result_;

    const qint64 settleStart = clock_.seconds();
    command(tuneCommand(frequency, polarisation, atStart.lnbPower, atStart.diseqc));
    // The tuner needs a moment before its status means anything.
    while (clock_.seconds() - settleStart < kSettleSeconds && !lineFailed())
        idle();

    if (!lineFailed()) {
        const std::optional<QString> reply = pollForLock();
        // A reply that says "Aut" never counted as a lock, but if it was the
        // last one the tuner still gets its table search.
        if (reply && beginsWithLockCode(*reply))
            searchTables();
        else if (reply)
            noLock();
    }

    line_.close();
    return result_;
}

void SignalCheck::noLock()
{
    const QString timeoutText = settings_().timeout;
    append(nothingFoundLines(timeoutText));
    // A receiver that is unplugged, switched off or on another port leaves
    // a line that opens fine and never says a thing; an empty sky still
    // gets its "no lock" replies. Not telling the two apart would send the
    // user turning the dish for a cable fault. The log stays as it is for
    // any check without a lock.
    if (!heard_) {
        result_.portFailed = true;
        events_.portFailed(silentPortMessage(portLabel_, timeoutText));
    }
}

bool SignalCheck::lineFailed()
{
    // An unplugged adapter or a receiver that hung up is no receiver
    // outcome: say so instead of waiting out the time-outs and logging
    // "nothing found".
    if (!result_.portFailed && !line_.failure().isEmpty())
        failPort(QString(), stoppedWorkingMessage(portLabel_, line_.failure()));
    return result_.portFailed;
}

void SignalCheck::failPort(const QString &logFirst, const QString &message)
{
    result_.portFailed = true;
    append(logFirst + message + crlf());
    events_.portFailed(message);
}

bool SignalCheck::openPort()
{
    const PortChoice port = portFor(settings_().port);
    portLabel_ = port.label;
    QString reason;
    if (port.device.isEmpty()) {
        reason = noSuchPortReason();
    } else {
        line_.setPortName(port.device);
        if (line_.open())
            return true;
        reason = line_.errorString();
    }
    failPort(QString(), openFailedMessage(port.label, reason));
    return false;
}

std::optional<QString> SignalCheck::pollForLock()
{
    const qint64 start = clock_.seconds();
    QString reply;
    bool asked = false;
    for (;;) {
        // Whatever came in since the last request belongs to an older reply,
        // but it shows that someone is there.
        const bool stale = !line_.read().isEmpty();
        heard_ = heard_ || (asked && stale);
        reply = kStatusLead;
        command(kStatusRequest);
        asked = true;
        qint64 elapsed = 0;
        for (;;) {
            elapsed = clock_.seconds() - start;
            bool flooded = false;
            const QByteArray received =
                readUpTo(reply.size() - kStatusLead.size(), kMaxStatusReplyBytes, flooded);
            if (lineFailed())
                return std::nullopt;
            heard_ = heard_ || !received.isEmpty();
            const qsizetype before = reply.size();
            reply += fromBytes(received);
            // Only the new end of the reply can complete it: a receiver that
            // never ends its line must not make every poll slower.
            const bool complete = !received.isEmpty() && replyCompleteSince(reply, before);
            if (flooded && !complete) {
                failPort(QString(), stoppedWorkingMessage(portLabel_, floodedReplyReason()));
                return std::nullopt;
            }
            if (elapsed > timeout()) {
                reply = kTimedOutReply;
                break;
            }
            if (complete)
                break;
            idle();
        }
        const qint64 replyEndMs = clock_.milliseconds();
        reply = cutReply(reply);
        if (beginsWithLockCode(reply) && !reportsLock(reply))
            result_.unconfirmedLock = true;
        if (reportsLock(reply)) {
            append(lockedLine(elapsed, reply, clock_.now()));
            result_.locked = true;
            events_.locked();
            return reply;
        }
        if (!(clock_.seconds() - start < timeout()))
            return reply;
        pauseSince(replyEndMs);
    }
}

void SignalCheck::pauseSince(qint64 startMs)
{
    // A receiver that answers at once would otherwise be asked hundreds of
    // times a second. The pause only delays the next request, by far less
    // than the clock's whole seconds: a reply is judged before it, the end
    // of the phase is decided before it, and whatever arrives meanwhile is
    // stale input that the next poll throws away anyway.
    for (;;) {
        const qint64 left = kRequestGapMs - (clock_.milliseconds() - startMs);
        if (left <= 0)
            return;
        line_.waitForData(int(qMin<qint64>(left, kPollSliceMs)));
        events_.waiting();
    }
}

void SignalCheck::searchTables()
{
    command(kTableSearchRequest);
    // What arrived after the last status read is already part of the search
    // output, so nothing is thrown away here.
    QString text;
    SearchWords words;
    const qint64 start = clock_.seconds();
    SearchEnd end = SearchEnd::Running;
    for (;;) {
        bool flooded = false;
        const QByteArray received = readUpTo(text.size(), kMaxSearchBytes, flooded);
        if (!received.isEmpty()) {
            const QString piece = fromBytes(received);
            text += piece;
            words.scan(text);
            events_.searchReceived(piece);
        }
        if (!line_.failure().isEmpty()) {
            // What the receiver said before it went away (a table it found)
            // is the check's result so far. It keeps the block's usual CR LF,
            // so the failure line stands on a line of its own even when the
            // receiver went away in the middle of one.
            result_.searchText = text;
            failPort(searchLines(text, SearchEnd::Running),
                     stoppedWorkingMessage(portLabel_, line_.failure()));
            return;
        }
        end = searchEnd(clock_.seconds() - start, words.found(), words.ended());
        if (end != SearchEnd::Running)
            break;
        if (flooded) {
            // What was kept goes into the log as a search cut short.
            result_.searchText = text;
            failPort(searchLines(text, SearchEnd::Running),
                     stoppedWorkingMessage(portLabel_, floodedSearchReason()));
            return;
        }
        idle();
    }
    result_.searchText = text;
    result_.searchEnd = end;
    append(searchLines(text, end));
}

QByteArray SignalCheck::readUpTo(qsizetype kept, qsizetype limit, bool &overflow)
{
    QByteArray received = line_.read();
    const qsizetype room = qMax<qsizetype>(0, limit - kept);
    overflow = received.size() > room;
    if (overflow)
        received.truncate(room);
    return received;
}

void SignalCheck::append(const QString &text)
{
    result_.log += text;
    events_.logAppended(text);
}

void SignalCheck::command(const QString &text)
{
    // The receiver expects its prefix as a write of its own.
    line_.write(toBytes(kCommandPrefix));
    line_.write(toBytes(text));
}

void SignalCheck::idle()
{
    // Sleeping on the port instead of spinning keeps a three-minute check
    // nearly free; the slice is short against the clock's whole seconds, so
    // no timing rule moves.
    line_.waitForData(kPollSliceMs);
    events_.waiting();
}

double SignalCheck::timeout()
{
    // Read afresh at every comparison, as typed at that moment.
    return readNumber(settings_().timeout);
}

} // namespace ws::receiver
