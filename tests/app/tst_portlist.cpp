// The port box's list of the ports that exist, from a scripted enumeration.
#include "app/plotwidget.h"
#include "app/portlist.h"
#include "support/fakeplatform.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using ws::PortInfo;
using ws::test::FakeWindow;
namespace names = ws::window::names;

namespace {

const QString kById =
    QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");

std::vector<PortInfo> scriptedPorts()
{
    return {
        {"ttyS10", "/dev/ttyS10", "", "", ""},
        {"ttyUSB0", "/dev/ttyUSB0", "FT232R USB UART", "FTDI", kById},
        {"ttyACM0", "/dev/ttyACM0", "", "Arduino (www.arduino.cc)", ""},
        {"ttyS2", "/dev/ttyS2", "", "", ""},
    };
}

QStringList shownLines(QCompleter *completer)
{
    QStringList lines;
    QAbstractItemModel *model = completer->completionModel();
    for (int row = 0; row < model->rowCount(); ++row)
        lines << model->index(row, 0).data().toString();
    return lines;
}

} // namespace

class TestPortList : public QObject
{
    Q_OBJECT

private slots:
    void linesPreferStableNamesAndSayWhatThePortIs();
    void stableNamesAreTheLinksThatLeadToAPort();
    void theBoxOffersThePortsAndTakesOnlyAPick();
    void noPortsAreListedWhileACheckRuns();
};

void TestPortList::linesPreferStableNamesAndSayWhatThePortIs()
{
    const std::vector<ws::PortOffer> offers = ws::portOffers(scriptedPorts());
    QStringList shown, devices;
    for (const ws::PortOffer &offer : offers) {
        shown << offer.shown;
        devices << offer.device;
    }
    QCOMPARE(shown, QStringList({kById + " \u2014 FT232R USB UART (FTDI) [ttyUSB0]", "ttyS2",
                                 "ttyS10", "ttyACM0 \u2014 Arduino (www.arduino.cc)"}));
    QCOMPARE(devices, QStringList({kById, "ttyS2", "ttyS10", "ttyACM0"}));
}

void TestPortList::stableNamesAreTheLinksThatLeadToAPort()
{
#ifndef Q_OS_UNIX
    QSKIP("links to devices are a Unix matter");
#else
    QTemporaryDir dir;
    QDir top(dir.path());
    QVERIFY(top.mkdir("dev") && top.mkdir("by-id"));
    for (const char *device : {"dev/ttyUSB0", "dev/ttyUSB1"}) {
        QFile file(top.filePath(device));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(QFile::link("../dev/ttyUSB1", top.filePath("by-id/usb-Maker_Adapter-if00")));
    QVERIFY(QFile::link("../dev/gone", top.filePath("by-id/usb-Gone-if00")));
    std::vector<PortInfo> ports{{"ttyUSB0", top.filePath("dev/ttyUSB0"), "", "", ""},
                                {"ttyUSB1", top.filePath("dev/ttyUSB1"), "", "", ""}};
    ws::addStableNames(ports, top.filePath("by-id"));
    QCOMPARE(ports[0].stableName, QString());
    QCOMPARE(ports[1].stableName, top.filePath("by-id/usb-Maker_Adapter-if00"));
#endif
}

void TestPortList::theBoxOffersThePortsAndTakesOnlyAPick()
{
    FakeWindow w;
    w.ports.list = scriptedPorts();
    w.window->show();
    QApplication::setActiveWindow(w.window.get());
    QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
    auto *box = w.element<QLineEdit>(names::portBox);
    QCompleter *completer = box->findChild<QCompleter *>();
    QVERIFY(completer);
    QAbstractItemView *popup = completer->popup();
    // Nothing is listed before the user asks.
    QCOMPARE(w.ports.listings, 0);

    // Down lists every port; moving over them leaves the box alone.
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Down);
    QCOMPARE(w.ports.listings, 1);
    QVERIFY(popup->isVisible());
    QCOMPARE(shownLines(completer).size(), 4);
    QVERIFY(popup->sizeHintForColumn(0) <= popup->viewport()->width()); // each line whole
    QCOMPARE(box->text(), QStringLiteral("2"));
    QTest::keyClick(popup, Qt::Key_Down);
    QCOMPARE(box->text(), QStringLiteral("2"));
    QTest::keyClick(popup, Qt::Key_Return);
    QVERIFY(!popup->isVisible());
    QCOMPARE(box->text(), kById);

    // Typing narrows the list to the lines that hold what was typed.
    box->clear();
    QTest::keyClicks(box, "acm");
    QCOMPARE(w.ports.listings, 4);
    QVERIFY(popup->isVisible());
    QCOMPARE(shownLines(completer), QStringList{"ttyACM0 \u2014 Arduino (www.arduino.cc)"});
    QCOMPARE(box->text(), QStringLiteral("acm"));
    QTest::keyClick(popup, Qt::Key_Escape);
    QCOMPARE(box->text(), QStringLiteral("acm"));

    // A number is a port number: no list.
    box->clear();
    QTest::keyClicks(box, "3");
    QVERIFY(!popup->isVisible());
    QCOMPARE(box->text(), QStringLiteral("3"));

    // Emptied, the box asks for no list. A press beside an open list reaches
    // the plot under it, whose check tells that the box names no port.
    QTest::keyClick(box, Qt::Key_Backspace);
    QVERIFY(!popup->isVisible());
    QTest::keyClick(box, Qt::Key_Down);
    auto *plot = w.element<PlotWidget>(names::levelPlot);
    QTest::mousePress(popup, Qt::LeftButton, {},
                      popup->mapFromGlobal(plot->mapToGlobal(plot->rect().center())));
    QVERIFY(!popup->isVisible());
    QTRY_VERIFY(w.window->receiverWork().busy());
    QVERIFY(w.finishReceiverWork());
    QCOMPARE(w.dialogs.messages.size(), 1);
}

void TestPortList::noPortsAreListedWhileACheckRuns()
{
    FakeWindow w;
    w.ports.list = scriptedPorts();
    auto *box = w.element<QLineEdit>(names::portBox);
    // The port cannot be opened; the check tells so before it lets go.
    w.serial.failOpen = true;
    int listedDuringCheck = -1;
    w.dialogs.onMessage = [&](const QString &) {
        QTest::keyClick(box, Qt::Key_Down);
        QTest::keyClicks(box, "usb");
        listedDuringCheck = w.ports.listings;
    };
    w.window->receiverWork().check(11778, Qt::LeftButton);
    QVERIFY(w.finishReceiverWork());
    QCOMPARE(w.dialogs.messages.size(), 1);
    QCOMPARE(listedDuringCheck, 0);
    // The keys waited for the check, and then ask for the list.
    QCOMPARE(box->text(), QStringLiteral("2usb"));
    QCOMPARE(w.ports.listings, 1);
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestPortList)
#include "tst_portlist.moc"
