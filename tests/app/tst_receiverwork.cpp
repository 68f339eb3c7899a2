// The receiver work on its own, without the window: what waits for it and
// what is held while a check runs.
#include "app/logpanel.h"
#include "app/receiverwork.h"
#include "app/verdicttile.h"
#include "support/fakes.h"
#include "support/mapentries.h"

#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>

using ws::receiver::Polarisation;

class TestReceiverWork : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void workWaitsUntilNothingRuns_data();
    void workWaitsUntilNothingRuns();
    void inputWaitsForTheCheckAndThenComesInOrder();
    void theStopKeyPassesAndEscapeDropsTheClicks();
    void aWatchWaitsForNoOneAndEndsWithAPress();

private:
    struct Parts
    {
        ws::test::FakeDialogs dialogs;
        ws::test::FakeClock clock;
        ws::test::FakeSystem system;
        ws::test::FakeSerial serial;
        QWidget window;
        VerdictTile *tile = new VerdictTile(&window);
        LogPanel *log = new LogPanel(&window);
        QWidget *box = new QWidget(&window);
        QWidget *stopKey = new QWidget(&window);
        ReceiverWork *work = nullptr; // the window's
        ws::MapData map;
    };
    void startWork();
    bool finish() { return p->clock.runTimers([this] { return !p->work->busy(); }); }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<Parts> p;
    // What ran of the deferred work and the input, in order.
    QStringList happened;
};

namespace {

// Notes the key presses that reach it.
class KeyNotes : public QObject
{
public:
    KeyNotes(QObject &on, QStringList &notes) : notes_(notes) { on.installEventFilter(this); }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress)
            notes_ << static_cast<QKeyEvent *>(event)->text();
        return false;
    }

private:
    QStringList &notes_;
};

} // namespace

void TestReceiverWork::init()
{
    dir = std::make_unique<QTemporaryDir>();
    p = std::make_unique<Parts>();
    p->serial.clock = &p->clock;
    // Each look at the clock a second on: a silent check ends in seconds.
    p->clock.step = 1;
    // A receiver that locks and finds the tables: a full scan goes on.
    p->serial.onWrite = [this](const QByteArray &bytes) {
        if (bytes == "X")
            p->serial.feed("00 LOCKED 1234567\r\n");
        else if (bytes == "S")
            p->serial.feed("PAT found\r\nReady\r\n");
    };
    p->system.folder = p->system.dataFolder = dir->path();
    happened.clear();
    startWork();
}

void TestReceiverWork::cleanup()
{
    p.reset();
    dir.reset();
}

void TestReceiverWork::startWork()
{
    const ws::Platform platform{&p->dialogs, nullptr, &p->clock, &p->system, &p->serial};
    auto watch = std::make_unique<WindowWatch>(WindowWatch::Needs{
        p->serial, p->clock, [] { return ws::receiver::ReceiverSettings{}; }, p->dialogs,
        p->system, *p->tile, *p->log, [](const QString &) {}});
    QWidget *stopKey = p->stopKey;
    p->work = new ReceiverWork(
        platform, p->window, p->map, [] { return ws::receiver::ReceiverSettings{}; },
        [stopKey](QObject *target, QEvent *) { return target == stopKey; }, std::move(watch));
    p->window.show();
}

void TestReceiverWork::workWaitsUntilNothingRuns_data()
{
    QTest::addColumn<int>("mpegRows");
    // How much had run as each check ended: the work waiting for a spot
    // check runs as its job ends; between the rows of a full scan nothing
    // does.
    QTest::addColumn<QList<int>>("runAtCheckEnds");
    QTest::newRow("check") << 0 << QList<int>{3};
    QTest::newRow("full scan") << 2 << QList<int>{1, 1};
}

void TestReceiverWork::workWaitsUntilNothingRuns()
{
    QFETCH(int, mpegRows);
    QFETCH(QList<int>, runAtCheckEnds);
    p->work->whenIdle([this] { happened << "idle at once"; });
    QCOMPARE(happened, QStringList{"idle at once"});

    for (int row = 0; row < mpegRows; ++row)
        p->map.entries << ws::test::mapEntry(QString::number(10700 + row), "MPEG2 ", "H");
    QList<int> runAtEnds;
    connect(p->work, &ReceiverWork::checkEnded, this,
            [&] { runAtEnds << int(happened.size()); });
    if (mpegRows == 0)
        p->work->check(10700, Qt::LeftButton);
    else
        p->work->runFullScan();
    QVERIFY(p->work->busy());
    p->work->whenIdle([this] { happened << "first"; });
    p->work->whenIdle([this] { happened << "second"; });
    QCOMPARE(happened.size(), 1);
    QVERIFY(finish());
    QCOMPARE(runAtEnds, runAtCheckEnds);
    QCOMPARE(happened, (QStringList{"idle at once", "first", "second"}));
}

void TestReceiverWork::inputWaitsForTheCheckAndThenComesInOrder()
{
    KeyNotes notes(*p->box, happened);
    connect(p->work, &ReceiverWork::checkEnded, this, [this] { happened << "ended"; });
    p->work->check(10700, Qt::LeftButton);
    QTest::keyClick(p->box, Qt::Key_A);
    QTest::keyClick(p->box, Qt::Key_B);
    // A second check while one runs is refused, not queued.
    p->work->check(11000, Qt::LeftButton);
    QVERIFY(happened.isEmpty());
    QVERIFY(finish());
    QCOMPARE(happened, (QStringList{"ended", "a", "b"}));
    QCOMPARE(p->serial.written.count("T11000000005010"), 0);
    // Nothing is held once the check has ended.
    QTest::keyClick(p->box, Qt::Key_C);
    QCOMPARE(happened.last(), QStringLiteral("c"));
}

void TestReceiverWork::theStopKeyPassesAndEscapeDropsTheClicks()
{
    QStringList stopNotes;
    KeyNotes onStopKey(*p->stopKey, stopNotes);
    KeyNotes onBox(*p->box, happened);
    p->work->check(10700, Qt::LeftButton);
    QTest::keyClick(p->stopKey, Qt::Key_Escape);
    QCOMPARE(stopNotes.size(), 1);
    QTest::mouseClick(p->box, Qt::LeftButton);
    QTest::keyClick(p->box, Qt::Key_A);
    QVERIFY(p->work->stop());
    QVERIFY(finish());
    // The typed key comes through; the click, aimed at the check that
    // ended, does not start one.
    QCOMPARE(happened, QStringList{"a"});
    QVERIFY(!p->work->stop());
}

void TestReceiverWork::aWatchWaitsForNoOneAndEndsWithAPress()
{
    p->work->check(10700, Qt::LeftButton);
    // The port is the check's.
    p->work->watch(11000, Qt::LeftButton);
    QVERIFY(!p->work->watching());
    QVERIFY(finish());
    p->work->watch(11000, Qt::RightButton);
    QVERIFY(p->work->watching() && !p->work->busy());
    QVERIFY(p->serial.written.endsWith("T11000000005110"));
    // A check ends the watch first.
    p->work->check(10700, Qt::LeftButton);
    QVERIFY(!p->work->watching() && p->work->busy());
    QVERIFY(finish());
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestReceiverWork)
#include "tst_receiverwork.moc"
