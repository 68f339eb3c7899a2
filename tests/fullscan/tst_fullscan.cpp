#include "fullscan/fullscan.h"
#include "fullscan/resultsfile.h"
#include "fullscan/runner.h"
#include "receiver/checklog.h"
#include "receiver/signalcheck.h"
#include "support/fakes.h"
#include "support/mapentries.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

const QDateTime kSaved(QDate(2026, 3, 9), QTime(14, 3, 9));

// --full-scan's results file in `dir`, its past results in dir/data.
ws::ResultsPlace placeIn(const QTemporaryDir &dir)
{
    return {dir.filePath("results.txt"), {}, {{}, dir.filePath("data"), {}}, true};
}

// Takes the first file whole, then half of the next and reports a full disk.
class FillingDisk : public ws::FileSystem
{
public:
    QString write(QFileDevice &file, const QByteArray &bytes) override
    {
        if (!std::exchange(full, true))
            return FileSystem::write(file, bytes);
        file.write(bytes.left(bytes.size() / 2));
        return qt_error_string(ENOSPC);
    }
    bool full = false;
};

// The runner on the fake line and clock, as both front ends run it: the
// real check, every clock reading a second on, the results in a temporary
// folder that held yesterday's.
struct ScanRig
{
    class Quiet : public ws::receiver::CheckEvents
    {
        void logAppended(const QString &) override {}
        void portFailed(const ws::receiver::PortFailure &) override {}
    };

    explicit ScanRig(const QTemporaryDir &dir)
        : place(placeIn(dir)), runner(place, [] { return kSaved; })
    {
        clock.step = 1;
        serial.clock = &clock;
        settings.timeout = QStringLiteral("2");
        ws::saveWhole(place.file, "yesterday");
    }
    // Starts a scan of two horizontal MPEG entries, 11001 and 11002.
    void start()
    {
        map = {ws::test::mapEntry("11001", "mpeg2 ", "h"), ws::test::mapEntry("11002", "mpeg2 ", "h")};
        ws::FullScanRunner::FrontEnd frontEnd;
        frontEnd.check = [this](const QString &frequency, ws::receiver::Polarisation polarisation,
                                ws::MapScanSteps::CheckDone done) {
            check.start(frequency, polarisation, std::move(done));
        };
        frontEnd.finished = [this](const ws::FullScanEnd &end) { ended = end; };
        runner.start(map, std::move(frontEnd));
    }
    QByteArray pastCopy() const
    {
        return fileBytes(QFileInfo(place.file).dir().filePath("data/results/2026-03-09T14-03-09.txt"));
    }

    ws::ResultsPlace place;
    ws::test::FakeClock clock;
    ws::test::FakeSerial serial;
    ws::receiver::ReceiverSettings settings;
    Quiet events;
    ws::receiver::SignalCheck check{serial, clock, [this] { return settings; }, events};
    ws::FullScanRunner runner;
    QVector<ws::MapEntry> map;
    std::optional<ws::FullScanEnd> ended;
};

const char kLocked[] = "00 LOCKED 1234567\r\n";

} // namespace

class TestFullScan : public QObject
{
    Q_OBJECT

private slots:
    void mpegRowsAreTheOnesTypedMpeg_data();
    void mpegRowsAreTheOnesTypedMpeg();
    void onlyHorizontalGivesDigitZero_data();
    void onlyHorizontalGivesDigitZero();
    void rowCountIsTakenOnce();
    void anEntryAfterThe1024thIsScanned();
    void summaryCountsWhatTheScanFound();
    void resultsFileLiesInTheGivenFolder();
    void resultsAreWrittenByteForByteAndOverwritten();
    void failedWritesAreReportedWithTheReason();
    void resultsFolderOfAnInstalledProgram();
    void dataFolderComesFromAnAbsolutePath_data();
    void dataFolderComesFromAnAbsolutePath();
    void aScanThatReceivedNothingLeavesTheFile_data();
    void aScanThatReceivedNothingLeavesTheFile();
    void everyRowTheReceiverAnsweredIsKept_data();
    void everyRowTheReceiverAnsweredIsKept();
    void anAbandonedScanKeepsWhatItsCheckReceived_data();
    void anAbandonedScanKeepsWhatItsCheckReceived();
    void nothingToCheckWritesNothing();
    void pastCopiesFinishingTogetherAreAllKept();
    void aPastCopyHasTheResultsFilesMode();
    void aCopyThatCannotBeMadeIsOnlyTold();

private:
    // Checks that answer at once, each with the log "[<frequency><digit>]".
    static ws::MapScanSteps recording(QStringList &calls, int &afterRows)
    {
        ws::MapScanSteps steps;
        steps.check = [&calls](const QString &f, ws::receiver::Polarisation polarisation,
                               const ws::MapScanSteps::CheckDone &done) {
            const QString p(QLatin1Char(ws::receiver::wireDigit(polarisation)));
            calls << f + QLatin1Char('/') + p;
            ws::receiver::CheckResult result;
            result.log = QStringLiteral("[%1%2]").arg(f, p);
            done(result);
        };
        steps.afterRow = [&afterRows](const std::function<void()> &resume) {
            ++afterRows;
            resume();
        };
        return steps;
    }
    // Runs a whole scan; the results, or "<running>" if it never ended.
    static QString scanRows(const QVector<ws::MapEntry> &map, ws::MapScanSteps steps)
    {
        QString results = QStringLiteral("<running>");
        steps.finished = [&](const ws::MapScanResult &result) { results = result.results; };
        ws::MapScan scan;
        scan.start(map, steps);
        return results;
    }
};

void TestFullScan::mpegRowsAreTheOnesTypedMpeg_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("mpeg");
    QTest::newRow("lower") << "mpeg2 " << true;
    QTest::newRow("mixed") << "MpEg4 " << true;
    QTest::newRow("upper, odd tail") << "MPEGxy" << true;
    QTest::newRow("exactly four") << "mpeg" << true;
    QTest::newRow("digital radio") << "dab   " << false;
    QTest::newRow("blank lead") << " mpeg2" << false;
    QTest::newRow("too short") << "mpe" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("latin-1 lookalike") << QString::fromLatin1("mp\xc9g2") << false;
}

void TestFullScan::mpegRowsAreTheOnesTypedMpeg()
{
    QFETCH(QString, type);
    QFETCH(bool, mpeg);
    QCOMPARE(ws::isMpegRow(type), mpeg);
}

void TestFullScan::onlyHorizontalGivesDigitZero_data()
{
    QTest::addColumn<QString>("letter");
    QTest::addColumn<QString>("digit");
    QTest::newRow("h") << "h" << "0";
    QTest::newRow("H") << "H" << "0";
    QTest::newRow("V") << "V" << "1";
    QTest::newRow("L") << "L" << "1";
    QTest::newRow("R") << "R" << "1";
    QTest::newRow("blank") << " " << "1";
    QTest::newRow("none") << "" << "1";
}

void TestFullScan::onlyHorizontalGivesDigitZero()
{
    QFETCH(QString, letter);
    QFETCH(QString, digit);
    QCOMPARE(QString(QLatin1Char(ws::receiver::wireDigit(ws::polarisationOf(letter)))), digit);
}

void TestFullScan::rowCountIsTakenOnce()
{
    const auto mpegRows = [](int count, int changedRow = 0) {
        QVector<ws::MapEntry> entries;
        for (int row = 1; row <= count; ++row) {
            const QString frequency =
                row == changedRow ? QStringLiteral("new") : QString::number(row);
            entries.push_back(ws::test::mapEntry(frequency, QStringLiteral("mpeg2 ")));
        }
        return entries;
    };
    QVector<ws::MapEntry> map = mpegRows(3);
    QStringList calls;
    int afterRows = 0;
    ws::MapScanSteps steps = recording(calls, afterRows);
    // A map loaded while the scan lets events run: longer, and with a
    // different second row.
    steps.afterRow = [&](const std::function<void()> &resume) {
        map = mpegRows(5, 2);
        resume();
    };
    scanRows(map, steps);
    QCOMPARE(calls, QStringList({"1/1", "new/1", "3/1"}));

    // A shorter map loaded meanwhile: the rows it lacks count as empty,
    // which are no MPEG rows but still let events run.
    calls.clear();
    steps = recording(calls, afterRows);
    map = mpegRows(3);
    afterRows = 0;
    steps.afterRow = [&](const std::function<void()> &resume) {
        ++afterRows;
        map = mpegRows(1);
        resume();
    };
    scanRows(map, steps);
    QCOMPARE(calls, QStringList({"1/1"}));
    QCOMPARE(afterRows, 3);

    // No entries, no rows.
    steps = recording(calls, afterRows);
    afterRows = 0;
    map.clear();
    QCOMPARE(scanRows(map, steps), QString());
    QCOMPARE(afterRows, 0);
}

void TestFullScan::anEntryAfterThe1024thIsScanned()
{
    using ws::test::mapFileLine;
    const ws::MapData map = ws::parseMap(mapFileLine("Data", "DATA", "10.700", "H").repeated(1025) +
                                         mapFileLine("Last", "MPEG2", "12.700", "V"));
    QStringList calls;
    int afterRows = 0;
    scanRows(map.entries, recording(calls, afterRows));
    QCOMPARE(calls, QStringList{"12700/1"});
}

void TestFullScan::resultsFileLiesInTheGivenFolder()
{
    const QString sep = QDir::separator();
    const QString folder = QDir::toNativeSeparators(QStringLiteral("/opt/wavesift/bin"));
    QCOMPARE(ws::resultsFilePath(folder), folder + sep + QStringLiteral("results.txt"));
    QCOMPARE(ws::resultsFilePath(QDir::toNativeSeparators(QStringLiteral("/"))),
             sep + QStringLiteral("results.txt"));
    QCOMPARE(ws::resultsFilePath(QString()), QStringLiteral("results.txt"));
}

void TestFullScan::summaryCountsWhatTheScanFound()
{
    QCOMPARE(ws::summaryLine({46, 45, 30, 26, 0, 0}),
             QString("Checked 45 of 46 MPEG entries: 30 locked, 26 with tables found"));
    QCOMPARE(ws::summaryLine({2, 2, 0, 0, 1, 1}),
             QString("Checked 2 of 2 MPEG entries: 0 locked, 0 with tables found, 1 not confirmed, "
                     "1 no answer"));
}

void TestFullScan::resultsAreWrittenByteForByteAndOverwritten()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = ws::resultsFilePath(dir.path());

    // Received bytes above 127 go back out as the single bytes they came as.
    const QString checking =
        ws::receiver::checkingLine("11003", ws::receiver::Polarisation::Horizontal);
    const QString first = checking + QString::fromLatin1("Sender \xe4\xf6\xfc found\r\n");
    ws::SaveOutcome outcome = ws::saveResults(path, first);
    QVERIFY(outcome.saved);
    QVERIFY(outcome.reason.isEmpty());
    QCOMPARE(fileBytes(path), checking.toLatin1() + "Sender \xe4\xf6\xfc found\r\n\r\n");

    outcome = ws::saveResults(path, QString());
    QVERIFY(outcome.saved);
    QCOMPARE(fileBytes(path), QByteArray("\r\n"));
}

void TestFullScan::failedWritesAreReportedWithTheReason()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());

    // A folder that does not exist: not even a privileged user can write.
    const QString nowhere = ws::resultsFilePath(dir.filePath(QStringLiteral("gone")));
    ws::SaveOutcome outcome = ws::saveResults(nowhere, QStringLiteral("log\r\n"));
    QVERIFY(!outcome.saved);
    QVERIFY(!outcome.reason.isEmpty());

#ifdef Q_OS_UNIX
    // A disk that fills up part way: the system takes the first bytes and
    // refuses the rest. A file-size limit does that for any user.
    const QString path = ws::resultsFilePath(dir.path());
    QVERIFY(ws::saveResults(path, QStringLiteral("old")).saved);
    rlimit old{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 4096;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    outcome = ws::saveResults(path, QString(20000, QLatin1Char('x')));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldSignal);
    QVERIFY(!outcome.saved);
    QCOMPARE(outcome.reason, qt_error_string(EFBIG));
    QCOMPARE(fileBytes(path), QByteArray("old\r\n"));

    // Also when it is only the final flush that fails.
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::signal(SIGXFSZ, SIG_IGN);
    outcome = ws::saveResults(path, QString(4095, QLatin1Char('x')));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldSignal);
    QVERIFY(!outcome.saved);
    QCOMPARE(outcome.reason, qt_error_string(EFBIG));
    QCOMPARE(fileBytes(path), QByteArray("old\r\n"));
#endif
}

void TestFullScan::resultsFolderOfAnInstalledProgram()
{
    QTemporaryDir dir; // where /bin is a link to /usr/bin, as on many systems
    const QString bin = dir.filePath("usr/bin");
    QVERIFY(QDir().mkpath(bin) && QFile::link(bin, dir.filePath("bin")));
    QVERIFY(ws::isInstalledFolder(bin, dir.filePath("bin/")));
    QVERIFY(!ws::isInstalledFolder(dir.filePath("build/src/app"), bin));

    const ws::ResultsSave save = ws::saveResultsIn({QString(), QString(), "HOME is not set"}, "log");
    QCOMPARE(save.message(), "Could not save results to the data folder: HOME is not set");
    ws::ResultsSave both;
    both.failedPaths = QStringList{"/opt/results.txt", "/home/u/results.txt"};
    both.reasons = QStringList{"Permission denied", "No space left on device"};
    QCOMPARE(both.message(), "Could not save results to file /opt/results.txt: Permission denied; "
                             "nor to file /home/u/results.txt: No space left on device");
}

void TestFullScan::dataFolderComesFromAnAbsolutePath_data()
{
    QTest::addColumn<QString>("xdgDataHome");
    QTest::addColumn<QString>("home");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("home") << "" << "/home/ann" << "/home/ann/.local/share/Wavesift" << "";
    QTest::newRow("XDG_DATA_HOME") << "/srv/data/" << "/home/ann" << "/srv/data/Wavesift" << "";
    QTest::newRow("root's home") << "" << "/" << "/.local/share/Wavesift" << "";
    QTest::newRow("relative XDG_DATA_HOME")
        << "data" << "/home/ann" << "" << "XDG_DATA_HOME is not an absolute path (\"data\")";
    QTest::newRow("no HOME") << "" << "" << "" << "HOME is not set";
    QTest::newRow("relative HOME") << "" << "ann" << "" << "HOME is not an absolute path (\"ann\")";
}

void TestFullScan::dataFolderComesFromAnAbsolutePath()
{
    QFETCH(QString, xdgDataHome);
    QFETCH(QString, home);
    QFETCH(QString, folder);
    QFETCH(QString, refusal);
    const ws::Result<QString> data = ws::dataFolderFrom(xdgDataHome, home);
    QCOMPARE(data.value.value_or(QString()), QDir::toNativeSeparators(folder));
    QCOMPARE(data.failure.what, refusal);
}

void TestFullScan::aScanThatReceivedNothingLeavesTheFile_data()
{
    QTest::addColumn<bool>("received");
    QTest::addColumn<QByteArray>("earlier");
    QTest::addColumn<QString>("message"); // %1 for the results file
    QTest::addColumn<QByteArray>("after");
    const QByteArray old("old");
    QTest::newRow("nothing") << false << old << "%1 left as it was" << old;
    QTest::newRow("nothing, no file") << false << QByteArray() << "%1 not written" << QByteArray("<missing>");
    QTest::newRow("received") << true << old << "Saved Results to file %1" << QByteArray("log\r\n");
}

void TestFullScan::aScanThatReceivedNothingLeavesTheFile()
{
    QFETCH(bool, received);
    QFETCH(QByteArray, earlier);
    QFETCH(QString, message);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    const ws::ResultsPlace place = placeIn(dir);
    QVERIFY(earlier.isEmpty() || ws::saveWhole(place.file, earlier).isEmpty());
    const ws::ResultsOutcome outcome = ws::finishResults({"log", received}, place, kSaved);
    QCOMPARE(outcome.message, message.arg(QDir::toNativeSeparators(place.file)));
    QVERIFY(!outcome.failed());
    QCOMPARE(fileBytes(place.file), after);
    // The copy in past results, only of a file written.
    QCOMPARE(fileBytes(dir.filePath("data/results/2026-03-09T14-03-09.txt")),
             outcome.saved ? after : QByteArray("<missing>"));
}

void TestFullScan::everyRowTheReceiverAnsweredIsKept_data()
{
    QTest::addColumn<QString>("receiver");
    QTest::addColumn<QStringList>("inFile"); // in order; none: yesterday's file stays
    QTest::addColumn<QString>("summary");
    const QString lockLine = QStringLiteral("Tuner locked at : ") + kLocked;
    const QString gone = "the device went away";
    const QString label = ws::receiver::portFor("2").label;
    const QString tables = "PAT found\r\nSDT found\r\n";
    // Locked, found both tables, then unplugged during the search.
    QTest::newRow("lost in the search")
        << "unplugged" << QStringList{"Checking 11001h", lockLine, tables + "\r\n",
                                      ws::receiver::stoppedWorkingMessage(label, gone) + "\r\n\r\n"}
        << "Checked 1 of 2 MPEG entries: 1 locked, 1 with tables found";
    QTest::newRow("will not open") << "closed" << QStringList()
                                   << "Checked 1 of 2 MPEG entries: 0 locked, 0 with tables found";
    QTest::newRow("silent") << "silent" << QStringList()
                            << "Checked 1 of 2 MPEG entries: 0 locked, 0 with tables found, 1 no answer";
    QTest::newRow("answered, then would not open")
        << "no lock, then closed"
        << QStringList{"Checking 11001h", "nothing found after 2 Seconds", "Checking 11002h",
                       ws::receiver::openFailedMessage(label, "No such file or directory")}
        << "Checked 2 of 2 MPEG entries: 0 locked, 0 with tables found";
}

void TestFullScan::everyRowTheReceiverAnsweredIsKept()
{
    QFETCH(QString, receiver);
    QFETCH(QStringList, inFile);
    QFETCH(QString, summary);
    QTemporaryDir dir;
    ScanRig rig(dir);
    rig.serial.failOpen = receiver == "closed";
    rig.serial.onWrite = [&](const QByteArray &bytes) {
        if (bytes == "X" && receiver == "unplugged")
            rig.serial.feed(kLocked);
        else if (bytes == "X" && receiver.startsWith("no lock"))
            rig.serial.feed("01 NO LOCK 1234567\r\n");
        else if (bytes == "S") {
            rig.serial.feed("PAT found\r\nSDT found\r\n");
            rig.serial.fail("the device went away");
        }
    };
    rig.serial.onClose = [&] { rig.serial.failOpen = receiver.endsWith("then closed"); };

    rig.start();
    QVERIFY(rig.clock.runTimers([&] { return rig.ended.has_value(); }));

    QCOMPARE(rig.ended->summary(), summary);
    QVERIFY(rig.ended->scan.portFailed);
    const QByteArray file = fileBytes(rig.place.file);
    if (inFile.isEmpty()) {
        QCOMPARE(file, QByteArray("yesterday"));
        QCOMPARE(rig.ended->results.message,
                 QDir::toNativeSeparators(rig.place.file) + " left as it was");
        QCOMPARE(rig.pastCopy(), QByteArray("<missing>"));
        return;
    }
    QVERIFY(rig.ended->results.saved);
    qsizetype at = 0;
    for (const QString &piece : inFile) {
        at = file.indexOf(piece.toLatin1(), at);
        QVERIFY2(at >= 0, qPrintable(piece + " in " + file));
    }
    QVERIFY(file.endsWith("\r\n\r\n"));
    QCOMPARE(rig.pastCopy(), file);
}

void TestFullScan::anAbandonedScanKeepsWhatItsCheckReceived_data()
{
    QTest::addColumn<bool>("answered");
    QTest::newRow("before a byte came") << false;
    QTest::newRow("a lock and a table") << true;
}

void TestFullScan::anAbandonedScanKeepsWhatItsCheckReceived()
{
    QFETCH(bool, answered);
    QTemporaryDir dir;
    ScanRig rig(dir);
    rig.serial.onWrite = [&](const QByteArray &bytes) {
        if (bytes == "X" && answered)
            rig.serial.feed(kLocked);
        else if (bytes == "S")
            rig.serial.feed("PAT found\r\n");
    };
    rig.start();
    // The first row's check runs on, in its search or its lock wait.
    QVERIFY(rig.clock.runTimers([&] { return rig.serial.written.contains(answered ? "S" : "X"); }));
    QVERIFY(rig.check.running());

    const ws::FullScanEnd end = rig.runner.abandon(rig.check.abandon());

    QVERIFY(!rig.ended);
    QCOMPARE(end.scan.counts.checked, 1);
    const QByteArray file = fileBytes(rig.place.file);
    if (!answered) {
        QCOMPARE(file, QByteArray("yesterday"));
        QVERIFY(end.results.leftAsItWas);
        QCOMPARE(rig.pastCopy(), QByteArray("<missing>"));
        return;
    }
    QVERIFY2(file.startsWith("Checking 11001h") && file.contains("Tuner locked") &&
                 file.endsWith("PAT found\r\n\r\n\r\n"),
             file.constData());
    QCOMPARE(rig.pastCopy(), file);
}

void TestFullScan::nothingToCheckWritesNothing()
{
    QTemporaryDir dir;
    ScanRig rig(dir);
    const auto refusal = rig.runner.refusal({ws::test::mapEntry("11001", "dab   ", "h")});
    QVERIFY(refusal);
    QCOMPARE(refusal->refusal, ws::FullScanEnd::Refusal::NothingToCheck);
    QCOMPARE(refusal->results.message, QDir::toNativeSeparators(rig.place.file) + " left as it was");
    QVERIFY(!rig.runner.refusal(QVector<ws::MapEntry>{ws::test::mapEntry("11001", "MPEG2 ", "h")}));
    QCOMPARE(fileBytes(rig.place.file), QByteArray("yesterday"));

    // A named file that cannot take the results refuses the scan too.
    ws::ResultsPlace nowhere = rig.place;
    nowhere.file = dir.filePath("gone/results.txt");
    const auto refused = ws::FullScanRunner(nowhere, [] { return kSaved; })
                             .refusal({ws::test::mapEntry("11001", "MPEG2 ", "h")});
    QVERIFY(refused);
    QCOMPARE(refused->refusal, ws::FullScanEnd::Refusal::NowhereToSave);
    QVERIFY(refused->results.failed());
}

void TestFullScan::pastCopiesFinishingTogetherAreAllKept()
{
    QTemporaryDir dir;
    const ws::ResultsPlace place = placeIn(dir);
    std::vector<std::thread> scans;
    for (int i = 0; i < 4; ++i) {
        scans.emplace_back(
            [&place, i] { ws::finishResults({QString::number(i), true}, place, kSaved); });
    }
    for (std::thread &scan : scans)
        scan.join();
    const QString name = QStringLiteral("2026-03-09T14-03-09%1.txt");
    QCOMPARE(QDir(dir.filePath("data/results")).entryList(QDir::Files | QDir::Hidden),
             QStringList({name.arg("-2"), name.arg("-3"), name.arg("-4"), name.arg("")}));
}

void TestFullScan::aCopyThatCannotBeMadeIsOnlyTold()
{
    QTemporaryDir dir;
    const ws::ResultsPlace place = placeIn(dir);
    FillingDisk full;
    const ws::ResultsOutcome outcome = ws::finishResults({"log", true}, place, kSaved, full);
    QVERIFY(outcome.saved);
    const QString past = QDir::toNativeSeparators(dir.filePath("data/results"));
    QCOMPARE(outcome.pastCopyFailure,
             "Could not keep a copy of the results in " + past + ": No space left on device");
    // Nothing half-written is left, not even hidden.
    QCOMPARE(QDir(past).entryList(QDir::Files | QDir::Hidden), QStringList());
}

void TestFullScan::aPastCopyHasTheResultsFilesMode()
{
#ifdef Q_OS_UNIX
    // The usual umask: the results file may be read by all, and so may its
    // copy.
    const mode_t before = ::umask(022);
    QTemporaryDir dir;
    const ws::ResultsPlace place = placeIn(dir);
    const ws::ResultsOutcome outcome = ws::finishResults({"log", true}, place, kSaved);
    ::umask(before);
    QVERIFY(outcome.saved && outcome.pastCopyFailure.isEmpty());
    const QString copy = dir.filePath("data/results/2026-03-09T14-03-09.txt");
    QCOMPARE(QFile::permissions(copy), QFile::permissions(place.file));
    QVERIFY(QFile::permissions(copy) & QFile::ReadOther);
#else
    QSKIP("The mode bits are those of Unix");
#endif
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestFullScan)
#include "tst_fullscan.moc"
