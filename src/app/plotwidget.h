#pragma once

#include "plot/canvas.h"

#include <QFrame>
#include <QImage>
#include <QPainter>

#include <memory>
#include <optional>
#include <vector>

// A plot: a sunken frame around a retained drawing surface with a user
// coordinate system (until a scale is set, the area's own pixels). What is
// drawn stays until erase(); paintEvent only copies it to the screen. The
// pointer is reported in user units along x (MHz on the window's plots), and
// a press only tells where and with which button: the window decides.
class PlotWidget : public QFrame, public ws::Canvas
{
    Q_OBJECT

public:
    explicit PlotWidget(QWidget *parent = nullptr);
    ~PlotWidget() override;

    void erase() override;
    void setScale(double left, double top, double width, double height) override;
    double scaleLeft() const { return left_; }
    double scaleTop() const { return top_; }
    double scaleWidth() const;
    double scaleHeight() const;
    void setForeColor(QColor color) override;
    void moveTo(double x, double y) override;
    void lineTo(double x, double y) override;
    void line(double x1, double y1, double x2, double y2) override;

    // The one pair of conversions between user units and pixels of the
    // drawable area (0, 0 at its top-left corner).
    QPointF toPixel(double x, double y) const;
    QPointF toUser(QPointF pixel) const;

    // After a change of scale the pointer lies at another x without having
    // moved: reports it again with pointerMoved, if it is over the plot.
    void reportPointerAgain();

    QSize areaSize() const { return contentsRect().size(); }
    // What the surface holds now, one pixel per logical pixel; for tests.
    QImage surface();

signals:
    // The pointer moved over the plot, frame included: over the frame, x is
    // that of the nearest column of the drawable area.
    void pointerMoved(double x);
    // The left, right or middle button went down on the drawable area, with
    // the keyboard's modifiers at that moment. A press on the frame, the
    // second press of a double-click and the other buttons press nothing.
    void pressed(double x, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    // The wheel turned over the plot, frame included; `fraction` is where the
    // pointer is across the drawable area (0 left, 1 right; over the frame,
    // the nearest edge).
    void wheelTurned(double fraction, QPoint angleDelta, Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QPainter &painter();
    // Draws what line() collected since the colour was set.
    void drawPending();
    // Hands the column run to the pending columns.
    void endColumnRun();
    void endPainting();
    QSize deviceSize() const;
    void ensureSurface();
    std::optional<QPoint> snap(double x, double y) const; // needs ensureSurface() first

    void scheduleUpdate();

    // A widget position as a pixel position of the drawable area, and
    // whether it lies on the area rather than on the frame.
    QPointF areaPosition(QPointF widgetPosition) const;
    bool onArea(QPointF areaPos) const;
    // The user x of a pixel position of the area, as the signals report it.
    double reportedX(QPointF areaPos) const;
    void reportPointer(QPointF widgetPosition);

    QImage image_;
    QSize area_; // the drawable area as of the last ensureSurface()
    bool updatePending_ = false;
    std::unique_ptr<QPainter> painter_;
    std::vector<QLine> pendingLines_;
    std::vector<QPoint> pendingPoints_;
    // Overlapping vertical segments in one pixel column, as a curve of many
    // more points than the plot has columns makes them: the pixels from the
    // lowest to the highest row are those of all of them, and the painter's
    // work per line is most of a curve's drawing.
    struct ColumnRun
    {
        int x;
        int top;
        int bottom;
    };
    std::optional<ColumnRun> columnRun_;
    std::vector<ColumnRun> pendingColumns_;
    QColor foreColor_ = Qt::black;
    double left_ = 0;
    double top_ = 0;
    double width_ = 1;  // only meaningful once scaleSet_
    double height_ = 1;
    bool scaleSet_ = false;
    double currentX_ = 0;
    double currentY_ = 0;
    // Where the pointer was last seen over the plot, in widget pixels.
    std::optional<QPointF> pointer_;
};
