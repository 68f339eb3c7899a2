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
    : conversation_(line, clock, [this] { wake(); }), clock_(clock),
      settings_(std::move(settings)), events_(events),
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
    failure_ = {};
    const ReceiverSettings atStart = settings_();

    append(checkingLine(frequency, polarisation));
    if (const PortFailure failed = conversation_.open(settings_().port)) {
        failPort(QString(), failed);
        finish();
        return;
    }
    conversation_.tune(tuneCommand(frequency, polarisation, atStart.lnbPower, atStart.diseqc));
    settle();
}

void SignalCheck::stop()
{
    if (!running())
        return;
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
        if (conversation_.isOpen())
            conversation_.takeUnread();
        result_.received = conversation_.heardSinceTune();
        sofar = result_;
        if (phase_ == Phase::Searching) {
            sofar.searchText = searchText_;
            sofar.log += searchLines(searchText_, SearchEnd::Running);
        }
    }
    handOver_->stop();
    conversation_.close();
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
    conversation_.waitForLine(clock_.millisecondsToNextSecond());
}

void SignalCheck::settle()
{
    switch (conversation_.settle()) {
    case Conversation::Step::Waiting:
        phase_ = Phase::Settling;
        return;
    case Conversation::Step::Failed:
        failPort(QString(), conversation_.failure());
        finish();
        return;
    case Conversation::Step::Done:
        break;
    }
    phaseStart_ = clock_.seconds();
    askForStatus();
}

void SignalCheck::askForStatus()
{
    conversation_.requestStatus();
    gatherReply();
}

void SignalCheck::gatherReply()
{
    elapsed_ = clock_.seconds() - phaseStart_;
    const Conversation::Reply gathered = conversation_.gatherReply();
    if (gathered == Conversation::Reply::Failed || gathered == Conversation::Reply::Flooded) {
        failPort(QString(), conversation_.failure());
        finish();
        return;
    }
    if (elapsed_ > timeout())
        judgeReply(QString(kTimedOutReply));
    else if (gathered == Conversation::Reply::Complete)
        judgeReply(conversation_.cutReply());
    else
        waitFor(Phase::Gathering);
}

void SignalCheck::judgeReply(const QString &cut)
{
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
    // The pause only delays the next request, by far less than the clock's
    // whole seconds: a reply is judged before it and the end of the phase
    // decided before it.
    phase_ = Phase::Pausing;
    conversation_.pauseBeforeNextRequest();
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
    conversation_.requestText(kTableSearchRequest, kMaxSearchBytes);
    searchText_.clear();
    words_ = SearchWords();
    phaseStart_ = clock_.seconds();
    phase_ = Phase::Searching;
    search();
}

void SignalCheck::search()
{
    const Conversation::Text received = conversation_.readText();
    if (!received.bytes.isEmpty()) {
        const QString piece = fromBytes(received.bytes);
        searchText_ += piece;
        words_.scan(searchText_);
        events_.searchReceived(piece);
    }
    if (received.status == Conversation::Reply::Failed) {
        // What the receiver said before it went away (a table it found) is
        // the check's result so far. It keeps the block's usual CR LF, so
        // the failure line stands on a line of its own even when the
        // receiver went away in the middle of one.
        result_.searchText = searchText_;
        failPort(searchLines(searchText_, SearchEnd::Running), conversation_.failure());
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
    if (received.status == Conversation::Reply::Flooded) {
        // What was kept goes into the log as a search cut short.
        result_.searchText = searchText_;
        failPort(searchLines(searchText_, SearchEnd::Running), conversation_.failure());
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
    if (!conversation_.heardSinceFirstRequest()) {
        result_.portFailed = true;
        result_.silent = true;
        failure_ = conversation_.silence(timeoutText);
    }
}

void SignalCheck::failPort(const QString &logFirst, const PortFailure &failure)
{
    result_.portFailed = true;
    append(logFirst + failure.message + crlf());
    failure_ = failure;
}

void SignalCheck::append(const QString &text)
{
    result_.log += text;
    events_.logAppended(text);
}

double SignalCheck::timeout()
{
    // Read afresh at every comparison, as typed at that moment.
    return readNumber(settings_().timeout);
}

void SignalCheck::finish()
{
    result_.received = conversation_.heardSinceTune();
    conversation_.close();
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
    const PortFailure failure = result.stopped ? PortFailure() : failure_;
    if (failure)
        events_.portFailed(failure);
    if (done)
        done(result);
}

} // namespace ws::receiver
