// Checks the example files as the program reads them, so that a newcomer's
// first load works: the scans must have exactly the lines their headers
// promise, and the map's fixed columns must land on the humps of the scans.
#include "map/mapfile.h"
#include "scan/levellookup.h"
#include "scan/scanfile.h"

#include <QTest>

namespace {

constexpr int skyStart = 10700, skyStop = 12750, skySwitch = 11700;
using Pol = ws::Polarisation;

double levelOf(const ws::ScanData &scan, Pol pol, double sky)
{
    return ws::levelAt(scan, pol, sky).value_or(0);
}

// Highest noise floor the generator can produce; anything above is a hump.
constexpr int humpLevel = 190;

QByteArray readExample(const char *name)
{
    QFile f(QStringLiteral(WS_EXAMPLES_DIR "/") + QLatin1String(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

// Splits at CR LF; returns nothing if a line end is anything else, so that a
// lone CR or LF shows up as a failure rather than as a shifted line.
bool splitCrLf(const QByteArray &data, QList<QByteArray> &lines)
{
    lines.clear();
    qsizetype from = 0;
    while (from < data.size()) {
        const qsizetype end = data.indexOf("\r\n", from);
        if (end < 0)
            return false;
        const QByteArray line = data.mid(from, end - from);
        if (line.contains('\r') || line.contains('\n'))
            return false;
        lines.append(line);
        from = end + 2;
    }
    return true;
}

} // namespace

class TestExamples : public QObject
{
    Q_OBJECT

private:
    ws::ScanData readScan(const char *name);
    QVector<ws::MapEntry> readMap();

private slots:
    void scansHaveTheirHeaderAndBlocks_data();
    void scansHaveTheirHeaderAndBlocks();
    void newestDiffersFromReferenceInAFewHumps();
    void mapHasItsFixedColumns();
    void mapLinesSitOnTheHumps();
};

// Reads a scan as the program does, checking the file on the way; QVERIFY
// inside fails the calling test through QTest::currentTestFailed().
ws::ScanData TestExamples::readScan(const char *name)
{
    ws::ScanData scan;
    QList<QByteArray> lines;
    const QByteArray data = readExample(name);
    [&] {
        QVERIFY2(!data.isEmpty(), name);
        QVERIFY2(splitCrLf(data, lines), "every line must end in CR LF");
        // Two-band universal scan of both polarisations: four header lines,
        // then h low 10700..11700, h high 11700..12750, v low, v high, and
        // nothing after them.
        const int low = skySwitch - skyStart + 1, high = skyStop - skySwitch + 1;
        QCOMPARE(lines.size(), 4 + 2 * (low + high));
        ws::ScanParse parsed = ws::parseScan(data);
        QVERIFY2(parsed.value, name);
        scan = std::move(*parsed.value);
        QCOMPARE(scan.first, double(skyStart));
        QCOMPARE(scan.last, double(skyStop));
        QCOMPARE(scan.layout.code, 1055);
        QCOMPARE(scan.lnb.code, 1044);
        // The noise floor lies above 0: a cell left empty is a line that
        // went to the wrong frequency.
        for (int sky = skyStart; sky <= skyStop; ++sky) {
            for (Pol pol : {Pol::Horizontal, Pol::Vertical}) {
                const double level = levelOf(scan, pol, sky);
                QVERIFY2(level > 0 && level <= 1000, qPrintable(QString::number(sky)));
            }
        }
    }();
    return scan;
}

QVector<ws::MapEntry> TestExamples::readMap()
{
    QVector<ws::MapEntry> entries;
    QList<QByteArray> lines;
    const QByteArray data = readExample("demo.map");
    [&] {
        QVERIFY(!data.isEmpty());
        QVERIFY2(splitCrLf(data, lines), "every line must end in CR LF");
        entries = ws::parseMap(data).entries;
        QCOMPARE(entries.size(), lines.size());
        for (const ws::MapEntry &e : entries) {
            const QByteArray line = e.line.toLatin1();
            QVERIFY2(!e.name.trimmed().isEmpty(), line.constData());
            QVERIFY2(ws::holdsFrequency(e), line.constData());
            QVERIFY2(e.frequency >= skyStart && e.frequency <= skyStop, line.constData());
            QVERIFY2(e.polarisation.size() == 1 && QStringLiteral("HVLR").contains(e.polarisation),
                     line.constData());
        }
    }();
    return entries;
}

void TestExamples::scansHaveTheirHeaderAndBlocks_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("newest") << "newest.scn";
    QTest::newRow("reference") << "reference.scn";
}

void TestExamples::scansHaveTheirHeaderAndBlocks()
{
    QFETCH(QString, name);
    readScan(name.toLatin1().constData());
}

void TestExamples::newestDiffersFromReferenceInAFewHumps()
{
    const ws::ScanData newest = readScan("newest.scn");
    const ws::ScanData reference = readScan("reference.scn");
    if (QTest::currentTestFailed())
        return;
    // Count the humps that changed by more than the noise: the example is
    // meant to show weaker, stronger, gone and new transmissions, not a
    // different satellite.
    int weaker = 0, stronger = 0, changedMHz = 0, allMHz = 0;
    for (Pol pol : {Pol::Horizontal, Pol::Vertical}) {
        for (int sky = skyStart; sky <= skyStop; ++sky) {
            const double diff = levelOf(newest, pol, sky) - levelOf(reference, pol, sky);
            ++allMHz;
            if (std::abs(diff) > 60)
                ++changedMHz;
            if (diff < -150)
                ++weaker;
            if (diff > 150)
                ++stronger;
        }
    }
    QVERIFY(weaker > 0);
    QVERIFY(stronger > 0);
    QVERIFY2(changedMHz < allMHz / 10, "too much changed for one satellite");
}

void TestExamples::mapHasItsFixedColumns()
{
    const QVector<ws::MapEntry> entries = readMap();
    if (QTest::currentTestFailed())
        return;
    QVERIFY(entries.size() > 20);
    QVERIFY(entries.size() <= 1024);
    QSet<QString> pols;
    int mpeg = 0;
    for (const ws::MapEntry &e : entries) {
        pols.insert(e.polarisation);
        mpeg += ws::isMpegRow(e.type);
    }
    QCOMPARE(pols, (QSet<QString>{"H", "V", "L", "R"}));
    QVERIFY(mpeg > 0);
    QVERIFY(mpeg < entries.size());
}

void TestExamples::mapLinesSitOnTheHumps()
{
    const ws::ScanData newest = readScan("newest.scn");
    const ws::ScanData reference = readScan("reference.scn");
    const QVector<ws::MapEntry> entries = readMap();
    if (QTest::currentTestFailed())
        return;
    // A circular transmission shows on both linear polarisations.
    auto seenIn = [](const ws::MapEntry &e, Pol pol) {
        return e.polarisation == (pol == Pol::Horizontal ? "H" : "V") || e.polarisation == "L"
            || e.polarisation == "R";
    };
    for (const ws::MapEntry &e : entries) {
        double level = 0;
        for (const ws::ScanData *s : {&newest, &reference})
            for (Pol pol : {Pol::Horizontal, Pol::Vertical})
                if (seenIn(e, pol))
                    level = std::max(level, levelOf(*s, pol, e.frequency));
        QVERIFY2(level > humpLevel, qPrintable(e.line));
    }
    // And the other way round: every hump has its map line nearby (half the
    // widest transponder plus its skirt).
    for (const ws::ScanData *s : {&newest, &reference}) {
        for (Pol pol : {Pol::Horizontal, Pol::Vertical}) {
            for (int sky = skyStart; sky <= skyStop; ++sky) {
                if (levelOf(*s, pol, sky) <= humpLevel + 60)
                    continue;
                const bool listed =
                    std::any_of(entries.begin(), entries.end(), [&](const ws::MapEntry &e) {
                        return seenIn(e, pol) && std::abs(e.frequency - sky) <= 21;
                    });
                QVERIFY2(listed, qPrintable(QStringLiteral("hump at %1 not in the map").arg(sky)));
            }
        }
    }
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestExamples)
#include "tst_examples.moc"
