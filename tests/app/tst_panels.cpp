// The panels: each speaks for its elements in the model's terms.
#include "app/receiversettingspanel.h"
#include "app/scanfilespanel.h"
#include "support/fakeplatform.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using Target = ScanFilesPanel::Target;
using ws::receiver::ReceiverSettings;
namespace names = ws::window::names;

namespace {

QStringList fields(const ReceiverSettings &s)
{
    return {s.timeout, s.port, s.lnbPower, s.diseqc};
}

} // namespace

class TestPanels : public QObject
{
    Q_OBJECT

private slots:
    void receiverSettingsAreWhatTheBoxesHold_data();
    void receiverSettingsAreWhatTheBoxesHold();
    void eachFileTargetHasItsOwnRow_data();
    void eachFileTargetHasItsOwnRow();
};

void TestPanels::receiverSettingsAreWhatTheBoxesHold_data()
{
    QTest::addColumn<QStringList>("preset"); // time-out, port, LNB power, DiSEqC
    QTest::addColumn<QStringList>("settings");
    QTest::newRow("as the window opens") << QStringList{"", "", "", ""}
                                         << QStringList{"10", "2", "1", "0"};
    QTest::newRow("each in its own box") << QStringList{"2.5", "/dev/pts/7", "0", "3"}
                                         << QStringList{"2.5", "/dev/pts/7", "0", "3"};
    QTest::newRow("an empty one keeps its box") << QStringList{"", "4", "", "x"}
                                                << QStringList{"10", "4", "1", "x"};
}

void TestPanels::receiverSettingsAreWhatTheBoxesHold()
{
    QFETCH(QStringList, preset);
    QFETCH(QStringList, settings);
    ReceiverSettingsPanel panel;
    panel.preset({preset[0], preset[1], preset[2], preset[3]});
    QCOMPARE(fields(panel.settings()), settings);
    // What a check reads is what the user sees in the boxes.
    panel.findChild<QLineEdit *>(QLatin1String(names::diseqcBox))->setText("2");
    QCOMPARE(panel.settings().diseqc, QStringLiteral("2"));
}

void TestPanels::eachFileTargetHasItsOwnRow_data()
{
    QTest::addColumn<Target>("target");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("title");
    QTest::newRow("newest") << Target::NewestScan << "Command5_1" << "Scanlabel_1"
                            << "Select Kanalix Scan File";
    QTest::newRow("reference") << Target::ReferenceScan << "Command5_2" << "Scanlabel_2"
                               << "Load Sat-Info";
    QTest::newRow("map") << Target::Map << "Command4" << "Label8" << "Load Sat-Info";
}

void TestPanels::eachFileTargetHasItsOwnRow()
{
    QFETCH(Target, target);
    QFETCH(QString, button);
    QFETCH(QString, label);
    QFETCH(QString, title);
    ws::test::FakeDialogs dialogs;
    ScanFilesPanel panel(dialogs);
    QWidget &window = panel;
    QSignalSpy clicks(&panel, &ScanFilesPanel::loadClicked);

    auto *pushButton = window.findChild<QPushButton *>(button);
    QCOMPARE(panel.targetOf(pushButton), target);
    QCOMPARE(panel.targetOf(window.findChild<QLabel *>(label)), target);
    QCOMPARE(panel.targetOf(&panel), std::nullopt);
    // Only scans set the scale a map is drawn on.
    QCOMPARE(pushButton->isEnabled(), target != Target::Map);
    panel.enableMapLoad();
    pushButton->click();
    QCOMPARE(clicks.size(), 1);
    QCOMPARE(clicks[0][0].value<Target>(), target);

    panel.describe(target, "a.scn");
    QCOMPARE(window.findChild<QLabel *>(label)->text(), QStringLiteral("a.scn"));
    panel.offerNext(target, "/tmp/b.scn");
    dialogs.cancel();
    QCOMPARE(panel.askForFile(target), std::nullopt);
    dialogs.pick("/tmp/c.scn");
    QCOMPARE(panel.askForFile(target), QStringLiteral("/tmp/c.scn"));
    QCOMPARE(dialogs.shown.size(), size_t(2));
    QCOMPARE(dialogs.shown[0].title, title);
    QCOMPARE(dialogs.shown[0].prefilled, QStringLiteral("/tmp/b.scn"));
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestPanels)
#include "tst_panels.moc"
