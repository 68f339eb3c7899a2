#include "fullscan.h"
#include "resultsfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

} // namespace

class TestFullScan : public QObject
{
    Q_OBJECT

private slots:
    void mpegRowsAreTheOnesTypedMpeg_data();
    void mpegRowsAreTheOnesTypedMpeg();
    void onlyHorizontalGivesDigitZero_data();
    void onlyHorizontalGivesDigitZero();
    void checksMpegRowsInMapOrder();
    void rowCountIsTakenOnce();
    void stopRequestEndsTheScanBeforeTheNextRow();
    void emptyMapChecksNothing();
    void resultsFileLiesInTheGivenFolder();
    void resultsAreWrittenByteForByteAndOverwritten();
    void unwritableFileIsReportedWithTheReason();

private:
    static ws::MapScanSteps recording(QStringList &calls, int &afterRows)
    {
        ws::MapScanSteps steps;
        steps.check = [&calls](const QString &f, const QString &p) {
            calls << f + QLatin1Char('/') + p;
            return QStringLiteral("[%1%2]").arg(f, p);
        };
        steps.afterRow = [&afterRows] { ++afterRows; };
        return steps;
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
    QCOMPARE(ws::polarisationDigit(letter), digit);
}

void TestFullScan::checksMpegRowsInMapOrder()
{
    auto s = std::make_unique<ws::SharedState>();
    s->mapcount = 10;
    for (int row = 1; row <= 10; ++row) {
        s->mapdata[row][1] = QString::number(11000 + row);
        s->mapdata[row][2] = QStringLiteral("dab   ");
        s->mapdata[row][4] = QStringLiteral("h");
    }
    s->mapdata[3][2] = QStringLiteral("mpeg2 ");
    s->mapdata[7][2] = QStringLiteral("MPEG4 ");
    s->mapdata[7][4] = QStringLiteral("V");

    QStringList calls;
    int afterRows = 0;
    const QString results = ws::scanMapRows(*s, recording(calls, afterRows));

    QCOMPARE(calls, QStringList({"11003/0", "11007/1"}));
    QCOMPARE(results, QStringLiteral("[110030][110071]"));
    // Rows that are passed over still let the user act.
    QCOMPARE(afterRows, 10);
}

void TestFullScan::rowCountIsTakenOnce()
{
    auto s = std::make_unique<ws::SharedState>();
    s->mapcount = 3;
    for (int row = 1; row <= 5; ++row) {
        s->mapdata[row][1] = QString::number(row);
        s->mapdata[row][2] = QStringLiteral("mpeg2 ");
    }
    QStringList calls;
    int afterRows = 0;
    ws::MapScanSteps steps = recording(calls, afterRows);
    // A map loaded while the scan lets events run: longer, and with a
    // different second row.
    steps.afterRow = [&] {
        s->mapcount = 5;
        s->mapdata[2][1] = QStringLiteral("new");
    };
    ws::scanMapRows(*s, steps);
    QCOMPARE(calls, QStringList({"1/1", "new/1", "3/1"}));

    // A count beyond the table stops at its end.
    calls.clear();
    s->mapcount = ws::kMaxMapEntries + 1;
    steps = recording(calls, afterRows);
    afterRows = 0;
    ws::scanMapRows(*s, steps);
    QCOMPARE(afterRows, ws::kMaxMapEntries);
}

void TestFullScan::stopRequestEndsTheScanBeforeTheNextRow()
{
    auto s = std::make_unique<ws::SharedState>();
    s->mapcount = 5;
    for (int row = 1; row <= 5; ++row) {
        s->mapdata[row][1] = QString::number(row);
        s->mapdata[row][2] = QStringLiteral("mpeg2 ");
    }
    QStringList calls;
    int afterRows = 0;
    bool stop = false;
    ws::MapScanSteps steps = recording(calls, afterRows);
    steps.check = [&](const QString &f, const QString &) {
        calls << f;
        stop = f == QLatin1String("2"); // pressed while row 2 is checked
        return f;
    };
    steps.stopRequested = [&] { return stop; };
    QCOMPARE(ws::scanMapRows(*s, steps), QStringLiteral("12"));
    QCOMPARE(calls, QStringList({"1", "2"}));
}

void TestFullScan::emptyMapChecksNothing()
{
    auto s = std::make_unique<ws::SharedState>();
    QStringList calls;
    int afterRows = 0;
    QCOMPARE(ws::scanMapRows(*s, recording(calls, afterRows)), QString());
    QVERIFY(calls.isEmpty());
    QCOMPARE(afterRows, 0);

    s->mapcount = -4; // never a row count, but nothing to scan either
    ws::scanMapRows(*s, recording(calls, afterRows));
    QCOMPARE(afterRows, 0);
}

void TestFullScan::resultsFileLiesInTheGivenFolder()
{
    const QString sep = QDir::separator();
    const QString folder = QDir::toNativeSeparators(QStringLiteral("/opt/wavesift/bin"));
    QCOMPARE(ws::resultsFilePath(folder), folder + sep + QStringLiteral("results.txt"));
    QCOMPARE(ws::resultsFilePath(QDir::toNativeSeparators(QStringLiteral("/"))),
             sep + QStringLiteral("results.txt"));
}

void TestFullScan::resultsAreWrittenByteForByteAndOverwritten()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = ws::resultsFilePath(dir.path());

    // Received bytes above 127 go back out as the single bytes they came as.
    const QString first = QStringLiteral("Checking 11003h for dvb mpeg2 signal\r\n") +
                          QString::fromLatin1("Sender \xe4\xf6\xfc found\r\n");
    ws::SaveOutcome outcome = ws::saveResults(path, first);
    QVERIFY(outcome.saved);
    QVERIFY(outcome.reason.isEmpty());
    QCOMPARE(fileBytes(path), QByteArray("Checking 11003h for dvb mpeg2 signal\r\n"
                                         "Sender \xe4\xf6\xfc found\r\n\r\n"));

    outcome = ws::saveResults(path, QString());
    QVERIFY(outcome.saved);
    QCOMPARE(fileBytes(path), QByteArray("\r\n"));
}

void TestFullScan::unwritableFileIsReportedWithTheReason()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // A folder that does not exist: even a privileged user cannot write.
    const QString path = ws::resultsFilePath(dir.filePath(QStringLiteral("gone")));
    const ws::SaveOutcome outcome = ws::saveResults(path, QStringLiteral("log\r\n"));
    QVERIFY(!outcome.saved);
    QVERIFY(!outcome.reason.isEmpty());
    QVERIFY(!QFile::exists(path));
}

QTEST_GUILESS_MAIN(TestFullScan)
#include "tst_fullscan.moc"
