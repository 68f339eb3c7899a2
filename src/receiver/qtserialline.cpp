#include "receiver/qtserialline.h"

#include "receiver/protocol.h"
#include "receiver/reservedterminals.h"

#include <QSerialPort>

#ifdef Q_OS_UNIX
#include <QFile>

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#endif
#ifdef Q_OS_LINUX
#include <sys/sysmacros.h>
#endif

namespace ws {

namespace {

#ifdef Q_OS_UNIX
// The file a port name stands for, as portFor() names it: a bare name lives
// in /dev, a name with a slash is a path from the current folder unless it
// begins with one.
QByteArray devicePath(const QString &device)
{
    return QFile::encodeName(device.contains(QLatin1Char('/')) ? device
                                                               : QStringLiteral("/dev/") + device);
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}
#endif

} // namespace

QtSerialLine::QtSerialLine() : port_(std::make_unique<QSerialPort>())
{
    // Set before every open, which is when the port applies them.
    const receiver::LineParameters &line = receiver::kLineParameters;
    port_->setBaudRate(line.bitsPerSecond);
    port_->setDataBits(QSerialPort::DataBits(line.dataBits));
    port_->setParity(line.parity == receiver::LineParity::Even  ? QSerialPort::EvenParity
                    : line.parity == receiver::LineParity::Odd ? QSerialPort::OddParity
                                                               : QSerialPort::NoParity);
    port_->setStopBits(line.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    port_->setFlowControl(line.flowControl ? QSerialPort::HardwareControl
                                          : QSerialPort::NoFlowControl);
    port_->setReadBufferSize(kReadBufferBytes);
    QObject::connect(port_.get(), &QSerialPort::readyRead, [this] { tellActivity(); });
    QObject::connect(port_.get(), &QSerialPort::errorOccurred,
                     [this](QSerialPort::SerialPortError error) {
        // Noted at once: a port that hung up must end what waits on it
        // before its notifier can turn into a stream of wake-ups. Clearing
        // an error reports NoError, which is no news.
        if (error != QSerialPort::NoError && port_->isOpen()) {
            noteError();
            tellActivity();
        }
    });
}

QtSerialLine::~QtSerialLine() = default;

void QtSerialLine::setPortName(const QString &device)
{
    device_ = device;
    port_->setPortName(device);
}

bool QtSerialLine::open()
{
    openError_.clear();
    failure_.clear();
    hungUp_ = false;
    if (port_->isOpen())
        port_->close();
#ifdef Q_OS_UNIX
    // The port is given the device's own path, with every link resolved:
    // by its own rule it would take "links/pty" for "/dev/links/pty", and
    // it names its lock file after the path, which for a long one the
    // system refuses, leaving only "Permission error while locking the
    // device". A device reached by two names so also locks as one.
    char *resolved = ::realpath(devicePath(device_).constData(), nullptr);
    if (!resolved) {
        openError_ = openFailureText(device_, systemError(errno));
        return false;
    }
    const QString device = QFile::decodeName(resolved);
    std::free(resolved);
    port_->setPortName(device);
    // The port would set whatever it opens raw and write commands into it;
    // that must not be the user's terminal or a file.
    openError_ = notASerialPort(device);
    if (!openError_.isEmpty())
        return false;
#else
    const QString device = device_;
#endif
    // Read and write only: a pseudo-terminal or a plain adapter refuses to
    // set the modem lines, which is no reason to refuse the port. Errors
    // that come later (a line that cannot be set) are ignored for the same
    // reason; only the open itself decides.
    if (port_->open(QIODevice::ReadWrite)) {
        port_->clearError();
        return true;
    }
    openError_ = openFailureText(device, port_->errorString());
    return false;
}

void QtSerialLine::close()
{
    if (!port_->isOpen())
        return;
    // Closing a terminal waits until its output has gone out, which a
    // receiver that stopped reading (or a hung-up line) may never allow:
    // what was not sent is no longer wanted.
    port_->clear();
    port_->close();
}

void QtSerialLine::write(const QByteArray &bytes)
{
    if (!port_->isOpen())
        return;
    port_->write(bytes);
    // Each write leaves as a write of its own, now rather than when the
    // event loop next runs: the receiver expects the command prefix alone.
    // flush() only writes what the device takes at once; it never waits.
    port_->flush();
    noteError();
}

QByteArray QtSerialLine::read()
{
    if (!port_->isOpen())
        return {};
    QByteArray bytes = port_->read(kReadBufferBytes);
    noteError();
    return bytes;
}

void QtSerialLine::noteError()
{
    // A pseudo-terminal or a plain adapter refuses to set the modem lines
    // and a wait can simply time out: neither means the line is gone.
    switch (port_->error()) {
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
        // After a hang-up the port's text is whatever error the system last
        // reported for something else ("Resource temporarily unavailable").
        if (failure_.isEmpty()) {
            hungUp_ = port_->error() == QSerialPort::ResourceError || deviceHungUp();
            failure_ = hungUp_ ? QStringLiteral("the device closed the connection or went away")
                               : port_->errorString();
        }
        break;
    default:
        break;
    }
    port_->clearError();
}

bool QtSerialLine::deviceHungUp()
{
#ifdef Q_OS_UNIX
    // The port reports a hang-up as some read or write error; poll tells
    // it apart from one that leaves the line working.
    pollfd device{int(port_->handle()), POLLIN, 0};
    return ::poll(&device, 1, 0) > 0 && (device.revents & (POLLHUP | POLLERR | POLLNVAL));
#else
    return false;
#endif
}

void QtSerialLine::setActivityHandler(std::function<void()> handler)
{
    onActivity_ = std::move(handler);
}

void QtSerialLine::tellActivity()
{
    if (onActivity_)
        onActivity_();
}

QString openFailureText(const QString &device, const QString &reason)
{
    QString text = reason.isEmpty() ? QStringLiteral("unknown error") : reason;
#ifdef Q_OS_UNIX
    const QByteArray path = devicePath(device);
    if (::access(path.constData(), R_OK | W_OK) != 0 && errno == EACCES) {
        // Busy and forbidden ports both come back as a permission error; only
        // a forbidden one gets the hint.
        QString group = QStringLiteral("dialout");
        struct stat info;
        if (::stat(path.constData(), &info) == 0) {
            if (const struct group *owner = ::getgrgid(info.st_gid))
                group = QString::fromLocal8Bit(owner->gr_name);
        }
        text += QStringLiteral(" (access to serial ports is granted by membership in the "
                               "group \"%1\" that owns %2)")
                    .arg(group, QString::fromLocal8Bit(path));
    }
#else
    Q_UNUSED(device);
#endif
    return text;
}

#ifdef Q_OS_UNIX
QString notASerialPort(const QString &device)
{
    const QByteArray path = devicePath(device);
    const QString notSerial = QStringLiteral("it is not a serial port");
    const QString ownTerminal =
        QStringLiteral("it is the terminal the program was started from, not a serial port");
    struct stat info;
    // A name that cannot be looked at is left to the port, which says why.
    if (::stat(path.constData(), &info) != 0)
        return QString();
    if (!S_ISCHR(info.st_mode))
        return notSerial;
    // /dev/tty is the controlling terminal under another name, whichever
    // that is, and there may be none to compare with.
    struct stat other;
    if (::stat("/dev/tty", &other) == 0 && info.st_rdev == other.st_rdev)
        return ownTerminal;
    if (::stat("/dev/console", &other) == 0 && info.st_dev == other.st_dev &&
        info.st_ino == other.st_ino)
        return QStringLiteral("it is the system console, not a serial port");
#ifdef Q_OS_LINUX
    // Devices that are terminals but no receiver's port; some of them a
    // mere open changes (the multiplexer makes a new terminal).
    const QString reserved = reservedTerminal(major(info.st_rdev), minor(info.st_rdev));
    if (!reserved.isEmpty())
        return reserved;
    // Linux names the class of every character device: one that is no
    // terminal is refused without opening it, as merely opening some
    // devices does something (a watchdog starts counting down).
    const QByteArray subsystem =
        QFile::encodeName(QStringLiteral("/sys/dev/char/%1:%2/subsystem")
                              .arg(major(info.st_rdev))
                              .arg(minor(info.st_rdev)));
    char target[256];
    const ssize_t length = ::readlink(subsystem.constData(), target, sizeof target - 1);
    if (length > 0) {
        target[length] = '\0';
        const char *name = std::strrchr(target, '/');
        if (std::strcmp(name ? name + 1 : target, "tty") != 0)
            return notSerial;
    }
#endif
    // Only an open device can tell whether it is a terminal at all, and
    // whether it is this process's controlling terminal: device numbers
    // alone would mix up pseudo-terminals of different /dev/pts mounts.
    // Without O_NOCTTY the open could make it ours; non-blocking, it does
    // not wait for a carrier.
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return QString(); // busy or forbidden: the port's own open says so
    QString reason;
    if (!::isatty(fd))
        reason = notSerial;
    else if (::tcgetsid(fd) != -1)
        reason = ownTerminal;
    ::close(fd);
    return reason;
}
#endif

} // namespace ws
