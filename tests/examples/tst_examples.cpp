// Checks the example files byte by byte, so that a newcomer's first load
// works: the scans must have exactly the lines their headers promise, and
// the map's fixed columns must land on the humps of the scans.
#include <QTest>

#include <array>
#include <map>

namespace {

constexpr int skyStart = 10700, skyStop = 12750, skySwitch = 11700;
constexpr int loLow = 9750, loHigh = 10600;
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

// Levels by sky frequency for one polarisation ('H' or 'V').
using Levels = std::map<int, int>;

struct Scan
{
    Levels h, v;
};

struct MapEntry
{
    int freq;
    char pol;
    QByteArray type;
};

} // namespace

class TestExamples : public QObject
{
    Q_OBJECT

private:
    Scan readScan(const char *name);
    QList<MapEntry> readMap();

private slots:
    void scansHaveTheirHeaderAndBlocks_data();
    void scansHaveTheirHeaderAndBlocks();
    void newestDiffersFromReferenceInAFewHumps();
    void mapHasItsFixedColumns();
    void mapLinesSitOnTheHumps();
};

// Reads a scan checking every line on the way; QVERIFY inside fails the
// calling test through QTest::currentTestFailed().
Scan TestExamples::readScan(const char *name)
{
    Scan scan;
    QList<QByteArray> lines;
    const QByteArray data = readExample(name);
    [&] {
        QVERIFY2(!data.isEmpty(), name);
        QVERIFY2(splitCrLf(data, lines), "every line must end in CR LF");
        // Two-band universal scan of both polarisations: four header lines,
        // then h low 10700..11700, h high 11700..12750, v low, v high.
        const int low = skySwitch - skyStart + 1, high = skyStop - skySwitch + 1;
        QCOMPARE(lines.size(), 4 + 2 * (low + high));
        QCOMPARE(lines[0], QByteArray("10700"));
        QCOMPARE(lines[1], QByteArray("12750"));
        QCOMPARE(lines[2], QByteArray("1055"));
        QCOMPARE(lines[3], QByteArray("1044"));
        int at = 4;
        for (Levels *levels : {&scan.h, &scan.v}) {
            for (const auto &[first, last, lo] :
                 {std::array<int, 3>{skyStart, skySwitch, loLow},
                  std::array<int, 3>{skySwitch, skyStop, loHigh}}) {
                for (int sky = first; sky <= last; ++sky, ++at) {
                    const QList<QByteArray> fields = lines[at].split(',');
                    QCOMPARE(fields.size(), 2);
                    bool ifOk = false, levelOk = false;
                    const int ifreq = fields[0].toInt(&ifOk);
                    const int level = fields[1].toInt(&levelOk);
                    QVERIFY2(ifOk && levelOk, lines[at].constData());
                    QCOMPARE(ifreq, std::abs(sky - lo));
                    QVERIFY(ifreq >= 950 && ifreq <= 2150);
                    QVERIFY(level >= 0 && level <= 1000);
                    (*levels)[sky] = level;
                }
            }
        }
    }();
    return scan;
}

QList<MapEntry> TestExamples::readMap()
{
    QList<MapEntry> entries;
    QList<QByteArray> lines;
    const QByteArray data = readExample("demo.map");
    [&] {
        QVERIFY(!data.isEmpty());
        QVERIFY2(splitCrLf(data, lines), "every line must end in CR LF");
        static const QRegularExpression ghz(QStringLiteral("^\\d\\d\\.\\d\\d\\d$"));
        for (const QByteArray &line : lines) {
            QVERIFY2(line.size() >= 55, line.constData());
            QVERIFY2(!line.left(16).trimmed().isEmpty(), line.constData());
            const QByteArray freq = line.mid(48, 6);
            QVERIFY2(ghz.match(QLatin1String(freq)).hasMatch(), line.constData());
            const MapEntry e{freq.left(2).toInt() * 1000 + freq.mid(3).toInt(), line.at(54),
                             line.mid(40, 6)};
            QVERIFY2(e.freq >= skyStart && e.freq <= skyStop, line.constData());
            QVERIFY2(QByteArray("HVLR").contains(e.pol), line.constData());
            entries.append(e);
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
    const Scan scan = readScan(name.toLatin1().constData());
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(int(scan.h.size()), skyStop - skyStart + 1);
    QCOMPARE(int(scan.v.size()), skyStop - skyStart + 1);
}

void TestExamples::newestDiffersFromReferenceInAFewHumps()
{
    const Scan newest = readScan("newest.scn");
    const Scan reference = readScan("reference.scn");
    if (QTest::currentTestFailed())
        return;
    // Count the humps that changed by more than the noise: the example is
    // meant to show weaker, stronger, gone and new transmissions, not a
    // different satellite.
    int weaker = 0, stronger = 0, changedMHz = 0, allMHz = 0;
    for (const auto &[n, r] : {std::pair{&newest.h, &reference.h}, {&newest.v, &reference.v}}) {
        for (const auto &[sky, level] : *n) {
            const int diff = level - r->at(sky);
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
    const QList<MapEntry> entries = readMap();
    if (QTest::currentTestFailed())
        return;
    QVERIFY(entries.size() > 20);
    QVERIFY(entries.size() <= 1024);
    QSet<char> pols;
    int mpeg = 0;
    for (const MapEntry &e : entries) {
        pols.insert(e.pol);
        if (e.type.toLower().startsWith("mpeg"))
            ++mpeg;
    }
    QCOMPARE(pols, (QSet<char>{'H', 'V', 'L', 'R'}));
    QVERIFY(mpeg > 0);
    QVERIFY(mpeg < entries.size());
}

void TestExamples::mapLinesSitOnTheHumps()
{
    const Scan newest = readScan("newest.scn");
    const Scan reference = readScan("reference.scn");
    const QList<MapEntry> entries = readMap();
    if (QTest::currentTestFailed())
        return;
    // A circular transmission shows on both linear polarisations.
    auto seenIn = [](const MapEntry &e, char pol) { return e.pol == pol || e.pol == 'L' || e.pol == 'R'; };
    for (const MapEntry &e : entries) {
        int level = 0;
        for (const Scan *s : {&newest, &reference})
            for (char pol : {'H', 'V'})
                if (seenIn(e, pol))
                    level = std::max(level, (pol == 'H' ? s->h : s->v).at(e.freq));
        QVERIFY2(level > humpLevel, qPrintable(QString::number(e.freq) + QLatin1Char(e.pol)));
    }
    // And the other way round: every hump has its map line nearby (half the
    // widest transponder plus its skirt).
    for (const Scan *s : {&newest, &reference}) {
        for (char pol : {'H', 'V'}) {
            for (const auto &[sky, level] : (pol == 'H' ? s->h : s->v)) {
                if (level <= humpLevel + 60)
                    continue;
                const bool listed = std::any_of(entries.begin(), entries.end(), [&](const MapEntry &e) {
                    return seenIn(e, pol) && std::abs(e.freq - sky) <= 21;
                });
                QVERIFY2(listed, qPrintable(QStringLiteral("hump at %1 %2 not in the map").arg(sky).arg(pol)));
            }
        }
    }
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestExamples)
#include "tst_examples.moc"
