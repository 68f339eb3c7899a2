#pragma once

#include "plot/canvas.h"

#include <QColor>

#include <vector>

namespace ws::test {

// Records what the plot and the map strip draw instead of rendering it, so
// that drawing can be tested on the model without a window.
class RecordingCanvas : public Canvas
{
public:
    struct Op
    {
        char kind; // 'm' move, 'l' line to, 'L' line between two points
        double x;  // the end point
        double y;
        QColor color;
        double x1 = 0; // the start of an 'L'
        double y1 = 0;
    };

    void erase() override { ops.clear(); }
    void setScale(double l, double t, double w, double h) override
    {
        left = l;
        top = t;
        width = w;
        height = h;
    }
    void setForeColor(QColor c) override { color = c; }
    void moveTo(double x, double y) override { ops.push_back({'m', x, y, color}); }
    void lineTo(double x, double y) override { ops.push_back({'l', x, y, color}); }
    void line(double x1, double y1, double x2, double y2) override
    {
        ops.push_back({'L', x2, y2, color, x1, y1});
    }

    // The points of the curves drawn in `c`, without whole lines.
    std::vector<Op> of(const QColor &c) const
    {
        std::vector<Op> out;
        for (const Op &op : ops) {
            if (op.color == c && op.kind != 'L')
                out.push_back(op);
        }
        return out;
    }

    std::vector<Op> ops;
    QColor color;
    double left = 0, top = 0, width = 1, height = 1;
};

} // namespace ws::test
