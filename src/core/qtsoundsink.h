#pragma once

#include "core/sound.h"

#include <memory>

class QAudioSink;
class QIODevice;

namespace ws {

// The system's default sound output through Qt Multimedia, fed from the
// generator as the device asks. With no device or no sound server it says
// so and plays nothing; it never blocks waiting for one. It lives in a
// module of its own that the program loads at the first tone: see
// core/systemsound.h.
class QtSoundSink : public SoundSink
{
public:
    QtSoundSink();
    ~QtSoundSink() override;

    bool start(ToneGenerator &tone) override;
    void stop() override;
    QString problem() const override;

private:
    std::unique_ptr<QIODevice> feed_;
    std::unique_ptr<QAudioSink> sink_;
    QString problem_;
};

} // namespace ws
