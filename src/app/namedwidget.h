#pragma once

#include <QString>

namespace ws {

// A widget made with the objectName that tests and automation find it by.
template <class W>
W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace ws
