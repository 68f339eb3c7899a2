#include "app/plotwidget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {
// The grey of a plot box's background (the system's button face).
const QColor kBackground(0xF0, 0xF0, 0xF0);
}

PlotWidget::PlotWidget(QWidget *parent)
    : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

PlotWidget::~PlotWidget() = default;

QSize PlotWidget::deviceSize() const
{
    const QSize area = areaSize().expandedTo(QSize(1, 1));
    const qreal dpr = devicePixelRatioF();
    return QSize(qCeil(area.width() * dpr), qCeil(area.height() * dpr));
}

void PlotWidget::ensureSurface()
{
    area_ = contentsRect().size();
    const qreal dpr = devicePixelRatioF();
    const QSize device = deviceSize();
    if (image_.size() == device && image_.devicePixelRatio() == dpr)
        return;
    endPainting();
    QImage fresh(device, QImage::Format_RGB32);
    fresh.setDevicePixelRatio(dpr);
    fresh.fill(kBackground);
    if (!image_.isNull()) {
        QPainter copy(&fresh);
        copy.drawImage(QPoint(0, 0), image_);
    }
    image_ = fresh;
}

double PlotWidget::scaleWidth() const
{
    return scaleSet_ ? width_ : qMax(1, areaSize().width());
}

double PlotWidget::scaleHeight() const
{
    return scaleSet_ ? height_ : qMax(1, areaSize().height());
}

QPainter &PlotWidget::painter()
{
    // The surface only changes with the widget's size, and a resize ends
    // painting; so an open painter means the surface is current.
    if (!painter_) {
        ensureSurface();
        painter_ = std::make_unique<QPainter>(&image_);
        painter_->setRenderHint(QPainter::Antialiasing, false);
        painter_->setPen(QPen(foreColor_, 1));
    }
    return *painter_;
}

void PlotWidget::endColumnRun()
{
    if (columnRun_)
        pendingColumns_.push_back(*columnRun_);
    columnRun_.reset();
}

void PlotWidget::drawPending()
{
    endColumnRun();
    // The lines of one colour in one call: a curve is thousands of segments,
    // and the painter's work per call is then done once.
    if (!pendingLines_.empty())
        painter_->drawLines(pendingLines_.data(), int(pendingLines_.size()));
    if (!pendingPoints_.empty())
        painter_->drawPoints(pendingPoints_.data(), int(pendingPoints_.size()));
    // An opaque column on a surface of one pixel per pixel goes straight in,
    // as the painter would set those pixels; a surface sharing its pixels
    // with a copy is left to the painter, as it always was.
    const QColor colour = painter_->pen().color(); // the batch's, not a new one
    const bool direct = image_.devicePixelRatio() == 1.0 && image_.isDetached()
                     && image_.format() == QImage::Format_RGB32 && colour.alpha() == 255;
    const QRgb pixel = colour.rgba();
    // Found once: scanLine() checks and detaches on every call, and a curve
    // makes tens of thousands of these pixels.
    uchar *const pixels = direct ? image_.bits() : nullptr;
    const qsizetype rowBytes = image_.bytesPerLine();
    const int width = image_.width();
    const int height = image_.height();
    for (const ColumnRun &run : pendingColumns_) {
        if (!direct) {
            if (run.top == run.bottom)
                painter_->drawPoint(run.x, run.top);
            else
                painter_->drawLine(run.x, run.top, run.x, run.bottom);
        } else if (run.x >= 0 && run.x < width) {
            const int last = std::min(run.bottom, height - 1);
            for (int y = std::max(run.top, 0); y <= last; ++y)
                reinterpret_cast<QRgb *>(pixels + y * rowBytes)[run.x] = pixel;
        }
    }
    pendingLines_.clear();
    pendingPoints_.clear();
    pendingColumns_.clear();
}

void PlotWidget::endPainting()
{
    if (painter_) {
        drawPending();
        painter_->end();
        painter_.reset();
    }
}

void PlotWidget::erase()
{
    endPainting();
    // A surface of another size is made anew rather than copied: what it
    // held is to go anyway (a plot redrawn to its new size).
    if (!image_.isNull() && image_.size() != deviceSize()) {
        image_ = QImage();
        ensureSurface();
    } else if (!image_.isNull()) {
        image_.fill(kBackground);
    }
    currentX_ = left_;
    currentY_ = top_;
    scheduleUpdate();
}

void PlotWidget::setScale(double left, double top, double width, double height)
{
    left_ = left;
    top_ = top;
    // A zero extent would put every point at infinity; keep the last one.
    width_ = width != 0 ? width : scaleWidth();
    height_ = height != 0 ? height : scaleHeight();
    scaleSet_ = true;
}

void PlotWidget::setForeColor(QColor color)
{
    foreColor_ = color;
    if (painter_) {
        drawPending();
        painter_->setPen(QPen(foreColor_, 1));
    }
}

QPointF PlotWidget::toPixel(double x, double y) const
{
    const QSize area = areaSize();
    return QPointF((x - left_) * area.width() / scaleWidth(),
                   (y - top_) * area.height() / scaleHeight());
}

QPointF PlotWidget::toUser(QPointF pixel) const
{
    const QSize area = areaSize();
    return QPointF(left_ + pixel.x() * scaleWidth() / qMax(1, area.width()),
                   top_ + pixel.y() * scaleHeight() / qMax(1, area.height()));
}

std::optional<QPoint> PlotWidget::snap(double x, double y) const
{
    // Pixel p covers user positions from toUser(p) up to toUser(p + 1).
    // Dividing first keeps huge coordinates finite; far-off points are pulled
    // in to where the integer conversion is defined, still cut at the edge.
    auto toColumn = [](double offset, double extent, int pixels) -> std::optional<int> {
        const double p = offset / extent * pixels;
        if (std::isnan(p))
            return std::nullopt;
        return int(std::floor(qBound(-1.0e6, p, 1.0e6)));
    };
    const auto px = toColumn(x - left_, scaleWidth(), area_.width());
    const auto py = toColumn(y - top_, scaleHeight(), area_.height());
    if (!px || !py)
        return std::nullopt;
    return QPoint(*px, *py);
}

void PlotWidget::moveTo(double x, double y)
{
    currentX_ = x;
    currentY_ = y;
}

void PlotWidget::lineTo(double x, double y)
{
    line(currentX_, currentY_, x, y);
}

void PlotWidget::line(double x1, double y1, double x2, double y2)
{
    painter();
    const auto a = snap(x1, y1);
    const auto b = snap(x2, y2);
    // A point that is not a number has no place; the line to it is left out.
    if (a && b) {
        const int top = std::min(a->y(), b->y());
        const int bottom = std::max(a->y(), b->y());
        if (a->x() != b->x()) {
            pendingLines_.emplace_back(*a, *b);
        } else if (columnRun_ && columnRun_->x == a->x() && top <= columnRun_->bottom
                   && bottom >= columnRun_->top) {
            columnRun_->top = std::min(columnRun_->top, top);
            columnRun_->bottom = std::max(columnRun_->bottom, bottom);
        } else {
            endColumnRun();
            columnRun_ = ColumnRun{a->x(), top, bottom};
        }
    }
    currentX_ = x2;
    currentY_ = y2;
    scheduleUpdate();
}

// A curve is thousands of segments; asking for a repaint once per batch
// instead of once per segment keeps drawing cheap.
void PlotWidget::scheduleUpdate()
{
    if (!updatePending_) {
        updatePending_ = true;
        update();
    }
}

QImage PlotWidget::surface()
{
    ensureSurface();
    endPainting();
    if (image_.devicePixelRatio() == 1.0)
        return image_;
    return image_.scaled(areaSize(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

void PlotWidget::paintEvent(QPaintEvent *event)
{
    updatePending_ = false;
    endPainting();
    QPainter p(this);
    // A box that was never drawn into has no surface yet: most boxes stay
    // blank for a while after start, and so cost nothing until then.
    if (image_.isNull()) {
        p.fillRect(contentsRect(), kBackground);
    } else {
        ensureSurface();
        p.drawImage(contentsRect().topLeft(), image_);
    }
    p.end();
    QFrame::paintEvent(event); // the sunken border
}

void PlotWidget::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    // The surface follows the new size when next drawn into, cleared or
    // shown: a resized plot is mostly redrawn at once, so nothing is copied.
    endPainting();
}

QPointF PlotWidget::areaPosition(QPointF widgetPosition) const
{
    return widgetPosition - contentsRect().topLeft();
}

bool PlotWidget::onArea(QPointF areaPos) const
{
    const QSize area = areaSize();
    return areaPos.x() >= 0 && areaPos.y() >= 0 && areaPos.x() < area.width()
        && areaPos.y() < area.height();
}

double PlotWidget::reportedX(QPointF areaPos) const
{
    // Positions have always been reported at single precision, and the
    // readout and the spot check round what they get: at full precision a
    // position a hair below a half would round to another whole MHz than
    // it always has.
    return float(toUser(areaPos).x());
}

void PlotWidget::reportPointer(QPointF widgetPosition)
{
    // Over the sunken frame the scale would give frequencies beyond the
    // plot's ends: there the readout follows the nearest column of the area.
    QPointF pos = areaPosition(widgetPosition);
    pos.setX(qBound(0.0, pos.x(), qMax(0, areaSize().width() - 1) * 1.0));
    emit pointerMoved(reportedX(pos));
}

void PlotWidget::mouseMoveEvent(QMouseEvent *event)
{
    pointer_ = event->position();
    reportPointer(*pointer_);
}

void PlotWidget::reportPointerAgain()
{
    if (pointer_)
        reportPointer(*pointer_);
}

void PlotWidget::leaveEvent(QEvent *event)
{
    pointer_.reset();
    QFrame::leaveEvent(event);
}

void PlotWidget::wheelEvent(QWheelEvent *event)
{
    pointer_ = event->position();
    const double x = areaPosition(*pointer_).x();
    const double fraction = qBound(0.0, x / qMax(1, areaSize().width()), 1.0);
    emit wheelTurned(fraction, event->angleDelta(), event->modifiers());
    event->accept();
}

void PlotWidget::mousePressEvent(QMouseEvent *event)
{
    // A thumb button is no vertical check.
    const Qt::MouseButton button = event->button();
    if (button != Qt::LeftButton && button != Qt::RightButton && button != Qt::MiddleButton) {
        event->ignore();
        return;
    }
    // A press on the frame is no press on the plot: a click there would
    // tune a frequency the plot does not show.
    const QPointF pos = areaPosition(event->position());
    if (!onArea(pos)) {
        event->accept();
        return;
    }
    emit pressed(reportedX(pos), button, event->modifiers());
}

void PlotWidget::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double-click is no press of its own: it would
    // start a second check (or a full scan inside the running one).
    event->accept();
}
