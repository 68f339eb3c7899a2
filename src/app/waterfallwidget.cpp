#include "app/waterfallwidget.h"

#include "core/numbers.h"
#include "plot/mapstrip.h"
#include "plot/timelabels.h"

#include <QHash>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <QtMath>

#include <cmath>

namespace {

const QColor kBackground(0xF0, 0xF0, 0xF0);
// The strip of transmission marks above each side, and the room between
// the sides; the colour scale's bar.
constexpr int kMarks = 8;
constexpr int kGap = 8;
constexpr int kBar = 12;
// The tick from a time to its row.
constexpr int kTick = 4;
const QColor kCursor(255, 96, 0);

bool carriesAny(const std::vector<ws::WaterfallRow> &rows)
{
    for (const ws::WaterfallRow &row : rows) {
        if (row.count > 0)
            return true;
    }
    return false;
}

} // namespace

bool WaterfallWidget::marksOn(const ws::MapEntry &entry, ws::Polarisation pol)
{
    const QString letter = entry.polarisation.toUpper();
    if (letter == QLatin1String("H"))
        return pol == ws::Polarisation::Horizontal;
    if (letter == QLatin1String("V"))
        return pol == ws::Polarisation::Vertical;
    return true;
}

std::shared_ptr<const WaterfallWidget::Marks>
WaterfallWidget::marksOf(const QVector<ws::MapEntry> &entries)
{
    auto marks = std::make_shared<Marks>();
    for (const ws::MapEntry &entry : entries) {
        const Mark mark{entry.frequency + 0.5, ws::mapColour(entry.polarisation).rgba()};
        if (marksOn(entry, ws::Polarisation::Horizontal))
            marks->horizontal.push_back(mark);
        if (marksOn(entry, ws::Polarisation::Vertical))
            marks->vertical.push_back(mark);
    }
    return marks;
}

WaterfallWidget::WaterfallWidget(QWidget *parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void WaterfallWidget::showPicture(Picture picture, const ws::View &view)
{
    picture_ = std::move(picture);
    view_ = view;
    stale_ = true;
    update();
}

void WaterfallWidget::setCursorRow(int scan)
{
    if (scan == cursor_)
        return;
    // Outlined over the image, which stays as it is.
    cursor_ = scan;
    update();
}

int WaterfallWidget::timesWidth() const
{
    if (picture_.times.empty())
        return 0;
    return fontMetrics().horizontalAdvance(ws::scanDateText(QDateTime(QDate(2000, 10, 20),
                                                                      QTime(20, 0)))) +
           kTick + 4;
}

int WaterfallWidget::scanCount() const
{
    return int(std::max(picture_.horizontal.size(), picture_.vertical.size()));
}

std::vector<WaterfallWidget::Side> WaterfallWidget::sides() const
{
    const int line = fontMetrics().height();
    const int scaleWidth = kBar + 4 + fontMetrics().horizontalAdvance(QStringLiteral("-00000.0"));
    const int top = line + kMarks;
    const int height = this->height() - top - line;
    const bool h = carriesAny(picture_.horizontal);
    const bool v = carriesAny(picture_.vertical);
    const int count = (h ? 1 : 0) + (v ? 1 : 0);
    if (count == 0 || height <= 0)
        return {};
    std::vector<Side> sides;
    const int times = timesWidth();
    const int width = (this->width() - times - scaleWidth - kGap * count) / count;
    if (width <= 0)
        return {};
    int left = times;
    if (h) {
        sides.push_back({QRect(left, top, width, height), ws::Polarisation::Horizontal,
                         &picture_.horizontal});
        left += width + kGap;
    }
    if (v)
        sides.push_back(
            {QRect(left, top, width, height), ws::Polarisation::Vertical, &picture_.vertical});
    return sides;
}

ws::WaterfallRows WaterfallWidget::rowsOf(const QRect &area) const
{
    // In device pixels, which the image is drawn in.
    return ws::WaterfallRows(scanCount(), qRound(area.height() * devicePixelRatioF()),
                             picture_.best);
}

void WaterfallWidget::redrawImage()
{
    const qreal dpr = devicePixelRatioF();
    const QSize device(qCeil(width() * dpr), qCeil(height() * dpr));
    if (image_.size() != device)
        image_ = QImage(device, QImage::Format_RGB32);
    image_.setDevicePixelRatio(1);
    image_.fill(kBackground);
    for (const Side &side : sides()) {
        const QRect area(qRound(side.area.left() * dpr), qRound(side.area.top() * dpr),
                         qRound(side.area.width() * dpr), qRound(side.area.height() * dpr));
        ws::drawWaterfall(image_, area, *side.rows, rowsOf(side.area), view_, picture_.lowest,
                          picture_.highest);
    }
    image_.setDevicePixelRatio(dpr);
    stale_ = false;
}

void WaterfallWidget::paintScale(QPainter &painter, const QRect &bar)
{
    for (int y = 0; y < bar.height(); ++y) {
        const double fraction = bar.height() > 1 ? 1 - double(y) / (bar.height() - 1) : 0.5;
        painter.setPen(QColor::fromRgb(ws::levelColour(fraction)));
        painter.drawLine(bar.left(), bar.top() + y, bar.right(), bar.top() + y);
    }
    painter.setPen(palette().color(QPalette::WindowText));
    const int line = fontMetrics().height();
    const QRect labels(bar.right() + 4, bar.top(), width() - bar.right() - 4, bar.height());
    const auto level = [](double value) { return ws::formatSingle(float(value)); };
    painter.drawText(QRect(labels.left(), labels.top(), labels.width(), line),
                     Qt::AlignLeft | Qt::AlignTop, level(picture_.highest));
    painter.drawText(QRect(labels.left(), labels.center().y() - line / 2, labels.width(), line),
                     Qt::AlignLeft | Qt::AlignVCenter,
                     level((picture_.lowest + picture_.highest) / 2));
    painter.drawText(QRect(labels.left(), labels.bottom() - line, labels.width(), line),
                     Qt::AlignLeft | Qt::AlignBottom, level(picture_.lowest));
}

void WaterfallWidget::paintEvent(QPaintEvent *)
{
    if (stale_)
        redrawImage();
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), image_);
    const std::vector<Side> all = sides();
    if (all.empty())
        return;
    const int line = fontMetrics().height();
    const ws::FrequencyScale scale = view_.scale();
    const auto xOf = [&](const QRect &area, double mhz) {
        return area.left() + (mhz - scale.left) / scale.width * area.width();
    };
    for (const Side &side : all) {
        const QRect &area = side.area;
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QRect(area.left(), 0, area.width(), line), Qt::AlignHCenter,
                         side.pol == ws::Polarisation::Horizontal ? QStringLiteral("horizontal")
                                                                  : QStringLiteral("vertical"));
        // The ends of the visible part, in whole MHz as the plots name them.
        const QRect under(area.left(), area.bottom() + 1, area.width(), line);
        painter.drawText(under, Qt::AlignLeft,
                         ws::formatNumber(ws::roundHalfEven(view_.first())) +
                             QStringLiteral(" MHz"));
        painter.drawText(under, Qt::AlignRight,
                         ws::formatNumber(ws::roundHalfEven(view_.last())) +
                             QStringLiteral(" MHz"));
        // Thousands of marks: drawn a colour at a time.
        QHash<QRgb, QVector<QLineF>> marks;
        if (picture_.marks) {
            const bool horizontal = side.pol == ws::Polarisation::Horizontal;
            for (const Mark &mark :
                 horizontal ? picture_.marks->horizontal : picture_.marks->vertical) {
                const double x = xOf(area, mark.mhz);
                if (x >= area.left() && x < area.right() + 1)
                    marks[mark.colour].push_back(
                        QLineF(QPointF(x, area.top() - kMarks), QPointF(x, area.top() - 2)));
            }
        }
        for (auto it = marks.cbegin(); it != marks.cend(); ++it) {
            painter.setPen(QColor::fromRgba(it.key()));
            painter.drawLines(it.value());
        }
        const qreal dpr = devicePixelRatioF();
        const ws::WaterfallRows rows = rowsOf(area);
        const ws::WaterfallRows::Band band = rows.bandOf(picture_.best);
        if (band.bottom > band.top) {
            const QRectF frame(area.left(), area.top() + band.top / dpr, area.width(),
                               (band.bottom - band.top) / dpr);
            painter.setPen(QPen(Qt::black, 1));
            painter.drawRect(frame.adjusted(-1, -1, 0, 0));
            painter.setPen(QPen(Qt::white, 1, Qt::DashLine));
            painter.drawRect(frame.adjusted(-1, -1, 0, 0));
        }
        if (cursor_ >= 0 && cursor_ < scanCount()) {
            // A scan that shares its pixel row with others is outlined
            // there all the same.
            const ws::WaterfallRows::Band at = rows.bandOf(cursor_);
            const QRectF frame(area.left(), area.top() + at.top / dpr, area.width(),
                               std::max(1, at.bottom - at.top) / dpr);
            painter.setPen(QPen(kCursor, 2));
            painter.drawRect(frame.adjusted(-1, -1, 0, 0));
        }
    }
    paintTimes(painter, all.front().area);
    const QRect &first = all.front().area;
    const int barLeft = all.back().area.right() + kGap;
    paintScale(painter, QRect(barLeft, first.top(), kBar, first.height()));
}

void WaterfallWidget::paintTimes(QPainter &painter, const QRect &area)
{
    const int count = int(picture_.times.size());
    if (count == 0)
        return;
    const qreal dpr = devicePixelRatioF();
    const ws::WaterfallRows rows = rowsOf(area);
    std::vector<int> centres(size_t(count), -1);
    for (int scan = 0; scan < count; ++scan) {
        const ws::WaterfallRows::Band band = rows.bandOf(scan);
        if (band.bottom > band.top)
            centres[size_t(scan)] = int((band.top + band.bottom) / 2.0 / dpr);
    }
    const int line = fontMetrics().height();
    const std::vector<ws::TimeLabel> labels = ws::timeLabels(
        picture_.times, centres, area.height(), [line](const ws::TimeLabel &) { return line; }, 0);
    const int right = area.left() - kTick - 2;
    painter.setPen(palette().color(QPalette::WindowText));
    for (const ws::TimeLabel &label : labels) {
        painter.drawText(QRect(0, area.top() + label.start, right, line),
                         Qt::AlignRight | Qt::AlignVCenter, label.text());
        const int y = area.top() + label.centre;
        painter.drawLine(area.left() - kTick - 1, y, area.left() - 2, y);
    }
}

void WaterfallWidget::resizeEvent(QResizeEvent *event)
{
    stale_ = true;
    QWidget::resizeEvent(event);
}

std::optional<WaterfallWidget::Hit> WaterfallWidget::hitAt(QPointF position) const
{
    for (const Side &side : sides()) {
        const QRect &area = side.area;
        if (position.x() < area.left() || position.x() >= area.left() + area.width())
            continue;
        const int y = int(std::floor((position.y() - area.top()) * devicePixelRatioF()));
        const int scan = rowsOf(area).scanAt(y);
        if (scan < 0)
            return std::nullopt;
        const double fraction = (position.x() - area.left()) / area.width();
        return Hit{side, scan, view_.frequencyAt(fraction)};
    }
    return std::nullopt;
}

std::optional<QPoint> WaterfallWidget::pointOf(int scan, double mhz, ws::Polarisation pol) const
{
    for (const Side &side : sides()) {
        if (side.pol != pol)
            continue;
        const ws::WaterfallRows::Band band = rowsOf(side.area).bandOf(scan);
        if (band.bottom <= band.top)
            return std::nullopt;
        const ws::FrequencyScale scale = view_.scale();
        const double x =
            side.area.left() + (mhz + 0.5 - scale.left) / scale.width * side.area.width();
        const double y = side.area.top() + (band.top + band.bottom) / 2.0 / devicePixelRatioF();
        return QPoint(int(x), int(y));
    }
    return std::nullopt;
}

void WaterfallWidget::mouseMoveEvent(QMouseEvent *event)
{
    // The whole MHz whose colour is under the pointer.
    if (const std::optional<Hit> hit = hitAt(event->position()))
        emit pointerAt(hit->scan, std::floor(hit->mhz), hit->side.pol);
}

void WaterfallWidget::mousePressEvent(QMouseEvent *event)
{
    const Qt::MouseButton button = event->button();
    const std::optional<Hit> hit = hitAt(event->position());
    if (hit && (button == Qt::LeftButton || button == Qt::RightButton))
        emit pressed(hit->scan, button);
    event->accept();
}

void WaterfallWidget::wheelEvent(QWheelEvent *event)
{
    if (const std::optional<Hit> hit = hitAt(event->position()))
        emit wheelTurned(hit->mhz, event->angleDelta(), event->modifiers());
    event->accept();
}
