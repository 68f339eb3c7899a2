#include "core/qtsoundsink.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>

#include <algorithm>

namespace ws {

namespace {

// The generator as a device that never runs dry: the sink reads as much as
// its buffer has room for.
class ToneFeed : public QIODevice
{
public:
    explicit ToneFeed(ToneGenerator &tone) : tone_(tone) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return 4096 + QIODevice::bytesAvailable(); }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const int count = int(std::min<qint64>(maxSize / 2, 1 << 16));
        tone_.render(reinterpret_cast<std::int16_t *>(data), count);
        return qint64(count) * 2;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    ToneGenerator &tone_;
};

} // namespace

QtSoundSink::QtSoundSink() = default;

QtSoundSink::~QtSoundSink()
{
    stop();
}

bool QtSoundSink::start(ToneGenerator &tone)
{
    stop();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        problem_ = QStringLiteral("no sound device");
        return false;
    }
    QAudioFormat format;
    format.setSampleRate(ToneGenerator::kSampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format)) {
        problem_ = QStringLiteral("the sound device takes no 16-bit mono");
        return false;
    }
    feed_ = std::make_unique<ToneFeed>(tone);
    sink_ = std::make_unique<QAudioSink>(device, format);
    // A tenth of a second between a turn of the screw and its sound.
    sink_->setBufferSize(ToneGenerator::kSampleRate / 10 * 2);
    sink_->start(feed_.get());
    if (sink_->error() != QAudio::NoError || sink_->state() == QAudio::StoppedState) {
        problem_ = QStringLiteral("the sound device did not start");
        stop();
        return false;
    }
    problem_.clear();
    return true;
}

void QtSoundSink::stop()
{
    if (sink_)
        sink_->stop();
    sink_.reset();
    feed_.reset();
}

QString QtSoundSink::problem() const
{
    if (sink_ && sink_->error() != QAudio::NoError)
        return QStringLiteral("the sound device failed");
    return problem_;
}

} // namespace ws

// What the program looks up once it loads this module (systemSoundSink).
extern "C" Q_DECL_EXPORT ws::SoundSink *wavesift_new_sound_sink()
{
    return new ws::QtSoundSink;
}
