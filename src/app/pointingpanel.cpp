#include "app/pointingpanel.h"
#include "app/namedwidget.h"

#include "app/icon.h"
#include "pointing/angles.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include <cmath>

namespace names = ws::pointingpanel::names;
namespace pointing = ws::pointing;

namespace {

using ws::named;

constexpr double kPi = 3.14159265358979323846;

// A message of the pointing as a sentence under the figures.
QString sentence(QString text)
{
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text + QLatin1Char('.');
}

} // namespace

// The sky as the dish sees it: on the left a compass rose, north up, with
// the azimuth as a needle; on the right the horizon and a quarter circle
// up to the zenith, with the elevation as a ray. Nothing points while
// there are no figures.
class SkyDrawing : public QWidget
{
public:
    explicit SkyDrawing(QWidget *parent) : QWidget(parent) { setMinimumSize(360, 180); }

    void setPointing(std::optional<pointing::Pointing> figures)
    {
        figures_ = figures;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QColor ink = palette().color(QPalette::WindowText);
        const QColor faint = palette().color(QPalette::Mid);
        const QColor needle(0, 110, 200);
        const int half = width() / 2;
        drawRose(painter, QRectF(0, 0, half, height()), ink, faint, needle);
        drawElevation(painter, QRectF(half, 0, width() - half, height()), ink, faint, needle);
    }

private:
    void drawRose(QPainter &painter, const QRectF &room, const QColor &ink, const QColor &faint,
                  const QColor &needle) const
    {
        const QFontMetricsF metrics(font());
        const double radius = std::min(room.width(), room.height()) / 2 - metrics.height() - 2;
        const QPointF centre = room.center();
        // Clockwise from north, north up.
        const auto at = [&](double bearing, double distance) {
            const double angle = bearing * kPi / 180;
            return centre + QPointF(distance * std::sin(angle), -distance * std::cos(angle));
        };
        painter.setPen(QPen(faint, 1));
        painter.drawEllipse(centre, radius, radius);
        for (int bearing = 0; bearing < 360; bearing += 30)
            painter.drawLine(at(bearing, radius), at(bearing, radius - (bearing % 90 ? 4 : 8)));
        painter.setPen(ink);
        const char *const sides[] = {"N", "E", "S", "W"};
        for (int i = 0; i < 4; ++i) {
            const QPointF where = at(i * 90, radius + metrics.height() / 2 + 1);
            const QString side = QLatin1String(sides[i]);
            const QSizeF size(metrics.horizontalAdvance(side), metrics.height());
            painter.drawText(QRectF(where - QPointF(size.width() / 2, size.height() / 2), size),
                             Qt::AlignCenter, side);
        }
        if (!figures_)
            return;
        painter.setPen(QPen(needle, 3, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(centre, at(figures_->azimuth, radius - 2));
        painter.setBrush(needle);
        painter.drawEllipse(centre, 3, 3);
        painter.setPen(ink);
        // The figure on the side away from the needle.
        const QString text = pointing::bearingText(figures_->azimuth);
        const QSizeF size(metrics.horizontalAdvance(text), metrics.height());
        const QPointF where = at(figures_->azimuth + 180, radius / 2.5);
        painter.drawText(QRectF(where - QPointF(size.width() / 2, size.height() / 2), size),
                         Qt::AlignCenter, text);
    }

    void drawElevation(QPainter &painter, const QRectF &room, const QColor &ink,
                       const QColor &faint, const QColor &needle) const
    {
        const QFontMetricsF metrics(font());
        const double margin = metrics.height();
        const QPointF dish(room.left() + margin, room.bottom() - margin - 2);
        const double radius = std::min(room.width() - 2 * margin, room.height() - 2 * margin);
        const auto at = [&](double elevation, double distance) {
            const double angle = elevation * kPi / 180;
            return dish + QPointF(distance * std::cos(angle), -distance * std::sin(angle));
        };
        painter.setPen(QPen(faint, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawArc(QRectF(dish.x() - radius, dish.y() - radius, 2 * radius, 2 * radius),
                        0, 90 * 16);
        for (int elevation = 30; elevation < 90; elevation += 30)
            painter.drawLine(at(elevation, radius), at(elevation, radius - 5));
        painter.setPen(QPen(ink, 1));
        painter.drawLine(dish, at(0, radius + 4));
        painter.drawLine(dish, at(90, radius));
        painter.drawText(QPointF(dish.x() + 2, dish.y() + metrics.ascent() + 1),
                         QStringLiteral("horizon"));
        const QString zenith = QStringLiteral("90°");
        painter.drawText(QPointF(dish.x() + 4, dish.y() - radius + metrics.ascent() / 2),
                         zenith);
        if (!figures_)
            return;
        painter.setPen(QPen(needle, 3, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(dish, at(figures_->elevation, radius - 2));
        painter.setBrush(needle);
        painter.drawEllipse(dish, 3, 3);
        painter.setPen(ink);
        const QString text = pointing::degreesText(figures_->elevation);
        const QPointF where = at(figures_->elevation / 2, radius * 0.55);
        painter.drawText(QPointF(where.x() + 2, where.y() + metrics.ascent() / 2), text);
    }

    std::optional<pointing::Pointing> figures_;
};

PointingPanel &PointingPanel::of(QWidget *owner)
{
    auto *panel = owner->findChild<PointingPanel *>(QLatin1String(names::window),
                                                    Qt::FindDirectChildrenOnly);
    return panel ? *panel : *new PointingPanel(owner);
}

PointingPanel &PointingPanel::showFor(QWidget *owner)
{
    PointingPanel &panel = of(owner);
    panel.show();
    panel.raise();
    panel.activateWindow();
    return panel;
}

PointingPanel::PointingPanel(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QLatin1String(names::window));
    setWindowTitle(QStringLiteral("Wavesift pointing"));
    setWindowIcon(ws::appIcon());

    latitude_ = named(new QLineEdit(this), names::latitude);
    longitude_ = named(new QLineEdit(this), names::longitude);
    satellite_ = named(new QLineEdit(this), names::satellite);
    latitude_->setPlaceholderText(QStringLiteral("51.48N"));
    longitude_->setPlaceholderText(QStringLiteral("0.01W"));
    satellite_->setPlaceholderText(QStringLiteral("19.2E"));
    azimuth_ = named(new QLabel(this), names::azimuth);
    elevation_ = named(new QLabel(this), names::elevation);
    skew_ = named(new QLabel(this), names::skew);
    distance_ = named(new QLabel(this), names::distance);
    status_ = named(new QLabel(this), names::status);
    status_->setWordWrap(true);
    sky_ = named(new SkyDrawing(this), names::sky);
    for (QLabel *figure : {azimuth_, elevation_, skew_, distance_, status_})
        figure->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *where = new QFormLayout;
    where->addRow(QStringLiteral("Latitude:"), latitude_);
    where->addRow(QStringLiteral("Longitude:"), longitude_);
    where->addRow(QStringLiteral("Satellite:"), satellite_);
    auto *figures = new QFormLayout;
    figures->addRow(QStringLiteral("Azimuth:"), azimuth_);
    figures->addRow(QStringLiteral("Elevation:"), elevation_);
    figures->addRow(QStringLiteral("LNB skew:"), skew_);
    figures->addRow(QStringLiteral("Distance:"), distance_);
    auto *left = new QVBoxLayout;
    left->addLayout(where);
    left->addSpacing(8);
    left->addLayout(figures);
    left->addStretch();
    auto *columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addWidget(sky_, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(status_);

    for (QLineEdit *box : {latitude_, longitude_, satellite_})
        connect(box, &QLineEdit::textChanged, this, &PointingPanel::showFigures);
    showFigures();
}

void PointingPanel::setSite(const ws::pointing::Site &site)
{
    latitude_->setText(pointing::latitudeText(site.latitude));
    longitude_->setText(pointing::longitudeText(site.longitude));
}

void PointingPanel::showFigures()
{
    std::optional<pointing::Pointing> figures;
    QString status;
    const struct
    {
        QLineEdit *box;
        pointing::Axis axis;
        const char *what;
    } angles[] = {{latitude_, pointing::Axis::Latitude, "the latitude"},
                  {longitude_, pointing::Axis::Longitude, "the longitude"},
                  {satellite_, pointing::Axis::Longitude, "the satellite's position"}};
    double degrees[3] = {};
    bool complete = true;
    for (int i = 0; i < 3 && status.isEmpty(); ++i) {
        if (angles[i].box->text().trimmed().isEmpty()) {
            complete = false;
            continue;
        }
        const pointing::AngleReading reading =
            pointing::readAngle(angles[i].box->text(), angles[i].axis,
                                QLatin1String(angles[i].what));
        if (reading.degrees)
            degrees[i] = *reading.degrees;
        else
            status = reading.refusal;
    }
    if (status.isEmpty() && !complete)
        status = QStringLiteral("Type where the dish stands and the satellite's position, "
                                "north and east positive or with their side (19.2E).");
    if (status.isEmpty()) {
        const pointing::Site site{degrees[0], degrees[1]};
        const pointing::Pointing pointing = pointing::pointAt(site, degrees[2]);
        if (pointing.belowHorizon())
            status = pointing::belowHorizonText(site, degrees[2], pointing);
        else
            figures = pointing;
    }
    const QString none = QStringLiteral("-");
    azimuth_->setText(figures ? pointing::bearingText(figures->azimuth) + QStringLiteral(" true")
                              : none);
    elevation_->setText(figures ? pointing::degreesText(figures->elevation) : none);
    skew_->setText(figures ? pointing::skewText(figures->skew) : none);
    distance_->setText(figures ? pointing::distanceText(figures->distanceKm) : none);
    if (figures && pointing::skewText(figures->skew) != pointing::degreesText(0))
        status = QStringLiteral("Turn the LNB %1 as seen from behind the dish, looking at the "
                                "satellite.")
                     .arg(pointing::skewText(figures->skew));
    status_->setText(status.endsWith(QLatin1Char('.')) ? status : sentence(status));
    sky_->setPointing(figures);
}
