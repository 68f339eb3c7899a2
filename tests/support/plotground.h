#pragma once

#include "app/plotwidget.h"

#include <QColor>

namespace ws::test {

// The ground of a plot, as one that nothing was drawn on shows it.
inline QColor plotGround()
{
    static const QColor ground = [] {
        PlotWidget blank;
        blank.resize(16, 16);
        return blank.surface().pixelColor(0, 0);
    }();
    return ground;
}

} // namespace ws::test
