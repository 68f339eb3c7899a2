#pragma once

#include "app/windowelements.h"

#include <QObject>
#include <QWidget>

namespace ws::test {

// The element of the window with the objectName `name`, in whichever panel
// it stands (the window keeps its elements private; ws::window::names has
// the names by purpose). A name the window does not have ends the test
// program: every later step would only fail on it.
template <class W>
W *element(QWidget &window, const char *name)
{
    auto *found = window.findChild<W *>(QLatin1String(name));
    if (!found)
        qFatal("the window has no element %s of that kind", name);
    return found;
}

// Where `widget` stands in its window, in the window's coordinates.
inline QRect placeInWindow(const QWidget &widget)
{
    return QRect(widget.mapTo(widget.window(), QPoint(0, 0)), widget.size());
}

} // namespace ws::test
