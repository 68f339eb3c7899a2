#include "cli/commandline.h"
#include "wording/windowsize.h"

#include <QTest>

using ws::cli::CommandLine;
using ws::cli::Mode;

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void filesLoadInOrder();
    void checkTakesFrequencyPolarisationAndSettings();
    void fullScanTakesMapAndOutput();
    void checkTakesTheFrequencyAsTheMapWritesIt_data();
    void checkTakesTheFrequencyAsTheMapWritesIt();
    void badArgumentsAreRefusedWithAReason_data();
    void badArgumentsAreRefusedWithAReason();
    void eachModeRefusesTheOptionsItDoesNotUse_data();
    void eachModeRefusesTheOptionsItDoesNotUse();
    void valuesAtTheEndsOfTheirRangesAreTaken();
    void everyModeHasItsFormInTheUsage();
    void dishTakesWhatAWatchTakesAndAMap();
    void exportTakesASizeFromTheDefaultUp_data();
    void exportTakesASizeFromTheDefaultUp();
};

namespace {
CommandLine parse(QStringList arguments)
{
    arguments.prepend(QStringLiteral("wavesift"));
    return ws::cli::parseCommandLine(arguments);
}
} // namespace

void TestCommandLine::filesLoadInOrder()
{
    CommandLine line = parse({"new.scn", "old.scn", "sat.map"});
    QCOMPARE(line.mode, Mode::Window);
    QCOMPARE(line.files, QStringList({"new.scn", "old.scn", "sat.map"}));

    line = parse({"--export", "shot.png", "new.scn"});
    QCOMPARE(line.mode, Mode::Export);
    QCOMPARE(line.exportPath, QStringLiteral("shot.png"));
    QCOMPARE(line.files, QStringList{"new.scn"});
    QVERIFY(!line.anyOrder);

    // A file manager's files, however many: the window says what does not fit.
    line = parse({"--any-order", "a", "b.scn", "c.scn", "d.scn"});
    QCOMPARE(line.mode, Mode::Window);
    QVERIFY(line.anyOrder);
    QCOMPARE(line.files.size(), 4);

    // Qt's own options are left to the application object.
    line = parse({"-platform", "offscreen", "-style", "Fusion", "new.scn"});
    QCOMPARE(line.mode, Mode::Window);
    QCOMPARE(line.files, QStringList{"new.scn"});
    QCOMPARE(parse({"--export", "shot.png", "-platform", "xcb", "new.scn"}).mode, Mode::Export);

    QVERIFY(line.follow && !parse({"--no-follow", "new.scn"}).follow);

    // Help and version win over whatever else is given.
    QCOMPARE(parse({"new.scn", "--help"}).mode, Mode::Help);
    QCOMPARE(parse({"-v"}).mode, Mode::Version);

    // Receiver settings without a check are for the window's boxes.
    line = parse({"--port", "ttyUSB0", "--timeout", "5", "new.scn"});
    QCOMPARE(line.mode, Mode::Window);
    QCOMPARE(line.receiver.port, QStringLiteral("ttyUSB0"));
    QCOMPARE(line.receiver.timeout, QStringLiteral("5"));
    QVERIFY(ws::cli::usageText().contains(QLatin1String("Exit codes:")));
}

void TestCommandLine::checkTakesFrequencyPolarisationAndSettings()
{
    CommandLine line = parse({"--check", "11778h", "--port", "/dev/pts/3"});
    QCOMPARE(line.mode, Mode::Check);
    QCOMPARE(line.checkFrequency, QStringLiteral("11778"));
    QVERIFY(!line.checkVertical);
    QCOMPARE(line.receiver.port, QStringLiteral("/dev/pts/3"));
    QCOMPARE(line.receiver.timeout, QStringLiteral("10"));
    QCOMPARE(line.receiver.lnbPower, QStringLiteral("1"));
    QCOMPARE(line.receiver.diseqc, QStringLiteral("0"));

    // A fraction rounds half to even, as a click does.
    line = parse({"--check", "11778.5V", "--port", "2", "--timeout", "2.5", "--power", "0",
                  "--diseqc", "3"});
    QCOMPARE(line.checkFrequency, QStringLiteral("11778"));
    QVERIFY(line.checkVertical);
    QCOMPARE(line.receiver.timeout, QStringLiteral("2.5"));
    QCOMPARE(line.receiver.lnbPower, QStringLiteral("0"));
    QCOMPARE(line.receiver.diseqc, QStringLiteral("3"));
    QCOMPARE(parse({"--check", "11779.5v", "--port", "2"}).checkFrequency, QStringLiteral("11780"));
}

void TestCommandLine::fullScanTakesMapAndOutput()
{
    CommandLine line = parse({"--full-scan", "sat.map", "--port", "ttyUSB0"});
    QCOMPARE(line.mode, Mode::FullScan);
    QCOMPARE(line.mapPath, QStringLiteral("sat.map"));
    QCOMPARE(line.outputPath, QStringLiteral("results.txt"));
    line = parse({"--full-scan", "sat.map", "--port", "2", "--output", "/tmp/r.txt"});
    QCOMPARE(line.outputPath, QStringLiteral("/tmp/r.txt"));

    line = parse({"--report", "new.scn", "old.scn", "sat.map"});
    QCOMPARE(line.mode, Mode::Report);
    QCOMPARE(line.files, QStringList({"new.scn", "old.scn", "sat.map"}));

    // Any number of folders and scans for a history.
    line = parse({"--history", "week", "a.scn", "b.scn", "c.scn", "--map", "sat.map"});
    QCOMPARE(line.mode, Mode::History);
    QCOMPARE(line.files, QStringList({"week", "a.scn", "b.scn", "c.scn"}));
    QCOMPARE(line.mapPath, QStringLiteral("sat.map"));
    line = parse({"--history-report", "sat.map", "week", "x.scn", "y.scn", "z.scn"});
    QCOMPARE(line.mode, Mode::HistoryReport);
    QCOMPARE(line.mapPath, QStringLiteral("sat.map"));
    QCOMPARE(line.files.size(), 4);
}

void TestCommandLine::checkTakesTheFrequencyAsTheMapWritesIt_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("mhz");
    QTest::newRow("GHz as listed") << "11.778H" << "11778";
    QTest::newRow("GHz, one digit") << "2.5v" << "2500";
    QTest::newRow("half up to even") << "2.0035h" << "2004";
    QTest::newRow("half down to even") << "2.0025h" << "2002";
    QTest::newRow("past a half") << "2.00250001h" << "2003";
    QTest::newRow("MHz, three digits") << "117.5h" << "118";
    QTest::newRow("highest") << "32.7674V" << "32767";
}

void TestCommandLine::checkTakesTheFrequencyAsTheMapWritesIt()
{
    QFETCH(QString, typed);
    QFETCH(QString, mhz);
    QCOMPARE(parse({"--check", typed, "--port", "2"}).checkFrequency, mhz);
}

void TestCommandLine::badArgumentsAreRefusedWithAReason_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("unknown option") << QStringList{"--zoom"};
    QTest::newRow("missing value") << QStringList{"--export"};
    QTest::newRow("four files") << QStringList{"a", "b", "c", "d"};
    QTest::newRow("empty file name") << QStringList{"", "b"};
    QTest::newRow("check without port") << QStringList{"--check", "11778h"};
    QTest::newRow("check and full scan")
        << QStringList{"--check", "11778h", "--full-scan", "m", "--port", "2"};
    QTest::newRow("no polarisation") << QStringList{"--check", "11778", "--port", "2"};
    QTest::newRow("not a number") << QStringList{"--check", "abch", "--port", "2"};
    QTest::newRow("beyond 16 bits") << QStringList{"--check", "40000h", "--port", "2"};
    QTest::newRow("power 2") << QStringList{"--check", "11778h", "--port", "2", "--power", "2"};
    QTest::newRow("diseqc 4") << QStringList{"--check", "11778h", "--port", "2", "--diseqc", "4"};
    QTest::newRow("timeout text")
        << QStringList{"--check", "11778h", "--port", "2", "--timeout", "soon"};
    QTest::newRow("bad setting for the window") << QStringList{"--power", "2", "new.scn"};
    for (const char *typed : {"0h", "32767.5h", "0.0004h", "11.h", ".5h", "11,778h", "1e4h"})
        QTest::newRow(typed) << QStringList{"--check", typed, "--port", "2"};
    QTest::newRow("output without full scan")
        << QStringList{"--check", "11778h", "--port", "2", "--output", "r.txt"};
    QTest::newRow("no-follow with a check")
        << QStringList{"--check", "11778h", "--port", "2", "--no-follow"};
    QTest::newRow("any order with a check")
        << QStringList{"--check", "11778h", "--port", "2", "--any-order"};
    QTest::newRow("files with a check") << QStringList{"--check", "11778h", "--port", "2", "a"};
    // The byte 0xFC of a Latin-1 name, as ws::argumentText keeps it: no
    // file can be written under that name.
    const QString latin1 = QStringLiteral("M") + QChar(0xDCFC) + QStringLiteral("nchen");
    QTest::newRow("export name not UTF-8") << QStringList{"--export", latin1 + ".png"};
    QTest::newRow("output name not UTF-8")
        << QStringList{"--full-scan", "m", "--port", "2", "--output", latin1 + ".txt"};
    QTest::newRow("report of two files") << QStringList{"--report", "a", "b"};
    QTest::newRow("report and export")
        << QStringList{"--report", "--export", "x.png", "a", "b", "c"};
    QTest::newRow("report and check")
        << QStringList{"--report", "--check", "11778h", "--port", "2"};
}

void TestCommandLine::badArgumentsAreRefusedWithAReason()
{
    QFETCH(QStringList, arguments);
    const CommandLine line = parse(arguments);
    QCOMPARE(line.mode, Mode::Invalid);
    QVERIFY(!line.error.isEmpty());
}

void TestCommandLine::eachModeRefusesTheOptionsItDoesNotUse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");
    QTest::newRow("report, a setting")
        << QStringList{"--report", "a", "b", "c", "--timeout", "5"}
        << "--timeout goes with the window, --export, --check, --history, --watch, --dish or "
           "--full-scan, not with --report";
    QTest::newRow("report, any order")
        << QStringList{"--report", "--any-order", "a", "b", "c"}
        << "--any-order goes with the window or --export, not with --report";
    QTest::newRow("export, no-follow") << QStringList{"--export", "x.png", "a", "--no-follow"}
                                       << "--no-follow goes with the window or --history, not with "
                                          "--export";
    QTest::newRow("window, size") << QStringList{"-size", "800x600", "a"}
                                  << "-size goes with --export, not with the window";
    QTest::newRow("window, output") << QStringList{"--output", "r.txt", "a"}
                                    << "--output goes with --full-scan, not with the window";
    QTest::newRow("check, a Qt option")
        << QStringList{"-platform", "offscreen", "--check", "11778h", "--port", "2"}
        << "-platform goes with the window, --export or --history, not with --check";
    QTest::newRow("as typed") << QStringList{"-report", "a", "b", "c", "-diseqc=1"}
                              << "-diseqc goes with the window, --export, --check, --history, "
                                 "--watch, --dish or --full-scan, not with -report";
    QTest::newRow("two modes")
        << QStringList{"--full-scan", "m", "--export", "x.png", "--port", "2"}
        << "--export and --full-scan cannot be combined";
    QTest::newRow("check, for") << QStringList{"--check", "11778h", "--port", "2", "--for", "5"}
                                << "--for goes with --watch, not with --check";
    QTest::newRow("level pattern without a group")
        << QStringList{"--watch", "11778h", "--port", "2", "--level-pattern", "Lvl \\d+"}
        << "--level-pattern takes a pattern with a capture group, not \"Lvl \\d+\": it has no "
           "capture group";
    QTest::newRow("level pattern invalid")
        << QStringList{"--watch", "11778h", "--port", "2", "--level-pattern=Lvl (\\d+"}
        << "--level-pattern takes a pattern with a capture group, not \"Lvl (\\d+\": missing "
           "closing parenthesis at offset 8";
    // What rounds to no millisecond would watch for ever.
    for (const char *seconds : {"0", "0.0001", "10000000.1", "1e3", "-1"})
        QTest::newRow(qPrintable(QStringLiteral("watch, for %1").arg(seconds)))
            << QStringList{"--watch", "11778h", "--port", "2", "--for", seconds}
            << QStringLiteral("--for takes seconds, from 0.001 to 10000000, not \"%1\"").arg(seconds);
    QTest::newRow("watch without port")
        << QStringList{"--watch", "11778h"} << "a watch needs --port";
    for (const char *mode : {"--check", "--watch", "--full-scan"}) {
        for (const char *seconds : {"86400.5", "9223372036854776", "soon"})
            QTest::newRow(qPrintable(QStringLiteral("%1, timeout %2").arg(mode, seconds)))
                << QStringList{mode, mode == QLatin1String("--full-scan") ? "m.map" : "11778h",
                               "--port", "2", "--timeout", seconds}
                << QStringLiteral("--timeout takes seconds, from 0 to 86400, not \"%1\"")
                       .arg(seconds);
    }
    QTest::newRow("window, timeout text")
        << QStringList{"--timeout", "soon", "a.scn"} << "--timeout takes seconds, not \"soon\"";
    QTest::newRow("map without history") << QStringList{"--map", "m.map", "a.scn"}
                                         << "--map goes with --history or --dish, not with the "
                                            "window";
    QTest::newRow("history report, no scans") << QStringList{"--history-report", "m.map"}
                                              << "--history-report needs a folder or scan files";
    QTest::newRow("dish, tone") << QStringList{"--dish", "11778h", "--port", "2", "--tone"}
                                << "--tone goes with --watch, not with --dish";
    QTest::newRow("dish, no port") << QStringList{"--dish", "11778h"} << "a check needs --port";
    QTest::newRow("dish, level pattern without a group")
        << QStringList{"--dish", "11778h", "--port", "2", "--level-pattern", "Lvl"}
        << "--level-pattern takes a pattern with a capture group, not \"Lvl\": it has no "
           "capture group";
    QTest::newRow("watch, search limit")
        << QStringList{"--watch", "11778h", "--port", "2", "--search-timeout", "5"}
        << "--search-timeout goes with --check or --full-scan, not with --watch";
}

void TestCommandLine::eachModeRefusesTheOptionsItDoesNotUse()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    const CommandLine line = parse(arguments);
    QCOMPARE(line.mode, Mode::Invalid);
    QCOMPARE(line.error, error);
}

void TestCommandLine::valuesAtTheEndsOfTheirRangesAreTaken()
{
    const CommandLine watch =
        parse({"--watch", "11778h", "--port", "2", "--for", "0.0005", "--timeout", "86400"});
    QCOMPARE(watch.mode, Mode::Watch);
    QCOMPARE(watch.watchForMs, 1);
    QCOMPARE(watch.receiver.timeout, "86400");
    QCOMPARE(parse({"--watch", "11778h", "--port", "2", "--for", "10000000"}).watchForMs,
             10000000000LL);
    QCOMPARE(parse({"--check", "11778h", "--port", "2", "--timeout", "0"}).receiver.timeout, "0");
    // The window's box takes what it always took.
    QCOMPARE(parse({"--timeout", "100000", "a.scn"}).receiver.timeout, "100000");
}

void TestCommandLine::everyModeHasItsFormInTheUsage()
{
    const QString usage = ws::cli::usageText().section(QStringLiteral("\n\n"), 0, 0);
    for (const char *form :
         {"Usage: wavesift [options] [NEWEST.scn [REFERENCE.scn [MAP]]]\n",
          "\n       wavesift --export FILE.png ", "\n       wavesift --check FREQ[h|v] --port PORT ",
          "\n       wavesift --watch FREQ[h|v] --port PORT ",
          "\n       wavesift --full-scan MAP --port PORT ",
          "\n       wavesift --report NEWEST.scn REFERENCE.scn MAP",
          "\n       wavesift --history ", "\n       wavesift --history-report MAP FOLDER|SCAN..."})
        QVERIFY2(usage.contains(QLatin1String(form)), form);
    for (const QString &line : usage.split('\n'))
        QVERIFY2(line.size() <= 79, qPrintable(line));
}

void TestCommandLine::dishTakesWhatAWatchTakesAndAMap()
{
    const CommandLine line = parse({"--dish", "11.778V", "--port", "ttyUSB0", "--map", "a.map",
                                    "--level-pattern", "Q(\\d+)", "--timeout", "3"});
    QCOMPARE(line.mode, Mode::Dish);
    QCOMPARE(line.checkFrequency, QString("11778"));
    QVERIFY(line.checkVertical);
    QCOMPARE(line.mapPath, QString("a.map"));
    QCOMPARE(line.levelPattern, QString("Q(\\d+)"));
    QCOMPARE(line.receiver.port, QString("ttyUSB0"));
    QCOMPARE(line.receiver.timeout, QString("3"));
    QVERIFY(parse({"--watch", "11778h", "--port", "2", "--tone"}).tone);
}

void TestCommandLine::exportTakesASizeFromTheDefaultUp_data()
{
    QTest::addColumn<QStringList>("size"); // what follows --export x.png
    QTest::addColumn<QSize>("pictured");   // invalid: refused
    QTest::newRow("none given") << QStringList{} << ws::window::kSize;
    QTest::newRow("grown") << QStringList{"--size", "1280x800"} << QSize(1280, 800);
    QTest::newRow("capital X, blanks around") << QStringList{"--size", " 1280X800 "}
                                              << QSize(1280, 800);
    QTest::newRow("largest") << QStringList{"--size=8192x8192"} << QSize(8192, 8192);
    QTest::newRow("a pixel too narrow") << QStringList{"--size", "762x800"} << QSize();
    QTest::newRow("a pixel too low") << QStringList{"--size", "800x559"} << QSize();
    QTest::newRow("too wide") << QStringList{"--size", "8193x600"} << QSize();
    QTest::newRow("one side") << QStringList{"--size", "1280"} << QSize();
    QTest::newRow("negative") << QStringList{"--size", "-800x600"} << QSize();
    QTest::newRow("beyond an int") << QStringList{"--size", "99999999999x600"} << QSize();
}

void TestCommandLine::exportTakesASizeFromTheDefaultUp()
{
    QFETCH(QStringList, size);
    QFETCH(QSize, pictured);
    const CommandLine line = parse(QStringList{"--export", "x.png", "a.scn"} + size);
    if (pictured.isValid()) {
        QCOMPARE(line.mode, Mode::Export);
        QCOMPARE(line.exportSize, pictured);
    } else {
        QCOMPARE(line.mode, Mode::Invalid);
        QCOMPARE(line.error, "--size takes WIDTHxHEIGHT from 763x560 to 8192x8192 pixels, not \""
                                 + size.last() + "\"");
    }
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestCommandLine)
#include "tst_commandline.moc"
