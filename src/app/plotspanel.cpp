#include "plotspanel.h"

#include "drawscans.h"
#include "mapstrip.h"
#include "messages.h"

PlotsPanel::PlotsPanel(QWidget &window)
    : WindowPanel(window)
{
    // Which of the two plots was pressed makes no difference.
    for (PlotWidget *plot : {levelPlot, differencePlot}) {
        connect(plot, &PlotWidget::pressed, this, &PlotsPanel::plotPressed);
        connect(plot, &PlotWidget::wheelTurned, this, &PlotsPanel::plotWheelTurned);
    }
    // Any of the three buttons.
    connect(mapStrip, &PlotWidget::pressed, this, [this] { emit mapStripPressed(); });
    connect(mapStrip, &PlotWidget::wheelTurned, this, &PlotsPanel::mapStripWheelTurned);
    for (PlotWidget *plot : {levelPlot, differencePlot, mapStrip})
        connect(plot, &PlotWidget::pointerMoved, this, &PlotsPanel::pointerMoved);
}

void PlotsPanel::drawScans(const ws::ScanData &newest, const ws::ScanData &reference,
                           const ws::View &view)
{
    const ws::ScaleTexts texts =
        ws::drawScans(newest, reference, view, *levelPlot, *differencePlot);
    startFrequencyLabel->setText(texts.left);
    endFrequencyLabel->setText(texts.right);
    startFrequencyLabel->setVisible(true);
    endFrequencyLabel->setVisible(true);
    levelTopLabel->setText(texts.top);
    levelBottomLabel->setText(texts.bottom);
    differenceTopLabel->setText(texts.diffTop);
    differenceBottomLabel->setText(texts.diffBottom);
}

void PlotsPanel::clearMapStrip()
{
    mapStrip->cls();
}

void PlotsPanel::drawMap(const ws::MapData &map, const ws::FrequencyScale &scale)
{
    mapStrip->cls();
    ws::setMapStripScale(*mapStrip, scale);
    ws::drawMapEntries(*mapStrip, map);
}

void PlotsPanel::showReadout(const QString &frequency, const std::optional<QString> &nearestEntry)
{
    pointerFrequencyLabel->setText(frequency);
    if (nearestEntry)
        nearestEntryLabel->setText(*nearestEntry);
    nearestTitleLabel->setText(ws::messages::nextKnownSignal());
}

void PlotsPanel::clearReadout()
{
    pointerFrequencyLabel->setText(QString());
    nearestEntryLabel->setText(QString());
    nearestTitleLabel->setText(QString());
}

void PlotsPanel::reportPointerAgain()
{
    for (PlotWidget *plot : {levelPlot, differencePlot, mapStrip})
        plot->reportPointerAgain();
}
