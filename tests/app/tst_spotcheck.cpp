#include "app/plotwidget.h"
#include "app/verdicttile.h"
#include "plot/palette.h"
#include "receiver/checklog.h"
#include "receiver/protocol.h"
#include "receiver/signalcheck.h"
#include "support/fakeplatform.h"
#include "support/mapentries.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using ws::receiver::checkingLine;
using ws::receiver::nothingFoundLines;
using ws::receiver::Polarisation;
using ws::test::FakeWindow;
namespace names = ws::window::names;

class TestSpotCheck : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { w.reset(); }

    void clickTunesToTheFrequencyUnderThePointer_data();
    void clickTunesToTheFrequencyUnderThePointer();
    void clickBeforeAnyScanUsesThePlainScale();
    void positionBeyond16BitsChecksNothing();
    void skipRestSetsTheStopFlag();
    void settingsGivenAtTheStartFillTheBoxes();
    void checkLogReplacesTheBoxWhichIsRepainted();
    void portFailureIsShownAndTheWindowGoesOn();
    void timeoutBoxCountsWhileTheCheckRuns();
    void checkWaitsOnTimersAndEndsWithTheWindow();
    void inputDuringACheckWaitsForItsEndInOrder();
    void escapeStopsTheCheckAndForgetsTheClicksThatWaited();
    void tileSaysCheckingThenTheVerdict();
    void shiftPressWatchesUntilEscapeOrAPressEndsIt();
    void anEndedWatchSaysSoOnTheTileAndInTheLog_data();
    void anEndedWatchSaysSoOnTheTileAndInTheLog();

private:
    PlotWidget *plot(int number) const
    {
        return w->element<PlotWidget>(number == 1 ? names::levelPlot : names::differencePlot);
    }
    // Presses `button` over the pixel column `column` of the plot's area.
    void press(PlotWidget *box, Qt::MouseButton button, int column)
    {
        QTest::mousePress(box, button, {}, box->contentsRect().topLeft() + QPoint(column, 20));
        QVERIFY(w->finishReceiverWork());
    }
    void check(double mhz, Qt::MouseButton button)
    {
        w->window->receiverWork().check(mhz, button);
        QVERIFY(w->finishReceiverWork());
    }
    // A receiver that locks at once and then says `search`.
    void answer(const QByteArray &search)
    {
        w->element<QLineEdit>(names::timeoutBox)->setText("10");
        w->serial.onWrite = [this, search](const QByteArray &bytes) {
            if (bytes == "X")
                w->serial.feed("00 Locked 5 12345\r\n");
            else if (bytes == "S")
                w->serial.feed(search);
        };
    }
    QString log() const { return w->element<QPlainTextEdit>(names::logBox)->toPlainText(); }

    std::unique_ptr<FakeWindow> w;
};

void TestSpotCheck::init()
{
    w = std::make_unique<FakeWindow>();
    // A receiver that never answers, and a time-out that ends the wait at
    // the first poll: these tests are about what the click sends.
    w->clock.step = 1;
    w->element<QLineEdit>(names::timeoutBox)->setText("0");
    w->window->show();
    QVERIFY(QTest::qWaitForWindowExposed(w->window.get()));
}

void TestSpotCheck::clickTunesToTheFrequencyUnderThePointer_data()
{
    QTest::addColumn<int>("plot");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("column");
    QTest::addColumn<double>("mhzPerPixel"); // from 10600 at the left edge of the area
    QTest::addColumn<QByteArray>("tune");
    QTest::addColumn<QString>("firstLine");
    for (int p : {1, 2}) {
        const QByteArray name = "Picture" + QByteArray::number(p);
        QTest::newRow(name + " left") << p << Qt::LeftButton << 100 << 1.0
                                      << QByteArray("T10700000005010")
                                      << checkingLine("10700", Polarisation::Horizontal);
        QTest::newRow(name + " right") << p << Qt::RightButton << 100 << 1.0
                                       << QByteArray("T10700000005110")
                                       << checkingLine("10700", Polarisation::Vertical);
        QTest::newRow(name + " middle") << p << Qt::MiddleButton << 100 << 1.0
                                        << QByteArray("T10700000005310")
                                        << checkingLine("10700", Polarisation::Vertical);
    }
    // The whole MHz nearest to the pointer, halves to even: column 201 is
    // 10700.5, 203 is 10701.5.
    QTest::newRow("10700.5") << 1 << Qt::LeftButton << 201 << 0.5 << QByteArray("T10700000005010")
                             << checkingLine("10700", Polarisation::Horizontal);
    QTest::newRow("10701") << 1 << Qt::LeftButton << 202 << 0.5 << QByteArray("T10701000005010")
                           << checkingLine("10701", Polarisation::Horizontal);
    QTest::newRow("10701.5") << 1 << Qt::LeftButton << 203 << 0.5 << QByteArray("T10702000005010")
                             << checkingLine("10702", Polarisation::Horizontal);
}

void TestSpotCheck::clickTunesToTheFrequencyUnderThePointer()
{
    QFETCH(int, plot);
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, column);
    QFETCH(double, mhzPerPixel);
    QFETCH(QByteArray, tune);
    QFETCH(QString, firstLine);

    PlotWidget *box = this->plot(plot);
    box->setScale(10600, 100, box->areaSize().width() * mhzPerPixel, -100);
    w->element<QPlainTextEdit>(names::logBox)->setPlainText("map listing");

    press(box, button, column);

    QCOMPARE(w->serial.written.value(0), QByteArray("CBEG"));
    QCOMPARE(w->serial.written.value(1), tune);
    const QString expected = firstLine + nothingFoundLines("0");
    QCOMPARE(w->lastCheckLog, expected);
    QCOMPARE(log(), QString(expected).replace("\r\n", "\n"));
}

void TestSpotCheck::clickBeforeAnyScanUsesThePlainScale()
{
    // Nothing is loaded: the scale is still the area's own pixels.
    press(plot(2), Qt::LeftButton, 37);
    QCOMPARE(w->serial.written.value(1), QByteArray("T37000005010"));
    QVERIFY(w->lastCheckLog.startsWith(checkingLine("37", Polarisation::Horizontal)));
}

void TestSpotCheck::positionBeyond16BitsChecksNothing()
{
    w->element<QPlainTextEdit>(names::logBox)->setPlainText("map listing");
    plot(1)->setScale(40000, 100, 637, -100);
    press(plot(1), Qt::LeftButton, 10);
    check(-32768.5, Qt::LeftButton); // rounds to -32768: fits
    QCOMPARE(w->serial.opens, 1);
    QCOMPARE(w->serial.written.value(1), QByteArray("T-32768000005010"));
    check(32767.5, Qt::RightButton); // rounds to 32768: does not
    QCOMPARE(w->serial.opens, 1);
}

void TestSpotCheck::skipRestSetsTheStopFlag()
{
    auto *skipRest = w->element<QPushButton>(names::skipRestButton);
    skipRest->setVisible(true);
    QTest::mouseClick(skipRest, Qt::LeftButton);
    QVERIFY(w->window->receiverWork().fullScanStopping());
    QCOMPARE(w->serial.opens, 0);
}

void TestSpotCheck::settingsGivenAtTheStartFillTheBoxes()
{
    // As "--port ttyUSB0 --diseqc 3" gives them; the rest keep their texts.
    w->window->presetReceiverSettings({"", "ttyUSB0", "", "3"});
    check(10700, Qt::LeftButton);
    QCOMPARE(w->serial.portName, ws::receiver::portFor("ttyUSB0").device);
    QCOMPARE(w->serial.written.value(1), QByteArray("T10700000005013"));
}

void TestSpotCheck::checkLogReplacesTheBoxWhichIsRepainted()
{
    answer("Ready\r\n");
    w->element<QPlainTextEdit>(names::logBox)->setPlainText("map listing");
    w->window->receiverWork().check(10700, Qt::LeftButton);
    // The first line replaces the box's text at once, while the check goes
    // on from the event loop.
    QCOMPARE(log(), checkingLine("10700", Polarisation::Horizontal).replace("\r\n", "\n"));
    QVERIFY(w->finishReceiverWork());
    // The box shows the check's log, its line ends as line breaks.
    QCOMPARE(log(), QString(w->lastCheckLog).replace("\r\n", "\n"));
    QVERIFY(!log().contains("map listing"));
    QVERIFY(w->dialogs.messages.isEmpty());

    // The next check replaces it.
    answer("No Signal\r\n");
    check(11000, Qt::RightButton);
    QVERIFY(log().startsWith(checkingLine("11000", Polarisation::Vertical).chopped(2)));
    QCOMPARE(log(), QString(w->lastCheckLog).replace("\r\n", "\n"));
}

void TestSpotCheck::portFailureIsShownAndTheWindowGoesOn()
{
    // The tile already says it while the box is open.
    QStringList tileWithBox;
    w->dialogs.onMessage = [this, &tileWithBox](const QString &) {
        tileWithBox << w->window->findChild<VerdictTile *>(names::verdict)->verdict().word;
    };
    w->serial.failOpen = true;
    w->serial.openError = "Permission denied";
    check(10700, Qt::LeftButton);
    const QString label = ws::receiver::portFor("2").label;
    QCOMPARE(w->dialogs.messages,
             QStringList{ws::receiver::openFailedMessage(label, "Permission denied")});

    w->serial.failOpen = false;
    answer("Ready\r\n");
    check(10700, Qt::LeftButton);
    QVERIFY(w->lastCheckLog.endsWith("Ready\r\n\r\n"));
    QCOMPARE(w->dialogs.messages.size(), 1);

    // A receiver that says nothing at all: what to check, below the message.
    w->serial.onWrite = {};
    check(10700, Qt::LeftButton);
    const QString silence = ws::receiver::silentPortMessage(label, "10");
    QCOMPARE(w->dialogs.details.value(1), ws::receiver::silentPortAdvice());
    QCOMPARE(tileWithBox, QStringList({"PORT FAILED", "NO ANSWER"}));
}

void TestSpotCheck::timeoutBoxCountsWhileTheCheckRuns()
{
    auto *timeout = w->element<QLineEdit>(names::timeoutBox);
    timeout->setText("100");
    w->clock.onReading = [timeout](ws::test::FakeClock &clock) {
        if (clock.current == 1006)
            timeout->setText("2.5");
    };
    check(10700, Qt::LeftButton);
    QVERIFY(w->lastCheckLog.endsWith(nothingFoundLines("2.5")));
}

void TestSpotCheck::checkWaitsOnTimersAndEndsWithTheWindow()
{
    w->element<QLineEdit>(names::timeoutBox)->setText("10");
    w->window->receiverWork().check(10700, Qt::LeftButton);
    // The check sleeps between its looks at the line: time passes on the
    // clock's timers, the thread is free.
    QVERIFY(w->clock.runTimers([this] { return w->clock.current >= 1008; }));
    QVERIFY(w->clock.currentMs >= 3 * ws::test::FakeClock::kSliceMs);
    QVERIFY(w->window->receiverWork().busy());
    // Closing the window ends it at once, the port closed.
    const int writes = w->serial.written.size();
    QVERIFY(w->window->close());
    QVERIFY(!w->window->isVisible());
    QVERIFY(!w->window->receiverWork().busy());
    QVERIFY(!w->serial.isOpen);
    QVERIFY(w->clock.runTimers());
    QCOMPARE(w->serial.written.size(), writes);
    QVERIFY(w->lastCheckLog.isEmpty());
}

void TestSpotCheck::inputDuringACheckWaitsForItsEndInOrder()
{
    PlotWidget *box = plot(1);
    box->setScale(10600, 100, box->areaSize().width(), -100);
    auto *diseqc = w->element<QLineEdit>(names::diseqcBox);
    w->window->receiverWork().check(11000, Qt::LeftButton);
    // Typed and clicked while the check runs: a new DiSEqC input, then two
    // more checks.
    QTest::keyClick(diseqc, Qt::Key_Backspace);
    QTest::keyClicks(diseqc, "2");
    QTest::mouseClick(box, Qt::LeftButton, {}, box->contentsRect().topLeft() + QPoint(100, 20));
    QTest::mouseClick(box, Qt::RightButton, {}, box->contentsRect().topLeft() + QPoint(101, 20));
    QCOMPARE(diseqc->text(), QStringLiteral("0"));
    QVERIFY(w->finishReceiverWork());

    QCOMPARE(diseqc->text(), QStringLiteral("2"));
    QByteArrayList tunes;
    for (const QByteArray &bytes : w->serial.written)
        if (bytes.startsWith('T'))
            tunes << bytes;
    QCOMPARE(tunes, QByteArrayList({"T11000000005010", "T10700000005012", "T10701000005112"}));
}

void TestSpotCheck::escapeStopsTheCheckAndForgetsTheClicksThatWaited()
{
    w->window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w->window.get()));
    w->element<QLineEdit>(names::timeoutBox)->setText("10");
    w->window->receiverWork().check(11000, Qt::LeftButton);
    QVERIFY(w->clock.runTimers([this] { return w->serial.written.count("X") > 0; }));
    QTest::mouseClick(plot(1), Qt::LeftButton);
    const int writes = w->serial.written.size();

    QTest::keyClick(w->element<QLineEdit>(names::portBox), Qt::Key_Escape);

    // At once: the port closed, the log says why it ended.
    QVERIFY(!w->serial.isOpen);
    QVERIFY(w->finishReceiverWork());
    QCOMPARE(w->lastCheckLog,
             checkingLine("11000", Polarisation::Horizontal) + ws::receiver::stoppedLine() + "\r\n");
    QCOMPARE(w->serial.written.size(), writes);
    QVERIFY(w->dialogs.messages.isEmpty());
}

void TestSpotCheck::tileSaysCheckingThenTheVerdict()
{
    auto *tile = w->window->findChild<VerdictTile *>(names::verdict);
    QVERIFY(tile->verdict().isEmpty());
    // A receiver slow to answer, on a clock that stands still in the lock
    // wait: the tile counts the seconds that pass.
    w->element<QLineEdit>(names::timeoutBox)->setText("10");
    w->clock.onReading = [](ws::test::FakeClock &clock) {
        if (clock.current >= 1004)
            clock.step = 0;
    };
    w->window->receiverWork().check(10700, Qt::RightButton);
    QCOMPARE(tile->verdict().word, QString("CHECKING"));
    QVERIFY(w->clock.runTimers([this] { return w->clock.currentMs >= 1000; }));
    QCOMPARE(tile->verdict().lines, QStringList({"10700v", "1 s"}));
    answer("Ready\r\n");
    w->serial.feed("00 Locked 5 12345\r\n");
    QVERIFY(w->finishReceiverWork());
    QCOMPARE(tile->verdict().word, QString("LOCKED"));
    QCOMPARE(tile->accessibleDescription(), QString("LOCKED, 10700v, Locked 5 12345"));
}

void TestSpotCheck::shiftPressWatchesUntilEscapeOrAPressEndsIt()
{
    w->window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w->window.get()));
    PlotWidget *box = plot(1);
    box->setScale(10600, 100, box->areaSize().width(), -100);
    // Three locked replies, then three without, and so on.
    int asked = 0;
    w->serial.onWrite = [&](const QByteArray &bytes) {
        if (bytes == "X")
            w->serial.feed(asked++ % 6 < 3 ? "00 Locked 5 12345\r\n" : "01 No Lock\x01 Lvl 3\r\n");
    };
    QTest::mousePress(box, Qt::LeftButton, Qt::ShiftModifier,
                      box->contentsRect().topLeft() + QPoint(100, 20));
    QVERIFY(w->window->receiverWork().watching() && !w->window->receiverWork().busy());
    QVERIFY(w->clock.runTimers([&] { return asked == 13; }));

    auto *tile = w->window->findChild<VerdictTile *>(names::verdict);
    QCOMPARE(tile->verdict().heading, QString("WATCHING 10700h"));
    QCOMPARE(tile->verdict().word, QString("LOCKED"));
    QCOMPARE(w->window->windowTitle(), QString("Wavesift: watching 10700h: locked"));
    // A line whenever the state changes, and a beep at every lock.
    QCOMPARE(log(), QString("10:30:15 locked: Locked 5 12345\n10:30:15 no lock: No Lock Lvl 3\n"
                            "10:30:15 locked: Locked 5 12345\n10:30:15 no lock: No Lock Lvl 3\n"
                            "10:30:15 locked: Locked 5 12345"));
    QCOMPARE(w->system.beeps, 3);
    QTest::keyClick(w->window.get(), Qt::Key_B, Qt::ControlModifier);
    QVERIFY(w->clock.runTimers([&] { return asked == 19; }));
    QCOMPARE(w->system.beeps, 3);
    QCOMPARE(w->serial.written.count("T10700000005010"), 1);
    QVERIFY(!w->serial.written.contains("S"));

    // A plain press ends the watch, then checks there.
    w->element<QLineEdit>(names::timeoutBox)->setText("1");
    press(box, Qt::LeftButton, 100);
    QVERIFY(!w->window->receiverWork().watching());
    QCOMPARE(w->serial.written.count("T10700000005010"), 2);
    QVERIFY(w->lastCheckLog.startsWith(checkingLine("10700", Polarisation::Horizontal)));

    // The transmission the readout names, in its polarisation; Escape ends
    // it, the port closed.
    w->map().entries = {ws::test::mapEntry("11778", "MPEG2 ", "V")};
    w->window->receiverWork().watchMapEntryAt(11700);
    QVERIFY(w->window->receiverWork().watching() && w->serial.written.endsWith("T11778000005110"));
    QTest::keyClick(w->window.get(), Qt::Key_Escape);
    QVERIFY(!w->window->receiverWork().watching() && !w->serial.isOpen);
    QCOMPARE(w->window->windowTitle(), QString("Wavesift"));
}

void TestSpotCheck::anEndedWatchSaysSoOnTheTileAndInTheLog_data()
{
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("why"); // in the log's last line
    QTest::newRow("Escape") << "Escape" << "WATCH ENDED" << "stopped";
    QTest::newRow("unplugged") << "unplugged" << "PORT FAILED" << "port failed";
    QTest::newRow("silent") << "silent" << "NO ANSWER" << "no answer";
    QTest::newRow("window closed") << "close" << "WATCH ENDED" << "window closed";
}

void TestSpotCheck::anEndedWatchSaysSoOnTheTileAndInTheLog()
{
    QFETCH(QString, end);
    QFETCH(QString, word);
    QFETCH(QString, why);
    w->window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w->window.get()));
    w->element<QLineEdit>(names::timeoutBox)->setText("1");
    w->serial.onWrite = [this, end](const QByteArray &bytes) {
        if (bytes == "X" && end != "silent")
            w->serial.feed("00 Locked 5 12345\r\n");
    };
    auto *tile = w->window->findChild<VerdictTile *>(names::verdict);
    QString tileWithBox;
    w->dialogs.onMessage = [&](const QString &) { tileWithBox = tile->verdict().word; };
    w->window->receiverWork().watch(10700, Qt::LeftButton);
    QVERIFY(w->clock.runTimers([this] { return w->serial.written.count("X") >= 3; }));

    if (end == "Escape")
        QTest::keyClick(w->window.get(), Qt::Key_Escape);
    else if (end == "close")
        QVERIFY(w->window->close());
    else if (end == "unplugged")
        w->serial.fail("the device went away");
    QVERIFY(w->clock.runTimers([this] { return !w->window->receiverWork().watching(); }));

    QCOMPARE(tile->verdict().heading, QString("10700h"));
    QCOMPARE(tile->verdict().word, word);
    QCOMPARE(log().section('\n', -1), "10:30:15 watch ended: " + why);
    if (word != "WATCH ENDED") {
        QCOMPARE(tile->verdict().lines, QStringList{"watch ended"});
        QCOMPARE(tileWithBox, word);
        return;
    }
    QCOMPARE(tile->verdict().colour, ws::palette::verdictNoLock);
    QCOMPARE(tile->verdict().lines, QStringList({"last: LOCKED", "ended 0 s ago"}));
    // Counted on each second, whole minutes from a minute on.
    const qint64 endedMs = w->clock.currentMs;
    QVERIFY(w->clock.runTimers([&] { return w->clock.currentMs >= endedMs + 2000; }));
    QCOMPARE(tile->verdict().lines.value(1), QString("ended 2 s ago"));
    QVERIFY(w->clock.runTimers([&] { return w->clock.currentMs >= endedMs + 61000; }));
    QCOMPARE(tile->verdict().lines.value(1), QString("ended 1 min ago"));
    // A check takes the tile, and the watch no longer writes on it.
    if (end == "Escape") {
        w->window->receiverWork().check(10700, Qt::LeftButton);
        QVERIFY(w->finishReceiverWork());
        const Verdict after = tile->verdict();
        QVERIFY(w->clock.runTimers([&] { return w->clock.currentMs >= endedMs + 65000; }));
        QCOMPARE(tile->verdict(), after);
        QCOMPARE(after.word, QString("LOCKED"));
    }
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestSpotCheck)
#include "tst_spotcheck.moc"
