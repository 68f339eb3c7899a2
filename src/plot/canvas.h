#pragma once

#include <QColor>

namespace ws {

// A retained drawing surface with a user coordinate system: what the plot,
// the map strip and their tests draw on. The window's plot boxes implement
// it; tests may record the calls instead of rendering them.
class Canvas
{
public:
    virtual ~Canvas() = default;

    // Erases everything drawn; the coordinate system stays.
    virtual void erase() = 0;
    // Left edge, top edge, width and height in user units. A positive
    // height grows downward; a negative one upward. Width and height must
    // not be 0.
    virtual void setScale(double left, double top, double width, double height) = 0;

    virtual void setForeColor(QColor color) = 0;
    // Sets the current point without drawing.
    virtual void moveTo(double x, double y) = 0;
    // From the current point to (x, y), which becomes the current point.
    virtual void lineTo(double x, double y) = 0;
    // Between two points; the second becomes the current point.
    virtual void line(double x1, double y1, double x2, double y2) = 0;
};

} // namespace ws
