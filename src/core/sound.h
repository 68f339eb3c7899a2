#pragma once

#include <QString>

#include <cstdint>

// The tone a person hears while turning the dish, made here sample by
// sample: no sound file, and nothing that needs a device to be tested.
namespace ws {

// What is to be heard: a pitch, steady or in pips, or nothing.
struct ToneShape
{
    enum class Kind { Silent, Steady, Pips };
    Kind kind = Kind::Silent;
    double hz = 0;

    bool operator==(const ToneShape &o) const { return kind == o.kind && hz == o.hz; }
};

// Makes the samples of a ToneShape, one block after another. A change of
// pitch goes on from the phase reached, and pips start and end on short
// ramps, so that a turn of the screw never clicks.
class ToneGenerator
{
public:
    static constexpr int kSampleRate = 44100;
    // A pip sounds for the first 100 ms of every 500 ms.
    static constexpr int kPipPeriodMs = 500;
    static constexpr int kPipMs = 100;

    void setShape(const ToneShape &shape) { shape_ = shape; }
    const ToneShape &shape() const { return shape_; }
    // The next `count` mono samples at kSampleRate.
    void render(std::int16_t *samples, int count);

private:
    ToneShape shape_;
    double phase_ = 0;     // in turns, 0 to 1
    std::int64_t sample_ = 0; // since the pips began
    double gain_ = 0;      // ramps towards the target
};

// Where the samples go: a sound device, or a test's record. It pulls them
// from the generator as it needs them and never makes its caller wait.
class SoundSink
{
public:
    virtual ~SoundSink() = default;
    // Starts pulling from `tone`, which outlives the sink; false, with
    // problem() saying why, when there is no sound to be had.
    virtual bool start(ToneGenerator &tone) = 0;
    virtual void stop() = 0;
    // Why sound stopped or never started; empty while it plays.
    virtual QString problem() const = 0;
};

} // namespace ws
