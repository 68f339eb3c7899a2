#include "core/texts.h"
#include "receiver/checklog.h"
#include "receiver/protocol.h"
#include "receiver/signalcheck.h"
#include "support/fakes.h"

#include <QTest>

#include <optional>

using namespace ws::receiver;
using ws::test::FakeClock;
using ws::test::FakeSerial;
// What the receiver sends at which second of its table search.
using Script = QMap<qint64, QByteArray>;

namespace {

const QByteArray kLocked = "00 Locked 5 12345\r\n";
const QByteArray kUnlocked = "01 Searching 123\r\n";
const QString kChecking = checkingLine("10700", Polarisation::Horizontal);
// The wall clock's time, as a lock's line gives it.
const QDateTime kNow = ws::test::FakeClock().wallClock;

// A receiver on the fake line. It answers every status request with the
// reply for that poll (the last one repeats), and during a table search
// sends each piece of its script once the search has run for that second.
//
// The clock starts at 1000 and advances one second per reading: the settle
// phase reads 1000 to 1002, the lock phase starts at 1003 and its first
// poll sees 1004.
struct Receiver
{
    Receiver()
    {
        line.clock = &clock;
        line.onWrite = [this](const QByteArray &bytes) {
            if (bytes == "X") {
                ++polls;
                if (!replies.isEmpty())
                    line.feed(replies.at(qMin(polls, int(replies.size())) - 1));
            } else if (bytes == "S") {
                searchStart = clock.current;
                feedSearch(0);
            }
        };
        clock.onReading = [this](FakeClock &c) {
            if (searchStart >= 0) {
                lastSearchSecond = c.current - searchStart;
                feedSearch(lastSearchSecond);
            }
            if (onSecond)
                onSecond(c.current);
            if (holdClockFrom >= 0 && c.current >= holdClockFrom)
                c.step = 0;
        };
        clock.step = 1;
    }

    void feedSearch(qint64 second)
    {
        while (!search.isEmpty() && search.firstKey() <= second)
            line.feed(search.take(search.firstKey()));
    }

    FakeSerial line;
    FakeClock clock;
    QByteArrayList replies;
    Script search;
    int polls = 0;
    qint64 searchStart = -1;
    qint64 lastSearchSecond = -1;
    // From this reading on the clock stands still.
    qint64 holdClockFrom = -1;
    // Called at every clock reading with the second it returns.
    std::function<void(qint64)> onSecond;
};

// What a check reports, in order, as whoever runs it sees it.
struct RecordingEvents : CheckEvents
{
    void logAppended(const QString &text) override
    {
        seen << "append " + text;
        log += text;
    }
    void locked() override { seen << "locked"; }
    void searchReceived(const QString &text) override { searched << text; }
    void waiting() override { ++waits; }
    void portFailed(const PortFailure &failure) override { seen << "tell " + failure.message; }

    QStringList told() const { return seen.filter("tell "); }

    QStringList seen;
    QStringList searched;
    QString log;
    int waits = 0;
};

} // namespace

class TestSignalCheck : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void logWording_data();
    void logWording();
    void lockedCheckSendsExactCommandsAndLogsLockAndSearch();
    void polarisationAndBoxTextsGoOutAsGiven();
    void lockPhase_data();
    void lockPhase();
    void shortReplyIsNotCompleteAndGatheringGoesOn();
    void emptyTimeoutAllowsLockInTheSameSecond();
    void timeoutIsReadAtEveryComparison();
    void searchEnds_data();
    void searchEnds();
    void inputBeforeTheSearchBelongsToIt();
    void checkRunAgainStartsAfresh();
    void portThatCannotBeOpenedIsReported_data();
    void portThatCannotBeOpenedIsReported();
    void lineThatStopsWorkingIsReportedNotLoggedAsNoSignal_data();
    void lineThatStopsWorkingIsReportedNotLoggedAsNoSignal();
    void searchTextBeforeTheLineStopsIsKept();
    void statusRequestsArePacedWithoutMovingTheSeconds();
    void eventsAndResultTellTheOutcome();
    void floodOrSilenceIsAPortFailure_data();
    void floodOrSilenceIsAPortFailure();
    void stopEndsTheCheckAtOnceInEachPhase_data();
    void stopEndsTheCheckAtOnceInEachPhase();
    void lineThatHangsUpEndsTheWaitAtOnce();
    void shorterSearchLimitSaysItsSeconds();

private:
    CheckResult check(const QString &frequency = "10700",
                      Polarisation polarisation = Polarisation::Horizontal);
    // Runs `machine` through one check on the fake clock's timers.
    CheckResult run(SignalCheck &machine, const QString &frequency, Polarisation polarisation);
    QString date() const { return ws::generalDateText(rx->clock.wallClock); }
    // The settings as they stand whenever the check asks.
    SettingsSource source() { return [this] { return settings; }; }

    std::unique_ptr<Receiver> rx;
    std::unique_ptr<RecordingEvents> events;
    // As the window's boxes hold them when it opens.
    ReceiverSettings settings;
    QString lastLog;
};

void TestSignalCheck::init()
{
    rx = std::make_unique<Receiver>();
    events = std::make_unique<RecordingEvents>();
    settings = {"10", "2", "1", "0"};
    lastLog.clear();
}

void TestSignalCheck::cleanup()
{
    // Whoever shows the log shows exactly what the check appended.
    QCOMPARE(events->log, lastLog);
}

CheckResult TestSignalCheck::check(const QString &frequency, Polarisation polarisation)
{
    // A fresh log for every check, as the window's box gets.
    events->log.clear();
    SignalCheck machine(rx->line, rx->clock, source(), *events);
    const CheckResult result = run(machine, frequency, polarisation);
    lastLog = result.log;
    return result;
}

CheckResult TestSignalCheck::run(SignalCheck &machine, const QString &frequency,
                                 Polarisation polarisation)
{
    std::optional<CheckResult> result;
    machine.start(frequency, polarisation, [&](const CheckResult &ended) { result = ended; });
    if (!rx->clock.runTimers([&] { return result.has_value(); }) || !result)
        return {};
    return *result;
}

// Every line and message a check writes, byte for byte; the other tests
// build their expectations from these functions.
void TestSignalCheck::logWording_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("wording");
    const QString label = portFor("2").label;
    QTest::newRow("checking") << checkingLine("10700", Polarisation::Horizontal)
                              << "Checking 10700h for dvb mpeg2 signal\r\n";
    QTest::newRow("locked") << lockedLine(3, "00 Locked 5\r\n", kNow)
                            << "After 3 Sec. Tuner locked at : 00 Locked 5\r\n" +
                                   ws::generalDateText(kNow) + "\r\n";
    QTest::newRow("nothing found") << nothingFoundLines("2.5")
                                   << "nothing found after 2.5 Seconds\r\n\r\n";
    QTest::newRow("no tables") << searchEndMessage(SearchEnd::NoTables)
                               << "No PAT/SDT found\r\n\r\n";
    QTest::newRow("cancelled") << searchEndMessage(SearchEnd::Cancelled)
                               << "Cancelled PAT/SDT after 3 Minutes\r\n\r\n";
    QTest::newRow("cancelled sooner") << searchEndMessage(SearchEnd::Cancelled, 5)
                                      << "Cancelled PAT/SDT after 5 Seconds\r\n\r\n";
    QTest::newRow("search finished") << searchEndMessage(SearchEnd::Finished) << QString();
    QTest::newRow("not opened") << openFailedMessage(label, "Permission denied")
                                << label + " could not be opened: Permission denied";
    QTest::newRow("no such port") << openFailedMessage("comport 0", noSuchPortReason())
                                  << "comport 0 could not be opened: there is no such port";
    QTest::newRow("stopped working") << stoppedWorkingMessage(label, "Input/output error")
                                     << label + " stopped working: Input/output error";
    QTest::newRow("endless reply")
        << floodedReplyReason() << "the receiver sent more than 65536 bytes without ending its reply";
    QTest::newRow("endless search")
        << floodedSearchReason() << "the receiver sent more than 1048576 bytes in its table search";
    QTest::newRow("silent") << silentPortMessage(label, "2.50")
                            << label + " did not answer: nothing received in 2.50 s";
    QTest::newRow("unconfirmed")
        << unconfirmedLockMessage(label)
        << label + ": the receiver reported a lock marked \"Aut\"; the lock was not confirmed";
    QTest::newRow("stopped") << stoppedLine() << "Stopped by the user.";
}

void TestSignalCheck::logWording()
{
    QFETCH(QString, text);
    QFETCH(QString, wording);
    QCOMPARE(text, wording);
}

void TestSignalCheck::lockedCheckSendsExactCommandsAndLogsLockAndSearch()
{
    rx->replies = {kLocked};
    rx->search = {{0, "PAT found\r\n"}, {2, "SDT found\r\nReady\r\n"}};

    const QString log = check().log;

    const QByteArrayList expected = {"CBEG", "T10700000005010", "CBEG", "X", "CBEG", "S"};
    QCOMPARE(rx->line.written, expected);
    QCOMPARE(log, kChecking + lockedLine(1, kLocked, kNow) +
                      "PAT found\r\nSDT found\r\nReady\r\n"
                      "\r\n");
    QCOMPARE(rx->line.portName, portFor("2").device);
    QCOMPARE(rx->line.opens, 1);
    QCOMPARE(rx->line.closes, 1);
    QVERIFY(!rx->line.isOpen);
    QVERIFY(events->told().isEmpty());
}

void TestSignalCheck::polarisationAndBoxTextsGoOutAsGiven()
{
    settings.lnbPower = "12";
    settings.diseqc = " 3";
    QVERIFY(check("10700", Polarisation::VerticalAsThree)
                .log.startsWith(checkingLine("10700", Polarisation::Vertical)));
    QCOMPARE(rx->line.written.value(1), QByteArray("T10700000005312 3"));
}

void TestSignalCheck::lockPhase_data()
{
    QTest::addColumn<QByteArrayList>("replies"); // one per status request, the last repeats
    QTest::addColumn<QString>("timeout");
    QTest::addColumn<QByteArray>("search"); // empty where no search may start
    QTest::addColumn<int>("polls");
    QTest::addColumn<QString>("log"); // after the first line
    const QString none = nothingFoundLines("10");
    const QByteArray letters = "ABCDEFGHIJKLMNOP\r\n";

    QTest::newRow("short reply alone times out") << QByteArrayList{"00 Lock\r\n"} << "10"
                                                 << QByteArray() << 1 << none;
    QTest::newRow("noise before the code is cut")
        << QByteArrayList{"xx01 no lock 12345\r\n", "xx00 Locked 12345\r\n"} << "10"
        << QByteArray("Ready\r\n") << 2
        << lockedLine(3, "00 Locked 12345\r\n", kNow) + "Ready\r\n\r\n";
    QTest::newRow("reply without zero is no lock")
        << QByteArrayList{letters, letters, kLocked} << "10" << QByteArray("Ready\r\n") << 3
        << lockedLine(5, kLocked, kNow) + "Ready\r\n\r\n";
    // Never anything but such replies: no lock, and the check ends normally.
    QTest::newRow("only replies without zero")
        << QByteArrayList{letters} << "10" << QByteArray() << 5 << none;
    // Polls at 1004, 1006, ..., 1012; the reading of 1013 ends the phase. A
    // last reply with "Aut" never counted as a lock, but its tuner still
    // gets the table search.
    QTest::newRow("Aut is no lock but gets the search")
        << QByteArrayList{"00 Autoscan 12345\r\n"} << "10" << QByteArray("PAT found\r\nReady\r\n")
        << 5 << "PAT found\r\nReady\r\n\r\n";
    // The seconds count from the start of the lock phase.
    QTest::newRow("lock after two polls") << QByteArrayList{kUnlocked, kUnlocked, kLocked} << "10"
                                          << QByteArray("Ready\r\n") << 3
                                          << lockedLine(5, kLocked, kNow) + "Ready\r\n\r\n";
    // A time-out that is no number waits 0 s and goes into the log as typed.
    QTest::newRow("empty time-out, silent receiver")
        << QByteArrayList() << "" << QByteArray() << 1
        << nothingFoundLines("");
    QTest::newRow("time-out not a number")
        << QByteArrayList() << "ten" << QByteArray() << 1
        << nothingFoundLines("ten");
}

void TestSignalCheck::lockPhase()
{
    QFETCH(QByteArrayList, replies);
    QFETCH(QString, timeout);
    QFETCH(QByteArray, search);
    QFETCH(int, polls);
    QFETCH(QString, log);
    settings.timeout = timeout;
    rx->replies = replies;
    rx->search = {{0, search}};

    QCOMPARE(check().log, kChecking + log);
    QCOMPARE(rx->polls, polls);
    // Each poll sends the request again, with its prefix, as do the tune
    // command and the table search, which goes out last if at all.
    const QByteArrayList &written = rx->line.written;
    QCOMPARE(written.count("X"), polls);
    QCOMPARE(written.count("CBEG"), polls + (search.isEmpty() ? 1 : 2));
    QCOMPARE(written.mid(written.size() - 2),
             QByteArrayList({"CBEG", search.isEmpty() ? "X" : "S"}));
}

void TestSignalCheck::shortReplyIsNotCompleteAndGatheringGoesOn()
{
    rx->replies = {"00 Lock\r\n"};
    rx->onSecond = [this](qint64 second) {
        if (second == 1005)
            rx->line.feed("more 12345678\r\n");
    };
    rx->search = {{0, "Ready\r\n"}};
    QCOMPARE(check().log,
             kChecking + lockedLine(2, "00 Lock\r\nmore 12345678\r\n", kNow) + "Ready\r\n\r\n");
    QCOMPARE(rx->polls, 1);
}

void TestSignalCheck::emptyTimeoutAllowsLockInTheSameSecond()
{
    settings.timeout = "";
    rx->replies = {kLocked};
    rx->search = {{0, "Ready\r\n"}};
    rx->holdClockFrom = 1003;
    const QString log = check().log;
    QCOMPARE(log, kChecking + lockedLine(0, kLocked, kNow) + "Ready\r\n\r\n");
}

void TestSignalCheck::timeoutIsReadAtEveryComparison()
{
    settings.timeout = "100";
    rx->onSecond = [this](qint64 second) {
        if (second == 1006)
            settings.timeout = "2.5";
    };
    QVERIFY(check().log.endsWith(nothingFoundLines("2.5")));
    QCOMPARE(rx->clock.current, 1008); // 1006 - 1003 > 2.5, then one more reading
}

void TestSignalCheck::searchEnds_data()
{
    QTest::addColumn<Script>("search");
    QTest::addColumn<QString>("logEnd");
    QTest::addColumn<int>("lastSecond"); // of the search, as the clock was last read
    QTest::addColumn<SearchEnd>("end");
    QTest::newRow("Ready after found")
        << Script{{0, "PAT found\r\n"}, {50, "SDT found\r\nReady\r\n"}}
        << "PAT found\r\nSDT found\r\nReady\r\n\r\n" << 51 << SearchEnd::Finished;
    QTest::newRow("found runs past one minute")
        << Script{{10, "PAT found\r\n"}, {120, "Ready\r\n"}} << "PAT found\r\nReady\r\n\r\n" << 121
        << SearchEnd::Finished;
    QTest::newRow("no found stops after 61 s")
        << Script{{5, "searching\r\n"}, {100, "found Ready\r\n"}}
        << "\r\nsearching\r\n" + searchEndMessage(SearchEnd::NoTables) + "\r\n" << 61
        << SearchEnd::NoTables;
    QTest::newRow("cancelled after three minutes")
        << Script{{5, "PAT found\r\n"}}
        << "\r\nPAT found\r\n" + searchEndMessage(SearchEnd::Cancelled) + "\r\n" << 181
        << SearchEnd::Cancelled;
    QTest::newRow("No Signal, split across reads")
        << Script{{3, "No Sig"}, {4, "nal\r\n"}} << "\r\nNo Signal\r\n\r\n" << 5
        << SearchEnd::Finished;
}

void TestSignalCheck::searchEnds()
{
    QFETCH(Script, search);
    QFETCH(QString, logEnd);
    QFETCH(int, lastSecond);
    QFETCH(SearchEnd, end);
    rx->replies = {kLocked};
    rx->search = search;
    const CheckResult result = check();
    QVERIFY2(result.log.endsWith(logEnd), qPrintable(result.log));
    QCOMPARE(rx->lastSearchSecond, lastSecond);
    QCOMPARE(result.searchEnd, end);
    // Whoever watches hears the receiver's words as they come; the log's
    // last piece begins with them.
    QCOMPARE(events->searched.join(QString()), result.searchText);
    QVERIFY(events->seen.last().startsWith("append " + result.searchText));
}

void TestSignalCheck::inputBeforeTheSearchBelongsToIt()
{
    rx->replies = {kLocked};
    rx->search = {{0, "Ready\r\n"}};
    // The receiver says more after its lock reply, before "S" goes out.
    const auto answer = rx->line.onWrite;
    rx->line.onWrite = [this, answer](const QByteArray &bytes) {
        if (bytes == "CBEG" && events->seen.contains("locked"))
            rx->line.feed("late status\r\n");
        answer(bytes);
    };
    QVERIFY(check().log.endsWith(date() + "\r\nlate status\r\nReady\r\n\r\n"));
}

void TestSignalCheck::checkRunAgainStartsAfresh()
{
    rx->replies = {kLocked};
    rx->search = {{0, "Ready\r\n"}};
    SignalCheck again(rx->line, rx->clock, source(), *events);
    const QString first = run(again, "10700", Polarisation::Horizontal).log;
    rx->search = {{0, "No Signal\r\n"}};
    rx->searchStart = -1;
    events->log.clear();
    const QString second = run(again, "11000", Polarisation::Vertical).log;
    lastLog = second;
    QVERIFY(first.startsWith(kChecking));
    QVERIFY(second.startsWith(checkingLine("11000", Polarisation::Vertical)));
    QVERIFY(!second.contains("10700"));
    QVERIFY2(second.endsWith("No Signal\r\n\r\n"), qPrintable(second));
    QCOMPARE(rx->line.opens, 2);
    QCOMPARE(rx->line.closes, 2);
}

void TestSignalCheck::portThatCannotBeOpenedIsReported_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("opens");
    QTest::newRow("refused") << "2" << openFailedMessage(portFor("2").label, "Permission denied")
                             << 1;
    // No port 0 exists: nothing is opened.
    QTest::newRow("no such port") << "0" << openFailedMessage("comport 0", noSuchPortReason())
                                  << 0;
}

void TestSignalCheck::portThatCannotBeOpenedIsReported()
{
    QFETCH(QString, port);
    QFETCH(QString, message);
    QFETCH(int, opens);
    settings.port = port;
    rx->line.failOpen = true;
    rx->line.openError = "Permission denied";
    QCOMPARE(check().log, kChecking + message + "\r\n");
    QCOMPARE(events->told(), QStringList{"tell " + message});
    QVERIFY(rx->line.written.isEmpty());
    QCOMPARE(rx->line.opens, opens);
}

void TestSignalCheck::lineThatStopsWorkingIsReportedNotLoggedAsNoSignal_data()
{
    QTest::addColumn<int>("phase");
    QTest::newRow("while the tuner settles") << 0;
    QTest::newRow("while the lock is polled") << 1;
    QTest::newRow("during the table search") << 2;
}

void TestSignalCheck::lineThatStopsWorkingIsReportedNotLoggedAsNoSignal()
{
    QFETCH(int, phase);
    const QString error = "Input/output error";
    const QString line = stoppedWorkingMessage(portFor("2").label, error);
    rx->replies = {phase == 2 ? kLocked : kUnlocked};
    rx->onSecond = [&](qint64 second) {
        const bool gone[] = {second == 1001, rx->polls == 2, rx->searchStart >= 0};
        if (gone[phase])
            rx->line.failureText = error;
    };
    // The check ends at once with one line that says so, and closes the port.
    const QString log = check().log;
    QVERIFY2(log.endsWith("\r\n" + line + "\r\n"), qPrintable(log));
    for (const QString &noSignal : {nothingFoundLines(settings.timeout),
                                    searchEndMessage(SearchEnd::NoTables),
                                    searchEndMessage(SearchEnd::Cancelled)})
        QVERIFY(!log.contains(noSignal.trimmed()));
    QCOMPARE(events->told(), QStringList{"tell " + line});
    QCOMPARE(rx->line.closes, 1);
    QVERIFY(!rx->line.isOpen);
}

void TestSignalCheck::searchTextBeforeTheLineStopsIsKept()
{
    const QString reason = "the device closed the connection or went away";
    const QString line = stoppedWorkingMessage(portFor("2").label, reason);
    rx->replies = {kLocked};
    // The receiver goes away in the middle of a line; that piece comes with
    // the read that finds the line gone.
    rx->search = {{0, "PAT found\r\n"}, {2, "SDT fou"}};
    rx->onSecond = [&](qint64) {
        if (rx->lastSearchSecond >= 2)
            rx->line.failureText = reason;
    };
    QCOMPARE(check().log, kChecking + lockedLine(1, kLocked, kNow) + "PAT found\r\nSDT fou\r\n" +
                              line + "\r\n");
    QCOMPARE(events->told(), QStringList{"tell " + line});
    QCOMPARE(rx->line.closes, 1);
}

void TestSignalCheck::statusRequestsArePacedWithoutMovingTheSeconds()
{
    // A receiver that answers every request at once.
    rx->replies = {kUnlocked, kUnlocked, kLocked};
    rx->search = {{0, "Ready\r\n"}};
    QList<qint64> requestMs;
    const auto answer = rx->line.onWrite;
    rx->line.onWrite = [&](const QByteArray &bytes) {
        if (bytes == "X")
            requestMs << rx->clock.currentMs;
        answer(bytes);
    };
    const QString log = check().log;
    QCOMPARE(requestMs.size(), 3);
    for (qsizetype i = 1; i < requestMs.size(); ++i)
        QVERIFY2(requestMs.at(i) - requestMs.at(i - 1) >= 40, qPrintable(QString::number(i)));
    // The pause reads no whole seconds: the same polls, the same count.
    QCOMPARE(log, kChecking + lockedLine(5, kLocked, kNow) + "Ready\r\n\r\n");
}

void TestSignalCheck::eventsAndResultTellTheOutcome()
{
    rx->replies = {kUnlocked, kLocked};
    rx->search = {{0, "PAT found\r\nReady\r\n"}};
    settings = {"5", "3", "0", "2"};
    SignalCheck check(rx->line, rx->clock, source(), *events);

    const CheckResult result = run(check, "11778", Polarisation::Vertical);

    QCOMPARE(rx->line.portName, portFor("3").device);
    QCOMPARE(rx->line.written.value(1), QByteArray("T11778000005102"));
    const QString checking = checkingLine("11778", Polarisation::Vertical);
    const QString lock = lockedLine(3, kLocked, kNow);
    QCOMPARE(events->seen, QStringList({"append " + checking, "append " + lock, "locked",
                                        "append PAT found\r\nReady\r\n\r\n"}));
    QCOMPARE(result.log, checking + lock + "PAT found\r\nReady\r\n\r\n");
    QVERIFY(!result.portFailed);
    // What a front end judges the outcome by.
    QVERIFY(result.locked);
    QCOMPARE(result.searchText, QString("PAT found\r\nReady\r\n"));
    QCOMPARE(result.searchEnd, SearchEnd::Finished);
    QVERIFY(events->waits > 0);

    // A port failure is appended first, then told, once.
    rx->line.failOpen = true;
    events->seen.clear();
    const CheckResult failed = run(check, "11778", Polarisation::Horizontal);
    const QString message = openFailedMessage(portFor("3").label, "No such file or directory");
    const QString checkingH = checkingLine("11778", Polarisation::Horizontal);
    QCOMPARE(events->seen, QStringList({"append " + checkingH, "append " + message + "\r\n",
                                        "tell " + message}));
    QCOMPARE(failed.log, checkingH + message + "\r\n");
    QVERIFY(failed.portFailed);
    QVERIFY(!failed.locked);
    QCOMPARE(failed.searchText, QString());
    QCOMPARE(failed.searchEnd, SearchEnd::Running);

    // A last reply with "Aut" gets the search but is no lock.
    rx->line.failOpen = false;
    rx->replies = {"00 Autoscan 12345\r\n"};
    rx->search = {{0, "No Signal\r\n"}};
    rx->searchStart = -1;
    events->log.clear();
    const CheckResult aut = run(check, "11778", Polarisation::Horizontal);
    lastLog = aut.log;
    QVERIFY(!aut.locked);
    QVERIFY(aut.unconfirmedLock && !result.unconfirmedLock);
    QCOMPARE(aut.searchText, QString("No Signal\r\n"));
    QCOMPARE(aut.searchEnd, SearchEnd::Finished);
}

void TestSignalCheck::floodOrSilenceIsAPortFailure_data()
{
    QTest::addColumn<QByteArray>("reply");  // to every status request
    QTest::addColumn<int>("perSecond");     // bytes more every second, once asked
    QTest::addColumn<QByteArray>("search"); // at once, and again a second later
    QTest::addColumn<QString>("logEnd");    // after the lock line, if any
    QTest::addColumn<QString>("told");      // after the port's label
    const QString none = nothingFoundLines("2.50");
    const QByteArray ys(700000, 'y');
    const QString endless = stoppedWorkingMessage("", floodedReplyReason());
    QTest::newRow("reply at once") << QByteArray(200000, '0') << 0 << ys << QString() << endless;
    QTest::newRow("reply in pieces") << QByteArray() << 40000 << ys << QString() << endless;
    QTest::newRow("reply just within")
        << QByteArray(65534, 'x') + "\r\n" << 0 << ys << none << QString();
    QTest::newRow("search") << kLocked << 0 << ys << QString(1048576, 'y') + "\r\n"
                            << stoppedWorkingMessage("", floodedSearchReason());
    QTest::newRow("search ended within")
        << kLocked << 0 << QByteArray(1048570, 'y') + "Ready\r\n"
        << QString(1048570, 'y') + "Ready\r\r\n" << QString();
    QTest::newRow("silent") << QByteArray() << 0 << ys << none
                            << silentPortMessage("", "2.50");
    QTest::newRow("garbage") << QByteArray("zz") << 0 << ys << none << QString();
}

void TestSignalCheck::floodOrSilenceIsAPortFailure()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, perSecond);
    QFETCH(QByteArray, search);
    QFETCH(QString, logEnd);
    QFETCH(QString, told);
    rx->replies = {reply};
    rx->search = {{0, search}, {1, search}};
    rx->onSecond = [&](qint64) {
        if (rx->polls > 0 && perSecond > 0)
            rx->line.feed(QByteArray(perSecond, 'x'));
    };
    settings = {"2.50", "2", "1", "0"};
    const CheckResult result = check("11778");

    const QString label = portFor("2").label;
    const QString lock = result.locked ? lockedLine(1, kLocked, kNow) : QString();
    // A silent line's log is that of any check without a lock.
    const QString failure = told.contains("stopped") ? label + told + "\r\n" : QString();
    QVERIFY2(result.log == checkingLine("11778", Polarisation::Horizontal) + lock + logEnd + failure,
             qPrintable(result.log.right(200)));
    QCOMPARE(result.portFailed, !told.isEmpty());
    QCOMPARE(events->told(), told.isEmpty() ? QStringList() : QStringList{"tell " + label + told});
}

void TestSignalCheck::stopEndsTheCheckAtOnceInEachPhase_data()
{
    QTest::addColumn<qint64>("second"); // of the clock, when the user stops
    QTest::addColumn<QString>("logEnd");
    // Settling reads 1000 to 1002, the lock wait from 1003; the receiver
    // locks at its third poll, and the search starts at 1009.
    const QString stopped = stoppedLine() + "\r\n";
    QTest::newRow("settling") << qint64(1001) << "signal\r\n" + stopped;
    QTest::newRow("lock wait") << qint64(1005) << "signal\r\n" + stopped;
    // What the receiver said so far stays, on lines of its own.
    QTest::newRow("search") << qint64(1013) << "PAT fou\r\n" + stopped;
}

void TestSignalCheck::stopEndsTheCheckAtOnceInEachPhase()
{
    QFETCH(qint64, second);
    QFETCH(QString, logEnd);
    rx->replies = {kUnlocked, kUnlocked, kLocked};
    rx->search = {{1, "PAT fou"}, {100, "nd\r\nReady\r\n"}};
    SignalCheck machine(rx->line, rx->clock, source(), *events);
    std::optional<CheckResult> result;
    machine.start("10700", Polarisation::Horizontal,
                  [&](const CheckResult &ended) { result = ended; });
    QVERIFY(rx->clock.runTimers([&] { return rx->clock.current > second; }));
    const qsizetype writes = rx->line.written.size();

    machine.stop();

    QVERIFY(!machine.running() && !rx->line.isOpen);
    QVERIFY(rx->clock.runTimers());
    QVERIFY(result && result->stopped && !result->portFailed);
    QVERIFY2(result->log.endsWith(logEnd), qPrintable(result->log));
    QCOMPARE(rx->line.written.size(), writes);
    QVERIFY(events->told().isEmpty());
    lastLog = result->log;
}

void TestSignalCheck::lineThatHangsUpEndsTheWaitAtOnce()
{
    // A patient time-out and a receiver that never answers: the check sleeps
    // through its poll slices until the line says it is gone.
    settings.timeout = "100";
    rx->clock.step = 0;
    SignalCheck machine(rx->line, rx->clock, source(), *events);
    std::optional<CheckResult> result;
    machine.start("10700", Polarisation::Horizontal,
                  [&](const CheckResult &ended) { result = ended; });
    QVERIFY(!rx->clock.runTimers({}, 50));
    const qint64 at = rx->clock.currentMs;
    const int fired = rx->clock.fired;
    rx->line.fail("the device closed the connection or went away");
    QVERIFY(rx->clock.runTimers());
    QVERIFY(result && result->portFailed);
    // At once, and nothing wakes up again for the dead line.
    QCOMPARE(rx->clock.currentMs, at);
    QVERIFY(rx->clock.fired - fired <= 3);
    QVERIFY(!rx->line.isOpen);
    lastLog = result->log;
}

void TestSignalCheck::shorterSearchLimitSaysItsSeconds()
{
    rx->replies = {kLocked};
    rx->search = {{0, "PAT found\r\n"}};
    SignalCheck machine(rx->line, rx->clock, source(), *events);
    machine.setSearchLimit(5);
    const CheckResult result = run(machine, "10700", Polarisation::Horizontal);
    lastLog = result.log;
    QVERIFY2(result.log.endsWith("PAT found\r\n" + searchEndMessage(SearchEnd::Cancelled, 5) + "\r\n"),
             qPrintable(result.log));
    QCOMPARE(rx->lastSearchSecond, 6);
    QCOMPARE(result.searchEnd, SearchEnd::Cancelled);
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestSignalCheck)
#include "tst_signalcheck.moc"
