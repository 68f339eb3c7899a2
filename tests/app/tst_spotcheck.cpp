#include "fakeplatform.h"
#include "plotwidget.h"
#include "protocol.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

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
    void frequencyRoundsHalfToEven_data();
    void frequencyRoundsHalfToEven();
    void clickBeforeAnyScanUsesThePlainScale();
    void positionBeyond16BitsChecksNothing();
    void skipRestSetsTheStopFlagAndLetsEventsRun();
    void settingsGivenAtTheStartFillTheBoxes();

private:
    PlotWidget *plot(int number) const
    {
        return w->element<PlotWidget>(number == 1 ? names::levelPlot : names::differencePlot);
    }
    // Presses `button` over the pixel column `column` of the plot's area.
    void press(PlotWidget *box, Qt::MouseButton button, int column)
    {
        QTest::mousePress(box, button, {}, box->contentsRect().topLeft() + QPoint(column, 20));
    }

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
    QTest::addColumn<QByteArray>("tune");
    QTest::addColumn<QString>("firstLine");
    for (int p : {1, 2}) {
        const QByteArray name = "Picture" + QByteArray::number(p);
        QTest::newRow(name + " left") << p << Qt::LeftButton << QByteArray("T10700000005010")
                                      << "Checking 10700h for dvb mpeg2 signal\r\n";
        QTest::newRow(name + " right") << p << Qt::RightButton << QByteArray("T10700000005110")
                                       << "Checking 10700v for dvb mpeg2 signal\r\n";
        QTest::newRow(name + " middle") << p << Qt::MiddleButton << QByteArray("T10700000005310")
                                        << "Checking 10700v for dvb mpeg2 signal\r\n";
    }
}

void TestSpotCheck::clickTunesToTheFrequencyUnderThePointer()
{
    QFETCH(int, plot);
    QFETCH(Qt::MouseButton, button);
    QFETCH(QByteArray, tune);
    QFETCH(QString, firstLine);

    // One MHz per pixel, 10600 at the left edge of the area.
    PlotWidget *box = this->plot(plot);
    box->setScale(10600, 100, box->areaSize().width(), -100);
    w->element<QPlainTextEdit>(names::logBox)->setPlainText("map listing");

    press(box, button, 100);

    QCOMPARE(w->serial.written.value(0), QByteArray("CBEG"));
    QCOMPARE(w->serial.written.value(1), tune);
    const QString expected = firstLine + "nothing found after 0 Seconds\r\n\r\n";
    QCOMPARE(w->window->lastCheckLog(), expected);
    QCOMPARE(w->element<QPlainTextEdit>(names::logBox)->toPlainText(),
             QString(expected).replace("\r\n", "\n"));
}

void TestSpotCheck::frequencyRoundsHalfToEven_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QByteArray>("tune");
    // Half a MHz per pixel from 10600: column 201 is 10700.5, 203 is 10701.5.
    QTest::newRow("10700.5") << 201 << QByteArray("T10700000005010");
    QTest::newRow("10701") << 202 << QByteArray("T10701000005010");
    QTest::newRow("10701.5") << 203 << QByteArray("T10702000005010");
}

void TestSpotCheck::frequencyRoundsHalfToEven()
{
    QFETCH(int, column);
    QFETCH(QByteArray, tune);
    PlotWidget *box = plot(1);
    box->setScale(10600, 100, box->areaSize().width() / 2.0, -100);
    press(box, Qt::LeftButton, column);
    QCOMPARE(w->serial.written.value(1), tune);
}

void TestSpotCheck::clickBeforeAnyScanUsesThePlainScale()
{
    // Nothing is loaded: the scale is still the area's own pixels.
    press(plot(2), Qt::LeftButton, 37);
    QCOMPARE(w->serial.written.value(1), QByteArray("T37000005010"));
    QVERIFY(w->window->lastCheckLog().startsWith("Checking 37h "));
}

void TestSpotCheck::positionBeyond16BitsChecksNothing()
{
    w->element<QPlainTextEdit>(names::logBox)->setPlainText("map listing");
    plot(1)->setScale(40000, 100, 637, -100);
    press(plot(1), Qt::LeftButton, 10);
    w->window->checkFrequencyAt(-32768.5, Qt::LeftButton); // rounds to -32768: fits
    QCOMPARE(w->serial.opens, 1);
    QCOMPARE(w->serial.written.value(1), QByteArray("T-32768000005010"));
    w->window->checkFrequencyAt(32767.5, Qt::RightButton); // rounds to 32768: does not
    QCOMPARE(w->serial.opens, 1);
}

void TestSpotCheck::skipRestSetsTheStopFlagAndLetsEventsRun()
{
    bool flagSetWhenEventsRan = false;
    w->events.onDoEvents = [&] { flagSetWhenEventsRan = w->window->fullScanStopRequested(); };
    auto *skipRest = w->element<QPushButton>(names::skipRestButton);
    skipRest->setVisible(true);
    QTest::mouseClick(skipRest, Qt::LeftButton);
    QVERIFY(w->window->fullScanStopRequested());
    QCOMPARE(w->events.doEventsCalls, 1);
    QVERIFY(flagSetWhenEventsRan);
    QCOMPARE(w->serial.opens, 0);
}

void TestSpotCheck::settingsGivenAtTheStartFillTheBoxes()
{
    // As "--port ttyUSB0 --diseqc 3" gives them; the rest keep their texts.
    w->window->presetReceiverSettings({"", "ttyUSB0", "", "3"});
    w->window->checkFrequencyAt(10700, Qt::LeftButton);
    QCOMPARE(w->serial.portName, ws::receiver::portFor("ttyUSB0").device);
    QCOMPARE(w->serial.written.value(1), QByteArray("T10700000005013"));
}

QTEST_MAIN(TestSpotCheck)
#include "tst_spotcheck.moc"
