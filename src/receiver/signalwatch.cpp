#include "receiver/signalwatch.h"

#include "core/numbers.h"
#include "core/texts.h"
#include "receiver/checklog.h"

#include <algorithm>

namespace ws::receiver {

QLatin1String stateWord(WatchState state)
{
    switch (state) {
    case WatchState::Locked:
        return QLatin1String("locked");
    case WatchState::NotConfirmed:
        return QLatin1String("not confirmed");
    case WatchState::NoLock:
        break;
    case WatchState::NoAnswer:
        return QLatin1String("no answer");
    }
    return QLatin1String("no lock");
}

WatchState stateOfReply(QStringView cut)
{
    if (reportsLock(cut))
        return WatchState::Locked;
    return beginsWithLockCode(cut) ? WatchState::NotConfirmed : WatchState::NoLock;
}

QString replyText(const QString &cut)
{
    QString text = cut.mid(kLockCode.size());
    while (text.endsWith(QLatin1Char('\r')) || text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

void WatchTally::add(WatchState state, qint64 ms)
{
    if (state != WatchState::NoAnswer)
        ++replies_;
    if (haveState_ && state == state_)
        return;
    close(ms);
    haveState_ = true;
    state_ = state;
    stateSinceMs_ = ms;
}

void WatchTally::end(qint64 ms)
{
    close(ms);
    haveState_ = false;
}

void WatchTally::close(qint64 ms)
{
    if (!haveState_ || state_ != WatchState::Locked)
        return;
    const qint64 held = ms - stateSinceMs_;
    lockedMs_ += held;
    longestLockMs_ = std::max(longestLockMs_, held);
}

QString watchSummary(const WatchTally &tally, qint64 durationMs)
{
    const auto seconds = [](qint64 ms) { return QString::number(double(ms) / 1000, 'f', 1); };
    const qint64 percent = durationMs > 0 ? qRound64(100.0 * double(tally.lockedMs()) /
                                                     double(durationMs))
                                          : 0;
    return QStringLiteral("%1 replies in %2 s: locked %3 % of the time, longest lock %4 s")
        .arg(tally.replies())
        .arg(seconds(durationMs))
        .arg(percent)
        .arg(seconds(tally.longestLockMs()));
}

SignalWatch::SignalWatch(SerialLine &line, Clock &clock, SettingsSource settings,
                         WatchEvents &events)
    : line_(line), clock_(clock), settings_(std::move(settings)), events_(events),
      wakeUp_(clock.createTimer([this] { wake(); })),
      handOver_(clock.createTimer([this] {
          phase_ = Phase::Idle;
          events_.failed(failure_);
      }))
{
}

SignalWatch::~SignalWatch()
{
    stop();
}

void SignalWatch::start(const QString &frequency, Polarisation polarisation)
{
    if (phase_ != Phase::Idle)
        return;
    phase_ = Phase::Settling;
    heardEver_ = false;
    silenceTold_ = false;
    const ReceiverSettings atStart = settings_();
    const PortChoice port = portFor(atStart.port);
    portLabel_ = port.label;
    const QString openFailure = openLine(line_, port);
    if (!openFailure.isEmpty()) {
        fail(openFailure);
        return;
    }
    portOpen_ = true;
    line_.setActivityHandler([this] {
        if (phase_ == Phase::Gathering || !line_.failure().isEmpty())
            wakeUp_->start(0);
    });
    settleStart_ = clock_.seconds();
    line_.write(toBytes(kCommandPrefix));
    line_.write(toBytes(tuneCommand(frequency, polarisation, atStart.lnbPower, atStart.diseqc)));
    settle();
}

void SignalWatch::stop()
{
    wakeUp_->stop();
    handOver_->stop();
    closePort();
    phase_ = Phase::Idle;
}

void SignalWatch::wake()
{
    switch (phase_) {
    case Phase::Settling:
        settle();
        break;
    case Phase::Gathering:
        gather();
        break;
    case Phase::Pausing:
        ask();
        break;
    case Phase::Idle:
    case Phase::Failing:
        break;
    }
}

void SignalWatch::settle()
{
    if (!line_.failure().isEmpty()) {
        fail(stoppedWorkingMessage(portLabel_, line_.failure()));
        return;
    }
    // The tuner needs the same moment as for a check.
    if (clock_.seconds() - settleStart_ < kSettleSeconds) {
        wakeUp_->start(clock_.millisecondsToNextSecond());
        return;
    }
    ask();
}

void SignalWatch::ask()
{
    // What came after the last reply belongs to none; it shows that someone
    // is there all the same.
    heardEver_ = heardEver_ || !line_.read().isEmpty();
    reply_.begin();
    line_.write(toBytes(kCommandPrefix));
    line_.write(toBytes(kStatusRequest));
    askedMs_ = clock_.milliseconds();
    phase_ = Phase::Gathering;
    gather();
}

void SignalWatch::gather()
{
    const QByteArray received = line_.read();
    if (!line_.failure().isEmpty()) {
        fail(stoppedWorkingMessage(portLabel_, line_.failure()));
        return;
    }
    heardEver_ = heardEver_ || !received.isEmpty();
    switch (reply_.add(received)) {
    case StatusReply::Gathered::Flooded:
        fail(stoppedWorkingMessage(portLabel_, floodedReplyReason()));
        return;
    case StatusReply::Gathered::Complete: {
        const QString cut = reply_.cut();
        judge(stateOfReply(cut), replyText(cut));
        return;
    }
    case StatusReply::Gathered::Incomplete:
        break;
    }
    const qint64 left = askedMs_ + timeoutMs() - clock_.milliseconds();
    if (left > 0) {
        wakeUp_->start(int(std::min<qint64>(left, 1000)));
        return;
    }
    // Bytes that did not make a reply in time count as no lock, as in a
    // check; not one byte is silence.
    if (reply_.size() > 0) {
        judge(WatchState::NoLock, QString());
    } else if (!heardEver_) {
        fail(silentPortMessage(portLabel_, settings_().timeout));
    } else {
        const bool tell = !silenceTold_;
        silenceTold_ = true;
        phase_ = Phase::Pausing;
        wakeUp_->start(kRequestGapMs);
        if (tell)
            events_.replied(WatchState::NoAnswer, QString());
    }
}

void SignalWatch::judge(WatchState state, const QString &text)
{
    silenceTold_ = false;
    // Answered at once, the receiver would otherwise be asked hundreds of
    // times a second; with the gap at most 25 times.
    phase_ = Phase::Pausing;
    wakeUp_->start(kRequestGapMs);
    events_.replied(state, text);
}

void SignalWatch::fail(const QString &message)
{
    wakeUp_->stop();
    closePort();
    failure_ = message;
    phase_ = Phase::Failing;
    handOver_->start(0);
}

void SignalWatch::closePort()
{
    if (!portOpen_)
        return;
    portOpen_ = false;
    line_.setActivityHandler({});
    line_.close();
}

qint64 SignalWatch::timeoutMs()
{
    // Read afresh, as typed at that moment; under a second the receiver
    // would hardly ever get to answer.
    return qint64(std::max(1.0, readNumber(settings_().timeout)) * 1000);
}

} // namespace ws::receiver
