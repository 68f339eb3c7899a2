#include "receiver/signalcheck.h"

#include "core/numbers.h"
#include "core/texts.h"
#include "receiver/checklog.h"

#include <utility>

namespace ws::receiver {

bool CheckResult::endedOnReady() const
{
    if (searchEnd != SearchEnd::Finished)
        return false;
    // Should both words have come in with the same read, the one that came
    // first ended it.
    const qsizetype ready = searchText.indexOf(kSearchReadyWord);
    const qsizetype noSignal = searchText.indexOf(kNoSignalWord);
    return ready >= 0 && (noSignal < 0 || ready < noSignal);
}

QString stoppedLine()
{
    return QStringLiteral("Stopped by the user.");
}

SignalCheck::SignalCheck(SerialLine &line, Clock &clock, SettingsSource settings,
                         CheckEvents &events)
    : line_(line), clock_(clock), settings_(std::move(settings)), events_(events),
      wakeUp_(clock.createTimer([this] { wake(); })),
      handOver_(clock.createTimer([this] { deliver(); }))
{
}

SignalCheck::~SignalCheck()
{
    abandon();
}

void SignalCheck::start(const QString &frequency, Polarisation polarisation, Done done)
{
    if (phase_ != Phase::Idle)
        return;
    // Running from here on, for whoever asks while it writes and logs.
    phase_ = Phase::Settling;
    done_ = std::move(done);
    result_ = CheckResult();
    failureMessage_.clear();
    heard_ = false;
    const ReceiverSettings atStart = settings_();

    append(checkingLine(frequency, polarisation));
    if (!openPort()) {
        finish();
        return;
    }
    portOpen_ = true;
    // Bytes wake a phase that reads the line at once, instead of at the end
    // of its poll slice. A failure wakes any phase, which then ends the
    // check: a line that keeps reporting it must not keep waking us.
    line_.setActivityHandler([this] {
        const bool reading = phase_ == Phase::Gathering || phase_ == Phase::Searching;
        if (reading || (running() && !line_.failure().isEmpty()))
            wakeUp_->start(0);
    });

    phaseStart_ = clock_.seconds();
    command(tuneCommand(frequency, polarisation, atStart.lnbPower, atStart.diseqc));
    // The tuner needs a moment before its status means anything.
    settle();
}

void SignalCheck::stop()
{
    if (!running())
        return;
    wakeUp_->stop();
    if (phase_ == Phase::Searching) {
        // What the receiver said so far (a table it found) is part of the
        // result, on lines of its own as after a line that failed.
        result_.searchText = searchText_;
        append(searchLines(searchText_, SearchEnd::Running));
    }
    result_.stopped = true;
    append(stoppedLine() + crlf());
    finish();
}

CheckResult SignalCheck::abandon()
{
    CheckResult sofar;
    if (phase_ == Phase::Ending) {
        // Ended, only not yet handed over: all of it.
        sofar = result_;
    } else if (running()) {
        // Bytes that came and were not read yet still came.
        if (portOpen_ && !line_.read().isEmpty())
            result_.received = true;
        sofar = result_;
        if (phase_ == Phase::Searching) {
            sofar.searchText = searchText_;
            sofar.log += searchLines(searchText_, SearchEnd::Running);
        }
    }
    wakeUp_->stop();
    handOver_->stop();
    closePort();
    phase_ = Phase::Idle;
    done_ = nullptr;
    return sofar;
}

void SignalCheck::wake()
{
    events_.waiting();
    switch (phase_) {
    case Phase::Settling:
        settle();
        break;
    case Phase::Gathering:
        gatherReply();
        break;
    case Phase::Pausing:
        askForStatus();
        break;
    case Phase::Searching:
        search();
        break;
    case Phase::Idle:
    case Phase::Ending:
        break;
    }
}

void SignalCheck::waitFor(Phase phase)
{
    // Every rule of the check decides by what the line said or by whole
    // seconds of the clock: between bytes it need not look before the next
    // second, which keeps a three-minute wait nearly free without moving a
    // timing rule. The line's activity wakes a phase that reads it.
    phase_ = phase;
    wakeUp_->start(clock_.millisecondsToNextSecond());
}

void SignalCheck::settle()
{
    if (clock_.seconds() - phaseStart_ < kSettleSeconds && !lineFailed()) {
        waitFor(Phase::Settling);
        return;
    }
    if (lineFailed()) {
        finish();
        return;
    }
    phaseStart_ = clock_.seconds();
    asked_ = false;
    askForStatus();
}

void SignalCheck::askForStatus()
{
    // Whatever came in since the last request belongs to an older reply,
    // but it shows that someone is there.
    const bool stale = !line_.read().isEmpty();
    result_.received = result_.received || stale;
    heard_ = heard_ || (asked_ && stale);
    reply_.begin();
    command(kStatusRequest);
    asked_ = true;
    gatherReply();
}

void SignalCheck::gatherReply()
{
    elapsed_ = clock_.seconds() - phaseStart_;
    const QByteArray received = line_.read();
    if (lineFailed()) {
        finish();
        return;
    }
    heard_ = heard_ || !received.isEmpty();
    result_.received = result_.received || !received.isEmpty();
    const StatusReply::Gathered gathered = reply_.add(received);
    if (gathered == StatusReply::Gathered::Flooded) {
        failPort(QString(), stoppedWorkingMessage(portLabel_, floodedReplyReason()));
        finish();
        return;
    }
    if (elapsed_ > timeout())
        judgeReply(QString(kTimedOutReply));
    else if (gathered == StatusReply::Gathered::Complete)
        judgeReply(reply_.cut());
    else
        waitFor(Phase::Gathering);
}

void SignalCheck::judgeReply(const QString &cut)
{
    replyEndMs_ = clock_.milliseconds();
    result_.lastReply = cut;
    if (beginsWithLockCode(cut) && !reportsLock(cut))
        result_.unconfirmedLock = true;
    if (reportsLock(cut)) {
        append(lockedLine(elapsed_, cut, clock_.now()));
        result_.locked = true;
        events_.locked();
        lockPhaseEnded(cut);
        return;
    }
    if (!(clock_.seconds() - phaseStart_ < timeout())) {
        lockPhaseEnded(cut);
        return;
    }
    // A receiver that answers at once would otherwise be asked hundreds of
    // times a second. The pause only delays the next request, by far less
    // than the clock's whole seconds: a reply is judged before it, the end
    // of the phase is decided before it, and whatever arrives meanwhile is
    // stale input that the next request throws away anyway.
    phase_ = Phase::Pausing;
    const qint64 left = kRequestGapMs - (clock_.milliseconds() - replyEndMs_);
    if (left <= 0)
        askForStatus();
    else
        wakeUp_->start(int(left));
}

void SignalCheck::lockPhaseEnded(const QString &reply)
{
    // A reply that says "Aut" never counted as a lock, but if it was the
    // last one the tuner still gets its table search.
    if (!beginsWithLockCode(reply)) {
        noLock();
        finish();
        return;
    }
    command(kTableSearchRequest);
    // What arrived after the last status read is already part of the search
    // output, so nothing is thrown away here.
    searchText_.clear();
    words_ = SearchWords();
    phaseStart_ = clock_.seconds();
    phase_ = Phase::Searching;
    search();
}

void SignalCheck::search()
{
    QByteArray received = line_.read();
    result_.received = result_.received || !received.isEmpty();
    const qsizetype room = qMax<qsizetype>(0, kMaxSearchBytes - searchText_.size());
    const bool flooded = received.size() > room;
    received.truncate(room);
    if (!received.isEmpty()) {
        const QString piece = fromBytes(received);
        searchText_ += piece;
        words_.scan(searchText_);
        events_.searchReceived(piece);
    }
    if (!line_.failure().isEmpty()) {
        // What the receiver said before it went away (a table it found) is
        // the check's result so far. It keeps the block's usual CR LF, so
        // the failure line stands on a line of its own even when the
        // receiver went away in the middle of one.
        result_.searchText = searchText_;
        failPort(searchLines(searchText_, SearchEnd::Running),
                 stoppedWorkingMessage(portLabel_, line_.failure()));
        finish();
        return;
    }
    const SearchEnd end =
        searchEnd(clock_.seconds() - phaseStart_, words_.found(), words_.ended(), searchLimit_);
    if (end != SearchEnd::Running) {
        result_.searchText = searchText_;
        result_.searchEnd = end;
        append(searchLines(searchText_, end, searchLimit_));
        finish();
        return;
    }
    if (flooded) {
        // What was kept goes into the log as a search cut short.
        result_.searchText = searchText_;
        failPort(searchLines(searchText_, SearchEnd::Running),
                 stoppedWorkingMessage(portLabel_, floodedSearchReason()));
        finish();
        return;
    }
    waitFor(Phase::Searching);
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
        result_.silent = true;
        failureMessage_ = silentPortMessage(portLabel_, timeoutText);
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
    failureMessage_ = message;
}

QString openLine(SerialLine &line, const PortChoice &port)
{
    if (port.device.isEmpty())
        return openFailedMessage(port.label, noSuchPortReason());
    line.setPortName(port.device);
    return line.open() ? QString() : openFailedMessage(port.label, line.errorString());
}

bool SignalCheck::openPort()
{
    const PortChoice port = portFor(settings_().port);
    portLabel_ = port.label;
    const QString failure = openLine(line_, port);
    if (failure.isEmpty())
        return true;
    failPort(QString(), failure);
    return false;
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

double SignalCheck::timeout()
{
    // Read afresh at every comparison, as typed at that moment.
    return readNumber(settings_().timeout);
}

void SignalCheck::closePort()
{
    if (!portOpen_)
        return;
    portOpen_ = false;
    line_.setActivityHandler({});
    line_.close();
}

void SignalCheck::finish()
{
    wakeUp_->stop();
    closePort();
    phase_ = Phase::Ending;
    handOver_->start(0);
}

void SignalCheck::deliver()
{
    // Whoever hears the result may start the next check at once, on this
    // same machine; nothing of this one is touched after.
    phase_ = Phase::Idle;
    const Done done = std::exchange(done_, nullptr);
    const CheckResult result = result_;
    const QString failure = result.stopped ? QString() : failureMessage_;
    if (!failure.isEmpty())
        events_.portFailed(failure);
    if (done)
        done(result);
}

} // namespace ws::receiver
