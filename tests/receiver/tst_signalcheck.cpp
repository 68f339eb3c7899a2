#include "fakeplatform.h"
#include "protocol.h"
#include "signalcheck.h"
#include "texts.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest>

#include <map>

using ws::test::FakeClock;
using ws::test::FakeWindow;
namespace names = ws::window::names;

namespace {

// A receiver on the fake line. It answers every status request with the
// reply for that poll (the last one repeats), and during a table search
// sends each piece of text once the search has run for its second.
struct Receiver
{
    explicit Receiver(FakeWindow &w) : w(w)
    {
        w.serial.onWrite = [this](const QByteArray &bytes) {
            if (bytes == "X") {
                ++polls;
                if (!replies.isEmpty())
                    this->w.serial.feed(replies.at(qMin(polls, int(replies.size())) - 1));
            } else if (bytes == "S") {
                searchStart = this->w.clock.current;
                feedSearch(0);
            }
        };
        w.clock.onReading = [this](FakeClock &c) {
            if (searchStart >= 0) {
                lastSearchSecond = c.current - searchStart;
                feedSearch(lastSearchSecond);
            }
            if (onSecond)
                onSecond(c.current);
            if (holdClockFrom >= 0 && c.current >= holdClockFrom)
                c.step = 0;
        };
        w.clock.step = 1;
    }

    void feedSearch(qint64 second)
    {
        while (!search.empty() && search.begin()->first <= second) {
            w.serial.feed(search.begin()->second);
            search.erase(search.begin());
        }
    }

    FakeWindow &w;
    QByteArrayList replies;
    std::multimap<qint64, QByteArray> search;
    int polls = 0;
    qint64 searchStart = -1;
    qint64 lastSearchSecond = -1;
    // From this reading on the clock stands still.
    qint64 holdClockFrom = -1;
    // Called at every clock reading with the second it returns.
    std::function<void(qint64)> onSecond;
};

const QByteArray kLocked = "00 Locked 5 12345\r\n";
const QByteArray kUnlocked = "01 Searching 123\r\n";

// What a check reports, in order, as a front end without a window sees it.
struct RecordingEvents : ws::receiver::CheckEvents
{
    void logAppended(const QString &text) override { seen << "append " + text; }
    void locked() override { seen << "locked"; }
    void waiting() override { ++waits; }
    void portFailed(const QString &message) override { seen << "tell " + message; }

    QStringList seen;
    int waits = 0;
};

} // namespace

class TestSignalCheck : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { w.reset(); }

    void defaultsSendExactCommandsAndLogLockAndSearch();
    void polarisationThreeGoesOutAsThreeAndLogsV();
    void boxTextsGoIntoTheTuneCommandAsTyped();
    void shortReplyIsNotCompleteAndGatheringGoesOn();
    void shortReplyAloneTimesOut();
    void noiseBeforeTheCodeIsCut();
    void replyWithoutZeroIsNoLock();
    void autReplyIsNoLockButStillGetsTheSearch();
    void lockCountsFromTheLockPhase();
    void emptyTimeoutAllowsLockInTheSameSecond();
    void emptyTimeoutWithSilentReceiverFindsNothing();
    void timeoutIsReadAtEveryComparison();
    void searchEndsOnReadyAfterFound();
    void searchWithFoundRunsPastOneMinute();
    void searchWithoutFoundStopsAfter61Seconds();
    void searchIsCancelledAfterThreeMinutes();
    void noSignalEndsTheSearch();
    void inputBeforeTheSearchBelongsToIt();
    void twoChecksEachReplaceTheLog();
    void portThatCannotBeOpenedIsReported();
    void lineThatStopsWorkingIsReportedNotLoggedAsNoSignal();
    void searchTextBeforeTheLineStopsIsKept();
    void statusRequestsArePacedWithoutMovingTheSeconds();
    void checkWaitsWithoutSpinningOrRunningInput();
    void checkRunsWithoutAWindow();
    void floodOrSilenceIsAPortFailure_data();
    void floodOrSilenceIsAPortFailure();

private:
    QString check(double frequency = 10700, Qt::MouseButton button = Qt::LeftButton);
    QString date() const { return ws::generalDateText(w->clock.wallClock); }
    QString log() const { return w->element<QPlainTextEdit>(names::logBox)->toPlainText(); }

    std::unique_ptr<FakeWindow> w;
    std::unique_ptr<Receiver> rx;
};

void TestSignalCheck::init()
{
    w = std::make_unique<FakeWindow>();
    rx = std::make_unique<Receiver>(*w);
}

// A spot check: the click's handler runs the check and keeps its log.
QString TestSignalCheck::check(double frequency, Qt::MouseButton button)
{
    w->window->checkFrequencyAt(frequency, button);
    return w->window->lastCheckLog();
}

// The clock starts at 1000 and advances one second per reading: the settle
// phase reads 1000 to 1002, the lock phase starts at 1003 and its first
// poll sees 1004.

void TestSignalCheck::defaultsSendExactCommandsAndLogLockAndSearch()
{
    rx->replies = {kLocked};
    rx->search = {{0, "PAT found\r\n"}, {2, "SDT found\r\nReady\r\n"}};
    w->element<QPlainTextEdit>(names::logBox)->setPlainText("map listing");

    const QString result = check(10700, Qt::LeftButton);

    const QByteArrayList expected = {"CBEG", "T10700000005010", "CBEG", "X", "CBEG", "S"};
    QCOMPARE(w->serial.written, expected);
    QCOMPARE(result, "Checking 10700h for dvb mpeg2 signal\r\n"
                     "After 1 Sec. Tuner locked at : 00 Locked 5 12345\r\n" +
                         date() +
                         "\r\n"
                         "PAT found\r\nSDT found\r\nReady\r\n"
                         "\r\n");
    QCOMPARE(w->serial.portName, ws::receiver::portFor("2").device);
    QCOMPARE(w->serial.opens, 1);
    QCOMPARE(w->serial.closes, 1);
    QVERIFY(!w->serial.isOpen);
    // The box shows the same text, its line ends as line breaks.
    QCOMPARE(log(), QString(result).replace("\r\n", "\n"));
    QVERIFY(w->dialogs.messages.isEmpty());
    // Text1 is repainted after the first line, after the lock (with the
    // whole window) and after the search.
    QCOMPARE(w->events.repainted, QStringList({"Text1", "Text1", "Form1", "Text1"}));
}

void TestSignalCheck::polarisationThreeGoesOutAsThreeAndLogsV()
{
    rx->replies = {kLocked};
    rx->search = {{0, "Ready\r\n"}};
    const QString result = check(10700, Qt::MiddleButton);
    QCOMPARE(w->serial.written.value(1), QByteArray("T10700000005310"));
    QVERIFY(result.startsWith("Checking 10700v for dvb mpeg2 signal\r\n"));
}

void TestSignalCheck::boxTextsGoIntoTheTuneCommandAsTyped()
{
    w->element<QLineEdit>(names::lnbPowerBox)->setText("12");
    w->element<QLineEdit>(names::diseqcBox)->setText(" 3");
    w->element<QLineEdit>(names::timeoutBox)->setText("0");
    check(11954, Qt::RightButton);
    QCOMPARE(w->serial.written.value(1), QByteArray("T11954000005112 3"));
}

void TestSignalCheck::shortReplyIsNotCompleteAndGatheringGoesOn()
{
    rx->replies = {"00 Lock\r\n"};
    rx->onSecond = [this](qint64 second) {
        if (second == 1005)
            w->serial.feed("more 12345678\r\n");
    };
    rx->search = {{0, "Ready\r\n"}};
    const QString result = check();
    QCOMPARE(rx->polls, 1);
    QVERIFY2(result.contains("\r\nAfter 2 Sec. Tuner locked at : 00 Lock\r\nmore 12345678\r\n" +
                             date() + "\r\nReady\r\n\r\n"),
             qPrintable(result));
}

void TestSignalCheck::shortReplyAloneTimesOut()
{
    rx->replies = {"00 Lock\r\n"};
    const QString result = check();
    QCOMPARE(rx->polls, 1);
    QCOMPARE(result, QString("Checking 10700h for dvb mpeg2 signal\r\n"
                             "nothing found after 10 Seconds\r\n\r\n"));
}

void TestSignalCheck::noiseBeforeTheCodeIsCut()
{
    rx->replies = {"xx01 no lock 12345\r\n", "xx00 Locked 12345\r\n"};
    rx->search = {{0, "Ready\r\n"}};
    const QString result = check();
    QCOMPARE(rx->polls, 2);
    QVERIFY2(result.contains("Tuner locked at : 00 Locked 12345\r\n" + date()), qPrintable(result));
}

void TestSignalCheck::replyWithoutZeroIsNoLock()
{
    rx->replies = {"ABCDEFGHIJKLMNOP\r\n", "ABCDEFGHIJKLMNOP\r\n", kLocked};
    rx->search = {{0, "Ready\r\n"}};
    const QString result = check();
    QCOMPARE(rx->polls, 3);
    QVERIFY(result.contains("After 5 Sec."));

    // Never anything but such replies: no lock, and the check ends normally.
    init();
    rx->replies = {"ABCDEFGHIJKLMNOP\r\n"};
    QVERIFY(check().endsWith("nothing found after 10 Seconds\r\n\r\n"));
    QVERIFY(rx->polls > 1);
}

void TestSignalCheck::autReplyIsNoLockButStillGetsTheSearch()
{
    rx->replies = {"00 Autoscan 12345\r\n"};
    rx->search = {{0, "PAT found\r\nReady\r\n"}};
    const QString result = check();
    // Polls at 1004, 1006, ..., 1012; the reading of 1013 ends the phase.
    QCOMPARE(rx->polls, 5);
    QCOMPARE(result, QString("Checking 10700h for dvb mpeg2 signal\r\n"
                             "PAT found\r\nReady\r\n\r\n"));
    QCOMPARE(w->serial.written.mid(w->serial.written.size() - 2),
             QByteArrayList({"CBEG", "S"}));
}

void TestSignalCheck::lockCountsFromTheLockPhase()
{
    rx->replies = {kUnlocked, kUnlocked, kLocked};
    rx->search = {{0, "Ready\r\n"}};
    const QString result = check();
    QCOMPARE(rx->polls, 3);
    // Each poll sends the request again and throws away stale input.
    QCOMPARE(w->serial.written.count("X"), 3);
    QCOMPARE(w->serial.written.count("CBEG"), 5);
    QVERIFY2(result.contains("\r\nAfter 5 Sec. Tuner locked at : "), qPrintable(result));
}

void TestSignalCheck::emptyTimeoutAllowsLockInTheSameSecond()
{
    w->element<QLineEdit>(names::timeoutBox)->setText("");
    rx->replies = {kLocked};
    rx->search = {{0, "Ready\r\n"}};
    rx->holdClockFrom = 1003;
    const QString result = check();
    QVERIFY2(result.contains("\r\nAfter 0 Sec. Tuner locked at : "), qPrintable(result));
    QVERIFY(result.endsWith("Ready\r\n\r\n"));
}

void TestSignalCheck::emptyTimeoutWithSilentReceiverFindsNothing()
{
    w->element<QLineEdit>(names::timeoutBox)->setText("");
    QCOMPARE(check(), QString("Checking 10700h for dvb mpeg2 signal\r\n"
                              "nothing found after  Seconds\r\n\r\n"));
    QCOMPARE(rx->polls, 1);

    init();
    w->element<QLineEdit>(names::timeoutBox)->setText("ten");
    QVERIFY(check().endsWith("nothing found after ten Seconds\r\n\r\n"));
    QCOMPARE(rx->polls, 1);
}

void TestSignalCheck::timeoutIsReadAtEveryComparison()
{
    w->element<QLineEdit>(names::timeoutBox)->setText("100");
    rx->onSecond = [this](qint64 second) {
        if (second == 1006)
            w->element<QLineEdit>(names::timeoutBox)->setText("2.5");
    };
    QVERIFY(check().endsWith("nothing found after 2.5 Seconds\r\n\r\n"));
    QCOMPARE(w->clock.current, 1008); // 1006 - 1003 > 2.5, then one more reading
}

void TestSignalCheck::searchEndsOnReadyAfterFound()
{
    rx->replies = {kLocked};
    rx->search = {{0, "PAT found\r\n"}, {50, "SDT found\r\nReady\r\n"}};
    QVERIFY(check().endsWith("PAT found\r\nSDT found\r\nReady\r\n\r\n"));
    QCOMPARE(rx->lastSearchSecond, 51);
}

void TestSignalCheck::searchWithFoundRunsPastOneMinute()
{
    rx->replies = {kLocked};
    rx->search = {{10, "PAT found\r\n"}, {120, "Ready\r\n"}};
    QVERIFY(check().endsWith("PAT found\r\nReady\r\n\r\n"));
    QCOMPARE(rx->lastSearchSecond, 121);
}

void TestSignalCheck::searchWithoutFoundStopsAfter61Seconds()
{
    rx->replies = {kLocked};
    rx->search = {{5, "searching\r\n"}, {100, "found Ready\r\n"}};
    QVERIFY(check().endsWith("\r\nsearching\r\nNo PAT/SDT found\r\n\r\n\r\n"));
    QCOMPARE(rx->lastSearchSecond, 61);
}

void TestSignalCheck::searchIsCancelledAfterThreeMinutes()
{
    rx->replies = {kLocked};
    rx->search = {{5, "PAT found\r\n"}};
    QVERIFY(check().endsWith("\r\nPAT found\r\nCancelled PAT/SDT after 3 Minutes\r\n\r\n\r\n"));
    QCOMPARE(rx->lastSearchSecond, 181);
}

void TestSignalCheck::noSignalEndsTheSearch()
{
    rx->replies = {kLocked};
    rx->search = {{3, "No Sig"}, {4, "nal\r\n"}};
    QVERIFY(check().endsWith("\r\nNo Signal\r\n\r\n"));
    QCOMPARE(rx->lastSearchSecond, 5);
}

void TestSignalCheck::inputBeforeTheSearchBelongsToIt()
{
    rx->replies = {kLocked};
    rx->search = {{0, "Ready\r\n"}};
    // The receiver says more after its lock reply, before "S" goes out.
    auto answer = w->serial.onWrite;
    w->serial.onWrite = [this, answer](const QByteArray &bytes) {
        if (bytes == "CBEG" && rx->polls == 1 && log().contains("After "))
            w->serial.feed("late status\r\n");
        answer(bytes);
    };
    QVERIFY(check().endsWith(date() + "\r\nlate status\r\nReady\r\n\r\n"));
}

void TestSignalCheck::twoChecksEachReplaceTheLog()
{
    rx->replies = {kLocked};
    rx->search = {{0, "Ready\r\n"}};
    w->element<QPlainTextEdit>(names::logBox)->setPlainText("map listing");
    const QString first = check(10700, Qt::LeftButton);
    rx->search = {{0, "No Signal\r\n"}};
    rx->searchStart = -1;
    const QString second = check(11000, Qt::RightButton);
    QVERIFY(first.startsWith("Checking 10700h"));
    QVERIFY(!first.contains("map listing"));
    QVERIFY(second.startsWith("Checking 11000v"));
    QVERIFY(!second.contains("10700"));
    QVERIFY2(second.endsWith("No Signal\r\n\r\n"), qPrintable(second));
    QCOMPARE(log(), QString(second).replace("\r\n", "\n"));
    QCOMPARE(w->serial.opens, 2);
    QCOMPARE(w->serial.closes, 2);
}

void TestSignalCheck::portThatCannotBeOpenedIsReported()
{
    w->serial.failOpen = true;
    w->serial.openError = "Permission denied";
    const QString label = ws::receiver::portFor("2").label;
    const QString line = label + " could not be opened: Permission denied";
    QCOMPARE(check(), "Checking 10700h for dvb mpeg2 signal\r\n" + line + "\r\n");
    QCOMPARE(w->dialogs.messages, QStringList{line});
    QVERIFY(w->serial.written.isEmpty());

    // No port 0 exists: nothing is opened.
    w->serial.failOpen = false;
    w->element<QLineEdit>(names::portBox)->setText("0");
    QVERIFY(check().endsWith("\r\ncomport 0 could not be opened: there is no such port\r\n"));
    QCOMPARE(w->serial.opens, 1);

    // The window goes on working.
    w->element<QLineEdit>(names::portBox)->setText("2");
    rx->replies = {kLocked};
    rx->search = {{0, "Ready\r\n"}};
    QVERIFY(check().endsWith("Ready\r\n\r\n"));
}

void TestSignalCheck::lineThatStopsWorkingIsReportedNotLoggedAsNoSignal()
{
    const QString label = ws::receiver::portFor("2").label;
    const QString line = label + " stopped working: Input/output error";

    // Gone while the tuner settles, while the lock is polled, and during
    // the table search: each time the check ends at once with one line
    // that says so, and the port is closed.
    const std::function<void()> failWhen[] = {
        [&] { rx->onSecond = [&](qint64 s) { if (s == 1001) w->serial.failureText = "Input/output error"; }; },
        [&] { rx->replies = {kUnlocked}; rx->onSecond = [&](qint64) { if (rx->polls == 2) w->serial.failureText = "Input/output error"; }; },
        [&] { rx->replies = {kLocked}; rx->onSecond = [&](qint64) { if (rx->searchStart >= 0) w->serial.failureText = "Input/output error"; }; },
    };
    for (const auto &arrange : failWhen) {
        init();
        arrange();
        const QString log = check();
        QVERIFY2(log.endsWith("\r\n" + line + "\r\n"), qPrintable(log));
        QVERIFY(!log.contains("nothing found") && !log.contains("PAT/SDT"));
        QCOMPARE(w->dialogs.messages, QStringList{line});
        QCOMPARE(w->serial.closes, 1);
        QVERIFY(!w->serial.isOpen);
    }
}

void TestSignalCheck::searchTextBeforeTheLineStopsIsKept()
{
    const QString reason = "the device closed the connection or went away";
    const QString line = ws::receiver::portFor("2").label + " stopped working: " + reason;
    rx->replies = {kLocked};
    // The receiver goes away in the middle of a line; that piece comes with
    // the read that finds the line gone.
    rx->search = {{0, "PAT found\r\n"}, {2, "SDT fou"}};
    rx->onSecond = [&](qint64) {
        if (rx->lastSearchSecond >= 2)
            w->serial.failureText = reason;
    };
    QCOMPARE(check(), "Checking 10700h for dvb mpeg2 signal\r\n"
                      "After 1 Sec. Tuner locked at : 00 Locked 5 12345\r\n" +
                          date() + "\r\nPAT found\r\nSDT fou\r\n" + line + "\r\n");
    QCOMPARE(w->dialogs.messages, QStringList{line});
    QCOMPARE(w->serial.closes, 1);
}

void TestSignalCheck::statusRequestsArePacedWithoutMovingTheSeconds()
{
    // A receiver that answers every request at once.
    rx->replies = {kUnlocked, kUnlocked, kLocked};
    rx->search = {{0, "Ready\r\n"}};
    QList<qint64> requestMs;
    const auto answer = w->serial.onWrite;
    w->serial.onWrite = [&](const QByteArray &bytes) {
        if (bytes == "X")
            requestMs << w->clock.currentMs;
        answer(bytes);
    };
    const QString result = check();
    QCOMPARE(requestMs.size(), 3);
    for (qsizetype i = 1; i < requestMs.size(); ++i)
        QVERIFY2(requestMs.at(i) - requestMs.at(i - 1) >= 40, qPrintable(QString::number(i)));
    // The pause reads no whole seconds: the same polls, the same count.
    QCOMPARE(result, "Checking 10700h for dvb mpeg2 signal\r\n"
                     "After 5 Sec. Tuner locked at : 00 Locked 5 12345\r\n" +
                         date() + "\r\nReady\r\n\r\n");
}

void TestSignalCheck::checkWaitsWithoutSpinningOrRunningInput()
{
    w->window->show();
    bool closedDuringCheck = false;
    rx->onSecond = [&](qint64 second) {
        if (second == 1005) {
            w->window->close();
            closedDuringCheck = !w->window->isVisible();
        }
    };
    check();
    QVERIFY(w->serial.waits > 10);
    QVERIFY(w->events.keepPaintedCalls > 10);
    QCOMPARE(w->events.doEventsCalls, 0);
    // A close request waits until the check has returned.
    QVERIFY(!closedDuringCheck);
    QVERIFY(w->window->isVisible());
    QTRY_VERIFY(!w->window->isVisible());
}

void TestSignalCheck::checkRunsWithoutAWindow()
{
    using namespace ws::receiver;
    rx->replies = {kUnlocked, kLocked};
    rx->search = {{0, "PAT found\r\nReady\r\n"}};
    RecordingEvents events;
    const auto settings = [] { return ReceiverSettings{"5", "3", "0", "2"}; };
    SignalCheck check(w->serial, w->clock, settings, events);

    const CheckResult result = check.run("11778", Polarisation::Vertical);

    QCOMPARE(w->serial.portName, portFor("3").device);
    QCOMPARE(w->serial.written.value(1), QByteArray("T11778000005102"));
    const QString lock = "After 3 Sec. Tuner locked at : 00 Locked 5 12345\r\n" + date() + "\r\n";
    QCOMPARE(events.seen, QStringList({"append Checking 11778v for dvb mpeg2 signal\r\n",
                                       "append " + lock, "locked",
                                       "append PAT found\r\nReady\r\n\r\n"}));
    QCOMPARE(result.log, "Checking 11778v for dvb mpeg2 signal\r\n" + lock +
                             "PAT found\r\nReady\r\n\r\n");
    QVERIFY(!result.portFailed);
    // What a front end without a window judges the outcome by.
    QVERIFY(result.locked);
    QCOMPARE(result.searchText, QString("PAT found\r\nReady\r\n"));
    QCOMPARE(result.searchEnd, SearchEnd::Finished);
    QVERIFY(events.waits > 0);
    // The window was not asked for anything.
    QVERIFY(w->events.repainted.isEmpty());
    QCOMPARE(w->events.keepPaintedCalls, 0);
    QCOMPARE(w->element<QPlainTextEdit>(names::logBox)->toPlainText(), QString());

    // A port failure is appended first, then told, once.
    w->serial.failOpen = true;
    events.seen.clear();
    const CheckResult failed = check.run("11778", Polarisation::Horizontal);
    const QString message = portFor("3").label + " could not be opened: No such file or directory";
    QCOMPARE(events.seen, QStringList({"append Checking 11778h for dvb mpeg2 signal\r\n",
                                       "append " + message + "\r\n", "tell " + message}));
    QCOMPARE(failed.log, "Checking 11778h for dvb mpeg2 signal\r\n" + message + "\r\n");
    QVERIFY(failed.portFailed);
    QVERIFY(!failed.locked);
    QCOMPARE(failed.searchText, QString());
    QCOMPARE(failed.searchEnd, SearchEnd::Running);

    // A last reply with "Aut" gets the search but is no lock.
    w->serial.failOpen = false;
    rx->replies = {"00 Autoscan 12345\r\n"};
    rx->search = {{0, "No Signal\r\n"}};
    rx->searchStart = -1;
    const CheckResult aut = check.run("11778", Polarisation::Horizontal);
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
    const QString none = "nothing found after 2.50 Seconds\r\n\r\n";
    const QString flood = " stopped working: the receiver sent more than ";
    const QByteArray ys(700000, 'y');
    const QString endless = flood + "65536 bytes without ending its reply";
    QTest::newRow("reply at once") << QByteArray(200000, '0') << 0 << ys << QString() << endless;
    QTest::newRow("reply in pieces") << QByteArray() << 40000 << ys << QString() << endless;
    QTest::newRow("reply just within")
        << QByteArray(65534, 'x') + "\r\n" << 0 << ys << none << QString();
    QTest::newRow("search") << kLocked << 0 << ys << QString(1048576, 'y') + "\r\n"
                            << flood + "1048576 bytes in its table search";
    QTest::newRow("search ended within")
        << kLocked << 0 << QByteArray(1048570, 'y') + "Ready\r\n"
        << QString(1048570, 'y') + "Ready\r\r\n" << QString();
    QTest::newRow("silent") << QByteArray() << 0 << ys << none
                            << " did not answer: nothing received in 2.50 s";
    QTest::newRow("garbage") << QByteArray("zz") << 0 << ys << none << QString();
}

void TestSignalCheck::floodOrSilenceIsAPortFailure()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, perSecond);
    QFETCH(QByteArray, search);
    QFETCH(QString, logEnd);
    QFETCH(QString, told);
    using namespace ws::receiver;
    rx->replies = {reply};
    rx->search = {{0, search}, {1, search}};
    rx->onSecond = [&](qint64) {
        if (rx->polls > 0 && perSecond > 0)
            w->serial.feed(QByteArray(perSecond, 'x'));
    };
    RecordingEvents events;
    const auto settings = [] { return ReceiverSettings{"2.50", "2", "1", "0"}; };
    const auto result =
        SignalCheck(w->serial, w->clock, settings, events).run("11778", Polarisation::Horizontal);

    const QString label = portFor("2").label;
    const QString lock = result.locked ? "After 1 Sec. Tuner locked at : " + kLocked + date() + "\r\n"
                                       : QString();
    // A silent line's log is that of any check without a lock.
    const QString failure = told.contains("stopped") ? label + told + "\r\n" : QString();
    QVERIFY2(result.log == "Checking 11778h for dvb mpeg2 signal\r\n" + lock + logEnd + failure,
             qPrintable(result.log.right(200)));
    QCOMPARE(result.portFailed, !told.isEmpty());
    QCOMPARE(events.seen.filter("tell "),
             told.isEmpty() ? QStringList() : QStringList{"tell " + label + told});
}

QTEST_MAIN(TestSignalCheck)
#include "tst_signalcheck.moc"
