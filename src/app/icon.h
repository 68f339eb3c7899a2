#pragma once

#include <QIcon>
#include <QImage>

namespace ws {

// The window's icon, drawn here rather than shipped as a picture: a small
// line chart, a grey dotted grid with a red and a dark blue zig-zag line on
// a transparent background.
QImage drawIcon(int size);
QIcon appIcon();

} // namespace ws
