#include "pointing/angles.h"
#include "pointing/pointing.h"
#include "support/commalocale.h"

#include <QLocale>
#include <QTest>

using namespace ws::pointing;

class TestPointing : public QObject
{
    Q_OBJECT

private slots:
    void figures_data();
    void figures();
    void belowTheHorizonIsBelowZeroBeforeRounding_data();
    void belowTheHorizonIsBelowZeroBeforeRounding();
    void compassBearingTurnsByTheDeclination_data();
    void compassBearingTurnsByTheDeclination();
    void figuresDoNotFollowTheLocale();
    void angleForms_data();
    void angleForms();
    void siteForms_data();
    void siteForms();
};

void TestPointing::figures_data()
{
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<double>("satellite");
    // Empty: no azimuth, the satellite straight overhead.
    QTest::addColumn<QString>("azimuth");
    QTest::addColumn<QString>("elevation");
    QTest::addColumn<QString>("skew");
    QTest::addColumn<QString>("distance");
    // Counter-clockwise seen from behind the dish: east of the site the arc
    // of the orbit rises towards the south (north below the equator).
    QTest::newRow("north, satellite east") << 51.48 << -0.01 << 19.2 << "156.0°" << "28.4°"
                                           << "14.7° counter-clockwise" << "38,758 km";
    QTest::newRow("south, satellite west") << -33.9 << 18.4 << 7.0 << "340.1°" << "48.7°"
                                           << "16.4° counter-clockwise" << "37,160 km";
    QTest::newRow("due south") << 40.0 << -100.0 << -100.0 << "180.0°" << "43.7°" << "0.0°"
                               << "37,503 km";
    QTest::newRow("north, satellite west") << 51.48 << -0.01 << -30.0 << "216.4°" << "24.7°"
                                           << "21.7° clockwise" << "39,094 km";
    QTest::newRow("south, satellite east") << -33.9 << 18.4 << 40.0 << "35.4°" << "44.3°"
                                           << "28.7° clockwise" << "37,462 km";
    QTest::newRow("due north") << -33.9 << 18.4 << 18.4 << "0.0°" << "50.6°" << "0.0°"
                               << "37,041 km";
    QTest::newRow("equator, satellite east") << 0.0 << 0.0 << 30.0 << "90.0°" << "55.0°"
                                             << "90.0° counter-clockwise" << "36,779 km";
    QTest::newRow("equator, satellite west") << 0.0 << 0.0 << -30.0 << "270.0°" << "55.0°"
                                             << "90.0° clockwise" << "36,779 km";
    QTest::newRow("equator, overhead") << 0.0 << 0.0 << 0.0 << "" << "90.0°" << "0.0°"
                                       << "35,786 km";
    QTest::newRow("across the date line") << 10.0 << 179.0 << -179.0 << "168.6°" << "78.0°"
                                          << "11.2° counter-clockwise" << "35,904 km";
}

void TestPointing::figures()
{
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    QFETCH(double, satellite);
    QFETCH(QString, azimuth);
    QFETCH(QString, elevation);
    QFETCH(QString, skew);
    QFETCH(QString, distance);
    const Pointing pointing = pointAt({latitude, longitude}, satellite);
    QVERIFY(!pointing.belowHorizon());
    if (!azimuth.isEmpty())
        QCOMPARE(degreesText(pointing.azimuth), azimuth);
    QCOMPARE(degreesText(pointing.elevation), elevation);
    QCOMPARE(skewText(pointing.skew), skew);
    QCOMPARE(distanceText(pointing.distanceKm), distance);
}

void TestPointing::belowTheHorizonIsBelowZeroBeforeRounding_data()
{
    QTest::addColumn<double>("satellite");
    // Empty: above the horizon.
    QTest::addColumn<QString>("text");
    QTest::newRow("far west") << -80.0
                              << "the satellite at 80°W is below the horizon at 51.48°N 0.01°W "
                                 "(elevation -2.5°)";
    // 0.017° below, which shows as nought, and 0.002° above.
    QTest::newRow("just below") << -75.98
                                << "the satellite at 75.98°W is below the horizon at 51.48°N "
                                   "0.01°W (elevation -0.0°)";
    QTest::newRow("just above") << -75.95 << "";
}

void TestPointing::belowTheHorizonIsBelowZeroBeforeRounding()
{
    QFETCH(double, satellite);
    QFETCH(QString, text);
    const Site greenwich{51.48, -0.01};
    const Pointing pointing = pointAt(greenwich, satellite);
    QCOMPARE(pointing.belowHorizon(), !text.isEmpty());
    if (pointing.belowHorizon())
        QCOMPARE(belowHorizonText(greenwich, satellite, pointing), text);
}

void TestPointing::compassBearingTurnsByTheDeclination_data()
{
    QTest::addColumn<double>("declination");
    QTest::addColumn<QString>("compass");
    QTest::newRow("west") << -3.5 << "compass 159.5° magnetic";
    QTest::newRow("past north") << 160.0 << "compass 356.0° magnetic";
}

void TestPointing::compassBearingTurnsByTheDeclination()
{
    QFETCH(double, declination);
    QFETCH(QString, compass);
    const QStringList lines = pointingLines(pointAt({51.48, -0.01}, 19.2), declination);
    QCOMPARE(lines.value(1), compass);
}

void TestPointing::figuresDoNotFollowTheLocale()
{
    ws::test::CommaLocaleScope comma;
    QVERIFY2(comma.error().isEmpty(), qPrintable(comma.error()));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const AngleReading satellite = readAngle(u"19.2E", Axis::Longitude, QStringLiteral("it"));
    const QStringList lines = pointingLines(pointAt({51.48, -0.01}, *satellite.degrees), {});
    QLocale::setDefault(QLocale::c());
    QCOMPARE(lines, QStringList({"azimuth 156.0° true", "elevation 28.4°",
                                 "skew 14.7° counter-clockwise, seen from behind the dish "
                                 "looking at the satellite",
                                 "distance 38,758 km"}));
}

void TestPointing::angleForms_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("latitude");
    QTest::addColumn<double>("degrees");
    // Empty when it is read.
    QTest::addColumn<QString>("refusal");
    const QString range = QStringLiteral("the angle takes degrees from 180W to 180E (-180 to "
                                         "180, east positive), or with its side (19.2E, 0.01W), "
                                         "not \"%1\"");
    QTest::newRow("east") << "19.2E" << false << 19.2 << "";
    QTest::newRow("west, small letter") << "0.01w" << false << -0.01 << "";
    QTest::newRow("negative number") << "-80" << false << -80.0 << "";
    QTest::newRow("plus sign, blanks") << " + 19.2 " << false << 19.2 << "";
    QTest::newRow("degree sign and side") << "51.48° N" << true << 51.48 << "";
    QTest::newRow("south") << "33.9S" << true << -33.9 << "";
    QTest::newRow("point first") << ".5" << false << 0.5 << "";
    QTest::newRow("date line west") << "180W" << false << -180.0 << "";
    QTest::newRow("pole") << "90S" << true << -90.0 << "";
    QTest::newRow("latitude past 90") << "91N" << true << 0.0 << "the angle \"91N\" is past 90°";
    QTest::newRow("negative latitude past 90")
        << "-90.01" << true << 0.0 << "the angle \"-90.01\" is past 90°";
    QTest::newRow("longitude past 180")
        << "180.1E" << false << 0.0 << "the angle \"180.1E\" is past 180°";
    QTest::newRow("text") << "abc" << false << 0.0 << range.arg("abc");
    QTest::newRow("empty") << "" << false << 0.0 << range.arg("");
    QTest::newRow("exponent") << "1e2" << false << 0.0 << range.arg("1e2");
    QTest::newRow("other letter") << "1x" << false << 0.0 << range.arg("1x");
    QTest::newRow("two sides") << "19.2EE" << false << 0.0 << range.arg("19.2EE");
    QTest::newRow("latitude's side on a longitude")
        << "19.2N" << false << 0.0 << "the angle is E or W, not \"19.2N\"";
    QTest::newRow("longitude's side on a latitude")
        << "51.48E" << true << 0.0 << "the angle is N or S, not \"51.48E\"";
    QTest::newRow("sign and side")
        << "-19.2E" << false << 0.0 << "the angle \"-19.2E\" has both a sign and a side; give one";
}

void TestPointing::angleForms()
{
    QFETCH(QString, text);
    QFETCH(bool, latitude);
    QFETCH(double, degrees);
    QFETCH(QString, refusal);
    const AngleReading reading = readAngle(text, latitude ? Axis::Latitude : Axis::Longitude,
                                           QStringLiteral("the angle"));
    QCOMPARE(reading.refusal, refusal);
    QCOMPARE(reading.degrees.has_value(), refusal.isEmpty());
    if (reading.degrees)
        QCOMPARE(*reading.degrees, degrees);
}

void TestPointing::siteForms_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<QString>("refusal");
    const QString form = QStringLiteral(
        "--site takes LAT,LON, such as 51.48N,0.01W or -33.9,18.4, not \"%1\"");
    QTest::newRow("sides") << "51.48N,0.01W" << 51.48 << -0.01 << "";
    QTest::newRow("numbers, blank") << "-33.9, 18.4" << -33.9 << 18.4 << "";
    QTest::newRow("one angle") << "51.48" << 0.0 << 0.0 << form.arg("51.48");
    QTest::newRow("three angles") << "1,2,3" << 0.0 << 0.0 << form.arg("1,2,3");
    QTest::newRow("latitude named")
        << "91,0" << 0.0 << 0.0 << "the site's latitude \"91\" is past 90°";
    QTest::newRow("longitude named")
        << "0,181" << 0.0 << 0.0 << "the site's longitude \"181\" is past 180°";
}

void TestPointing::siteForms()
{
    QFETCH(QString, text);
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    QFETCH(QString, refusal);
    const SiteReading reading = readSite(text, QStringLiteral("--site"));
    QCOMPARE(reading.refusal, refusal);
    QCOMPARE(reading.site.has_value(), refusal.isEmpty());
    if (reading.site) {
        QCOMPARE(reading.site->latitude, latitude);
        QCOMPARE(reading.site->longitude, longitude);
    }
}

#include "tst_pointing.moc"
#include "support/testrunner.h"
WS_TEST_CLASS(TestPointing)
