// --export as a script runs it: the program itself, with no display of any
// kind and no platform chosen.
#include "plot/palette.h"
#include "wording/messages.h"
#include "wording/windowsize.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString examples = QStringLiteral(WS_EXAMPLES_DIR "/");

struct Finished
{
    int exitCode = -1;
    QString err;
};

Finished run(const QStringList &arguments, const QString &scaleFactor = QString())
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!scaleFactor.isEmpty())
        environment.insert(QStringLiteral("QT_SCALE_FACTOR"), scaleFactor);
    // No runtime folder either, as for root over ssh: the toolkit remarks on it.
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
        environment.remove(QString::fromLatin1(name));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(WS_WAVESIFT_BINARY), arguments);
    Finished done;
    if (!program.waitForFinished(60000) || program.exitStatus() != QProcess::NormalExit)
        return done;
    done.exitCode = program.exitCode();
    done.err = QString::fromLocal8Bit(program.readAllStandardError());
    return done;
}

// Pixels of exactly `colour` inside `area` of `image`.
int count(const QImage &image, const QRect &area, QColor colour)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += image.pixelColor(x, y) == colour;
    return n;
}

} // namespace

class TestExport : public QObject
{
    Q_OBJECT

private slots:
    void writesThePictureOfTheWindow();
    void writesThePictureAtTheSizeAsked();
    void aFileThatDoesNotLoadWritesNothing();
    void aPictureThatCannotBeWrittenIsTold();
    void badArgumentsTakeTwoLines();
    void aScaledScreenCountsTowardsTheLargestPicture_data();
    void aScaledScreenCountsTowardsTheLargestPicture();
    void refusedTargetsAreLeftAlone_data();
    void refusedTargetsAreLeftAlone();
};

void TestExport::writesThePictureOfTheWindow()
{
    QTemporaryDir dir;
    const QString png = dir.filePath("window.png");
    const Finished done = run({"--export", png, examples + "newest.scn",
                               examples + "reference.scn", examples + "demo.map"});
    QCOMPARE(done.exitCode, 0);
    QVERIFY2(!done.err.contains("wavesift:"), qPrintable(done.err));

    QImage picture;
    QVERIFY(picture.load(png, "png"));
    QCOMPARE(picture.size(), ws::window::kSize);
    // The level plot shows the newest scan's curves, the map strip the
    // map's lines.
    const QRect levelPlot(114, 74, 637, 149), mapStrip(114, 418, 637, 45);
    QVERIFY(count(picture, levelPlot, ws::palette::horizontalNewest) > 500);
    QVERIFY(count(picture, levelPlot, ws::palette::verticalNewest) > 500);
    QVERIFY(count(picture, mapStrip, ws::palette::mapOther) > 0);
}

void TestExport::writesThePictureAtTheSizeAsked()
{
    QTemporaryDir dir;
    const QString png = dir.filePath("window.png");
    const Finished done = run({"--export", png, "--size", "1000x700", examples + "newest.scn",
                               examples + "reference.scn"});
    QCOMPARE(done.exitCode, 0);
    QImage picture;
    QVERIFY(picture.load(png, "png"));
    QCOMPARE(picture.size(), QSize(1000, 700));
    // The level plot is drawn across its whole grown width.
    const QRect rightEnd(114 + 637 + 100, 74, 100, 149);
    QVERIFY(count(picture, rightEnd, ws::palette::horizontalNewest) > 50);
}

void TestExport::aFileThatDoesNotLoadWritesNothing()
{
    QTemporaryDir dir;
    const QString png = dir.filePath("window.png");
    const QString missing = dir.filePath("missing.scn");
    const Finished done = run({"--export", png, examples + "newest.scn", missing});
    QCOMPARE(done.exitCode, 1);
    // Only the program's own line, whatever the toolkit thinks of the setting.
    QCOMPARE(done.err, "wavesift: " + missing + ": No such file or directory (" +
                           ws::messages::cancelled() + ")\n");
    QVERIFY(!QFile::exists(png));
}

void TestExport::aPictureThatCannotBeWrittenIsTold()
{
    QTemporaryDir dir;
    const QString png = dir.filePath("no folder/window.png");
    const Finished done = run({"--export", png, examples + "newest.scn"});
    QCOMPARE(done.exitCode, 1);
    QVERIFY2(done.err.contains("wavesift: " + ws::messages::pictureNotSaved(png, QString())),
             qPrintable(done.err));
    QVERIFY(!QFile::exists(png));
}

void TestExport::badArgumentsTakeTwoLines()
{
    const QString tryHelp = "\nTry 'wavesift --help' for more information.\n";
    QCOMPARE(run({"--bogus"}).err, "wavesift: unknown option '--bogus'" + tryHelp);
    const Finished bad = run({"-check", "11.778x", "--port", "2"});
    QCOMPARE(bad.exitCode, 2);
    QCOMPARE(bad.err, "wavesift: -check takes a frequency from 1 to 32767 MHz, in MHz (11778, "
                      "11778.4) or in GHz (11.778), followed by h or v (11.778H), not \"11.778x\"" +
                          tryHelp);
}

void TestExport::refusedTargetsAreLeftAlone_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    // The scan loaded is a copy of the example named "newest.PNG".
    QTest::newRow("not a PNG name") << "newest.scn" << "the name does not end in .png";
    QTest::newRow("a file being loaded") << "newest.PNG" << "it is one of the files being loaded";
    QTest::newRow("a folder") << "folder.png" << "it is a folder, not an ordinary file";
}

void TestExport::refusedTargetsAreLeftAlone()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QStringList copies{dir.filePath("newest.PNG"), dir.filePath("newest.scn")};
    for (const QString &copy : copies)
        QVERIFY(QFile::copy(examples + "newest.scn", copy));
    QVERIFY(QDir(dir.path()).mkdir("folder.png"));
    const Finished done = run({"--export", dir.filePath(name), copies[0]});
    QCOMPARE(done.exitCode, 1);
    QCOMPARE(done.err, "wavesift: " + ws::messages::pictureNotSaved(dir.filePath(name), reason) +
                           "\n");
    for (const QString &copy : copies)
        QCOMPARE(QFileInfo(copy).size(), QFileInfo(examples + "newest.scn").size());
}

void TestExport::aScaledScreenCountsTowardsTheLargestPicture_data()
{
    QTest::addColumn<QString>("scale");
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("refusal"); // empty: written
    QTest::newRow("the largest, four times") << "4" << "8192x8192"
                                             << "the picture would be 32768×32768 device pixels, "
                                                "more than 8192×8192";
    QTest::newRow("a pixel beyond, twice") << "2" << "4097x800"
                                           << "the picture would be 8194×1600 device pixels, "
                                              "more than 8192×8192";
    QTest::newRow("the default, twice") << "2" << "763x560" << "";
}

void TestExport::aScaledScreenCountsTowardsTheLargestPicture()
{
    QFETCH(QString, scale);
    QFETCH(QString, size);
    QFETCH(QString, refusal);
    QTemporaryDir dir;
    const QString png = dir.filePath("window.png");
    const Finished done = run({"--export", png, "--size", size, examples + "newest.scn"}, scale);
    if (refusal.isEmpty()) {
        QCOMPARE(done.exitCode, 0);
        QVERIFY(QFileInfo::exists(png));
        return;
    }
    QCOMPARE(done.exitCode, 1);
    QCOMPARE(done.err, "wavesift: " + ws::messages::pictureNotSaved(png, refusal) + "\n");
    QVERIFY(!QFileInfo::exists(png));
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestExport)
#include "tst_export.moc"
