// --point as a script runs it: the program itself, with no display.
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

class TestPoint : public QObject
{
    Q_OBJECT

private slots:
    void printsTheFiguresOrSaysWhyNot_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");
        const QByteArray tryHelp = "\nTry 'wavesift --help' for more information.\n";
        QTest::newRow("figures") << QStringList{"--point", "19.2E", "--site", "51.48N,0.01W",
                                                "--declination", "2"}
                                 << 0
                                 << QByteArray("azimuth 156.0\xc2\xb0 true\n"
                                               "compass 154.0\xc2\xb0 magnetic\n"
                                               "elevation 28.4\xc2\xb0\n"
                                               "skew 14.7\xc2\xb0 counter-clockwise, seen from "
                                               "behind the dish looking at the satellite\n"
                                               "distance 38,758 km\n")
                                 << QByteArray();
        const QByteArray below = "wavesift: the satellite at 80\xc2\xb0W is below the horizon at "
                                 "51.48\xc2\xb0N 0.01\xc2\xb0W (elevation -2.5\xc2\xb0)\n";
        QTest::newRow("below, value apart")
            << QStringList{"--point", "-80", "--site", "51.48N,0.01W"} << 1 << QByteArray()
            << below;
        QTest::newRow("below, value joined")
            << QStringList{"--point=-80", "--site", "51.48N,0.01W"} << 1 << QByteArray() << below;
        QTest::newRow("bad latitude")
            << QStringList{"--point", "19.2E", "--site", "91N,0.01W"} << 2 << QByteArray()
            << "wavesift: the site's latitude \"91N\" is past 90\xc2\xb0" + tryHelp;
        QTest::newRow("no site") << QStringList{"--point", "19.2E"} << 2 << QByteArray()
                                 << "wavesift: --point needs --site LAT,LON, where the dish "
                                    "stands" + tryHelp;
    }

    void printsTheFiguresOrSaysWhyNot()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, err);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LC_ALL"})
            environment.remove(QLatin1String(name));
        // Text in UTF-8, whatever the desktop's numbers.
        environment.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
        environment.insert(QStringLiteral("LC_NUMERIC"), QStringLiteral("de_DE.UTF-8"));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(WS_WAVESIFT_BINARY), arguments);
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.readAllStandardError(), err);
        QCOMPARE(program.readAllStandardOutput(), out);
        QCOMPARE(program.exitCode(), exitCode);
    }
};

#include "tst_point.moc"
#include "support/testrunner.h"
WS_TEST_CLASS(TestPoint)
