#pragma once

#include <QSize>

namespace ws::window {

// The window's client area as it opens, the smallest it is made on a screen
// that has room for it. --export pictures it at this size unless told
// another, which is why the command line knows it too.
inline constexpr QSize kSize(763, 560);

} // namespace ws::window
