#pragma once

#include <QDateTime>
#include <QWidget>

#include <optional>
#include <vector>

class PlotWidget;

// The trend of the history window: one transmission's level across the
// scans, in a plot with its axes, the levels beside it and the scans'
// times under it. The scan under the pointer and the best position are
// marked on it by lines (ws::drawTrend).
class TrendWidget : public QWidget
{
    Q_OBJECT

public:
    explicit TrendWidget(QWidget *parent = nullptr);

    // The level in each scan, taken at `times`; `marked` is the scan under
    // the pointer and `best` the best position, -1 for none.
    void showTrend(std::vector<std::optional<double>> levels, std::vector<QDateTime> times,
                   int marked, int best);
    void clear();
    PlotWidget *plot() const { return plot_; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void draw();
    // The plot's drawable area in this widget's pixels.
    QRect area() const;

    PlotWidget *plot_ = nullptr;
    std::vector<std::optional<double>> levels_;
    std::vector<QDateTime> times_;
    int marked_ = -1;
    int best_ = -1;
    bool drawn_ = false;
};
