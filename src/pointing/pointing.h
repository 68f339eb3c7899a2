#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The pointing of a dish at a geostationary satellite, on a spherical
// earth: near enough for the first rough aim, which the scans then refine.
// Angles are in degrees, north and east positive.
namespace ws::pointing {

constexpr double kEarthRadiusKm = 6378.137;
constexpr double kOrbitRadiusKm = 42164.0;

struct Site
{
    double latitude = 0;
    double longitude = 0;
};

struct Pointing
{
    double azimuth = 0;   // true, clockwise from north, 0 up to 360
    double elevation = 0; // negative below the horizon
    // The LNB's turn from upright: positive counter-clockwise, seen from
    // behind the dish looking at the satellite.
    double skew = 0;
    double distanceKm = 0;

    bool belowHorizon() const { return elevation < 0; }
};

Pointing pointAt(Site site, double satelliteLongitude);

// The compass bearing for a true azimuth where the needle points
// `declination` degrees east of true north (negative west).
double compassBearing(double azimuth, double declination);

// The figures as shown, to a tenth of a degree and whole km, in any locale: "156.0°"
QString degreesText(double degrees);
// A bearing, where 359.96° shows as "0.0°".
QString bearingText(double bearing);
// "14.7° counter-clockwise", "0.0°"
QString skewText(double skew);
// "38,758 km"
QString distanceText(double km);
// "51.48°N", "0.01°W": an angle as a position is read back.
QString latitudeText(double latitude);
QString longitudeText(double longitude);

// One figure a line: "azimuth 156.0° true", "elevation 28.4°", "skew ...",
// "distance 38,758 km", with a declination the compass bearing after the
// azimuth. For a satellite above the horizon only.
QStringList pointingLines(const Pointing &pointing, std::optional<double> declination);

// "the satellite at 80.0°W is below the horizon at 51.48°N 0.01°W
// (elevation -2.5°)"
QString belowHorizonText(Site site, double satelliteLongitude, const Pointing &pointing);

} // namespace ws::pointing
