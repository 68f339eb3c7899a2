// --export as a script runs it: the program itself, with no display of any
// kind and no platform chosen.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString examples = QStringLiteral(WS_EXAMPLES_DIR "/");

struct Finished
{
    int exitCode = -1;
    QString err;
};

Finished run(const QStringList &arguments)
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Nor a runtime folder, as for root over ssh: the toolkit would remark
    // on that.
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
    void aFileThatDoesNotLoadWritesNothing();
    void aPictureThatCannotBeWrittenIsTold();
    void standardErrorHoldsOnlyTheProgramsOwnLines_data();
    void standardErrorHoldsOnlyTheProgramsOwnLines();
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
    QCOMPARE(picture.size(), QSize(763, 560));
    // The level plot shows the newest scan's curves, the map strip the
    // map's lines.
    const QRect levelPlot(114, 74, 637, 149), mapStrip(114, 418, 637, 45);
    QVERIFY(count(picture, levelPlot, QColor(255, 0, 0)) > 500);
    QVERIFY(count(picture, levelPlot, QColor(0, 0, 255)) > 500);
    QVERIFY(count(picture, mapStrip, QColor(0, 255, 0)) > 0);
}

void TestExport::aFileThatDoesNotLoadWritesNothing()
{
    QTemporaryDir dir;
    const QString png = dir.filePath("window.png");
    const QString missing = dir.filePath("missing.scn");
    const Finished done = run({"--export", png, examples + "newest.scn", missing});
    QCOMPARE(done.exitCode, 1);
    QVERIFY2(done.err.contains("wavesift: " + missing + ": Cancel/Abbruch\n"),
             qPrintable(done.err));
    QVERIFY(!QFile::exists(png));
}

void TestExport::aPictureThatCannotBeWrittenIsTold()
{
    QTemporaryDir dir;
    const QString png = dir.filePath("no folder/window.png");
    const Finished done = run({"--export", png, examples + "newest.scn"});
    QCOMPARE(done.exitCode, 1);
    QVERIFY2(done.err.contains("wavesift: Could not save the picture to " + png + ": "),
             qPrintable(done.err));
    QVERIFY(!QFile::exists(png));
}

void TestExport::standardErrorHoldsOnlyTheProgramsOwnLines_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("err");
    const QString tryHelp = QStringLiteral("Try 'wavesift --help' for more information.\n");
    QTest::newRow("unknown option") << QStringList{"--bogus"} << 2
                                    << "wavesift: unknown option '--bogus'\n" + tryHelp;
    QTest::newRow("bad value")
        << QStringList{"--check", "11778h", "--port", "2", "-power", "5"} << 2
        << "wavesift: -power takes 0 or 1, not \"5\"\n" + tryHelp;
    const QString missing = QDir::tempPath() + "/wavesift-no-such-scan.scn";
    QTest::newRow("--export") << QStringList{"--export", QDir::tempPath() + "/never.png", missing}
                              << 1 << "wavesift: " + missing + ": Cancel/Abbruch\n";
}

void TestExport::standardErrorHoldsOnlyTheProgramsOwnLines()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, err);
    const Finished done = run(arguments);
    QCOMPARE(done.exitCode, exitCode);
    QCOMPARE(done.err, err);
}

QTEST_MAIN(TestExport)
#include "tst_export.moc"
