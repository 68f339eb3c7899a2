#pragma once

#include "core/platform.h"
#include "core/sound.h"

#include <QByteArrayList>
#include <QDateTime>
#include <QStringList>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// Scripted stand-ins for the platform below the window, for tests of any
// layer; Qt Core only.
namespace ws::test {

// File dialogs answer from a script; every dialog shown and every message
// box is recorded.
class FakeDialogs : public UserDialogs
{
public:
    struct Shown
    {
        QString title;
        QString prefilled;
        bool save = false; // a dialog for saving rather than opening
    };

    // The next dialog picks `path`.
    void pick(const QString &path) { answers.push_back(path); }
    // The next dialog is cancelled.
    void cancel() { answers.push_back(std::nullopt); }

    // Every kind of file dialog answers from the same script.
    bool openFile(const QString &title, QString &fileName) override;
    bool saveFile(const QString &title, QString &fileName) override;
    bool chooseFolder(const QString &title, QString &folder) override;
    void message(const QString &text, const QString &detail = QString()) override;

    std::deque<std::optional<QString>> answers;
    std::vector<Shown> shown;
    QStringList messages;
    QStringList details; // one per message, empty where it had none
    // Runs inside message(), while the box would be open.
    std::function<void(const QString &)> onMessage;
};

// A virtual clock: each reading advances it by `step` seconds after
// returning, so that a check's steps finish in microseconds. Its
// milliseconds run apart from its seconds and only as its timers run:
// runTimers() plays the event loop, firing the timers in the order of
// their deadlines and moving the milliseconds on to each.
class FakeClock : public Clock
{
public:
    ~FakeClock() override;
    qint64 seconds() override;
    qint64 milliseconds() override { return currentMs; }
    // The seconds run apart: a wait for the next one is a short slice, after
    // which the next reading moves on by `step`.
    int millisecondsToNextSecond() override { return kSliceMs; }
    QDateTime now() override { return wallClock; }
    std::unique_ptr<Timer> createTimer(std::function<void()> handler) override;

    // Fires due timers until none is left or `until` holds (asked before
    // each); false when `maxFired` timers fired first, as for a machine
    // that never comes to rest.
    bool runTimers(const std::function<bool()> &until = {}, int maxFired = 10'000'000);
    // Moves the milliseconds on by `milliseconds`, firing on the way the
    // timers that fall due, each at its deadline.
    void advance(qint64 milliseconds);
    // Whether any timer waits to fire.
    bool timerPending() const;

    static constexpr int kSliceMs = 20;

    qint64 current = 1000;
    qint64 currentMs = 0;
    qint64 step = 0;
    int readings = 0;
    // Timers fired so far.
    int fired = 0;
    std::function<void(FakeClock &)> onReading;
    QDateTime wallClock = QDateTime(QDate(2026, 12, 7), QTime(10, 30, 15));

private:
    class FakeTimer;
    FakeTimer *nextDue() const;
    void fire(FakeTimer *timer);

    std::vector<FakeTimer *> timers_;
    quint64 starts_ = 0;
};

class FakeSystem : public SystemServices
{
public:
    void beep() override { ++beeps; }
    QString programFolder() override { return folder; }
    QString userDataFolder() override { return dataFolder; }

    int beeps = 0;
    QString folder;
    QString dataFolder;
};

// A serial line with a scripted far end: tests feed received bytes, read
// back every write, and can make the open fail.
class FakeSerial : public SerialLine
{
public:
    void setPortName(const QString &device) override { portName = device; }
    bool open() override;
    QString errorString() const override { return openError; }
    void close() override;
    void write(const QByteArray &bytes) override;
    QByteArray read() override;
    void setActivityHandler(std::function<void()> handler) override;
    QString failure() const override { return failureText; }

    // Bytes that the next read() returns; whoever listens hears of them from
    // the clock's event loop, as from a real port.
    void feed(const QByteArray &bytes);
    // The line fails with `reason` (an unplugged adapter), and says so.
    void fail(const QString &reason);

    QString portName;
    bool isOpen = false;
    int opens = 0;
    int closes = 0;
    // Set to hear of activity through its timers; without it nobody does.
    FakeClock *clock = nullptr;
    bool failOpen = false;
    // Set to make the open line fail, as an unplugged adapter does.
    QString failureText;
    QString openError = QStringLiteral("No such file or directory");
    QByteArrayList written;
    QByteArray pending;
    // Called after every write, e.g. to feed the reply to a command.
    std::function<void(const QByteArray &)> onWrite;
    // Called as the line is closed.
    std::function<void()> onClose;

private:
    void tellActivity();

    std::function<void()> onActivity_;
    std::unique_ptr<Timer> activity_;
    FakeClock *activityClock_ = nullptr;
};

// A sound device that plays into the test: the sinks it makes hand it the
// generator they were started with, and it renders what would be heard.
class FakeSpeaker
{
public:
    std::unique_ptr<SoundSink> makeSink();
    // The next `count` samples of what plays; none while nothing does.
    std::vector<std::int16_t> listen(int count);

    // Set to make every sink fail to start, as without a sound server.
    bool refuse = false;
    int starts = 0;
    ToneGenerator *playing = nullptr;
};

} // namespace ws::test
