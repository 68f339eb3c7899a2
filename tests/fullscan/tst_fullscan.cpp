#include "fullscan/fullscan.h"
#include "fullscan/resultsfile.h"
#include "receiver/checklog.h"
#include "support/mapentries.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
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
    void aScanThatCheckedNothingLeavesTheFile_data();
    void aScanThatCheckedNothingLeavesTheFile();
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

void TestFullScan::aScanThatCheckedNothingLeavesTheFile_data()
{
    QTest::addColumn<int>("checked"); // the port failed at the last of them
    QTest::addColumn<QByteArray>("earlier");
    QTest::addColumn<QString>("message"); // %1 for the results file
    QTest::addColumn<QByteArray>("after");
    const QByteArray old("old");
    QTest::newRow("first entry") << 1 << old << "%1 left as it was" << old;
    QTest::newRow("first entry, none") << 1 << QByteArray() << "%1 not written" << QByteArray("<missing>");
    QTest::newRow("second entry") << 2 << old << "Saved Results to file %1" << QByteArray("log\r\n");
}

void TestFullScan::aScanThatCheckedNothingLeavesTheFile()
{
    QFETCH(int, checked);
    QFETCH(QByteArray, earlier);
    QFETCH(QString, message);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    const ws::ResultsPlace place = placeIn(dir);
    QVERIFY(earlier.isEmpty() || ws::saveWhole(place.file, earlier).isEmpty());
    const ws::ResultsOutcome outcome = ws::finishResults({"log", checked, true}, place, kSaved);
    QCOMPARE(outcome.message, message.arg(QDir::toNativeSeparators(place.file)));
    QVERIFY(!outcome.failed());
    QCOMPARE(fileBytes(place.file), after);
    // The copy in past results, only of a file written.
    QCOMPARE(fileBytes(dir.filePath("data/results/2026-03-09T14-03-09.txt")),
             outcome.saved ? after : QByteArray("<missing>"));
}

void TestFullScan::pastCopiesFinishingTogetherAreAllKept()
{
    QTemporaryDir dir;
    const ws::ResultsPlace place = placeIn(dir);
    std::vector<std::thread> scans;
    for (int i = 0; i < 4; ++i) {
        scans.emplace_back(
            [&place, i] { ws::finishResults({QString::number(i), 3, false}, place, kSaved); });
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
    const ws::ResultsOutcome outcome = ws::finishResults({"log", 3, false}, place, kSaved, full);
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
    const ws::ResultsOutcome outcome = ws::finishResults({"log", 3, false}, place, kSaved);
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
