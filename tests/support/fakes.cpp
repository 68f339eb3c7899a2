#include "support/fakes.h"

#include <algorithm>
#include <tuple>

namespace ws::test {

bool FakeDialogs::openFile(const QString &title, QString &fileName)
{
    shown.push_back({title, fileName, false});
    if (answers.empty() || !answers.front()) {
        if (!answers.empty())
            answers.pop_front();
        return false;
    }
    fileName = *answers.front();
    answers.pop_front();
    return true;
}

bool FakeDialogs::saveFile(const QString &title, QString &fileName)
{
    const bool picked = openFile(title, fileName);
    shown.back().save = true;
    return picked;
}

bool FakeDialogs::chooseFolder(const QString &title, QString &folder)
{
    return openFile(title, folder);
}

void FakeDialogs::message(const QString &text, const QString &detail)
{
    messages << text;
    details << detail;
    if (onMessage)
        onMessage(text);
}

class FakeClock::FakeTimer : public Timer
{
public:
    FakeTimer(FakeClock &clock, std::function<void()> handler)
        : clock(&clock), handler(std::move(handler))
    {
        clock.timers_.push_back(this);
    }
    ~FakeTimer() override
    {
        if (clock)
            clock->timers_.erase(std::find(clock->timers_.begin(), clock->timers_.end(), this));
    }
    void start(int milliseconds) override
    {
        due = clock ? clock->currentMs + milliseconds : 0;
        order = clock ? ++clock->starts_ : 0;
        active = true;
    }
    void stop() override { active = false; }

    FakeClock *clock;
    std::function<void()> handler;
    qint64 due = 0;
    quint64 order = 0;
    bool active = false;
};

FakeClock::~FakeClock()
{
    // Timers may outlive their clock in a test's teardown; they then do
    // nothing.
    for (FakeTimer *timer : timers_)
        timer->clock = nullptr;
}

std::unique_ptr<Timer> FakeClock::createTimer(std::function<void()> handler)
{
    return std::make_unique<FakeTimer>(*this, std::move(handler));
}

bool FakeClock::timerPending() const
{
    return std::any_of(timers_.begin(), timers_.end(), [](const FakeTimer *t) { return t->active; });
}

FakeClock::FakeTimer *FakeClock::nextDue() const
{
    FakeTimer *next = nullptr;
    for (FakeTimer *timer : timers_) {
        if (timer->active &&
            (!next || std::tie(timer->due, timer->order) < std::tie(next->due, next->order)))
            next = timer;
    }
    return next;
}

void FakeClock::fire(FakeTimer *timer)
{
    currentMs = std::max(currentMs, timer->due);
    timer->active = false;
    ++fired;
    // A copy: the handler may delete its timer.
    const std::function<void()> handler = timer->handler;
    handler();
}

bool FakeClock::runTimers(const std::function<bool()> &until, int maxFired)
{
    for (int count = 0; count < maxFired; ++count) {
        if (until && until())
            return true;
        FakeTimer *next = nextDue();
        if (!next)
            return true;
        fire(next);
    }
    return false;
}

void FakeClock::advance(qint64 milliseconds)
{
    const qint64 until = currentMs + milliseconds;
    while (FakeTimer *next = nextDue()) {
        if (next->due > until)
            break;
        fire(next);
    }
    currentMs = until;
}

qint64 FakeClock::seconds()
{
    ++readings;
    if (onReading)
        onReading(*this);
    const qint64 now = current;
    current += step;
    return now;
}

bool FakeSerial::open()
{
    ++opens;
    if (failOpen)
        return false;
    isOpen = true;
    return true;
}

void FakeSerial::close()
{
    ++closes;
    isOpen = false;
    if (onClose)
        onClose();
}

void FakeSerial::write(const QByteArray &bytes)
{
    written << bytes;
    if (onWrite)
        onWrite(bytes);
}

void FakeSerial::setActivityHandler(std::function<void()> handler)
{
    onActivity_ = std::move(handler);
}

void FakeSerial::feed(const QByteArray &bytes)
{
    pending += bytes;
    tellActivity();
}

void FakeSerial::fail(const QString &reason)
{
    failureText = reason;
    tellActivity();
}

void FakeSerial::tellActivity()
{
    if (!clock || !isOpen)
        return;
    // As a real port says it from the event loop, not from inside the call
    // that made the far end answer.
    if (!activity_ || activityClock_ != clock) {
        activityClock_ = clock;
        activity_ = clock->createTimer([this] {
            if (onActivity_)
                onActivity_();
        });
    }
    activity_->start(0);
}

QByteArray FakeSerial::read()
{
    QByteArray out;
    out.swap(pending);
    return out;
}

namespace {

class FakeSink : public SoundSink
{
public:
    explicit FakeSink(FakeSpeaker &speaker) : speaker_(speaker) {}
    ~FakeSink() override { stop(); }
    bool start(ToneGenerator &tone) override
    {
        ++speaker_.starts;
        if (speaker_.refuse)
            return false;
        speaker_.playing = &tone;
        return true;
    }
    void stop() override { speaker_.playing = nullptr; }
    QString problem() const override
    {
        return speaker_.refuse ? QStringLiteral("no sound server") : QString();
    }

private:
    FakeSpeaker &speaker_;
};

} // namespace

std::unique_ptr<SoundSink> FakeSpeaker::makeSink()
{
    return std::make_unique<FakeSink>(*this);
}

std::vector<std::int16_t> FakeSpeaker::listen(int count)
{
    if (!playing)
        return {};
    std::vector<std::int16_t> samples(static_cast<size_t>(count));
    playing->render(samples.data(), count);
    return samples;
}

} // namespace ws::test
