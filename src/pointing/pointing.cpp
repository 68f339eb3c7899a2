#include "pointing/pointing.h"

#include <algorithm>
#include <cmath>

namespace ws::pointing {

namespace {

constexpr double kPi = 3.14159265358979323846;

double radians(double degrees)
{
    return degrees * kPi / 180;
}

double degrees(double radians)
{
    return radians * 180 / kPi;
}

// To the tenth shown, without a "-0.0".
double tenths(double value)
{
    const double rounded = std::round(value * 10) / 10;
    return rounded == 0 ? 0 : rounded;
}

// A position's angle as typed, to the hundredth: "51.48", "80", "0.01".
QString positionNumber(double value)
{
    QString text = QString::number(std::round(std::abs(value) * 100) / 100, 'f', 2);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

} // namespace

Pointing pointAt(Site site, double satelliteLongitude)
{
    const double phi = radians(site.latitude);
    const double delta = radians(satelliteLongitude - site.longitude);
    // The angle at the earth's centre between the site and the point under
    // the satellite.
    const double cosCentral = std::cos(phi) * std::cos(delta);
    const double sinCentral = std::sqrt(std::max(0.0, 1 - cosCentral * cosCentral));
    Pointing pointing;
    pointing.elevation =
        degrees(std::atan2(cosCentral - kEarthRadiusKm / kOrbitRadiusKm, sinCentral));
    const double azimuth = degrees(std::atan2(std::sin(delta), -std::sin(phi) * std::cos(delta)));
    pointing.azimuth = azimuth < 0 ? azimuth + 360 : azimuth;
    // On the equator the orbit stands upright across the sky: a quarter
    // turn east or west of the site, none overhead.
    const double sinDelta = std::sin(delta);
    if (site.latitude == 0)
        pointing.skew = std::abs(sinDelta) < 1e-12 ? 0.0 : std::copysign(90.0, sinDelta);
    else
        pointing.skew = degrees(std::atan(sinDelta / std::tan(phi)));
    pointing.distanceKm =
        std::sqrt(kEarthRadiusKm * kEarthRadiusKm + kOrbitRadiusKm * kOrbitRadiusKm -
                  2 * kEarthRadiusKm * kOrbitRadiusKm * cosCentral);
    return pointing;
}

double compassBearing(double azimuth, double declination)
{
    const double bearing = std::fmod(azimuth - declination, 360.0);
    return bearing < 0 ? bearing + 360 : bearing;
}

QString degreesText(double value)
{
    return QString::number(tenths(value), 'f', 1) + QChar(0x00B0);
}

QString bearingText(double bearing)
{
    const double rounded = tenths(bearing);
    return degreesText(rounded >= 360 ? rounded - 360 : rounded);
}

QString skewText(double skew)
{
    const double rounded = tenths(skew);
    if (rounded == 0)
        return degreesText(0);
    return degreesText(std::abs(rounded)) +
           (rounded > 0 ? QStringLiteral(" counter-clockwise") : QStringLiteral(" clockwise"));
}

QString distanceText(double km)
{
    const QString digits = QString::number(std::llround(km));
    QString text;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += QLatin1Char(',');
        text += digits[i];
    }
    return text + QStringLiteral(" km");
}

QString latitudeText(double latitude)
{
    return positionNumber(latitude) + QChar(0x00B0) +
           QLatin1Char(latitude < 0 ? 'S' : 'N');
}

QString longitudeText(double longitude)
{
    return positionNumber(longitude) + QChar(0x00B0) +
           QLatin1Char(longitude < 0 ? 'W' : 'E');
}

QStringList pointingLines(const Pointing &pointing, std::optional<double> declination)
{
    QStringList lines{QStringLiteral("azimuth %1 true").arg(bearingText(pointing.azimuth))};
    if (declination)
        lines << QStringLiteral("compass %1 magnetic")
                     .arg(bearingText(compassBearing(pointing.azimuth, *declination)));
    lines << QStringLiteral("elevation %1").arg(degreesText(pointing.elevation));
    if (tenths(pointing.skew) == 0)
        lines << QStringLiteral("skew %1, the LNB upright").arg(skewText(pointing.skew));
    else
        lines << QStringLiteral("skew %1, seen from behind the dish looking at the satellite")
                     .arg(skewText(pointing.skew));
    lines << QStringLiteral("distance %1").arg(distanceText(pointing.distanceKm));
    return lines;
}

QString belowHorizonText(Site site, double satelliteLongitude, const Pointing &pointing)
{
    // Below by less than the tenth shown is still below.
    QString elevation = degreesText(pointing.elevation);
    if (!elevation.startsWith(QLatin1Char('-')))
        elevation.prepend(QLatin1Char('-'));
    return QStringLiteral("the satellite at %1 is below the horizon at %2 %3 (elevation %4)")
        .arg(longitudeText(satelliteLongitude), latitudeText(site.latitude),
             longitudeText(site.longitude), elevation);
}

} // namespace ws::pointing
