// What the verdict tile says of a check, a full scan and a watch.
#include "app/verdict.h"
#include "plot/palette.h"

#include <QTest>

using ws::receiver::CheckResult;
using ws::receiver::WatchState;

class TestVerdict : public QObject
{
    Q_OBJECT

private slots:
    void checkOutcomesHaveTheirWordAndColour_data();
    void checkOutcomesHaveTheirWordAndColour();
    void scanAndWatchSayHowFarAndHowLong();
    void anEndedScanSaysHowItEnded_data();
    void anEndedScanSaysHowItEnded();
    void anEndedWatchSaysSoAndSince();
};

void TestVerdict::checkOutcomesHaveTheirWordAndColour_data()
{
    QTest::addColumn<CheckResult>("check");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QStringList>("lines");
    CheckResult locked;
    locked.locked = true;
    locked.lastReply = "00 Locked\tLvl 75\r\n";
    CheckResult aut;
    aut.lastReply = "00 Locked Aut Lvl 70\r\n";
    CheckResult silent;
    silent.portFailed = silent.silent = true;
    CheckResult failed;
    failed.portFailed = true;
    CheckResult stopped;
    stopped.stopped = stopped.locked = true;
    namespace colour = ws::palette;
    // The receiver's words after its code, its control characters blanks.
    QTest::newRow("locked") << locked << "LOCKED" << colour::verdictLocked
                            << QStringList{"11778h", "Locked Lvl 75"};
    QTest::newRow("no lock") << CheckResult() << "NO LOCK" << colour::verdictNoLock
                             << QStringList{"11778h"};
    QTest::newRow("Aut") << aut << "NOT CONFIRMED" << colour::verdictNotConfirmed
                         << QStringList{"11778h"};
    QTest::newRow("silent") << silent << "NO ANSWER" << colour::verdictFailed
                            << QStringList{"11778h"};
    QTest::newRow("port") << failed << "PORT FAILED" << colour::verdictFailed
                          << QStringList{"11778h"};
    QTest::newRow("stopped") << stopped << "STOPPED" << colour::verdictNoLock
                             << QStringList{"11778h"};
}

void TestVerdict::checkOutcomesHaveTheirWordAndColour()
{
    QFETCH(CheckResult, check);
    QFETCH(QString, word);
    QFETCH(QColor, colour);
    QFETCH(QStringList, lines);
    const Verdict verdict = checkVerdict("11778h", check);
    QCOMPARE(verdict.word, word);
    QCOMPARE(verdict.colour, colour);
    QCOMPARE(verdict.lines, lines);
    QCOMPARE(verdict.spoken(), (QStringList{word} + lines).join(", "));
}

void TestVerdict::scanAndWatchSayHowFarAndHowLong()
{
    ws::MapScanCounts counts{12, 3, 2, 1, 0, 1};
    const Verdict scan = scanVerdict(counts);
    QCOMPARE(scan.word, QString("3 of 12"));
    QCOMPARE(scan.lines, QStringList({"2 locked", "1 with tables", "1 no answer"}));

    const Verdict watch = watchVerdict("11778h", WatchState::NotConfirmed, "Aut Lvl 3", 7);
    QCOMPARE(watch.heading, QString("WATCHING 11778h"));
    QCOMPARE(watch.word, QString("NOT CONFIRMED"));
    QCOMPARE(watch.lines, QStringList({"Aut Lvl 3", "for 7 s"}));
    QCOMPARE(checkingVerdict("11778h", 4).lines, QStringList({"11778h", "4 s"}));
}

void TestVerdict::anEndedScanSaysHowItEnded_data()
{
    QTest::addColumn<ws::MapScanResult>("scan");
    QTest::addColumn<QString>("spoken");
    QTest::addColumn<QColor>("colour");
    ws::MapScanResult done;
    done.counts = {3, 3, 2, 1, 0, 0};
    ws::MapScanResult escaped = done;
    escaped.counts.checked = 2;
    escaped.stopped = true;
    ws::MapScanResult skipped = escaped;
    skipped.stopped = false;
    skipped.stopRequested = true;
    ws::MapScanResult failed = escaped;
    failed.stopped = false;
    failed.portFailed = true;
    ws::MapScanResult silent = failed;
    silent.counts.noAnswer = 1;
    namespace colour = ws::palette;
    QTest::newRow("ran through") << done << "FULL SCAN, 3 of 3, 2 locked, 1 with tables"
                                 << colour::verdictWorking;
    QTest::newRow("Escape") << escaped << "FULL SCAN, STOPPED, 2 of 3, 2 locked, 1 with tables"
                            << colour::verdictNoLock;
    QTest::newRow("skip rest") << skipped << "FULL SCAN, STOPPED, 2 of 3, 2 locked, 1 with tables"
                               << colour::verdictNoLock;
    QTest::newRow("port") << failed << "FULL SCAN, PORT FAILED, 2 of 3, 2 locked, 1 with tables"
                          << colour::verdictFailed;
    QTest::newRow("silent") << silent
                            << "FULL SCAN, NO ANSWER, 2 of 3, 2 locked, 1 with tables, 1 no answer"
                            << colour::verdictFailed;
}

void TestVerdict::anEndedScanSaysHowItEnded()
{
    QFETCH(ws::MapScanResult, scan);
    QFETCH(QString, spoken);
    QFETCH(QColor, colour);
    const Verdict verdict = scanEndedVerdict(scan);
    QCOMPARE(verdict.spoken(), spoken);
    QCOMPARE(verdict.colour, colour);
}

void TestVerdict::anEndedWatchSaysSoAndSince()
{
    const Verdict ended = watchEndedVerdict("11778h", WatchState::Locked, 59);
    QCOMPARE(ended.spoken(), QString("11778h, WATCH ENDED, last: LOCKED, ended 59 s ago"));
    QCOMPARE(ended.colour, ws::palette::verdictNoLock);
    // Whole minutes from a minute on; no state before the first reply.
    QCOMPARE(watchEndedVerdict("11778h", WatchState::NoLock, 60).lines,
             QStringList({"last: NO LOCK", "ended 1 min ago"}));
    QCOMPARE(watchEndedVerdict("11778h", std::nullopt, 179).lines,
             QStringList({"ended 2 min ago"}));
    QCOMPARE(watchFailedVerdict("11778h", true).spoken(),
             QString("11778h, NO ANSWER, watch ended"));
    QCOMPARE(watchFailedVerdict("11778h", false).word, QString("PORT FAILED"));
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestVerdict)
#include "tst_verdict.moc"
