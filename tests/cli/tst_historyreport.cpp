#include "cli/historyreport.h"
#include "scan/scantext.h"
#include "support/mapentries.h"

#include <QTest>

#include <cerrno>
#include <cstdio>

using ws::test::mapFileLine;
using ws::test::writeFile;

// --history-report as a function: the CSV and when it fails.
namespace {

const QDateTime kNoon(QDate(2026, 6, 13), QTime(12, 0), Qt::UTC);

QString writeScan(const QTemporaryDir &dir, const QString &name, const ws::test::ScanShape &shape,
                  const QDateTime &modified)
{
    const QString path = writeFile(dir, name, ws::test::scanText(shape));
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) ||
        !file.setFileTime(modified, QFileDevice::FileModificationTime))
        qFatal("cannot set the time of %s", qPrintable(path));
    return path;
}

struct Run
{
    int code;
    QByteArray out;
    QByteArray err;
};

Run run(const QString &map, const QStringList &scans)
{
    Run r;
    r.code = ws::cli::runHistoryReport(
        map, scans,
        [&](const QByteArray &piece) {
            r.out += piece;
            return true;
        },
        [&](const QByteArray &line) { r.err += line; });
    return r;
}

} // namespace

class TestHistoryReport : public QObject
{
    Q_OBJECT

private slots:
    void oneColumnPerScanInTheHistorysOrder()
    {
        QTemporaryDir dir;
        ws::test::ScanShape horizontal;
        horizontal.layout = 1053;
        horizontal.level = [](bool, double) { return 10; };
        ws::test::ScanShape both;
        both.level = [](bool v, double f) { return v ? 7 : f / 100; };
        // Newer, but first by name: the times decide.
        writeScan(dir, "b.scn", both, kNoon);
        writeScan(dir, "first, \"quoted\".scn", horizontal, kNoon.addSecs(-60));
        const QString bad = writeFile(dir, "bad.scn", "10700\n12750\n1099\n1044\n");
        const QString map = writeFile(
            dir, "demo.map",
            mapFileLine("Demo, TV", "MPEG2", "10.800", "H") +
                mapFileLine("Radio", "DATA", "11.000", "V") +
                mapFileLine("Edge", "MPEG2", "12.749", "H"));

        const Run r = run(map, {dir.path()});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out, QByteArray("frequency_mhz,polarisation,name,type,"
                                   "\"first, \"\"quoted\"\".scn\",b.scn\n"
                                   "10800,H,\"Demo, TV\",MPEG2,10.0,108.0\n"
                                   "11000,V,Radio,DATA,,7.0\n"
                                   "12749,H,Edge,MPEG2,,\n"));
        // The scan that failed is named, and left out.
        QCOMPARE(r.err, QByteArray("wavesift: " + bad.toUtf8() +
                                   ": line 3: unknown layout code \"1099\" (unknown Format, "
                                   "loading cancelled)\n"));
    }

#ifdef Q_OS_UNIX
    // The column of a scan whose name is not UTF-8 shows the stray byte
    // as \xNN, as the window's list does; the CSV stays UTF-8.
    void aNameThatIsNotUtf8IsDecodedInTheHeader()
    {
        QTemporaryDir dir;
        const QByteArray bytes = ws::test::scanText({});
        const QByteArray name = QFile::encodeName(dir.path()) + "/M\xfc.scn";
        std::FILE *raw = std::fopen(name.constData(), "wb");
        QVERIFY(raw);
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), raw);
        QVERIFY(std::fclose(raw) == 0);
        const QString map = writeFile(dir, "demo.map", mapFileLine("TV", "MPEG2", "10.800", "H"));
        const Run r = run(map, {dir.path()});
        QCOMPARE(r.code, 0);
        QVERIFY2(r.out.startsWith("frequency_mhz,polarisation,name,type,M\\xFC.scn\n"),
                 r.out.constData());
    }
#endif

    // One column per file, however often and by whatever name it is given.
    void aFileGivenTwiceIsOneColumn()
    {
        QTemporaryDir dir;
        const QString scan = writeScan(dir, "a.scn", {}, kNoon);
        const QString map = writeFile(dir, "demo.map", mapFileLine("TV", "MPEG2", "10.800", "H"));
        const Run r = run(map, {dir.path(), dir.path(), scan});
        QCOMPARE(r.code, 0);
        QVERIFY2(r.out.startsWith("frequency_mhz,polarisation,name,type,a.scn\n"),
                 r.out.constData());
    }

    // A map without a frequency is told of, as --report tells it.
    void aMapWithoutFrequenciesIsQuestioned()
    {
        QTemporaryDir dir;
        writeScan(dir, "a.scn", {}, kNoon);
        const QString map = writeFile(dir, "notes.map", "just words\r\n");
        const Run r = run(map, {dir.path()});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.err, "wavesift: " + map.toUtf8() +
                            ": no line holds a frequency; is this a map?\n");
    }

    void nothingIsWrittenWithoutTheMapOrAnyScan_data()
    {
        QTest::addColumn<bool>("mapExists");
        QTest::addColumn<QStringList>("scans");
        QTest::addColumn<QString>("told");
        QTest::addColumn<int>("code");
        // A map that cannot be read is a wrong argument, as for --report.
        QTest::newRow("no map") << false << QStringList{"good.scn"} << "demo.map: No such file"
                                << 2;
        QTest::newRow("no good scan") << true << QStringList{"bad.scn", "gone.scn"} << "gone.scn"
                                      << 1;
        QTest::newRow("empty folder") << true << QStringList{"empty"} << "no scan file" << 1;
    }
    void nothingIsWrittenWithoutTheMapOrAnyScan()
    {
        QFETCH(bool, mapExists);
        QFETCH(QStringList, scans);
        QFETCH(QString, told);
        QFETCH(int, code);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("empty"));
        writeScan(dir, "good.scn", {}, kNoon);
        writeFile(dir, "bad.scn", "10700\n");
        if (mapExists)
            writeFile(dir, "demo.map", mapFileLine("TV", "MPEG2", "10.800", "H"));
        QStringList paths;
        for (const QString &scan : scans)
            paths << dir.filePath(scan);
        const Run r = run(dir.filePath("demo.map"), paths);
        QCOMPARE(r.code, code);
        QCOMPARE(r.out, QByteArray());
        QVERIFY2(r.err.contains(told.toUtf8()), r.err.constData());
    }

    // A full disk behind standard output: the system's reason is told.
    void aFullDiskIsToldWithItsReason()
    {
        QTemporaryDir dir;
        writeScan(dir, "good.scn", {}, kNoon);
        const QString map = writeFile(dir, "demo.map", mapFileLine("TV", "MPEG2", "10.800", "H"));
        QByteArray err;
        const int code = ws::cli::runHistoryReport(
            map, {dir.path()},
            [](const QByteArray &) { return ws::cli::Written::failed(qt_error_string(ENOSPC)); },
            [&](const QByteArray &line) { err += line; });
        QCOMPARE(code, 1);
        QCOMPARE(err, "wavesift: the report could not be written to standard output: " +
                          qt_error_string(ENOSPC).toLocal8Bit() + "\n");
    }
};

#include "support/testrunner.h"
WS_TEST_CLASS(TestHistoryReport)
#include "tst_historyreport.moc"
