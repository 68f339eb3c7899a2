#pragma once

#include "app/windowelements.h"

#include <QObject>
#include <QWidget>

namespace ws::test {

// The element of the window with the objectName `name` (the window keeps
// its elements private; ws::window::names has the names by purpose). A name
// the window does not have ends the test program: every later step would
// only fail on it.
template <class W>
W *element(QWidget &window, const char *name)
{
    auto *found = window.findChild<W *>(QLatin1String(name), Qt::FindDirectChildrenOnly);
    if (!found)
        qFatal("the window has no element %s of that kind", name);
    return found;
}

} // namespace ws::test
