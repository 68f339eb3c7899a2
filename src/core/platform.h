#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>
#include <memory>

// The few things the program asks of its surroundings, each behind a small
// interface so that tests can script them: no test opens a real dialog,
// waits for a real second or needs a receiver on a real port. The event
// loop, which deals in widgets, is the window's own (windowplatform.h).
namespace ws {

class UserDialogs
{
public:
    virtual ~UserDialogs() = default;
    // A modal file-open dialog pre-filled with `fileName`, which holds the
    // chosen path on true; false when the user cancelled or it failed.
    virtual bool openFile(const QString &title, QString &fileName) = 0;
    // The same for saving: a name that exists only once the user agreed to replace it.
    virtual bool saveFile(const QString &title, QString &fileName) = 0;
    // A modal folder picker pre-filled with `folder`; false when cancelled,
    // and always where no folder can be picked (a picture drawn off-screen).
    virtual bool chooseFolder(const QString &title, QString &folder)
    {
        Q_UNUSED(title);
        Q_UNUSED(folder);
        return false;
    }
    // A modal message box captioned "Wavesift" with one OK button. `detail`
    // stands below the text: the file and why it failed, where the text is a
    // fixed one such as "Cancel/Abbruch".
    virtual void message(const QString &text, const QString &detail = QString()) = 0;
};

// A wake-up on the program's event loop. Its handler runs from the loop,
// never from inside start(), so whoever starts a timer may do so in the
// middle of its own work.
class Timer
{
public:
    virtual ~Timer() = default;
    // The handler runs once, `milliseconds` from now; a running timer starts over.
    virtual void start(int milliseconds) = 0;
    virtual void stop() = 0;
};

class Clock
{
public:
    virtual ~Clock() = default;
    // A steady clock in whole seconds; only differences mean anything.
    virtual qint64 seconds() = 0;
    // The same steady clock in milliseconds, for pauses shorter than a second.
    virtual qint64 milliseconds() = 0;
    // How long, in milliseconds of the same clock, until seconds() may
    // read one more: whoever decides by whole seconds need not look before.
    virtual int millisecondsToNextSecond() = 0;
    // The wall-clock date and time, for the logs.
    virtual QDateTime now() = 0;
    // A timer on the same time base as milliseconds().
    virtual std::unique_ptr<Timer> createTimer(std::function<void()> handler) = 0;
};

class SystemServices
{
public:
    virtual ~SystemServices() = default;
    virtual void beep() = 0;
    // The folder of the program's executable, without a trailing separator.
    virtual QString programFolder() = 0;
    // The program's folder in the user's data location (may not exist yet;
    // empty when there is none): results go there when the program's own
    // folder is not the user's to write.
    virtual QString userDataFolder() = 0;
    // Why userDataFolder() is empty, when the system knows.
    virtual QString noUserDataFolder() { return QString(); }
};

// The receiver's serial line: the port is opened and closed around every
// check and nothing else is kept between checks. It is driven from the event
// loop: whoever reads it hears when there is something to read.
class SerialLine
{
public:
    virtual ~SerialLine() = default;
    // The device to open next: "COM2" on Windows, "/dev/ttyS1" or any path on Linux.
    virtual void setPortName(const QString &device) = 0;
    // Opens with the line parameters of the receiver's protocol.
    virtual bool open() = 0;
    // Why the last open failed, in the system's words.
    virtual QString errorString() const = 0;
    virtual void close() = 0;
    virtual void write(const QByteArray &bytes) = 0;
    // Everything received so far, empty when nothing arrived; never waits.
    virtual QByteArray read() = 0;
    // Called from the event loop whenever bytes may have arrived or the open
    // line may have failed; an empty handler hears nothing.
    virtual void setActivityHandler(std::function<void()> handler) = 0;
    // Why the open line stopped working (the device went away, a read or a
    // write failed); empty while it works. Cleared by the next open().
    virtual QString failure() const = 0;
    // Whether that failure was the far end hanging up (the device went
    // away) rather than an error on a line that is still there.
    virtual bool hungUp() const { return false; }
};

} // namespace ws
