#pragma once

#include "core/platform.h"

#include <QByteArrayList>
#include <QDateTime>
#include <QStringList>

#include <deque>
#include <functional>
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
// returning, so that loops polling the clock finish in microseconds. Its
// milliseconds run apart from its seconds and only while the fake line is
// waited on, as a check that spins instead of sleeping gets none.
class FakeClock : public Clock
{
public:
    qint64 seconds() override;
    qint64 milliseconds() override { return currentMs; }
    QDateTime now() override { return wallClock; }

    qint64 current = 1000;
    qint64 currentMs = 0;
    qint64 step = 0;
    int readings = 0;
    std::function<void(FakeClock &)> onReading;
    QDateTime wallClock = QDateTime(QDate(2026, 12, 7), QTime(10, 30, 15));
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
    // Returns at once, but lets the wait's time pass on `clock`.
    void waitForData(int maxMilliseconds) override;
    QString failure() const override { return failureText; }

    // Bytes that the next read() returns.
    void feed(const QByteArray &bytes) { pending += bytes; }

    QString portName;
    bool isOpen = false;
    int opens = 0;
    int closes = 0;
    int waits = 0;
    FakeClock *clock = nullptr;
    bool failOpen = false;
    // Set to make the open line fail, as an unplugged adapter does.
    QString failureText;
    QString openError = QStringLiteral("No such file or directory");
    QByteArrayList written;
    QByteArray pending;
    // Called after every write, e.g. to feed the reply to a command.
    std::function<void(const QByteArray &)> onWrite;
};

} // namespace ws::test
