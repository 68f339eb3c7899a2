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

void WatchTally::add(WatchState state, qint64 ms, std::optional<double> level,
                     const QDateTime &at)
{
    if (state != WatchState::NoAnswer) {
        ++replies_;
        if (!firstReplyMs_)
            firstReplyMs_ = ms;
    }
    if (level && (!bestLevel_ || *level > *bestLevel_)) {
        bestLevel_ = level;
        bestLevelAt_ = at;
    }
    if (level && (!lowestLevel_ || *level < *lowestLevel_))
        lowestLevel_ = level;
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
    endMs_ = ms;
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
    const qint64 judged = tally.judgedMs();
    const qint64 percent =
        judged > 0 ? qRound64(100.0 * double(tally.lockedMs()) / double(judged)) : 0;
    QString summary = QStringLiteral("%1 replies in %2 s: locked %3 % of the time, longest lock %4 s")
                          .arg(tally.replies())
                          .arg(seconds(durationMs))
                          .arg(percent)
                          .arg(seconds(tally.longestLockMs()));
    if (const std::optional<double> best = tally.bestLevel())
        summary += QStringLiteral(", best level %1 at %2")
                       .arg(formatNumber(*best),
                            tally.bestLevelAt().toString(QStringLiteral("HH:mm:ss")));
    return summary;
}

double replyWaitSeconds(const QString &timeoutText)
{
    const double seconds = readNumber(timeoutText);
    // Also what a text too large for a number reads as.
    if (!(seconds >= 1))
        return 1;
    return std::min(seconds, kMaxReplyWaitSeconds);
}

SignalWatch::SignalWatch(SerialLine &line, Clock &clock, SettingsSource settings,
                         WatchEvents &events)
    : conversation_(line, clock, [this] { wake(); }), clock_(clock),
      settings_(std::move(settings)), events_(events), handOver_(clock.createTimer([this] {
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
    silenceTold_ = false;
    const ReceiverSettings atStart = settings_();
    if (const PortFailure failed = conversation_.open(atStart.port)) {
        fail(failed);
        return;
    }
    conversation_.tune(tuneCommand(frequency, polarisation, atStart.lnbPower, atStart.diseqc));
    settle();
}

void SignalWatch::stop()
{
    handOver_->stop();
    conversation_.close();
    phase_ = Phase::Idle;
}

QString SignalWatch::setLevelPattern(const QString &pattern)
{
    if (pattern.isEmpty()) {
        levelReading_ = LevelReading();
    } else {
        const QRegularExpression expression(pattern);
        if (QString problem = levelPatternProblem(expression); !problem.isEmpty())
            return problem;
        levelReading_ = LevelReading(expression);
    }
    levelPattern_ = pattern;
    return QString();
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
    // The tuner needs the same moment as for a check.
    switch (conversation_.settle()) {
    case Conversation::Step::Waiting:
        return;
    case Conversation::Step::Failed:
        fail(conversation_.failure());
        return;
    case Conversation::Step::Done:
        break;
    }
    ask();
}

void SignalWatch::ask()
{
    conversation_.requestStatus();
    askedMs_ = clock_.milliseconds();
    phase_ = Phase::Gathering;
    gather();
}

void SignalWatch::gather()
{
    switch (conversation_.gatherReply()) {
    case Conversation::Reply::Failed:
    case Conversation::Reply::Flooded:
        fail(conversation_.failure());
        return;
    case Conversation::Reply::Complete: {
        const QString cut = conversation_.cutReply();
        judge(stateOfReply(cut), cut);
        return;
    }
    case Conversation::Reply::Incomplete:
        break;
    }
    // Read afresh, as typed at that moment.
    const double waitSeconds = replyWaitSeconds(settings_().timeout);
    const qint64 left = askedMs_ + qint64(waitSeconds * 1000) - clock_.milliseconds();
    if (left > 0) {
        conversation_.waitForLine(int(std::min<qint64>(left, 1000)));
        return;
    }
    // Bytes that did not make a reply in time count as no lock, as in a
    // check; not one byte is silence.
    if (conversation_.replyBytes() > 0) {
        judge(WatchState::NoLock, QString());
    } else if (!conversation_.heardSinceTune()) {
        fail(conversation_.silence(formatNumber(waitSeconds)));
    } else {
        const bool tell = !silenceTold_;
        silenceTold_ = true;
        phase_ = Phase::Pausing;
        conversation_.pauseBeforeNextRequest();
        if (tell)
            events_.replied(WatchState::NoAnswer, QString(), std::nullopt);
    }
}

void SignalWatch::judge(WatchState state, const QString &cut)
{
    silenceTold_ = false;
    // With the gap, at most 25 requests a second.
    phase_ = Phase::Pausing;
    conversation_.pauseBeforeNextRequest();
    events_.replied(state, replyText(cut), levelReading_.of(cut));
}

void SignalWatch::fail(const PortFailure &failure)
{
    conversation_.close();
    failure_ = failure;
    phase_ = Phase::Failing;
    handOver_->start(0);
}

} // namespace ws::receiver
