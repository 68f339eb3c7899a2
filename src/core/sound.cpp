#include "core/sound.h"

#include <cmath>

namespace ws {

namespace {

constexpr double kLoudness = 0.3 * 32767;
// A pip's ends take 5 ms: short enough for a crisp pip, long enough not to
// click.
constexpr double kRampStep = 1.0 / (0.005 * ToneGenerator::kSampleRate);
constexpr double kTwoPi = 6.283185307179586;

} // namespace

void ToneGenerator::render(std::int16_t *samples, int count)
{
    constexpr std::int64_t period = std::int64_t(kSampleRate) * kPipPeriodMs / 1000;
    constexpr std::int64_t on = std::int64_t(kSampleRate) * kPipMs / 1000;
    const double step = shape_.hz / kSampleRate;
    for (int i = 0; i < count; ++i) {
        double target = 0;
        if (shape_.kind == ToneShape::Kind::Steady)
            target = 1;
        else if (shape_.kind == ToneShape::Kind::Pips)
            target = sample_ % period < on ? 1 : 0;
        if (gain_ < target)
            gain_ = std::min(target, gain_ + kRampStep);
        else if (gain_ > target)
            gain_ = std::max(target, gain_ - kRampStep);
        samples[i] = std::int16_t(std::lround(kLoudness * gain_ * std::sin(kTwoPi * phase_)));
        phase_ += step;
        phase_ -= std::floor(phase_);
        // A steady tone that turns into pips starts with a whole pip.
        sample_ = shape_.kind == ToneShape::Kind::Pips ? sample_ + 1 : 0;
    }
}

} // namespace ws
