#include "wording/messages.h"
#include "scan/scanfile.h"
#include "scan/scans.h"
#include "scan/scantext.h"
#include "support/commalocale.h"

#include "core/texts.h"

#include <QLocale>
#include <QTest>

using ws::ScanData;
using ws::ScanFailure;
using ws::test::ScanShape;
using ws::test::scanText;

Q_DECLARE_METATYPE(ws::LevelTableId)

class TestScanFile : public QObject
{
    Q_OBJECT

private slots:
    void universalHvFillsBothBandsOfBothPolarisations();
    void bandSelection_data();
    void bandSelection();
    void layoutsNameTheirBlocks_data();
    void layoutsNameTheirBlocks();
    void headerNumbersAreReadLeniently();
    void endBelowStartReadsNoLines();
    void extremesStartFromTheLoadDefaults();
    void dataLineDetails();
    void anyLineEndWorks_data();
    void anyLineEndWorks();
    void failures_data();
    void failures();
    void loadReplacesTheSlotButKeepsAnUnwrittenCellZero();
    void summaryLine();
    void pointsReadTheSameUnderACommaLocale();
};

namespace {

// Distinct per polarisation and sky frequency, so a level in the wrong cell
// or table shows.
double skyLevel(bool vertical, double f)
{
    return (vertical ? 5000 : 0) + f - 10000;
}

QByteArray header(const char *s, const char *e, const char *layout, const char *lnb)
{
    return QByteArray(s) + "\r\n" + e + "\r\n" + layout + "\r\n" + lnb + "\r\n";
}

int lineCount(const QByteArray &text)
{
    return int(text.count('\n'));
}

} // namespace

void TestScanFile::universalHvFillsBothBandsOfBothPolarisations()
{
    ScanShape shape;
    shape.level = skyLevel;
    // Lines after the last block are never read.
    const QByteArray text = scanText(shape) + "not a scan line\r\n";
    QCOMPARE(lineCount(text), 4 + 4104 + 1);

    const ws::ScanParse parse = ws::parseScan(text);
    QVERIFY(parse.value);
    const ScanData &d = *parse.value;
    QCOMPARE(d.first, 10700.0);
    QCOMPARE(d.last, 12750.0);
    QVERIFY(d.inLowBand() && d.inHighBand() && d.layout.horizontal && d.layout.vertical);
    QCOMPARE(d.lnb.name, "univ");
    QCOMPARE(d.layout.name, "hv");
    QCOMPARE(d.lnbCode, QStringLiteral("1044"));
    QCOMPARE(d.lnb.bandStart, 10700);
    QCOMPARE(d.lnb.bandEnd, 12750);
    QCOMPARE(d.lnb.switchFrequency, 11700);
    QCOMPARE(d.lnb.lowOscillator, 9750);
    QCOMPARE(d.lnb.highOscillator, 10600);

    // 11700 is measured in both bands.
    QCOMPARE(d.levels[ws::HLow][1950], skyLevel(false, 11700));
    QCOMPARE(d.levels[ws::HHigh][1100], skyLevel(false, 11700));
    QCOMPARE(d.levels[ws::HHigh][2150], skyLevel(false, 12750));
    QCOMPARE(d.levels[ws::HLow][950], skyLevel(false, 10700));
    QCOMPARE(d.levels[ws::VLow][950], skyLevel(true, 10700));
    QCOMPARE(d.levels[ws::VHigh][2150], skyLevel(true, 12750));
    QCOMPARE(d.levels[ws::VHigh][1099], 0.0);
    QCOMPARE(d.minLevel, 700.0);
    QCOMPARE(d.maxLevel, 5000.0 + 2750);
}

void TestScanFile::bandSelection_data()
{
    QTest::addColumn<int>("lnb");
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("end");
    QTest::addColumn<bool>("inlow");
    QTest::addColumn<bool>("inhigh");
    QTest::addColumn<double>("sky");
    QTest::addColumn<ws::LevelTableId>("table");
    QTest::addColumn<int>("cell");

    QTest::newRow("univ at the switch and above") << 1044 << 11700.0 << 12750.0 << false << true
                                                  << 11700.0 << ws::HHigh << 1100;
    QTest::newRow("univ below and up to the switch") << 1044 << 10700.0 << 11700.0 << true
                                                     << false << 11700.0 << ws::HLow << 1950;
    QTest::newRow("quattro switches at 11750, low")
        << 1048 << 10700.0 << 12750.0 << true << true << 11750.0 << ws::HLow << 2000;
    QTest::newRow("quattro switches at 11750, high")
        << 1048 << 10700.0 << 12750.0 << true << true << 11750.0 << ws::HHigh << 1000;
    QTest::newRow("quattro up to its switch is one band")
        << 1048 << 10700.0 << 11750.0 << true << false << 11750.0 << ws::HLow << 2000;
    QTest::newRow("c-band counts down from its oscillator")
        << 1047 << 3700.0 << 4200.0 << false << false << 3700.0 << ws::HLow << 1450;
    QTest::newRow("l-band is its own intermediate frequency")
        << 1058 << 950.0 << 2150.0 << false << false << 1200.0 << ws::HLow << 1200;
    QTest::newRow("US DBS") << 1046 << 12200.0 << 12700.0 << false << false << 12700.0
                            << ws::HLow << 1450;
}

void TestScanFile::bandSelection()
{
    QFETCH(int, lnb);
    QFETCH(double, start);
    QFETCH(double, end);
    QFETCH(bool, inlow);
    QFETCH(bool, inhigh);
    QFETCH(double, sky);
    QFETCH(ws::LevelTableId, table);
    QFETCH(int, cell);

    ScanShape shape;
    shape.lnb = lnb;
    shape.start = start;
    shape.end = end;
    shape.layout = 1053;
    shape.level = skyLevel;
    const ws::ScanParse parse = ws::parseScan(scanText(shape));
    QVERIFY(parse.value);
    QCOMPARE(parse.value->inLowBand(), inlow);
    QCOMPARE(parse.value->inHighBand(), inhigh);
    QCOMPARE(parse.value->levels[table][cell], skyLevel(false, sky));
}

void TestScanFile::layoutsNameTheirBlocks_data()
{
    QTest::addColumn<int>("layout");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("hpol");
    QTest::addColumn<bool>("vpol");

    QTest::newRow("h") << 1053 << "h" << true << false;
    QTest::newRow("v") << 1054 << "v" << false << true;
    QTest::newRow("hv") << 1055 << "hv" << true << true;
    QTest::newRow("hv(p)") << 1059 << "hv(p)" << true << true;
}

void TestScanFile::layoutsNameTheirBlocks()
{
    QFETCH(int, layout);
    QFETCH(QString, name);
    QFETCH(bool, hpol);
    QFETCH(bool, vpol);

    ScanShape shape;
    shape.layout = layout;
    shape.level = skyLevel;
    const QByteArray text = scanText(shape);
    const ws::ScanParse parse = ws::parseScan(text);
    QVERIFY(parse.value);
    QCOMPARE(QString::fromLatin1(parse.value->layout.name), name);
    QCOMPARE(parse.value->layout.horizontal, hpol);
    QCOMPARE(parse.value->layout.vertical, vpol);
    // A vertical-only file puts its first block into the vertical tables.
    QCOMPARE(parse.value->levels[ws::HLow][950], hpol ? skyLevel(false, 10700) : 0.0);
    QCOMPARE(parse.value->levels[ws::VHigh][2150], vpol ? skyLevel(true, 12750) : 0.0);

    // One line short fails: the count comes from the header alone.
    QVERIFY(!ws::parseScan(text.left(text.lastIndexOf("\r\n", text.size() - 3) + 2)).value);
}

void TestScanFile::headerNumbersAreReadLeniently()
{
    QByteArray text = header("10700 MHz", "10 702", " 1053", "1058\t");
    text += "950,1\r\n951,2\r\n952,3\r\n";
    const ws::ScanParse parse = ws::parseScan(text);
    QVERIFY(parse.value);
    QCOMPARE(parse.value->first, 10700.0);
    QCOMPARE(parse.value->last, 10702.0);
    QCOMPARE(parse.value->lnbCode, QStringLiteral("1058\t")); // kept as read
}

void TestScanFile::endBelowStartReadsNoLines()
{
    const ws::ScanParse parse = ws::parseScan(header("12750", "10700", "1055", "1044"));
    QVERIFY(parse.value);
    QCOMPARE(parse.value->maxLevel, 0.0);
    QCOMPARE(parse.value->minLevel, 1000.0);
    QVERIFY(!parse.value->inLowBand()); // 12750 is not below the switch
}

void TestScanFile::extremesStartFromTheLoadDefaults()
{
    const QByteArray high = header("950", "951", "1053", "1058") + "950,1500\r\n951,1200\r\n";
    const ws::ScanParse highParse = ws::parseScan(high);
    QVERIFY(highParse.value);
    QCOMPARE(highParse.value->maxLevel, 1500.0);
    QCOMPARE(highParse.value->minLevel, 1000.0);

    const QByteArray low = header("950", "951", "1053", "1058") + "950,-3\r\n951,-7.5\r\n";
    const ws::ScanParse lowParse = ws::parseScan(low);
    QVERIFY(lowParse.value);
    QCOMPARE(lowParse.value->maxLevel, 0.0);
    QCOMPARE(lowParse.value->minLevel, -7.5);
}

void TestScanFile::dataLineDetails()
{
    const QByteArray text = header("0", "4", "1053", "1058")
        + "950.5,7\r\n"   // half to even: 950
        + "951.5,8\r\n"   // 952
        + "5,9,11\r\n"    // a second comma ends the level
        + ",42\r\n"       // nothing before the comma is index 0
        + "2150.5, 1e1\r\n"; // 2150, and the level's exponent counts
    const ws::ScanParse parse = ws::parseScan(text);
    QVERIFY(parse.value);
    const ws::Levels &t = parse.value->levels[ws::HLow];
    QCOMPARE(t[950], 7.0);
    QCOMPARE(t[951], 0.0);
    QCOMPARE(t[952], 8.0);
    QCOMPARE(t[5], 9.0);
    QCOMPARE(t[0], 42.0);
    QCOMPARE(t[2150], 10.0);
    QVERIFY(parse.value->wroteCellZero[ws::HLow]);
    QVERIFY(!parse.value->wroteCellZero[ws::VLow]);
}

void TestScanFile::anyLineEndWorks_data()
{
    QTest::addColumn<QByteArray>("lineEnd");
    QTest::addColumn<bool>("finalLineEnd");
    QTest::newRow("CR LF") << QByteArray("\r\n") << true;
    QTest::newRow("LF") << QByteArray("\n") << true;
    QTest::newRow("CR") << QByteArray("\r") << true;
    QTest::newRow("no end after the last line") << QByteArray("\r\n") << false;
}

void TestScanFile::anyLineEndWorks()
{
    QFETCH(QByteArray, lineEnd);
    QFETCH(bool, finalLineEnd);
    ScanShape shape;
    shape.lineEnd = lineEnd;
    shape.level = skyLevel;
    QByteArray text = scanText(shape);
    if (!finalLineEnd)
        text.chop(lineEnd.size());
    const ws::ScanParse parse = ws::parseScan(text);
    QVERIFY(parse.value);
    QCOMPARE(parse.value->levels[ws::VHigh][2150], skyLevel(true, 12750));
    QCOMPARE(parse.value->lnbCode, QStringLiteral("1044"));
}

void TestScanFile::failures_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("quoted"); // the offending text the reason quotes

    const QByteArray good = header("950", "952", "1053", "1058");
    const QString cancel = ws::messages::cancelled();
    QTest::newRow("empty file") << QByteArray() << int(ScanFailure::MissingHeader) << 1 << cancel
                                << "";
    QTest::newRow("three header lines")
        << QByteArray("950\r\n952\r\n1053\r\n") << int(ScanFailure::MissingHeader) << 4 << cancel
        << "";
    QTest::newRow("LNB code as layout")
        << header("950", "952", "1044", "1044") << int(ScanFailure::UnknownLayout) << 3
        << ws::messages::unknownFormat() << "\"1044\"";
    QTest::newRow("fractional LNB code")
        << header("950", "952", "1053", "1044.5") << int(ScanFailure::UnknownLnb) << 4
        << ws::messages::unknownLnb() << "\"1044.5\"";
    QTest::newRow("missing data line") << good + "950,1\r\n951,1\r\n"
                                       << int(ScanFailure::MissingLine) << 7 << cancel << "";
    QTest::newRow("empty data line") << good + "950,1\r\n\r\n952,1\r\n"
                                     << int(ScanFailure::NoComma) << 6 << cancel << "\"\"";
    QTest::newRow("frequency 2151") << good + "950,1\r\n2151,1\r\n952,1\r\n"
                                    << int(ScanFailure::FrequencyOutOfRange) << 6 << cancel
                                    << "\"2151,1\"";
    QTest::newRow("frequency 2151.5 rounds up") << good + "2151.5,1\r\n"
                                                << int(ScanFailure::FrequencyOutOfRange) << 5
                                                << cancel << "\"2151.5,1\"";
    QTest::newRow("negative frequency") << good + "-1,1\r\n"
                                        << int(ScanFailure::FrequencyOutOfRange) << 5 << cancel
                                        << "\"-1,1\"";
}

void TestScanFile::failures()
{
    QFETCH(QByteArray, text);
    QFETCH(int, kind);
    QFETCH(int, line);
    QFETCH(QString, message);
    QFETCH(QString, quoted);
    const ws::ScanParse parse = ws::parseScan(text);
    QVERIFY(!parse.value);
    QCOMPARE(int(parse.failure.kind), kind);
    QCOMPARE(parse.failure.reason.line, line);
    // The box the window shows for this kind of failure.
    QCOMPARE(ws::messages::scanNotLoaded(parse.failure.kind), message);
    // The reason says what was wrong, with the line as read where one is to blame.
    QVERIFY(!parse.failure.reason.what.isEmpty());
    QVERIFY2(parse.failure.reason.what.contains(quoted), qPrintable(parse.failure.reason.what));
}

void TestScanFile::loadReplacesTheSlotButKeepsAnUnwrittenCellZero()
{
    auto scans = std::make_unique<ws::Scans>();
    scans->newest.emplace();
    scans->reference.emplace();
    for (ws::Levels &t : scans->newest->levels)
        t.fill(1.5);
    for (ws::Levels &t : scans->reference->levels)
        t.fill(2.5);
    const ws::ScanParse parse =
        ws::parseScan(header("950", "951", "1053", "1058") + "950,3\r\n0,4\r\n");
    QVERIFY(parse.value);
    scans->load(ws::ScanSlot::Reference, *parse.value);

    const ws::ScanData &r = *scans->reference;
    QCOMPARE(r.levels[ws::HLow][0], 4.0);   // written by the file
    QCOMPARE(r.levels[ws::HLow][950], 3.0);
    QCOMPARE(r.levels[ws::HLow][1], 0.0);   // cleared
    QCOMPARE(r.levels[ws::VHigh][0], 2.5);  // never cleared
    QCOMPARE(r.levels[ws::VHigh][2150], 0.0);
    QCOMPARE(scans->newest->levels[ws::HLow][950], 1.5); // the other slot is untouched
    QCOMPARE(r.last, 951.0);
    QCOMPARE(r.maxLevel, 4.0);
    QCOMPARE(r.minLevel, 3.0);
    QCOMPARE(r.lnb.switchFrequency, -1);
    QCOMPARE(r.lnb.lowOscillator, 0);
    QCOMPARE(r.lnbCode, QStringLiteral("1058"));
    QVERIFY(r.layout.horizontal && !r.layout.vertical && !r.inHighBand() && !r.inLowBand());
    QCOMPARE(scans->newest->last, 0.0);

    // Into a slot never loaded, cell 0 stays 0 unless the file wrote it.
    scans->newest.reset();
    scans->load(ws::ScanSlot::Newest, *parse.value);
    QCOMPARE(scans->newest->levels[ws::HLow][0], 4.0);
    QCOMPARE(scans->newest->levels[ws::VHigh][0], 0.0);
    QVERIFY(scans->bothLoaded());
}

void TestScanFile::summaryLine()
{
    const ws::ScanParse parse = ws::parseScan(header("10700.5", "10700", "1059", "1044"));
    QVERIFY(parse.value);
    const QDateTime when(QDate(2026, 3, 4), QTime(5, 6, 7));
    const QString point = QLocale::system().decimalPoint();
    QCOMPARE(ws::scanSummary(QStringLiteral("/scans/a b.scn"), when, 40321, *parse.value),
             QStringLiteral("/scans/a b.scn  ") + ws::generalDateText(when)
                 + QStringLiteral("  40321 univ hv(p) 10700") + point
                 + QStringLiteral("5-10700 MHz"));
}

// The application object has handed the C library the desktop's locale; a
// German one must not turn "949.5" into 949 anywhere in a scan file.
void TestScanFile::pointsReadTheSameUnderACommaLocale()
{
    const ws::test::CommaLocaleScope comma;
    QVERIFY2(comma.error().isEmpty(), qPrintable(comma.error()));

    const ws::ScanParse parse =
        ws::parseScan(header("950.5", "952.5", "1053", "1058")
                      + "949.5,20.5\r\n951.5,30.25\r\n952.6, 7.75\r\n");
    QVERIFY(parse.value);
    const ScanData &s = *parse.value;
    QCOMPARE(s.first, 950.5);
    QCOMPARE(s.last, 952.5);
    // Frequencies round half to even: 949.5 to 950, 951.5 to 952.
    QCOMPARE(s.levels[ws::HLow][950], 20.5);
    QCOMPARE(s.levels[ws::HLow][952], 30.25);
    QCOMPARE(s.levels[ws::HLow][953], 7.75);
    QCOMPARE(s.maxLevel, 30.25);
    QCOMPARE(s.minLevel, 7.75);

    // Codes with a fraction are no codes.
    const ws::ScanParse lnb = ws::parseScan(header("950", "952", "1054", "1044.5") + "950,1\r\n");
    QVERIFY(!lnb.value);
    QCOMPARE(int(lnb.failure.kind), int(ScanFailure::UnknownLnb));
    const ws::ScanParse layout = ws::parseScan(header("950", "952", "1053.5", "1058") + "950,1\r\n");
    QVERIFY(!layout.value);
    QCOMPARE(int(layout.failure.kind), int(ScanFailure::UnknownLayout));
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestScanFile)
#include "tst_scanfile.moc"
