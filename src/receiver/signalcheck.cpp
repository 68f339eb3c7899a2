#include "signalcheck.h"

#include "numbers.h"
#include "protocol.h"
#include "texts.h"

namespace ws::receiver {

SignalCheck::SignalCheck(SerialLine &line, Clock &clock, CheckHost &host)
    : line_(line), clock_(clock), host_(host)
{
}

QString SignalCheck::run(const QString &frequency, const QString &field5, const QString &field1,
                         const QString &polarisation)
{
    portFailed_ = false;
    const QString lowHigh = host_.boxText(2);
    const QString diseqc = host_.boxText(4);

    host_.setLog(QStringLiteral("Checking ") + frequency + polarisationLetter(polarisation) +
                 QStringLiteral(" for dvb mpeg2 signal") + crlf());
    host_.repaintLog();

    if (!openPort()) {
        portFailed_ = true;
        return host_.log();
    }

    const qint64 settleStart = clock_.seconds();
    command(tuneCommand(frequency, field5, field1, polarisation, lowHigh, diseqc));
    // The tuner needs a moment before its status means anything.
    while (clock_.seconds() - settleStart < 2 && !lineFailed())
        idle();

    if (!lineFailed()) {
        const std::optional<QString> reply = pollForLock();
        // A reply that says "Aut" never counted as a lock, but if it was the
        // last one the tuner still gets its table search.
        if (reply && beginsWithLockCode(*reply)) {
            searchTables();
        } else if (reply) {
            host_.appendLog(QStringLiteral("nothing found after ") + host_.boxText(5) +
                            QStringLiteral(" Seconds") + crlf() + crlf());
            host_.repaintLog();
        }
    }

    const QString result = host_.log();
    line_.close();
    return result;
}

bool SignalCheck::lineFailed()
{
    if (portFailed_)
        return true;
    const QString reason = line_.failure();
    if (reason.isEmpty())
        return false;
    // An unplugged adapter or a receiver that hung up is no receiver
    // outcome: say so instead of waiting out the time-outs and logging
    // "nothing found".
    portFailed_ = true;
    const QString message = portLabel_ + QStringLiteral(" stopped working: ") + reason;
    host_.appendLog(message + crlf());
    host_.repaintLog();
    host_.report(message);
    return true;
}

bool SignalCheck::openPort()
{
    const PortChoice port = portFor(host_.boxText(3));
    portLabel_ = port.label;
    QString reason;
    if (port.device.isEmpty()) {
        reason = QStringLiteral("there is no such port");
    } else {
        line_.setPortName(port.device);
        if (line_.open())
            return true;
        reason = line_.errorString();
    }
    const QString message = port.label + QStringLiteral(" could not be opened: ") + reason;
    host_.appendLog(message + crlf());
    host_.repaintLog();
    host_.report(message);
    return false;
}

std::optional<QString> SignalCheck::pollForLock()
{
    const qint64 start = clock_.seconds();
    QString reply;
    for (;;) {
        // Whatever came in since the last request belongs to an older reply.
        line_.read();
        reply = statusLead();
        command(statusRequest());
        qint64 elapsed = 0;
        for (;;) {
            elapsed = clock_.seconds() - start;
            const QByteArray received = line_.read();
            if (lineFailed())
                return std::nullopt;
            const qsizetype before = reply.size();
            reply += fromBytes(received);
            if (elapsed > timeout()) {
                reply = timedOutReply();
                break;
            }
            // Only the new end of the reply can complete it: a receiver that
            // never ends its line must not make every poll slower.
            if (!received.isEmpty() && replyCompleteSince(reply, before))
                break;
            idle();
        }
        const qint64 replyEndMs = clock_.milliseconds();
        reply = cutReply(reply);
        if (reportsLock(reply)) {
            host_.appendLog(QStringLiteral("After ") + QString::number(elapsed) +
                            QStringLiteral(" Sec. Tuner locked at : ") + reply +
                            generalDateText(clock_.now()) + crlf());
            host_.repaintLog();
            host_.repaintWindow();
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
        host_.keepPainted();
    }
}

void SignalCheck::searchTables()
{
    command(tableSearchRequest());
    // What arrived after the last status read is already part of the search
    // output, so nothing is thrown away here.
    QString text;
    SearchWords words;
    const qint64 start = clock_.seconds();
    SearchEnd end = SearchEnd::Running;
    for (;;) {
        const QByteArray received = line_.read();
        if (!received.isEmpty()) {
            text += fromBytes(received);
            words.scan(text);
        }
        if (!line_.failure().isEmpty()) {
            // What the receiver said before it went away (a table it found)
            // is the check's result so far. It keeps the block's usual CR LF,
            // so the failure line stands on a line of its own even when the
            // receiver went away in the middle of one.
            host_.appendLog(text + crlf());
            lineFailed();
            return;
        }
        end = searchEnd(clock_.seconds() - start, words.found(), words.ended());
        if (end != SearchEnd::Running)
            break;
        idle();
    }
    text += searchEndMessage(end);
    host_.appendLog(text + crlf());
    host_.repaintLog();
}

void SignalCheck::write(const QString &text)
{
    line_.write(toBytes(text));
}

void SignalCheck::command(const QString &text)
{
    // The receiver expects its prefix as a write of its own.
    write(commandPrefix());
    write(text);
}

void SignalCheck::idle()
{
    // Sleeping on the port instead of spinning keeps a three-minute check
    // nearly free; the slice is short against the clock's whole seconds, so
    // no timing rule moves.
    line_.waitForData(kPollSliceMs);
    host_.keepPainted();
}

double SignalCheck::timeout()
{
    // Read afresh at every comparison, as typed at that moment.
    return readNumber(host_.boxText(5));
}

} // namespace ws::receiver
