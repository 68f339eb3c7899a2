#include "cli/headless.h"

#include "wording/messages.h"
#include "core/filenames.h"
#include "core/files.h"
#include "core/steadyclock.h"
#include "core/texts.h"
#include "fullscan/fullscan.h"
#include "fullscan/resultsfile.h"
#include "fullscan/runner.h"
#include "map/mapfile.h"
#include "receiver/checklog.h"
#include "receiver/protocol.h"
#include "receiver/qtserialline.h"
#include "receiver/signalcheck.h"
#include "receiver/signalwatch.h"
#include "receiver/watchtone.h"
#include "core/systemsound.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <csignal>
#include <cstdio>
#include <limits>
#include <memory>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

namespace ws::cli {

namespace {

using receiver::CheckResult;
using receiver::Polarisation;

// Messages are for people: in the terminal's encoding. The log is not.
void tell(RunEnvironment &env, const QString &line)
{
    if (env.err)
        env.err(terminalText(line + QLatin1Char('\n')));
}

void tellPortFailure(RunEnvironment &env, const receiver::PortFailure &failure)
{
    tell(env, failure.message);
    if (const QString advice = receiver::portFailureAdvice(failure); !advice.isEmpty())
        tell(env, advice);
}

// The check as it goes: the log to standard output piece by piece, a port failure to the user too.
class ConsoleCheckEvents : public receiver::CheckEvents
{
public:
    explicit ConsoleCheckEvents(RunEnvironment &env) : env_(env) {}

    void logAppended(const QString &text) override
    {
        // One byte per character, as in the results file, whatever the
        // terminal's encoding. The search's piece begins with what was shown.
        const qsizetype shown = std::min(echoedSearch_, text.size());
        echoedSearch_ = 0;
        if (env_.out && shown < text.size())
            env_.out(toBytes(text.mid(shown)));
    }
    void searchReceived(const QString &text) override
    {
        // A search takes minutes: whoever watches sees tables as they are found.
        echoedSearch_ += text.size();
        if (env_.out)
            env_.out(toBytes(text));
    }
    void waiting() override
    {
        // A stop only takes effect between two entries, which may be
        // minutes away; say at once that it was heard.
        if (!stopNoticed_ && env_.stopRequested && env_.stopRequested()) {
            stopNoticed_ = true;
            tell(env_, QStringLiteral("Stopping after this check; the results so far will be "
                                          "saved. A second Ctrl+C ends the program at once "
                                          "without saving"));
        }
    }
    void portFailed(const receiver::PortFailure &failure) override
    {
        tellPortFailure(env_, failure);
    }

private:
    RunEnvironment &env_;
    bool stopNoticed_ = false;
    qsizetype echoedSearch_ = 0;
};

// A check's word for the user beyond its log.
void tellAbout(RunEnvironment &env, const CommandLine &line, const CheckResult &check)
{
    if (check.unconfirmedLock)
        tell(env,
             receiver::unconfirmedLockMessage(receiver::portFor(line.receiver.port).label));
}

receiver::SettingsSource settingsOf(const receiver::ReceiverSettings &settings)
{
    return [settings] { return settings; };
}

// ---- The program's own surroundings ----------------------------------------

bool writeAll(std::FILE *stream, const QByteArray &bytes)
{
    const size_t written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    // Someone may be watching a check of minutes, or piping it on.
    return std::fflush(stream) == 0 && written == size_t(bytes.size());
}

// A stop request reaches the event loop as a byte on a socket pair, which the
// signal handler may write, so nothing polls a flag. -1 while no one listens.
int stopWakeFd = -1;

void wakeForStop()
{
#ifdef Q_OS_UNIX
    if (stopWakeFd >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(stopWakeFd, &byte, 1);
    }
#endif
}

// Standard output refused the log (a closed pipe, a full disk): the log is
// lost, and a full scan stops after the running check to save what it has.
bool outputLost = false;

void writeLog(const QByteArray &bytes)
{
    if (outputLost || writeAll(stdout, bytes))
        return;
    const QString reason = qt_error_string(errno);
    outputLost = true;
    writeAll(stderr, (QStringLiteral("Could not write the log to standard output: ") + reason +
                      QLatin1Char('\n'))
                         .toLocal8Bit());
    wakeForStop();
}

volatile std::sig_atomic_t stopSignalled = 0;
// What a second signal says before it ends the program: set before the
// handler is, and read in it, so a plain array and its length.
const char *secondSignalText = "";
size_t secondSignalLength = 0;

void noteStopSignal([[maybe_unused]] int signal)
{
#ifdef Q_OS_UNIX
    if (stopSignalled) {
        // Only what a signal handler may do: one write, then the default
        // action, which ends the program once the handler returns.
        [[maybe_unused]] const ssize_t written =
            ::write(STDERR_FILENO, secondSignalText, secondSignalLength);
        ::signal(signal, SIG_DFL);
        ::raise(signal);
        return;
    }
#endif
    stopSignalled = 1;
    wakeForStop();
}

template <size_t N>
void catchStopSignals(const char (&secondSignal)[N])
{
    secondSignalText = secondSignal;
    secondSignalLength = N - 1;
#ifdef Q_OS_UNIX
    // A closed terminal or ssh session (SIGHUP) must not lose the scan either.
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction previous = {};
        ::sigaction(signal, nullptr, &previous);
        // A shell starts background jobs with Ctrl+C ignored; one meant for
        // the foreground must not stop them.
        if (previous.sa_handler == SIG_IGN)
            continue;
        struct sigaction action = {};
        action.sa_handler = noteStopSignal;
        sigemptyset(&action.sa_mask);
        // The first asks for a stop after the running check, a second ends
        // the program at once. Interrupted reads and writes just go on.
        action.sa_flags = SA_RESTART;
        ::sigaction(signal, &action, nullptr);
    }
#else
    // Here the system itself puts the default back before the handler runs.
    for (const int signal : {SIGINT, SIGTERM}) {
        if (std::signal(signal, noteStopSignal) == SIG_IGN)
            std::signal(signal, SIG_IGN);
    }
#endif
}

// Calls `stop` on the event loop for every stop request: a signal, or a log
// that standard output no longer takes.
class StopListener
{
public:
    explicit StopListener(std::function<void()> stop) : stop_(std::move(stop))
    {
#ifdef Q_OS_UNIX
        int ends[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0)
            qFatal("no socket pair for the stop signals: %s", qPrintable(qt_error_string(errno)));
        // Neither end blocks (the handler must never wait) or outlives the
        // program in a child.
        for (const int end : ends) {
            ::fcntl(end, F_SETFL, ::fcntl(end, F_GETFL) | O_NONBLOCK);
            ::fcntl(end, F_SETFD, FD_CLOEXEC);
        }
        readFd_ = ends[0];
        stopWakeFd = ends[1];
        notifier_ = std::make_unique<QSocketNotifier>(readFd_, QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
            char bytes[16];
            while (::read(readFd_, bytes, sizeof bytes) > 0) {
            }
            stop_();
        });
#else
        // No socket pair to wake the loop with: looked at ten times a second.
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            if (stopSignalled || outputLost)
                stop_();
        });
        poll_.start(100);
#endif
    }
    ~StopListener()
    {
#ifdef Q_OS_UNIX
        notifier_.reset();
        const int writeFd = stopWakeFd;
        stopWakeFd = -1;
        ::close(writeFd);
        ::close(readFd_);
#endif
    }

private:
    std::function<void()> stop_;
#ifdef Q_OS_UNIX
    int readFd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
#else
    QTimer poll_;
#endif
};

// The watch as it goes: a line on standard output for every reply, a bell
// on every lock after none, a tally for the end.
class ConsoleWatchEvents : public receiver::WatchEvents
{
public:
    ConsoleWatchEvents(RunEnvironment &env, bool bell) : env_(env), bell_(bell) {}

    void replied(receiver::WatchState state, const QString &text,
                 std::optional<double> level) override
    {
        const bool locked = state == receiver::WatchState::Locked;
        if (env_.out)
            env_.out(watchLine(env_.clock.now(), state, text));
        if (bell_ && locked && !wasLocked_ && env_.err)
            env_.err(QByteArray("\a"));
        wasLocked_ = locked;
        tally.add(state, env_.clock.milliseconds(), level, env_.clock.now());
        if (tone)
            tone->setShape(receiver::watchTone(state, level, tally.lowestLevel(), tally.bestLevel()));
    }
    void failed(const receiver::PortFailure &failure) override
    {
        if (tone)
            tone->setShape({});
        tellPortFailure(env_, failure);
        if (onFailed)
            onFailed();
    }

    receiver::WatchTally tally;
    std::function<void()> onFailed;
    ToneGenerator *tone = nullptr;

private:
    RunEnvironment &env_;
    bool bell_;
    bool wasLocked_ = false;
};

// How a run on the program's own surroundings ends: whether Ctrl+C, SIGTERM
// and SIGHUP are caught as the stop request, the exit code at least for a
// log standard output refused, and whether a second signal loses results.
struct RunEnding
{
    bool catchSignals;
    int lostOutputCode;
    bool saves = false;
};

template <typename Run>
int runOnThisSystem(const CommandLine &line, Run run, RunEnding ending)
{
#ifdef Q_OS_WIN
    // CR LF goes out as CR LF, not as CR CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
#ifdef Q_OS_UNIX
    // A reader that went away (`| head -c1`) makes writes fail, not end
    // the program with the results unsaved.
    ::signal(SIGPIPE, SIG_IGN);
#endif
    QtSerialLine serial;
    SteadyClock clock;
    const Result<QString> data = systemDataFolder();
    RunEnvironment env{serial, clock, writeLog, [](const QByteArray &b) { writeAll(stderr, b); },
                    {}, {}, {}, data.value.value_or(QString()), data.failure.what, {}};
    // The application's one event loop drives the check; the run's end ends it.
    env.runUntil = [](const std::function<bool()> &ended) {
        if (!ended())
            QCoreApplication::exec();
    };
    env.finished = [] { QCoreApplication::exit(); };
    std::optional<StopListener> listener;
    env.sound = systemSoundSink;
    if (ending.catchSignals) {
        if (ending.saves)
            catchStopSignals("Ending at once; nothing more will be saved\n");
        else
            catchStopSignals("Ending at once\n");
        env.stopRequested = [] { return stopSignalled != 0 || outputLost; };
        listener.emplace([&env] {
            if (env.onStopRequest)
                env.onStopRequest();
        });
    }
    const int code = run(line, env);
    return outputLost ? std::max(code, ending.lostOutputCode) : code;
}

} // namespace

int runCheck(const CommandLine &line, RunEnvironment &env)
{
    ConsoleCheckEvents events(env);
    receiver::SignalCheck check(env.line, env.clock, settingsOf(line.receiver), events);
    check.setSearchLimit(line.searchLimit);
    std::optional<CheckResult> result;
    check.start(line.checkFrequency,
                line.checkVertical ? Polarisation::Vertical : Polarisation::Horizontal,
                [&](const CheckResult &ended) {
                    result = ended;
                    if (env.finished)
                        env.finished();
                });
    env.runUntil([&] { return result.has_value(); });
    if (!result)
        return exitcode::portFailed;
    tellAbout(env, line, *result);
    if (result->portFailed)
        return exitcode::portFailed;
    return result->locked && result->endedOnReady() ? exitcode::success : exitcode::noSignal;
}

int runFullScan(const CommandLine &line, RunEnvironment &env)
{
    // Read as the window loads a map, with the same limits.
    const auto file = readMapFile(line.mapPath);
    if (!file.value) {
        tell(env, QStringLiteral("Could not read map: ") +
                          failureDetail(line.mapPath, file.failure.reason));
        return exitcode::badArguments;
    }
    const MapData map = parseMap(file.value->bytes);
    if (holdsNoFrequency(map))
        tell(env, messages::mapWithoutFrequency(line.mapPath));

    ResultsPlace place;
    place.file = line.outputPath;
    place.map = line.mapPath;
    place.folders.data = env.dataFolder;
    place.folders.noData = env.noDataFolder;
    place.keepPast = !line.outputNamed;
    FullScanRunner runner(place, [&env] { return env.clock.now(); });
    if (const std::optional<FullScanEnd> refused = runner.refusal(map.entries)) {
        // An empty file, a scan, any text: nothing to check is a map that
        // is not one for a scan.
        if (refused->refusal == FullScanEnd::Refusal::NothingToCheck) {
            tell(env, line.mapPath + QStringLiteral(" lists no MPEG entry"));
            return exitcode::badArguments;
        }
        tell(env, refused->results.message);
        return exitcode::notSaved;
    }

    ConsoleCheckEvents events(env);
    receiver::SignalCheck check(env.line, env.clock, settingsOf(line.receiver), events);
    check.setSearchLimit(line.searchLimit);
    std::optional<FullScanEnd> ended;
    FullScanRunner::FrontEnd frontEnd;
    frontEnd.rowStarting = [&](const QString &frequency, Polarisation polarisation,
                               const MapScanCounts &counts) {
        tell(env, QStringLiteral("%1/%2 %3%4")
                          .arg(counts.checked)
                          .arg(counts.mpegRows)
                          .arg(frequency, receiver::logLetter(polarisation)));
    };
    frontEnd.check = [&](const QString &frequency, Polarisation polarisation,
                         MapScanSteps::CheckDone done) {
        check.start(frequency, polarisation, [&, done](const CheckResult &result) {
            tellAbout(env, line, result);
            done(result);
        });
    };
    frontEnd.stopRequested = [&] { return env.stopRequested && env.stopRequested(); };
    frontEnd.finished = [&](const FullScanEnd &end) {
        ended = end;
        if (env.finished)
            env.finished();
    };
    runner.start(map.entries, std::move(frontEnd));
    env.runUntil([&] { return ended.has_value(); });
    if (!ended)
        ended = runner.abandon(check.abandon());

    const ResultsOutcome &outcome = ended->results;
    tell(env, outcome.message);
    if (!outcome.pastCopyFailure.isEmpty())
        tell(env, outcome.pastCopyFailure);
    tell(env, ended->summary());

    // The file is what a scan is run for: whether it exists matters most to
    // whoever started it; then whether the receiver could be reached at all.
    const MapScanResult &scanned = ended->scan;
    if (outcome.failed())
        return exitcode::notSaved;
    if (scanned.portFailed)
        return exitcode::portFailed;
    return scanned.counts.checked < scanned.counts.mpegRows ? exitcode::noSignal
                                                            : exitcode::success;
}

int runCheck(const CommandLine &line)
{
    // Ctrl+C keeps its default and ends the program at once: a check cannot
    // be cut short, and waiting out a search of minutes is not what the key
    // asks for. A lost log is a result not saved, as the log is all it leaves.
    return runOnThisSystem(
        line, [](const CommandLine &l, RunEnvironment &c) { return runCheck(l, c); },
        {false, exitcode::notSaved});
}

int runFullScan(const CommandLine &line)
{
    // A full scan saved its file and only stopped early.
    return runOnThisSystem(
        line, [](const CommandLine &l, RunEnvironment &c) { return runFullScan(l, c); },
        {true, exitcode::noSignal, true});
}

int runWatch(const CommandLine &line, RunEnvironment &env)
{
    ConsoleWatchEvents events(env, line.bell);
    receiver::SignalWatch watch(env.line, env.clock, settingsOf(line.receiver), events);
    watch.setLevelPattern(line.levelPattern);
    const qint64 startMs = env.clock.milliseconds();
    std::optional<int> code;
    const auto end = [&](int ending) {
        if (code)
            return;
        code = ending;
        watch.stop();
        if (env.finished)
            env.finished();
    };
    events.onFailed = [&] { end(exitcode::portFailed); };
    // A stop request ends it as it comes; --for when its time is up, in
    // steps that a timer can count.
    env.onStopRequest = [&] { end(exitcode::success); };
    std::unique_ptr<Timer> timeUp;
    const auto waitOut = [&] {
        const qint64 left = line.watchForMs - (env.clock.milliseconds() - startMs);
        if (left <= 0)
            end(exitcode::success);
        else
            timeUp->start(int(std::min<qint64>(left, std::numeric_limits<int>::max())));
    };
    timeUp = env.clock.createTimer(waitOut);
    if (line.watchForMs > 0)
        waitOut();
    watch.start(line.checkFrequency,
                line.checkVertical ? Polarisation::Vertical : Polarisation::Horizontal);
    ToneGenerator tone;
    std::unique_ptr<SoundSink> sink;
    if (line.tone) {
        // After the tune went out: a sound server may take a moment.
        sink = env.sound ? env.sound() : nullptr;
        if (sink && sink->start(tone))
            events.tone = &tone;
        else
            tell(env, QStringLiteral("No sound for the tone: ") +
                              (sink ? sink->problem() : QStringLiteral("no sound device")));
    }
    if (env.stopRequested && env.stopRequested())
        end(exitcode::success);
    env.runUntil([&] { return code.has_value(); });
    timeUp->stop();
    env.onStopRequest = {};
    if (sink)
        sink->stop();
    const qint64 endMs = env.clock.milliseconds();
    events.tally.end(endMs);
    if (*code == exitcode::success)
        tell(env, receiver::watchSummary(events.tally, endMs - startMs));
    return *code;
}

int runWatch(const CommandLine &line)
{
    // Standard output is what a watch is for.
    return runOnThisSystem(
        line, [](const CommandLine &l, RunEnvironment &c) { return runWatch(l, c); },
        {true, exitcode::notSaved});
}

QByteArray watchLine(const QDateTime &now, receiver::WatchState state, const QString &text)
{
    QByteArray line = now.toString(QStringLiteral("HH:mm:ss.zzz")).toLatin1();
    line += '\t';
    line += QByteArray(receiver::stateWord(state).data(), receiver::stateWord(state).size());
    line += '\t';
    for (const QChar c : text) {
        const ushort code = c.unicode();
        if (code < 0x20 || code == 0x7f || code >= 0x80)
            line += QByteArray("\\x") + QByteArray::number(code & 0xff, 16).rightJustified(2, '0');
        else if (c == QLatin1Char('\\'))
            line += "\\\\"; // so that \x09 only ever means a tab
        else
            line += char(code);
    }
    return line + '\n';
}

} // namespace ws::cli
