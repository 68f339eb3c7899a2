#include "core/savefile.h"
#include "app/verdicttile.h"
#include "core/texts.h"
#include "fullscan/fullscan.h"
#include "receiver/checklog.h"
#include "receiver/signalcheck.h"
#include "support/fakeplatform.h"
#include "support/mapentries.h"
#include "support/resultsmessages.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBlock>
#include <QTemporaryDir>
#include <QTest>

using ws::receiver::checkingLine;
using ws::receiver::Polarisation;
using ws::test::FakeWindow;
namespace names = ws::window::names;

namespace {

// A receiver that locks at the first status request and finds both tables.
const char kStatusReply[] = "00 LOCKED 1234567\r\n";
const char kSearchReply[] = "PAT found\r\nSDT found\r\nReady\r\n";

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

// The log of one check against that receiver; the lock time depends on how
// often the check reads the clock, so any number of seconds is accepted.
QString logPattern(const QString &frequency, QChar letter)
{
    const auto polarisation = letter == 'h' ? Polarisation::Horizontal : Polarisation::Vertical;
    const QString anySeconds = QStringLiteral("987654321");
    const QString locked = ws::receiver::lockedLine(
        anySeconds.toLongLong(), QLatin1String(kStatusReply),
        QDateTime(QDate(2026, 12, 7), QTime(10, 30, 15)));
    return QRegularExpression::escape(checkingLine(frequency, polarisation) + locked +
                                      QLatin1String(kSearchReply) + ws::crlf())
        .replace(anySeconds, QStringLiteral("\\d+"));
}

// The log box shows the last line that holds text (the verdict) at its
// bottom, and more of the log above it, not the blank lines after it.
bool verdictAtTheBottom(const QPlainTextEdit &box)
{
    QTextBlock last = box.document()->lastBlock();
    while (last.isValid() && last.text().trimmed().isEmpty())
        last = last.previous();
    QTextCursor at(last);
    const QRect line = box.cursorRect(at);
    const int height = box.viewport()->height();
    return box.verticalScrollBar()->maximum() > 0 && line.bottom() < height &&
           line.bottom() + line.height() >= height;
}

bool matchesWhole(const QString &pattern, const QByteArray &bytes)
{
    const QRegularExpression re(QStringLiteral("\\A(?:") + pattern + QStringLiteral(")\\z"));
    return re.match(ws::fromBytes(bytes)).hasMatch();
}

} // namespace

class TestFullScanWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void checksOnlyTheMpegRows();
    void skipRestStopsAfterTheRunningCheck();
    void secondScanOverwritesTheFile();
    void nothingToCheckLeavesTheFile_data();
    void nothingToCheckLeavesTheFile();
    void unwritableFolderIsReportedAsFailure();
    void resultsFallBackToTheUserDataFolder();
    void portThatWillNotOpenEndsTheScan();
    void closingTheWindowEndsTheScan_data();
    void closingTheWindowEndsTheScan();
    void escapeStopsTheScanAndSavesTheStoppedRow();
    void scanStartedInsideAnotherKeepsSkipRestForIt();

private:
    // Rows count from 1, the first entry of the map.
    void setRow(int row, const QString &frequency, const QString &type, const QString &pol)
    {
        w->map().entries[row - 1] = ws::test::mapEntry(
            frequency, type, pol, QStringLiteral("Programme %1").arg(row).leftJustified(16));
    }
    // Rows 1..count, none of them MPEG.
    void fillMap(int count)
    {
        w->map().entries.resize(count);
        for (int row = 1; row <= count; ++row)
            setRow(row, QString::number(10700 + 50 * row), QStringLiteral("dab   "),
                   QStringLiteral("h"));
    }
    QByteArrayList tuneCommands() const
    {
        QByteArrayList tunes;
        for (const QByteArray &bytes : w->serial.written)
            if (bytes.startsWith('T'))
                tunes << bytes;
        return tunes;
    }
    QString resultsPath() const { return QDir::toNativeSeparators(dir->path() + "/results.txt"); }
    QString shown() const { return w->element<QPlainTextEdit>(names::logBox)->toPlainText(); }
    bool skipRestHidden() const
    {
        return w->element<QPushButton>(names::skipRestButton)->isHidden();
    }
    // The results as the log box gives them back: its lines end in LF.
    static QString asShown(const QByteArray &fileContent)
    {
        QString text = ws::fromBytes(fileContent);
        text.chop(2); // the file's closing CR LF is not part of the results
        return text.replace(ws::crlf(), QStringLiteral("\n"));
    }

    std::unique_ptr<FakeWindow> w;
    std::unique_ptr<QTemporaryDir> dir;
};

void TestFullScanWindow::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    w = std::make_unique<FakeWindow>();
    w->system.folder = QDir::toNativeSeparators(dir->path());
    // Every clock reading moves on a second, so each wait ends at once.
    w->clock.step = 1;
    w->serial.onWrite = [this](const QByteArray &bytes) {
        if (bytes == "X")
            w->serial.feed(kStatusReply);
        else if (bytes == "S")
            w->serial.feed(kSearchReply);
    };
}

void TestFullScanWindow::cleanup()
{
    w.reset();
    dir.reset();
}

void TestFullScanWindow::checksOnlyTheMpegRows()
{
    fillMap(10);
    setRow(3, QStringLiteral("11003"), QStringLiteral("mpeg2 "), QStringLiteral("h"));
    setRow(7, QStringLiteral("11007"), QStringLiteral("MpEg4 "), QStringLiteral("V"));
    w->element<QPlainTextEdit>(names::logBox)->setPlainText(QStringLiteral("the map listing"));
    bool buttonShownWhileChecking = true;
    const auto receiver = w->serial.onWrite;
    w->serial.onWrite = [&](const QByteArray &bytes) {
        buttonShownWhileChecking = buttonShownWhileChecking && !skipRestHidden();
        receiver(bytes);
    };

    w->window->receiverWork().runFullScan();
    // Rows 1 and 2 are passed over, each letting the event loop run before
    // the next row.
    QVERIFY(w->serial.written.isEmpty());
    QVERIFY(w->finishReceiverWork());

    QCOMPARE(tuneCommands(), QByteArrayList({"T11003000005010", "T11007000005110"}));
    const QByteArray file = fileBytes(resultsPath());
    QVERIFY2(matchesWhole(logPattern("11003", 'h') + logPattern("11007", 'v') + "\\r\\n", file),
             file.constData());
    QCOMPARE(w->system.beeps, 1);
    QCOMPARE(w->dialogs.messages, QStringList{ws::test::savedResultsMessage(resultsPath())});
    // Below it, what the scan came to, and that no copy could be kept.
    QCOMPARE(w->dialogs.details,
             QStringList{ws::summaryLine({2, 2, 2, 2, 0, 0}) +
                         "\nCould not keep a copy of the results in the data folder: the system "
                         "names none"});
    QCOMPARE(shown(), asShown(file));
    QCOMPARE(w->window->findChild<VerdictTile *>(names::verdict)->verdict().spoken(),
             QString("FULL SCAN, 2 of 2, 2 locked, 2 with tables"));
    QVERIFY(buttonShownWhileChecking);
    QVERIFY(skipRestHidden());
    QVERIFY(!w->window->receiverWork().fullScanStopping());
}

void TestFullScanWindow::skipRestStopsAfterTheRunningCheck()
{
    fillMap(5);
    for (int row = 1; row <= 5; ++row)
        setRow(row, QString::number(11000 + row), QStringLiteral("mpeg2 "), QStringLiteral("H"));
    // The click lands during the first check and is handled once it ends.
    w->window->show();
    const auto receiver = w->serial.onWrite;
    w->serial.onWrite = [&](const QByteArray &bytes) {
        if (bytes == "X")
            QTest::mouseClick(w->element<QPushButton>(names::skipRestButton), Qt::LeftButton);
        QVERIFY(!w->window->receiverWork().fullScanStopping());
        receiver(bytes);
    };

    w->window->receiverWork().runFullScan();
    QVERIFY(w->finishReceiverWork());

    QCOMPARE(tuneCommands(), QByteArrayList({"T11001000005010"}));
    const QByteArray file = fileBytes(resultsPath());
    QVERIFY2(matchesWhole(logPattern("11001", 'h') + "\\r\\n", file), file.constData());
    QCOMPARE(shown(), asShown(file));
    QVERIFY(skipRestHidden());
    QVERIFY(!w->window->receiverWork().fullScanStopping());
    QCOMPARE(w->dialogs.messages, QStringList{ws::test::savedResultsMessage(resultsPath())});
}

void TestFullScanWindow::secondScanOverwritesTheFile()
{
    fillMap(2);
    setRow(1, QStringLiteral("11001"), QStringLiteral("mpeg2 "), QStringLiteral("h"));
    setRow(2, QStringLiteral("11002"), QStringLiteral("mpeg2 "), QStringLiteral("v"));
    w->window->receiverWork().runFullScan();
    QVERIFY(w->finishReceiverWork());
    QVERIFY(matchesWhole(logPattern("11001", 'h') + logPattern("11002", 'v') + "\\r\\n",
                         fileBytes(resultsPath())));

    w->map().entries.resize(1);
    w->window->receiverWork().runFullScan();
    QVERIFY(w->finishReceiverWork());
    const QByteArray file = fileBytes(resultsPath());
    QVERIFY2(matchesWhole(logPattern("11001", 'h') + "\\r\\n", file), file.constData());
    QCOMPARE(w->dialogs.messages.size(), 2);
}

void TestFullScanWindow::nothingToCheckLeavesTheFile_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("earlier");
    QTest::newRow("no map") << 0 << true;
    QTest::newRow("no MPEG row") << 6 << true;
    QTest::newRow("no map, no results yet") << 0 << false;
}

void TestFullScanWindow::nothingToCheckLeavesTheFile()
{
    QFETCH(int, rows);
    QFETCH(bool, earlier);
    fillMap(rows);
    w->system.dataFolder = QDir::toNativeSeparators(dir->filePath("data"));
    w->element<QPlainTextEdit>(names::logBox)->setPlainText(QStringLiteral("the map listing"));
    const QByteArray old = checkingLine("10700", Polarisation::Horizontal).toLatin1() + "\r\n";
    QVERIFY(!earlier || ws::saveWhole(resultsPath(), old).isEmpty());

    w->window->receiverWork().runFullScan();
    QVERIFY(w->finishReceiverWork());

    QVERIFY(w->serial.written.isEmpty());
    QCOMPARE(w->serial.opens, 0);
    // A stray click on an empty strip must not cost the last results.
    QCOMPARE(fileBytes(resultsPath()), earlier ? old : QByteArray("<missing>"));
    QVERIFY(!QFile::exists(dir->filePath("data/results")));
    QCOMPARE(w->system.beeps, 1);
    QCOMPARE(w->dialogs.messages,
             QStringList{"No MPEG entry to check; " + resultsPath() +
                         (earlier ? " left as it was" : " not written")});
    QCOMPARE(shown(), QString("the map listing"));
    QVERIFY(skipRestHidden());
    QVERIFY(!w->window->receiverWork().busy());
}

void TestFullScanWindow::unwritableFolderIsReportedAsFailure()
{
    fillMap(1);
    setRow(1, QStringLiteral("11001"), QStringLiteral("mpeg2 "), QStringLiteral("h"));
    w->system.folder = QDir::toNativeSeparators(dir->filePath(QStringLiteral("gone")));
    const QString path = QDir::toNativeSeparators(dir->filePath("gone/results.txt"));

    w->window->receiverWork().runFullScan();
    QVERIFY(w->finishReceiverWork());

    QCOMPARE(w->dialogs.messages.size(), 1);
    const QString message = w->dialogs.messages.first();
    const QString lead = ws::test::unsavedResultsMessage(path);
    QVERIFY2(message.startsWith(lead) && message.size() > lead.size(), qPrintable(message));
    QVERIFY(!QFile::exists(path));
    // The results are still shown, and the window is ready for the next scan.
    QVERIFY(shown().startsWith(checkingLine("11001", Polarisation::Horizontal).chopped(2)));
    QVERIFY(!w->window->receiverWork().fullScanStopping());
    QVERIFY(skipRestHidden());
}

void TestFullScanWindow::resultsFallBackToTheUserDataFolder()
{
    fillMap(1);
    setRow(1, QStringLiteral("11001"), QStringLiteral("mpeg2 "), QStringLiteral("h"));
    // An installed program's folder is not the user's to write.
    w->system.folder = QDir::toNativeSeparators(dir->filePath(QStringLiteral("gone")));
    w->system.dataFolder = QDir::toNativeSeparators(dir->filePath(QStringLiteral("data/Wavesift")));
    const QString fallback = QDir::toNativeSeparators(dir->filePath("data/Wavesift/results.txt"));

    w->window->receiverWork().runFullScan();
    QVERIFY(w->finishReceiverWork());

    QCOMPARE(w->dialogs.messages, QStringList{ws::test::savedResultsMessage(fallback)});
    QVERIFY(fileBytes(fallback).startsWith(
        checkingLine("11001", Polarisation::Horizontal).toLatin1()));
    // The clock's time names the copy kept in past results.
    QCOMPARE(fileBytes(dir->filePath("data/Wavesift/results/2026-12-07T10-30-15.txt")),
             fileBytes(fallback));

    // Neither can be written: both paths are named, each with its reason.
    QFile blocker(dir->filePath(QStringLiteral("file")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    w->system.dataFolder = QDir::toNativeSeparators(dir->filePath(QStringLiteral("file/Wavesift")));
    w->dialogs.messages.clear();
    w->window->receiverWork().runFullScan();
    QVERIFY(w->finishReceiverWork());
    const QString message = w->dialogs.messages.value(0);
    const QString first =
        ws::test::unsavedResultsMessage(QDir::toNativeSeparators(dir->filePath("gone/results.txt")));
    const QString second =
        QDir::toNativeSeparators(dir->filePath("file/Wavesift/results.txt")) + ": ";
    QVERIFY2(message.startsWith(first) && message.indexOf(second) > first.size() &&
                 !message.endsWith(second),
             qPrintable(message));
}

void TestFullScanWindow::portThatWillNotOpenEndsTheScan()
{
    fillMap(3);
    for (int row = 1; row <= 3; ++row)
        setRow(row, QString::number(11000 + row), QStringLiteral("mpeg2 "), QStringLiteral("h"));
    w->serial.failOpen = true;
    QVERIFY(ws::saveWhole(resultsPath(), "yesterday").isEmpty());

    w->window->receiverWork().runFullScan();
    QVERIFY(w->finishReceiverWork());

    QCOMPARE(w->serial.opens, 1);
    // Nothing was checked: the earlier results stay, the log shows why.
    QCOMPARE(fileBytes(resultsPath()), QByteArray("yesterday"));
    QVERIFY(shown().startsWith(
        checkingLine("11001", Polarisation::Horizontal).replace("\r\n", "\n")));
    QVERIFY(!shown().contains(QLatin1String("11002")));
    // One report of the port from the check, not one per row, then the file.
    QCOMPARE(w->dialogs.messages.size(), 2);
    QCOMPARE(w->dialogs.messages.last(), resultsPath() + " left as it was");
    QVERIFY(skipRestHidden());

    // The next scan tries the port afresh.
    w->serial.failOpen = false;
    w->window->receiverWork().runFullScan();
    QVERIFY(w->finishReceiverWork());
    QCOMPARE(tuneCommands().size(), 3);
}

void TestFullScanWindow::closingTheWindowEndsTheScan_data()
{
    QTest::addColumn<int>("row"); // closed during its check
    QTest::addColumn<bool>("answering");
    QTest::newRow("second row, a table so far") << 2 << true;
    QTest::newRow("first row, a table so far") << 1 << true;
    QTest::newRow("first row, nothing received") << 1 << false;
}

void TestFullScanWindow::closingTheWindowEndsTheScan()
{
    QFETCH(int, row);
    QFETCH(bool, answering);
    fillMap(3);
    for (int r = 1; r <= 3; ++r)
        setRow(r, QString::number(11000 + r), QStringLiteral("mpeg2 "), QStringLiteral("h"));
    w->system.dataFolder = QDir::toNativeSeparators(dir->filePath("data"));
    QVERIFY(ws::saveWhole(resultsPath(), "yesterday").isEmpty());
    // The row closed in finds a table and searches on.
    w->serial.onWrite = [this, row, answering](const QByteArray &bytes) {
        if (bytes == "X" && answering)
            w->serial.feed(kStatusReply);
        else if (bytes == "S")
            w->serial.feed(tuneCommands().size() == row ? "PAT found\r\n" : kSearchReply);
    };
    w->window->show();
    w->window->receiverWork().runFullScan();
    QVERIFY(w->clock.runTimers([this, row, answering] {
        return tuneCommands().size() == row &&
               (answering ? w->serial.written.count("S") == row : w->serial.written.contains("X"));
    }));

    QVERIFY(w->window->close());

    // At once: the port closed, nothing more sent and no box to answer.
    QVERIFY(!w->window->isVisible());
    QVERIFY(!w->serial.isOpen);
    const qsizetype writes = w->serial.written.size();
    QVERIFY(w->clock.runTimers());
    QCOMPARE(w->serial.written.size(), writes);
    QVERIFY(w->dialogs.messages.isEmpty());
    const QByteArray file = fileBytes(resultsPath());
    const QString copy = dir->filePath("data/results/2026-12-07T10-30-15.txt");
    if (!answering) {
        // Nothing the receiver said: yesterday's results stay, no copy.
        QCOMPARE(file, QByteArray("yesterday"));
        QVERIFY(!QFile::exists(copy));
        return;
    }
    // The finished rows, then the running one as far as it came.
    const QString finished = row == 2 ? logPattern("11001", 'h') : QString();
    const QString cut = QRegularExpression::escape(
        checkingLine(QString::number(11000 + row), Polarisation::Horizontal));
    QVERIFY2(matchesWhole(finished + cut + "After \\d+ Sec\\. Tuner locked[^\\n]*\\n[^\\n]*\\n"
                              "PAT found\\r\\n\\r\\n\\r\\n",
                          file),
             file.constData());
    QCOMPARE(fileBytes(copy), file);
}

void TestFullScanWindow::scanStartedInsideAnotherKeepsSkipRestForIt()
{
    fillMap(3);
    for (int row = 1; row <= 3; ++row)
        setRow(row, QString::number(11000 + row), QStringLiteral("mpeg2 "), QStringLiteral("H"));
    // During the outer scan's first row, a click on the map strip asks for
    // a second scan, which runs to its end before the first goes on.
    int rows = 0;
    bool shownAfterInner = false;
    QStringList titles; // at the end of each row's check
    QPlainTextEdit *log = w->element<QPlainTextEdit>(names::logBox);
    w->window->show();
    w->serial.onClose = [&] {
        titles << w->window->windowTitle();
        QVERIFY(verdictAtTheBottom(*log));
        ++rows;
        if (rows == 1)
            QTest::mouseClick(w->element<QWidget>(names::mapStrip), Qt::LeftButton);
        else if (rows == 5) // the outer scan's second row, after the inner scan
            shownAfterInner = !skipRestHidden();
    };

    w->window->receiverWork().runFullScan();
    QVERIFY(w->finishReceiverWork());

    QVERIFY2(shownAfterInner, qPrintable(titles.join('|')));
    const QString progress = QStringLiteral("Wavesift: checking %1 of 3 (1100%1h)");
    QCOMPARE(titles, QStringList({progress.arg(1), progress.arg(1), progress.arg(2),
                                  progress.arg(3), progress.arg(2), progress.arg(3)}));
    QCOMPARE(w->window->windowTitle(), QStringLiteral("Wavesift"));
    QVERIFY(verdictAtTheBottom(*log));
    QCOMPARE(tuneCommands().size(), 6);
    QVERIFY(skipRestHidden());
    QVERIFY(!w->window->receiverWork().fullScanStopping());

    // "skip rest" pressed in the inner scan stops both.
    init();
    fillMap(3);
    for (int row = 1; row <= 3; ++row)
        setRow(row, QString::number(11000 + row), QStringLiteral("mpeg2 "), QStringLiteral("H"));
    rows = 0;
    w->window->show();
    w->serial.onClose = [&] {
        ++rows;
        if (rows == 1)
            QTest::mouseClick(w->element<QWidget>(names::mapStrip), Qt::LeftButton);
        else if (rows == 2)
            QTest::mouseClick(w->element<QPushButton>(names::skipRestButton), Qt::LeftButton);
    };
    w->window->receiverWork().runFullScan();
    QVERIFY(w->finishReceiverWork());
    QCOMPARE(tuneCommands().size(), 2);
    QVERIFY(skipRestHidden());
    QVERIFY(!w->window->receiverWork().fullScanStopping());
}

void TestFullScanWindow::escapeStopsTheScanAndSavesTheStoppedRow()
{
    fillMap(3);
    for (int row = 1; row <= 3; ++row)
        setRow(row, QString::number(11000 + row), QStringLiteral("mpeg2 "), QStringLiteral("h"));
    w->window->show();
    w->window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w->window.get()));
    // The second row's receiver finds a table, then goes quiet.
    w->serial.onWrite = [this](const QByteArray &bytes) {
        if (bytes == "X")
            w->serial.feed(kStatusReply);
        else if (bytes == "S")
            w->serial.feed(tuneCommands().size() == 1 ? QByteArray(kSearchReply) : "PAT found\r\n");
    };
    w->window->receiverWork().runFullScan();
    QVERIFY(w->clock.runTimers([this] { return w->serial.written.count("S") == 2; }));

    QTest::keyClick(w->window.get(), Qt::Key_Escape);
    QVERIFY(w->finishReceiverWork());

    QCOMPARE(tuneCommands().size(), 2);
    const QByteArray file = fileBytes(resultsPath());
    // The stopped row keeps what its search found, then says why it ended.
    const QString stopped = ws::receiver::stoppedLine() + "\r\n\r\n";
    const QString second = checkingLine("11002", Polarisation::Horizontal);
    QVERIFY2(matchesWhole(logPattern("11001", 'h') + QRegularExpression::escape(second) +
                              "[\\s\\S]*PAT found\\r\\n\\r\\n" +
                              QRegularExpression::escape(stopped),
                          file),
             file.constData());
    QCOMPARE(w->dialogs.messages, QStringList{ws::test::savedResultsMessage(resultsPath())});
    const QString checkedTwo = ws::summaryLine({3, 2, 0, 0, 0, 0}).section(':', 0, 0);
    QVERIFY(w->dialogs.details.value(0).startsWith(ws::receiver::stoppedLine() + "\n" +
                                                   checkedTwo));
    // The tile says the scan was stopped, and how far it came.
    const Verdict tile = w->window->findChild<VerdictTile *>(names::verdict)->verdict();
    QCOMPARE(tile.word, QString("STOPPED"));
    QCOMPARE(tile.lines.value(0), QString("2 of 3"));
    QVERIFY(skipRestHidden());
    QVERIFY(!w->window->receiverWork().fullScanStopping());
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestFullScanWindow)
#include "tst_fullscanwindow.moc"
