#include "pointing/angles.h"

#include <QRegularExpression>

#include <cmath>

namespace ws::pointing {

namespace {

struct AxisText
{
    double limit;
    char positive;
    char negative;
    const char *range;
};

AxisText axisText(Axis axis)
{
    if (axis == Axis::Latitude)
        return {90, 'N', 'S', "degrees from 90S to 90N (-90 to 90, north positive)"};
    return {180, 'E', 'W', "degrees from 180W to 180E (-180 to 180, east positive)"};
}

AngleReading refused(const QString &why)
{
    return {std::nullopt, why};
}

} // namespace

AngleReading readAngle(QStringView text, Axis axis, const QString &what)
{
    // The degree sign may stand before the side, as a map or a chart
    // prints it.
    static const QRegularExpression form(QStringLiteral(
        "^\\s*([+-]?)\\s*(\\d+(?:\\.\\d*)?|\\.\\d+)\\s*\\x{00B0}?\\s*([NSEWnsew]?)\\s*$"));
    const AxisText about = axisText(axis);
    const QString typed = text.toString();
    const QRegularExpressionMatch match = form.match(typed);
    if (!match.hasMatch())
        return refused(QStringLiteral("%1 takes %2, or with its side (%3, %4), not \"%5\"")
                           .arg(what, QLatin1String(about.range),
                                axis == Axis::Latitude ? QStringLiteral("51.48N")
                                                       : QStringLiteral("19.2E"),
                                axis == Axis::Latitude ? QStringLiteral("33.9S")
                                                       : QStringLiteral("0.01W"),
                                typed));
    double degrees = match.captured(2).toDouble();
    const QString side = match.captured(3).toUpper();
    if (!side.isEmpty()) {
        if (side != QLatin1Char(about.positive) && side != QLatin1Char(about.negative))
            return refused(QStringLiteral("%1 is %2 or %3, not \"%4\"")
                               .arg(what, QString(QLatin1Char(about.positive)),
                                    QString(QLatin1Char(about.negative)), typed));
        // "-19.2E" could mean either side.
        if (!match.captured(1).isEmpty())
            return refused(
                QStringLiteral("%1 \"%2\" has both a sign and a side; give one").arg(what, typed));
        if (side == QLatin1Char(about.negative))
            degrees = -degrees;
    } else if (match.captured(1) == QLatin1String("-")) {
        degrees = -degrees;
    }
    if (std::abs(degrees) > about.limit)
        return refused(QStringLiteral("%1 \"%2\" is past %3%4")
                           .arg(what, typed)
                           .arg(about.limit)
                           .arg(QChar(0x00B0)));
    return {degrees == 0 ? 0.0 : degrees, QString()};
}

SiteReading readSite(QStringView text, const QString &what)
{
    const QList<QStringView> parts = text.split(QLatin1Char(','));
    if (parts.size() != 2)
        return {std::nullopt,
                QStringLiteral("%1 takes LAT,LON, such as 51.48N,0.01W or -33.9,18.4, not \"%2\"")
                    .arg(what, text.toString())};
    const AngleReading latitude =
        readAngle(parts[0], Axis::Latitude, QStringLiteral("the site's latitude"));
    if (!latitude.degrees)
        return {std::nullopt, latitude.refusal};
    const AngleReading longitude =
        readAngle(parts[1], Axis::Longitude, QStringLiteral("the site's longitude"));
    if (!longitude.degrees)
        return {std::nullopt, longitude.refusal};
    return {Site{*latitude.degrees, *longitude.degrees}, QString()};
}

} // namespace ws::pointing
