#include "rxsim/receiversim.h"

#include <QTest>

using ws::rxsim::Receiver;
using ws::rxsim::Script;
using ws::rxsim::SearchOutcome;

namespace {

// Everything the receiver sends in answer to `input` within a few seconds.
QByteArray answer(Receiver &rx, const QByteArray &input, qint64 at = 0)
{
    rx.receive(input, at);
    return rx.takeDue(at + 10000);
}

} // namespace

class TestRxSim : public QObject
{
    Q_OBJECT

private slots:
    void commandsArePickedOutOfAnySplitOfTheStream();
    void locksFromTheKthPoll();
    void scriptedRepliesLookAsConfigured();
    void repliesGoOutInTimedPieces();
    void optionsParseIntoAScript();
    void aDishThatTurnsLocksAroundItsBest();
};

void TestRxSim::commandsArePickedOutOfAnySplitOfTheStream()
{
    const QByteArray stream = "CBEGT10700000005010CBEGXCBEGX";
    for (int cut = 0; cut <= stream.size(); ++cut) {
        Receiver rx(Script{});
        rx.receive(stream.left(cut), 0);
        rx.receive(stream.mid(cut), 0);
        QCOMPARE(rx.polls(), 2);
        QCOMPARE(rx.lastTune(), QByteArray("T10700000005010"));
    }
}

void TestRxSim::locksFromTheKthPoll()
{
    Script script;
    script.lockAfterPolls = 3;
    Receiver rx(script);
    QVERIFY(answer(rx, "CBEGX").startsWith("01 "));
    QVERIFY(answer(rx, "CBEGX").startsWith("01 "));
    QVERIFY(answer(rx, "CBEGX").startsWith("00 "));
    QVERIFY(answer(rx, "CBEGX").startsWith("00 "));
    // Junk between commands is ignored.
    QVERIFY(answer(rx, "xyzCBEGX").startsWith("00 "));
    QCOMPARE(rx.polls(), 5);
}

void TestRxSim::scriptedRepliesLookAsConfigured()
{
    Script never;
    never.neverLock = true;
    Receiver a(never);
    for (int i = 0; i < 5; ++i)
        QVERIFY(answer(a, "CBEGX").startsWith("01 "));

    Script aut;
    aut.autReplies = true;
    Receiver b(aut);
    const QByteArray reply = answer(b, "CBEGX");
    QVERIFY(reply.startsWith("00 ") && reply.contains("Aut"));

    Script garbage;
    garbage.garbage = true;
    Receiver c(garbage);
    const QByteArray noisy = answer(c, "CBEGX");
    QVERIFY(noisy.startsWith("#*00 "));
    QVERIFY(noisy.contains("noise"));
    // Every reply ends in CR LF with its CR at received position 14 or
    // later, as the program expects.
    for (const QByteArray &r : {reply, noisy})
        QVERIFY(r.indexOf("\r\n") >= 13);
}

void TestRxSim::repliesGoOutInTimedPieces()
{
    Script script;
    script.pieces = 3;
    script.pieceGapMs = 30;
    Receiver rx(script);
    rx.receive("CBEGX", 1000);
    QCOMPARE(rx.nextDueMs(), 1005);
    QByteArray all;
    int reads = 0;
    while (rx.nextDueMs() >= 0) {
        const QByteArray piece = rx.takeDue(rx.nextDueMs());
        QVERIFY(!piece.isEmpty());
        all += piece;
        ++reads;
    }
    QCOMPARE(reads, 3);
    QCOMPARE(all, QByteArray("00 Locked   Lvl 75\r\n"));
    QVERIFY(rx.takeDue(100000).isEmpty());
}

void TestRxSim::optionsParseIntoAScript()
{
    Script script;
    QString error;
    QVERIFY(ws::rxsim::parseScript({"--lock-after", "4", "--aut", "--split", "2", "--garbage",
                                    "--search", "nosignal", "--line-gap-ms", "0", "--sweep", "20"},
                                   script, error));
    QCOMPARE(script.sweepSeconds, 20);
    QCOMPARE(script.lockAfterPolls, 4);
    QVERIFY(script.autReplies);
    QCOMPARE(script.pieces, 2);
    QVERIFY(script.garbage);
    QCOMPARE(int(script.search), int(SearchOutcome::NoSignal));
    QCOMPARE(script.searchLineGapMs, 0);

    for (const QStringList &bad : {QStringList{"--lock-after", "0"}, QStringList{"--split"},
                                   QStringList{"--search", "maybe"}, QStringList{"--fast"}}) {
        error.clear();
        QVERIFY(!ws::rxsim::parseScript(bad, script, error));
        QVERIFY(!error.isEmpty());
    }
}

void TestRxSim::aDishThatTurnsLocksAroundItsBest()
{
    Script script;
    script.sweepSeconds = 10;
    Receiver rx(script);
    QStringList replies;
    // A request a second, from the first byte on; each answered 5 ms later.
    for (qint64 at = 0; at <= 10000; at += 1000) {
        rx.receive("CBEGX", at);
        replies << QString::fromLatin1(rx.takeDue(at + 5)).trimmed();
    }
    // Rising to the best half-way through, then falling; locked while the
    // level is at least half the best.
    QCOMPARE(replies.first(), QString("01 No Lock  Lvl 0"));
    QCOMPARE(replies.at(1), QString("01 No Lock  Lvl 31"));
    QCOMPARE(replies.at(2), QString("00 Locked   Lvl 59"));
    QCOMPARE(replies.at(5), QString("00 Locked   Lvl 100"));
    QCOMPARE(replies.filter("00 Locked").size(), 7);
    QCOMPARE(replies.last(), QString("01 No Lock  Lvl 0"));
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestRxSim)
#include "tst_rxsim.moc"
