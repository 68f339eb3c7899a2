// The real serial line and the real clock against the receiver simulator on
// a pseudo-terminal: what the fakes cannot show (the port's buffering, the
// pty's line settings, waiting without spinning) is checked here.

#include "app/realplatform.h"
#include "core/texts.h"
#include "receiver/protocol.h"
#include "receiver/qtserialline.h"
#include "rxsim/receiversim.h"
#include "support/checklogpattern.h"
#include "support/fakeplatform.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTimer>
#include <QTest>

#include <grp.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

using ws::receiver::checkingLine;
using ws::receiver::Polarisation;
using ws::rxsim::ForkedReceiver;
using ws::rxsim::Script;

namespace {

// The window on the desktop platform, except for the dialogs, which only
// record their messages.
struct RealWindow
{
    RealWindow()
        : window(std::make_unique<MainWindow>(
              ws::Platform{&dialogs, &events, &clock, &system, &serial}))
    {
        QObject::connect(&window->receiverWork(), &ReceiverWork::checkEnded, window.get(),
                         [this](const ws::receiver::CheckResult &result) {
                             lastCheckLog = result.log;
                         });
    }

    QString click(const QString &device, Qt::MouseButton button = Qt::LeftButton,
                  double frequency = 10700)
    {
        element<QLineEdit>(ws::window::names::portBox)->setText(device);
        window->receiverWork().check(frequency, button);
        // The check runs on from the event loop.
        if (!QTest::qWaitFor([this] { return !window->receiverWork().busy(); }, 60000))
            return QStringLiteral("<still running>");
        return lastCheckLog;
    }
    template <class W>
    W *element(const char *name)
    {
        return ws::test::element<W>(*window, name);
    }

    ws::test::FakeDialogs dialogs;
    ws::QtEventLoop events;
    ws::SteadyClock clock;
    ws::test::FakeSystem system;
    ws::QtSerialLine serial;
    std::unique_ptr<MainWindow> window;
    QString lastCheckLog;
};

const QString kHungUp = "the device closed the connection or went away";

Script quickScript()
{
    Script script;
    script.searchLineGapMs = 100;
    return script;
}

} // namespace

class TestSerialPty : public QObject
{
    Q_OBJECT

private slots:
    void lockAndSearchOverThePty();
    void receiverThatNeverLocksTimesOut();
    void receiverThatHangsUpIsReported();
    void hangUpIsNamedAsSuch();
    void openSetsTheReceiversLineParameters();
    void onlySerialPortsAreOpened();
    void controllingTerminalIsRefused();
    void missingDeviceIsReported();
    void portNamesAreTheSystemsOwn();
    void forbiddenDeviceNamesTheGroupThatGrantsAccess();
};

void TestSerialPty::lockAndSearchOverThePty()
{
    Script script = quickScript();
    script.lockAfterPolls = 2;
    script.pieces = 3; // every reply arrives in pieces
    ForkedReceiver receiver(script);
    QVERIFY2(receiver.ok(), qPrintable(receiver.error()));

    RealWindow w;
    QElapsedTimer timer;
    timer.start();
    const QString first = w.click(receiver.devicePath());
    const QString lock = "00 Locked   Lvl 75\r\n";
    const QRegularExpression expected(
        "^" + ws::test::lockedLogPattern("10700", Polarisation::Horizontal, lock) +
        // The search ends as soon as "Ready" is in, which may be before the
        // rest of its line.
        "Searching PAT/SDT\r\nPAT found\r\nSDT found: Sim Service 1\r\nReady(\r\n|\r)?\r\n$");
    QVERIFY2(expected.match(first).hasMatch(), first.toLatin1().toPercentEncoding(" :").constData());

    // The port is closed after each check; the next one opens it again and
    // now locks at its first poll.
    const QString second = w.click(receiver.devicePath(), Qt::RightButton, 11000);
    const QRegularExpression lockedAtOnce(
        "^" + ws::test::lockedLogPattern("11000", Polarisation::Vertical, lock, "0"));
    QVERIFY2(lockedAtOnce.match(second).hasMatch(), qPrintable(second));
    QVERIFY(second.contains("\r\nReady"));
    QVERIFY(w.dialogs.messages.isEmpty());
    QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
}

void TestSerialPty::receiverThatNeverLocksTimesOut()
{
    Script script = quickScript();
    script.neverLock = true;
    script.garbage = true;
    ForkedReceiver receiver(script);
    QVERIFY2(receiver.ok(), qPrintable(receiver.error()));

    RealWindow w;
    w.element<QLineEdit>(ws::window::names::timeoutBox)->setText("1");
    QCOMPARE(w.click(receiver.devicePath()),
             checkingLine("10700", Polarisation::Horizontal) + ws::receiver::nothingFoundLines("1"));
}

void TestSerialPty::receiverThatHangsUpIsReported()
{
    Script script = quickScript();
    script.neverLock = true;
    auto receiver = std::make_unique<ForkedReceiver>(script);
    QVERIFY2(receiver->ok(), qPrintable(receiver->error()));
    const QString device = receiver->devicePath();

    RealWindow w;
    w.element<QLineEdit>(ws::window::names::timeoutBox)->setText("30");
    // The receiver goes away half a second into the lock phase.
    QTimer::singleShot(2500, [&] { receiver.reset(); });
    QElapsedTimer timer;
    timer.start();
    const QString log = w.click(device);
    QVERIFY2(timer.elapsed() < 10000, "the check waited out its time-out");
    const QRegularExpression expected(
        "^" + QRegularExpression::escape(checkingLine("10700", Polarisation::Horizontal)) +
        "[^\r\n]+" + QRegularExpression::escape(ws::receiver::stoppedWorkingMessage("", kHungUp)) +
        "\r\n$");
    QVERIFY2(expected.match(log).hasMatch(), qPrintable(log));
    QCOMPARE(w.dialogs.messages.size(), 1);
}

void TestSerialPty::hangUpIsNamedAsSuch()
{
    // Closing the master side hangs the slave up, as a receiver that closes
    // its end or an adapter pulled out does; whichever meets it first, a
    // write or the event loop's look at the device, must not pass on a
    // stale system error, and whoever waits on the line hears of it.
    const std::function<void(ws::QtSerialLine &)> calls[] = {
        [](ws::QtSerialLine &line) { line.write("CBEGX"); },
        [](ws::QtSerialLine &line) {
            QTest::qWait(50);
            line.read();
        },
    };
    for (const auto &call : calls) {
        int master = -1;
        int slave = -1;
        QString path;
        QString error;
        QVERIFY2(ws::rxsim::openRawPty(master, slave, path, error), qPrintable(error));
        ws::QtSerialLine line;
        line.setPortName(path);
        QVERIFY2(line.open(), qPrintable(line.errorString()));
        QVERIFY(line.failure().isEmpty());
        bool told = false;
        line.setActivityHandler([&told] { told = true; });
        ::close(master);
        call(line);
        QCOMPARE(line.failure(), kHungUp);
        QVERIFY(told || &call == &calls[0]);
        line.close();
        ::close(slave);
    }
}

void TestSerialPty::openSetsTheReceiversLineParameters()
{
    int master = -1, slave = -1;
    QString pty, error;
    QVERIFY2(ws::rxsim::openRawPty(master, slave, pty, error), qPrintable(error));
    // Left at 9600 7E2 with RTS/CTS by some other program.
    termios set{};
    QCOMPARE(::tcgetattr(slave, &set), 0);
    cfsetspeed(&set, B9600);
    set.c_cflag = (set.c_cflag & ~CSIZE) | CS7 | PARENB | CSTOPB | CRTSCTS;
    QCOMPARE(::tcsetattr(slave, TCSANOW, &set), 0);

    ws::QtSerialLine line;
    line.setPortName(pty);
    QVERIFY2(line.open(), qPrintable(line.errorString()));
    QCOMPARE(::tcgetattr(slave, &set), 0);
    line.close();
    ::close(master);
    ::close(slave);
    QCOMPARE(cfgetospeed(&set), speed_t(B38400));
    QCOMPARE(set.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), tcflag_t(CS8));
}

void TestSerialPty::onlySerialPortsAreOpened()
{
    QTemporaryFile file;
    QVERIFY(file.open());
    int master = -1;
    int slave = -1;
    QString pty;
    QString error;
    QVERIFY2(ws::rxsim::openRawPty(master, slave, pty, error), qPrintable(error));

    ws::QtSerialLine line;
    for (const QString &device : {file.fileName(), QDir::tempPath(), QString("/dev/null")}) {
        line.setPortName(device);
        QVERIFY2(!line.open(), qPrintable(device));
        QCOMPARE(line.errorString(), QString("it is not a serial port"));
    }
    // A pseudo-terminal is a serial port as far as the program can tell.
    line.setPortName(pty);
    QVERIFY2(line.open(), qPrintable(line.errorString()));
    line.close();
    ::close(master);
    ::close(slave);

    // Typed into the port box, "tty" names the terminal the program was
    // started from, if there is one; either way it is no receiver's port.
    if (!QFile::exists("/dev/tty"))
        QSKIP("this system has no /dev/tty");
    RealWindow w;
    const QString refused = ws::receiver::openFailedMessage(
        "comport tty (/dev/tty)", "it is the terminal the program was started from, not a serial port");
    QCOMPARE(w.click("tty"), checkingLine("10700", Polarisation::Horizontal) + refused + "\r\n");
    QCOMPARE(w.dialogs.messages, QStringList{refused});
}

void TestSerialPty::controllingTerminalIsRefused()
{
    // A test run has no controlling terminal as a rule, so a child process
    // makes one of a pseudo-terminal and tries that, another pseudo-terminal
    // and /dev/tty.
    int masters[2] = {-1, -1};
    int slaves[2] = {-1, -1};
    QString paths[2];
    QString error;
    for (int i = 0; i < 2; ++i)
        QVERIFY2(ws::rxsim::openRawPty(masters[i], slaves[i], paths[i], error), qPrintable(error));
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        if (::setsid() < 0 || ::ioctl(slaves[0], TIOCSCTTY, 0) != 0)
            ::_exit(10);
        const QString own = "it is the terminal the program was started from, not a serial port";
        int failed = 0;
        failed |= ws::notASerialPort(paths[0]) == own ? 0 : 1;
        failed |= ws::notASerialPort(paths[1]).isEmpty() ? 0 : 2;
        failed |= ws::notASerialPort("/dev/tty") == own ? 0 : 4;
        ::_exit(failed);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    for (int i = 0; i < 2; ++i) {
        ::close(masters[i]);
        ::close(slaves[i]);
    }
    QVERIFY(WIFEXITED(status));
    if (WEXITSTATUS(status) == 10)
        QSKIP("no controlling terminal could be made here");
    // 1: its own terminal opened, 2: another terminal refused, 4: /dev/tty
    // opened.
    QCOMPARE(WEXITSTATUS(status), 0);
}

void TestSerialPty::missingDeviceIsReported()
{
    RealWindow w;
    const QString log = w.click("/dev/wavesift-no-such-port");
    const QString line =
        ws::receiver::openFailedMessage("comport /dev/wavesift-no-such-port", QString());
    QVERIFY2(log.startsWith(checkingLine("10700", Polarisation::Horizontal) + line), qPrintable(log));
    QCOMPARE(w.dialogs.messages.size(), 1);
    QVERIFY(w.dialogs.messages.at(0).startsWith(line));
    QVERIFY(w.dialogs.messages.at(0).size() > line.size()); // with the system's reason
}

void TestSerialPty::portNamesAreTheSystemsOwn()
{
    // A link to a pseudo-terminal below the current folder, too deep for a
    // lock file named after its path; and names too long for the system.
    int master = -1, slave = -1;
    QString pty, error;
    QVERIFY2(ws::rxsim::openRawPty(master, slave, pty, error), qPrintable(error));
    QTemporaryDir dir;
    const QString started = QDir::currentPath();
    const auto restore = qScopeGuard([&] {
        QDir::setCurrent(started);
        ::close(master);
        ::close(slave);
    });
    const QString deep = QString(150, 'y') + '/' + QString(150, 'z');
    QVERIFY(QDir::setCurrent(dir.path()) && QDir().mkpath(deep) && QFile::link(pty, deep + "/pty"));
    ws::QtSerialLine line;
    for (const QString &name : {deep + "/pty", QString(300, 'x'), deep + '/' + QString(300, 'x')}) {
        line.setPortName(ws::receiver::portFor(name).device);
        const bool opened = line.open();
        line.close();
        QCOMPARE(opened, name.endsWith("/pty"));
        QCOMPARE(line.errorString(), opened ? QString() : QString("File name too long"));
    }
}

void TestSerialPty::forbiddenDeviceNamesTheGroupThatGrantsAccess()
{
    if (::geteuid() == 0)
        QSKIP("the superuser may open any device");
    QTemporaryFile device;
    QVERIFY(device.open());
    QVERIFY(device.setPermissions(QFileDevice::Permissions()));
    struct stat info;
    QCOMPARE(::stat(QFile::encodeName(device.fileName()).constData(), &info), 0);
    const struct group *owner = ::getgrgid(info.st_gid);
    QVERIFY(owner);

    const QString text = ws::openFailureText(device.fileName(), "Permission denied");
    QCOMPARE(text, QString("Permission denied (access to serial ports is granted by membership "
                           "in the group \"%1\" that owns %2)")
                       .arg(QString::fromLocal8Bit(owner->gr_name), device.fileName()));
    // Other reasons get no hint.
    QCOMPARE(ws::openFailureText("/dev/wavesift-no-such-port", "No such file or directory"),
             QString("No such file or directory"));
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestSerialPty)
#include "tst_serialpty.moc"
