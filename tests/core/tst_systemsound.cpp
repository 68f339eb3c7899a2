// The system's sound output comes from a module loaded at the first tone.
#include "core/systemsound.h"

#include <QTest>

class TestSystemSound : public QObject
{
    Q_OBJECT

private slots:
    void theSinkComesFromTheModule();
};

void TestSystemSound::theSinkComesFromTheModule()
{
    // Twice: the second sink comes from the module already loaded.
    for (int sink = 0; sink < 2; ++sink) {
        const std::unique_ptr<ws::SoundSink> sound = ws::systemSoundSink();
        QVERIFY(sound);
        ws::ToneGenerator tone;
        tone.setShape({ws::ToneShape::Kind::Steady, 880});
        // A machine without a sound device says so; either way the sink is
        // Qt Multimedia's, not the stand-in for a module that did not load.
        const bool playing = sound->start(tone);
        QVERIFY2(playing || !sound->problem().contains(QLatin1String("module")),
                 qPrintable(sound->problem()));
        QCOMPARE(playing, sound->problem().isEmpty());
        sound->stop();
    }
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestSystemSound)
#include "tst_systemsound.moc"
