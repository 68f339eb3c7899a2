#pragma once

#include "map/mapfile.h"
#include "plot/view.h"
#include "plot/waterfall.h"
#include "scan/levellookup.h"

#include <QDateTime>
#include <QImage>
#include <QVector>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

// The history window's waterfall: one row per scan, oldest at the top,
// horizontal and vertical side by side (one when no scan holds the other),
// across the view's visible part; the map's transmissions marked along the
// top of their side, the best position framed, the row cursor outlined, the
// times at the left and the colour scale at the right. Pointer, press and
// wheel are reported as scan, frequency and polarisation.
class WaterfallWidget : public QWidget
{
    Q_OBJECT

public:
    // A transmission's mark: where, and in its polarisation's colour.
    struct Mark
    {
        double mhz;
        QRgb colour;
    };
    // The marks of each side, horizontal and vertical, made once per map:
    // thousands of entries sorted out at every paint hold the window up.
    struct Marks
    {
        std::vector<Mark> horizontal;
        std::vector<Mark> vertical;
    };
    static std::shared_ptr<const Marks> marksOf(const QVector<ws::MapEntry> &entries);

    struct Picture
    {
        // One per scan in the history's order, for each polarisation; a
        // row without levels for a scan that lacks it.
        std::vector<ws::WaterfallRow> horizontal;
        std::vector<ws::WaterfallRow> vertical;
        double lowest = 0;
        double highest = 0;
        int best = -1;
        std::shared_ptr<const Marks> marks;
        // When each scan was taken, in the time it is told in; an invalid
        // one for a scan without.
        std::vector<QDateTime> times;
    };

    explicit WaterfallWidget(QWidget *parent = nullptr);

    // Whether the entry is marked on the side of `pol` (both for a circular one).
    static bool marksOn(const ws::MapEntry &entry, ws::Polarisation pol);

    // Draws `picture` over the view's visible part. The rows' levels must
    // stay as they are until the next call.
    void showPicture(Picture picture, const ws::View &view);
    void setCursorRow(int scan);
    int cursorRow() const { return cursor_; }
    // A point in the scan's row and the whole MHz's colour on the
    // polarisation's side; nothing when it is not drawn.
    std::optional<QPoint> pointOf(int scan, double mhz, ws::Polarisation pol) const;
    QSize sizeHint() const override { return {760, 480}; }

signals:
    // At the whole MHz whose colour is under the pointer.
    void pointerAt(int scan, double mhz, ws::Polarisation pol);
    void pressed(int scan, Qt::MouseButton button);
    void wheelTurned(double mhz, QPoint angleDelta, Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    struct Side
    {
        QRect area;
        ws::Polarisation pol;
        const std::vector<ws::WaterfallRow> *rows;
    };
    std::vector<Side> sides() const;
    int scanCount() const;
    ws::WaterfallRows rowsOf(const QRect &area) const;
    struct Hit
    {
        const Side side;
        int scan;
        double mhz;
    };
    std::optional<Hit> hitAt(QPointF position) const;
    void redrawImage();
    void paintScale(QPainter &painter, const QRect &bar);
    void paintTimes(QPainter &painter, const QRect &area);
    int timesWidth() const;

    Picture picture_;
    ws::View view_;
    QImage image_;
    bool stale_ = true;
    int cursor_ = -1;
};
