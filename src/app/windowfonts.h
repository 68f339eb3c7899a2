#pragma once

#include <QFont>

namespace ws {

// The window's text font: an 8-point Arial-like face.
QFont windowFont();
// The log box's typewriter font.
QFont logFont();

} // namespace ws
