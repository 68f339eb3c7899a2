// --report as a script runs it: the program itself, with no display.
#include "scan/scantext.h"
#include "support/mapentries.h"
#include "wording/messages.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestReport : public QObject
{
    Q_OBJECT

private slots:
    void writesOneRowPerEntryInUtf8OrNamesTheFileThatDidNotLoad()
    {
        using namespace ws::test;
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            qunsetenv(name);
        QTemporaryDir dir;
        ScanShape flat;
        flat.level = [](bool, double) { return 10.0; };
        const QString newest = writeFile(dir, "newest.scn", scanText({}));
        const QString reference = writeFile(dir, "reference.scn", scanText(flat));
        const QByteArray mapBytes = mapFileLine("Caf\xe9", "MPEG2", "10.800", "H") +
                                    mapFileLine("Outside", "MPEG2", "13.000", "V");
        const QString map = writeFile(dir, "sat.map", mapBytes);
        QProcess program;
        const auto report = [&](const QString &mapPath, const QString &scanPath = {}) {
            const QString first = scanPath.isEmpty() ? newest : scanPath;
            program.start(QStringLiteral(WS_WAVESIFT_BINARY), {"--report", first, reference, mapPath});
            return program.waitForFinished(60000) && program.exitStatus() == QProcess::NormalExit
                       ? program.exitCode() : -1;
        };

        QCOMPARE(report(map), 0);
        // 10798 to 10802 lie at 4, 5, 6, 0 and 1 of the newest scan's
        // 7-MHz pattern above 10.
        QCOMPARE(program.readAllStandardOutput(),
                 QByteArray("frequency_mhz,polarisation,name,type,newest,reference,change\n"
                            "10800,H,Caf\xc3\xa9,MPEG2,13.2,10.0,3.2\n"
                            "13000,V,Outside,MPEG2,,,\n"));
        QCOMPARE(program.readAllStandardError(), QByteArray());

        const QString longMap =
            writeFile(dir, "long.map", mapFileLine("A", "DATA", "11.000", "H").repeated(1500));
        QCOMPARE(report(longMap), 0);
        QCOMPARE(program.readAllStandardOutput().count('\n'), 1 + 1500);

        const QString missing = dir.filePath(QStringLiteral("missing.map"));
        QCOMPARE(report(missing), 1);
        QCOMPARE(program.readAllStandardOutput(), QByteArray());
        QCOMPARE(program.readAllStandardError(),
                 "wavesift: " + missing.toLocal8Bit() + ": No such file or directory (" +
                     ws::messages::cancelled().toLatin1() + ")\n");

        // A map where a scan goes, and a file without a frequency where the map goes.
        QCOMPARE(report(newest, map), 1);
        QCOMPARE(program.readAllStandardError(),
                 "wavesift: " +
                     ws::messages::scanNotLoadedDetail(map, mapBytes, {}).toLocal8Bit() +
                     " (" + ws::messages::cancelled().toLatin1() + ")\n" +
                     "wavesift: " + ws::messages::mapWithoutFrequency(newest).toLocal8Bit() +
                     "\n");
    }

    void relativeNamesThatAreNotUtf8KeepTheirBytes()
    {
#ifdef Q_OS_UNIX
        // The shell hands the names over byte for byte, as QProcess cannot.
        // Both scans load; the map is missing.
        QTemporaryDir dir;
        ws::test::writeFile(dir, "n", ws::test::scanText({}));
        QProcess program;
        program.setWorkingDirectory(dir.path());
        const QString script = "n=$(printf 'n\\374'); mv n \"$n\" && \"$0\" --report \"$n\" \"$n\" "
                               "\"$(printf 'm\\374')\"; s=$?; rm -f \"$n\"; exit $s";
        program.start("/bin/sh", {"-c", script, QStringLiteral(WS_WAVESIFT_BINARY)});
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitCode(), 1);
        QCOMPARE(program.readAllStandardError(),
                 "wavesift: " + QFile::encodeName(QDir(dir.path()).canonicalPath()) +
                     "/m\xfc: No such file or directory (" + ws::messages::cancelled().toLatin1() +
                     ")\n");
#else
        QSKIP("Windows names are text");
#endif
    }
};

#include "support/testrunner.h"
WS_TEST_CLASS(TestReport)
#include "tst_report.moc"
