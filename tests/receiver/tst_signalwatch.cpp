// The watch on the fake line and the virtual clock: what goes out, how each
// reply is judged, silence, the ways it ends, and that nothing grows.
#include "receiver/checklog.h"
#include "receiver/signalwatch.h"
#include "support/fakes.h"

#include <QFile>
#include <QTest>

using namespace ws::receiver;

namespace {

struct Replied
{
    WatchState state;
    QString text;
    std::optional<double> level;
};

struct Recorder : WatchEvents
{
    void replied(WatchState state, const QString &text, std::optional<double> level) override
    {
        seen.push_back({state, text, level});
    }
    void failed(const PortFailure &failure) override
    {
        failures << failure.message;
        kinds.push_back(failure.kind);
    }
    QString states() const
    {
        QStringList words;
        for (const Replied &r : seen)
            words << stateWord(r.state);
        return words.join('|');
    }
    std::vector<Replied> seen;
    QStringList failures;
    std::vector<PortFailure::Kind> kinds;
};

// The process's resident memory in KiB.
qint64 residentKiB()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

} // namespace

class TestSignalWatch : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void tunesOnceAndJudgesEveryReply();
    void silenceIsToldOnceOrEndsAWatchThatNeverHeardAByte();
    void endsOnItsPortOrWhenStopped_data();
    void endsOnItsPortOrWhenStopped();
    void tallyCountsTheTimeLocked();
    void summaryCountsFromTheFirstReplyAndNamesTheBestLevel();
    void everyReplyBringsItsLevel();
    void levelPatternSwappedMidWatch_data();
    void levelPatternSwappedMidWatch();
    void replyWaitIsTheTimeReallyWaited_data();
    void replyWaitIsTheTimeReallyWaited();
    void staysFlatHoweverLongItRuns();

private:
    void start() { watch->start("11778", Polarisation::Horizontal); }

    ws::test::FakeClock clock;
    ws::test::FakeSerial line;
    Recorder events;
    ReceiverSettings settings;
    QByteArrayList replies; // one per request, the last repeats
    int requests = 0;
    std::unique_ptr<SignalWatch> watch;
};

void TestSignalWatch::init()
{
    watch.reset();
    line = {};
    events = {};
    settings = {"2", "2", "1", "0"};
    replies.clear();
    requests = 0;
    line.clock = &clock;
    clock.step = 1;
    line.onWrite = [this](const QByteArray &bytes) {
        if (bytes == "X" && !replies.isEmpty())
            line.feed(replies.at(std::min<int>(requests, replies.size() - 1)));
        requests += bytes == "X";
    };
    watch = std::make_unique<SignalWatch>(line, clock, [this] { return settings; }, events);
}

void TestSignalWatch::tunesOnceAndJudgesEveryReply()
{
    replies = {"00 Locked   Lvl 75\r\n", "00 Autoscan  Lvl 70\r\n", "01 No Lock  Lvl 12\r\n",
               "xx01 Searching\x01 \r\n", "00 Lock"};
    QList<qint64> requestMs;
    const auto answer = line.onWrite;
    line.onWrite = [&](const QByteArray &bytes) {
        if (bytes == "X")
            requestMs << clock.currentMs;
        answer(bytes);
    };
    start();
    QVERIFY(clock.runTimers([this] { return events.seen.size() == 6; }));
    QCOMPARE(events.states(), QString("locked|not confirmed|no lock|no lock|no lock|no lock"));
    QCOMPARE(events.seen[0].text, QString("Locked   Lvl 75"));
    QCOMPARE(events.seen[3].text, QString("Searching\x01 "));
    // A reply cut short by the time-out counts as "01 ".
    QCOMPARE(events.seen[4].text, QString());
    QCOMPARE(line.written.mid(0, 2), QByteArrayList({"CBEG", "T11778000005010"}));
    QCOMPARE(line.written.count("CBEG"), line.written.count("X") + 1);
    QVERIFY(!line.written.contains("S"));
    for (qsizetype i = 1; i < requestMs.size(); ++i)
        QVERIFY(requestMs.at(i) - requestMs.at(i - 1) >= kRequestGapMs);
    QVERIFY(line.isOpen && watch->running());
}

void TestSignalWatch::silenceIsToldOnceOrEndsAWatchThatNeverHeardAByte()
{
    // Never a byte: the watch ends as a check does.
    start();
    QVERIFY(clock.runTimers());
    QCOMPARE(events.failures, QStringList{silentPortMessage(portFor("2").label, "2")});
    QVERIFY(events.seen.empty() && !line.isOpen && !watch->running());

    // Heard once, then silent: told once, and asked on.
    init();
    replies = {"01 No Lock  Lvl 12\r\n", ""};
    start();
    QVERIFY(clock.runTimers([this] { return requests == 10; }));
    QCOMPARE(events.states(), QString("no lock|no answer"));
    QVERIFY(watch->running());
}

void TestSignalWatch::endsOnItsPortOrWhenStopped_data()
{
    QTest::addColumn<int>("how"); // 0 refused, 1 gone, 2 flooded, 3 stopped
    QTest::addColumn<QString>("told"); // after the port's label; empty for none
    using namespace ws::receiver;
    QTest::newRow("refused") << 0 << openFailedMessage("", "No such file or directory");
    QTest::newRow("gone") << 1 << stoppedWorkingMessage("", "Input/output error");
    QTest::newRow("flooded") << 2 << stoppedWorkingMessage("", floodedReplyReason());
    QTest::newRow("stopped") << 3 << QString();
}

void TestSignalWatch::endsOnItsPortOrWhenStopped()
{
    QFETCH(int, how);
    QFETCH(QString, told);
    line.failOpen = how == 0;
    replies = {how == 2 ? QByteArray(70000, 'x') : QByteArray("01 No Lock\r\n")};
    start();
    QVERIFY(clock.runTimers([this] { return requests == 3 || !watch->running(); }));
    if (how == 1)
        line.fail("Input/output error");
    if (how == 3)
        watch->stop();
    QVERIFY(clock.runTimers());
    QVERIFY(!watch->running() && !line.isOpen);
    QCOMPARE(events.failures, told.isEmpty() ? QStringList() : QStringList{portFor("2").label + told});
}

void TestSignalWatch::tallyCountsTheTimeLocked()
{
    WatchTally tally;
    const WatchState L = WatchState::Locked, N = WatchState::NoLock;
    // Locked from 1 s to 4 s and from 6 s to the end at 10 s.
    for (const auto &[state, ms] : std::vector<std::pair<WatchState, qint64>>{
             {N, 0}, {L, 1000}, {L, 2000}, {N, 4000}, {WatchState::NoAnswer, 5000}, {L, 6000}})
        tally.add(state, ms);
    QCOMPARE(tally.heldSinceMs(), qint64(6000));
    tally.end(10000);
    QCOMPARE(tally.replies(), 5);
    QCOMPARE(watchSummary(tally, 10000),
             QString("5 replies in 10.0 s: locked 70 % of the time, longest lock 4.0 s"));
}

void TestSignalWatch::summaryCountsFromTheFirstReplyAndNamesTheBestLevel()
{
    // The tuner settles for 2 s; locked at every reply from then on.
    WatchTally tally;
    const QDateTime at(QDate(2026, 12, 7), QTime(10, 30, 15));
    tally.add(WatchState::Locked, 2000, 70, at);
    tally.add(WatchState::Locked, 2500, 75, at.addSecs(1));
    tally.add(WatchState::Locked, 2900, 75, at.addSecs(2));
    tally.add(WatchState::Locked, 2950);
    tally.end(3000);
    QCOMPARE(watchSummary(tally, 3000),
             QString("4 replies in 3.0 s: locked 100 % of the time, longest lock 1.0 s, "
                     "best level 75 at 10:30:16"));
    // Without a reply nothing was locked, and without a level none is named.
    WatchTally silent;
    silent.add(WatchState::NoAnswer, 12000);
    silent.end(15000);
    QCOMPARE(watchSummary(silent, 15000),
             QString("0 replies in 15.0 s: locked 0 % of the time, longest lock 0.0 s"));
}

void TestSignalWatch::everyReplyBringsItsLevel()
{
    replies = {"00 Locked   Lvl 75\r\n", "01 No Lock  Lvl -2.5\r\n", "01 No Lock  0000000000",
               "00 snr 12 Lvl 40\r\n"};
    start();
    QVERIFY(clock.runTimers([this] { return events.seen.size() == 4; }));
    const std::vector<std::optional<double>> levels{75, -2.5, std::nullopt, 12};
    for (size_t i = 0; i < levels.size(); ++i)
        QCOMPARE(events.seen[i].level, levels[i]);
}

void TestSignalWatch::levelPatternSwappedMidWatch_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("then");
    QTest::addColumn<QString>("problem");
    QTest::addColumn<double>("before");
    QTest::addColumn<double>("after");
    // Every reply says "00 snr 12 Lvl 40": 12 by the usual rule.
    const QString byLvl = "Lvl (\\d+)";
    QTest::newRow("to a pattern") << QString() << byLvl << QString() << 12.0 << 40.0;
    QTest::newRow("back to the rule") << byLvl << QString() << QString() << 40.0 << 12.0;
    QTest::newRow("to another") << byLvl << "snr (\\d+)" << QString() << 40.0 << 12.0;
    QTest::newRow("no capture group") << byLvl << "Lvl \\d+" << "it has no capture group" << 40.0
                                      << 40.0;
    QTest::newRow("invalid") << byLvl << "Lvl (\\d+"
                             << "missing closing parenthesis at offset 8" << 40.0 << 40.0;
}

void TestSignalWatch::levelPatternSwappedMidWatch()
{
    QFETCH(QString, first);
    QFETCH(QString, then);
    QFETCH(QString, problem);
    QFETCH(double, before);
    QFETCH(double, after);
    replies = {"00 snr 12 Lvl 40\r\n"};
    QCOMPARE(watch->setLevelPattern(first), QString());
    start();
    QVERIFY(clock.runTimers([this] { return events.seen.size() == 2; }));
    QCOMPARE(watch->setLevelPattern(then), problem);
    // Refused, the pattern in use stays.
    QCOMPARE(watch->levelPattern(), problem.isEmpty() ? then : first);
    QVERIFY(clock.runTimers([this] { return events.seen.size() == 3; }));
    QCOMPARE(events.seen[1].level, std::optional<double>(before));
    QCOMPARE(events.seen[2].level, std::optional<double>(after));
}

void TestSignalWatch::replyWaitIsTheTimeReallyWaited_data()
{
    QTest::addColumn<QString>("timeout");
    QTest::addColumn<QString>("waited"); // as the message says it; empty: still waiting
    QTest::newRow("0") << "0" << "1";
    QTest::newRow("0.5") << "0.5" << "1";
    QTest::newRow("not a number") << "soon" << "1";
    QTest::newRow("2.5") << "2.5" << "2.5";
    QTest::newRow("beyond any number") << "9223372036854776" << "";
    QTest::newRow("beyond a double") << "1e999" << "";
}

void TestSignalWatch::replyWaitIsTheTimeReallyWaited()
{
    QFETCH(QString, timeout);
    QFETCH(QString, waited);
    settings.timeout = timeout;
    qint64 askedMs = -1;
    line.onWrite = [&](const QByteArray &bytes) {
        if (bytes == "X" && askedMs < 0)
            askedMs = clock.currentMs;
    };
    start();
    QVERIFY(clock.runTimers([this] { return clock.currentMs > 100000; }) || !waited.isEmpty());
    if (waited.isEmpty()) {
        QVERIFY(events.failures.isEmpty() && watch->running());
        return;
    }
    QCOMPARE(events.failures, QStringList{silentPortMessage(portFor("2").label, waited)});
    QCOMPARE(events.kinds, std::vector<PortFailure::Kind>{PortFailure::Kind::Silent});
    QCOMPARE(clock.currentMs - askedMs, qint64(waited.toDouble() * 1000));
}

void TestSignalWatch::staysFlatHoweverLongItRuns()
{
#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer keeps freed memory aside to catch its reuse: resident
    // memory grows under it whatever the program does.
    QSKIP("resident memory says nothing under AddressSanitizer");
#endif
    // The line keeps no record of what was written, or the record would
    // grow instead.
    struct QuietLine : ws::test::FakeSerial
    {
        void write(const QByteArray &bytes) override
        {
            if (bytes == "X")
                feed("00 Locked   Lvl 75\r\n");
        }
    } quiet;
    quiet.clock = &clock;
    struct Counting : WatchEvents
    {
        void replied(WatchState, const QString &, std::optional<double>) override { ++replies; }
        void failed(const PortFailure &) override {}
        int replies = 0;
    } counted;
    SignalWatch flat(quiet, clock, [this] { return settings; }, counted);
    flat.start("11778", Polarisation::Horizontal);
    QVERIFY(clock.runTimers([&] { return counted.replies == 1000; }));
    const qint64 after1000 = residentKiB();
    QVERIFY(clock.runTimers([&] { return counted.replies == 90000; }));
    const qint64 after90000 = residentKiB();
    QVERIFY2(after90000 - after1000 < 1024,
             qPrintable(QString("%1 KiB more").arg(after90000 - after1000)));
    flat.stop();
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestSignalWatch)
#include "tst_signalwatch.moc"
