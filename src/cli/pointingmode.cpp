#include "cli/pointingmode.h"

#include "pointing/angles.h"

#include <QCommandLineParser>

namespace ws::cli {

QString readPointingOptions(const QCommandLineParser &parser, CommandLine &line)
{
    if (parser.isSet(QStringLiteral("site"))) {
        const pointing::SiteReading site =
            pointing::readSite(parser.value(QStringLiteral("site")), QStringLiteral("--site"));
        if (!site.site)
            return site.refusal;
        line.site = site.site;
    }
    if (line.mode != Mode::Point)
        return QString();
    const pointing::AngleReading satellite =
        pointing::readAngle(parser.value(QStringLiteral("point")), pointing::Axis::Longitude,
                            QStringLiteral("the satellite's longitude"));
    if (!satellite.degrees)
        return satellite.refusal;
    line.satelliteLongitude = *satellite.degrees;
    if (!line.files.isEmpty())
        return QStringLiteral("--point takes no files: ") + line.files.join(QLatin1Char(' '));
    if (!line.site)
        return QStringLiteral("--point needs --site LAT,LON, where the dish stands");
    if (parser.isSet(QStringLiteral("declination"))) {
        const pointing::AngleReading declination =
            pointing::readAngle(parser.value(QStringLiteral("declination")),
                                pointing::Axis::Longitude, QStringLiteral("the declination"));
        if (!declination.degrees)
            return declination.refusal;
        line.declination = declination.degrees;
    }
    return QString();
}

int runPointing(const CommandLine &line, QString &out, QString &err)
{
    const pointing::Pointing figures = pointing::pointAt(*line.site, line.satelliteLongitude);
    if (figures.belowHorizon()) {
        err = QStringLiteral("wavesift: ") +
              pointing::belowHorizonText(*line.site, line.satelliteLongitude, figures) +
              QLatin1Char('\n');
        return exitcode::noSignal;
    }
    out = pointing::pointingLines(figures, line.declination).join(QLatin1Char('\n')) +
          QLatin1Char('\n');
    return exitcode::success;
}

} // namespace ws::cli
