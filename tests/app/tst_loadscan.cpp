#include "scan/scantext.h"
#include "support/fakeplatform.h"
#include "support/mapentries.h"

#include "core/texts.h"
#include "wording/messages.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

using ws::test::FakeWindow;
using ws::test::ScanShape;
using ws::test::scanText;
using ws::test::writeFile;
namespace names = ws::window::names;

class TestLoadScan : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { w.reset(); }

    void eachSlotHasItsOwnDialog();
    void loadShowsTheSummaryAndFillsTheSlot();
    void failedLoadChangesNothing_data();
    void failedLoadChangesNothing();
    void cancelledDialogKeepsTheLoadedSlot();
    void reloadReplacesTheSlot();
    void aMapWhereAScanGoesIsNamedSo();

private:
    QString write(const QString &name, const QByteArray &bytes) { return writeFile(dir, name, bytes); }
    QString makeFifo()
    {
        const QString path = dir.filePath(QStringLiteral("pipe.scn"));
#ifdef Q_OS_UNIX
        if (::mkfifo(QFile::encodeName(path).constData(), 0600) != 0)
            qWarning("mkfifo failed");
#endif
        return path;
    }

    void load(ws::ScanSlot slot, const QString &path)
    {
        w->dialogs.pick(path);
        w->window->workspace().loadScan(slot);
    }
    QString labelText(const char *name) const { return w->element<QLabel>(name)->text(); }

    QTemporaryDir dir;
    std::unique_ptr<FakeWindow> w;
};

namespace {

// Everything a load may touch, for one slot.
bool sameSlot(const std::optional<ws::ScanData> &a, const std::optional<ws::ScanData> &b)
{
    if (!a || !b)
        return !a && !b;
    return a->levels == b->levels && a->first == b->first && a->last == b->last
        && a->maxLevel == b->maxLevel && a->minLevel == b->minLevel
        && a->lnb.code == b->lnb.code && a->layout.code == b->layout.code
        && a->lnbCode == b->lnbCode;
}

// The scan's summary, as the label shows it for the file that was read.
QString summaryOf(const QString &path, const ws::ScanData &scan)
{
    const QFileInfo info(path);
    return ws::scanSummary(path, info.lastModified(), info.size(), scan);
}

} // namespace

void TestLoadScan::init()
{
    QVERIFY(dir.isValid());
    w = std::make_unique<FakeWindow>();
}

void TestLoadScan::eachSlotHasItsOwnDialog()
{
    const QString path = write(QStringLiteral("a.scn"), scanText({}));
    load(ws::ScanSlot::Newest, path);
    w->dialogs.cancel();
    w->window->workspace().loadScan(ws::ScanSlot::Reference);
    w->dialogs.cancel();
    w->window->workspace().loadScan(ws::ScanSlot::Newest);

    QCOMPARE(w->dialogs.shown.size(), size_t(3));
    QCOMPARE(w->dialogs.shown[0].title, QStringLiteral("Select Kanalix Scan File"));
    QCOMPARE(w->dialogs.shown[0].prefilled, QStringLiteral("c:\\vanto21\\Scans\\my_scan.scn"));
    QCOMPARE(w->dialogs.shown[1].title, QStringLiteral("Load Sat-Info"));
    QCOMPARE(w->dialogs.shown[1].prefilled, QStringLiteral("c:\\vanto21\\Scans\\sat.map"));
    QCOMPARE(w->dialogs.shown[2].prefilled, path);
}

void TestLoadScan::loadShowsTheSummaryAndFillsTheSlot()
{
    ScanShape shape;
    shape.level = [](bool vertical, double f) { return vertical ? 30.0 : f == 11700 ? 99.0 : 40.0; };
    const QString path = write(QStringLiteral("universal.scn"), scanText(shape));
    load(ws::ScanSlot::Newest, path);

    QVERIFY(w->dialogs.messages.isEmpty());
    QVERIFY(w->scans().newest);
    QCOMPARE(labelText(names::newestLabel), summaryOf(path, *w->scans().newest));
    QVERIFY(labelText(names::newestLabel).endsWith(" univ hv 10700-12750 MHz"));
    QVERIFY(!w->scans().reference);
    // "Loading, please wait" was made visible before the file was read.
    QCOMPARE(w->events.repainted, QStringList{QStringLiteral("Form1")});

    const ws::ScanData &s = *w->scans().newest;
    QCOMPARE(s.levels[ws::HLow][1950], 99.0);
    QCOMPARE(s.levels[ws::HHigh][1100], 99.0);
    QCOMPARE(s.levels[ws::VHigh][2150], 30.0);
    QCOMPARE(s.maxLevel, 99.0);
    QCOMPARE(s.minLevel, 30.0);
    QCOMPARE(s.lnb.switchFrequency, 11700);
}

void TestLoadScan::failedLoadChangesNothing_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("why"); // below the message, after the path

    const QString cancel = ws::messages::cancelled();
    const QByteArray lband = "950\r\n952\r\n1053\r\n1058\r\n";
    QTest::newRow("unknown layout") << QByteArray("950\r\n952\r\n1044\r\n1058\r\n950,1\r\n")
                                    << ws::messages::unknownFormat()
                                    << "line 3: unknown layout code \"1044\"";
    QTest::newRow("unknown LNB") << QByteArray("950\r\n952\r\n1054\r\n1044.5\r\n950,1\r\n")
                                 << ws::messages::unknownLnb()
                                 << "line 4: unknown LNB code \"1044.5\"";
    QTest::newRow("file ends early") << lband + "950,1\r\n951,2\r\n" << cancel
                                     << "line 7: the file ends before this data line";
    QTest::newRow("line without comma") << lband + "950,1\r\n951 2\r\n952,1\r\n" << cancel
                                        << "line 6: no comma in \"951 2\"";
    QTest::newRow("frequency 2151")
        << lband + "950,1\r\n2151,1\r\n952,1\r\n" << cancel
        << "line 6: intermediate frequency beyond 0 to 2150 MHz in \"2151,1\"";
    QTest::newRow("a long line shown by its start")
        << lband + "950" + QByteArray(100, ' ') + "1\r\n" << cancel
        << "line 5: no comma in \"950" + QString(77, ' ') + "...\"";
    QTest::newRow("header cut short") << QByteArray("950\r\n952\r\n") << cancel
                                      << "line 3: the file ends in its header";
    QTest::newRow("cannot be opened") << QByteArray() << cancel << "No such file or directory";
    QTest::newRow("a folder") << QByteArray("folder") << cancel << "a folder, not a file";
    // A whole scan, then a tail that takes the file past the read limit:
    // what was read is not the file, so nothing of it is stored.
    const QString tooLarge = QStringLiteral("%1 bytes, more than the 4194304 bytes (4 MiB) a scan "
                                            "file may have");
    QTest::newRow("longer than the read limit")
        << QByteArray("long") << cancel << tooLarge.arg(4194305);
    QTest::newRow("1 GiB") << QByteArray("huge") << cancel << tooLarge.arg(1073741824);
#ifdef Q_OS_UNIX
    // Reading these would never end or never get an answer.
    QTest::newRow("an endless device")
        << QByteArray("/dev/zero") << cancel << "a device, not an ordinary file";
    QTest::newRow("a pipe") << QByteArray("fifo") << cancel << "a pipe (FIFO), not an ordinary file";
    // Root reads it all the same.
    if (::geteuid() != 0)
        QTest::newRow("no permission") << QByteArray("locked") << cancel << "Permission denied";
#endif
}

void TestLoadScan::failedLoadChangesNothing()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, message);
    QFETCH(QString, why);

    // Slot 1 holds a universal scan; the failing file is a different LNB
    // and layout, so any field it got as far as would show.
    const QString good = write(QStringLiteral("good.scn"), scanText({}));
    load(ws::ScanSlot::Newest, good);
    const QString label = labelText(names::newestLabel);
    const auto before = std::make_unique<ws::Scans>(w->scans());
    w->events.repainted.clear();

    QString path;
    if (text.isNull())
        path = dir.filePath(QStringLiteral("missing.scn"));
    else if (text == "folder")
        path = dir.path();
    else if (text.startsWith("/dev/"))
        path = QString::fromLatin1(text);
    else if (text == "fifo")
        path = makeFifo();
    else if (text == "long" || text == "huge") {
        path = write(QStringLiteral("long.scn"), scanText({}));
        // A hole, so the file takes no room on the disk.
        QVERIFY(QFile::resize(path, text == "long" ? ws::kMaxScanFileBytes + 1 : qint64(1) << 30));
    } else if (text == "locked") {
        path = write(QStringLiteral("locked.scn"), scanText({}));
        QVERIFY(QFile::setPermissions(path, {}));
    }
    else
        path = write(QStringLiteral("bad.scn"), text);
    load(ws::ScanSlot::Newest, path);

    QCOMPARE(w->dialogs.messages, QStringList{message});
    QCOMPARE(w->dialogs.details, QStringList{path + ": " + why});
    QCOMPARE(labelText(names::newestLabel), label);
    QVERIFY(sameSlot(w->scans().newest, before->newest));
    // Only the "Loading, please wait" repaint; nothing was drawn.
    QCOMPARE(w->events.repainted.size(), 1);

    // The same file into an empty slot leaves it empty.
    w->dialogs.messages.clear();
    load(ws::ScanSlot::Reference, path);
    QCOMPARE(w->dialogs.messages, QStringList{message});
    QCOMPARE(labelText(names::referenceLabel), QStringLiteral("Load an old scan to compare with "));
    QVERIFY(!w->scans().reference);
}

void TestLoadScan::cancelledDialogKeepsTheLoadedSlot()
{
    load(ws::ScanSlot::Reference, write(QStringLiteral("ref.scn"), scanText({})));
    const QString label = labelText(names::referenceLabel);
    const auto before = std::make_unique<ws::Scans>(w->scans());
    w->events.repainted.clear();

    w->dialogs.cancel();
    w->window->workspace().loadScan(ws::ScanSlot::Reference);
    QCOMPARE(w->dialogs.messages, QStringList{ws::messages::cancelled()});
    QCOMPARE(labelText(names::referenceLabel), label);
    QVERIFY(w->scans().reference);
    QVERIFY(sameSlot(w->scans().reference, before->reference));
    QVERIFY(w->events.repainted.isEmpty());
}

void TestLoadScan::reloadReplacesTheSlot()
{
    load(ws::ScanSlot::Newest, write(QStringLiteral("wide.scn"), scanText({})));
    ScanShape narrow;
    narrow.lnb = 1047;
    narrow.layout = 1054;
    narrow.start = 3700;
    narrow.end = 4200;
    narrow.level = [](bool, double) { return 7.0; };
    const QString path = write(QStringLiteral("narrow.scn"), scanText(narrow));
    load(ws::ScanSlot::Newest, path);

    const ws::ScanData &s = *w->scans().newest;
    QCOMPARE(labelText(names::newestLabel), summaryOf(path, *w->scans().newest));
    QVERIFY(labelText(names::newestLabel).endsWith(" c-band v 3700-4200 MHz"));
    QCOMPARE(s.levels[ws::HLow][1950], 0.0); // the universal scan's levels are gone
    QCOMPARE(s.levels[ws::VLow][1450], 7.0);
    QVERIFY(!s.layout.horizontal && s.layout.vertical);
    QCOMPARE(s.maxLevel, 7.0);
    QCOMPARE(s.lnb.lowOscillator, 5150);
    QCOMPARE(s.lnb.switchFrequency, -1);
}

void TestLoadScan::aMapWhereAScanGoesIsNamedSo()
{
    const QByteArray map = ws::test::mapFileLine("One", "MPEG2", "11.012", "H").repeated(5);
    const QString path = write(QStringLiteral("sat.map"), map);
    load(ws::ScanSlot::Newest, path);
    QCOMPARE(w->dialogs.messages, QStringList{ws::messages::unknownFormat()});
    QCOMPARE(w->dialogs.details, QStringList{ws::messages::scanNotLoadedDetail(path, map, {})});
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestLoadScan)
#include "tst_loadscan.moc"
