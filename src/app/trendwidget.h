#pragma once

#include <QDateTime>
#include <QWidget>

#include <optional>
#include <vector>

class PlotWidget;

// The history window's trend: one transmission's level across the scans,
// with axes, levels and times, the pointer's scan and the best position marked.
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
    QRect area() const;

    PlotWidget *plot_ = nullptr;
    std::vector<std::optional<double>> levels_;
    std::vector<QDateTime> times_;
    int marked_ = -1;
    int best_ = -1;
    bool drawn_ = false;
};
