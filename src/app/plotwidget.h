#pragma once

#include "canvas.h"

#include <QFrame>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <memory>
#include <optional>

// A plot box: a sunken frame around a retained drawing surface with a user
// coordinate system. What is drawn stays until cls(); paintEvent only copies
// the surface to the screen. Mouse events are reported in user units, so a
// click only tells the window where it happened; the window decides what it
// means.
//
// Until someone sets a scale the coordinate system is the drawable area's
// own pixels: left 0, top 0, width and height of the area inside the border.
class PlotWidget : public QFrame, public ws::Canvas
{
    Q_OBJECT

public:
    explicit PlotWidget(QWidget *parent = nullptr);
    ~PlotWidget() override;

    void cls() override;
    void setScale(double left, double top, double width, double height) override;
    double scaleLeft() const override { return left_; }
    double scaleTop() const override { return top_; }
    double scaleWidth() const override;
    double scaleHeight() const override;
    void setForeColor(QColor color) override;
    void moveTo(double x, double y) override;
    void lineTo(double x, double y) override;
    void line(double x1, double y1, double x2, double y2) override;

    // The one pair of conversions between user units and pixels of the
    // drawable area (0, 0 at its top-left corner).
    QPointF toPixel(double x, double y) const;
    QPointF toUser(QPointF pixel) const;

    // The drawable area in pixels, inside the border.
    QSize areaSize() const { return contentsRect().size(); }
    // What the surface holds now, one pixel per logical pixel; for tests.
    QImage surface();

    // Mouse button codes and shift states as the handlers receive them.
    static std::int16_t buttonCode(Qt::MouseButtons buttons);
    static std::int16_t shiftState(Qt::KeyboardModifiers modifiers);

signals:
    void mouseMoved(std::int16_t button, std::int16_t shift, float x, float y);
    void mouseDown(std::int16_t button, std::int16_t shift, float x, float y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QPainter &painter();
    void endPainting();
    void ensureSurface();
    std::optional<QPoint> snap(double x, double y) const; // needs ensureSurface() first

    void scheduleUpdate();

    // A widget position as a pixel position of the drawable area, and
    // whether it lies on the area rather than on the frame.
    QPointF areaPosition(QPointF widgetPosition) const;
    bool onArea(QPointF areaPos) const;

    QImage image_;
    QSize area_; // the drawable area as of the last ensureSurface()
    bool updatePending_ = false;
    std::unique_ptr<QPainter> painter_;
    QColor foreColor_ = Qt::black;
    double left_ = 0;
    double top_ = 0;
    double width_ = 1;  // only meaningful once scaleSet_
    double height_ = 1;
    bool scaleSet_ = false;
    double currentX_ = 0;
    double currentY_ = 0;
};
