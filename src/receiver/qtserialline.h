#pragma once

#include "core/platform.h"

#include <memory>

class QSerialPort;

// The receiver's line on a real serial port (or anything that looks like
// one: a USB adapter, a pseudo-terminal).
namespace ws {

class QtSerialLine : public SerialLine
{
public:
    QtSerialLine();
    ~QtSerialLine() override;

    void setPortName(const QString &device) override;
    bool open() override;
    QString errorString() const override { return openError_; }
    void close() override;
    void write(const QByteArray &bytes) override;
    QByteArray read() override;
    void setActivityHandler(std::function<void()> handler) override;
    QString failure() const override { return failure_; }
    bool hungUp() const override { return hungUp_; }

    // The most the port holds unread, and the most one read() returns.
    // Without a limit the port takes all the device has whenever waited on,
    // so a device that never stops would fill the memory even while nothing
    // is read (the settle). The rest waits in the system's small buffer.
    static constexpr qint64 kReadBufferBytes = 64 * 1024;

private:
    // Keeps the first error that means the line is gone and clears the
    // port's error state for the next call.
    void noteError();
    // Whether the far end closed the device or the adapter was pulled out.
    bool deviceHungUp();
    void tellActivity();

    // Held by pointer so that what includes this needs no Qt Serial Port.
    std::unique_ptr<QSerialPort> port_;
    QString device_;
    QString openError_;
    QString failure_;
    bool hungUp_ = false;
    std::function<void()> onActivity_;
};

// The system's reason for a failed open of `device`, with a hint on access
// when it is a lack of permission.
QString openFailureText(const QString &device, const QString &reason);

#ifdef Q_OS_UNIX
// Why the device that a port name stands for is no serial port the
// receiver can be on, or an empty text when it may be one: it must be a
// terminal device, and neither the terminal the program was started from
// (under its own name or as /dev/tty) nor the system console.
QString notASerialPort(const QString &device);
#endif

} // namespace ws
