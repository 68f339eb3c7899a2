// The program itself, started without a display, against the receiver
// simulator on a pseudo-terminal: exit codes, the log on standard output,
// a full scan's file against the window's, and Ctrl+C during a full scan.

#include "app/realplatform.h"
#include "core/texts.h"
#include "fullscan/fullscan.h"
#include "receiver/checklog.h"
#include "receiver/qtserialline.h"
#include "rxsim/receiversim.h"
#include "support/checklogpattern.h"
#include "support/fakeplatform.h"
#include "support/mapentries.h"
#include "support/resultsmessages.h"
#include "support/testpart.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <unistd.h>

using ws::receiver::checkingLine;
using ws::receiver::Polarisation;
using ws::rxsim::ForkedReceiver;
using ws::rxsim::Script;
using ws::test::mapFileLine;

namespace {

Script quickScript()
{
    Script script;
    script.searchLineGapMs = 100;
    return script;
}

// The program as a script would start it: no display, no runtime folder
// (root over ssh); with `closedOutput`, a standard output nobody reads.
void start(QProcess &program, const QStringList &arguments, bool closedOutput = false)
{
    int pipeEnds[2] = {-1, -1};
    if (closedOutput && ::pipe(pipeEnds) == 0)
        ::close(pipeEnds[0]);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
        environment.remove(QString::fromLatin1(name));
    program.setProcessEnvironment(environment);
    // A test runner may have started us with Ctrl+C ignored, which the
    // program would rightly keep ignoring.
    program.setChildProcessModifier([writeEnd = pipeEnds[1]] {
        ::signal(SIGINT, SIG_DFL);
        ::signal(SIGTERM, SIG_DFL);
        ::signal(SIGPIPE, SIG_DFL);
        ::signal(SIGHUP, SIG_DFL);
        if (writeEnd >= 0)
            ::dup2(writeEnd, STDOUT_FILENO);
    });
    program.start(QStringLiteral(WS_WAVESIFT_BINARY), arguments);
    if (pipeEnds[1] >= 0)
        ::close(pipeEnds[1]);
}

struct Finished
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Finished finish(QProcess &program)
{
    Finished done;
    // It may have finished already while the test let events run.
    if (program.state() != QProcess::NotRunning && !program.waitForFinished(60000))
        return done;
    if (program.exitStatus() != QProcess::NormalExit)
        return done;
    done.exitCode = program.exitCode();
    done.out = program.readAllStandardOutput();
    done.err = program.readAllStandardError();
    return done;
}

Finished run(const QStringList &arguments, bool closedOutput = false)
{
    QProcess program;
    start(program, arguments, closedOutput);
    return finish(program);
}

// The simulator's status reply, as a check cuts it.
const QString kLockReply = QStringLiteral("00 Locked   Lvl 75\r\n");

// The log of a check of the simulator: the reply comes at once, but the
// second may turn over meanwhile.
QString lockedLog(const QString &frequency, Polarisation polarisation)
{
    return ws::test::lockedLogPattern(frequency, polarisation, kLockReply) +
           "Searching PAT/SDT\r\nPAT found\r\nSDT found: Sim Service 1\r\nReady\r\n\r\n";
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The real clock, but a wall clock that always says the same.
class FixedWallClock : public ws::SteadyClock
{
public:
    QDateTime now() override { return when; }
    QDateTime when = QDateTime(QDate(2026, 12, 7), QTime(10, 30, 15));
};

} // namespace

class TestCliPty : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        if (!ws::test::inThisPart(*this))
            QSKIP("another part of this program runs this function");
    }

    void checkExitCodes();
    void fullScanWritesWhatTheWindowWrites();
    void silentOrFloodingReceiverIsAPortFailure_data();
    void silentOrFloodingReceiverIsAPortFailure();
    void stopDuringTheFirstOfThreeSavesOneLog_data();
    void stopDuringTheFirstOfThreeSavesOneLog();
    void checkWithClosedOutputIsNotSaved();
    void closedOutputIsToldForWhatItIs();
    void watchFollowsADishThatTurns();
};

void TestCliPty::checkExitCodes()
{
    {
        ForkedReceiver receiver(quickScript());
        QVERIFY2(receiver.ok(), qPrintable(receiver.error()));
        const Finished locks = run({"--check", "11778h", "--port", receiver.devicePath()});
        QCOMPARE(locks.exitCode, 0);
        QVERIFY2(QRegularExpression("\\A" + lockedLog("11778", Polarisation::Horizontal) + "\\z")
                     .match(QString::fromLatin1(locks.out))
                     .hasMatch(),
                 locks.out.toPercentEncoding(" :/").constData());
        QCOMPARE(locks.err, QByteArray());
    }
    {
        Script script = quickScript();
        script.neverLock = true;
        ForkedReceiver receiver(script);
        QVERIFY2(receiver.ok(), qPrintable(receiver.error()));
        const Finished deaf =
            run({"--check", "11778v", "--port", receiver.devicePath(), "--timeout", "1"});
        QCOMPARE(deaf.exitCode, 1);
        QCOMPARE(deaf.out, (checkingLine("11778", Polarisation::Vertical) +
                            ws::receiver::nothingFoundLines("1")).toLatin1());
        QCOMPARE(deaf.err, QByteArray());
    }
    QTemporaryDir dir;
    const QString gone = dir.filePath("ttyGone");
    const Finished missing = run({"--check", "11778h", "--port", gone});
    QCOMPARE(missing.exitCode, 3);
    // The failure is told on standard error and logged as the window logs it.
    QVERIFY2(missing.err.startsWith(
                 ws::receiver::openFailedMessage("comport " + gone, QString()).toLocal8Bit()),
             missing.err.constData());
    QByteArray logged = missing.err;
    logged.replace('\n', "\r\n");
    QCOMPARE(missing.out, checkingLine("11778", Polarisation::Horizontal).toLatin1() + logged);
}

void TestCliPty::fullScanWritesWhatTheWindowWrites()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("window"));
    const QString map = dir.filePath("four.map");
    QVERIFY(writeFile(map, mapFileLine("Radio", "dab", "10.714", "h") +
                               mapFileLine("One", "mpeg2", "11.012", "h") +
                               mapFileLine("Blank", "", "11.303", "v") +
                               mapFileLine("Two", "MPEG4", "11.479", "V")));
    const QString output = dir.filePath("scan.txt");

    // The program and the window each get a receiver of their own that
    // behaves the same; they run side by side to keep the test short.
    ForkedReceiver programsReceiver(quickScript());
    ForkedReceiver windowsReceiver(quickScript());
    QVERIFY2(programsReceiver.ok(), qPrintable(programsReceiver.error()));
    QVERIFY2(windowsReceiver.ok(), qPrintable(windowsReceiver.error()));

    const QDateTime started = QDateTime::currentDateTime();
    QProcess program;
    start(program, {"--full-scan", map, "--port", programsReceiver.devicePath(), "--output",
                    output});

    ws::test::FakeDialogs dialogs;
    ws::QtEventLoop events;
    FixedWallClock clock;
    ws::test::FakeSystem system;
    system.folder = dir.filePath("window");
    ws::QtSerialLine line;
    MainWindow window(ws::Platform{&dialogs, &events, &clock, &system, &line});
    ws::test::element<QLineEdit>(window, ws::window::names::portBox)
        ->setText(windowsReceiver.devicePath());
    dialogs.pick(map);
    window.workspace().loadMap();
    window.receiverWork().runFullScan();
    QVERIFY(QTest::qWaitFor([&] { return !window.receiverWork().busy(); }, 60000));
    const QString windowsFile = dir.filePath("window/results.txt");
    QCOMPARE(dialogs.messages, QStringList{ws::test::savedResultsMessage(windowsFile)});
    const QByteArray windows = readAll(windowsFile);

    const Finished scan = finish(program);
    const QDateTime ended = QDateTime::currentDateTime();
    QCOMPARE(scan.exitCode, 0);
    QByteArray programs = readAll(output);
    // The log went out as it grew, the same bytes as the file has.
    QCOMPARE(scan.out + "\r\n", programs);
    QCOMPARE(QString::fromLocal8Bit(scan.err).split('\n', Qt::SkipEmptyParts),
             QStringList({"1/2 11012h", "2/2 11479v", ws::test::savedResultsMessage(output),
                          ws::summaryLine({2, 2, 2, 2, 0, 0})}));

    // Byte for byte, but for the wall-clock time of each lock: the
    // program's must be a second of its own run, and then stands for the
    // window's fixed one.
    QStringList secondsOfTheRun;
    for (QDateTime t = started.addSecs(-1); t <= ended.addSecs(1); t = t.addSecs(1))
        secondsOfTheRun << ws::generalDateText(t);
    static const QRegularExpression lockDate(ws::test::lockedLinePattern(kLockReply));
    QString text = ws::fromBytes(programs);
    int locks = 0;
    for (qsizetype from = 0;;) {
        const QRegularExpressionMatch match = lockDate.match(text, from);
        if (!match.hasMatch())
            break;
        QVERIFY2(secondsOfTheRun.contains(match.captured(1)), qPrintable(match.captured(1)));
        text.replace(match.capturedStart(1), match.capturedLength(1),
                     ws::generalDateText(clock.when));
        from = match.capturedStart(1);
        ++locks;
    }
    QCOMPARE(locks, 2);
    programs = ws::toBytes(text);
    QVERIFY2(QRegularExpression("\\A" + lockedLog("11012", Polarisation::Horizontal) +
                                lockedLog("11479", Polarisation::Vertical) + "\r\n\\z")
                 .match(text)
                 .hasMatch(),
             programs.toPercentEncoding(" :/").constData());
    // Each run's lock may fall on either side of a second's end.
    static const QRegularExpression lockSecond(ws::test::lockedLinePattern(kLockReply));
    const auto sameSecond = [&clock](QByteArray bytes) {
        return ws::toBytes(ws::fromBytes(bytes).replace(
            lockSecond, ws::receiver::lockedLine(0, kLockReply, clock.when)));
    };
    QCOMPARE(sameSecond(programs), sameSecond(windows));
}

void TestCliPty::stopDuringTheFirstOfThreeSavesOneLog_data()
{
    QTest::addColumn<int>("signal"); // 0: none, standard output is closed
    QTest::addColumn<bool>("twice");
    QTest::newRow("Ctrl+C") << int(SIGINT) << false;
    QTest::newRow("terminal closed") << int(SIGHUP) << false;
    QTest::newRow("closed standard output") << 0 << false;
    QTest::newRow("Ctrl+C twice") << int(SIGINT) << true;
}

void TestCliPty::stopDuringTheFirstOfThreeSavesOneLog()
{
    QFETCH(int, signal);
    QFETCH(bool, twice);
    QTemporaryDir dir;
    const QString map = dir.filePath("three.map");
    QVERIFY(writeFile(map, mapFileLine("One", "mpeg2", "11.012", "h") +
                               mapFileLine("Two", "mpeg2", "11.303", "v") +
                               mapFileLine("Three", "mpeg4", "11.479", "h")));
    const QString output = dir.filePath("scan.txt");
    ForkedReceiver receiver(quickScript());
    QVERIFY2(receiver.ok(), qPrintable(receiver.error()));

    QProcess program;
    start(program, {"--full-scan", map, "--port", receiver.devicePath(), "--output", output},
          signal == 0);
    // The progress line comes just before the check starts: the first
    // check now runs for at least its two seconds of settling.
    program.setReadChannel(QProcess::StandardError);
    QByteArray err;
    const auto waitFor = [&](const QByteArray &text) {
        while (!err.contains(text) && program.waitForReadyRead(10000))
            err += program.readAllStandardError();
        return err.contains(text);
    };
    QVERIFY2(waitFor("1/3 11012h\n"), err.constData());
    if (signal != 0)
        QCOMPARE(::kill(pid_t(program.processId()), signal), 0);
    if (twice) {
        QVERIFY2(waitFor("without saving\n"), err.constData());
        QCOMPARE(::kill(pid_t(program.processId()), signal), 0);
        QVERIFY(program.waitForFinished(10000) && program.exitStatus() == QProcess::CrashExit);
        err += program.readAllStandardError();
        QVERIFY2(err.endsWith("without saving\nEnding at once; nothing more will be saved\n"),
                 err.constData());
        QVERIFY(!QFile::exists(output));
        return;
    }

    const Finished stopped = finish(program);
    QCOMPARE(stopped.exitCode, 1);
    const QByteArray saved = readAll(output);
    QCOMPARE(saved.count(checkingLine("11012", Polarisation::Horizontal).toLatin1()), 1);
    QVERIFY2(QRegularExpression("\\A" + lockedLog("11012", Polarisation::Horizontal) + "\r\n\\z")
                 .match(QString::fromLatin1(saved))
                 .hasMatch(),
             saved.toPercentEncoding(" :/").constData());
    err += stopped.err;
    QStringList told{"1/3 11012h",
                     "Stopping after this check; the results so far will be saved. A second "
                     "Ctrl+C ends the program at once without saving",
                     ws::test::savedResultsMessage(output), ws::summaryLine({3, 1, 1, 1, 0, 0})};
    if (signal == 0)
        told.insert(1, "Could not write the log to standard output: Broken pipe");
    QCOMPARE(QString::fromLocal8Bit(err).split('\n', Qt::SkipEmptyParts), told);
}

void TestCliPty::checkWithClosedOutputIsNotSaved()
{
    // The port fails at once; its failure alone would be exit 3.
    QTemporaryDir dir;
    const Finished done = run({"--check", "11778h", "--port", dir.filePath("ttyGone")}, true);
    QCOMPARE(done.exitCode, 4);
    QVERIFY2(done.err.contains("Could not write the log to standard output: Broken pipe\n"),
             done.err.constData());
}

void TestCliPty::closedOutputIsToldForWhatItIs()
{
    // Started without a standard output at all, not even a pipe.
    QTemporaryDir dir;
    QProcess program;
    program.setChildProcessModifier([] { ::close(STDOUT_FILENO); });
    program.start(QStringLiteral(WS_WAVESIFT_BINARY),
                  {"--check", "11778h", "--port", dir.filePath("ttyGone")});
    const Finished done = finish(program);
    QCOMPARE(done.exitCode, 4);
    QVERIFY2(done.err.contains("Could not write the log to standard output: " +
                               qt_error_string(EBADF).toLocal8Bit() + "\n"),
             done.err.constData());
}

void TestCliPty::watchFollowsADishThatTurns()
{
    Script script = quickScript();
    script.sweepSeconds = 1;
    ForkedReceiver receiver(script);
    QVERIFY2(receiver.ok(), qPrintable(receiver.error()));
    const Finished watched =
        run({"--watch", "11778h", "--port", receiver.devicePath(), "--for", "3.5"});
    QCOMPARE(watched.exitCode, 0);
    const QStringList lines = QString::fromLatin1(watched.out).split('\n', Qt::SkipEmptyParts);
    const QRegularExpression line(
        "^\\d\\d:\\d\\d:\\d\\d\\.\\d{3}\t(locked\tLocked   |no lock\tNo Lock  )Lvl \\d+$");
    QVERIFY(lines.size() > 10);
    for (const QString &l : lines)
        QVERIFY2(line.match(l).hasMatch(), qPrintable(l));
    QVERIFY(!lines.filter("\tlocked\t").isEmpty() && !lines.filter("\tno lock\t").isEmpty());
    QVERIFY2(QRegularExpression("^" + QString::number(lines.size()) +
                                " replies in 3\\.[5-9] s: locked \\d+ % of the time, "
                                "longest lock 0\\.\\d s, best level \\d+ at "
                                "\\d\\d:\\d\\d:\\d\\d\n$")
                 .match(QString::fromLatin1(watched.err))
                 .hasMatch(),
             watched.err.constData());

    // A signal ends it at once, as --for does.
    QProcess program;
    start(program, {"--watch", "11778h", "--port", receiver.devicePath()});
    program.setReadChannel(QProcess::StandardOutput);
    QVERIFY(program.waitForReadyRead(10000));
    QCOMPARE(::kill(pid_t(program.processId()), SIGTERM), 0);
    QElapsedTimer ending;
    ending.start();
    const Finished stopped = finish(program);
    QCOMPARE(stopped.exitCode, 0);
    QVERIFY(ending.elapsed() < 1000);
    QVERIFY2(stopped.err.contains(" replies in "), stopped.err.constData());

    // Ctrl+C twice: however soon the second comes, a watch has nothing to
    // save and does not speak of saving.
    QProcess twice;
    start(twice, {"--watch", "11778h", "--port", receiver.devicePath()});
    twice.setReadChannel(QProcess::StandardOutput);
    QVERIFY(twice.waitForReadyRead(10000));
    QCOMPARE(::kill(pid_t(twice.processId()), SIGINT), 0);
    QCOMPARE(::kill(pid_t(twice.processId()), SIGINT), 0);
    QVERIFY(twice.waitForFinished(10000));
    const QByteArray said = twice.readAllStandardError();
    QVERIFY2(!said.contains("save"), said.constData());
}

void TestCliPty::silentOrFloodingReceiverIsAPortFailure_data()
{
    QTest::addColumn<QStringList>("simulator");
    QTest::addColumn<QString>("told");
    using namespace ws::receiver;
    QTest::newRow("silent") << QStringList{"--silent"} << silentPortMessage("", "0.5");
    QTest::newRow("status flood") << QStringList{"--flood", "status"}
                                  << stoppedWorkingMessage("", floodedReplyReason());
    QTest::newRow("search flood") << QStringList{"--flood", "search"}
                                  << stoppedWorkingMessage("", floodedSearchReason());
}

void TestCliPty::silentOrFloodingReceiverIsAPortFailure()
{
    QFETCH(QStringList, simulator);
    QFETCH(QString, told);
    Script script;
    QString error;
    QVERIFY2(ws::rxsim::parseScript(simulator, script, error), qPrintable(error));
    ForkedReceiver receiver(script);
    QVERIFY2(receiver.ok(), qPrintable(receiver.error()));
    const Finished done =
        run({"--check", "11778h", "--port", receiver.devicePath(), "--timeout", "0.5"});
    QCOMPARE(done.exitCode, 3);
    // A silent one's line is followed by what to check.
    const QString advice = QTest::currentDataTag() == QLatin1String("silent")
                               ? ws::receiver::silentPortAdvice()
                               : QString();
    QCOMPARE(done.err, "comport " + QFile::encodeName(receiver.devicePath()) +
                           told.toLatin1() + "\n" +
                           (advice.isEmpty() ? QByteArray() : advice.toLatin1() + "\n"));
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestCliPty)
#include "tst_clipty.moc"
