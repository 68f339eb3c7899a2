#pragma once

#include "core/sound.h"

#include <memory>

namespace ws {

// The system's sound output (QtSoundSink). Qt Multimedia and the two dozen
// libraries it brings (the sound server's, the network's) take longer to
// load and link than the rest of the window takes to appear, and only a
// tone needs them: they come in a module loaded the first time a sink is
// asked for, and stay. Without the module the sink plays nothing and its
// problem() says why.
std::unique_ptr<SoundSink> systemSoundSink();

} // namespace ws
