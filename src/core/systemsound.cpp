#include "core/systemsound.h"

#include "core/filenames.h"

#include <QCoreApplication>
#include <QLibrary>

namespace ws {

namespace {

// Stands in for the sound output when its module cannot be loaded.
class MissingSoundSink : public SoundSink
{
public:
    explicit MissingSoundSink(QString why) : why_(std::move(why)) {}
    bool start(ToneGenerator &) override { return false; }
    void stop() override {}
    QString problem() const override { return why_; }

private:
    QString why_;
};

// The module that was built with the program, or the installed one for a
// program that runs from where the install put it.
QString modulePath()
{
    if (isInstalledFolder(QCoreApplication::applicationDirPath(),
                          QStringLiteral(WAVESIFT_INSTALL_BINDIR)))
        return QStringLiteral(WAVESIFT_SOUND_MODULE_INSTALLED);
    return QStringLiteral(WAVESIFT_SOUND_MODULE_BUILT);
}

using NewSink = SoundSink *(*)();

} // namespace

std::unique_ptr<SoundSink> systemSoundSink()
{
    // Loaded once and never unloaded: the sinks it made run its code.
    static QLibrary module(modulePath());
    static const NewSink newSink =
        reinterpret_cast<NewSink>(module.resolve("wavesift_new_sound_sink"));
    if (!newSink)
        return std::make_unique<MissingSoundSink>(
            QStringLiteral("the sound module did not load (%1)").arg(module.errorString()));
    return std::unique_ptr<SoundSink>(newSink());
}

} // namespace ws
