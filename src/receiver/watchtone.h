#pragma once

#include "core/sound.h"
#include "receiver/signalwatch.h"

#include <optional>

// What a watch sounds like: the pitch follows the level, so that whoever
// turns the screw need not look, and the rhythm says whether it is locked.
namespace ws::receiver {

// The pitch of `level` on the span of this watch: 300 Hz at the lowest,
// 1200 Hz at the highest, in even steps of pitch between; 600 Hz while the
// span is a single level or none.
double tonePitch(double level, std::optional<double> lowest, std::optional<double> highest);

// The tone for the last reply: steady while locked, pips otherwise, silent
// on no answer; a reply without a level sounds at 800 Hz.
ToneShape watchTone(WatchState state, std::optional<double> level,
                    std::optional<double> lowest, std::optional<double> highest);

inline constexpr double kLowestPitch = 300;
inline constexpr double kHighestPitch = 1200;
inline constexpr double kSpanlessPitch = 600;
inline constexpr double kLevellessPitch = 800;

} // namespace ws::receiver
