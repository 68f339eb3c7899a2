// Following files on a driven clock: the files and the system's reports of
// them are real, the time they settle in is the fake clock's.
#include "core/filefollower.h"
#include "core/filenames.h"
#include "support/fakes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <optional>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

using Settled = QList<QVariantList>;

QStringList scanFiles(const QString &folder)
{
    QStringList files;
    for (const QString &name : QDir(folder).entryList({QStringLiteral("*.scn")}, QDir::Files))
        files << folder + QLatin1Char('/') + name;
    return files;
}

bool writeBytes(const QString &path, const QByteArray &bytes, QIODevice::OpenMode mode = {})
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | mode) && file.write(bytes) == bytes.size();
}

#ifdef Q_OS_UNIX
// Shell-like steps on names of any bytes, which Qt's file classes cannot
// all reach: "rm X" (a whole tree), "mkdir X", "put X" (new versions of
// X/1 and X/2, written in place) and "replace X" (the same, each written
// beside it and renamed over it).
bool runStep(const QByteArray &top, const QByteArray &step, int version)
{
    for (const QByteArray &command : step.split(';')) {
        const QByteArrayList words = command.trimmed().split(' ');
        const QByteArray path = top + '/' + words.value(1);
        bool done = false;
        if (words[0] == "rm") {
            done = ::nftw(path.constData(),
                          [](const char *name, const struct stat *, int, struct FTW *) {
                              return ::remove(name);
                          },
                          16, FTW_DEPTH | FTW_PHYS) == 0;
        } else if (words[0] == "mkdir") {
            done = ::mkdir(path.constData(), 0755) == 0;
        } else {
            const bool replace = words[0] == "replace";
            done = true;
            for (const QByteArray &name : {path + "/1", path + "/2"}) {
                // Each version of its own size: one written within the
                // millisecond of the last has the same time.
                const QByteArray bytes = QByteArray(version + 1, 'v') + '\n';
                const QByteArray target = replace ? name + ".new" : name;
                const int fd = ::open(target.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
                done = done && fd >= 0 &&
                       ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
                done = ::close(fd) == 0 && done &&
                       (!replace || ::rename(target.constData(), name.constData()) == 0);
            }
        }
        if (!done)
            return false;
    }
    return true;
}
#endif

} // namespace

class TestFileFollower : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        settled.clear();
        dir.emplace();
        QVERIFY(dir->isValid());
    }
    void cleanup() { follower.stop(); }

    void aChangeSettlesOnceStillForItsTime_data();
    void aChangeSettlesOnceStillForItsTime();
    void eachChangePutsTheLookOff();
    void followingOutlastsWhatHappensToItsName_data();
    void followingOutlastsWhatHappensToItsName();
    void onlyALaterVersionThanTheOneSeenCounts();
    void aLargeFolderLosesNoChangeWhileItsWatchesAreTaken();

private:
    // Time passes: the system's reports come in, and the clock moves on.
    void pass(int milliseconds)
    {
        for (int done = 0; done < milliseconds; done += 50) {
            QCoreApplication::processEvents();
            clock.advance(std::min(50, milliseconds - done));
        }
    }

    ws::test::FakeClock clock;
    ws::FileFollower follower{clock};
    QSignalSpy settled{&follower, &ws::FileFollower::settled};
    std::optional<QTemporaryDir> dir;
};

void TestFileFollower::aChangeSettlesOnceStillForItsTime_data()
{
    QTest::addColumn<bool>("newInFolder");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("stillMs");
    for (const bool inFolder : {false, true}) {
        const char *how = inFolder ? "new in a followed folder, " : "written again, ";
        QTest::addRow("%sline end", how) << inFolder << QByteArray("10700\r\n12750\r\n") << 300;
        QTest::addRow("%slone CR", how) << inFolder << QByteArray("10700\r") << 300;
        QTest::addRow("%scut in a line", how) << inFolder << QByteArray("10700\r\n127") << 3000;
    }
}

void TestFileFollower::aChangeSettlesOnceStillForItsTime()
{
    QFETCH(bool, newInFolder);
    QFETCH(QByteArray, bytes);
    QFETCH(int, stillMs);
    const QString path = dir->filePath(QStringLiteral("a.scn"));
    if (newInFolder) {
        follower.follow({}, {dir->path()}, scanFiles);
    } else {
        QVERIFY(writeBytes(path, "10700\r\n"));
        follower.follow({path});
    }
    QVERIFY(writeBytes(path, bytes));
    pass(stillMs - 100);
    QVERIFY(settled.isEmpty());
    pass(200);
    QCOMPARE(settled, Settled{{QStringList{path}}});
    pass(5000);
    QCOMPARE(settled.size(), 1);
}

void TestFileFollower::eachChangePutsTheLookOff()
{
    const QString path = dir->filePath(QStringLiteral("a.scn"));
    QVERIFY(writeBytes(path, "10700\r\n"));
    follower.follow({path});
    for (int line = 0; line < 5; ++line) {
        QVERIFY(writeBytes(path, "12750\r\n", QIODevice::Append));
        pass(200);
    }
    QVERIFY(settled.isEmpty());
    pass(200);
    QCOMPARE(settled.size(), 1);
}

void TestFileFollower::followingOutlastsWhatHappensToItsName_data()
{
    // Steps in a temporary folder that holds <folder>/1 and <folder>/2,
    // followed by name or as their whole folder; time passes after each.
    QTest::addColumn<QByteArray>("folder");
    QTest::addColumn<bool>("whole");
    QTest::addColumn<QByteArrayList>("steps");
    QTest::newRow("replaced by a rename, then written in place")
        << QByteArray("d") << false << QByteArrayList{"replace d", "put d"};
    QTest::newRow("made again at once") << QByteArray("d") << false
                                        << QByteArrayList{"rm d; mkdir d; put d"};
    QTest::newRow("two levels made again in steps")
        << QByteArray("d/e") << false << QByteArrayList{"rm d", "mkdir d", "mkdir d/e", "put d/e"};
    QTest::newRow("a followed folder made again")
        << QByteArray("d") << true << QByteArrayList{"rm d", "mkdir d", "put d", "put d"};
    QTest::newRow("not UTF-8, written in place")
        << QByteArray("d\xfc") << false << QByteArrayList{"put d\xfc", "replace d\xfc"};
    QTest::newRow("not UTF-8, made again")
        << QByteArray("d\xfc") << true << QByteArrayList{"rm d\xfc", "mkdir d\xfc; put d\xfc"};
}

void TestFileFollower::followingOutlastsWhatHappensToItsName()
{
#ifdef Q_OS_UNIX
    QFETCH(QByteArray, folder);
    QFETCH(bool, whole);
    QFETCH(QByteArrayList, steps);
    const QByteArray top = QFile::encodeName(dir->path());
    // Qt cannot remove a name that is not UTF-8.
    const QByteArray first = folder.split('/')[0];
    const auto removed = qScopeGuard([&] { runStep(top, "rm " + first, 0); });
    QVERIFY(runStep(top, "mkdir " + first + (folder == first ? "" : "; mkdir " + folder), 0));
    QVERIFY(runStep(top, "put " + folder, 0));
    const QString folderName = ws::argumentText(top + '/' + folder);
    const QStringList files{folderName + "/1", folderName + "/2"};
    if (whole) {
        follower.follow({}, {folderName}, [](const QString &in) {
            return QStringList{in + "/1", in + "/2"};
        });
    } else {
        follower.follow(files);
    }
    for (int step = 0; step < steps.size(); ++step) {
        QVERIFY2(runStep(top, steps[step], step + 1), steps[step].constData());
        settled.clear();
        pass(400);
        QStringList paths;
        for (const QVariantList &emitted : std::as_const(settled))
            paths << emitted[0].toStringList();
        paths.sort();
        const bool written = steps[step].contains("put") || steps[step].contains("replace");
        QVERIFY2(paths == (written ? files : QStringList()), steps[step].constData());
    }
#else
    QSKIP("Names are bytes on Unix only");
#endif
}

void TestFileFollower::onlyALaterVersionThanTheOneSeenCounts()
{
    const QString path = dir->filePath(QStringLiteral("a.scn"));
    QVERIFY(writeBytes(path, "10700\r\n"));
    follower.follow({path});
    const ws::FileStamp read = ws::stampOf(path);
    follower.seen(path, read);
    pass(1000);
    // Nothing runs while nothing changes.
    QVERIFY(settled.isEmpty() && !clock.timerPending());
    // Written again between its reading and the word that it was read.
    follower.seen(path, {true, read.size - 1, read.modified});
    pass(400);
    QCOMPARE(settled, Settled{{QStringList{path}}});
    // What is read while it settles is what is there: nothing to read again.
    QVERIFY(writeBytes(path, "12750\r\n", QIODevice::Append));
    pass(100);
    follower.seen(path, ws::stampOf(path));
    pass(1000);
    QCOMPARE(settled.size(), 1);
    // Nothing more is followed.
    follower.stop();
    QVERIFY(writeBytes(path, "12750\r\n"));
    pass(1000);
    QCOMPARE(settled.size(), 1);
}

// Thousands of files take their watches over several turns of the event
// loop, and are dropped all at once; no change is lost either way.
void TestFileFollower::aLargeFolderLosesNoChangeWhileItsWatchesAreTaken()
{
    QStringList files;
    for (int i = 0; i < 2 * ws::FileFollower::kWatchesPerTurn + 1; ++i) {
        files << dir->filePath(QStringLiteral("%1.scn").arg(i, 4, 10, QLatin1Char('0')));
        QVERIFY(writeBytes(files.last(), "10700\r\n"));
    }
    follower.follow({}, {dir->path()}, scanFiles);
    QVERIFY(clock.timerPending());
    // Read, then written again, before its watch began: the version read counts.
    const ws::FileStamp read = ws::stampOf(files.last());
    follower.seen(files.last(), {true, read.size - 1, read.modified});
    pass(400);
    QCOMPARE(settled, Settled{{QStringList{files.last()}}});

    settled.clear();
    const QStringList written{files.first(), files[ws::FileFollower::kWatchesPerTurn + 1]};
    for (const QString &path : written)
        QVERIFY(writeBytes(path, "12750\r\n", QIODevice::Append));
    pass(400);
    QStringList told;
    for (const QVariantList &emitted : std::as_const(settled))
        told << emitted[0].toStringList();
    told.sort();
    QCOMPARE(told, written);

    // All but one file dropped: only that one is followed still.
    follower.follow({files.first()});
    settled.clear();
    for (const QString &path : {files.first(), files.last()})
        QVERIFY(writeBytes(path, "12750\r\n", QIODevice::Append));
    pass(400);
    QCOMPARE(settled, Settled{{QStringList{files.first()}}});
    QVERIFY(!clock.timerPending());
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestFileFollower)
#include "tst_filefollower.moc"
