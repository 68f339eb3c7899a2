#include "app/plotspanel.h"

#include "wording/messages.h"
#include "plot/drawscans.h"
#include "plot/mapstrip.h"
#include "plot/pointerlevels.h"
#include "plot/readout.h"

#include <QPainter>

#include <algorithm>

namespace {

QSize designSize(const QWidget &element)
{
    return ws::window::element(element.objectName().toLatin1().constData()).place.size();
}

// Between the levels under the pointer and the texts beside them.
constexpr int kPointerLevelsGap = 16;

} // namespace

PlotsPanel::PlotsPanel(const ws::Scans &scans, const ws::MapData &map, QWidget *parent)
    : WindowPanel(parent), scans_(scans), map_(map)
{
    // Made after the plots, so that the legend's one pixel in the level
    // plot lies on top.
    create<QLabel>(ws::window::names::levelTitle);
    create<QLabel>(ws::window::names::differenceTitle);
    for (const ws::window::Element &row : ws::window::elements()) {
        // The legend: the labels in the colours of what they explain.
        if (row.textColour)
            create(row);
    }

    // Which of the two plots was pressed makes no difference.
    for (PlotWidget *plot : {levelPlot, differencePlot}) {
        connect(plot, &PlotWidget::pressed, this, &PlotsPanel::plotPressed);
        connect(plot, &PlotWidget::wheelTurned, this,
                [this](double fraction, QPoint angleDelta, Qt::KeyboardModifiers modifiers) {
                    turnWheel(view_.frequencyAt(fraction), angleDelta, modifiers);
                });
    }
    // Any of the three buttons.
    connect(mapStrip, &PlotWidget::pressed, this,
            [this](double mhz, Qt::MouseButton, Qt::KeyboardModifiers modifiers) {
                emit mapStripPressed(mhz, modifiers);
            });
    // The strip goes by its own scale: unzoomed, that of the scans its map
    // was loaded with, which later scans may have left.
    connect(mapStrip, &PlotWidget::wheelTurned, this,
            [this](double fraction, QPoint angleDelta, Qt::KeyboardModifiers modifiers) {
                const double mhz = mapScale_ && !view_.zoomed()
                                       ? mapScale_->left + fraction * mapScale_->width
                                       : view_.frequencyAt(fraction);
                turnWheel(mhz, angleDelta, modifiers);
            });
    for (PlotWidget *plot : {levelPlot, differencePlot, mapStrip}) {
        connect(plot, &PlotWidget::pointerMoved, this, &PlotsPanel::showReadoutAt);
        connect(plot, &PlotWidget::pointerMoved, this, &PlotsPanel::notePointer);
    }
}

void PlotsPanel::showScans(bool keepZoom)
{
    Q_ASSERT(scans_.bothLoaded());
    const bool wasZoomed = view_.zoomed();
    const ws::View whole = ws::View::whole(ws::PlotRange::of(*scans_.newest, *scans_.reference));
    const bool keep = keepZoom && whole.full().first == view_.full().first &&
                      whole.full().last == view_.full().last;
    if (!keep) {
        view_ = whole;
        wheel_.forget();
    }
    drawPlots();
    // Unzoomed, a load leaves the strip alone (it keeps the scale of its
    // map's load); a zoomed strip goes back to that scale.
    if (wasZoomed && !keep)
        drawMapStrip();
}

void PlotsPanel::holdLevelScale(bool on)
{
    if (on == holdLevels_)
        return;
    holdLevels_ = on;
    heldLevels_.reset();
    if (!scans_.bothLoaded())
        return;
    if (on)
        heldLevels_ = ws::PlotRange::of(*scans_.newest, *scans_.reference).levelScale();
    else
        drawPlots();
}

void PlotsPanel::drawPlots()
{
    if (holdLevels_ && !heldLevels_)
        heldLevels_ = ws::PlotRange::of(*scans_.newest, *scans_.reference).levelScale();
    const ws::ScaleTexts texts = ws::drawScans(*scans_.newest, *scans_.reference, view_,
                                               *levelPlot, *differencePlot, heldLevels_);
    startFrequencyLabel->setText(texts.left);
    endFrequencyLabel->setText(texts.right);
    startFrequencyLabel->setVisible(true);
    endFrequencyLabel->setVisible(true);
    levelTopLabel->setText(texts.top);
    levelBottomLabel->setText(texts.bottom);
    differenceTopLabel->setText(texts.diffTop);
    differenceBottomLabel->setText(texts.diffBottom);
    // The numbers painted around the plots follow their scales.
    update();
}

void PlotsPanel::paintEvent(QPaintEvent *)
{
    if (!scans_.bothLoaded())
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const ws::PlotRange range = ws::PlotRange::of(*scans_.newest, *scans_.reference, heldLevels_);
    paintFrequencyLabels(painter);
    paintValueLabels(painter, *levelPlot, ws::ValueAxis::levels(range), *levelTopLabel);
    paintValueLabels(painter, *differencePlot, ws::ValueAxis::differences(range),
                     *differenceTopLabel);
    paintPointerLevels(painter);
}

// In the gap between the level plot and the row of labels under it, right
// under the grid lines; the digits, which have no descenders, centred in it.
void PlotsPanel::paintFrequencyLabels(QPainter &painter)
{
    if (levelPlot->width() <= designSize(*levelPlot).width())
        return;
    const QFontMetrics metrics = fontMetrics();
    const int top = levelPlot->geometry().bottom() + 1;
    const int room = startFrequencyLabel->geometry().top() - top;
    const int digits = metrics.capHeight();
    if (room < digits + 2 * ws::kValueLabelGap)
        return;
    const int baseline = top + (room + digits) / 2;
    const int areaLeft = levelPlot->x() + levelPlot->contentsRect().left();
    const auto width = [&metrics](const QString &text) { return metrics.horizontalAdvance(text); };
    for (const ws::AxisLabel &label :
         ws::frequencyLabels(view_, levelPlot->areaSize().width(), width))
        painter.drawText(areaLeft + label.start, baseline, label.text);
}

// Right-aligned under the value at the plot's top, between the texts that
// stand beside the plot, as those grow apart with a taller plot.
void PlotsPanel::paintValueLabels(QPainter &painter, const PlotWidget &plot,
                                  const ws::ValueAxis &axis, const QLabel &topLabel)
{
    if (plot.height() <= designSize(plot).height())
        return;
    const int areaTop = plot.y() + plot.contentsRect().top();
    std::vector<ws::Rows> taken;
    for (const QLabel *label : findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
        const QRect place = label->geometry();
        if (place.right() < plot.x() && label->isVisibleTo(this))
            taken.push_back({place.top() - areaTop, place.bottom() - areaTop});
    }
    const int textHeight = fontMetrics().height();
    for (const ws::AxisLabel &label :
         ws::valueLabels(axis, plot.areaSize().height(), textHeight, taken))
        painter.drawText(QRect(topLabel.x(), areaTop + label.start, topLabel.width(), textHeight),
                         int(Qt::AlignRight | Qt::AlignTop), label.text);
}

QRect PlotsPanel::pointerLevelsRow() const
{
    const QRect entry = nearestEntryLabel->geometry();
    return QRect(entry.topLeft(), QPoint(endFrequencyLabel->geometry().right(), entry.bottom()));
}

// After the nearest entry, where its label ends at the default size (or its
// text, should that reach further), and clear of the end frequency; only
// whole, and only where it never stood at the default size.
void PlotsPanel::paintPointerLevels(QPainter &painter)
{
    if (!pointerMhz_ || levelPlot->width() <= designSize(*levelPlot).width())
        return;
    const QString text = ws::pointerLevels(*scans_.newest, *scans_.reference, *pointerMhz_);
    const QFontMetrics metrics = fontMetrics();
    const QRect row = pointerLevelsRow();
    const int left = row.left() + kPointerLevelsGap
        + std::max(designSize(*nearestEntryLabel).width(),
                   metrics.horizontalAdvance(nearestEntryLabel->text()));
    const int right = row.right() + 1 - metrics.horizontalAdvance(endFrequencyLabel->text())
        - kPointerLevelsGap;
    const int width = metrics.horizontalAdvance(text);
    if (text.isEmpty() || left + width > right)
        return;
    painter.drawText(QRect(left, row.top(), width, row.height()),
                     int(Qt::AlignLeft | Qt::AlignTop), text);
}

void PlotsPanel::notePointer(std::optional<double> mhz)
{
    pointerMhz_ = mhz;
    update(pointerLevelsRow());
}

void PlotsPanel::resizeEvent(QResizeEvent *event)
{
    WindowPanel::resizeEvent(event);
    // The plots have their new sizes already; what they show is drawn anew
    // to fill them, at once, so that a picture taken next shows it whole.
    if (scans_.bothLoaded())
        drawPlots();
    drawMapStrip();
}

void PlotsPanel::clearMapStrip()
{
    mapStrip->erase();
}

void PlotsPanel::showMap()
{
    mapScale_ = ws::FrequencyScale::of(scans_);
    drawMapStrip();
}

void PlotsPanel::drawMapStrip()
{
    // Without a map the strip stays blank, in its own pixels.
    if (!mapScale_)
        return;
    mapStrip->erase();
    ws::setMapStripScale(*mapStrip, view_.zoomed() ? view_.scale() : *mapScale_);
    ws::drawMapEntries(*mapStrip, map_);
}

void PlotsPanel::turnWheel(double mhz, QPoint angleDelta, Qt::KeyboardModifiers modifiers)
{
    if (!scans_.bothLoaded())
        return;
    // Shift makes the wheel a horizontal one, as in most programs.
    showView(wheel_.turned(view_, mhz, angleDelta.x(), angleDelta.y(),
                           modifiers & Qt::ShiftModifier));
}

void PlotsPanel::zoomAround(double mhz, int notches)
{
    if (!scans_.bothLoaded())
        return;
    ws::View view = view_;
    view.zoomAt(mhz, notches);
    showView(view);
}

void PlotsPanel::pan(int steps)
{
    ws::View view = view_;
    view.pan(steps);
    showView(view);
}

void PlotsPanel::showWholeRange()
{
    ws::View view = view_;
    view.reset();
    showView(view);
}

void PlotsPanel::showView(const ws::View &view)
{
    // A notch at a limit, or Escape at the whole range, changes nothing and
    // redraws nothing.
    if (view == view_)
        return;
    view_ = view;
    drawPlots();
    drawMapStrip();
    // The readout names the frequency now under the pointer.
    for (PlotWidget *plot : {levelPlot, differencePlot, mapStrip})
        plot->reportPointerAgain();
}

void PlotsPanel::showReadoutAt(double mhz)
{
    pointerFrequencyLabel->setText(ws::frequencyReadout(mhz));
    // Without a map the entry label keeps whatever an earlier move over a
    // map put there.
    const int entry = ws::nearestMapEntry(map_, mhz);
    if (entry >= 0)
        nearestEntryLabel->setText(ws::mapEntryText(map_.entries.at(entry)));
    nearestTitleLabel->setText(ws::messages::nextKnownSignal());
}

void PlotsPanel::clearReadout()
{
    notePointer(std::nullopt);
    pointerFrequencyLabel->setText(QString());
    nearestEntryLabel->setText(QString());
    nearestTitleLabel->setText(QString());
}
