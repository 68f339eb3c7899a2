// The dish view on the fake line and clock: the states it shows, every text
// inside the view at the sizes a laptop and a wall screen have, the tone it
// plays, and how it follows the main window's watch.
#include "app/dishview.h"
#include "receiver/signalwatch.h"
#include "support/fakeplatform.h"
#include "support/mapentries.h"
#include "support/testrunner.h"

#include <QFontMetricsF>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>

#include <cmath>

using ws::receiver::Polarisation;
using ws::receiver::WatchState;
using State = DishView::State;

namespace {

// WCAG 2: the relative luminance of an sRGB colour.
double luminance(const QColor &c)
{
    const auto linear = [](double v) {
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// What a second of the tone sounds like, from its zero crossings: the
// pitch within its stretches of sound, and how many stretches there were.
struct Heard
{
    double hz = 0;
    int stretches = 0;
};

Heard listen(ws::test::FakeSpeaker &speaker)
{
    const int rate = ws::ToneGenerator::kSampleRate;
    const std::vector<std::int16_t> samples = speaker.listen(rate);
    std::vector<std::vector<size_t>> stretches;
    for (size_t i = 1; i < samples.size(); ++i) {
        if ((samples[i - 1] < 0) == (samples[i] < 0))
            continue;
        // Crossings more than 10 ms apart belong to different pips.
        if (stretches.empty() || i - stretches.back().back() > size_t(rate / 100))
            stretches.emplace_back();
        stretches.back().push_back(i);
    }
    Heard heard;
    double turns = 0;
    double seconds = 0;
    for (const std::vector<size_t> &s : stretches) {
        if (s.size() < 3)
            continue;
        ++heard.stretches;
        turns += (s.size() - 1) / 2.0;
        seconds += double(s.back() - s.front()) / rate;
    }
    heard.hz = seconds > 0 ? turns / seconds : 0;
    return heard;
}

// The first text that begins with `begin`.
std::optional<DishView::Text> textOf(const std::vector<DishView::Text> &texts,
                                     const QString &begin)
{
    for (const DishView::Text &t : texts)
        if (t.text.startsWith(begin))
            return t;
    return std::nullopt;
}

} // namespace

class TestDishView : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void showsEachStateOfAWatch();
    void levelBarAndBestMark();
    void everyTextInsideAtEverySize_data();
    void everyTextInsideAtEverySize();
    void everyShadeKeepsSevenToOne();
    void pitchFollowsTheLevel_data();
    void pitchFollowsTheLevel();
    void typedLevelPatternIsUsedOrRefused();
    void followsTheWindowsWatch();

private:
    void start() { watch->start("11778", Polarisation::Horizontal); }
    // Plays the loop until `count` more replies came.
    void replies(int count)
    {
        const int until = answered + count;
        QVERIFY(clock.runTimers([&] { return answered >= until; }));
    }
    QString detail() const { return textOf(view->texts(), "for ")->text; }

    ws::test::FakeClock clock;
    ws::test::FakeSerial line;
    ws::test::FakeSpeaker speaker;
    QByteArrayList script; // one reply per request, the last repeats
    int answered = 0;
    std::unique_ptr<DishView> view;
    std::unique_ptr<ws::receiver::SignalWatch> watch;
};

void TestDishView::init()
{
    watch.reset();
    view.reset();
    line = {};
    line.clock = &clock;
    clock.step = 1;
    speaker.refuse = false;
    speaker.starts = 0;
    answered = 0;
    script = {"00 Locked   Lvl 75\r\n"};
    line.onWrite = [this](const QByteArray &bytes) {
        if (bytes == "X") {
            line.feed(script.at(std::min<int>(answered, script.size() - 1)));
            ++answered;
        }
    };
    view = std::make_unique<DishView>(clock, [this] { return speaker.makeSink(); });
    view->resize(800, 600);
    const ws::receiver::ReceiverSettings settings{"2", "2", "1", "0"};
    watch = std::make_unique<ws::receiver::SignalWatch>(
        line, clock, [settings] { return settings; }, *view);
    view->setWatch(watch.get());
    view->onEnd = [this] {
        watch->stop();
        view->stopped();
    };
    view->begun("11778", Polarisation::Horizontal);
}

void TestDishView::showsEachStateOfAWatch()
{
    QCOMPARE(view->state(), State::Tuning);
    QVERIFY(textOf(view->texts(), "TUNING"));
    QVERIFY(textOf(view->texts(), "11778 MHz horizontal"));
    script = {"00 Locked   Lvl 75\r\n", "00 Locked Aut Lvl 70\r\n", "01 No Lock  Lvl 12\r\n",
              "01 No Lock  Lvl 12\r\n"};
    start();
    replies(1);
    QCOMPARE(view->state(), State::Locked);
    QVERIFY(textOf(view->texts(), "LOCKED"));
    replies(1);
    QCOMPARE(view->state(), State::NotConfirmed);
    replies(2);
    QCOMPARE(view->state(), State::NoLock);
    // How long the state has held counts on between replies.
    const qint64 since = clock.currentMs;
    line.onWrite = {};
    QVERIFY(clock.runTimers([&] { return view->state() == State::NoAnswer; }));
    QVERIFY(clock.runTimers([&] { return clock.currentMs > since + 65'000; }));
    QVERIFY2(QRegularExpression("^for 1 min 0\\d s$").match(detail()).hasMatch(),
             qPrintable(detail()));
    // Escape ends the watch, the port closed.
    QTest::keyClick(view.get(), Qt::Key_Escape);
    QVERIFY(!watch->running() && !line.isOpen);
    QCOMPARE(view->state(), State::Ended);
    QVERIFY(textOf(view->texts(), "WATCH ENDED"));
}

void TestDishView::levelBarAndBestMark()
{
    script = {"00 Locked   Lvl 41\r\n", "00 Locked   Lvl 97\r\n", "01 No Lock  Lvl 13\r\n",
              "00 Locked   Lvl 37\r\n"};
    start();
    replies(4);
    auto texts = view->texts();
    QVERIFY(textOf(texts, "37")); // the level, large
    QVERIFY(textOf(texts, "13")); // the bar's low end
    QVERIFY(textOf(texts, "97")); // its high end
    QVERIFY(textOf(texts, "best 97, "));
    QCOMPARE(*view->bestMark(), 97.0);
    // R clears the mark, not the bar's span.
    QTest::keyClick(view.get(), Qt::Key_R);
    QVERIFY(!view->bestMark());
    texts = view->texts();
    QVERIFY(!textOf(texts, "best"));
    QVERIFY(textOf(texts, "97"));
    script = {"00 Locked   Lvl 35\r\n"};
    answered = 0;
    replies(1);
    QCOMPARE(*view->bestMark(), 35.0);
}

void TestDishView::everyTextInsideAtEverySize_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("smallest") << QSize(640, 480);
    QTest::newRow("800x600") << QSize(800, 600);
    QTest::newRow("1920x1080") << QSize(1920, 1080);
    QTest::newRow("3840x2160") << QSize(3840, 2160);
    QTest::newRow("tall") << QSize(800, 1280);
}

void TestDishView::everyTextInsideAtEverySize()
{
    QFETCH(QSize, size);
    // The longest texts: a level of six characters, the widest word, a
    // failure with its advice, a name at the top, no sound in the corner.
    view->setNameOf([](double) { return QString("ASTRA 1N TEST CH"); });
    view->begun("11778", Polarisation::Vertical);
    script = {"00 Locked Aut Lvl -888.8\r\n", "00 Locked Aut Lvl 1234.5\r\n"};
    speaker.refuse = true;
    view->resize(size);
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    QCoreApplication::processEvents();
    // Refused once, the sound is not asked for again; the watch goes on.
    QVERIFY(view->saysNoSound() && textOf(view->texts(), "no sound"));
    QCOMPARE(speaker.starts, 1);
    start();
    replies(2);
    QCOMPARE(view->state(), State::NotConfirmed);
    const auto check = [&] {
        const QRect whole = view->rect();
        for (const DishView::Text &t : view->texts()) {
            QVERIFY2(whole.contains(t.room), qPrintable(t.text));
            const QFontMetricsF metrics(t.font);
            const QRectF needed = metrics.boundingRect(
                QRectF(t.room), t.align | (t.wrap ? Qt::TextWordWrap : 0), t.text);
            QVERIFY2(needed.width() <= t.room.width() && needed.height() <= t.room.height(),
                     qPrintable(t.text));
        }
    };
    // The pattern box open, a pattern refused: its texts fit too.
    QTest::keyClick(view.get(), Qt::Key_L);
    QTest::keyClicks(view->patternBox(), "Lvl (");
    QTest::keyClick(view->patternBox(), Qt::Key_Return);
    QVERIFY(textOf(view->texts(), "Refused: "));
    QVERIFY(view->rect().contains(view->patternBox()->geometry()));
    check();
    if (QTest::currentTestFailed())
        return;
    // The word's capitals are at least 8 % of the height, where the width
    // leaves room for them.
    const std::optional<DishView::Text> word = textOf(view->texts(), "NOT CONFIRMED");
    QVERIFY(word);
    if (size.width() >= size.height())
        QVERIFY(QFontMetricsF(word->font).capHeight() >= 0.08 * size.height());
    // A failure is told in the view, its reason whole, and the tone stops.
    const QString reason = "The device was unplugged and the port is gone for good, as far as "
                           "anyone can tell from here";
    line.fail(reason);
    QVERIFY(clock.runTimers([&] { return !view->watching(); }));
    QCOMPARE(view->state(), State::PortFailed);
    QVERIFY2(detail().contains(reason), qPrintable(detail()));
    QCOMPARE(int(view->tone().shape().kind), int(ws::ToneShape::Kind::Silent));
    check();
    view->hide();
}

void TestDishView::everyShadeKeepsSevenToOne()
{
    for (int s = 0; s <= int(State::Ended); ++s)
        QVERIFY2(contrast(DishView::colourOf(State(s)), DishView::kBackground) >= 7,
                 qPrintable(DishView::wordOf(State(s))));
    start();
    replies(2);
    for (const DishView::Text &t : view->texts())
        QVERIFY2(contrast(t.colour, DishView::kBackground) >= 7, qPrintable(t.text));
}

void TestDishView::pitchFollowsTheLevel_data()
{
    QTest::addColumn<QByteArrayList>("said");
    QTest::addColumn<int>("kind");
    QTest::addColumn<double>("hz");
    const auto steady = int(ws::ToneShape::Kind::Steady);
    const auto pips = int(ws::ToneShape::Kind::Pips);
    QTest::newRow("one level") << QByteArrayList{"00 Locked Lvl 50\r\n"} << steady << 600.0;
    QTest::newRow("the lowest")
        << QByteArrayList{"00 Locked Lvl 80\r\n", "00 Locked Lvl 20\r\n"} << steady << 300.0;
    QTest::newRow("the highest")
        << QByteArrayList{"00 Locked Lvl 20\r\n", "00 Locked Lvl 80\r\n"} << steady << 1200.0;
    // Half-way up the span is half-way in pitch: an octave above 300 Hz.
    QTest::newRow("half-way")
        << QByteArrayList{"00 Locked Lvl 20\r\n", "00 Locked Lvl 80\r\n", "00 Locked Lvl 50\r\n"}
        << steady << 600.0;
    QTest::newRow("a quarter, not locked")
        << QByteArrayList{"00 Locked Lvl 0\r\n", "00 Locked Lvl 100\r\n", "01 No Lock Lvl 25\r\n"}
        << pips << 300 * std::pow(4.0, 0.25);
    QTest::newRow("no level, locked") << QByteArrayList{"00 LOCK 1234567890\r\n"} << steady << 800.0;
    QTest::newRow("no level, no lock") << QByteArrayList{"01 No Lock  Searching\r\n"} << pips << 800.0;
}

void TestDishView::pitchFollowsTheLevel()
{
    QFETCH(QByteArrayList, said);
    QFETCH(int, kind);
    QFETCH(double, hz);
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    QCoreApplication::processEvents();
    QVERIFY(speaker.playing && view->hasSound() && !textOf(view->texts(), "no sound"));
    script = said;
    start();
    replies(said.size());
    QCOMPARE(int(view->tone().shape().kind), kind);
    QCOMPARE(int(view->state()), int(kind == int(ws::ToneShape::Kind::Steady) ? State::Locked : State::NoLock));
    const Heard heard = listen(speaker);
    QVERIFY2(std::abs(heard.hz - hz) <= 0.01 * hz, qPrintable(QString::number(heard.hz)));
    // Pips: 100 ms of every 500 ms, so two in a second.
    QCOMPARE(heard.stretches, kind == int(ws::ToneShape::Kind::Steady) ? 1 : 2);
    // Ctrl+B silences it, and brings it back.
    QTest::keyClick(view.get(), Qt::Key_B, Qt::ControlModifier);
    speaker.listen(ws::ToneGenerator::kSampleRate / 50); // the ramp down
    QCOMPARE(listen(speaker).stretches, 0);
    QTest::keyClick(view.get(), Qt::Key_B, Qt::ControlModifier);
    QVERIFY(view->sounding());
    view->hide();
}

void TestDishView::typedLevelPatternIsUsedOrRefused()
{
    script = {"00 snr 12 Lvl 40\r\n"};
    QCOMPARE(watch->setLevelPattern("snr (\\d+)"), QString());
    start();
    replies(1);
    QVERIFY(textOf(view->texts(), "best 12, "));
    // The box starts with the pattern in use; Enter uses the one typed from
    // the next reply on.
    QTest::keyClick(view.get(), Qt::Key_L);
    QLineEdit *box = view->patternBox();
    QVERIFY(box && !box->isHidden());
    QCOMPARE(box->text(), QString("snr (\\d+)"));
    box->clear();
    QTest::keyClicks(box, "Lvl (\\d+)");
    QTest::keyClick(box, Qt::Key_Return);
    QVERIFY(box->isHidden());
    replies(1);
    QVERIFY(textOf(view->texts(), "best 40, "));
    // One without a capture group is refused, the view says why and the
    // box stays; Escape leaves it, the watch going on with the old one.
    QTest::keyClick(view.get(), Qt::Key_L);
    box->clear();
    QTest::keyClicks(box, "snr \\d+");
    QTest::keyClick(box, Qt::Key_Return);
    QVERIFY(!box->isHidden());
    QVERIFY(textOf(view->texts(), "Refused: it has no capture group."));
    QTest::keyClick(box, Qt::Key_Escape);
    QVERIFY(box->isHidden() && !textOf(view->texts(), "Refused"));
    QVERIFY(watch->running() && view->watching());
    QCOMPARE(watch->levelPattern(), QString("Lvl (\\d+)"));
}

void TestDishView::followsTheWindowsWatch()
{
    ws::test::FakeWindow w;
    w.clock.step = 1;
    w.map().entries = {ws::test::mapEntry("11778", "MPEG2 ", "H")};
    w.map().entries[0].name = "Test Channel    ";
    int asked = 0;
    w.serial.onWrite = [&](const QByteArray &bytes) {
        if (bytes == "X")
            w.serial.feed(asked++ < 3 ? "00 Locked   Lvl 60\r\n" : "01 No Lock  Lvl 20\r\n");
    };
    // Without a watch F11 does nothing.
    w.window->receiverWork().openDishView();
    QVERIFY(!w.window->receiverWork().dishView());
    w.window->receiverWork().watchMapEntryAt(11770);
    QVERIFY(w.clock.runTimers([&] { return asked == 2; }));
    w.window->receiverWork().openDishView();
    QPointer<DishView> dish = w.window->receiverWork().dishView();
    QVERIFY(dish);
    QVERIFY(textOf(dish->texts(), "11778 MHz horizontal  \u00b7  Test Channel"));
    QCOMPARE(dish->state(), State::Locked);
    QVERIFY(w.clock.runTimers([&] { return asked == 5; }));
    QCOMPARE(dish->state(), State::NoLock);
    // Ctrl+B in the view turns the window's beep off and on with the tone.
    QVERIFY(w.window->receiverWork().dishView()->sounding());
    QTest::keyClick(dish.data(), Qt::Key_B, Qt::ControlModifier);
    QVERIFY(!dish->sounding());
    QTest::keyClick(dish.data(), Qt::Key_B, Qt::ControlModifier);
    QVERIFY(dish->sounding());
    // A failed line ends the watch with no box: the view says why.
    w.serial.fail("Input/output error");
    QVERIFY(w.clock.runTimers([&] { return !w.window->receiverWork().watching(); }));
    QVERIFY(w.dialogs.messages.isEmpty());
    QCOMPARE(dish->state(), State::PortFailed);
    // Closing the view of a running watch ends it.
    w.serial.failureText.clear();
    w.window->receiverWork().watchMapEntryAt(11770);
    QVERIFY(w.window->receiverWork().watching());
    QCOMPARE(dish->state(), State::Tuning);
    dish->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!dish);
    QVERIFY(!w.window->receiverWork().watching() && !w.serial.isOpen);
}

WS_TEST_CLASS(TestDishView)
#include "tst_dishview.moc"
