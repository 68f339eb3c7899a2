#include "app/trendwidget.h"

#include "app/plotwidget.h"
#include "plot/axislabels.h"
#include "plot/timelabels.h"
#include "plot/waterfall.h"

#include <QPainter>

#include <cmath>

namespace {

// The room between a number and the plot, and between two times.
constexpr int kPad = 3;
constexpr int kTimeGap = 8;

} // namespace

TrendWidget::TrendWidget(QWidget *parent)
    : QWidget(parent), plot_(new PlotWidget(this))
{
    plot_->setToolTip(QStringLiteral("Yellow line: the scan under the pointer; green line: the "
                                     "best position"));
}

void TrendWidget::showTrend(std::vector<std::optional<double>> levels,
                            std::vector<QDateTime> times, int marked, int best)
{
    levels_ = std::move(levels);
    times_ = std::move(times);
    marked_ = marked;
    best_ = best;
    drawn_ = true;
    draw();
}

void TrendWidget::clear()
{
    levels_.clear();
    times_.clear();
    drawn_ = false;
    plot_->erase();
    update();
}

void TrendWidget::draw()
{
    if (drawn_)
        ws::drawTrend(*plot_, levels_, marked_, best_);
    update();
}

void TrendWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int line = fontMetrics().height();
    const int left = fontMetrics().horizontalAdvance(QStringLiteral("-0000")) + kPad;
    // Below the plot, a time and the date under it.
    plot_->setGeometry(left, line / 2, std::max(1, width() - left - 2),
                       std::max(1, height() - line / 2 - 2 * line - kPad));
    // The plot's surface takes its new size with what is drawn next.
    draw();
}

QRect TrendWidget::area() const
{
    return plot_->contentsRect().translated(plot_->geometry().topLeft());
}

void TrendWidget::paintEvent(QPaintEvent *)
{
    if (!drawn_)
        return;
    bool any = false;
    for (const std::optional<double> &level : levels_)
        any = any || (level && std::isfinite(*level));
    if (!any)
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const QRect inside = area();
    const int line = fontMetrics().height();
    // The plot's own level scale, as drawTrend set it.
    const ws::ValueAxis axis{plot_->scaleTop(), -plot_->scaleHeight()};
    for (const ws::AxisLabel &label : ws::valueLabels(axis, inside.height(), line, {}))
        painter.drawText(QRect(0, inside.top() + label.start, plot_->x() - kPad, line),
                         Qt::AlignRight | Qt::AlignVCenter, label.text);
    std::vector<int> centres;
    for (size_t i = 0; i < levels_.size(); ++i)
        centres.push_back(int(std::floor(plot_->toPixel(double(i), 0).x())));
    const QFontMetrics metrics = fontMetrics();
    // The date under the time, where it changes: the panel is narrow.
    const auto extent = [&metrics](const ws::TimeLabel &label) {
        return std::max(metrics.horizontalAdvance(label.clock),
                        metrics.horizontalAdvance(label.date));
    };
    const std::vector<ws::TimeLabel> times =
        ws::timeLabels(times_, centres, inside.width(), extent, kTimeGap);
    const int top = plot_->geometry().bottom() + 1;
    for (const ws::TimeLabel &label : times) {
        const int x = inside.left() + label.centre;
        painter.drawLine(x, top, x, top + kPad - 1);
        const QRect room(inside.left() + label.start, top + kPad, extent(label) + 1, line);
        painter.drawText(room, Qt::AlignHCenter | Qt::AlignTop, label.clock);
        if (!label.date.isEmpty())
            painter.drawText(room.translated(0, line), Qt::AlignHCenter | Qt::AlignTop,
                             label.date);
    }
}
