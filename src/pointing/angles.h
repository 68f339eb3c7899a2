#pragma once

#include "pointing/pointing.h"

#include <QString>
#include <QStringView>

#include <optional>

// Angles as a user types them: a plain number, north and east positive
// ("-80", "19.2"), or a number with its side ("19.2E", "0.01w", "33.9 S",
// "51.48°N"). A sign and a side together, a side of the other axis or
// anything past the range is refused, with a message that names the angle.
namespace ws::pointing {

enum class Axis {
    Latitude,  // -90 to 90, N or S
    Longitude, // -180 to 180, E or W
};

struct AngleReading
{
    std::optional<double> degrees;
    // Why not, naming the angle by `what`: "the site's latitude takes ...".
    QString refusal;
};

// `what` names the angle in a refusal: "the satellite's longitude".
AngleReading readAngle(QStringView text, Axis axis, const QString &what);

struct SiteReading
{
    std::optional<Site> site;
    QString refusal;
};

// "LAT,LON": "51.48N,0.01W", "-33.9,18.4"; blanks around either are let
// pass. `what` names the whole ("--site").
SiteReading readSite(QStringView text, const QString &what);

} // namespace ws::pointing
