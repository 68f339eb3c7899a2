// The conversation on the fake line and clock: each way a line fails has
// its kind, and which bytes show that someone is there.
#include "receiver/checklog.h"
#include "receiver/conversation.h"
#include "support/fakes.h"

#include <QTest>

using namespace ws::receiver;
using Kind = PortFailure::Kind;

namespace {

// A line whose far end can hang up rather than fail.
struct HangingLine : ws::test::FakeSerial
{
    bool hungUp() const override { return hangsUp; }
    bool hangsUp = false;
};

} // namespace

class TestConversation : public QObject
{
    Q_OBJECT

private slots:
    void eachFailureHasItsKind_data();
    void eachFailureHasItsKind();
    void whatCameWhileTheTunerSettledAnsweredNoRequest();
};

void TestConversation::eachFailureHasItsKind_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<int>("how"); // 0 refused, 1 hangs up, 2 an error, 3 floods
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("message"); // after the port's label
    QTest::newRow("no such port") << "0" << 0 << Kind::CouldNotOpen
                                  << " could not be opened: " + noSuchPortReason();
    QTest::newRow("refused") << "2" << 0 << Kind::CouldNotOpen
                             << " could not be opened: No such file or directory";
    QTest::newRow("hung up") << "2" << 1 << Kind::HungUp << " stopped working: gone";
    QTest::newRow("error") << "2" << 2 << Kind::Error << " stopped working: gone";
    QTest::newRow("flooded") << "2" << 3 << Kind::Flooded
                             << " stopped working: " + floodedReplyReason();
}

void TestConversation::eachFailureHasItsKind()
{
    QFETCH(QString, port);
    QFETCH(int, how);
    QFETCH(Kind, kind);
    QFETCH(QString, message);
    ws::test::FakeClock clock;
    HangingLine line;
    line.clock = &clock;
    int wakes = 0;
    Conversation talk(line, clock, [&] { ++wakes; });
    line.failOpen = how == 0;
    const PortFailure opened = talk.open(port);
    if (how == 0) {
        QCOMPARE(opened.kind, kind);
        QCOMPARE(opened.message, portFor(port).label + message);
        QVERIFY(!talk.isOpen());
        return;
    }
    QVERIFY(!opened);
    talk.tune("T1");
    talk.requestStatus();
    line.hangsUp = how == 1;
    if (how == 3)
        line.feed(QByteArray(kMaxStatusReplyBytes + 1, 'x'));
    else
        line.fail("gone");
    // The line's activity wakes whoever waits for the reply.
    QVERIFY(clock.runTimers());
    QCOMPARE(wakes, 1);
    QCOMPARE(talk.gatherReply(), how == 3 ? Conversation::Reply::Flooded : Conversation::Reply::Failed);
    QCOMPARE(talk.failure().kind, kind);
    QCOMPARE(talk.failure().message, portFor(port).label + message);
    talk.close();
    QVERIFY(!line.isOpen);
}

void TestConversation::whatCameWhileTheTunerSettledAnsweredNoRequest()
{
    ws::test::FakeClock clock;
    HangingLine line;
    line.clock = &clock;
    Conversation talk(line, clock, [] {});
    QVERIFY(!talk.open("2"));
    talk.tune("T1");
    QCOMPARE(line.written, QByteArrayList({"CBEG", "T1"}));
    line.feed("echo");
    talk.requestStatus();
    QVERIFY(talk.heardSinceTune() && !talk.heardSinceFirstRequest());
    QCOMPARE(talk.gatherReply(), Conversation::Reply::Incomplete);
    line.feed("01 No Lock  Lvl 10\r\n");
    QCOMPARE(talk.gatherReply(), Conversation::Reply::Complete);
    QCOMPARE(talk.cutReply(), QString("01 No Lock  Lvl 10\r\n"));
    QVERIFY(talk.heardSinceFirstRequest());
    // A silent port is named by what it did not do, not by the line.
    QCOMPARE(talk.silence("10").kind, Kind::Silent);
    QCOMPARE(talk.silence("10").message, silentPortMessage(portFor("2").label, "10"));
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestConversation)
#include "tst_conversation.moc"
