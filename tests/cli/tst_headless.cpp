// The checks without a window, on the fake line and the virtual clock: what
// decides the exit code, what goes to which stream, and what a full scan
// leaves on the disk when something goes wrong; and the line that stands on
// standard error for a message box.

#include "cli/headless.h"
#include "cli/messageline.h"
#include "fullscan/fullscan.h"
#include "core/savefile.h"
#include "core/texts.h"
#include "receiver/checklog.h"
#include "receiver/protocol.h"
#include "support/checklogpattern.h"
#include "support/fakes.h"
#include "support/mapentries.h"
#include "support/resultsmessages.h"
#include "wording/messages.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace ws::cli;
using ws::receiver::checkingLine;
using ws::receiver::Polarisation;

namespace {

const QByteArray kLocked = "00 Locked   Lvl 75\r\n";
const QByteArray kUnlocked = "01 No Lock  Lvl 12\r\n";

// A receiver on the fake line that locks on every frequency but those it
// is deaf to, and answers a table search with `search` at once.
struct Rig
{
    Rig()
    {
        serial.clock = &clock;
        clock.step = 1;
        serial.onWrite = [this](const QByteArray &bytes) {
            if (bytes.startsWith('T'))
                tuned = bytes.mid(1, 5);
            else if (bytes == "X")
                serial.feed(deaf.contains(tuned) ? kUnlocked : lockReply);
            else if (bytes == "S")
                serial.feed(search);
        };
    }

    int check(const QString &target, const QString &timeout = "10")
    {
        CommandLine line = parseCommandLine(
            {"wavesift", "--check", target, "--port", "/dev/ttyUSB0", "--timeout", timeout});
        return runCheck(line, env);
    }

    int watch(const QStringList &more)
    {
        return runWatch(parseCommandLine(QStringList{"wavesift", "--watch", "11.778h", "--port",
                                                     "/dev/ttyUSB0"} +
                                         more),
                        env);
    }

    int fullScan(const QString &map, const QString &output)
    {
        const CommandLine line = parseCommandLine(
            {"wavesift", "--full-scan", map, "--port", "/dev/ttyUSB0", "--output", output});
        return runFullScan(line, env);
    }

    QString date() const { return ws::generalDateText(clock.wallClock); }
    QStringList errLines() const { return QString::fromLocal8Bit(err).split('\n', Qt::SkipEmptyParts); }

    ws::test::FakeClock clock;
    ws::test::FakeSerial serial;
    QByteArray tuned;
    QByteArrayList deaf;
    QByteArray lockReply = kLocked;
    QByteArray search = "PAT found\r\nReady\r\n";
    bool stop = false;
    QByteArray out;
    QByteArray err;
    QTemporaryDir data;
    RunEnvironment env{serial,
                    clock,
                    [this](const QByteArray &b) { out += b; },
                    [this](const QByteArray &b) { err += b; },
                    [this] { return stop; },
                    [this](const std::function<bool()> &ended) { clock.runTimers(ended); },
                    {},
                    data.filePath("Wavesift"),
                    QString(),
                    {}};
};

QString writeMap(const QTemporaryDir &dir, const QByteArray &bytes)
{
    const QString path = dir.filePath("test.map");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

// Three rows, two of them MPEG.
QByteArray threeRowMap()
{
    using ws::test::mapFileLine;
    return mapFileLine("One", "mpeg2", "11.012", "h") + mapFileLine("Radio", "dab", "11.100", "v") +
           mapFileLine("Two", "MPEG4", "11.479", "V");
}

} // namespace

class TestHeadless : public QObject
{
    Q_OBJECT

private slots:
    void checkLogsToStandardOutputByteForByte();
    void checkExitCodeNeedsLockAndReady_data();
    void checkExitCodeNeedsLockAndReady();
    void searchTextGoesOutAsItComes();
    void fullScanSavesReportsAndSummarises();
    void fullScanSummaryNamesWhatWasNotConfirmedOrSilent();
    void fullScanExitCodes_data();
    void fullScanExitCodes();
    void onlyTheDefaultOutputKeepsAPastCopy();
    void unreadableMapChecksAndWritesNothing();
    void groundIsCheckedBeforeTheFirstTune_data();
    void groundIsCheckedBeforeTheFirstTune();
    void messageBoxLines_data();
    void messageBoxLines();
    void watchWritesALinePerReplyAndSumsUp();
    void watchLineEscapesAllButPlainText_data();
    void watchLineEscapesAllButPlainText();
};

void TestHeadless::checkLogsToStandardOutputByteForByte()
{
    Rig rig;
    rig.search = "SDT found: Caf\xe9 TV\r\nReady\r\n";
    QCOMPARE(rig.check("11778.5v"), exitcode::success);
    QCOMPARE(rig.serial.written.value(1), QByteArray("T11778000005110"));
    // The receiver's byte 0xE9 comes out as that one byte, CR LF as CR LF.
    QCOMPARE(rig.out, (checkingLine("11778", Polarisation::Vertical) +
                       ws::receiver::lockedLine(1, QLatin1String(kLocked), rig.clock.wallClock))
                              .toLatin1() +
                          "SDT found: Caf\xe9 TV\r\nReady\r\n\r\n");
    QCOMPARE(rig.err, QByteArray());

    // A port failure goes into the log and to the user.
    Rig failing;
    failing.serial.failOpen = true;
    QCOMPARE(failing.check("11778h"), exitcode::portFailed);
    const QString message = ws::receiver::openFailedMessage(
        ws::receiver::portFor("/dev/ttyUSB0").label, "No such file or directory");
    QCOMPARE(failing.out,
             (checkingLine("11778", Polarisation::Horizontal) + message).toLatin1() + "\r\n");
    QCOMPARE(failing.errLines(), QStringList{message});
}

void TestHeadless::checkExitCodeNeedsLockAndReady_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QByteArray>("search");
    QTest::addColumn<int>("exit");
    QTest::newRow("lock, Ready") << kLocked << QByteArray("Ready\r\n") << exitcode::success;
    QTest::newRow("lock, No Signal") << kLocked << QByteArray("No Signal\r\n") << exitcode::noSignal;
    QTest::newRow("lock, No Signal before Ready")
        << kLocked << QByteArray("No Signal\r\nReady\r\n") << exitcode::noSignal;
    QTest::newRow("lock, tables but the search times out")
        << kLocked << QByteArray("PAT found\r\n") << exitcode::noSignal;
    QTest::newRow("Aut reply searched, Ready")
        << QByteArray("00 Locked Aut Lvl 75\r\n") << QByteArray("Ready\r\n") << exitcode::noSignal;
    QTest::newRow("no lock") << kUnlocked << QByteArray("Ready\r\n") << exitcode::noSignal;
}

void TestHeadless::checkExitCodeNeedsLockAndReady()
{
    QFETCH(QByteArray, reply);
    QFETCH(QByteArray, search);
    QFETCH(int, exit);
    Rig rig;
    rig.lockReply = reply;
    rig.search = search;
    QCOMPARE(rig.check("11778h", "3"), exit);
    QVERIFY(rig.out.startsWith(checkingLine("11778", Polarisation::Horizontal).toLatin1()));
    const QByteArray unconfirmed =
        ws::receiver::unconfirmedLockMessage(ws::receiver::portFor("/dev/ttyUSB0").label)
            .toLatin1() +
        "\n";
    QCOMPARE(rig.err, reply.contains("Aut") ? unconfirmed : QByteArray());
}

void TestHeadless::searchTextGoesOutAsItComes()
{
    Rig rig;
    rig.search = "PAT found\r\n";
    QByteArrayList pieces;
    rig.env.out = [&pieces](const QByteArray &b) { pieces << b; };
    rig.clock.onReading = [&](ws::test::FakeClock &) {
        if (rig.serial.written.endsWith("S") && pieces.endsWith("PAT found\r\n"))
            rig.serial.feed("Ready\r\n");
    };
    QCOMPARE(rig.check("11778h"), exitcode::success);
    QCOMPARE(pieces.mid(pieces.size() - 3),
             QByteArrayList({"PAT found\r\n", "Ready\r\n", "\r\n"}));
}

void TestHeadless::fullScanSavesReportsAndSummarises()
{
    QTemporaryDir dir;
    const QString map = writeMap(dir, threeRowMap());
    QVERIFY(!map.isEmpty());
    const QString output = dir.filePath("scan.txt");

    Rig rig;
    rig.deaf = {"11479"};
    QCOMPARE(rig.fullScan(map, output), exitcode::success);

    // The file holds exactly the logs that went to standard output, then
    // one CR LF.
    QCOMPARE(readAll(output), rig.out + "\r\n");
    QVERIFY(QRegularExpression("\\A" + ws::test::lockedLogPattern("11012", Polarisation::Horizontal,
                                                                  QLatin1String(kLocked), "\\d+"))
                .match(QLatin1String(rig.out))
                .hasMatch());
    QVERIFY(rig.out.endsWith((checkingLine("11479", Polarisation::Vertical) +
                              ws::receiver::nothingFoundLines("10"))
                                 .toLatin1()));
    QCOMPARE(rig.errLines(),
             QStringList({"1/2 11012h", "2/2 11479v",
                          ws::test::savedResultsMessage(QDir::toNativeSeparators(output)),
                          ws::summaryLine({2, 2, 1, 1, 0, 0})}));
}

void TestHeadless::fullScanSummaryNamesWhatWasNotConfirmedOrSilent()
{
    QTemporaryDir dir;
    using ws::test::mapFileLine;
    const QString map = writeMap(dir, mapFileLine("One", "mpeg2", "11.012", "h") +
                                          mapFileLine("Two", "mpeg2", "11.479", "v"));
    Rig rig;
    // The first says "Aut" to every request; after it the line goes quiet,
    // which ends the scan.
    rig.serial.onWrite = [&](const QByteArray &bytes) {
        if (bytes == "X" && rig.serial.written.count("T11012000005010") == 1 &&
            !rig.serial.written.contains("T11479000005110"))
            rig.serial.feed("00 Locked Aut Lvl 70\r\n");
    };
    rig.fullScan(map, dir.filePath("scan.txt"));
    QCOMPARE(rig.errLines().last(),
             ws::summaryLine({2, 2, 0, 0, 1, 1}));
}

void TestHeadless::fullScanExitCodes_data()
{
    QTest::addColumn<bool>("stop");
    QTest::addColumn<int>("portFailsAt"); // the MPEG entry; 0 for none
    QTest::addColumn<bool>("unwritable");
    QTest::addColumn<int>("exit");
    QTest::addColumn<int>("checked");
    QTest::newRow("stopped during the first entry") << true << 0 << false << exitcode::noSignal << 1;
    QTest::newRow("port fails at the first entry") << false << 1 << false << exitcode::portFailed << 1;
    QTest::newRow("port fails at the second entry") << false << 2 << false << exitcode::portFailed << 2;
    QTest::newRow("port failure, stop") << true << 1 << false << exitcode::portFailed << 1;
    QTest::newRow("results cannot be saved") << false << 0 << true << exitcode::notSaved << 2;
    QTest::newRow("cannot be saved, port failure") << false << 2 << true << exitcode::notSaved << 2;
}

void TestHeadless::fullScanExitCodes()
{
    QFETCH(bool, stop);
    QFETCH(int, portFailsAt);
    QFETCH(bool, unwritable);
    QFETCH(int, exit);
    QFETCH(int, checked);
    QTemporaryDir dir;
    const QString map = writeMap(dir, threeRowMap());
    QVERIFY(!map.isEmpty());
    QVERIFY(QDir(dir.path()).mkdir("out"));
    const QString output = dir.filePath("out/scan.txt");
    QVERIFY(ws::saveWhole(output, "yesterday").isEmpty());

    Rig rig;
    // The folder was there when the scan began, and is gone by its end.
    rig.env.out = [&rig, &dir, unwritable](const QByteArray &bytes) {
        rig.out += bytes;
        if (unwritable)
            QDir(dir.filePath("out")).removeRecursively();
    };
    // Once the first entry has the port, the next open may fail.
    const auto receiver = rig.serial.onWrite;
    rig.serial.onWrite = [&rig, receiver, portFailsAt](const QByteArray &bytes) {
        receiver(bytes);
        rig.serial.failOpen = portFailsAt == 2;
    };
    rig.serial.failOpen = portFailsAt == 1;
    // The stop arrives once the first entry is under way.
    int asked = 0;
    rig.env.stopRequested = [&asked, stop] { return stop && asked++ > 0; };
    QCOMPARE(rig.fullScan(map, output), exit);

    QCOMPARE(rig.serial.opens, checked);
    const QStringList err = rig.errLines();
    const QString shown = QDir::toNativeSeparators(output);
    if (unwritable) {
        QVERIFY(!QFile::exists(output));
        QCOMPARE(err.filter(ws::test::unsavedResultsMessage(shown)).size(), 1);
    } else if (portFailsAt == 1) {
        // Nothing was checked: yesterday's results stay.
        QCOMPARE(readAll(output), QByteArray("yesterday"));
        QVERIFY(err.contains(shown + " left as it was"));
    } else {
        // What was checked is saved.
        QCOMPARE(readAll(output), rig.out + "\r\n");
        QVERIFY(err.contains(ws::test::savedResultsMessage(shown)));
    }
    QCOMPARE(rig.out.count(checkingLine("11012", Polarisation::Horizontal).toLatin1()) +
                 rig.out.count(checkingLine("11479", Polarisation::Vertical).toLatin1()),
             checked);
    const QString checkedSoMany = ws::summaryLine({2, checked, 0, 0, 0, 0}).section(':', 0, 0);
    QVERIFY2(err.constLast().startsWith(checkedSoMany),
             qPrintable(err.constLast()));
    QCOMPARE(err.contains("Stopping after this check; the results so far will be saved. A second "
                          "Ctrl+C ends the program at once without saving"),
             stop && portFailsAt == 0);
    QCOMPARE(err.filter(ws::receiver::openFailedMessage("", "")).size(), portFailsAt > 0 ? 1 : 0);
}

void TestHeadless::onlyTheDefaultOutputKeepsAPastCopy()
{
    QTemporaryDir dir;
    const QString map = writeMap(dir, threeRowMap());
    const QString started = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    Rig rig;
    const int code = runFullScan(
        parseCommandLine({"wavesift", "--full-scan", map, "--port", "/dev/ttyUSB0"}), rig.env);
    QDir::setCurrent(started);
    QCOMPARE(code, exitcode::success);
    const QString past = rig.data.filePath("Wavesift/results");
    QCOMPARE(readAll(past + "/2026-12-07T10-30-15.txt"), readAll(dir.filePath("results.txt")));
    QCOMPARE(readAll(past + "/2026-12-07T10-30-15.txt"), rig.out + "\r\n");

    // Named by --output: the user chose where results go.
    QCOMPARE(rig.fullScan(map, dir.filePath("named.txt")), exitcode::success);
    QCOMPARE(QDir(past).entryList(QDir::Files).size(), 1);
}

void TestHeadless::unreadableMapChecksAndWritesNothing()
{
    QTemporaryDir dir;
    const QString output = dir.filePath("scan.txt");
    Rig rig;
    const QString missing = dir.filePath("none.map");
    QCOMPARE(rig.fullScan(missing, output), exitcode::badArguments);
    QCOMPARE(rig.errLines(),
             QStringList{"Could not read map: " + missing + ": No such file or directory"});

    // Far too large to be a map: refused as the window refuses it.
    const QString huge = dir.filePath("huge.map");
    {
        QFile file(huge);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(ws::kMaxMapFileBytes + 1));
    }
    rig.err.clear();
    QCOMPARE(rig.fullScan(huge, output), exitcode::badArguments);
    QCOMPARE(rig.errLines(), QStringList{"Could not read map: " + huge +
                                         ": 1048577 bytes, more than the 1048576 bytes (1 MiB) "
                                         "a map may have"});

    QCOMPARE(rig.serial.opens, 0);
    QVERIFY(rig.out.isEmpty());
    QVERIFY(!QFile::exists(output));
}

void TestHeadless::groundIsCheckedBeforeTheFirstTune_data()
{
    QTest::addColumn<QByteArray>("map");
    QTest::addColumn<QString>("output"); // "map" for the map itself
    QTest::addColumn<int>("exit");
    QTest::addColumn<QString>("message");
    const QString noEntry = QStringLiteral("<map> lists no MPEG entry");
    QTest::newRow("empty map") << QByteArray() << "scan.txt" << exitcode::badArguments << noEntry;
    // Asked first whether it is a map at all.
    QTest::newRow("a scan as the map")
        << QByteArray("Scan\r\n10700 45\r\n10701 46\r\n") << "scan.txt" << exitcode::badArguments
        << ws::messages::mapWithoutFrequency("<map>") + "\n" + noEntry;
    const QString cannot = ws::test::unsavedResultsMessage("<output>");
    QTest::newRow("no such folder") << threeRowMap() << "gone/scan.txt" << exitcode::notSaved
                                    << cannot + "the folder <dir>/gone does not exist";
    QTest::newRow("the map") << threeRowMap() << "map" << exitcode::notSaved
                             << cannot + "it is the map being scanned";
}

void TestHeadless::groundIsCheckedBeforeTheFirstTune()
{
    QFETCH(QByteArray, map);
    QFETCH(QString, output);
    QFETCH(int, exit);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString mapPath = writeMap(dir, map);
    const QString outputPath = output == "map" ? mapPath : dir.filePath(output);
    QFile old(dir.filePath("scan.txt"));
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    old.close();
    Rig rig;
    QCOMPARE(rig.fullScan(mapPath, outputPath), exit);
    message.replace("<map>", mapPath)
        .replace("<dir>", QDir::toNativeSeparators(dir.path()))
        .replace("<output>", QDir::toNativeSeparators(outputPath));
    QCOMPARE(rig.errLines(), message.split('\n'));
    QCOMPARE(rig.serial.opens, 0);
    QCOMPARE(readAll(dir.filePath("scan.txt")), QByteArray("old"));
    QCOMPARE(readAll(mapPath), map);
}

void TestHeadless::messageBoxLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("detail");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("line");
    const QString needsScans = ws::messages::mapNeedsScans("a.map");
    const QString cancel = ws::messages::cancelled();
    QTest::newRow("detail") << cancel << "a.scn: line 3: no layout" << "a.scn"
                            << "wavesift: a.scn: line 3: no layout (" + cancel + ")\n";
    QTest::newRow("file") << cancel << "" << "a.map" << "wavesift: a.map: " + cancel + "\n";
    QTest::newRow("text names the file") << needsScans << "" << "a.map"
                                         << "wavesift: " + needsScans + "\n";
    QTest::newRow("no file") << cancel << "" << "" << "wavesift: " + cancel + "\n";
}

void TestHeadless::messageBoxLines()
{
    QFETCH(QString, text);
    QFETCH(QString, detail);
    QFETCH(QString, file);
    QFETCH(QString, line);
    QCOMPARE(messageLine(text, detail, file), line);
}

void TestHeadless::watchLineEscapesAllButPlainText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("tab") << "a\tb" << QByteArray("a\\x09b");
    QTest::newRow("backslash") << "a\\b" << QByteArray("a\\\\b");
    // What the receiver wrote as four characters cannot pass for a tab.
    QTest::newRow("a tab's escape") << "\\x09" << QByteArray("\\\\x09");
    QTest::newRow("degree sign") << "\u00b0C" << QByteArray("\\xb0C");
}

void TestHeadless::watchLineEscapesAllButPlainText()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, written);
    const QDateTime at(QDate(2026, 12, 7), QTime(10, 30, 15));
    QCOMPARE(watchLine(at, ws::receiver::WatchState::NoLock, text),
             "10:30:15.000\tno lock\t" + written + "\n");
}

void TestHeadless::watchWritesALinePerReplyAndSumsUp()
{
    Rig rig;
    // Locked for a few replies, then not, then locked again.
    int replies = 0;
    rig.serial.onWrite = [&](const QByteArray &bytes) {
        if (bytes == "X")
            rig.serial.feed(++replies % 10 < 5 ? kLocked : QByteArray("01 No Lock \xb0" "C 3\r\n"));
    };
    QCOMPARE(rig.watch({"--for", "3", "--bell"}), exitcode::success);
    const QList<QByteArray> lines = rig.out.split('\n');
    QCOMPARE(lines.first(), QByteArray("10:30:15.000\tlocked\tLocked   Lvl 75"));
    QVERIFY(lines.contains("10:30:15.000\tno lock\tNo Lock \\xb0C 3"));
    QCOMPARE(lines.size() - 1, replies);
    QVERIFY(!rig.serial.written.contains("S") && !rig.serial.isOpen);
    // A bell for each lock after none, then the tally.
    const QStringList err = rig.errLines();
    QCOMPARE(rig.err.count('\a'), (replies + 9) / 10);
    QVERIFY2(err.last().endsWith(QString::number(replies) +
                                 " replies in 3.0 s: locked 52 % of the time, longest lock 0.2 s"
                                 ", best level 75 at 10:30:15"),
             qPrintable(err.last()));

    // A pattern reads the level instead of the first number.
    Rig patterned;
    patterned.serial.onWrite = [&](const QByteArray &bytes) {
        if (bytes == "X")
            patterned.serial.feed(kLocked);
    };
    QCOMPARE(patterned.watch({"--for", "1", "--level-pattern", "Lvl (\\d)"}), exitcode::success);
    QVERIFY2(patterned.errLines().last().endsWith(", best level 7 at 10:30:15"),
             qPrintable(patterned.errLines().last()));

    // A stop request (a signal) ends it as it comes, not at a later look.
    Rig stopped;
    int asked = 0;
    qint64 stopAt = -1;
    std::unique_ptr<ws::Timer> signal = stopped.clock.createTimer([&] {
        stopAt = stopped.clock.currentMs;
        stopped.env.onStopRequest();
    });
    stopped.serial.onWrite = [&](const QByteArray &bytes) {
        if (bytes != "X")
            return;
        stopped.serial.feed(kLocked);
        if (++asked == 12)
            signal->start(33);
    };
    QCOMPARE(stopped.watch({}), exitcode::success);
    QCOMPARE(asked, 12);
    QCOMPARE(stopped.clock.currentMs, stopAt);
    QVERIFY2(stopped.err.contains("12 replies in "), stopped.err.constData());

    // The tone follows the level once two levels have come, steady while
    // locked and in pips otherwise; without sound the watch goes on.
    Rig toned;
    ws::test::FakeSpeaker speaker;
    toned.env.sound = [&] { return speaker.makeSink(); };
    const QByteArrayList said{"00 Locked   Lvl 20\r\n", "00 Locked   Lvl 80\r\n",
                              "01 No Lock  Lvl 50\r\n"};
    QList<ws::ToneShape> heard;
    int toneAsked = 0;
    toned.serial.onWrite = [&](const QByteArray &bytes) {
        if (bytes != "X")
            return;
        heard << (speaker.playing ? speaker.playing->shape() : ws::ToneShape());
        toned.serial.feed(said.at(toneAsked++ % 3));
    };
    QCOMPARE(toned.watch({"--for", "1", "--tone"}), exitcode::success);
    using Kind = ws::ToneShape::Kind;
    QCOMPARE(heard.value(2), ws::ToneShape({Kind::Steady, 1200}));
    QCOMPARE(heard.value(3), ws::ToneShape({Kind::Pips, 600}));
    QCOMPARE(heard.value(4), ws::ToneShape({Kind::Steady, 300}));
    QVERIFY(!speaker.playing);
    Rig unheard;
    speaker.refuse = true;
    unheard.env.sound = [&] { return speaker.makeSink(); };
    QCOMPARE(unheard.watch({"--for", "1", "--tone"}), exitcode::success);
    QCOMPARE(unheard.errLines().value(0), QString("No sound for the tone: no sound server"));
    QVERIFY(unheard.out.count('\n') > 10);

    // A receiver that never says a thing: what to check, and exit 3.
    Rig silent;
    silent.serial.onWrite = {};
    QCOMPARE(silent.watch({}), exitcode::portFailed);
    QVERIFY(silent.errLines().value(0).endsWith(ws::receiver::silentPortMessage("", "10")));
    QCOMPARE(silent.out, QByteArray());
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestHeadless)
#include "tst_headless.moc"
