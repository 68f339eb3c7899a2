#include "app/windowwatch.h"

#include "app/logpanel.h"
#include "app/verdicttile.h"
#include "plot/palette.h"
#include "receiver/checklog.h"

#include <QStringList>

using ws::receiver::WatchState;

WindowWatch::WindowWatch(Needs needs)
    : needs_(std::move(needs)), watch_(needs_.line, needs_.clock, needs_.settings, *this),
      secondly_(needs_.clock.createTimer([this] { tick(); }))
{
}

WindowWatch::~WindowWatch() = default;

void WindowWatch::start(const QString &frequency, ws::receiver::Polarisation polarisation)
{
    where_ = checkedAt(frequency, polarisation);
    frequency_ = frequency;
    polarisation_ = polarisation;
    haveState_ = false;
    lines_.clear();
    needs_.log.showWithEndInView(QString());
    // The tuner settles first, as for a check.
    showOnTile({QStringLiteral("WATCHING ") + where_, QStringLiteral("TUNING"),
                ws::palette::verdictWorking, {}});
    needs_.setTitle(QStringLiteral("Wavesift: watching ") + where_);
    if (follower_)
        follower_->begun(frequency, polarisation);
    watch_.start(frequency, polarisation);
    secondly_->start(1000);
}

void WindowWatch::setFollower(WatchFollower *follower)
{
    follower_ = follower;
    if (!follower_ || !watch_.running())
        return;
    follower_->begun(frequency_, polarisation_);
    if (haveState_)
        follower_->replied(state_, text_, level_);
}

void WindowWatch::setBeeping(bool on)
{
    beeping_ = on;
    if (follower_)
        follower_->setSounding(on);
}

void WindowWatch::stop(Ending why)
{
    if (!watch_.running())
        return;
    watch_.stop();
    endedMs_ = needs_.clock.milliseconds();
    // A state minutes old must not pass for the dish's state now.
    showOnTile(watchEndedVerdict(where_, haveState_ ? std::optional(state_) : std::nullopt, 0));
    logEnd(why == Ending::WindowClosed ? QStringLiteral("window closed")
                                       : QStringLiteral("stopped"));
    needs_.setTitle(QStringLiteral("Wavesift"));
    if (follower_)
        follower_->stopped();
    secondly_->start(1000);
}

void WindowWatch::tick()
{
    if (watch_.running()) {
        // How long the state has held goes on counting between replies,
        // and through a silence.
        showState();
    } else if (needs_.tile.verdict() == shown_) {
        const qint64 ago = (needs_.clock.milliseconds() - endedMs_) / 1000;
        showOnTile(watchEndedVerdict(where_, haveState_ ? std::optional(state_) : std::nullopt,
                                     ago));
    } else {
        // Something else has the tile now.
        return;
    }
    secondly_->start(1000);
}

void WindowWatch::replied(WatchState state, const QString &text, std::optional<double> level)
{
    if (follower_)
        follower_->replied(state, text, level);
    const bool changed = !haveState_ || state != state_;
    text_ = text;
    level_ = level;
    if (changed) {
        haveState_ = true;
        state_ = state;
        stateSinceMs_ = needs_.clock.milliseconds();
        lines_.push_back(needs_.clock.now().toString(QStringLiteral("HH:mm:ss ")) +
                         ws::receiver::stateWord(state) + QStringLiteral(": ") +
                         shownReplyText(text));
        showLog();
        needs_.setTitle(QStringLiteral("Wavesift: watching %1: %2")
                         .arg(where_, ws::receiver::stateWord(state)));
        if (state == WatchState::Locked && beeping_)
            needs_.system.beep();
    }
    showState();
}

void WindowWatch::failed(const ws::receiver::PortFailure &failure)
{
    secondly_->stop();
    const bool silent = failure.kind == ws::receiver::PortFailure::Kind::Silent;
    showOnTile(watchFailedVerdict(where_, silent));
    logEnd(silent ? QStringLiteral("no answer") : QStringLiteral("port failed"));
    needs_.setTitle(QStringLiteral("Wavesift"));
    if (follower_)
        follower_->failed(failure);
    else
        needs_.dialogs.message(failure.message, ws::receiver::portFailureAdvice(failure));
}

void WindowWatch::showState()
{
    if (!haveState_)
        return;
    showOnTile(
        watchVerdict(where_, state_, text_, (needs_.clock.milliseconds() - stateSinceMs_) / 1000));
}

void WindowWatch::logEnd(const QString &why)
{
    lines_.push_back(needs_.clock.now().toString(QStringLiteral("HH:mm:ss ")) +
                     QStringLiteral("watch ended: ") + why);
    showLog();
}

void WindowWatch::showLog()
{
    while (int(lines_.size()) > kMaxLogLines)
        lines_.pop_front();
    needs_.log.showWithEndInView(QStringList(lines_.begin(), lines_.end()).join(QLatin1Char('\n')));
}

void WindowWatch::showOnTile(const Verdict &verdict)
{
    shown_ = verdict;
    needs_.tile.show(verdict);
}
