#pragma once

#include <QColor>

namespace ws {

// A retained drawing surface with a user coordinate system, for the plots
// and the map strip: the window's plot boxes draw, tests record the calls.
class Canvas
{
public:
    virtual ~Canvas() = default;

    virtual void erase() = 0;
    // In user units; a negative height grows upward. Neither extent may be 0.
    virtual void setScale(double left, double top, double width, double height) = 0;

    virtual void setForeColor(QColor color) = 0;
    virtual void moveTo(double x, double y) = 0;
    // From the current point to (x, y), which becomes the current point.
    virtual void lineTo(double x, double y) = 0;
    // Between two points; the second becomes the current point.
    virtual void line(double x1, double y1, double x2, double y2) = 0;
};

} // namespace ws
