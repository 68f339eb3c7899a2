#include "core/filenames.h"
#include "history/history.h"
#include "history/loading.h"
#include "history/ranking.h"
#include "scan/scantext.h"
#include "support/mapentries.h"

#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <cstdio>

using ws::test::mapEntry;

namespace {

// A full universal hv scan whose every level is `level`, and `vertical`
// for the vertical side.
QByteArray flatScan(double level, double vertical = 0)
{
    ws::test::ScanShape shape;
    shape.level = [=](bool v, double) { return v ? vertical : level; };
    return ws::test::scanText(shape);
}

QString writeScan(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes,
                  const QDateTime &modified)
{
    const QString path = ws::test::writeFile(dir, name, bytes);
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) ||
        !file.setFileTime(modified, QFileDevice::FileModificationTime))
        qFatal("cannot set the time of %s", qPrintable(path));
    return path;
}

// Loads the files as the window does and hands them to the history.
void load(ws::History &history, const QStringList &paths)
{
    std::vector<ws::ScanRow> rows;
    std::vector<ws::SkippedScan> skipped;
    for (const ws::LoadedScan &loaded : ws::loadRows(paths).results()) {
        if (loaded.row)
            rows.push_back(*loaded.row);
        else
            skipped.push_back(loaded.skipped);
    }
    history.add(std::move(rows), std::move(skipped));
}

QStringList fileNames(const ws::History &history)
{
    QStringList names;
    for (const ws::ScanRow &row : history.rows())
        names << row.fileName();
    return names;
}

const QDateTime kNoon(QDate(2026, 6, 13), QTime(12, 0), Qt::UTC);

} // namespace

class TestHistory : public QObject
{
    Q_OBJECT

private slots:
    void rowsGoByTimeThenNameAndAFileKeepsOneRow()
    {
        QTemporaryDir dir;
        writeScan(dir, "b.scn", flatScan(1), kNoon);
        writeScan(dir, "a.SCN", flatScan(2), kNoon);
        const QString c = writeScan(dir, "c.scn", flatScan(3), kNoon.addSecs(-60));
        writeScan(dir, "notes.txt", flatScan(4), kNoon);
        QVERIFY(QDir(dir.path()).mkpath("inner.scn"));
        writeScan(dir, "inner.scn/d.scn", flatScan(5), kNoon);

        const ws::ScanSources sources = ws::scanSources({dir.path()});
        ws::History history;
        load(history, sources.files);
        QCOMPARE(fileNames(history), QStringList({"c.scn", "a.SCN", "b.scn"}));
        QVERIFY(history.skipped().empty());

        // Written again: its new time puts it last, in place of its row.
        writeScan(dir, "c.scn", flatScan(30), kNoon.addSecs(60));
        load(history, {c});
        QCOMPARE(fileNames(history), QStringList({"a.SCN", "b.scn", "c.scn"}));
        QCOMPARE(history.rows().back().levelAt(ws::Polarisation::Horizontal, 11000),
                 std::optional<double>(30));
    }

    void filesThatAreNoScansAreSkippedWithTheirReasons()
    {
        QTemporaryDir dir;
        const QString good = writeScan(dir, "good.scn", flatScan(1), kNoon);
        const QString broken = writeScan(dir, "broken.scn", "10700\n12750\n1099\n1044\n", kNoon);
        const QString missing = dir.filePath("missing.scn");
        ws::History history;
        load(history, {good, broken, missing});
        QCOMPARE(history.rows().size(), size_t(1));
        QCOMPARE(history.skipped().size(), size_t(2));
        QCOMPARE(history.skipped()[0].path, broken);
        QCOMPARE(history.skipped()[0].kind, std::optional(ws::ScanFailure::UnknownLayout));
        QCOMPARE(history.skipped()[0].reason.line, 3);
        QCOMPARE(history.skipped()[1].path, missing);
        QVERIFY(!history.skipped()[1].kind);
        QCOMPARE(history.skipped()[1].reason.what, QStringLiteral("No such file or directory"));

        // A scan that fails when it is read again keeps its last good row;
        // a skipped file that loads at last is no longer counted.
        writeScan(dir, "good.scn", "half", kNoon.addSecs(60));
        writeScan(dir, "broken.scn", flatScan(2), kNoon.addSecs(60));
        load(history, {good, broken});
        QCOMPARE(fileNames(history), QStringList({"good.scn", "broken.scn"}));
        QCOMPARE(history.skipped().size(), size_t(1));
        QCOMPARE(history.skipped()[0].path, missing);
    }

    // The compact rows give the levels the whole scans give, by the same
    // rule, across bands and at the ends of the range.
    void rowLevelsAreTheWholeScansLevels()
    {
        ws::test::ScanShape shape;
        shape.start = 11500;
        shape.end = 12000;
        shape.level = [](bool v, double f) { return (v ? 3 : 0) + std::fmod(f * 7, 31); };
        const ws::ScanParse parse = ws::parseScan(ws::test::scanText(shape));
        QVERIFY(parse.value);
        const ws::ScanRow row = ws::compactRow("x.scn", {*parse.value, 0, {}});
        for (const char *frequency : {"11502", "11650", "11701", "11998", "11999", "11499"}) {
            for (const char *letter : {"H", "v", "L", ""}) {
                const ws::MapEntry entry = mapEntry(frequency, "MPEG2", letter);
                QCOMPARE(ws::entryLevel(row, entry),
                         ws::transmissionLevel(*parse.value, entry.frequency, entry.polarisation));
            }
        }
    }

    void bestPositionRanksByTheMpegTransmissionsInEveryScan()
    {
        QTemporaryDir dir;
        ws::History history;
        // The second scan is the best horizontally, the third covers less.
        ws::test::ScanShape narrow;
        narrow.end = 11000;
        narrow.level = [](bool v, double) { return v ? 0 : 500; };
        load(history, {writeScan(dir, "1.scn", flatScan(10, 40), kNoon),
                       writeScan(dir, "2.scn", flatScan(30, 10), kNoon.addSecs(1)),
                       writeScan(dir, "3.scn", ws::test::scanText(narrow), kNoon.addSecs(2))});
        const QVector<ws::MapEntry> entries = {
            mapEntry("10800", "MPEG2 ", "H"), mapEntry("10900", "mpeg4", "h"),
            mapEntry("12000", "MPEG2", "H"),  // not in the third scan
            mapEntry("10800", "DATA", "V")};  // no MPEG
        const ws::Ranking ranking = ws::rankScans(history.rows(), entries);
        QCOMPARE(ranking.transmissions, 2);
        QCOMPARE(ranking.places.size(), size_t(3));
        QCOMPARE(ranking.places[0].row, 2);
        QCOMPARE(ranking.places[0].meanLevel, 500.0);
        QCOMPARE(ranking.places[1].row, 1);
        QCOMPARE(ranking.places[2].row, 0);
        // What the waterfall spans: the rows' frequencies and levels together.
        QCOMPARE(history.range()->first, 10700.0);
        QCOMPARE(history.range()->last, 12750.0);
        QCOMPARE(history.levelSpan()->lowest, 0.0);
        QCOMPARE(history.levelSpan()->highest, 500.0);

        // A scan that holds none of them leaves nothing to rank by.
        narrow.layout = 1054;
        load(history, {writeScan(dir, "4.scn", ws::test::scanText(narrow), kNoon.addSecs(3))});
        QVERIFY(ws::rankScans(history.rows(), entries).places.empty());
        QCOMPARE(ws::trendOf(history.rows(), entries[0]),
                 (std::vector<std::optional<double>>{10.0, 30.0, 500.0, std::nullopt}));
    }

    void aCancelledLoadKeepsWhatItReadAnAbandonedOneNothing()
    {
        QTemporaryDir dir;
        QStringList paths;
        const QByteArray scan = flatScan(1);
        for (int i = 0; i < 200; ++i)
            paths << ws::test::writeFile(dir, QStringLiteral("%1.scn").arg(i), scan);
        ws::History history;
        ws::HistoryLoader loader(history);
        QSignalSpy finished(&loader, &ws::HistoryLoader::finished);
        loader.load(paths);
        loader.cancel();
        QVERIFY(finished.wait());
        QCOMPARE(finished[0][0].toBool(), true);
        QVERIFY(history.rows().size() < size_t(paths.size()));

        history.clear();
        loader.load(paths);
        loader.abandon();
        QVERIFY(!finished.wait(200));
        QVERIFY(history.rows().empty());
        loader.load(paths.mid(0, 2));
        QVERIFY(finished.wait());
        QCOMPARE(history.rows().size(), size_t(2));
    }

#ifdef Q_OS_UNIX
    // Qt would list this name with U+FFFD in place of its byte, which then
    // names no file.
    void aScanWhoseNameIsNotUtf8IsListedAndRead()
    {
        QTemporaryDir dir;
        const QByteArray name = QFile::encodeName(dir.path()) + "/M\xfcnchen.scn";
        const QByteArray bytes = flatScan(7);
        std::FILE *raw = std::fopen(name.constData(), "wb");
        QVERIFY(raw && std::fwrite(bytes.constData(), 1, size_t(bytes.size()), raw) ==
                           size_t(bytes.size()));
        QVERIFY(std::fclose(raw) == 0);
        const ws::ScanSources sources = ws::scanSources({dir.path()});
        QCOMPARE(sources.files.size(), 1);
        const ws::LoadedScan loaded = ws::loadRow(sources.files[0]);
        QVERIFY2(loaded.row, qPrintable(loaded.skipped.reason.what));
        QCOMPARE(ws::readableName(loaded.row->fileName()), QStringLiteral("M\\xFCnchen.scn"));
    }
#endif

    // However often and by whatever name a file is given, it is one file.
    void aFileIsOneFileByItsDeviceAndInode_data()
    {
        QTest::addColumn<QStringList>("sources");
        QTest::newRow("a folder twice") << QStringList{"DIR", "DIR/"};
        QTest::newRow("a folder and a file in it") << QStringList{"DIR", "DIR/a.scn"};
        QTest::newRow("three spellings of one file")
            << QStringList{"DIR/a.scn", "./a.scn", "LINK"};
    }
    void aFileIsOneFileByItsDeviceAndInode()
    {
        QFETCH(QStringList, sources);
        QTemporaryDir dir;
        const QString scan = writeScan(dir, "a.scn", flatScan(1), kNoon);
        QVERIFY(QFile::link(scan, dir.filePath("link.scn")));
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        const auto back = qScopeGuard([&] { QDir::setCurrent(before); });
        for (QString &source : sources) {
            source.replace("DIR", dir.path());
            source.replace("LINK", dir.filePath("link.scn"));
        }
        const ws::ScanSources found = ws::scanSources(sources);
        // The folder's own link is a second name of its scan as well.
        QCOMPARE(found.files.size(), 1);
        QVERIFY(found.folders.size() <= 1);
        QVERIFY(found.missing.empty());
    }

    // A file that is gone loses its row; one that is there but no scan now
    // keeps it; a missing source is told apart from a file that is no scan.
    void aFileThatIsGoneLosesItsRow()
    {
        QTemporaryDir dir;
        const QString a = writeScan(dir, "a.scn", flatScan(1), kNoon);
        const QString b = writeScan(dir, "b.scn", flatScan(2), kNoon.addSecs(1));
        ws::History history;
        load(history, {a, b});
        QCOMPARE(history.rows().size(), size_t(2));
        QVERIFY(QFile::remove(a));
        load(history, {a});
        QCOMPARE(fileNames(history), QStringList({"b.scn"}));
        QVERIFY(history.skipped().empty());

        const ws::ScanSources found = ws::scanSources({a, dir.path()});
        QCOMPARE(found.files, QStringList({b}));
        QCOMPARE(found.missing.size(), size_t(1));
        QCOMPARE(found.missing[0].path, a);
        QCOMPARE(found.missing[0].reason.what, QStringLiteral("No such file or directory"));
    }

    // Rows read before their folder was deleted do not join.
    void aFolderDeletedDuringALoadLeavesNoRows()
    {
        QTemporaryDir dir;
        QTemporaryDir inner(dir.filePath("scans-XXXXXX"));
        QStringList paths;
        const QByteArray scan = flatScan(1);
        for (int i = 0; i < 50; ++i)
            paths << ws::test::writeFile(inner, QStringLiteral("%1.scn").arg(i), scan);
        ws::History history;
        ws::HistoryLoader loader(history);
        QSignalSpy finished(&loader, &ws::HistoryLoader::finished);
        loader.load(paths);
        QVERIFY(inner.remove());
        QVERIFY(finished.wait());
        QVERIFY(history.rows().empty());
    }

    // The ranking made off the thread, scan by scan, is the one made at
    // once, after a scan changes and after the map does; rows asked for
    // while one runs are the ones told of.
    void theRankerRanksAsAllAtOnce()
    {
        QTemporaryDir dir;
        ws::History history;
        ws::test::ScanShape narrow;
        narrow.end = 11000;
        narrow.level = [](bool v, double f) { return v ? 0 : f / 50; };
        load(history, {writeScan(dir, "1.scn", flatScan(10, 40), kNoon),
                       writeScan(dir, "2.scn", flatScan(30, 10), kNoon.addSecs(1)),
                       writeScan(dir, "3.scn", ws::test::scanText(narrow), kNoon.addSecs(2))});
        // Some in every scan, more beyond the narrow one: both ways of
        // taking the mean.
        QVector<ws::MapEntry> entries;
        for (int f = 10710; f < 12700; f += 37)
            entries << mapEntry(QString::number(f), "MPEG2", f % 2 ? "H" : "L");
        entries << mapEntry("10800", "DATA", "H");
        const auto same = [](const ws::Ranking &a, const ws::Ranking &b) {
            if (a.transmissions != b.transmissions || a.places.size() != b.places.size())
                return false;
            for (size_t i = 0; i < a.places.size(); ++i) {
                if (a.places[i].row != b.places[i].row ||
                    std::abs(a.places[i].meanLevel - b.places[i].meanLevel) > 1e-9)
                    return false;
            }
            return true;
        };
        // What the mean is, written out.
        const auto mean = [&](size_t row) {
            double sum = 0;
            int count = 0;
            for (const ws::MapEntry &entry : entries) {
                bool everywhere = entry.type.startsWith("MPEG");
                for (const ws::ScanRow &r : history.rows())
                    everywhere = everywhere && ws::entryLevel(r, entry).has_value();
                if (everywhere) {
                    sum += *ws::entryLevel(history.rows()[row], entry);
                    ++count;
                }
            }
            return sum / count;
        };
        const ws::Ranking once = ws::rankScans(history.rows(), entries);
        QCOMPARE(once.places.size(), size_t(3));
        for (const ws::Ranking::Place &place : once.places)
            QVERIFY(std::abs(place.meanLevel - mean(size_t(place.row))) < 1e-9);

        ws::HistoryRanker ranker;
        QSignalSpy ranked(&ranker, &ws::HistoryRanker::ranked);
        ranker.setEntries(entries);
        ranker.rank(history.rows());
        QVERIFY(ranked.wait());
        QVERIFY(same(ranker.ranking(), once));

        // The narrow scan made wide: it now ranks first.
        writeScan(dir, "3.scn", flatScan(500), kNoon.addSecs(3));
        load(history, {dir.filePath("3.scn")});
        ranker.rank({history.rows()[0]});
        ranker.rank(history.rows());
        QVERIFY(ranked.wait());
        QTRY_COMPARE(ranked.size(), 2);
        QVERIFY(!ranker.pending());
        QVERIFY(same(ranker.ranking(), ws::rankScans(history.rows(), entries)));
        QCOMPARE(ranker.ranking().places[0].row, 2);

        entries.resize(3);
        ranker.setEntries(entries);
        ranker.rank(history.rows());
        QVERIFY(ranked.wait());
        QVERIFY(same(ranker.ranking(), ws::rankScans(history.rows(), entries)));
    }

};

#include "support/testrunner.h"
WS_TEST_CLASS(TestHistory)
#include "tst_history.moc"
