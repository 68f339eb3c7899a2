#include "app/plotwidget.h"
#include "support/fakeplatform.h"
#include "support/mapentries.h"
#include "wording/messages.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace names = ws::window::names;

namespace {

const QStringList kThreeRows = {"11720", "11740", "11760"};

QString text(ws::test::FakeWindow &w, const char *label)
{
    return w.element<QLabel>(label)->text();
}

} // namespace

class TestReadout : public QObject
{
    Q_OBJECT

private slots:
    void labelsShowTheRowUntrimmed();
    void withoutAMapTheEntryLabelKeepsItsText();
    void pointerMovesSetOrClearTheReadout();
};

void TestReadout::labelsShowTheRowUntrimmed()
{
    ws::test::FakeWindow w;
    ws::MapData &map = w.map();
    ws::test::setStations(map, {"11778", "12188"});
    map.entries[1] = ws::test::mapEntry(QStringLiteral("12188"), QStringLiteral("mpeg2 "),
                                        QStringLiteral("v"), QStringLiteral(" Some Station   "));
    w.window->plots().showReadoutAt(12100);
    QCOMPARE(text(w, names::pointerFrequencyLabel), QStringLiteral("12100 MHz "));
    QCOMPARE(text(w, names::nearestTitleLabel), ws::messages::nextKnownSignal());
    QCOMPARE(text(w, names::nearestEntryLabel),
             QStringLiteral("12188v, mpeg2 ,  Some Station   "));

    // An entry of empty fields (an empty map line) still shows its separators.
    map.entries = {ws::MapEntry()};
    w.window->plots().showReadoutAt(12100);
    QCOMPARE(text(w, names::nearestEntryLabel), QStringLiteral(", , "));
}

void TestReadout::withoutAMapTheEntryLabelKeepsItsText()
{
    ws::test::FakeWindow w;
    w.element<QLabel>(names::nearestEntryLabel)->setText(QStringLiteral("from an earlier map"));
    w.window->plots().showReadoutAt(11000);
    QCOMPARE(text(w, names::pointerFrequencyLabel), QStringLiteral("11000 MHz "));
    QCOMPARE(text(w, names::nearestTitleLabel), ws::messages::nextKnownSignal());
    QCOMPARE(text(w, names::nearestEntryLabel), QStringLiteral("from an earlier map"));
}

void TestReadout::pointerMovesSetOrClearTheReadout()
{
    ws::test::FakeWindow w;
    MainWindow &f = *w.window;
    ws::test::setStations(w.map(), kThreeRows);
    w.element<PlotWidget>(names::levelPlot)->setScale(10700, 0, 2051, 100);
    w.element<PlotWidget>(names::differencePlot)->setScale(10700, -50, 2051, 100);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    const QString row1 = QStringLiteral("11720H, MPEG2 , Station 1      ");

    // Pixel column 318 of 637 is 10700 + 318 * 2051 / 637 = 11724.01 MHz;
    // the 2-pixel border comes first.
    QTest::mouseMove(w.element<PlotWidget>(names::levelPlot), QPoint(2 + 318, 40));
    QTRY_COMPARE(text(w, names::pointerFrequencyLabel), QStringLiteral("11724 MHz "));
    QCOMPARE(text(w, names::nearestEntryLabel), row1);
    QCOMPARE(text(w, names::nearestTitleLabel), ws::messages::nextKnownSignal());

    QTest::mouseMove(&f, QPoint(108, 300)); // bare window
    QTRY_COMPARE(text(w, names::pointerFrequencyLabel), QString());
    QCOMPARE(text(w, names::nearestEntryLabel), QString());
    QCOMPARE(text(w, names::nearestTitleLabel), QString());

    QTest::mouseMove(w.element<PlotWidget>(names::differencePlot), QPoint(2 + 318, 20));
    QTRY_COMPARE(text(w, names::pointerFrequencyLabel), QStringLiteral("11724 MHz "));
    QCOMPARE(text(w, names::nearestEntryLabel), row1);

    for (const char *name : {names::loadNewestButton, names::timeoutBox, names::logBox}) {
        QWidget *over = w.element<QWidget>(name);
        QTest::mouseMove(over, QPoint(5, 5));
        QCoreApplication::processEvents();
        QCOMPARE(text(w, names::pointerFrequencyLabel), QStringLiteral("11724 MHz "));
        QCOMPARE(text(w, names::nearestEntryLabel), row1);
        QCOMPARE(text(w, names::nearestTitleLabel), ws::messages::nextKnownSignal());
    }
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestReadout)
#include "tst_readout.moc"
