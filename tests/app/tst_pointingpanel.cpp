// The pointing panel's wiring: Ctrl+P with the site given, the figures as
// the boxes change, and what stands in for them when there are none.
#include "app/pointingpanel.h"
#include "support/fakeplatform.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace names = ws::pointingpanel::names;

class TestPointingPanel : public QObject
{
    Q_OBJECT

private slots:
    void ctrlPOpensThePanelOnTheSiteGiven()
    {
        ws::test::FakeWindow w;
        PointingPanel::of(w.window.get()).setSite({-33.9, 18.4});
        w.window->show();
        QApplication::setActiveWindow(w.window.get());
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        QTest::keyClick(w.window.get(), Qt::Key_P, Qt::ControlModifier);
        auto *panel = w.window->findChild<PointingPanel *>(names::window);
        QVERIFY(panel && panel->isVisible());
        QCOMPARE(panel->findChild<QLineEdit *>(names::latitude)->text(), "33.9°S");
        QCOMPARE(panel->findChild<QLineEdit *>(names::longitude)->text(), "18.4°E");
        panel->findChild<QLineEdit *>(names::satellite)->setText("7.0E");
        const auto shown = [panel](const char *name) {
            return panel->findChild<QLabel *>(name)->text();
        };
        QCOMPARE(shown(names::azimuth), "340.1° true");
        QCOMPARE(shown(names::elevation), "48.7°");
        QCOMPARE(shown(names::skew), "16.4° counter-clockwise");
        QCOMPARE(shown(names::distance), "37,160 km");
        QCOMPARE(shown(names::status), "Turn the LNB 16.4° counter-clockwise as seen from behind "
                                       "the dish, looking at the satellite.");
    }

    void aRefusedAngleOrASatelliteBelowTheHorizonShowsNoFigures_data()
    {
        QTest::addColumn<QString>("latitude");
        QTest::addColumn<QString>("satellite");
        QTest::addColumn<QString>("status");
        QTest::newRow("latitude past 90")
            << "91N" << "19.2E" << "The latitude \"91N\" is past 90°.";
        QTest::newRow("below the horizon")
            << "51.48N" << "80W"
            << "The satellite at 80°W is below the horizon at 51.48°N 0.01°W (elevation "
               "-2.5°).";
    }

    void aRefusedAngleOrASatelliteBelowTheHorizonShowsNoFigures()
    {
        QFETCH(QString, latitude);
        QFETCH(QString, satellite);
        QFETCH(QString, status);
        PointingPanel panel;
        panel.findChild<QLineEdit *>(names::latitude)->setText(latitude);
        panel.findChild<QLineEdit *>(names::longitude)->setText("0.01W");
        panel.findChild<QLineEdit *>(names::satellite)->setText(satellite);
        QCOMPARE(panel.findChild<QLabel *>(names::status)->text(), status);
        for (const char *figure : {names::azimuth, names::elevation, names::skew, names::distance})
            QCOMPARE(panel.findChild<QLabel *>(figure)->text(), "-");
    }
};

#include "tst_pointingpanel.moc"
#include "support/testrunner.h"
WS_TEST_CLASS(TestPointingPanel)
